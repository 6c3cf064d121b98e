// The distances window's finer points through its widgets: every heading's tooltip, the steps of
// the scroll bars, the halving message from either arrow, the summary of a run without a model,
// the charts' bar chart on "Avanti", clearing a scrolled grid, the hint after scrolling, and the
// sizes and column alignment of the printout.

#include "distancesharness.h"
#include "grafici.h"

#include <numbertext.h>
#include <projectstate.h>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>

using namespace urbaflux;

namespace {

// A charts window that counts the bar charts it is asked to draw.
class ChartsStandIn : public Grafici
{
    Q_OBJECT

public:
    using Grafici::Grafici;
    int barCharts = 0;
    void cmdbarre_Click() override { ++barCharts; }
};

QWidget* makeChartsStandIn(WindowId, AppContext& context)
{
    return new ChartsStandIn(context);
}

struct Harness : DistancesHarness
{
    Harness() : DistancesHarness(&makeChartsStandIn) {}
};

void typeAll(Distanze* w, int pairs, const QString& text)
{
    for (int r = 1; r <= pairs; ++r)
        typeInto(distanza(w, r), text);
}

} // namespace

class TestDistanzeDetails : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void headingTooltips_data();
    void headingTooltips();
    void scrollBarSteps();
    void halvingFromEitherArrow_data();
    void halvingFromEitherArrow();
    void summaryWithoutModel();
    void avantiDrawsTheBarChart();
    void clearScrolledGrid();
    void hintFollowsTheFirstRowAfterScrolling();
    void printoutSizesAndAlignment();
    void avantiWithoutAreasMessage();
    void saveWithoutAreasWritesTheHeader();
    void loadedAfterAnArchiveShowsItsResults();
};

void TestDistanzeDetails::headingTooltips_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tip");

    QTest::newRow("Label1") << QStringLiteral("Label1") << QStringLiteral("n.ord.")
                            << QStringLiteral("numero d'ordine in automatico dei dati della "
                                              "finestra");
    QTest::newRow("num2") << QStringLiteral("num2") << QStringLiteral("n.-n.")
                          << QStringLiteral("numeri che identificano le aree in automatico");
    QTest::newRow("nomeare") << QStringLiteral("nomeare")
                             << QStringLiteral(" nomi delle aree (origine-destinazione)")
                             << QStringLiteral("nomi in automatico: il primo come origine, il "
                                               "secondo come destinazione");
    QTest::newRow("distan") << QStringLiteral("distan") << QStringLiteral(" distanze in")
                            << QStringLiteral("valori rilevati o progettati");
    QTest::newRow("Label2") << QStringLiteral("Label2") << QStringLiteral("chilometri")
                            << QStringLiteral("unità di misura indicata");
    QTest::newRow("Label3") << QStringLiteral("Label3") << QStringLiteral("peso in %")
                            << QStringLiteral("misura, in percento, della difficoltà "
                                              "riguardante il percorso indicato nella distanza");
    QTest::newRow("int") << QStringLiteral("int") << QStringLiteral(" interazioni")
                         << QStringLiteral("risultati del calcolo");
}

void TestDistanzeDetails::headingTooltips()
{
    QFETCH(QString, control);
    QFETCH(QString, caption);
    QFETCH(QString, tip);
    Harness h;
    Distanze* w = h.window();
    auto* label = child<QLabel>(w, control);
    QVERIFY(label);
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->toolTip(), tip);
}

void TestDistanzeDetails::scrollBarSteps()
{
    Harness h;
    Distanze* w = h.window();
    auto* v = child<QScrollBar>(w, QStringLiteral("VScroll1"));
    QCOMPARE(v->value(), 1);
    QCOMPARE(v->singleStep(), 1);
    QCOMPARE(v->pageStep(), 15);
    for (int r = 1; r <= Distanze::kRows; ++r) {
        QCOMPARE(arrows(w, r)->minimum(), 1);
        QCOMPARE(arrows(w, r)->maximum(), 100);
        QCOMPARE(arrows(w, r)->singleStep(), 1);
        QCOMPARE(arrows(w, r)->pageStep(), 1);
        QCOMPARE(arrows(w, r)->value(), 1);
    }
}

