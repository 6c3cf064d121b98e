// The full report at 20, 60 and 180 areas (the last has 32,401 rows in table G): built with its
// true page count, built and saved as DOCX, the viewer's first page, and the PDF. Run one case
// at a time (--benchmark_filter) to read peak memory per case.

#include "../tests/report/reportsamples.h"
#include "chartpicture.h"
#include "documentwriter.h"
#include "fullreport.h"
#include "pagelayout.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
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

struct Sample
{
    std::unique_ptr<ProjectState> state;
    QString picture;
};

const Sample& sample(int areas)
{
    static std::map<int, Sample> samples;
    Sample& s = samples[areas];
    if (!s.state) {
        s.state = samples::elaboration(areas);
        s.picture = folder().filePath(QStringLiteral("chart%1.png").arg(areas));
        renderChartPicture(selectChartSlots(*s.state), ChartKind::Bars, s.picture);
    }
    return s;
}

int build(DocumentWriter& writer, int areas)
{
    const Sample& s = sample(areas);
    return writeFullReport(
        writer, {*s.state, samples::titlePage(), {}, areaTotalTexts(*s.state), s.picture});
}

// What the report command does before the viewer opens: the document with its true count.
void BM_BuildReport(benchmark::State& state)
{
    int pages = 0;
    for (auto _ : state) {
        DocumentWriter writer;
        pages = build(writer, static_cast<int>(state.range(0)));
    }
    state.counters["pages"] = pages;
    state.counters["peak_MB"] = peakMegabytes();
}

void BM_ChartPicture(benchmark::State& state)
{
    const Sample& s = sample(static_cast<int>(state.range(0)));
    const QString path = folder().filePath(QStringLiteral("bench.png"));
    for (auto _ : state)
        renderChartPicture(selectChartSlots(*s.state), ChartKind::Bars, path);
}

void BM_BuildAndSaveDocx(benchmark::State& state)
{
    const QString path = folder().filePath(QStringLiteral("bench.docx"));
    for (auto _ : state) {
        DocumentWriter writer;
        build(writer, static_cast<int>(state.range(0)));
        if (!writer.SaveDocumentAs(path))
            state.SkipWithError("save failed");
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
    state.counters["peak_MB"] = peakMegabytes();
}

// The viewer's first page once the report is built: its copy, the first slice, the page.
void BM_FirstPageAfterBuild(benchmark::State& state)
{
    QImage image(794, 1123, QImage::Format_RGB32);
    for (auto _ : state) {
        DocumentWriter writer;
        build(writer, static_cast<int>(state.range(0)));
        const auto copy = std::make_unique<Document>(writer.document());
        PageLayout layout(*copy);
        layout.paginateSome(2500);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.scale(96.0 / 72.0, 96.0 / 72.0);
        layout.paintPage(painter, 0);
    }
}

void BM_SavePdf(benchmark::State& state)
{
    DocumentWriter writer;
    build(writer, static_cast<int>(state.range(0)));
    const QString path = folder().filePath(QStringLiteral("bench.pdf"));
    for (auto _ : state) {
        if (!writer.SaveDocumentAs(path))
            state.SkipWithError("save failed");
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}

void areas(benchmark::internal::Benchmark* bench)
{
    bench->Arg(20)->Arg(60)->Arg(180)->Unit(benchmark::kMillisecond)->Iterations(2);
}

} // namespace

BENCHMARK(BM_ChartPicture)->Apply(areas);
BENCHMARK(BM_BuildReport)->Apply(areas);
BENCHMARK(BM_BuildAndSaveDocx)->Apply(areas);
BENCHMARK(BM_FirstPageAfterBuild)->Apply(areas);
BENCHMARK(BM_SavePdf)->Apply(areas);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
