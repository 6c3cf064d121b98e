// Saving and opening the largest archives: a complete archive of 180 areas holds 32,400 pair
// records (about 2 MB), and both commands run on the user-interface thread.

#include "archivefile.h"
#include "completearchive.h"
#include "distancearchive.h"
#include "recoveryarchive.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace urbaflux;

namespace {

constexpr int kAreas = 180;

std::unique_ptr<ProjectState> fullState(bool accented)
{
    auto state = std::make_unique<ProjectState>();
    applyDefaults(*state);
    state->model.kind = 1;
    state->model.kindLabel = modelKindLabel(1);
    state->model.originType = QStringLiteral("residenti");
    state->model.destinationType = QStringLiteral("uffici");
    state->areas.count = kAreas;
    for (int i = 1; i <= kAreas; ++i) {
        state->areas.name[i] = (accented ? QStringLiteral("Città n.") : QStringLiteral("Area n.")) +
                               QString::number(i);
        state->areas.origin[i] = QString::number(100 + i);
        state->areas.destination[i] = QString::number(200 - i);
        state->interactions.estimatedOrigins[i] = 100.0 + i;
        state->interactions.estimatedDestinations[i] = 200.0 - i;
    }
    buildPairList(*state);
    for (int i = 1; i <= kAreas; ++i)
        for (int j = 1; j <= kAreas; ++j) {
            const int k = pairIndex(i, j, kAreas);
            state->distances.distance[k] = QString::number(1 + (i * j) % 50);
            state->interactions.interaction[k] = static_cast<float>(k) / 3.0f;
        }
    return state;
}

void BM_WriteComplete(benchmark::State& bench)
{
    const auto state = fullState(bench.range(0) != 0);
    const TitlePage page;
    qint64 bytes = 0;
    for (auto _ : bench) {
        const QByteArray out = writeCompleteBytes(*state, page);
        bytes = out.size();
        benchmark::DoNotOptimize(out.constData());
    }
    bench.SetBytesProcessed(bench.iterations() * bytes);
}
BENCHMARK(BM_WriteComplete)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ParseComplete(benchmark::State& bench)
{
    const QByteArray bytes = writeCompleteBytes(*fullState(bench.range(0) != 0), TitlePage());
    for (auto _ : bench) {
        const auto parsed = parseCompleteBytes(bytes, QStringLiteral("bench"));
        if (!parsed.ok())
            bench.SkipWithError("refused");
        benchmark::DoNotOptimize(parsed.value->pairs.data());
    }
    bench.SetBytesProcessed(bench.iterations() * bytes.size());
}
BENCHMARK(BM_ParseComplete)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_OpenCompleteIntoState(benchmark::State& bench)
{
    const QByteArray bytes = writeCompleteBytes(*fullState(false), TitlePage());
    auto target = std::make_unique<ProjectState>();
    TitlePage page;
    for (auto _ : bench) {
        const auto parsed = parseCompleteBytes(bytes, QStringLiteral("bench"));
        applyComplete(*parsed.value, *target, page);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_OpenCompleteIntoState)->Unit(benchmark::kMillisecond);

void BM_ParseDistances(benchmark::State& bench)
{
    const QByteArray bytes = writeDistanceBytes(*fullState(false));
    for (auto _ : bench) {
        const auto parsed = parseDistanceBytes(bytes, QStringLiteral("bench"));
        benchmark::DoNotOptimize(parsed.value->pairs.data());
    }
    bench.SetBytesProcessed(bench.iterations() * bytes.size());
}
BENCHMARK(BM_ParseDistances)->Unit(benchmark::kMillisecond);

void BM_DecodeWindows1252(benchmark::State& bench)
{
    const QByteArray bytes = writeCompleteBytes(*fullState(true), TitlePage());
    for (auto _ : bench)
        benchmark::DoNotOptimize(decodeArchiveBytes(bytes).size());
    bench.SetBytesProcessed(bench.iterations() * bytes.size());
}
BENCHMARK(BM_DecodeWindows1252)->Unit(benchmark::kMillisecond);

} // namespace

// The recovery copy's part on the user-interface thread: the bytes (the worker writes them).
void BM_RecoveryBytes(benchmark::State& bench)
{
    const auto state = fullState(false);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (auto _ : bench)
        benchmark::DoNotOptimize(writeRecoveryBytes(*state, TitlePage(), now).constData());
}
BENCHMARK(BM_RecoveryBytes)->Unit(benchmark::kMillisecond);

// A save through the safe-file step, flush to the disk included, over an existing file.
void BM_SafeSave(benchmark::State& bench)
{
    const QByteArray bytes = writeCompleteBytes(*fullState(false), TitlePage());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Urbaflux-tot-bench"));
    for (auto _ : bench)
        benchmark::DoNotOptimize(saveArchiveBytes(path, bytes).ok);
    bench.SetBytesProcessed(bench.iterations() * bytes.size());
}
BENCHMARK(BM_SafeSave)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
