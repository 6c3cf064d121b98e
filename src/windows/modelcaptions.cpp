#include "modelcaptions.h"

#include "appcontext.h"
#include "datiaree.h"
#include "distanze.h"
#include "helptexts.h"
#include "menu.h"
#include "projectstate.h"
#include "windowmanager.h"

namespace urbaflux {

void setDistancesUnitCaption(AppContext& context, const QString& unit)
{
    // A distances window created later takes the unit from the state as it loads.
    if (auto* distances = context.windows.existingAs<Distanze>(WindowId::Distanze))
        distances->setUnitCaption(unit);
}

void applyDefaults(AppContext& context)
{
    urbaflux::applyDefaults(context.state);
    if (auto* menu = context.windows.existingAs<Menu>(WindowId::Menu))
        menu->keepStateWithBoxes();
    setDistancesUnitCaption(context, context.state.model.unit);
}

QString modelExplanation(int kind)
{
    // The explanation box and the model's help page share one text.
    if (kind < 1 || kind > 3)
        return QString();
    return helpPageText(modelHelpPage(kind));
}

void showModelInAreaWindow(DatiAree& areas, const QString& kindLabel)
{
    QString origins = QStringLiteral("origini");
    QString destinations = QStringLiteral("destinazioni");
    QString explanation = modelExplanation(1);
    if (kindLabel == QStringLiteral("'destinazione vincolata'")) {
        origins = QStringLiteral("stima origini");
        explanation = modelExplanation(2);
    }
    if (kindLabel == QStringLiteral("'origine vincolata'")) {
        destinations = QStringLiteral("stima destinazioni");
        explanation = modelExplanation(3);
    }
    areas.setColumnHeadings(origins, destinations);
    areas.setExplanation(explanation);
}

void applyModelCaptions(AppContext& context)
{
    const QString& label = context.state.model.kindLabel;
    WindowManager& windows = context.windows;

    if (auto* areas = windows.touchAs<DatiAree>(WindowId::DatiAree))
        showModelInAreaWindow(*areas, label);

    // Windows 3 to 5 take their caption from the state when they are created; only those
    // already there need it now.
    for (WindowId id :
         {WindowId::DatiAree, WindowId::Distanze, WindowId::Grafici, WindowId::Frontespizio}) {
        if (auto* window = windows.existingAs<WindowFrame>(id))
            window->refreshCaption();
    }
}

} // namespace urbaflux
