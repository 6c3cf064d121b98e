#include "geotestlayers.h"

#include <zonestudy.h>

#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace urbaflux;

Q_DECLARE_METATYPE(urbaflux::DistanceOptions)
using namespace urbaflux::test;

namespace {

struct Place
{
    const char* name;
    double lon;
    double lat;
};

// Four towns of an invented plain, a few to some tens of kilometres apart, and one far off to
// check a long line too.
const Place kPlaces[] = {{"Borgo Alto", 11.3426, 44.4949},
                         {"Case Nuove", 11.6158, 44.8381},
                         {"Fontanelle", 11.0, 44.2},
                         {"Lontano", 13.4, 41.9}};

ZoneLayer pointLayer(const QString& folder)
{
    std::vector<TestFeature> features;
    for (const Place& place : kPlaces) {
        features.push_back(
            {{QString::fromUtf8(place.name), 1000},
             QStringLiteral("POINT (%1 %2)").arg(place.lon, 0, 'f', 4).arg(place.lat, 0, 'f', 4)});
    }
    const QString file = folder + QStringLiteral("/punti.geojson");
    writeLayer(
        QStringLiteral("GeoJSON"), file, QStringLiteral("punti"), 4326,
        {{QStringLiteral("nome"), QMetaType::QString}, {QStringLiteral("pop"), QMetaType::Int}},
        features);
    ZoneQuery query;
    query.source.path = file;
    query.nameField = QStringLiteral("nome");
    query.originField = QStringLiteral("pop");
    const GeoResult<ZoneLayer> read = readZoneLayer(query);
    if (!read.ok())
        qFatal("%s", qPrintable(read.error));
    return *read.value;
}

ImportedZone zoneAt(const QString& name, double lon, double lat, double area = 0)
{
    ImportedZone zone;
    zone.name = name;
    zone.zone.point = {lon, lat};
    zone.zone.areaSquareMetres = area;
    return zone;
}

} // namespace

