#pragma once

#include "windowframe.h"
#include "windowid.h"
#include "windowregistry.h"

class QWidget;

namespace urbaflux {

struct AppContext;

// The working windows in their sequence: one entry per window (its id, its "Fines&tre" item
// and toolbar tip, its facts, how it is made). A window is added here, after its id in
// windowid.h; the frame, the toolbar, the menus and the captions follow.
const WindowRegistry& windowRegistry();

// What a working window tells the frame (its own X::facts()); empty facts for the other ids.
WindowFacts windowFacts(WindowId id);

// Makes a working window for the window manager; null for the others, which the shell makes
// itself.
QWidget* createWindow(WindowId id, AppContext& context);

} // namespace urbaflux
