// Keystroke latency of the distances window at 180 areas: one character typed into a distance
// box, through the recalculation and the redraw of the rows, until the row's interaction label
// has been repainted. Run with the offscreen platform (set below when nothing else is chosen).

#include "distanze.h"

#include "distancesprintout.h"
#include "document.h"

#include "documentsink.h"
#include "prompts.h"
#include "windowfactory.h"
#include "windowmanager.h"

#include <projectstate.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <benchmark/benchmark.h>
#include <memory>

using namespace urbaflux;

namespace {

class SilentPrompts : public Prompts
{
public:
    MessageAnswer message(const MessageRequest&) override { return MessageAnswer::Ok; }
    QString openFile(const FileRequest&) override { return {}; }
    QString saveFile(const FileRequest&) override { return {}; }
    std::optional<QColor> chooseColour(const QColor&) override { return std::nullopt; }
    bool choosePrinter(QPrinter&) override { return false; }
};

class NoDocuments : public DocumentSink
{
public:
    void present(std::unique_ptr<Document>) override {}
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// 180 areas with equal origin and destination totals and distances that vary from pair to pair,
// so that the doubly constrained iteration settles in tens of passes.
void fillAreas(ProjectState& state, int kind)
{
    applyDefaults(state);
    state.model.kind = static_cast<qint16>(kind);
    state.model.kindLabel = modelKindLabel(kind);
    const int n = kMaxAreas;
    state.areas.count = n;
    for (int i = 1; i <= n; ++i) {
        state.areas.name[i] = QStringLiteral("Area %1").arg(i);
        state.areas.origin[i] = QString::number(100 + (i * 37) % 400);
        state.areas.destination[i] = QString::number(100 + (i * 53) % 400);
    }
    // Equal totals: the last destination takes up the difference.
    double origins = 0, destinations = 0;
    for (int i = 1; i <= n; ++i) {
        origins += state.areas.origin[i].toDouble();
        destinations += state.areas.destination[i].toDouble();
    }
    state.areas.destination[n] =
        QString::number(state.areas.destination[n].toDouble() + origins - destinations);
    computeAreaTotals(state);
    buildPairList(state);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j)
            state.distances.distance[pairIndex(i, j, n)] =
                QString::number(1 + ((i - j) * (i - j) + i * 7) % 25);
    }
}

void typeCharacter(QLineEdit* box, QChar character)
{
    const QString text(character);
    const int key = Qt::Key_0 + character.digitValue();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(box, &press);
    QCoreApplication::sendEvent(box, &release);
}

void keystroke(benchmark::State& bench, int kind)
{
    ProjectState state;
    fillAreas(state, kind);
    SilentPrompts prompts;
    WindowManager manager;
    NoDocuments documents;
    AppContext context{state, prompts, manager, documents};
    manager.setContext(&context);
    manager.setRegistry(&windowRegistry());
    manager.setFactory([](WindowId id, AppContext& ctx) -> QWidget* {
        return id == WindowId::Distanze ? new Distanze(ctx) : nullptr;
    });
    auto* window = manager.touchAs<Distanze>(WindowId::Distanze);
    window->show();
    QCoreApplication::processEvents();
    auto* box = window->findChild<QLineEdit*>(QStringLiteral("distanza_1"));
    // The box is repainted in the same pass as the rows' labels (one backing store flush), and
    // always, since its text changes.
    PaintCounter counter;
    box->installEventFilter(&counter);
    box->setFocus();
    box->setText(QStringLiteral("1"));
    QCoreApplication::processEvents();

    int passes = 0;
    int runs = 0;
    int unpainted = 0;
    bool alternate = false;
    for (auto _ : bench) {
        // The box holds one digit; the cursor is at its end. Backspace and a new digit would
        // be two keystrokes: select the digit instead, so that one typed character replaces it.
        bench.PauseTiming();
        box->selectAll();
        const int paintsBefore = counter.paints;
        bench.ResumeTiming();

        typeCharacter(box, alternate ? QLatin1Char('3') : QLatin1Char('4'));
        alternate = !alternate;
        for (int spins = 0; counter.paints == paintsBefore && spins < 1000; ++spins)
            QCoreApplication::processEvents();

        bench.PauseTiming();
        if (counter.paints == paintsBefore)
            ++unpainted;
        if (window->lastOutcome()) {
            passes += window->lastOutcome()->passes;
            ++runs;
            if (!window->lastOutcome()->completed())
                bench.SkipWithError("the calculation did not complete");
        }
        bench.ResumeTiming();
    }
    bench.counters["passes"] = runs ? double(passes) / runs : 0.0;
    // Keystrokes after which no repaint came: should stay 0, or the figure measures nothing.
    bench.counters["unpainted"] = unpainted;
    delete window;
}

// Opening the window on a complete data set: the rows come to show the distances, which runs
// the calculation once with a cold cache and, for model 1, from the start-up factors.
void openWindow(benchmark::State& bench, int kind)
{
    ProjectState state;
    fillAreas(state, kind);
    SilentPrompts prompts;
    NoDocuments documents;
    int passes = 0;
    int runs = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        state.balancing = BalancingState();
        WindowManager manager;
        AppContext context{state, prompts, manager, documents};
        manager.setContext(&context);
        manager.setRegistry(&windowRegistry());
        manager.setFactory([](WindowId id, AppContext& ctx) -> QWidget* {
            return id == WindowId::Distanze ? new Distanze(ctx) : nullptr;
        });
        bench.ResumeTiming();
        manager.showWindow(WindowId::Distanze);
        QCoreApplication::processEvents();
        bench.PauseTiming();
        auto* window = manager.existingAs<Distanze>(WindowId::Distanze);
        if (window && window->lastOutcome()) {
            passes += window->lastOutcome()->passes;
            ++runs;
        }
        delete window;
        bench.ResumeTiming();
    }
    bench.counters["passes"] = runs ? double(passes) / runs : 0.0;
}

void BM_Open_Model1(benchmark::State& bench)
{
    openWindow(bench, 1);
}
void BM_Open_Model3(benchmark::State& bench)
{
    openWindow(bench, 3);
}

// The printout of the distances window at 180 areas: a table of 32,401 rows.
void BM_Printout(benchmark::State& bench)
{
    ProjectState state;
    fillAreas(state, 3);
    calculateInteractions(state);
    for (auto _ : bench) {
        auto document = printDistances(state, state.model.unit);
        benchmark::DoNotOptimize(document.get());
    }
}

void BM_Keystroke_Model1(benchmark::State& bench)
{
    keystroke(bench, 1);
}
void BM_Keystroke_Model2(benchmark::State& bench)
{
    keystroke(bench, 2);
}
void BM_Keystroke_Model3(benchmark::State& bench)
{
    keystroke(bench, 3);
}

} // namespace

BENCHMARK(BM_Keystroke_Model1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Keystroke_Model2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Keystroke_Model3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open_Model1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open_Model3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Printout)->Unit(benchmark::kMillisecond);

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
