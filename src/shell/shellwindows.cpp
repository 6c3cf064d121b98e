#include "shellwindows.h"

#include "frmsplash.h"
#include "frmtipurbaflux.h"
#include "helppage.h"
#include "helptexts.h"
#include "informa.h"
#include "sommario.h"

namespace urbaflux {

QWidget* createShellWindow(WindowId id, AppContext& context)
{
    if (isHelpPage(id))
        return new HelpPage(id, context);
    switch (id) {
    case WindowId::Splash:
        return new FrmSplash(context);
    case WindowId::Sommario:
        return new Sommario(context);
    case WindowId::TipUrbaflux:
        return new FrmTipUrbaflux;
    case WindowId::Informa:
        return new Informa(context);
    default:
        return nullptr;
    }
}

} // namespace urbaflux
