#pragma once

#include "windowid.h"

class QWidget;

namespace urbaflux {

struct AppContext;

// The windows the shell makes itself (the splash; the help pages once they exist). The window
// manager asks here when the application's factory has no window for an id; null when nobody
// makes that window yet.
QWidget* createShellWindow(WindowId id, AppContext& context);

} // namespace urbaflux
