#include "distanze.h"
#include "grafici.h"
#include "samplestate.h"
#include "windowfactory.h"
#include "windowtestfixture.h"

#include <chartpicture.h>
#include <document.h>
#include <gravitationchart.h>
#include <projectstate.h>

#include <QChartView>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace urbaflux;

class TestGrafici : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void startsWithTheBarsOfTheResults();
    void barsAndPieOfTheCurrentResults();
    void noResultsSaysSoAndShowsTheModelChoice();
    void printoutWritesThePicture();
    void printoutWithoutData();
    void pictureCommands();
    void archiveSavesAndOpens();
    void refusedOrCancelledOpenChangesNothing();
    void saveWithoutResults();
};

namespace {

const QString kNoData = QStringLiteral(
    "Non esistono dati corretti da graficizzare: effettuare il 'controllo dati immessi', con il "
    "tasto ABC, in ogni finestra.");

// Two areas whose four pairs have the interactions 50, 80, 80 and 10 (total 220).
void fourPairs(ProjectState& st, QList<float> values = {50, 80, 80, 10})
{
    samples::SampleState(2, 3)
        .names([](int i) { return QStringLiteral("A%1").arg(i); })
        .interactions(values)
        .fill(st);
    for (int i = 1; i <= 2; ++i) {
        st.interactions.estimatedOrigins[i] = 100 + i;
        st.interactions.estimatedDestinations[i] = 200 + i;
    }
    // Results that come with the data, as an interactions archive brings them.
    markResultsRead(st);
}

QStringList firstLabels(const Grafici* w, int n)
{
    return w->chart()->rowLabels().mid(0, n);
}

} // namespace

void TestGrafici::startsWithTheBarsOfTheResults()
{
    {
        WindowTestFixture f(&createWindow);
        auto* w = f.touch<Grafici>(WindowId::Grafici);
        QVERIFY(w);
        QCOMPARE(w->currentKind(), ChartKind::Bars);
        QCOMPARE(w->chart()->title(), QStringLiteral("Gravitazioni principali"));
        QVERIFY(!hasChartPairs(w->chartSlots()));
        QCOMPARE(w->menuAction(QStringLiteral("mnuColore"))->text(),
                 QStringLiteral("&Colore di sfondo"));
        QVERIFY(f.prompts.verifyDone());
    }
    WindowTestFixture f(&createWindow);
    fourPairs(f.state);
    auto* w = f.touch<Grafici>(WindowId::Grafici);
    QCOMPARE(w->chartSlots().slots[0].pair, 3);
    QVERIFY(f.prompts.verifyDone());
}

void TestGrafici::barsAndPieOfTheCurrentResults()
{
    WindowTestFixture f(&createWindow);
    fourPairs(f.state);
    auto* w = f.show<Grafici>(WindowId::Grafici);
    QTest::mouseClick(w->pieButton(), Qt::LeftButton);
    QCOMPARE(w->currentKind(), ChartKind::Pie);
    QCOMPARE(w->chart()->title(), QStringLiteral("Gravitazioni principali in %"));
    // The legend names each relation by its areas.
    QCOMPARE(firstLabels(w, 5),
             (QStringList{QStringLiteral("A2 \u2192 A1  36%"), QStringLiteral("A1 \u2192 A2  36%"),
                          QStringLiteral("A1 \u2192 A1  23%"), QStringLiteral("A2 \u2192 A2  5%"),
                          QString()}));

    // A new calculation with smaller interactions: the next bars show them, nothing older.
    fourPairs(f.state, {5, 1, 2, 40});
    QCOMPARE(w->chartSlots().slots[0].value, 80.0); // the chart keeps its drawing until then
    QTest::mouseClick(w->barsButton(), Qt::LeftButton);
    QCOMPARE(w->currentKind(), ChartKind::Bars);
    QCOMPARE(firstLabels(w, 5),
             (QStringList{QStringLiteral(" 2- 2"), QStringLiteral(" 1- 1"), QStringLiteral(" 2- 1"),
                          QStringLiteral(" 1- 2"), QString()}));
    QCOMPARE(w->chart()->rowValues().mid(0, 5), (QList<double>{40, 5, 2, 1, 0}));
    QVERIFY(f.prompts.verifyDone());
}

