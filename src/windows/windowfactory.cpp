#include "windowfactory.h"

#include "confronto.h"
#include "datiaree.h"
#include "distanze.h"
#include "frontespizio.h"
#include "grafici.h"
#include "menu.h"

namespace urbaflux {

WindowFacts windowFacts(WindowId id)
{
    switch (id) {
    case WindowId::Menu:
        return Menu::facts();
    case WindowId::DatiAree:
        return DatiAree::facts();
    case WindowId::Distanze:
        return Distanze::facts();
    case WindowId::Grafici:
        return Grafici::facts();
    case WindowId::Frontespizio:
        return Frontespizio::facts();
    case WindowId::Confronto:
        return Confronto::facts();
    default:
        return {};
    }
}

QWidget* createWindow(WindowId id, AppContext& context)
{
    switch (id) {
    case WindowId::Menu:
        return new Menu(context);
    case WindowId::DatiAree:
        return new DatiAree(context);
    case WindowId::Distanze:
        return new Distanze(context);
    case WindowId::Grafici:
        return new Grafici(context);
    case WindowId::Frontespizio:
        return new Frontespizio(context);
    case WindowId::Confronto:
        return new Confronto(context);
    default:
        return nullptr;
    }
}

} // namespace urbaflux
