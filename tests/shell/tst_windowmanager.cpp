#include "frmsplash.h"
#include "windowtestfixture.h"

#include <savedmarks.h>

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace urbaflux;

class TestWindowManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void touchCreatesHiddenAndLoadsOnce()
    {
        WindowTestFixture f(&makeRecordingWindow);
        auto* w = f.touch<RecordingWindow>(WindowId::Distanze);
        QVERIFY(w);
        QVERIFY(!w->isVisible());
        QCOMPARE(w->loads, 1);
        QCOMPARE(f.touch<RecordingWindow>(WindowId::Distanze), w);
        f.windows.showWindow(WindowId::Distanze);
        QVERIFY(w->isVisible());
        QCOMPARE(w->loads, 1);
    }

    void unloadedWindowComesBackFresh()
    {
        WindowTestFixture f(&makeRecordingWindow);
        QPointer<RecordingWindow> first = f.show<RecordingWindow>(WindowId::Grafici);
        QVERIFY(first);
        first->close(); // its close box
        QVERIFY(!f.windows.isLoaded(WindowId::Grafici));
        WindowTestFixture::flushDeletes();
        QVERIFY(first.isNull());
        auto* second = f.show<RecordingWindow>(WindowId::Grafici);
        QVERIFY(second);
        QCOMPARE(second->loads, 1);
    }

    void unknownWindowDoesNothing()
    {
        // A working window the factory does not make (the shell makes only its own).
        WindowTestFixture f([](WindowId, AppContext&) -> QWidget* { return nullptr; });
        f.windows.showWindow(WindowId::Grafici);
        QVERIFY(!f.windows.isLoaded(WindowId::Grafici));
    }

    void startUpShowsSplashThenModelChoice()
    {
        WindowTestFixture f(&makeRecordingWindow);
        f.state.model.unit = QStringLiteral("minuti");
        auto* splash = f.show<FrmSplash>(WindowId::Splash);
        QVERIFY(splash);
        QCOMPARE(splash->label(2)->text(), QStringLiteral("                        presenta"));
        QCOMPARE(splash->label(3)->text(), QStringLiteral("Urbaflux"));
        QCOMPARE(splash->label(4)->text(), QStringLiteral("modelli gravitazionali urbanistici"));
        QCOMPARE(splash->label(5)->text(),
                 QStringLiteral("EDIZIONE PROFESSIONALE - VERSIONE 3.04.05"));
        QCOMPARE(
            splash->label(8)->text(),
            QStringLiteral("(cliccare sulla finestra per iniziare; premere un tasto per uscire)"));
        QCOMPARE(f.state.model.unit, QStringLiteral("chilometri")); // applyDefaults ran
        QCOMPARE(splash->player().commands(),
                 (QStringList{QStringLiteral("open"), QStringLiteral("play")}));
        QCOMPARE(splash->player().fileName(), QStringLiteral("Internet.mid"));

        QTest::mouseClick(splash->label(3), Qt::LeftButton); // a label counts as the window
        auto* menu = f.window<RecordingWindow>(WindowId::Menu);
        QVERIFY(menu);
        QVERIFY(menu->isVisible());
        QVERIFY(splash->isVisible()); // stays loaded behind
        QCOMPARE(splash->player().commands().last(), QStringLiteral("pause"));
        QCOMPARE(menu->windowTitle(), QStringLiteral("Urbaflux - Scelta del modello di calcolo"));
        QVERIFY(f.prompts.verifyDone());
    }

    void keyOnSplashAtStartEnds()
    {
        WindowTestFixture f(&makeRecordingWindow);
        QSignalSpy quit(&f.windows, &WindowManager::quitRequested);
        auto* splash = f.show<FrmSplash>(WindowId::Splash);
        QTest::keyClick(splash, Qt::Key_Space);
        QCOMPARE(quit.count(), 1);
        QVERIFY(!f.windows.isLoaded(WindowId::Splash));
        QVERIFY(f.prompts.records().isEmpty()); // no question
    }

    void keyOnSplashWhileWorkingDoesNotEnd()
    {
        WindowTestFixture f(&makeRecordingWindow);
        QSignalSpy quit(&f.windows, &WindowManager::quitRequested);
        auto* splash = f.show<FrmSplash>(WindowId::Splash);
        QTest::mouseClick(splash, Qt::LeftButton);
        QTest::keyClick(splash, Qt::Key_A);
        QCOMPARE(quit.count(), 0);
        QVERIFY(f.windows.isLoaded(WindowId::Menu));
    }

    void closingTheLastWindowAfterTheSplashWentEnds()
    {
        WindowTestFixture f(&makeRecordingWindow);
        QSignalSpy quit(&f.windows, &WindowManager::quitRequested);
        auto* splash = f.show<FrmSplash>(WindowId::Splash);
        QTest::mouseClick(splash, Qt::LeftButton);
        auto* areas = f.show<RecordingWindow>(WindowId::DatiAree);
        f.touch<RecordingWindow>(WindowId::Distanze); // loaded, never shown
        QTest::keyClick(splash, Qt::Key_A);           // the splash goes, the work goes on
        QCOMPARE(quit.count(), 0);
        f.window<RecordingWindow>(WindowId::Menu)->close();
        QCOMPARE(quit.count(), 0); // the areas are still in view
        QVERIFY(f.windows.isLoaded(WindowId::DatiAree));
        areas->close(); // nothing left to see or to reach the exit from
        QCOMPARE(quit.count(), 1);
        QVERIFY(f.windows.loadedWindows().isEmpty());
    }

    void closingWindowsWhileTheSplashIsThereGoesOn()
    {
        WindowTestFixture f(&makeRecordingWindow);
        QSignalSpy quit(&f.windows, &WindowManager::quitRequested);
        auto* splash = f.show<FrmSplash>(WindowId::Splash);
        QTest::mouseClick(splash, Qt::LeftButton);
        f.show<RecordingWindow>(WindowId::DatiAree)->close();
        f.window<RecordingWindow>(WindowId::Menu)->close();
        QCOMPARE(quit.count(), 0);
        QVERIFY(f.windows.isLoaded(WindowId::Splash));

        // The splash sent away during the work, then back as the closing screen: closing the
        // window opened from it again ends nothing, the closing screen is in view.
        auto* menu = f.show<RecordingWindow>(WindowId::Menu);
        QTest::keyClick(splash, Qt::Key_A);
        QCOMPARE(quit.count(), 0);
        f.prompts.expectMessage(MessageAnswer::Yes);
        QTest::mouseClick(menu->button(WindowFrame::Button::CmdEsci), Qt::LeftButton);
        UF_VERIFY_PROMPTS(f.prompts);
        QCOMPARE(quit.count(), 0);
        auto* closing = f.window<FrmSplash>(WindowId::Splash);
        QVERIFY(closing && closing->isVisible());
        QTest::mouseClick(closing, Qt::LeftButton);
        f.window<RecordingWindow>(WindowId::Menu)->close();
        QCOMPARE(quit.count(), 0);
        QVERIFY(f.windows.isLoaded(WindowId::Splash));
    }

    void exitAnsweredNoKeepsEverything()
    {
        WindowTestFixture f(&makeRecordingWindow);
        f.show<FrmSplash>(WindowId::Splash);
        auto* menu = f.show<RecordingWindow>(WindowId::Menu);
        auto* areas = f.show<RecordingWindow>(WindowId::DatiAree);
        f.prompts.expectMessage(MessageAnswer::No);
        QTest::mouseClick(areas->button(WindowFrame::Button::CmdEsci), Qt::LeftButton);
        UF_VERIFY_PROMPTS(f.prompts);
        // Nothing typed: the plain question, its warning readable in the box, not the title.
        const MessageRequest asked = f.prompts.lastMessage();
        QCOMPARE(asked.text, QStringLiteral("Vuoi uscire da Urbaflux?"));
        QCOMPARE(asked.title, QStringLiteral("Urbaflux: uscita"));
        QCOMPARE(asked.icon, MessageIcon::Question);
        QCOMPARE(asked.buttons, MessageButtons::YesNo);
        QCOMPARE(asked.defaultAnswer, MessageAnswer::No);
        QCOMPARE(f.window<RecordingWindow>(WindowId::Menu), menu);
        QCOMPARE(f.window<RecordingWindow>(WindowId::DatiAree), areas);
        QVERIFY(areas->isVisible());
        QVERIFY(f.prompts.verifyDone());
    }

    // Data typed and never saved: "Salvare le modifiche?" with Salva, Non salvare, Annulla.
    void exitWithUnsavedDataAsksToSave_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("saver"); // 0 none installed, 1 saves, 2 the user cancels it
        QTest::addColumn<bool>("leaves");
        QTest::newRow("Annulla") << int(MessageAnswer::Cancel) << 1 << false;
        QTest::newRow("Non salvare") << int(MessageAnswer::Discard) << 1 << true;
        QTest::newRow("Salva") << int(MessageAnswer::Save) << 1 << true;
        QTest::newRow("Salva, dialog cancelled") << int(MessageAnswer::Save) << 2 << false;
        QTest::newRow("Salva, no saver") << int(MessageAnswer::Save) << 0 << false;
    }
    void exitWithUnsavedDataAsksToSave()
    {
        QFETCH(int, answer);
        QFETCH(int, saver);
        QFETCH(bool, leaves);
        WindowTestFixture f(&makeRecordingWindow);
        f.show<FrmSplash>(WindowId::Splash);
        auto* areas = f.show<RecordingWindow>(WindowId::DatiAree);
        f.state.areas.name[1] = QStringLiteral("Roma");
        int saves = 0;
        if (saver > 0)
            f.windows.setElaborationSaver([&saves, saver](AppContext& context) {
                ++saves;
                if (saver == 2)
                    return false;
                markAllSaved(context.state);
                return true;
            });
        f.prompts.expectMessage(static_cast<MessageAnswer>(answer));
        QTest::mouseClick(areas->button(WindowFrame::Button::CmdEsci), Qt::LeftButton);
        UF_VERIFY_PROMPTS(f.prompts);
        const MessageRequest asked = f.prompts.lastMessage();
        QVERIFY(asked.text.startsWith(QStringLiteral("Salvare le modifiche?")));
        QCOMPARE(asked.title, QStringLiteral("Urbaflux: uscita"));
        QCOMPARE(asked.buttons, MessageButtons::SaveDiscardCancel);
        QCOMPARE(asked.defaultAnswer, MessageAnswer::Save);
        QCOMPARE(saves, answer == int(MessageAnswer::Save) && saver > 0 ? 1 : 0);
        QCOMPARE(f.windows.isLoaded(WindowId::DatiAree), !leaves);
        QCOMPARE(f.state.areas.name[1], QStringLiteral("Roma"));
        QVERIFY(f.prompts.verifyDone());
    }

    void exitYesUnloadsInOrderAndRestartKeepsState()
    {
        WindowTestFixture f(&makeRecordingWindow);
        auto* splash = f.show<FrmSplash>(WindowId::Splash);
        QTest::mouseClick(splash, Qt::LeftButton);
        f.show<RecordingWindow>(WindowId::Frontespizio);
        f.touch<RecordingWindow>(WindowId::Distanze);
        auto* menu = f.window<RecordingWindow>(WindowId::Menu);
        f.state.model.originType = QStringLiteral("residenti");
        QSignalSpy unloaded(&f.windows, &WindowManager::windowUnloaded);
        QSignalSpy quit(&f.windows, &WindowManager::quitRequested);
        f.prompts.expectMessage(MessageAnswer::Discard);
        menu->toolbarAction(22)->trigger();
        UF_VERIFY_PROMPTS(f.prompts);
        QList<WindowId> order;
        for (const auto& args : unloaded)
            order << args.at(0).value<WindowId>();
        QCOMPARE(order,
                 (QList<WindowId>{WindowId::Menu, WindowId::Distanze, WindowId::Frontespizio}));
        QCOMPARE(f.windows.loadedWindows(), QList<WindowId>{WindowId::Splash});
        // The closing screen: the same splash, music resumed, label 2 as a credit line.
        QCOMPARE(f.window<FrmSplash>(WindowId::Splash), splash);
        QVERIFY(splash->isVisible());
        QCOMPARE(splash->label(2)->text(), QStringLiteral("            elaborazione eseguita con"));
        QCOMPARE(splash->player().commands().last(), QStringLiteral("play"));
        QCOMPARE(quit.count(), 0);
        WindowTestFixture::flushDeletes();

        // A click starts again: a fresh model-choice window, the state as it was.
        QTest::mouseClick(splash, Qt::LeftButton);
        auto* again = f.window<RecordingWindow>(WindowId::Menu);
        QVERIFY(again);
        QCOMPARE(again->loads, 1);
        QCOMPARE(f.state.model.originType, QStringLiteral("residenti"));

        // Exit again, and a key on the closing screen ends.
        f.prompts.expectMessage(MessageAnswer::Discard);
        again->menuAction(QStringLiteral("mnuEsci"))->trigger();
        UF_VERIFY_PROMPTS(f.prompts);
        QTest::keyClick(splash, Qt::Key_Escape);
        QCOMPARE(quit.count(), 1);
        QCOMPARE(splash->player().commands().last(), QStringLiteral("close"));
        QVERIFY(f.prompts.verifyDone());
    }

    void closingScreenRecreatesSplashWhenGone()
    {
        WindowTestFixture f(&makeRecordingWindow);
        auto* menu = f.show<RecordingWindow>(WindowId::Menu);
        QVERIFY(!f.windows.isLoaded(WindowId::Splash));
        f.prompts.expectMessage(MessageAnswer::Yes);
        QTest::mouseClick(menu->button(WindowFrame::Button::CmdEsci), Qt::LeftButton);
        UF_VERIFY_PROMPTS(f.prompts);
        auto* splash = f.window<FrmSplash>(WindowId::Splash);
        QVERIFY(splash);
        QCOMPARE(splash->label(2)->text(), QStringLiteral("            elaborazione eseguita con"));
        QCOMPARE(splash->label(3)->text(), QStringLiteral("Urbaflux")); // full load step ran
    }
};

QTEST_MAIN(TestWindowManager)
#include "tst_windowmanager.moc"
