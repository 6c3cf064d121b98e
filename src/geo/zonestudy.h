#pragma once

// From the zones of a layer to the data of an elaboration: the distance of every pair as the
// geodesic between the representative points times the detour factor, the distance of a zone
// with itself by one of three rules, each written as a typed text in the model's unit. A study
// is built whole (or refused with a message) and only then applied to the state in one write.

#include "zonelayer.h"

#include <projectstate.h>

#include <QString>
#include <vector>

namespace urbaflux {

enum class IntrazonalRule
{
    HalfNearest,     // half the distance to the nearest other zone: the default
    EqualAreaRadius, // 2/3 of the radius of the circle of the zone's area, times the factor
    Typed,           // a value the user gives, in the model's unit
};

enum class DistanceUnit
{
    Kilometres,
    Metres,
};

// The model's unit as the distances are written in it: metres when the unit reads "metri"
// (or "m"), kilometres otherwise.
DistanceUnit distanceUnitOf(const QString& modelUnit);

// A length in metres as a typed distance: kilometres with 3 decimals, metres with none, "."
// as the decimal point.
QString distanceText(double metres, DistanceUnit unit);

struct DistanceOptions
{
    double detourFactor = 1.2; // "coefficiente di tortuosità"
    IntrazonalRule intrazonal = IntrazonalRule::HalfNearest;
    double typedIntrazonal = 0.0; // in the unit, for IntrazonalRule::Typed
    DistanceUnit unit = DistanceUnit::Kilometres;
};

struct ZoneStudy
{
    std::vector<QString> names; // names[i - 1] is area i
    std::vector<QString> origins;
    std::vector<QString> destinations;
    std::vector<QString> distances; // distances[k - 1] is pair k, k = (i - 1) * N + j
    ZoneSet zones;
};

// The distances of every pair, or the message when an option is out of range, or when two
// zones would be at a distance the calculation refuses (the same point, or closer than the
// unit's last decimal), naming them.
GeoResult<ZoneStudy> buildZoneStudy(const ZoneLayer& layer, const DistanceOptions& options);

// Names, origins, destinations and the count, the pair list with weights 100, the distances
// and the zones' geometry, in one write; the rows beyond the count are emptied, so that no
// earlier area stays in the totals. Calls markInputsChanged once.
void applyZoneStudy(const ZoneStudy& study, ProjectState& state);

} // namespace urbaflux
