// The charts at 180 areas: selecting the 20 largest of 32,400 interactions and drawing them as
// bars or as a pie, and rendering the picture file the printout and the report insert.

#include "../tests/support/samplestate.h"

#include <chartpicture.h>
#include <chartslots.h>
#include <gravitationchart.h>
#include <projectstate.h>

#include <QApplication>
#include <QStandardPaths>
#include <benchmark/benchmark.h>
#include <memory>

using namespace urbaflux;

namespace {

std::unique_ptr<ProjectState> fullState()
{
    return samples::SampleState(kMaxAreas, 0)
        .interactions([](int k) {
            const unsigned h = unsigned(k) * 2654435761u;
            return float((h % 100000) / 100.0 / (1 + (h >> 20) % 5));
        })
        .build();
}

void drawChart(benchmark::State& bench, ChartKind kind)
{
    const auto st = fullState();
    GravitationChart chart;
    chart.resize(640, 480);
    for (auto _ : bench) {
        chart.showSlots(selectChartSlots(*st), kind);
        chart.layOutNow();
    }
}

void BM_SelectSlots(benchmark::State& bench)
{
    const auto st = fullState();
    for (auto _ : bench)
        benchmark::DoNotOptimize(selectChartSlots(*st));
}
BENCHMARK(BM_SelectSlots)->Unit(benchmark::kMillisecond);

void BM_DrawBars(benchmark::State& bench)
{
    drawChart(bench, ChartKind::Bars);
}
BENCHMARK(BM_DrawBars)->Unit(benchmark::kMillisecond);

void BM_DrawPie(benchmark::State& bench)
{
    drawChart(bench, ChartKind::Pie);
}
BENCHMARK(BM_DrawPie)->Unit(benchmark::kMillisecond);

void renderPicture(benchmark::State& bench, ChartKind kind)
{
    const auto st = fullState();
    const ChartSlots slots = selectChartSlots(*st);
    const QString path = chartPicturePath();
    for (auto _ : bench)
        benchmark::DoNotOptimize(renderChartPicture(slots, kind, path));
}

void BM_PictureBars(benchmark::State& bench)
{
    renderPicture(bench, ChartKind::Bars);
}
BENCHMARK(BM_PictureBars)->Unit(benchmark::kMillisecond);

void BM_PicturePie(benchmark::State& bench)
{
    renderPicture(bench, ChartKind::Pie);
}
BENCHMARK(BM_PicturePie)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
