// Document output at scale: the distances printout of 1,000, 10,000 and 32,401 rows (the
// 180-area report), built, saved as DOCX, paginated, and saved as PDF. Peak memory is the
// process's resident high-water mark after the case: run one case at a time
// (--benchmark_filter) to read it per case.

#include "../tests/report/sampledocuments.h"
#include "documentwriter.h"
#include "docxexporter.h"
#include "pagelayout.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

using namespace urbaflux;

namespace {

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

const QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

std::unique_ptr<Document> printout(int rows)
{
    DocumentWriter writer;
    samples::buildDistancesPrintout(writer, rows);
    return writer.takeDocument();
}

void BM_BuildModel(benchmark::State& state)
{
    for (auto _ : state) {
        DocumentWriter writer;
        samples::buildDistancesPrintout(writer, static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(writer.document().blocks().size());
    }
    state.counters["peak_MB"] = peakMegabytes();
}

// What the report does: build the document and save it as DOCX.
void BM_BuildAndSaveDocx(benchmark::State& state)
{
    const QString path = folder().filePath(QStringLiteral("bench.docx"));
    for (auto _ : state) {
        DocumentWriter writer;
        samples::buildDistancesPrintout(writer, static_cast<int>(state.range(0)));
        if (!writer.SaveDocumentAs(path))
            state.SkipWithError("save failed");
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
    state.counters["peak_MB"] = peakMegabytes();
}

void BM_Paginate(benchmark::State& state)
{
    const auto document = printout(static_cast<int>(state.range(0)));
    int pages = 0;
    for (auto _ : state) {
        PageLayout layout(*document);
        layout.paginateAll();
        pages = layout.pageCount();
    }
    state.counters["pages"] = pages;
    state.counters["peak_MB"] = peakMegabytes();
}

// The viewer's first page: the first slice of pagination and the page painted.
void BM_FirstPage(benchmark::State& state)
{
    const auto document = printout(static_cast<int>(state.range(0)));
    QImage image(794, 1123, QImage::Format_RGB32);
    for (auto _ : state) {
        PageLayout layout(*document);
        layout.paginateSome(2500);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.scale(96.0 / 72.0, 96.0 / 72.0);
        layout.paintPage(painter, 0);
    }
    state.counters["peak_MB"] = peakMegabytes();
}

void BM_SavePdf(benchmark::State& state)
{
    const auto document = printout(static_cast<int>(state.range(0)));
    const QString path = folder().filePath(QStringLiteral("bench.pdf"));
    for (auto _ : state) {
        if (!savePdf(*document, path))
            state.SkipWithError("save failed");
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
    state.counters["peak_MB"] = peakMegabytes();
}

void rows(benchmark::internal::Benchmark* bench)
{
    bench->Arg(1000)->Arg(10000)->Arg(32401)->Unit(benchmark::kMillisecond)->Iterations(2);
}

} // namespace

BENCHMARK(BM_BuildModel)->Apply(rows);
BENCHMARK(BM_BuildAndSaveDocx)->Apply(rows);
BENCHMARK(BM_Paginate)->Apply(rows);
BENCHMARK(BM_FirstPage)->Apply(rows);
BENCHMARK(BM_SavePdf)->Apply(rows);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