void TestDistanzeDetails::halvingFromEitherArrow_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("part");
    QTest::addColumn<bool>("warns");

    QTest::newRow("right arrow from 49") << 49 << int(QStyle::SC_ScrollBarAddLine) << true;
    QTest::newRow("left arrow from 51") << 51 << int(QStyle::SC_ScrollBarSubLine) << true;
    QTest::newRow("left arrow from 50") << 50 << int(QStyle::SC_ScrollBarSubLine) << false;
    QTest::newRow("right arrow from 50") << 50 << int(QStyle::SC_ScrollBarAddLine) << false;
}

void TestDistanzeDetails::halvingFromEitherArrow()
{
    QFETCH(int, start);
    QFETCH(int, part);
    QFETCH(bool, warns);
    Harness h;
    h.setAreas(3, 3, QStringLiteral("10"));
    Distanze* w = h.window();
    typeAll(w, 9, QStringLiteral("10"));
    // Row 5 shows pair 2-2.
    if (start == 50)
        h.prompts.expectMessage();
    arrows(w, 5)->setValue(start);
    UF_VERIFY_PROMPTS(h.prompts);
    const auto before = h.prompts.messages().size();
    if (warns)
        h.prompts.expectMessage();
    clickPart(arrows(w, 5), static_cast<QStyle::SubControl>(part));
    UF_VERIFY_PROMPTS(h.prompts);
    QCOMPARE(h.prompts.messages().size(), before + (warns ? 1 : 0));
    if (warns) {
        QCOMPARE(p100(w, 5)->text(), QStringLiteral("50"));
        QCOMPARE(h.state.distances.weight[5], FieldValue::fromText(QStringLiteral("50")));
        const MessageRequest m = h.prompts.lastMessage();
        QCOMPARE(m.icon, MessageIcon::Question);
        QCOMPARE(m.buttons, MessageButtons::Ok);
        QCOMPARE(m.title, h.state.run.checkTitle);
        QCOMPARE(m.text, QStringLiteral("Attenzione: la distanza A2-A2 verrà considerata alla "
                                        "metà della sua misura."));
    }
    QVERIFY(w->lastOutcome() && w->lastOutcome()->completed());
    QVERIFY(h.prompts.verifyDone());
}

void TestDistanzeDetails::summaryWithoutModel()
{
    Harness h;
    h.setAreas(0, 2, QStringLiteral("10"));
    h.state.model.kindLabel.clear();
    h.state.areas.origin[1] = QStringLiteral("12.5");
    Distanze* w = h.window();
    typeAll(w, 4, QStringLiteral("10"));
    h.prompts.expectMessage();
    w->toolbarAction(20)->trigger();
    UF_VERIFY_PROMPTS(h.prompts);
    const MessageRequest m = h.prompts.lastMessage();
    QCOMPARE(m.icon, MessageIcon::Information);
    QCOMPARE(m.buttons, MessageButtons::Ok);
    // No model: no interactions are computed, and the reference total is that of the origins.
    QCOMPARE(m.text.split(QChar(13)),
             (QStringList{QStringLiteral("Modello a "), QString(51, QLatin1Char('*')), QString(),
                          QStringLiteral("- totale interazioni.....................=  0"),
                          QStringLiteral("- arrotondamento nel calcolo....=  22.5")}));
    QVERIFY(h.prompts.verifyDone());
}

void TestDistanzeDetails::avantiDrawsTheBarChart()
{
    Harness h;
    h.setAreas(3, 2, QStringLiteral("10"));
    Distanze* w = h.window();
    typeAll(w, 4, QStringLiteral("10"));
    QTest::mouseClick(w->button(WindowFrame::Button::Avanti), Qt::LeftButton);
    UF_VERIFY_PROMPTS(h.prompts);
    auto* charts = h.manager.existingAs<ChartsStandIn>(WindowId::Grafici);
    QVERIFY(charts);
    QCOMPARE(charts->barCharts, 1);
    QVERIFY(charts->isVisible());
    QVERIFY(h.prompts.verifyDone());
}

