// The flow map and the comparison at 180 areas: choosing the 200 largest of 32,400
// interactions, drawing 180 zones with 200 arrows on screen and as the print picture, and
// comparing two computed elaborations (the two calculations measured apart).

#include <calculation.h>
#include <flowmap.h>
#include <flowselection.h>
#include <projectstate.h>
#include <scenariocomparison.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>

using namespace urbaflux;

namespace {

// 180 zones in a 15 x 12 grid of irregular polygons (40 vertices each), as a real layer has.
std::unique_ptr<ProjectState> mapState()
{
    auto st = std::make_unique<ProjectState>();
    const int n = kMaxAreas;
    st->areas.count = n;
    for (int i = 1; i <= n; ++i) {
        st->areas.name[size_t(i)] = QStringLiteral("Zona %1").arg(i);
        st->interactions.estimatedOrigins[size_t(i)] = 100 + (i * 37) % 400;
        const int column = (i - 1) % 15;
        const int row = (i - 1) / 15;
        const double lon = 11.0 + column * 0.02;
        const double lat = 44.3 + row * 0.02;
        Zone zone;
        GeoPolygon polygon;
        for (int v = 0; v < 40; ++v) {
            const double a = 2 * M_PI * v / 40;
            const double r = 0.009 * (1 + 0.08 * std::sin(7 * a + i));
            polygon.outer.push_back({lon + r * std::cos(a), lat + r * std::sin(a)});
        }
        polygon.outer.push_back(polygon.outer.front());
        zone.parts.push_back(polygon);
        zone.point = {lon, lat};
        st->zones.zones.push_back(zone);
        for (int j = 1; j <= n; ++j) {
            const int k = pairIndex(i, j, n);
            const unsigned h = unsigned(k) * 2654435761u;
            st->interactions.interaction[size_t(k)] =
                float((h % 100000) / 100.0 / (1 + (h >> 20) % 5));
        }
    }
    return st;
}

std::unique_ptr<ProjectState> computedState(int destinationBoost)
{
    auto st = std::make_unique<ProjectState>();
    applyDefaults(*st);
    st->model.kind = 3;
    const int n = kMaxAreas;
    st->areas.count = n;
    for (int i = 1; i <= n; ++i) {
        st->areas.name[size_t(i)] = QStringLiteral("Zona %1").arg(i);
        st->areas.origin[size_t(i)] = QString::number(100 + (i * 37) % 400);
        st->areas.destination[size_t(i)] = QString::number(100 + ((n + 1 - i) * 37) % 400);
    }
    // Equal totals for the doubly constrained model: jobs moved from area 2 to area 1.
    st->areas.destination[1] = QString::number(st->areas.destination[1].toInt() + destinationBoost);
    st->areas.destination[2] = QString::number(st->areas.destination[2].toInt() - destinationBoost);
    buildPairList(*st);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            st->distances.distance[size_t(pairIndex(i, j, n))] =
                QString::number(0.5 + std::abs(i - j) * 1.25 + (i * j) % 7 * 0.1);
    computeAreaTotals(*st);
    return st;
}

void BM_SelectLargestFlows(benchmark::State& bench)
{
    const auto st = mapState();
    for (auto _ : bench)
        benchmark::DoNotOptimize(selectLargestFlows(*st, kMaxMapFlows));
}
BENCHMARK(BM_SelectLargestFlows)->Unit(benchmark::kMillisecond);

// What the charts window does when the map is shown: the data (projection, selection) and one
// painting at the window's size.
void BM_MapOnScreen(benchmark::State& bench)
{
    const auto st = mapState();
    QImage screen(800, 640, QImage::Format_RGB32);
    FlowMapOptions options;
    options.flows = kMaxMapFlows;
    for (auto _ : bench) {
        const FlowMapData data = flowMapData(*st, options);
        QPainter painter(&screen);
        paintFlowMap(painter, QRectF(0, 0, 800, 640), data);
    }
}
BENCHMARK(BM_MapOnScreen)->Unit(benchmark::kMillisecond);

void BM_MapPrintPicture(benchmark::State& bench)
{
    const auto st = mapState();
    FlowMapOptions options;
    options.flows = kMaxMapFlows;
    for (auto _ : bench) {
        const FlowMapData data = flowMapData(*st, options);
        benchmark::DoNotOptimize(
            renderFlowMapImage(data, flowMapPrintLayoutSize(), kFlowMapPrintDpi / 96.0));
    }
}
BENCHMARK(BM_MapPrintPicture)->Unit(benchmark::kMillisecond);

void BM_CalculationOf180(benchmark::State& bench)
{
    auto st = computedState(0);
    for (auto _ : bench)
        benchmark::DoNotOptimize(calculateInteractions(*st));
}
BENCHMARK(BM_CalculationOf180)->Unit(benchmark::kMillisecond);

// The comparison itself, once both are computed: tables of 180 areas and 32,400 pairs, and the
// bars of the chart.
void BM_Compare180(benchmark::State& bench)
{
    auto base = computedState(0);
    auto project = computedState(150);
    calculateInteractions(*base);
    calculateInteractions(*project);
    for (auto _ : bench) {
        const ScenarioComparison c = compareScenarios(*base, *project);
        benchmark::DoNotOptimize(largestAreaChanges(c, 20));
        benchmark::DoNotOptimize(selectLargestFlows(pairDifferences(c), kMaxAreas, 20));
    }
}
BENCHMARK(BM_Compare180)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
