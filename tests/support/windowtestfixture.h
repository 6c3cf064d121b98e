#pragma once

// Everything a window test needs, wired as the application wires it: a project state with its
// defaults, scripted prompts, a document recorder and a window manager whose factory the test
// chooses (the real one from windowfactory.h, or windows of the test's own). Music is off.
//
//     WindowTestFixture f(&createWindow);
//     auto* menu = f.show<Menu>(WindowId::Menu);
//     f.prompts.expectMessage();
//     QTest::mouseClick(menu->button(WindowFrame::Button::Avanti), Qt::LeftButton);
//     UF_VERIFY_PROMPTS(f.prompts);

#include "appcontext.h"
#include "documentrecorder.h"
#include "projectstate.h"
#include "scriptedprompts.h"
#include "statenotifier.h"
#include "windowfactory.h"
#include "windowframe.h"
#include "windowmanager.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QStringList>
#include <QWidget>

namespace urbaflux {

// A working window with the real frame that only records what the frame dispatched to it:
// navigation and dispatch tests use it in place of the real windows. Its Avanti passes unless
// `valid` is false, honours checkOnly, and shows the next window of the sequence.
class RecordingWindow : public WindowFrame
{
    Q_OBJECT

public:
    RecordingWindow(WindowId id, AppContext& context) : WindowFrame(windowFacts(id), context) {}

    QStringList calls;
    int loads = 0;
    // What Avanti does once its checks pass: nothing here is ever invalid unless told so.
    bool valid = true;
    int successReports = 0;

    void apri_Click() override { calls << QStringLiteral("apri_Click"); }
    void apritutto_Click() override { calls << QStringLiteral("apritutto_Click"); }
    void salva_Click() override { calls << QStringLiteral("salva_Click"); }
    void salvanome_Click() override { calls << QStringLiteral("salvanome_Click"); }
    void salvatutto_Click() override { calls << QStringLiteral("salvatutto_Click"); }
    void eliminare_click() override { calls << QStringLiteral("eliminare_click"); }
    void stampa_Click() override { calls << QStringLiteral("stampa_Click"); }
    void stampatutto_Click() override { calls << QStringLiteral("stampatutto_Click"); }
    void solodati_Click() override { calls << QStringLiteral("solodati_Click"); }
    void clearData() override { calls << QStringLiteral("clearData"); }
    void avanti_Click() override
    {
        calls << QStringLiteral("avanti_Click");
        if (!valid)
            return;
        if (checkOnly() == 1) {
            setCheckOnly(0);
            ++successReports;
            return;
        }
        const int next = sequenceNumber(windowId()); // index of the next window
        if (next < 5)
            windows().showWindow(static_cast<WindowId>(next));
    }

protected:
    void onLoad() override { ++loads; }
};

inline QWidget* makeRecordingWindow(WindowId id, AppContext& context)
{
    if (sequenceNumber(id) == 0)
        return nullptr;
    return new RecordingWindow(id, context);
}

class WindowTestFixture
{
public:
    explicit WindowTestFixture(WindowManager::Factory factory = {});
    ~WindowTestFixture();
    WindowTestFixture(const WindowTestFixture&) = delete;
    WindowTestFixture& operator=(const WindowTestFixture&) = delete;

    ProjectState state;
    // Set as the application sets it, before any window exists.
    StateNotifier notifier;
    ScriptedPrompts prompts;
    DocumentRecorder documents;
    WindowManager windows;
    AppContext context{state, prompts, windows, documents};

    // Shows the window (creating it with its load step) and returns it as its class; null
    // when it cannot be made or is of another class.
    template <typename T> T* show(WindowId id)
    {
        windows.showWindow(id);
        return windows.existingAs<T>(id);
    }
    // Creates the window hidden with its load step, as touching one of its fields does.
    template <typename T> T* touch(WindowId id) { return windows.touchAs<T>(id); }
    template <typename T> T* window(WindowId id) const { return windows.existingAs<T>(id); }

    // The window in front: the last one shown.
    QWidget* activeWindow() const;

    // Lets unloaded windows actually go (they are deleted once control is back in the loop).
    static void flushDeletes()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

} // namespace urbaflux