void TestDistanzeDetails::clearScrolledGrid()
{
    Harness h;
    h.setAreas(3, 4, QStringLiteral("10"));
    for (int k = 1; k <= 16; ++k)
        h.state.distances.distance[k] = QStringLiteral("10");
    h.state.distances.distance[20] = QStringLiteral("7"); // beyond N², in view once scrolled
    h.state.distances.distance[30] = QStringLiteral("8"); // beyond N², out of view
    Distanze* w = h.window();
    child<QScrollBar>(w, QStringLiteral("VScroll1"))->setValue(11);
    QCOMPARE(distanza(w, 10)->text(), QStringLiteral("7"));
    h.prompts.expectMessage(MessageAnswer::Discard); // "Salvare le modifiche?"
    w->toolbarAction(21)->trigger();
    UF_VERIFY_PROMPTS(h.prompts);
    for (int k = 1; k <= 16; ++k) {
        QVERIFY(h.state.distances.distance[k].isEmpty());
        QVERIFY(h.state.distances.pairNumbers[k].isEmpty());
        QVERIFY(h.state.distances.pairNames[k].isEmpty());
        QCOMPARE(h.state.distances.weight[k], FieldValue::fromNumber(100));
    }
    QVERIFY(h.state.distances.distance[20].isEmpty());
    QCOMPARE(h.state.distances.distance[30], QStringLiteral("8"));
    for (int r = 1; r <= Distanze::kRows; ++r) {
        QCOMPARE(distanza(w, r)->text(), QString());
        QCOMPARE(labelText(w, QStringLiteral("label"), r), QString());
    }
    QCOMPARE(labelText(w, QStringLiteral("num"), 1), QStringLiteral("11"));
    QCOMPARE(w->passoText(),
             QStringLiteral("iniziare a digitare la prima distanza e a scegliere il peso"));
    QVERIFY(h.prompts.verifyDone());
}

void TestDistanzeDetails::hintFollowsTheFirstRowAfterScrolling()
{
    Harness h;
    h.setAreas(3, 2, QStringLiteral("10"));
    Distanze* w = h.window();
    typeAll(w, 4, QStringLiteral("10"));
    QCOMPARE(w->passoText(), QStringLiteral("i dati sono formalmente corretti: archiviarli, "
                                            "stamparli o andare Avanti con i grafici"));
    auto* v = child<QScrollBar>(w, QStringLiteral("VScroll1"));
    v->setValue(5); // row 1 shows pair 5, beyond the four pairs: its box empties
    QCOMPARE(w->passoText(),
             QStringLiteral("iniziare a digitare la prima distanza e a scegliere il peso"));
    v->setValue(1);
    QCOMPARE(w->passoText(), QStringLiteral("i dati sono formalmente corretti: archiviarli, "
                                            "stamparli o andare Avanti con i grafici"));
}

