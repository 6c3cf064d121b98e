// The distances window through its widgets: typing into the boxes, the weight arrows, the scroll
// bar, the toolbar check and clear, the archive commands and the printout, with scripted prompts
// answering the message boxes and file dialogs.

#include "distancesharness.h"

#include <distancearchive.h>
#include <numbertext.h>
#include <projectstate.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace urbaflux;

namespace {

const QString kFormallyCorrect = QStringLiteral(
    "i dati sono formalmente corretti: archiviarli, stamparli o andare Avanti con i grafici");

using Harness = DistancesHarness;

// Clicks the right or the left arrow of a horizontal scroll bar.
void clickArrow(QScrollBar* bar, bool right)
{
    clickPart(bar, right ? QStyle::SC_ScrollBarAddLine : QStyle::SC_ScrollBarSubLine);
}

void typeDistances(Distanze* w, const QStringList& distances)
{
    for (int r = 1; r <= distances.size(); ++r)
        typeInto(distanza(w, r), distances[r - 1]);
}

// Model 3 with two areas (origins 100 and 50, destinations 1), every distance typed as 10.
Distanze* twoAreasEveryDistanceTen(Harness& h)
{
    h.setAreas(3, {QStringLiteral("100"), QStringLiteral("50")},
               {QStringLiteral("1"), QStringLiteral("1")});
    Distanze* w = h.window();
    typeDistances(w, {QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"),
                      QStringLiteral("10")});
    return w;
}

} // namespace

class TestDistanze : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void loadShowsHeadingsAndEmptyHint();
    void gridShowsPairsFromTheScrollBar();
    void editGoesToTheRowsPair();
    void calculationAtEveryKeystroke_data();
    void calculationAtEveryKeystroke();
    void arrowsToFiftyWarnAndHalve();
    void onlyTheArrowsAtFiftyWarn();
    void arrowPositionBelongsToTheRow();
    void refreshKeepsDefaultWeightsAndRecalculatesOnce();
    void hint_data();
    void hint();
    void summary_data();
    void summary();
    void avantiWithoutAreasRefuses();
    void avantiShowsTheCharts();
    void clearEmptiesDistancesAndLabels();
    void contextHelpLines();
    void pasteFillsFollowingPairs();
    void pasteIntoWeightColumn();
    void pasteTooLongChangesNothing();
    void tabPastTheLastRowMovesTheGrid();
    void saveAndReopen();
    void saveWithEmptyDistanceRunsAvanti();
    void saveAsWithEmptyDistanceForgetsTheFile();
    void saveAsCancelledKeepsCurrentFile();
    void openRefusedOrCancelledChangesNothing();
    void openOtherCountRecalculates();
    void openLargerArchiveKeepsNames();
    void showingAgainFollowsTheState();
    void deleteMovesToTrashAndBecomesCurrent();
    void printRefusedWithoutData();
    void printTable();

private:
    QTemporaryDir m_home;
};

void TestDistanze::initTestCase()
{
    // The trash of the deletion tests lives in a temporary home on the same file system as the
    // temporary archives.
    QVERIFY(m_home.isValid());
    qputenv("HOME", m_home.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", (m_home.path() + QStringLiteral("/.local/share")).toLocal8Bit());
}

void TestDistanze::loadShowsHeadingsAndEmptyHint()
{
    Harness h;
    Distanze* w = h.window();
    QVERIFY(w);
    QCOMPARE(w->objectName(), QStringLiteral("distanze"));
    QCOMPARE(w->focusWidget(), distanza(w, 1)); // the first thing to type
    QCOMPARE(w->windowTitle(), QStringLiteral("Urbaflux: modello di calcolo non ancora scelto "
                                              "(tornare indietro per l'elaborazione)"));
    QCOMPARE(child<QLabel>(w, QStringLiteral("Label1"))->text(), QStringLiteral("n.ord."));
    QCOMPARE(child<QLabel>(w, QStringLiteral("nomeare"))->text(),
             QStringLiteral(" nomi delle aree (origine-destinazione)"));
    QCOMPARE(child<QLabel>(w, QStringLiteral("distan"))->text(), QStringLiteral(" distanze in"));
    QCOMPARE(child<QLabel>(w, QStringLiteral("Label2"))->text(), QStringLiteral("chilometri"));
    QCOMPARE(child<QLabel>(w, QStringLiteral("Label3"))->text(), QStringLiteral("peso in %"));
    QCOMPARE(child<QLabel>(w, QStringLiteral("int"))->text(), QStringLiteral(" interazioni"));
    QCOMPARE(child<QLabel>(w, QStringLiteral("int"))->toolTip(),
             QStringLiteral("risultati del calcolo"));
    QCOMPARE(p100(w, 7)->toolTip(),
             QStringLiteral("cliccare sulle frecce per scegliere il grado di difficoltà del "
                            "percorso (100=massimo; 1=minimo)"));
    auto* v = child<QScrollBar>(w, QStringLiteral("VScroll1"));
    QCOMPARE(v->minimum(), 1);
    QCOMPARE(v->maximum(), 32386);
    QCOMPARE(v->pageStep(), 15);
    QCOMPARE(arrows(w, 15)->minimum(), 1);
    QCOMPARE(arrows(w, 15)->maximum(), 100);
    QCOMPARE(arrows(w, 15)->value(), 1);
    QCOMPARE(w->passoText(), QStringLiteral("mancano i dati delle aree: aprire un file "
                                            "archiviato o tornare alla finestra precedente"));
    w->setUnitCaption(QStringLiteral("metri"));
    QCOMPARE(child<QLabel>(w, QStringLiteral("Label2"))->text(), QStringLiteral("metri"));
    QVERIFY(h.prompts.verifyDone());
}

void TestDistanze::gridShowsPairsFromTheScrollBar()
{
    Harness h;
    h.setAreas(3, {QStringLiteral("100"), QStringLiteral("50")},
               {QStringLiteral("1"), QStringLiteral("1")});
    h.state.distances.distance[32400] = QStringLiteral("7");
    Distanze* w = h.window();
    QCOMPARE(labelText(w, QStringLiteral("num"), 1), QStringLiteral("1"));
    QCOMPARE(labelText(w, QStringLiteral("label"), 2), QStringLiteral(" 1- 2"));
    QCOMPARE(labelText(w, QStringLiteral("nomi"), 3), QStringLiteral("A2-A1"));
    QCOMPARE(p100(w, 4)->text(), QStringLiteral("100"));
    QCOMPARE(p100(w, 5)->text(), QString()); // beyond N²: whatever the position holds

    auto* v = child<QScrollBar>(w, QStringLiteral("VScroll1"));
    v->setValue(v->maximum());
    QCOMPARE(labelText(w, QStringLiteral("num"), 1), QStringLiteral("32386"));
    QCOMPARE(labelText(w, QStringLiteral("num"), 15), QStringLiteral("32400"));
    QCOMPARE(distanza(w, 15)->text(), QStringLiteral("7"));
    QCOMPARE(w->rowPair(15), 32400);
    QCOMPARE(h.state.run.gridTopRow, 32386);
}

void TestDistanze::editGoesToTheRowsPair()
{
    Harness h;
    QStringList values;
    for (int i = 0; i < 5; ++i)
        values << QStringLiteral("10");
    h.setAreas(3, values, values);
    Distanze* w = h.window();
    child<QScrollBar>(w, QStringLiteral("VScroll1"))->setValue(11);
    QCOMPARE(labelText(w, QStringLiteral("num"), 3), QStringLiteral("13"));
    // The area window scrolls its own grid meanwhile and keeps its position in the shared value.
    h.state.run.gridTopRow = 2;
    typeInto(distanza(w, 3), QStringLiteral("4.5"));
    QCOMPARE(h.state.distances.distance[13], QStringLiteral("4.5"));
    QVERIFY(h.state.distances.distance[4].isEmpty());
    typeInto(p100(w, 3), QStringLiteral("80"));
    QCOMPARE(h.state.distances.weight[13], FieldValue::fromText(QStringLiteral("80")));
    QCOMPARE(h.state.distances.weight[4], FieldValue::fromNumber(100));
}

void TestDistanze::calculationAtEveryKeystroke_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("origins");
    QTest::addColumn<QStringList>("destinations");
    QTest::addColumn<QStringList>("distances");
    QTest::addColumn<QStringList>("interactions");

    QTest::newRow("origine vincolata")
        << 3 << QStringList{QStringLiteral("100"), QStringLiteral("50")}
        << QStringList{QStringLiteral("1"), QStringLiteral("1")}
        << QStringList{QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"),
                       QStringLiteral("10")}
        << QStringList{QStringLiteral("50"), QStringLiteral("50"), QStringLiteral("25"),
                       QStringLiteral("25")};
    QTest::newRow("destinazione vincolata")
        << 2 << QStringList{QStringLiteral("100"), QStringLiteral("50")}
        << QStringList{QStringLiteral("60"), QStringLiteral("90")}
        << QStringList{QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("40"),
                       QStringLiteral("10")}
        << QStringList{QStringLiteral("58"), QStringLiteral("30"), QStringLiteral("2"),
                       QStringLiteral("60")};
    QTest::newRow("origine e destinazione vincolate")
        << 1 << QStringList{QStringLiteral("100"), QStringLiteral("50")}
        << QStringList{QStringLiteral("60"), QStringLiteral("90")}
        << QStringList{QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("20"),
                       QStringLiteral("10")}
        << QStringList{QStringLiteral("56"), QStringLiteral("44"), QStringLiteral("4"),
                       QStringLiteral("46")};
}

