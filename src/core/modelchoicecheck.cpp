#include "modelchoicecheck.h"

#include "projectstate.h"

namespace urbaflux {

ModelField firstMissingModelField(const ModelChoice& model, bool toleranceEntered,
                                  bool originAndDestination)
{
    if (!isModelKindCode(model.kind) || model.kindLabel.isEmpty())
        return ModelField::Kind;
    if (originAndDestination && model.originType.isEmpty())
        return ModelField::OriginType;
    if (originAndDestination && model.destinationType.isEmpty())
        return ModelField::DestinationType;
    if (model.interactionType.isEmpty())
        return ModelField::InteractionType;
    if (model.alpha.isEmpty())
        return ModelField::Alpha;
    if (!toleranceEntered)
        return ModelField::Tolerance;
    if (model.unit.isEmpty())
        return ModelField::Unit;
    return ModelField::None;
}

} // namespace urbaflux
