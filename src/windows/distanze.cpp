#include "distanze.h"

namespace urbaflux {

Distanze::Distanze(AppContext& context, QWidget* parent)
    : WindowFrame(WindowId::Distanze, context, parent)
{
    setObjectName(QStringLiteral("distanze"));
}

Distanze::~Distanze() = default;

void Distanze::setUnitCaption(const QString& unit)
{
    Q_UNUSED(unit);
}

void Distanze::refreshGrid() {}

void Distanze::updateDistanceHint() {}

} // namespace urbaflux