void TestDistanzeDetails::printoutSizesAndAlignment()
{
    Harness h;
    h.setAreas(3, 4, QStringLiteral("10"));
    Distanze* w = h.window();
    typeAll(w, 15, QStringLiteral("10"));
    child<QScrollBar>(w, QStringLiteral("VScroll1"))->setValue(2);
    typeInto(distanza(w, 15), QStringLiteral("10"));
    w->toolbarAction(6)->trigger();
    UF_VERIFY_PROMPTS(h.prompts);
    QCOMPARE(h.documents.count(), 1);
    const Document& doc = *h.documents.last();

    // Heading at 20, 16 and 12 points in Century Gothic; an empty paragraph before the table.
    QList<double> sizes;
    for (const Block& block : doc.blocks()) {
        if (const auto* p = std::get_if<Paragraph>(&block)) {
            for (const Run& run : p->runs) {
                if (run.kind != Run::Kind::Text || run.text.trimmed().isEmpty())
                    continue;
                QCOMPARE(run.font, QStringLiteral("Century Gothic"));
                sizes << run.size;
            }
        }
    }
    QCOMPARE(sizes, (QList<double>{20, 16, 12}));
    const QStringList paragraphs = DocumentRecorder::paragraphTexts(doc);
    QCOMPARE(paragraphs.mid(0, 5),
             (QStringList{QStringLiteral("Urbaflux"),
                          QStringLiteral("modelli gravitazionali urbanistici"), QString(),
                          QStringLiteral("Distanze tra le aree"), QString()}));

    const Table* table = DocumentRecorder::table(doc, 1);
    QVERIFY(table);
    QCOMPARE(table->rows, 17);
    QCOMPARE(table->fontSize, 8.0);
    QVERIFY(table->styled);
    const QList<Alignment> expected{Alignment::Left,  Alignment::Left,  Alignment::Left,
                                    Alignment::Right, Alignment::Right, Alignment::Right};
    for (int c = 0; c < 6; ++c)
        QCOMPARE(table->columnAlignment[static_cast<size_t>(c)], expected[c]);
    QCOMPARE(DocumentRecorder::row(doc, 1, 11),
             (QStringList{QStringLiteral(" 10"), QStringLiteral(" 3- 2"), QStringLiteral("A3-A2"),
                          QStringLiteral("10"), QStringLiteral("100"),
                          shortestText(h.state.interactions.interaction[10])}));
    QCOMPARE(DocumentRecorder::row(doc, 1, 17).at(0), QStringLiteral(" 16"));
    QVERIFY(h.prompts.verifyDone());
}

void TestDistanzeDetails::avantiWithoutAreasMessage()
{
    Harness h;
    Distanze* w = h.window();
    h.prompts.expectMessage();
    QTest::mouseClick(w->button(WindowFrame::Button::Avanti), Qt::LeftButton);
    UF_VERIFY_PROMPTS(h.prompts);
    const MessageRequest m = h.prompts.lastMessage();
    QCOMPARE(m.icon, MessageIcon::Critical);
    QCOMPARE(m.buttons, MessageButtons::Ok);
    QCOMPARE(m.title, QStringLiteral("Urbaflux: controllo dati immessi nella finestra attiva"));
    QCOMPARE(m.text,
             QStringLiteral("Impossibile proseguire: non esistono risultati (tornare indietro)."));
    QVERIFY(!h.manager.isLoaded(WindowId::Grafici));
    QVERIFY(h.prompts.verifyDone());
}

void TestDistanzeDetails::saveWithoutAreasWritesTheHeader()
{
    // No pairs, so no empty distance stops the save: the archive holds its header only.
    Harness h;
    Distanze* w = h.window();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Urbaflux-dis-vuoto"));
    h.prompts.expectSaveFile(path);
    w->toolbarAction(2)->trigger();
    UF_VERIFY_PROMPTS(h.prompts);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("0\r\n"));
    QCOMPARE(w->currentFile(), path);
    QVERIFY(h.prompts.verifyDone());
}

void TestDistanzeDetails::loadedAfterAnArchiveShowsItsResults()
{
    // The data arrive before the window exists (the complete archive opened from the model
    // choice): the window shows them with their results as it loads.
    Harness h;
    h.setAreas(3, 2, QStringLiteral("10"));
    for (int k = 1; k <= 4; ++k)
        h.state.distances.distance[k] = QStringLiteral("10");
    h.state.run.gridTopRow = 7;
    Distanze* w = h.window();
    QCOMPARE(h.state.run.gridTopRow, 1);
    QCOMPARE(labelText(w, QStringLiteral("num"), 1), QStringLiteral("1"));
    QCOMPARE(distanza(w, 4)->text(), QStringLiteral("10"));
    QCOMPARE(labelText(w, QStringLiteral("interazioni"), 1), QStringLiteral("5"));
    QCOMPARE(w->passoText(), QStringLiteral("i dati sono formalmente corretti: archiviarli, "
                                            "stamparli o andare Avanti con i grafici"));
    QVERIFY(h.prompts.verifyDone());
}

QTEST_MAIN(TestDistanzeDetails)
#include "tst_distanze_details.moc"