void TestDistanze::calculationAtEveryKeystroke()
{
    QFETCH(int, kind);
    QFETCH(QStringList, origins);
    QFETCH(QStringList, destinations);
    QFETCH(QStringList, distances);
    QFETCH(QStringList, interactions);
    Harness h;
    h.setAreas(kind, origins, destinations);
    Distanze* w = h.window();
    QCOMPARE(w->passoText(),
             QStringLiteral("iniziare a digitare la prima distanza e a scegliere il peso"));
    typeDistances(w, distances.mid(0, 3));
    // Incomplete data: nothing computed yet, and the hint asks for the missing distance.
    QCOMPARE(interazioni(w, 1), QStringLiteral("0"));
    QCOMPARE(w->passoText(), QStringLiteral("digitare il valore della distanza n. 4"));
    typeInto(distanza(w, 4), distances[3]);
    for (int r = 1; r <= 4; ++r)
        QCOMPARE(interazioni(w, r), interactions[r - 1]);
    QCOMPARE(w->passoText(), kFormallyCorrect);
    QVERIFY(w->lastOutcome() && w->lastOutcome()->completed());
    QVERIFY(h.prompts.verifyDone());
}

void TestDistanze::arrowsToFiftyWarnAndHalve()
{
    Harness h;
    Distanze* w = twoAreasEveryDistanceTen(h);
    arrows(w, 1)->setValue(49);
    QCOMPARE(h.state.distances.weight[1], FieldValue::fromText(QStringLiteral("49")));
    h.prompts.expectMessage();
    clickArrow(arrows(w, 1), true);
    UF_VERIFY_PROMPTS(h.prompts);
    QCOMPARE(p100(w, 1)->text(), QStringLiteral("50"));
    QCOMPARE(h.state.distances.weight[1], FieldValue::fromText(QStringLiteral("50")));
    const MessageRequest warning = h.prompts.lastMessage();
    QCOMPARE(warning.icon, MessageIcon::Question);
    QCOMPARE(warning.title, h.state.run.checkTitle);
    QCOMPARE(warning.text, QStringLiteral("Attenzione: la distanza A1-A1 verrà considerata alla "
                                          "metà della sua misura."));
    QCOMPARE(interazioni(w, 1), QStringLiteral("80"));
    QCOMPARE(interazioni(w, 2), QStringLiteral("20"));
    QVERIFY(h.prompts.verifyDone());
}

void TestDistanze::onlyTheArrowsAtFiftyWarn()
{
    Harness h;
    Distanze* w = twoAreasEveryDistanceTen(h);
    typeInto(p100(w, 2), QStringLiteral("50"));
    arrows(w, 3)->setValue(99);
    clickArrow(arrows(w, 3), true);
    UF_VERIFY_PROMPTS(h.prompts);
    QCOMPARE(p100(w, 3)->text(), QStringLiteral("100"));
    QCOMPARE(h.state.distances.weight[3], FieldValue::fromText(QStringLiteral("100")));
    QCOMPARE(h.prompts.messages().size(), 0);
}

