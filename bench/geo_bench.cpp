// The GIS imports at the data model's size: 180 polygons read from a layer with all 32,400
// distances computed and applied to the state, and a 32,400-row distance matrix.

#include <distancematrix.h>
#include <zonelayer.h>
#include <zonestudy.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>

using namespace urbaflux;

namespace {

// 180 zones of 24 vertices each on a 15 x 12 mesh of UTM 32N, as GeoJSON naming its CRS.
QByteArray zoneLayer()
{
    QByteArray json = R"({"type":"FeatureCollection","crs":{"type":"name","properties":)"
                      R"({"name":"urn:ogc:def:crs:EPSG::32632"}},"features":[)";
    for (int z = 0; z < 180; ++z) {
        const double cx = 600000 + (z % 15) * 3000.0;
        const double cy = 4800000 + (z / 15) * 3000.0;
        QByteArray ring;
        for (int v = 0; v <= 24; ++v) {
            const double angle = 2 * M_PI * (v % 24) / 24;
            const double r = 1200 + 200 * std::sin(3 * angle);
            ring += (v ? "," : "") + QByteArray("[") +
                    QByteArray::number(cx + r * std::cos(angle), 'f', 1) + "," +
                    QByteArray::number(cy + r * std::sin(angle), 'f', 1) + "]";
        }
        json += (z ? "," : "") + QByteArray(R"({"type":"Feature","properties":{"nome":"Zona )") +
                QByteArray::number(z + 1) + R"(","pop":)" + QByteArray::number(1000 + z) +
                R"(},"geometry":{"type":"Polygon","coordinates":[[)" + ring + "]]}}";
    }
    return json + "]}";
}

void BM_ImportZones180(benchmark::State& bench)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zone.geojson"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(zoneLayer());
    file.close();
    ZoneQuery query;
    query.source.path = path;
    query.nameField = QStringLiteral("nome");
    query.originField = QStringLiteral("pop");
    auto state = std::make_unique<ProjectState>();
    for (auto _ : bench) {
        const GeoResult<ZoneLayer> layer = readZoneLayer(query);
        const GeoResult<ZoneStudy> study = buildZoneStudy(*layer.value, DistanceOptions());
        applyZoneStudy(*study.value, *state);
        benchmark::DoNotOptimize(state->distances.distance[kMaxPairs]);
    }
    if (state->areas.count != 180)
        bench.SkipWithError("the layer did not give 180 zones");
}
BENCHMARK(BM_ImportZones180)->Unit(benchmark::kMillisecond);

void BM_DistanceMatrix32400(benchmark::State& bench)
{
    auto state = std::make_unique<ProjectState>();
    state->areas.count = 180;
    for (int i = 1; i <= 180; ++i)
        state->areas.name[static_cast<size_t>(i)] = QStringLiteral("Zona %1").arg(i);
    buildPairList(*state);
    QByteArray csv = "origine;destinazione;valore\n";
    for (int i = 1; i <= 180; ++i) {
        for (int j = 1; j <= 180; ++j)
            csv += "Zona " + QByteArray::number(i) + ";Zona " + QByteArray::number(j) + ";" +
                   QByteArray::number(1 + (i * 7 + j * 13) % 500) + ",25\n";
    }
    for (auto _ : bench) {
        const Parsed<DistanceMatrixImport> matrix =
            parseDistanceMatrix(csv, QStringLiteral("matrice.csv"), *state);
        applyDistanceMatrix(*matrix.value, *state);
        benchmark::DoNotOptimize(state->distances.distance[kMaxPairs]);
    }
}
BENCHMARK(BM_DistanceMatrix32400)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
