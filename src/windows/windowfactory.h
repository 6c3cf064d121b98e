#pragma once

#include "windowframe.h"
#include "windowid.h"

class QWidget;

namespace urbaflux {

struct AppContext;

// What each of the five working windows tells the frame (its own X::facts()); empty facts for
// the other ids.
WindowFacts windowFacts(WindowId id);

// Makes the five working windows for the window manager; null for the others, which the shell
// makes itself.
QWidget* createWindow(WindowId id, AppContext& context);

} // namespace urbaflux