void TestDistanze::arrowPositionBelongsToTheRow()
{
    Harness h;
    QStringList values;
    for (int i = 0; i < 5; ++i)
        values << QStringLiteral("10");
    h.setAreas(3, values, values);
    Distanze* w = h.window();
    arrows(w, 2)->setValue(30);
    QCOMPARE(h.state.distances.weight[2], FieldValue::fromText(QStringLiteral("30")));
    child<QScrollBar>(w, QStringLiteral("VScroll1"))->setValue(6);
    QCOMPARE(p100(w, 2)->text(), QStringLiteral("100")); // pair 7 shows its own weight
    QCOMPARE(arrows(w, 2)->value(), 100);                // and the arrows start from it
    clickArrow(arrows(w, 2), false);
    QCOMPARE(h.state.distances.weight[7], FieldValue::fromText(QStringLiteral("99")));
    QCOMPARE(h.state.distances.weight[2], FieldValue::fromText(QStringLiteral("30")));
    // A weight typed is where the arrows step from.
    typeInto(p100(w, 3), QStringLiteral("60"));
    clickArrow(arrows(w, 3), false);
    QCOMPARE(p100(w, 3)->text(), QStringLiteral("59"));
    QCOMPARE(h.state.distances.weight[8], FieldValue::fromText(QStringLiteral("59")));
}

void TestDistanze::refreshKeepsDefaultWeightsAndRecalculatesOnce()
{
    Harness h;
    h.setAreas(3, {QStringLiteral("100"), QStringLiteral("50")},
               {QStringLiteral("1"), QStringLiteral("1")});
    Distanze* w = h.window();
    // Distances that arrive from elsewhere (an archive opened in another window) reach the
    // screen and the results with the next refresh.
    for (int k = 1; k <= 4; ++k)
        h.state.distances.distance[k] = QStringLiteral("10");
    markInputsChanged(h.state);
    w->refreshGrid();
    QCOMPARE(distanza(w, 4)->text(), QStringLiteral("10"));
    QCOMPARE(interazioni(w, 1), QStringLiteral("50"));
    QCOMPARE(interazioni(w, 3), QStringLiteral("25"));
    QVERIFY(w->lastOutcome() && w->lastOutcome()->completed());
    // Filling the boxes is not an edit: the weights keep the default number the archive writes
    // bare.
    for (int k = 1; k <= 4; ++k)
        QVERIFY(h.state.distances.weight[k].isNumber());
    QCOMPARE(w->passoText(), kFormallyCorrect);
}

void TestDistanze::hint_data()
{
    QTest::addColumn<QStringList>("distances");
    QTest::addColumn<QStringList>("weights"); // empty entry: the default number 100
    QTest::addColumn<QString>("hint");

    const QString ten = QStringLiteral("10");
    QTest::newRow("first box empty") << QStringList{QString(), ten, ten, ten} << QStringList{}
                                     << QStringLiteral("iniziare a digitare la prima distanza e "
                                                       "a scegliere il peso");
    QTest::newRow("distance 3 empty") << QStringList{ten, ten, QString(), ten} << QStringList{}
                                      << QStringLiteral("digitare il valore della distanza n. 3");
    QTest::newRow("weight 2 empty")
        << QStringList{ten, ten, ten, ten} << QStringList{QString(), QStringLiteral("#empty")}
        << QStringLiteral("scegliere il valore del peso in percentuale per il numero d'ordine "
                          "n. 2");
    QTest::newRow("all given") << QStringList{ten, ten, ten, ten} << QStringList{}
                               << kFormallyCorrect;
    QTest::newRow("distance zero")
        << QStringList{ten, QStringLiteral("0"), ten, ten} << QStringList{}
        << QStringLiteral("correggere i dati: il valore della distanza n. 2 è zero");
    QTest::newRow("distance with a comma")
        << QStringList{ten, ten, ten, QStringLiteral("1,5")} << QStringList{}
        << QStringLiteral("correggere i dati: il valore della distanza n. 4 è scritto con la "
                          "virgola: usare il punto per i decimali");
    QTest::newRow("weight not a number")
        << QStringList{ten, ten, ten, ten}
        << QStringList{QString(), QString(), QStringLiteral("molto")}
        << QStringLiteral("correggere i dati: il valore del peso in percentuale n. 3 non è un "
                          "numero (usare il punto per i decimali)");
    QTest::newRow("weight zero before an empty distance")
        << QStringList{ten, ten, ten, QString()} << QStringList{QStringLiteral("0")}
        << QStringLiteral("correggere i dati: il valore del peso in percentuale n. 1 è zero");
}

void TestDistanze::hint()
{
    QFETCH(QStringList, distances);
    QFETCH(QStringList, weights);
    QFETCH(QString, hint);
    Harness h;
    h.setAreas(3, {QStringLiteral("100"), QStringLiteral("50")},
               {QStringLiteral("1"), QStringLiteral("1")});
    Distanze* w = h.window();
    // Typed in reverse order so that the first box is typed last (or left empty).
    for (int r = 4; r >= 1; --r) {
        if (r <= weights.size() && !weights[r - 1].isEmpty())
            typeInto(p100(w, r),
                     weights[r - 1] == QStringLiteral("#empty") ? QString() : weights[r - 1]);
        if (!distances[r - 1].isEmpty())
            typeInto(distanza(w, r), distances[r - 1]);
    }
    QCOMPARE(w->passoText(), hint);
}

