// From the model choice to the results, for each model, through the windows as a user drives
// them: a click on the model option, the typologies typed, the areas typed into the area window,
// its "Avanti" building the pairs, the distances typed into the distances window, then the
// interactions read off the grid and the results summary of the check command.

#include "datiaree.h"
#include "distanze.h"
#include "menu.h"
#include "windowfactory.h"
#include "windowtestfixture.h"

#include <projectstate.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

using namespace urbaflux;

namespace {

QLineEdit* box(QWidget* window, const QString& name)
{
    auto* found = window->findChild<QLineEdit*>(name);
    if (!found)
        qWarning("no box %s", qPrintable(name));
    return found;
}

void typeInto(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

} // namespace

class TestWalkDistances : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void walk_data();
    void walk();
};

void TestWalkDistances::walk_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("origins");
    QTest::addColumn<QStringList>("destinations");
    QTest::addColumn<QStringList>("distances");
    QTest::addColumn<QStringList>("weights"); // typed into the weight boxes when not empty
    QTest::addColumn<QStringList>("interactions");
    QTest::addColumn<QString>("totalLine");

    const QStringList tens{QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"),
                           QStringLiteral("10")};
    QTest::newRow("origine vincolata")
        << 3 << QStringList{QStringLiteral("100"), QStringLiteral("50")}
        << QStringList{QStringLiteral("1"), QStringLiteral("1")} << tens << QStringList{}
        << QStringList{QStringLiteral("50"), QStringLiteral("50"), QStringLiteral("25"),
                       QStringLiteral("25")}
        << QStringLiteral("- totale origine..........................=  150");
    QTest::newRow("origine vincolata, peso 50 sulla coppia 1")
        << 3 << QStringList{QStringLiteral("100"), QStringLiteral("50")}
        << QStringList{QStringLiteral("1"), QStringLiteral("1")} << tens
        << QStringList{QStringLiteral("50")}
        << QStringList{QStringLiteral("80"), QStringLiteral("20"), QStringLiteral("25"),
                       QStringLiteral("25")}
        << QStringLiteral("- totale origine..........................=  150");
    QTest::newRow("destinazione vincolata")
        << 2 << QStringList{QStringLiteral("100"), QStringLiteral("50")}
        << QStringList{QStringLiteral("60"), QStringLiteral("90")}
        << QStringList{QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("40"),
                       QStringLiteral("10")}
        << QStringList{}
        << QStringList{QStringLiteral("58"), QStringLiteral("30"), QStringLiteral("2"),
                       QStringLiteral("60")}
        << QStringLiteral("- totale destinazione.....................=  150");
    QTest::newRow("origine e destinazione vincolate")
        << 1 << QStringList{QStringLiteral("100"), QStringLiteral("50")}
        << QStringList{QStringLiteral("60"), QStringLiteral("90")}
        << QStringList{QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("20"),
                       QStringLiteral("10")}
        << QStringList{}
        << QStringList{QStringLiteral("56"), QStringLiteral("44"), QStringLiteral("4"),
                       QStringLiteral("46")}
        << QStringLiteral("- totale origini=totale destinazioni......=  150");
}

void TestWalkDistances::walk()
{
    QFETCH(int, kind);
    QFETCH(QStringList, origins);
    QFETCH(QStringList, destinations);
    QFETCH(QStringList, distances);
    QFETCH(QStringList, weights);
    QFETCH(QStringList, interactions);
    QFETCH(QString, totalLine);

    WindowTestFixture f(&createWindow);
    auto* menu = f.show<Menu>(WindowId::Menu);
    QVERIFY(menu);
    QTest::mouseClick(menu->modelOption(kind), Qt::LeftButton);
    UF_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.state.model.kind, kind);
    typeInto(box(menu, QStringLiteral("tipoor")), QStringLiteral("residenti"));
    typeInto(box(menu, QStringLiteral("tipode")), QStringLiteral("posti di lavoro"));
    QTest::mouseClick(menu->button(WindowFrame::Button::Avanti), Qt::LeftButton);
    UF_VERIFY_PROMPTS(f.prompts);

    auto* areas = f.window<DatiAree>(WindowId::DatiAree);
    QVERIFY(areas && areas->isVisible());
    const QStringList names{QStringLiteral("Nord"), QStringLiteral("Sud")};
    for (int r = 1; r <= 2; ++r) {
        typeInto(box(areas, QStringLiteral("nome_%1").arg(r)), names[r - 1]);
        typeInto(box(areas, QStringLiteral("origine_%1").arg(r)), origins[r - 1]);
        typeInto(box(areas, QStringLiteral("destinazione_%1").arg(r)), destinations[r - 1]);
    }
    QCOMPARE(f.state.areas.count, 2);
    QTest::mouseClick(areas->button(WindowFrame::Button::Avanti), Qt::LeftButton);
    UF_VERIFY_PROMPTS(f.prompts);

    auto* w = f.window<Distanze>(WindowId::Distanze);
    QVERIFY(w && w->isVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("Urbaflux: distanze e interazioni tra le aree "
                                              "(modello a ") +
                                   modelKindLabel(kind) + QLatin1Char(')'));
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("nomi_3"))->text(), QStringLiteral("Sud-Nord"));
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("label_2"))->text(), QStringLiteral(" 1- 2"));
    QCOMPARE(w->passoText(),
             QStringLiteral("iniziare a digitare la prima distanza e a scegliere il peso"));
    for (int r = 1; r <= 4; ++r)
        typeInto(box(w, QStringLiteral("distanza_%1").arg(r)), distances[r - 1]);
    for (int r = 1; r <= weights.size(); ++r)
        typeInto(box(w, QStringLiteral("p100_%1").arg(r)), weights[r - 1]);
    for (int r = 1; r <= 4; ++r)
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("interazioni_%1").arg(r))->text(),
                 interactions[r - 1]);
    QCOMPARE(w->passoText(), QStringLiteral("i dati sono formalmente corretti: archiviarli, "
                                            "stamparli o andare Avanti con i grafici"));

    f.prompts.expectMessage();
    w->toolbarAction(20)->trigger();
    UF_VERIFY_PROMPTS(f.prompts);
    const QStringList lines = f.prompts.lastMessage().text.split(QChar(13));
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines[0], QStringLiteral("Modello a ") + modelKindLabel(kind));
    QCOMPARE(lines[2], totalLine);
    QCOMPARE(lines[3], QStringLiteral("- totale interazioni.....................=  150"));
    QCOMPARE(lines[4], QStringLiteral("- arrotondamento nel calcolo....=  0"));

    QTest::mouseClick(w->button(WindowFrame::Button::Avanti), Qt::LeftButton);
    UF_VERIFY_PROMPTS(f.prompts);
    QVERIFY(f.windows.existing(WindowId::Grafici) &&
            f.windows.existing(WindowId::Grafici)->isVisible());
    QVERIFY(f.prompts.verifyDone());
}

QTEST_MAIN(TestWalkDistances)
#include "tst_walk_distances.moc"
