// Results of the data as they stand, wherever they are shown or used: a change made in one
// window (the model, alpha, an origin, a destination) reaches the distances window already in
// view, and charts, printouts, report and archives with results refuse data the calculation
// cannot take, naming what is missing as the distances hint does.

#include "datiaree.h"
#include "distanze.h"
#include "frontespizio.h"
#include "grafici.h"
#include "menu.h"
#include "windowfactory.h"
#include "windowtestfixture.h"

#include <calculation.h>
#include <chartslots.h>
#include <numbertext.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace urbaflux;

namespace {

void typeInto(QWidget* window, const QString& name, const QString& text)
{
    auto* box = window->findChild<QLineEdit*>(name);
    QVERIFY2(box, qPrintable(name));
    box->setFocus();
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    else
        QTest::keyClicks(box, text);
}

void clickOption(Menu* menu, int kind)
{
    QRadioButton* option = menu->modelOption(kind);
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
}

QStringList shownInteractions(QWidget* distances, int pairs)
{
    QStringList shown;
    for (int r = 1; r <= pairs; ++r)
        shown << distances->findChild<QLabel*>(QStringLiteral("interazioni_%1").arg(r))->text();
    return shown;
}

QStringList interactionsOf(ProjectState copy, int pairs)
{
    copy.notifier = nullptr;
    markInputsChanged(copy);
    ensureCurrentResults(copy);
    QStringList out;
    for (int k = 1; k <= pairs; ++k)
        out << shortestText(copy.interactions.interaction[k]);
    return out;
}

// Model 3, two areas typed in the area window, the four distances typed in the distances
// window, which stays in view. Distances 10, 20, 30, 40 (`last` for pair 4).
Distanze* walkToDistances(WindowTestFixture& f, const QString& last = QStringLiteral("40"))
{
    auto* menu = f.show<Menu>(WindowId::Menu);
    clickOption(menu, 3);
    typeInto(menu, QStringLiteral("tipoor"), QStringLiteral("residenti"));
    typeInto(menu, QStringLiteral("tipode"), QStringLiteral("posti di lavoro"));
    QTest::mouseClick(menu->button(WindowFrame::Button::Avanti), Qt::LeftButton);
    auto* areas = f.window<DatiAree>(WindowId::DatiAree);
    const char* const values[2][3] = {{"Centro", "100", "60"}, {"Nord", "50", "90"}};
    for (int r = 1; r <= 2; ++r) {
        typeInto(areas, QStringLiteral("nome_%1").arg(r), QString::fromLatin1(values[r - 1][0]));
        typeInto(areas, QStringLiteral("origine_%1").arg(r), QString::fromLatin1(values[r - 1][1]));
        typeInto(areas, QStringLiteral("destinazione_%1").arg(r),
                 QString::fromLatin1(values[r - 1][2]));
    }
    QTest::mouseClick(areas->button(WindowFrame::Button::Avanti), Qt::LeftButton);
    auto* distances = f.window<Distanze>(WindowId::Distanze);
    const QString typed[] = {QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("30"),
                             last};
    for (int r = 1; r <= 4; ++r)
        typeInto(distances, QStringLiteral("distanza_%1").arg(r), typed[r - 1]);
    return distances;
}

} // namespace

