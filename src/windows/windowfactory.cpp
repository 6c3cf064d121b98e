#include "windowfactory.h"

#include "confronto.h"
#include "datiaree.h"
#include "distanze.h"
#include "frontespizio.h"
#include "grafici.h"
#include "menu.h"

namespace urbaflux {

namespace {

template <typename W> QWidget* make(AppContext& context)
{
    return new W(context);
}

} // namespace

const WindowRegistry& windowRegistry()
{
    static const WindowRegistry registry = {
        {WindowId::Menu, QStringLiteral("Scelta del modello"), "mnuScelta", false,
         QStringLiteral("visualizza finestra 'Scelta del modello'"), &Menu::facts, &make<Menu>},
        {WindowId::DatiAree, QStringLiteral("Origini e destinazioni"), "mnuOrigini", false,
         QStringLiteral("visualizza finestra 'Origini e destinazioni'"), &DatiAree::facts,
         &make<DatiAree>},
        {WindowId::Distanze, QStringLiteral("Distanze e interazioni"), "mnuDistanze", false,
         QStringLiteral("visualizza finestra 'Distanze e interazioni'"), &Distanze::facts,
         &make<Distanze>},
        {WindowId::Grafici, QStringLiteral("Grafici"), "mnuGrafici", true,
         QStringLiteral("visualizza finestra 'Grafici (interazioni)'"), &Grafici::facts,
         &make<Grafici>},
        // Outside the sequence: reached from its "Fines&tre" item only.
        {WindowId::Confronto, QStringLiteral("Confronta con uno scenario di base..."),
         "mnuConfronta", false, QString(), &Confronto::facts, &make<Confronto>, false},
        {WindowId::Frontespizio, QStringLiteral("Frontespizio"), "mnuFrontespizio", true,
         QStringLiteral("visualizza finestra 'Frontespizio'"), &Frontespizio::facts,
         &make<Frontespizio>},
    };
    return registry;
}

WindowFacts windowFacts(WindowId id)
{
    for (const WindowEntry& entry : windowRegistry()) {
        if (entry.id == id)
            return entry.facts();
    }
    return {};
}

QWidget* createWindow(WindowId id, AppContext& context)
{
    for (const WindowEntry& entry : windowRegistry()) {
        if (entry.id == id)
            return entry.create(context);
    }
    return nullptr;
}

} // namespace urbaflux
