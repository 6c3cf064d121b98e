#include "modelkind.h"

namespace urbaflux {

QString modelKindLabel(int code)
{
    switch (static_cast<ModelKind>(code)) {
    case ModelKind::OriginAndDestinationConstrained:
        return QStringLiteral("'origine e destinazione vincolate'");
    case ModelKind::DestinationConstrained:
        return QStringLiteral("'destinazione vincolata'");
    case ModelKind::OriginConstrained:
        return QStringLiteral("'origine vincolata'");
    case ModelKind::NoModel:
        break;
    }
    return QString();
}

AreaHeadings areaHeadings(ModelKind kind)
{
    return {kind == ModelKind::DestinationConstrained ? QStringLiteral("stima origini")
                                                      : QStringLiteral("origini"),
            kind == ModelKind::OriginConstrained ? QStringLiteral("stima destinazioni")
                                                 : QStringLiteral("destinazioni")};
}

} // namespace urbaflux