void TestDistanze::summary_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("origins");
    QTest::addColumn<QStringList>("destinations");
    QTest::addColumn<QStringList>("distances");
    QTest::addColumn<QStringList>("lines");

    const QString stars(51, QLatin1Char('*'));
    QTest::newRow("model 3")
        << 3 << QStringList{QStringLiteral("100"), QStringLiteral("50")}
        << QStringList{QStringLiteral("1"), QStringLiteral("1")}
        << QStringList{QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"),
                       QStringLiteral("10")}
        << QStringList{QStringLiteral("Modello a 'origine vincolata'"), stars,
                       QStringLiteral("- totale origine..........................=  150"),
                       QStringLiteral("- totale interazioni.....................=  150"),
                       QStringLiteral("- arrotondamento nel calcolo....=  0")};
    QTest::newRow("model 2")
        << 2 << QStringList{QStringLiteral("100"), QStringLiteral("50")}
        << QStringList{QStringLiteral("60"), QStringLiteral("90")}
        << QStringList{QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("40"),
                       QStringLiteral("10")}
        << QStringList{QStringLiteral("Modello a 'destinazione vincolata'"), stars,
                       QStringLiteral("- totale destinazione.....................=  150"),
                       QStringLiteral("- totale interazioni.....................=  150"),
                       QStringLiteral("- arrotondamento nel calcolo....=  0")};
    QTest::newRow("model 1")
        << 1 << QStringList{QStringLiteral("100"), QStringLiteral("50")}
        << QStringList{QStringLiteral("60"), QStringLiteral("90")}
        << QStringList{QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("20"),
                       QStringLiteral("10")}
        << QStringList{QStringLiteral("Modello a 'origine e destinazione vincolate'"), stars,
                       QStringLiteral("- totale origini=totale destinazioni......=  150"),
                       QStringLiteral("- totale interazioni.....................=  150"),
                       QStringLiteral("- arrotondamento nel calcolo....=  0")};
    // Totals that differ: the doubly constrained iteration never settles, and the summary says
    // that the interactions shown are not the results of these data.
    QTest::newRow("model 1 at the bound of passes")
        << 1 << QStringList{QStringLiteral("100"), QStringLiteral("50")}
        << QStringList{QStringLiteral("60"), QStringLiteral("90.75")}
        << QStringList{QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("20"),
                       QStringLiteral("10")}
        << QStringList{
               QStringLiteral("Modello a 'origine e destinazione vincolate'"),
               stars,
               QStringLiteral("- totale origini=totale destinazioni......=  150"),
               QStringLiteral("- totale interazioni.....................=  0"),
               QStringLiteral("- arrotondamento nel calcolo....=  150"),
               stars,
               QStringLiteral("ATTENZIONE: i risultati non convergono e sono quelli "
                              "dell'ultimo calcolo riuscito:"),
               QStringLiteral("il calcolo non converge dopo 10000 iterazioni: controllare che "
                              "il totale delle origini sia uguale al totale delle "
                              "destinazioni.")};
    QTest::newRow("model 1 diverging")
        << 1 << QStringList{QStringLiteral("100"), QStringLiteral("50")}
        << QStringList{QStringLiteral("60"), QStringLiteral("40")}
        << QStringList{QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("20"),
                       QStringLiteral("10")}
        << QStringList{
               QStringLiteral("Modello a 'origine e destinazione vincolate'"),
               stars,
               QStringLiteral("- totale origini=totale destinazioni......=  150"),
               QStringLiteral("- totale interazioni.....................=  0"),
               QStringLiteral("- arrotondamento nel calcolo....=  150"),
               stars,
               QStringLiteral("ATTENZIONE: i risultati non convergono e sono quelli "
                              "dell'ultimo calcolo riuscito:"),
               QStringLiteral("il calcolo non converge dopo 219 iterazioni: controllare che "
                              "il totale delle origini sia uguale al totale delle "
                              "destinazioni.")};
}

void TestDistanze::summary()
{
    QFETCH(int, kind);
    QFETCH(QStringList, origins);
    QFETCH(QStringList, destinations);
    QFETCH(QStringList, distances);
    QFETCH(QStringList, lines);
    Harness h;
    h.setAreas(kind, origins, destinations);
    Distanze* w = h.window();
    typeDistances(w, distances);
    h.prompts.expectMessage();
    w->toolbarAction(20)->trigger();
    UF_VERIFY_PROMPTS(h.prompts);
    const MessageRequest summary = h.prompts.lastMessage();
    QCOMPARE(summary.icon, MessageIcon::Information);
    QCOMPARE(summary.title, h.state.run.checkTitle + QStringLiteral(" (risultati)"));
    QCOMPARE(summary.text.split(QChar(13)), lines);
    QCOMPARE(w->checkOnly(), 0);
    QVERIFY(!h.manager.isLoaded(WindowId::Grafici));
    if (lines.size() > 5)
        QVERIFY(w->passoText().contains(QStringLiteral("non converge")));
    QVERIFY(h.prompts.verifyDone());
}

void TestDistanze::avantiWithoutAreasRefuses()
{
    Harness h;
    Distanze* w = h.window();
    h.prompts.expectMessage();
    QTest::mouseClick(w->button(WindowFrame::Button::Avanti), Qt::LeftButton);
    UF_VERIFY_PROMPTS(h.prompts);
    QCOMPARE(h.prompts.lastMessage().icon, MessageIcon::Critical);
    QCOMPARE(h.prompts.lastMessage().text,
             QStringLiteral("Impossibile proseguire: non esistono risultati (tornare indietro)."));
    QVERIFY(!h.manager.isLoaded(WindowId::Grafici));

    // The check command with a rounding difference of one: model 2, destinations 300,
    // interactions 299.
    h.state.model.kind = 2;
    h.state.model.kindLabel = modelKindLabel(2);
    h.state.areas.totalDestinations = 300;
    h.state.interactions.totalInteractions = 299;
    QVERIFY(w->resultsSummary().split(QChar(13)).contains(
        QStringLiteral("- arrotondamento nel calcolo....=  1")));
}

void TestDistanze::avantiShowsTheCharts()
{
    Harness h;
    h.setAreas(3, {QStringLiteral("100"), QStringLiteral("50")},
               {QStringLiteral("1"), QStringLiteral("1")});
    Distanze* w = h.window();
    typeDistances(w, {QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"),
                      QStringLiteral("10")});
    QTest::mouseClick(w->button(WindowFrame::Button::Avanti), Qt::LeftButton);
    QVERIFY(h.manager.isLoaded(WindowId::Grafici));
    QVERIFY(h.manager.existing(WindowId::Grafici)->isVisible());
    QTest::mouseClick(w->button(WindowFrame::Button::Indietro), Qt::LeftButton);
    QVERIFY(h.manager.isLoaded(WindowId::DatiAree));
    QVERIFY(h.prompts.verifyDone());
}