void TestGrafici::noResultsSaysSoAndShowsTheModelChoice()
{
    WindowTestFixture f(&createWindow);
    fourPairs(f.state);
    auto* w = f.show<Grafici>(WindowId::Grafici);
    f.state.interactions.totalInteractions = 0;
    f.prompts.expectMessage();
    QTest::mouseClick(w->pieButton(), Qt::LeftButton);
    UF_VERIFY_PROMPTS(f.prompts);
    const MessageRequest said = f.prompts.lastMessage();
    QCOMPARE(said.icon, MessageIcon::Critical);
    QCOMPARE(said.title, f.state.run.checkTitle);
    QCOMPARE(said.text, kNoData);
    QVERIFY(f.windows.existing(WindowId::Menu) && f.windows.existing(WindowId::Menu)->isVisible());
    // The old bars are gone: nothing to print now.
    QVERIFY(!hasChartPairs(w->chartSlots()));
    QVERIFY(f.prompts.verifyDone());
}

void TestGrafici::printoutWritesThePicture()
{
    WindowTestFixture f(&createWindow);
    fourPairs(f.state);
    auto* w = f.show<Grafici>(WindowId::Grafici);
    QFile::remove(chartPicturePath());
    QGuiApplication::clipboard()->setText(QStringLiteral("appunti dell'utente"));

    w->toolbarAction(6)->trigger();
    UF_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.documents.count(), 1);
    const Document& doc = *f.documents.last();
    QCOMPARE(DocumentRecorder::paragraphTexts(doc).mid(0, 2),
             (QStringList{QStringLiteral("Urbaflux"),
                          QStringLiteral("modelli gravitazionali urbanistici")}));
    QImage picture(chartPicturePath());
    QCOMPARE(picture.size(), chartPrintLayoutSize() * (300.0 / 96.0));
    int pictures = 0;
    for (const Block& block : doc.blocks())
        if (const auto* paragraph = std::get_if<Paragraph>(&block))
            for (const Run& run : paragraph->runs)
                pictures += run.kind == Run::Kind::Picture && !run.pictureData.isEmpty();
    QCOMPARE(pictures, 1);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("appunti dell'utente"));

    // The next printout, of the pie, rewrites the file.
    QFile file(chartPicturePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bars = file.readAll();
    file.close();
    QTest::mouseClick(w->pieButton(), Qt::LeftButton);
    w->menuAction(QStringLiteral("mnuStampa"))->trigger();
    QCOMPARE(f.documents.count(), 2);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() != bars);
    QVERIFY(f.prompts.verifyDone());
}

void TestGrafici::printoutWithoutData()
{
    WindowTestFixture f(&createWindow);
    auto* w = f.show<Grafici>(WindowId::Grafici);
    f.prompts.expectMessage();
    w->toolbarAction(6)->trigger();
    UF_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.prompts.lastMessage().icon, MessageIcon::Exclamation);
    QCOMPARE(f.prompts.lastMessage().title, QStringLiteral("Urbaflux: stampa dati finestra"));
    QCOMPARE(f.prompts.lastMessage().text,
             QStringLiteral("Mancano i dati da stampare: tornare indietro o aprire un file "
                            "(Urbaflux-gra-)."));
    QCOMPARE(f.documents.count(), 0);
    QVERIFY(f.prompts.verifyDone());
}

void TestGrafici::pictureCommands()
{
    WindowTestFixture f(&createWindow);
    fourPairs(f.state);
    auto* w = f.show<Grafici>(WindowId::Grafici);
    w->copyChart();
    QCOMPARE(QGuiApplication::clipboard()->image().size(), chartPrintLayoutSize() * (300.0 / 96.0));

    QTemporaryDir dir;
    f.prompts.expectSaveFile(dir.filePath(QStringLiteral("grafico.svg")));
    f.prompts.expectSaveFile(dir.filePath(QStringLiteral("grafico")));
    w->saveChartImageAs();
    w->saveChartImageAs();
    UF_VERIFY_PROMPTS(f.prompts);
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("grafico.svg"))));
    QVERIFY(!QImage(dir.filePath(QStringLiteral("grafico.png"))).isNull());
    QVERIFY(f.prompts.verifyDone());
}

