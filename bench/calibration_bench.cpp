// A calibration of alpha at 180 areas for each model: the coarse scan of 0 to 10 and the
// refinement to 1e-6, every trial a whole calculation on a scratch copy of the state. The
// observed interactions are the program's own at alpha 1.8, disturbed by up to a tenth pair by
// pair, as a survey would be.

#include "calibration.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <random>

using namespace urbaflux;

namespace {

constexpr int kAreas = 180;

std::unique_ptr<ProjectState> realisticState(int kind)
{
    auto state = std::make_unique<ProjectState>();
    applyDefaults(*state);
    state->model.kind = static_cast<qint16>(kind);
    state->areas.count = kAreas;
    std::mt19937 random(42);
    std::uniform_int_distribution<int> value(50, 5000);
    std::uniform_int_distribution<int> distance(1, 50);
    long long total = 0;
    for (int i = 1; i <= kAreas; ++i) {
        const int o = value(random);
        total += o;
        state->areas.origin[i] = QString::number(o);
    }
    long long rest = total;
    for (int i = 1; i < kAreas; ++i) {
        const int d = std::min<long long>(value(random), rest - (kAreas - i));
        rest -= d;
        state->areas.destination[i] = QString::number(d);
    }
    state->areas.destination[kAreas] = QString::number(rest);
    for (int k = 1; k <= kAreas * kAreas; ++k) {
        state->distances.distance[k] = QString::number(distance(random));
        state->distances.weight[k] = FieldValue::fromNumber(100);
    }
    return state;
}

ObservedInteractions survey(int kind)
{
    auto truth = realisticState(kind);
    truth->model.alpha = FieldValue::fromNumber(1.8);
    calculateInteractions(*truth);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> noise(0.9, 1.1);
    ObservedInteractions observed;
    observed.count = kAreas;
    observed.value.assign(kMaxPairs + 1, 0.0);
    observed.present.assign(kMaxPairs + 1, 1);
    observed.present[0] = 0;
    for (int o = 1; o <= kAreas; ++o)
        for (int d = 1; d <= kAreas; ++d)
            observed.value[size_t(pairIndex(o, d, kAreas))] =
                truth->interactions.matrix(o, d) * noise(random);
    observed.pairs = kMaxPairs;
    return observed;
}

void BM_Calibration(benchmark::State& bench)
{
    const int kind = static_cast<int>(bench.range(0));
    const auto criterion = static_cast<CalibrationCriterion>(bench.range(1));
    const auto state = realisticState(kind);
    const ObservedInteractions observed = survey(kind);
    CalibrationResult result;
    for (auto _ : bench) {
        result = calibrateAlpha(*state, observed, criterion);
        if (!result.usable())
            bench.SkipWithError("calibration did not find an alpha");
    }
    bench.counters["alpha"] = result.alpha;
    bench.counters["evaluations"] = result.evaluations;
}

} // namespace

BENCHMARK(BM_Calibration)
    ->ArgNames({"model", "sae"})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({3, 0})
    ->Args({1, 1})
    ->Args({2, 1})
    ->Args({3, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

BENCHMARK_MAIN();