void TestDistanze::clearEmptiesDistancesAndLabels()
{
    Harness h;
    Distanze* w = twoAreasEveryDistanceTen(h);
    h.state.distances.distance[20] = QStringLiteral("9"); // beyond N² and out of view
    h.prompts.expectMessage(MessageAnswer::Discard);      // "Salvare le modifiche?"
    w->toolbarAction(21)->trigger();
    UF_VERIFY_PROMPTS(h.prompts);
    for (int k = 1; k <= 4; ++k) {
        QVERIFY(h.state.distances.distance[k].isEmpty());
        QVERIFY(h.state.distances.pairNumbers[k].isEmpty());
        QVERIFY(h.state.distances.pairNames[k].isEmpty());
        QVERIFY(h.state.distances.weight[k].isNumber());
    }
    QCOMPARE(h.state.distances.distance[20], QStringLiteral("9"));
    QCOMPARE(distanza(w, 2)->text(), QString());
    QCOMPARE(labelText(w, QStringLiteral("label"), 2), QString());
    QCOMPARE(labelText(w, QStringLiteral("nomi"), 2), QString());
    QCOMPARE(p100(w, 2)->text(), QStringLiteral("100"));
    QCOMPARE(w->passoText(),
             QStringLiteral("iniziare a digitare la prima distanza e a scegliere il peso"));
    // The interactions of the last complete run stay.
    QCOMPARE(interazioni(w, 1), QStringLiteral("50"));
}

void TestDistanze::contextHelpLines()
{
    Harness h;
    Distanze* w = h.window();
    h.prompts.expectMessage();
    QTest::mouseClick(w->button(WindowFrame::Button::Aiuto), Qt::LeftButton);
    UF_VERIFY_PROMPTS(h.prompts);
    const MessageRequest help = h.prompts.lastMessage();
    QCOMPARE(help.icon, MessageIcon::Information);
    QCOMPARE(help.title, QStringLiteral("Urbaflux: aiuto"));
    QCOMPARE(
        help.text.split(QChar(13)),
        (QStringList{
            QStringLiteral("- Inserire i dati muovendo il cursore con il tasto TAB;"),
            QStringLiteral("- non digitare distanze più lunghe di 30 spazi;"),
            QStringLiteral("- aprire un file archiviato per prelevare, eventualmente, i dati "
                           "registrati (Urbaflux-dis-);"),
            QStringLiteral("- effettuare il controllo dedi dati immessi cliccando sul tasto ABC;"),
            QStringLiteral(
                "- (eventuali correzioni vengono segnalate quando si clicca su AVANTI).")}));
}

void TestDistanze::pasteFillsFollowingPairs()
{
    Harness h;
    h.setAreas(3, {QStringLiteral("100"), QStringLiteral("50")},
               {QStringLiteral("1"), QStringLiteral("1")});
    Distanze* w = h.window();
    typeInto(distanza(w, 1), QStringLiteral("10"));
    QGuiApplication::clipboard()->setText(QStringLiteral("10\t 50\r\n10\r\n10\t100\r\n"));
    QLineEdit* box = distanza(w, 2);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(h.state.distances.distance[2], QStringLiteral("10"));
    QCOMPARE(h.state.distances.weight[2], FieldValue::fromText(QStringLiteral(" 50")));
    QCOMPARE(h.state.distances.weight[3], FieldValue::fromNumber(100));
    QCOMPARE(h.state.distances.weight[4], FieldValue::fromText(QStringLiteral("100")));
    QCOMPARE(distanza(w, 2)->text(), QStringLiteral("10"));
    QCOMPARE(p100(w, 2)->text(), QStringLiteral(" 50"));
    // Pair 1-2 at half its distance: f = 0.04 against 0.01, so A(1) = 1 / 0.05.
    QCOMPARE(interazioni(w, 1), QStringLiteral("20"));
    QCOMPARE(interazioni(w, 2), QStringLiteral("80"));
    QCOMPARE(w->passoText(), kFormallyCorrect);

    // A single value is an ordinary paste into the box.
    QGuiApplication::clipboard()->setText(QStringLiteral("2"));
    distanza(w, 4)->setFocus();
    distanza(w, 4)->selectAll();
    QTest::keyClick(distanza(w, 4), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(h.state.distances.distance[4], QStringLiteral("2"));
}

void TestDistanze::pasteIntoWeightColumn()
{
    Harness h;
    Distanze* w = twoAreasEveryDistanceTen(h);
    QGuiApplication::clipboard()->setText(QStringLiteral("50\n100\n"));
    p100(w, 1)->setFocus();
    QTest::keyClick(p100(w, 1), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(h.state.distances.weight[1], FieldValue::fromText(QStringLiteral("50")));
    QCOMPARE(h.state.distances.weight[2], FieldValue::fromText(QStringLiteral("100")));
    QCOMPARE(h.state.distances.distance[1], QStringLiteral("10"));
    QCOMPARE(interazioni(w, 1), QStringLiteral("80"));
    QCOMPARE(h.prompts.messages().size(), 0); // the halving message belongs to the arrows
}

void TestDistanze::pasteTooLongChangesNothing()
{
    Harness h;
    h.setAreas(3, {QStringLiteral("100"), QStringLiteral("50")},
               {QStringLiteral("1"), QStringLiteral("1")});
    Distanze* w = h.window();
    QGuiApplication::clipboard()->setText(QStringLiteral("1\n2\n3\n"));
    h.prompts.expectMessage();
    distanza(w, 3)->setFocus();
    QTest::keyClick(distanza(w, 3), Qt::Key_V, Qt::ControlModifier);
    UF_VERIFY_PROMPTS(h.prompts);
    QCOMPARE(h.prompts.lastMessage().icon, MessageIcon::Exclamation);
    QVERIFY(h.prompts.lastMessage().text.contains(QStringLiteral("n. 3")));
    for (int k = 1; k <= 4; ++k)
        QVERIFY(h.state.distances.distance[k].isEmpty());
    QCOMPARE(distanza(w, 3)->text(), QString());
    QVERIFY(h.prompts.verifyDone());
}

void TestDistanze::tabPastTheLastRowMovesTheGrid()
{
    Harness h;
    QStringList values;
    for (int i = 0; i < 6; ++i)
        values << QStringLiteral("10");
    h.setAreas(3, values, values);
    Distanze* w = h.window();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    p100(w, 15)->setFocus();
    QTest::keyClick(p100(w, 15), Qt::Key_Tab);
    QCOMPARE(w->topRow(), 2);
    QCOMPARE(QApplication::focusWidget(), distanza(w, 15));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("3"));
    QCOMPARE(h.state.distances.distance[16], QStringLiteral("3"));
    QTest::keyClick(distanza(w, 15), Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), distanza(w, 14));
    QTest::keyClick(distanza(w, 14), Qt::Key_PageDown);
    QCOMPARE(w->topRow(), 17);
    QCOMPARE(labelText(w, QStringLiteral("num"), 1), QStringLiteral("17"));
    QTest::keyClick(distanza(w, 14), Qt::Key_PageUp);
    QTest::keyClick(distanza(w, 14), Qt::Key_PageUp);
    QCOMPARE(w->topRow(), 1);
    distanza(w, 1)->setFocus();
    QTest::keyClick(distanza(w, 1), Qt::Key_Up);
    QCOMPARE(w->topRow(), 1);
    QCOMPARE(QApplication::focusWidget(), distanza(w, 1));
}

