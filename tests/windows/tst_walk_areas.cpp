// One elaboration from the model-choice window to the distances window with the program's own
// windows: choose the model, type the areas, save and reopen both archives on the way, go on
// to the distances and see the calculation use what was typed.

#include "datiaree.h"
#include "distanze.h"
#include "menu.h"
#include "windowfactory.h"
#include "windowtestfixture.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace urbaflux;

namespace {

void typeInto(QWidget* window, const QString& name, const QString& text)
{
    auto* box = window->findChild<QLineEdit*>(name);
    QVERIFY2(box, qPrintable(name));
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    else
        QTest::keyClicks(box, text);
}

QString boxText(QWidget* window, const QString& name)
{
    auto* box = window->findChild<QLineEdit*>(name);
    return box ? box->text() : QStringLiteral("<missing %1>").arg(name);
}

} // namespace

class TestWalkAreas : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fromModelChoiceToDistances()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString modFile = dir.filePath(QStringLiteral("Urbaflux-mod-pendolari"));
        const QString datFile = dir.filePath(QStringLiteral("Urbaflux-dat-pendolari"));

        WindowTestFixture f(&createWindow);
        ScriptedPrompts& prompts = f.prompts;

        // 1. The model choice.
        auto* menu = f.show<Menu>(WindowId::Menu);
        QVERIFY(menu);
        QVERIFY(menu->isVisible());
        QCOMPARE(menu->passoText(), QStringLiteral("scegliere il tipo do modello"));
        typeInto(menu, QStringLiteral("al"), QStringLiteral("2.5"));
        typeInto(menu, QStringLiteral("unitamisura"), QStringLiteral("minuti"));
        auto* option = menu->findChild<QRadioButton*>(QStringLiteral("Option1_1"));
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
        typeInto(menu, QStringLiteral("tipoor"), QStringLiteral("lavoratori residenti"));
        typeInto(menu, QStringLiteral("tipode"), QStringLiteral("posti di lavoro"));
        QCOMPARE(menu->passoText(), QStringLiteral("i dati sono formalmente corretti: "
                                                   "archiviarli, stamparli o andare Avanti con "
                                                   "altri dati"));
        // The area window created by the click did not put the defaults back.
        QCOMPARE(f.state.model.alpha.displayText(), QStringLiteral("2.5"));
        QCOMPARE(f.state.model.unit, QStringLiteral("minuti"));

        prompts.expectSaveFile(modFile);
        menu->findChild<QAction*>(QStringLiteral("tool3"))->trigger();
        UF_VERIFY_PROMPTS(prompts);
        QVERIFY(QFile::exists(modFile));

        QTest::mouseClick(menu->button(WindowFrame::Button::Avanti), Qt::LeftButton);
        auto* areas = f.window<DatiAree>(WindowId::DatiAree);
        QVERIFY(areas);
        QVERIFY(areas->isVisible());
        QCOMPARE(areas->windowTitle(),
                 QStringLiteral("Urbaflux: valori delle origini e delle destinazioni (modello a "
                                "'origine e destinazione vincolate')"));

        // 2. The areas, saved, cleared and reopened.
        const QStringList rows[] = {
            {QStringLiteral("Centro"), QStringLiteral("10"), QStringLiteral("5")},
            {QStringLiteral("Nord"), QStringLiteral("20"), QStringLiteral("15")},
            {QStringLiteral("Sud"), QStringLiteral("5"), QStringLiteral("15")},
        };
        for (int r = 1; r <= 3; ++r) {
            typeInto(areas, QStringLiteral("nome_%1").arg(r), rows[r - 1][0]);
            typeInto(areas, QStringLiteral("origine_%1").arg(r), rows[r - 1][1]);
            typeInto(areas, QStringLiteral("destinazione_%1").arg(r), rows[r - 1][2]);
        }
        QCOMPARE(f.state.areas.count, 3);
        QCOMPARE(areas->originsTotalText(), QStringLiteral("35"));
        QCOMPARE(areas->destinationsTotalText(), QStringLiteral("35"));

        prompts.expectSaveFile(datFile);
        areas->findChild<QAction*>(QStringLiteral("tool2"))->trigger();
        UF_VERIFY_PROMPTS(prompts);
        prompts.expectMessage(MessageAnswer::Yes); // saved: a plain confirmation
        areas->findChild<QAction*>(QStringLiteral("tool21"))->trigger();
        UF_VERIFY_PROMPTS(prompts);
        QCOMPARE(f.state.areas.count, 0);
        QCOMPARE(boxText(areas, QStringLiteral("nome_2")), QString());
        prompts.expectMessage(MessageAnswer::Discard); // the areas cleared differ from the file
        prompts.expectOpenFile(datFile);
        areas->findChild<QAction*>(QStringLiteral("tool1"))->trigger();
        UF_VERIFY_PROMPTS(prompts);
        QCOMPARE(f.state.areas.count, 3);
        QCOMPARE(boxText(areas, QStringLiteral("nome_2")), QStringLiteral("Nord"));
        QCOMPARE(boxText(areas, QStringLiteral("destinazione_3")), QStringLiteral("15"));
        QCOMPARE(areas->originsTotalText(), QStringLiteral("35"));

        // 3. Back to the model choice: clear it and reopen the saved one.
        QTest::mouseClick(areas->button(WindowFrame::Button::Indietro), Qt::LeftButton);
        menu->findChild<QAction*>(QStringLiteral("tool21"))->trigger();
        QCOMPARE(f.state.model.kind, qint16(0));
        prompts.expectMessage(MessageAnswer::Discard); // the choice cleared is unsaved
        prompts.expectOpenFile(modFile);
        menu->findChild<QAction*>(QStringLiteral("tool1"))->trigger();
        UF_VERIFY_PROMPTS(prompts);
        QVERIFY(menu->modelOption(1)->isChecked());
        QCOMPARE(boxText(menu, QStringLiteral("tipode")), QStringLiteral("posti di lavoro"));
        QCOMPARE(boxText(menu, QStringLiteral("al")), QStringLiteral("2.5"));
        QCOMPARE(f.state.model.unit, QStringLiteral("minuti"));

        // 4. On to the distances window through the area window's Avanti.
        menu->findChild<QAction*>(QStringLiteral("tool9"))->trigger();
        QVERIFY(areas->isVisible());
        QTest::mouseClick(areas->button(WindowFrame::Button::Avanti), Qt::LeftButton);
        UF_VERIFY_PROMPTS(prompts);
        auto* distances = f.window<Distanze>(WindowId::Distanze);
        QVERIFY(distances);
        QVERIFY(distances->isVisible());
        QCOMPARE(distances->windowTitle(),
                 QStringLiteral("Urbaflux: distanze e interazioni tra le aree (modello a "
                                "'origine e destinazione vincolate')"));
        QCOMPARE(distances->findChild<QLabel*>(QStringLiteral("Label2"))->text(),
                 QStringLiteral("minuti"));
        QCOMPARE(f.state.distances.pairNames[6], QStringLiteral("Nord-Sud"));
        QCOMPARE(distances->findChild<QLabel*>(QStringLiteral("nomi_6"))->text(),
                 QStringLiteral("Nord-Sud"));

        const QStringList minutes{QStringLiteral("2"),  QStringLiteral("8"),  QStringLiteral("12"),
                                  QStringLiteral("8"),  QStringLiteral("3"),  QStringLiteral("10"),
                                  QStringLiteral("12"), QStringLiteral("10"), QStringLiteral("4")};
        for (int k = 1; k <= 9; ++k)
            typeInto(distances, QStringLiteral("distanza_%1").arg(k), minutes[k - 1]);
        UF_VERIFY_PROMPTS(prompts);
        // The doubly constrained model gives back the origins typed in the area window.
        QCOMPARE(f.state.interactions.estimatedOrigins[2], 20.0);
        QCOMPARE(f.state.interactions.estimatedDestinations[1], 5.0);
        QVERIFY(prompts.verifyDone());
    }
};

QTEST_MAIN(TestWalkAreas)
#include "tst_walk_areas.moc"
