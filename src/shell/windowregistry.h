#pragma once

// The working windows, listed once: each entry says what the frame, its "Fines&tre" menu, its
// toolbar and the captions need of a window (its menu item, its toolbar tip, its facts) and how
// the window manager makes it. The order of the entries is the sequence "Fi&nestra n.1" to
// "n.N" and the order of the menu items and toolbar buttons. The list itself is the windows
// module's (windowRegistry() in windowfactory.h), handed to the window manager by the
// application, so that the shell never includes a window header.

#include "windowid.h"

#include <QString>
#include <vector>

class QWidget;

namespace urbaflux {

struct AppContext;
struct WindowFacts;

struct WindowEntry
{
    WindowId id;
    QString menuCaption;        // its "Fines&tre" item ("Scelta del modello")
    const char* menuObjectName; // "mnuScelta"
    bool separatorBefore;       // a separator before its item
    QString toolbarTip;         // its toolbar button ("visualizza finestra '...'")
    WindowFacts (*facts)();
    QWidget* (*create)(AppContext&);
    // False for a window reached from its menu item only (the comparison): it has no place in
    // the sequence, no "Avanti" leads to it and the toolbar has no button for it.
    bool inSequence = true;
};

using WindowRegistry = std::vector<WindowEntry>;

// The place (1 to sequenceLength) of a window in the sequence; 0 when it is not in it.
int placeInSequence(const WindowRegistry& registry, WindowId id);
// The number of windows in the sequence (the N of "n.X di N").
int sequenceLength(const WindowRegistry& registry);
// The entry at a place of the sequence; null when there is none.
const WindowEntry* sequenceEntry(const WindowRegistry& registry, int place);

} // namespace urbaflux
