#include "zonestudy.h"

#include "geodesy.h"

#include <QtMath>
#include <cmath>
#include <limits>

namespace urbaflux {

DistanceUnit distanceUnitOf(const QString& modelUnit)
{
    const QString unit = modelUnit.trimmed().toLower();
    return unit == u"metri" || unit == u"m" || unit == u"metro" ? DistanceUnit::Metres
                                                                : DistanceUnit::Kilometres;
}

QString distanceText(double metres, DistanceUnit unit)
{
    if (unit == DistanceUnit::Metres)
        return QString::number(metres, 'f', 0);
    return QString::number(metres / 1000.0, 'f', 3);
}

namespace {

using Result = GeoResult<ZoneStudy>;

bool writesAsZero(const QString& text)
{
    for (const QChar c : text) {
        if (c != u'0' && c != u'.')
            return false;
    }
    return true;
}

} // namespace

GeoResult<ZoneStudy> buildZoneStudy(const ZoneLayer& layer, const DistanceOptions& options)
{
    const auto n = static_cast<int>(layer.zones.size());
    if (n < 1 || n > kMaxAreas) {
        return Result::failure(ZoneProblem::TooManyZones,
                               QStringLiteral("Le zone sono %1: il modello ne contiene da 1 a %2.")
                                   .arg(n)
                                   .arg(kMaxAreas));
    }
    if (!std::isfinite(options.detourFactor) || options.detourFactor < 1.0) {
        return Result::failure(ZoneProblem::BadOption,
                               QStringLiteral("Il coefficiente di tortuosità deve essere un "
                                              "numero non minore di 1."));
    }
    if (options.intrazonal == IntrazonalRule::Typed &&
        (!std::isfinite(options.typedIntrazonal) || options.typedIntrazonal <= 0.0)) {
        return Result::failure(ZoneProblem::BadOption,
                               QStringLiteral("La distanza intrazonale deve essere un numero "
                                              "maggiore di zero."));
    }
    if (options.intrazonal == IntrazonalRule::HalfNearest && n == 1) {
        return Result::failure(ZoneProblem::BadOption,
                               QStringLiteral("Con una sola zona non c'è una zona più vicina: "
                                              "scegliere un'altra distanza intrazonale."));
    }

    const auto size = static_cast<size_t>(n);
    std::vector<double> metres(size * size, 0.0);
    std::vector<double> nearest(size, std::numeric_limits<double>::infinity());
    QStringList coincident;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            const double d = geodesicDistance(layer.zones[static_cast<size_t>(i)].zone.point,
                                              layer.zones[static_cast<size_t>(j)].zone.point) *
                             options.detourFactor;
            // A zero distance stops the calculation; one that rounds to zero in the unit would be
            // written as "0.000" and stop it just the same.
            if (writesAsZero(distanceText(d, options.unit))) {
                coincident << QStringLiteral("\"%1\" e \"%2\"")
                                  .arg(layer.zones[static_cast<size_t>(i)].name,
                                       layer.zones[static_cast<size_t>(j)].name);
            }
            metres[static_cast<size_t>(i) * size + static_cast<size_t>(j)] = d;
            metres[static_cast<size_t>(j) * size + static_cast<size_t>(i)] = d;
            nearest[static_cast<size_t>(i)] = std::min(nearest[static_cast<size_t>(i)], d);
            nearest[static_cast<size_t>(j)] = std::min(nearest[static_cast<size_t>(j)], d);
        }
    }
    if (!coincident.isEmpty()) {
        return Result::failure(ZoneProblem::CoincidentPoints,
                               QStringLiteral("Le zone %1 hanno lo stesso punto rappresentativo "
                                              "(distanza zero): correggere lo strato o sceglierne "
                                              "altre con un filtro.")
                                   .arg(coincident.join(QStringLiteral("; "))));
    }

    ZoneStudy study;
    study.distances.resize(size * size);
    for (int i = 0; i < n; ++i) {
        const ImportedZone& zone = layer.zones[static_cast<size_t>(i)];
        double self = 0.0;
        switch (options.intrazonal) {
        case IntrazonalRule::HalfNearest:
            self = nearest[static_cast<size_t>(i)] / 2.0;
            break;
        case IntrazonalRule::EqualAreaRadius:
            // The mean distance from the centre of a disc to its points is 2/3 of its radius.
            self = 2.0 / 3.0 * std::sqrt(zone.zone.areaSquareMetres / M_PI) * options.detourFactor;
            break;
        case IntrazonalRule::Typed:
            self = options.unit == DistanceUnit::Metres ? options.typedIntrazonal
                                                        : options.typedIntrazonal * 1000.0;
            break;
        }
        if (writesAsZero(distanceText(self, options.unit))) {
            return Result::failure(
                ZoneProblem::CoincidentPoints,
                options.intrazonal == IntrazonalRule::EqualAreaRadius
                    ? QStringLiteral(
                          "La zona \"%1\" non ha superficie: scegliere un'altra distanza "
                          "intrazonale.")
                          .arg(zone.name)
                    : QStringLiteral("La distanza intrazonale della zona \"%1\" sarebbe zero.")
                          .arg(zone.name));
        }
        metres[static_cast<size_t>(i) * size + static_cast<size_t>(i)] = self;
    }
    for (size_t k = 0; k < size * size; ++k)
        study.distances[k] = distanceText(metres[k], options.unit);
    study.zones.projectedCrs = layer.projectedCrs;
    for (const ImportedZone& zone : layer.zones) {
        study.names.push_back(zone.name);
        study.origins.push_back(zone.origin);
        study.destinations.push_back(zone.destination);
        study.zones.zones.push_back(zone.zone);
    }
    return Result::success(std::move(study));
}

void applyZoneStudy(const ZoneStudy& study, ProjectState& state)
{
    const auto n = static_cast<int>(study.names.size());
    AreaTable& areas = state.areas;
    areas.count = n;
    for (int i = 1; i <= kMaxAreas; ++i) {
        const auto row = static_cast<size_t>(i);
        const bool inside = i <= n;
        areas.name[row] = inside ? study.names[row - 1] : QString();
        areas.origin[row] = inside ? study.origins[row - 1] : QString();
        areas.destination[row] = inside ? study.destinations[row - 1] : QString();
    }
    buildPairList(state);
    // A new study: every pair is new, so none keeps the weight of a pair of the old areas.
    for (int k = 1; k <= n * n; ++k) {
        state.distances.distance[static_cast<size_t>(k)] =
            study.distances[static_cast<size_t>(k - 1)];
        state.distances.weight[static_cast<size_t>(k)] = FieldValue::fromNumber(100);
    }
    state.zones = study.zones;
    computeAreaTotals(state);
    markInputsChanged(state);
}

} // namespace urbaflux
