// Moving the distances and weights after a change of the number of areas: one pass over the
// N² pairs at 180 areas, as an "Avanti" of the area window after an area was added, or the
// command that removes an area in the middle of the table.

#include "pairlayout.h"
#include "projectstate.h"

#include <benchmark/benchmark.h>
#include <memory>

using namespace urbaflux;

namespace {

std::unique_ptr<ProjectState> fullState()
{
    auto state = std::make_unique<ProjectState>();
    for (int a = 1; a <= kMaxAreas; ++a) {
        state->areas.name[a] = QStringLiteral("Quartiere %1").arg(a);
        state->areas.origin[a] = QStringLiteral("100");
        state->areas.destination[a] = QStringLiteral("100");
    }
    state->areas.count = kMaxAreas;
    buildPairList(*state);
    for (int k = 1; k <= kMaxPairs; ++k) {
        state->distances.distance[k] = QString::number(k % 47 + 1);
        state->distances.weight[k] = FieldValue::fromText(QStringLiteral("80"));
    }
    return state;
}

// The list alternates between 179 and 180 areas: every build moves every pair.
void BM_BuildPairListAfterCountChange(benchmark::State& bench)
{
    auto state = fullState();
    bool grow = false;
    for (auto _ : bench) {
        state->areas.count = grow ? kMaxAreas : kMaxAreas - 1;
        buildPairList(*state);
        grow = !grow;
        benchmark::DoNotOptimize(state->distances.distance[1]);
    }
}
BENCHMARK(BM_BuildPairListAfterCountChange)->Unit(benchmark::kMillisecond);

// The move alone, without writing the labels.
void BM_MovePairsAfterCountChange(benchmark::State& bench)
{
    auto state = fullState();
    bool grow = false;
    for (auto _ : bench) {
        movePairsToCount(*state, grow ? kMaxAreas : kMaxAreas - 1);
        grow = !grow;
        benchmark::DoNotOptimize(state->distances.distance[1]);
    }
}
BENCHMARK(BM_MovePairsAfterCountChange)->Unit(benchmark::kMillisecond);

// Area 90 of 180 removed; the state is rebuilt outside the timing.
void BM_RemoveAreaInTheMiddle(benchmark::State& bench)
{
    for (auto _ : bench) {
        bench.PauseTiming();
        auto state = fullState();
        bench.ResumeTiming();
        removeArea(*state, 90);
        benchmark::DoNotOptimize(state->distances.distance[1]);
        bench.PauseTiming();
        state.reset();
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_RemoveAreaInTheMiddle)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

BENCHMARK_MAIN();
