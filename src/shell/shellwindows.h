#pragma once

#include "windowid.h"

class QWidget;

namespace urbaflux {

struct AppContext;

// The windows the shell makes itself: the splash, the help contents and pages, the tips and the
// about box. The window manager asks here when the application's factory has no window for an
// id; null for the working windows, which the application's factory makes.
QWidget* createShellWindow(WindowId id, AppContext& context);

} // namespace urbaflux
