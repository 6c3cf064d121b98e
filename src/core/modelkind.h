#pragma once

#include <QString>

namespace urbaflux {

// The gravity model of an elaboration. The code is what the calculation and the validations
// test; the label (single quotes included) is what captions, archives and printouts show.
enum class ModelKind : qint16
{
    NoModel = 0,
    OriginAndDestinationConstrained = 1,
    DestinationConstrained = 2,
    OriginConstrained = 3,
};

// Label of a code; the empty text for 0 and for any code outside 1 to 3.
QString modelKindLabel(int code);

// True for the codes 1 to 3 that a model record may hold.
inline bool isModelKindCode(int code)
{
    return code >= 1 && code <= 3;
}

// The headings of the origin and destination columns (area window, report) under a model: the
// values a model does not reproduce are estimates.
struct AreaHeadings
{
    QString origins;
    QString destinations;
};
AreaHeadings areaHeadings(ModelKind kind);

} // namespace urbaflux