class TestZoneStudy : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void distancesAgainstVincenty_data()
    {
        QTest::addColumn<double>("factor");
        QTest::addColumn<DistanceUnit>("unit");
        QTest::newRow("km, default factor") << 1.2 << DistanceUnit::Kilometres;
        QTest::newRow("km, straight lines") << 1.0 << DistanceUnit::Kilometres;
        QTest::newRow("metres") << 1.35 << DistanceUnit::Metres;
    }
    void distancesAgainstVincenty()
    {
        QFETCH(double, factor);
        QFETCH(DistanceUnit, unit);
        const ZoneLayer layer = pointLayer(m_dir.path());
        DistanceOptions options;
        options.detourFactor = factor;
        options.unit = unit;
        const GeoResult<ZoneStudy> study = buildZoneStudy(layer, options);
        QVERIFY2(study.ok(), qPrintable(study.error));
        const int n = 4;
        QCOMPARE(study.value->distances.size(), size_t(n * n));
        const double scale = unit == DistanceUnit::Metres ? 1.0 : 1000.0;
        // Half a unit of the last decimal written, and a millimetre for the two methods.
        const double tolerance = (unit == DistanceUnit::Metres ? 0.5 : 0.0005) + 1e-6;
        for (int i = 0; i < n; ++i) {
            double nearest = 1e300;
            for (int j = 0; j < n; ++j) {
                const QString& text = study.value->distances[size_t(i * n + j)];
                QCOMPARE(text.contains(u'.'), unit == DistanceUnit::Kilometres);
                if (unit == DistanceUnit::Kilometres)
                    QCOMPARE(text.size() - text.indexOf(u'.') - 1, 3);
                if (i == j)
                    continue;
                const double expected = vincentyDistance(kPlaces[i].lon, kPlaces[i].lat,
                                                         kPlaces[j].lon, kPlaces[j].lat) *
                                        factor / scale;
                nearest = std::min(nearest, expected);
                QVERIFY2(
                    std::abs(text.toDouble() - expected) <= tolerance,
                    qPrintable(QStringLiteral("%1 against %2").arg(text).arg(expected, 0, 'f', 6)));
            }
            const double self = study.value->distances[size_t(i * n + i)].toDouble();
            QVERIFY(std::abs(self - nearest / 2) <= tolerance);
        }
        QCOMPARE(study.value->origins[0], QStringLiteral("1000"));
    }

    void intrazonalRules_data()
    {
        QTest::addColumn<IntrazonalRule>("rule");
        QTest::addColumn<double>("typed");
        QTest::addColumn<DistanceUnit>("unit");
        QTest::addColumn<QString>("expected");
        // 2/3 * sqrt(4 km² / pi) * 1.2 = 902.703 m.
        QTest::newRow("equal-area circle, km")
            << IntrazonalRule::EqualAreaRadius << 0.0 << DistanceUnit::Kilometres
            << QStringLiteral("0.903");
        QTest::newRow("equal-area circle, m") << IntrazonalRule::EqualAreaRadius << 0.0
                                              << DistanceUnit::Metres << QStringLiteral("903");
        QTest::newRow("typed, km")
            << IntrazonalRule::Typed << 0.5 << DistanceUnit::Kilometres << QStringLiteral("0.500");
        QTest::newRow("typed, m") << IntrazonalRule::Typed << 350.4 << DistanceUnit::Metres
                                  << QStringLiteral("350");
    }
    void intrazonalRules()
    {
        QFETCH(IntrazonalRule, rule);
        QFETCH(double, typed);
        QFETCH(DistanceUnit, unit);
        QFETCH(QString, expected);
        ZoneLayer layer;
        layer.zones = {zoneAt(QStringLiteral("A"), 11, 44, 4.0e6),
                       zoneAt(QStringLiteral("B"), 11.1, 44, 4.0e6)};
        DistanceOptions options;
        options.intrazonal = rule;
        options.typedIntrazonal = typed;
        options.unit = unit;
        const GeoResult<ZoneStudy> study = buildZoneStudy(layer, options);
        QVERIFY2(study.ok(), qPrintable(study.error));
        QCOMPARE(study.value->distances[0], expected);
        QCOMPARE(study.value->distances[3], expected);
    }

    void refused_data()
    {
        QTest::addColumn<double>("secondLon");
        QTest::addColumn<DistanceOptions>("options");
        QTest::addColumn<ZoneProblem>("problem");
        QTest::addColumn<QString>("message");
        const QString same = QStringLiteral(
            "Le zone \"A\" e \"B\" hanno lo stesso punto rappresentativo (distanza zero): "
            "correggere lo strato o sceglierne altre con un filtro.");
        QTest::newRow("same point")
            << 11.0 << DistanceOptions() << ZoneProblem::CoincidentPoints << same;
        // 0.3 m apart: "0.000" km, which the calculation would refuse just the same.
        QTest::newRow("closer than a metre in km")
            << 11.0 + 0.3 / 80000 << DistanceOptions() << ZoneProblem::CoincidentPoints << same;
        DistanceOptions factor;
        factor.detourFactor = 0.9;
        QTest::newRow("factor below 1")
            << 11.1 << factor << ZoneProblem::BadOption
            << QStringLiteral(
                   "Il coefficiente di tortuosità deve essere un numero non minore di 1.");
        DistanceOptions typed;
        typed.intrazonal = IntrazonalRule::Typed;
        QTest::newRow("typed zero")
            << 11.1 << typed << ZoneProblem::BadOption
            << QStringLiteral("La distanza intrazonale deve essere un numero maggiore di zero.");
        DistanceOptions circle;
        circle.intrazonal = IntrazonalRule::EqualAreaRadius;
        QTest::newRow("circle of a point")
            << 11.1 << circle << ZoneProblem::CoincidentPoints
            << QStringLiteral(
                   "La zona \"A\" non ha superficie: scegliere un'altra distanza intrazonale.");
    }
    void refused()
    {
        QFETCH(double, secondLon);
        QFETCH(DistanceOptions, options);
        QFETCH(ZoneProblem, problem);
        QFETCH(QString, message);
        ZoneLayer layer;
        layer.zones = {zoneAt(QStringLiteral("A"), 11, 44),
                       zoneAt(QStringLiteral("B"), secondLon, 44)};
        const GeoResult<ZoneStudy> study = buildZoneStudy(layer, options);
        QVERIFY(!study.ok());
        QCOMPARE(study.problem, problem);
        QCOMPARE(study.error, message);
    }

    void applyReplacesTheAreasInOneWrite()
    {
        auto state = std::make_unique<ProjectState>();
        state->areas.count = 5;
        for (int i = 1; i <= 5; ++i) {
            state->areas.name[size_t(i)] = QStringLiteral("vecchia %1").arg(i);
            state->areas.origin[size_t(i)] = QStringLiteral("100");
            state->areas.destination[size_t(i)] = QStringLiteral("100");
        }
        state->distances.weight[1] = FieldValue::fromText(QStringLiteral("7"));
        ZoneLayer layer;
        layer.zones = {zoneAt(QStringLiteral("A"), 11, 44, 1e6),
                       zoneAt(QStringLiteral("B"), 11.1, 44, 1e6),
                       zoneAt(QStringLiteral("C"), 11.2, 44.1, 1e6)};
        layer.zones[0].origin = QStringLiteral("10");
        layer.zones[1].origin = QStringLiteral("20");
        layer.zones[2].origin = QStringLiteral("30");
        layer.zones[2].destination = QStringLiteral("4.5");
        layer.zones[1].zone.code = QStringLiteral("B01");
        layer.projectedCrs = QStringLiteral("WKT");
        const GeoResult<ZoneStudy> study = buildZoneStudy(layer, DistanceOptions());
        QVERIFY(study.ok());
        const quint64 revision = state->inputRevision;
        applyZoneStudy(*study.value, *state);
        QCOMPARE(state->inputRevision, revision + 1);
        QCOMPARE(state->areas.count, 3);
        QCOMPARE(state->areas.name[3], QStringLiteral("C"));
        QCOMPARE(state->areas.origin[2], QStringLiteral("20"));
        QCOMPARE(state->areas.destination[3], QStringLiteral("4.5"));
        // The old rows 4 and 5 would stay in the totals otherwise.
        QVERIFY(state->areas.name[4].isEmpty());
        QVERIFY(state->areas.origin[5].isEmpty());
        QCOMPARE(state->areas.totalOrigins, 60.0);
        QCOMPARE(state->distances.pairNames[2], QStringLiteral("A-B"));
        QCOMPARE(state->distances.pairNumbers[9], QStringLiteral(" 3- 3"));
        QCOMPARE(state->distances.weight[1], FieldValue::fromNumber(100));
        for (int k = 1; k <= 9; ++k)
            QCOMPARE(state->distances.distance[size_t(k)], study.value->distances[size_t(k - 1)]);
        QCOMPARE(state->zones.zones.size(), size_t(3));
        QCOMPARE(state->zones.zones[1].code, QStringLiteral("B01"));
        QCOMPARE(state->zones.projectedCrs, QStringLiteral("WKT"));
    }
};

QTEST_GUILESS_MAIN(TestZoneStudy)
#include "tst_zonestudy.moc"
