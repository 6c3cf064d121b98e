// The calculation runs at every keystroke of the distances window. These benchmarks time one
// keystroke at 180 areas for each model, as the window does it (one pair changed and announced
// as such, the decay cache kept: models 2 and 3 recompute one row or column) and as the literal
// algorithm does it (everything recomputed, every power where it is used), in the same run.
//
// The doubly constrained "worst case" has totals that differ by 0.01: it never settles and runs
// to kMaxBalancingPasses, which is how the bound was chosen (the whole run must stay under half
// a second on the 2-core development machine).

#include "calculation.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <random>

using namespace urbaflux;

namespace {

constexpr int kAreas = 180;

std::unique_ptr<ProjectState> realisticState(int kind, bool unequalTotals = false)
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
    // Destinations with the same total, as the area window demands for the doubly constrained
    // model.
    long long rest = total;
    for (int i = 1; i < kAreas; ++i) {
        const int d = std::min<long long>(value(random), rest - (kAreas - i));
        rest -= d;
        state->areas.destination[i] = QString::number(d);
    }
    // Unequal totals never balance: the factors drift pass after pass.
    state->areas.destination[kAreas] = QString::number(unequalTotals ? rest + 100 : rest);
    for (int k = 1; k <= kAreas * kAreas; ++k) {
        state->distances.distance[k] = QString::number(distance(random));
        state->distances.weight[k] = FieldValue::fromNumber(100);
    }
    return state;
}

// One keystroke as the distances window handles it: the pair's distance written, the change
// announced as a write of that pair alone, then the results brought current (the revision test
// and the run). The literal version runs the old program's whole algorithm on the same edit.
void keystroke(benchmark::State& bench, int kind, bool literal)
{
    auto state = realisticState(kind);
    CalculationCache cache;
    CalculationOptions options;
    options.literal = literal;
    markInputsChanged(*state);
    calculateInteractions(*state, &cache, options); // as after the previous keystroke
    long long passes = 0;
    long long runs = 0;
    int k = 1;
    for (auto _ : bench) {
        // The user changes one distance, then the next one.
        state->distances.distance[k] = state->distances.distance[k] == QStringLiteral("7")
                                           ? QStringLiteral("8")
                                           : QStringLiteral("7");
        notePairEdit(*state, k);
        markInputsChanged(*state);
        k = k % (kAreas * kAreas) + 1;
        const CalculationOutcome outcome =
            literal ? calculateInteractions(*state, nullptr, options)
                    : ensureCurrentResults(*state, &cache).value_or(CalculationOutcome{});
        if (!outcome.completed())
            bench.SkipWithError("calculation did not complete");
        passes += outcome.passes;
        ++runs;
    }
    bench.counters["passes"] = benchmark::Counter(double(passes) / double(runs));
}

void BM_Keystroke(benchmark::State& bench)
{
    keystroke(bench, static_cast<int>(bench.range(0)), bench.range(1) != 0);
}

// Time of the passes alone: a doubly constrained run bounded at a given number of passes on data
// that never settle, so every run does exactly that many.
void BM_PassesOfUnsettledRun(benchmark::State& bench)
{
    auto state = realisticState(1, true);
    CalculationCache cache;
    CalculationOptions options;
    options.maxPasses = static_cast<int>(bench.range(0));
    options.literal = bench.range(1) != 0;
    long long passes = 0;
    for (auto _ : bench) {
        const CalculationOutcome outcome = calculateInteractions(*state, &cache, options);
        passes += outcome.passes;
    }
    bench.counters["passes"] = double(passes) / double(bench.iterations());
}

// The whole worst case with the program's bound.
void BM_WorstCaseAtTheBound(benchmark::State& bench)
{
    auto state = realisticState(1, true);
    CalculationCache cache;
    for (auto _ : bench) {
        const CalculationOutcome outcome = calculateInteractions(*state, &cache);
        if (outcome.status != CalculationOutcome::Status::NotConverged)
            bench.SkipWithError("expected the bound to be reached");
        benchmark::DoNotOptimize(outcome.passes);
    }
}

} // namespace

BENCHMARK(BM_Keystroke)
    ->ArgNames({"model", "literal"})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({2, 0})
    ->Args({2, 1})
    ->Args({3, 0})
    ->Args({3, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PassesOfUnsettledRun)
    ->ArgNames({"passes", "literal"})
    ->Args({100, 0})
    ->Args({1000, 0})
    ->Args({100, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WorstCaseAtTheBound)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