void TestGrafici::archiveSavesAndOpens()
{
    WindowTestFixture f(&createWindow);
    fourPairs(f.state);
    auto* w = f.show<Grafici>(WindowId::Grafici);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Urbaflux-int-prova"));
    f.prompts.expectSaveFile(path);
    w->toolbarAction(2)->trigger();
    w->toolbarAction(2)->trigger(); // the known file, without a dialog
    UF_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.prompts.fileRequests().size(), 1);
    QCOMPARE(f.prompts.fileRequests()[0].title, QStringLiteral("Salva file (interazioni)"));
    QCOMPARE(f.prompts.fileRequests()[0].filter,
             QStringLiteral("File Urbaflux-int- | Urbaflux-int-*"));
    QCOMPARE(w->currentFile(), path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count("\r\n"), 7); // 1 + N + N² records with N = 2

    // Another elaboration in memory, then the file back: the distances grid shows it from the
    // top; the chart keeps its drawing.
    auto* distances = f.touch<Distanze>(WindowId::Distanze);
    fourPairs(f.state, {1, 2, 3, 4});
    f.state.distances.pairNames[1] = QStringLiteral("altro");
    distances->scrollToPair(3);
    const double shown = w->chartSlots().slots[0].value;
    f.prompts.expectOpenFile(path);
    w->menuAction(QStringLiteral("mnuApri"))->trigger();
    UF_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.prompts.fileRequests().last().title, QStringLiteral("Apri file (interazioni)"));
    QCOMPARE(f.prompts.fileRequests().last().selectedFilter, 2);
    QCOMPARE(f.state.interactions.interaction[2], 80.0f);
    QCOMPARE(f.state.distances.pairNames[1], QStringLiteral("A1-A1"));
    QCOMPARE(f.state.interactions.totalInteractions, 220.0);
    QCOMPARE(f.state.run.gridTopRow, 1);
    QCOMPARE(distances->rowPair(1), 1);
    QCOMPARE(w->chartSlots().slots[0].value, shown);
    QVERIFY(f.prompts.verifyDone());
}

void TestGrafici::refusedOrCancelledOpenChangesNothing()
{
    WindowTestFixture f(&createWindow);
    fourPairs(f.state);
    auto* w = f.show<Grafici>(WindowId::Grafici);
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("Urbaflux-int-troppe"));
    QFile file(bad);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("181,\"'origine vincolata'\",3,1,1,1\r\n");
    file.close();

    f.prompts.expectOpenFile(QString());
    f.prompts.expectOpenFile(bad);
    f.prompts.expectMessage();
    w->apri_Click();
    w->apri_Click();
    UF_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.prompts.lastMessage().icon, MessageIcon::Critical);
    QVERIFY(f.prompts.lastMessage().text.contains(bad));
    QCOMPARE(f.state.areas.count, 2);
    QCOMPARE(f.state.distances.pairNumbers[3], QStringLiteral(" 2- 1"));
    QCOMPARE(f.state.interactions.interaction[3], 80.0f);
    QVERIFY(w->currentFile().isEmpty());
    QVERIFY(f.prompts.verifyDone());
}

void TestGrafici::saveWithoutResults()
{
    WindowTestFixture f(&createWindow);
    auto* w = f.show<Grafici>(WindowId::Grafici);
    f.prompts.expectMessage();
    w->salvanome_Click();
    UF_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.prompts.lastMessage().icon, MessageIcon::Critical);
    QCOMPARE(f.prompts.lastMessage().text,
             QStringLiteral("Non esistono interazioni da archiviare: tornare indietro."));
    QCOMPARE(f.prompts.fileRequests().size(), 0);
    QVERIFY(f.prompts.verifyDone());
}

QTEST_MAIN(TestGrafici)
#include "tst_grafici.moc"
