#include "shellwindows.h"

#include "frmsplash.h"

namespace urbaflux {

QWidget* createShellWindow(WindowId id, AppContext& context)
{
    switch (id) {
    case WindowId::Splash:
        return new FrmSplash(context);
    default:
        return nullptr;
    }
}

} // namespace urbaflux