class TestResultsCurrency : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void changeElsewhereReachesTheOpenDistancesWindow_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("model") << QStringLiteral("model");
        QTest::newRow("alpha") << QStringLiteral("alpha");
        QTest::newRow("origin") << QStringLiteral("origin");
        QTest::newRow("destination") << QStringLiteral("destination");
        QTest::newRow("origin emptied") << QStringLiteral("origin emptied");
    }
    void changeElsewhereReachesTheOpenDistancesWindow()
    {
        QFETCH(QString, change);
        WindowTestFixture f(&createWindow);
        Distanze* distances = walkToDistances(f);
        QVERIFY(distances->isVisible());
        const QStringList before = shownInteractions(distances, 4);
        QCOMPARE(before, interactionsOf(f.state, 4));

        auto* menu = f.window<Menu>(WindowId::Menu);
        auto* areas = f.window<DatiAree>(WindowId::DatiAree);
        if (change == QLatin1String("model"))
            clickOption(menu, 2);
        else if (change == QLatin1String("alpha"))
            typeInto(menu, QStringLiteral("al"), QStringLiteral("1"));
        else if (change == QLatin1String("origin"))
            typeInto(areas, QStringLiteral("origine_1"), QStringLiteral("300"));
        else if (change == QLatin1String("destination"))
            typeInto(areas, QStringLiteral("destinazione_2"), QStringLiteral("9"));
        else
            typeInto(areas, QStringLiteral("origine_1"), QString());

        // No show event in between: the window in view follows the change by itself.
        QVERIFY(distances->isVisible());
        QVERIFY(resultsCurrent(f.state) == (change != QLatin1String("origin emptied")));
        if (change == QLatin1String("origin emptied")) {
            QCOMPARE(distances->passoText(),
                     QStringLiteral("correggere i dati: il valore dell'origine dell'area n. 1 "
                                    "non è stato immesso"));
            QCOMPARE(shownInteractions(distances, 4), before); // greyed, of the last run
            return;
        }
        const QStringList after = shownInteractions(distances, 4);
        QVERIFY(after != before);
        QCOMPARE(after, interactionsOf(f.state, 4));
        QCOMPARE(distances->passoText(),
                 QStringLiteral("i dati sono formalmente corretti: archiviarli, stamparli o "
                                "andare Avanti con i grafici"));
        QCOMPARE(distances->windowTitle(),
                 WindowFrame::captionFor(Distanze::facts(), f.state.model.kindLabel));
        QVERIFY(f.prompts.verifyDone());
    }

    // Every reader of the results refuses the data while pair 4 has no distance, names it, and
    // produces nothing: no chart, no document, no file dialog.
    void incompleteDataGiveNothing()
    {
        WindowTestFixture f(&createWindow);
        Distanze* distances = walkToDistances(f, QString());
        const QString missing = QStringLiteral("digitare il valore della distanza n. 4");
        QCOMPARE(distances->passoText(), missing);

        f.prompts.expectMessage();
        QTest::mouseClick(distances->button(WindowFrame::Button::Avanti), Qt::LeftButton);
        UF_VERIFY_PROMPTS(f.prompts);
        QCOMPARE(f.prompts.lastMessage().text,
                 QStringLiteral("Impossibile proseguire: ") + missing + QLatin1Char('.'));
        QVERIFY(!f.windows.isLoaded(WindowId::Grafici));

        f.prompts.expectMessage();
        distances->toolbarAction(6)->trigger();
        UF_VERIFY_PROMPTS(f.prompts);
        QCOMPARE(f.prompts.lastMessage().text,
                 QStringLiteral("Impossibile stampare: ") + missing + QLatin1Char('.'));

        // Reached through the menu, the charts window shows no chart of the last results.
        distances->windowMenuAction(WindowId::Grafici)->trigger();
        auto* charts = f.window<Grafici>(WindowId::Grafici);
        QVERIFY(charts && charts->isVisible());
        QVERIFY(!hasChartResults(charts->chartSlots()));
        QCOMPARE(charts->passoText(), QStringLiteral("grafico non disponibile: ") + missing);
        f.prompts.expectMessage();
        QTest::mouseClick(charts->pieButton(), Qt::LeftButton);
        UF_VERIFY_PROMPTS(f.prompts);
        QCOMPARE(f.prompts.lastMessage().text,
                 QStringLiteral("Impossibile disegnare il grafico: ") + missing + QLatin1Char('.'));
        QVERIFY(!hasChartResults(charts->chartSlots()));
        f.prompts.expectMessage();
        charts->toolbarAction(6)->trigger();
        UF_VERIFY_PROMPTS(f.prompts);
        f.prompts.expectMessage(); // the interactions archive: no file dialog
        charts->menuAction(QStringLiteral("mnuSalva"))->trigger();
        UF_VERIFY_PROMPTS(f.prompts);
        QCOMPARE(f.prompts.lastMessage().text,
                 QStringLiteral("Impossibile archiviare le interazioni: ") + missing +
                     QLatin1Char('.'));

        auto* title = f.show<Frontespizio>(WindowId::Frontespizio);
        f.prompts.expectMessage(); // the whole report
        title->menuAction(QStringLiteral("mnuStampaTutto"))->trigger();
        UF_VERIFY_PROMPTS(f.prompts);
        QCOMPARE(f.prompts.lastMessage().text,
                 QStringLiteral("Impossibile comporre la relazione: ") + missing +
                     QLatin1Char('.'));
        f.prompts.expectMessage(); // the complete archive: no file dialog
        title->menuAction(QStringLiteral("mnuSalvaTutto"))->trigger();
        UF_VERIFY_PROMPTS(f.prompts);
        QCOMPARE(f.prompts.lastMessage().text,
                 QStringLiteral("Impossibile archiviare tutti i dati: ") + missing +
                     QLatin1Char('.'));

        QCOMPARE(f.documents.count(), 0);
        QVERIFY(f.prompts.fileRequests().isEmpty());
        QVERIFY(f.prompts.verifyDone());

        // Once the distance is typed the same commands work on the current results.
        distances = f.show<Distanze>(WindowId::Distanze);
        typeInto(distances, QStringLiteral("distanza_4"), QStringLiteral("40"));
        f.windows.showWindow(WindowId::Grafici);
        QTRY_VERIFY(hasChartResults(charts->chartSlots()));
        QVERIFY(f.prompts.verifyDone());
    }
};

QTEST_MAIN(TestResultsCurrency)
#include "tst_resultscurrency.moc"
