// The model-choice window's help buttons open the real help pages, and the area window's
// explanation box shows the same text as the chosen model's page.

#include "datiaree.h"
#include "helppage.h"
#include "helptexts.h"
#include "menu.h"
#include "windowfactory.h"
#include "windowtestfixture.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace urbaflux;

class TestHelpLinks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modelChoiceHelpButtons_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<WindowId>("page");
        QTest::newRow("help 1") << 1 << WindowId::GuidaVincolate;
        QTest::newRow("help 2") << 2 << WindowId::GuidaDestinazione;
        QTest::newRow("help 3") << 3 << WindowId::GuidaOrigine;
        QTest::newRow("help 4") << 4 << WindowId::GuidaInterazioni;
    }
    void modelChoiceHelpButtons()
    {
        QFETCH(int, button);
        QFETCH(WindowId, page);
        WindowTestFixture f(&createWindow);
        auto* menu = f.show<Menu>(WindowId::Menu);
        auto* help = menu->findChild<QPushButton*>(QStringLiteral("help_%1").arg(button));
        QVERIFY(help);
        QTest::mouseClick(help, Qt::LeftButton);
        auto* opened = f.window<HelpPage>(page);
        QVERIFY(opened);
        QVERIFY(opened->isVisible());
        QCOMPARE(opened->titleLabel()->text(), helpPageTitle(page));
        QVERIFY(f.prompts.verifyDone());
    }

    void explanationBoxIsThePageText_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("origine e destinazione vincolate") << 1;
        QTest::newRow("destinazione vincolata") << 2;
        QTest::newRow("origine vincolata") << 3;
    }
    void explanationBoxIsThePageText()
    {
        QFETCH(int, kind);
        WindowTestFixture f(&createWindow);
        auto* menu = f.show<Menu>(WindowId::Menu);
        QRadioButton* option = menu->modelOption(kind);
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
        // The area window, created now or later, explains the model chosen.
        auto* areas = f.touch<DatiAree>(WindowId::DatiAree);
        QVERIFY(areas);
        const WindowId page = modelHelpPage(kind);
        QCOMPARE(areas->explanation(), helpPageText(page));
        // Creating the area window's text needs no help page.
        QVERIFY(!f.windows.isLoaded(page));
        QTest::mouseClick(menu->findChild<QPushButton*>(QStringLiteral("help_%1").arg(kind)),
                          Qt::LeftButton);
        QCOMPARE(f.window<HelpPage>(page)->text(), areas->explanation());
    }
};

QTEST_MAIN(TestHelpLinks)
#include "tst_helplinks.moc"
