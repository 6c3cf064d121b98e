#pragma once

#include "windowid.h"

class QWidget;

namespace urbaflux {

struct AppContext;

// Makes the five working windows for the window manager; null for the others, which the shell
// makes itself.
QWidget* createWindow(WindowId id, AppContext& context);

} // namespace urbaflux