void TestDistanze::saveAndReopen()
{
    Harness h;
    h.setAreas(3, {QStringLiteral("100"), QStringLiteral("50"), QStringLiteral("20")},
               {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")});
    Distanze* w = h.window();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Urbaflux-dis-prova"));
    for (int r = 1; r <= 9; ++r)
        typeInto(distanza(w, r), QString::number(r));
    arrows(w, 3)->setValue(40);

    h.prompts.expectSaveFile(path);
    w->toolbarAction(2)->trigger();
    UF_VERIFY_PROMPTS(h.prompts);
    const FileRequest request = h.prompts.fileRequests().last();
    QCOMPARE(request.title, QStringLiteral("Salva file (distanze tra le aree)"));
    QCOMPARE(request.filter, QStringLiteral("File Urbaflux-dis- | Urbaflux-dis-*"));
    QCOMPARE(request.selectedFilter, 1);
    QCOMPARE(request.fileName, QStringLiteral("Urbaflux-dis-"));
    QCOMPARE(w->currentFile(), path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    file.close();
    QCOMPARE(lines.size(), 11); // header, 9 pairs, and the empty piece after the last line end
    QCOMPARE(lines[0], QByteArray("3\r"));
    QCOMPARE(lines[3], QByteArray("\" 1- 3\",\"A1-A3\",\"3\",\"40\"\r"));
    QCOMPARE(lines[4], QByteArray("\" 2- 1\",\"A2-A1\",\"4\",100\r"));

    // A second save goes to the same file without a dialog.
    typeInto(distanza(w, 9), QStringLiteral("12.5"));
    w->toolbarAction(2)->trigger();
    UF_VERIFY_PROMPTS(h.prompts);
    QCOMPARE(h.prompts.fileRequests().size(), 1);

    // Changed data, then the archive opened again: the file's pairs come back and the results
    // follow them.
    typeInto(distanza(w, 1), QStringLiteral("99"));
    child<QScrollBar>(w, QStringLiteral("VScroll1"))->setValue(5);
    h.prompts.expectMessage(MessageAnswer::Discard); // "Salvare le modifiche?"
    h.prompts.expectOpenFile(path);
    w->toolbarAction(1)->trigger();
    UF_VERIFY_PROMPTS(h.prompts);
    const FileRequest open = h.prompts.fileRequests().last();
    QCOMPARE(open.title, QStringLiteral("Apri file (distanze tra le aree)"));
    QCOMPARE(open.filter,
             QStringLiteral("Tutti i file (*.*)|*.*|File Urbaflux-dis- | Urbaflux-dis-*"));
    QCOMPARE(open.selectedFilter, 2);
    QVERIFY(open.fileName.isEmpty());
    QCOMPARE(w->topRow(), 1);
    QCOMPARE(h.state.distances.distance[1], QStringLiteral("1"));
    QCOMPARE(h.state.distances.distance[9], QStringLiteral("12.5"));
    QCOMPARE(h.state.distances.pairNumbers[2], QStringLiteral(" 1- 2"));
    QCOMPARE(h.state.distances.weight[3], FieldValue::fromText(QStringLiteral("40")));
    QCOMPARE(h.state.distances.weight[4], FieldValue::fromNumber(100));
    QCOMPARE(distanza(w, 1)->text(), QStringLiteral("1"));
    QVERIFY(w->lastOutcome() && w->lastOutcome()->completed());
    ProjectState expected = h.state;
    calculateInteractions(expected);
    QCOMPARE(h.state.interactions.interaction[1], expected.interactions.interaction[1]);
    QCOMPARE(interazioni(w, 1), shortestText(expected.interactions.interaction[1]));
    QVERIFY(h.prompts.verifyDone());
}

void TestDistanze::saveWithEmptyDistanceRunsAvanti()
{
    Harness h;
    h.setAreas(3, {QStringLiteral("100"), QStringLiteral("50")},
               {QStringLiteral("1"), QStringLiteral("1")});
    Distanze* w = h.window();
    typeDistances(w, {QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10")});
    // "Salva con nome": no dialog; Avanti instead, which names the missing distance rather
    // than show charts of incomplete data.
    h.prompts.expectMessage();
    w->toolbarAction(3)->trigger();
    UF_VERIFY_PROMPTS(h.prompts);
    QCOMPARE(h.prompts.fileRequests().size(), 0);
    QCOMPARE(h.prompts.lastMessage().text,
             QStringLiteral("Impossibile proseguire: digitare il valore della distanza n. 4."));
    QVERIFY(!h.manager.isLoaded(WindowId::Grafici));
}

void TestDistanze::saveAsWithEmptyDistanceForgetsTheFile()
{
    Harness h;
    Distanze* w = twoAreasEveryDistanceTen(h);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Urbaflux-dis-primo"));
    h.prompts.expectSaveFile(path);
    w->toolbarAction(2)->trigger();
    UF_VERIFY_PROMPTS(h.prompts);
    QCOMPARE(w->currentFile(), path);

    // "Salva con nome" gives up the known file before it finds the empty distance and goes on
    // to the charts instead of saving; the next "Salva" asks for a name again.
    typeInto(distanza(w, 3), QString());
    h.prompts.expectMessage(); // Avanti names the empty distance
    w->toolbarAction(3)->trigger();
    UF_VERIFY_PROMPTS(h.prompts);
    QCOMPARE(h.prompts.fileRequests().size(), 1);
    QVERIFY(!h.manager.isLoaded(WindowId::Grafici));
    QVERIFY(w->currentFile().isEmpty());

    typeInto(distanza(w, 3), QStringLiteral("20"));
    const QString second = dir.filePath(QStringLiteral("Urbaflux-dis-secondo"));
    h.prompts.expectSaveFile(second);
    w->toolbarAction(2)->trigger();
    UF_VERIFY_PROMPTS(h.prompts);
    QCOMPARE(h.prompts.fileRequests().size(), 2);
    QCOMPARE(h.prompts.fileRequests().last().title,
             QStringLiteral("Salva file (distanze tra le aree)"));
    QCOMPARE(h.prompts.fileRequests().last().fileName, path);
    QCOMPARE(w->currentFile(), second);
    QVERIFY(h.prompts.verifyDone());
}

void TestDistanze::saveAsCancelledKeepsCurrentFile()
{
    Harness h;
    Distanze* w = twoAreasEveryDistanceTen(h);
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("Urbaflux-dis-a"));
    const QString second = dir.filePath(QStringLiteral("Urbaflux-dis-b"));
    h.prompts.expectSaveFile(first);
    w->salvanome_Click();
    h.prompts.expectSaveFile(QString());
    w->salvanome_Click();
    UF_VERIFY_PROMPTS(h.prompts);
    QCOMPARE(h.prompts.fileRequests().last().title,
             QStringLiteral("Salva file con nome (distanze tra le aree)"));
    QCOMPARE(h.prompts.fileRequests().last().fileName, first);
    QCOMPARE(w->currentFile(), first);
    h.prompts.expectSaveFile(second);
    w->salvanome_Click();
    QCOMPARE(w->currentFile(), second);
    QVERIFY(QFile::exists(second));

    // A file that cannot be written is told, naming it.
    const QString blocked = dir.filePath(QStringLiteral("manca/Urbaflux-dis-c"));
    h.prompts.expectSaveFile(blocked);
    h.prompts.expectMessage();
    w->salvanome_Click();
    UF_VERIFY_PROMPTS(h.prompts);
    QVERIFY(h.prompts.lastMessage().text.contains(QStringLiteral("Urbaflux-dis-c")));
    QVERIFY(h.prompts.verifyDone());
}

void TestDistanze::openRefusedOrCancelledChangesNothing()
{
    Harness h;
    Distanze* w = twoAreasEveryDistanceTen(h);
    const ProjectState before = h.state;

    h.prompts.expectMessage(MessageAnswer::Discard); // "Salvare le modifiche?"

    h.prompts.expectOpenFile(QString());
    w->apri_Click();
    UF_VERIFY_PROMPTS(h.prompts);
    QCOMPARE(h.state.distances.distance, before.distances.distance);

    QTemporaryDir dir;
    const QString shortFile = dir.filePath(QStringLiteral("Urbaflux-dis-corto"));
    QFile file(shortFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("3\r\n\" 1- 1\",\"A-A\",\"5\",100\r\n"); // announces 9 pairs, holds one
    file.close();
    const QString missing = dir.filePath(QStringLiteral("Urbaflux-dis-nessuno"));
    for (const QString& path : {shortFile, missing}) {
        h.prompts.expectMessage(MessageAnswer::Discard); // "Salvare le modifiche?"
        h.prompts.expectOpenFile(path);
        h.prompts.expectMessage();
        w->apri_Click();
        UF_VERIFY_PROMPTS(h.prompts);
        QCOMPARE(h.prompts.lastMessage().icon, MessageIcon::Critical);
        QCOMPARE(h.prompts.lastMessage().title,
                 QStringLiteral("Urbaflux: archivio (distanze tra le aree)"));
        QVERIFY2(h.prompts.lastMessage().text.contains(QFileInfo(path).fileName()),
                 qPrintable(h.prompts.lastMessage().text));
        QCOMPARE(h.state.areas.count, 2);
        QCOMPARE(h.state.distances.distance, before.distances.distance);
        QCOMPARE(h.state.distances.pairNames, before.distances.pairNames);
        QCOMPARE(distanza(w, 1)->text(), QStringLiteral("10"));
        QVERIFY(w->currentFile().isEmpty());
    }
    QVERIFY(h.prompts.verifyDone());
}

void TestDistanze::openOtherCountRecalculates()
{
    Harness h;
    h.setAreas(3, {QStringLiteral("100"), QStringLiteral("50")},
               {QStringLiteral("1"), QStringLiteral("1")});
    Distanze* w = h.window();
    // An archive of the same two areas with the first distance halved.
    ProjectState other = h.state;
    for (int k = 1; k <= 4; ++k)
        other.distances.distance[k] = QStringLiteral("10");
    other.distances.distance[1] = QStringLiteral("5");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Urbaflux-dis-x"));
    QVERIFY(writeDistanceFile(path, other).ok);
    typeDistances(w, {QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"),
                      QStringLiteral("10")});
    QCOMPARE(interazioni(w, 1), QStringLiteral("50"));
    h.prompts.expectMessage(MessageAnswer::Discard); // "Salvare le modifiche?"
    h.prompts.expectOpenFile(path);
    w->apri_Click();
    UF_VERIFY_PROMPTS(h.prompts);
    QCOMPARE(interazioni(w, 1), QStringLiteral("80"));
    QCOMPARE(w->currentFile(), path);
}

void TestDistanze::openLargerArchiveKeepsNames()
{
    Harness h;
    Distanze* w = twoAreasEveryDistanceTen(h);
    // An archive of three areas B1..B3, written elsewhere.
    Harness other;
    other.setAreas(3, {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")},
                   {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")});
    for (int k = 1; k <= 9; ++k)
        other.state.distances.distance[k] = QString::number(k);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Urbaflux-dis-tre"));
    QVERIFY(writeDistanceFile(path, other.state).ok);
    const float before = h.state.interactions.interaction[1];

    h.prompts.expectMessage(MessageAnswer::Discard); // "Salvare le modifiche?"

    h.prompts.expectOpenFile(path);
    w->apri_Click();
    UF_VERIFY_PROMPTS(h.prompts);
    QCOMPARE(h.state.areas.count, 3);
    QCOMPARE(h.state.distances.distance[9], QStringLiteral("9"));
    QCOMPARE(h.state.distances.pairNumbers[9], QStringLiteral(" 3- 3"));
    QCOMPARE(h.state.areas.name[1], QStringLiteral("A1"));
    QVERIFY(h.state.areas.name[3].isEmpty());
    QCOMPARE(labelText(w, QStringLiteral("num"), 9), QStringLiteral("9"));
    QCOMPARE(distanza(w, 9)->text(), QStringLiteral("9"));
    // The third area has no origin yet: the results stay those of the two areas, and the hint
    // says why instead of calling the data correct.
    QCOMPARE(h.state.interactions.interaction[1], before);
    QCOMPARE(w->passoText(),
             QStringLiteral("correggere i dati: il valore dell'origine dell'area n. 3 non è "
                            "stato immesso"));

    // The third area is entered in the area window; back here, the results follow.
    h.state.areas.origin[3] = QStringLiteral("30");
    h.state.areas.destination[3] = QStringLiteral("1");
    markInputsChanged(h.state);
    w->show();
    QVERIFY(w->lastOutcome() && w->lastOutcome()->completed());
    QCOMPARE(w->passoText(), kFormallyCorrect);
    QVERIFY(h.state.interactions.interaction[9] > 0);
}

void TestDistanze::showingAgainFollowsTheState()
{
    Harness h;
    h.setAreas(3, {QStringLiteral("100"), QStringLiteral("50")},
               {QStringLiteral("1"), QStringLiteral("1")});
    Distanze* w = h.window();
    w->show();
    typeDistances(w, {QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"),
                      QStringLiteral("10")});
    w->hide();
    // Meanwhile another window changes a distance (an archive opened in the charts window).
    h.state.distances.distance[1] = QStringLiteral("5");
    markInputsChanged(h.state);
    w->show();
    QCOMPARE(distanza(w, 1)->text(), QStringLiteral("5"));
    QCOMPARE(interazioni(w, 1), QStringLiteral("80"));
    QCOMPARE(interazioni(w, 2), QStringLiteral("20"));
}

void TestDistanze::deleteMovesToTrashAndBecomesCurrent()
{
    Harness h;
    Distanze* w = twoAreasEveryDistanceTen(h);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Urbaflux-dis-via"));
    QVERIFY(writeDistanceFile(path, h.state).ok);

    h.prompts.expectOpenFile(path);
    w->toolbarAction(4)->trigger();
    UF_VERIFY_PROMPTS(h.prompts);
    const FileRequest request = h.prompts.fileRequests().last();
    QCOMPARE(request.title, h.state.run.deleteTitle);
    QCOMPARE(request.selectedFilter, 2);
    QVERIFY(!QFile::exists(path));
    QCOMPARE(w->currentFile(), path);
    QVERIFY(w->passoText().contains(QStringLiteral("cestino")));
    // In the trash of the (temporary) home, not in some relative folder.
    QVERIFY(QFile::exists(
        m_home.filePath(QStringLiteral(".local/share/Trash/files/Urbaflux-dis-via"))));

    // The next save writes under that name again without a dialog.
    w->toolbarAction(2)->trigger();
    UF_VERIFY_PROMPTS(h.prompts);
    QCOMPARE(h.prompts.fileRequests().size(), 1);
    QVERIFY(QFile::exists(path));

    // A file that is not there cannot go to the trash: told, naming it.
    const QString missing = dir.filePath(QStringLiteral("Urbaflux-dis-mai"));
    h.prompts.expectOpenFile(missing);
    h.prompts.expectMessage();
    w->eliminare_click();
    UF_VERIFY_PROMPTS(h.prompts);
    QVERIFY(h.prompts.lastMessage().text.contains(QStringLiteral("Urbaflux-dis-mai")));
    QCOMPARE(w->currentFile(), path);

    // Cancelled: nothing happens.
    h.prompts.expectOpenFile(QString());
    w->eliminare_click();
    QVERIFY(QFile::exists(path));
    QVERIFY(h.prompts.verifyDone());
}

void TestDistanze::printRefusedWithoutData()
{
    Harness h;
    h.setAreas(3, {QStringLiteral("100"), QStringLiteral("50")},
               {QStringLiteral("1"), QStringLiteral("1")});
    Distanze* w = h.window();
    for (const QString& first : {QString(), QStringLiteral("0"), QStringLiteral("abc")}) {
        typeInto(distanza(w, 1), first);
        h.prompts.expectMessage();
        w->toolbarAction(6)->trigger();
        UF_VERIFY_PROMPTS(h.prompts);
        QCOMPARE(h.prompts.lastMessage().icon, MessageIcon::Exclamation);
        QCOMPARE(h.prompts.lastMessage().title, QStringLiteral("Urbaflux: stampa dati finestra"));
        QCOMPARE(h.prompts.lastMessage().text, QStringLiteral("Immettere prima i dati."));
    }
    QCOMPARE(h.documents.count(), 0);
    QVERIFY(h.prompts.verifyDone());
}

void TestDistanze::printTable()
{
    Harness h;
    h.setAreas(3, {QStringLiteral("100"), QStringLiteral("50")},
               {QStringLiteral("1"), QStringLiteral("1")});
    Distanze* w = h.window();
    w->setUnitCaption(QStringLiteral("metri"));
    typeDistances(w, {QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"),
                      QStringLiteral("10")});
    arrows(w, 4)->setValue(70);
    w->toolbarAction(6)->trigger();
    QCOMPARE(w->passoText(), QStringLiteral("sto caricando WORD"));
    QCOMPARE(h.documents.count(), 1);
    const Document& doc = *h.documents.last();
    QCOMPARE(DocumentRecorder::nonEmptyParagraphTexts(doc),
             (QStringList{QStringLiteral("Urbaflux"),
                          QStringLiteral("modelli gravitazionali urbanistici"),
                          QStringLiteral("Distanze tra le aree")}));
    const Table* table = DocumentRecorder::table(doc, 1);
    QVERIFY(table);
    QCOMPARE(table->rows, 5);
    QCOMPARE(table->columns, 6);
    QCOMPARE(DocumentRecorder::row(doc, 1, 1),
             (QStringList{QStringLiteral("n."), QStringLiteral("n.-n."),
                          QStringLiteral("nomi delle aree (origini-destinazioni)"),
                          QStringLiteral("distanze in metri"), QStringLiteral("peso in %"),
                          QStringLiteral("interazioni")}));
    QCOMPARE(DocumentRecorder::row(doc, 1, 5),
             (QStringList{QStringLiteral(" 4"), QStringLiteral(" 2- 2"), QStringLiteral("A2-A2"),
                          QStringLiteral("10"), QStringLiteral("70"),
                          shortestText(h.state.interactions.interaction[4])}));
    QVERIFY(table->styled);
    QCOMPARE(table->columnAlignment[5], Alignment::Right);
    QCOMPARE(table->columnAlignment[2], Alignment::Left);
}

QTEST_MAIN(TestDistanze)
#include "tst_distanze.moc"
