#include "modelcaptions.h"

#include "appcontext.h"
#include "datiaree.h"
#include "distanze.h"
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
    switch (kind) {
    case 1:
        return QStringLiteral(
            "Nel modello a origine e destinazione vincolate occorre disporre dei valori "
            "osservati sia delle origini sia delle destinazioni di ogni area, e il totale delle "
            "origini deve coincidere con il totale delle destinazioni. Il calcolo distribuisce "
            "le interazioni tra tutte le coppie di aree in modo che la somma delle interazioni "
            "in partenza da ogni area riproduca il suo valore di origine e la somma delle "
            "interazioni in arrivo in ogni area riproduca il suo valore di destinazione; la "
            "somma di tutte le interazioni coincide quindi con entrambi i totali. Un esempio "
            "tipico sono gli spostamenti casa-lavoro: le origini sono i lavoratori residenti in "
            "ogni zona, le destinazioni i posti di lavoro presenti in ogni zona, e il modello "
            "stima quanti lavoratori si spostano da ogni zona di residenza a ogni zona di "
            "lavoro. Il modello si presta alla pianificazione dei trasporti e alla verifica "
            "delle scelte di localizzazione di residenze e attività.");
    case 2:
        return QStringLiteral(
            "Nel modello a destinazione vincolata i risultati del calcolo riproducono soltanto "
            "il totale delle destinazioni: le interazioni in arrivo in ogni area sommano al "
            "valore di destinazione immesso per quell'area. I valori delle origini sono invece "
            "stime libere, che devono però essere proporzionali alla realtà delle zone, perché "
            "il modello ne usa soltanto i rapporti reciproci per ripartire l'attrazione di ogni "
            "destinazione tra le aree di origine. Il modello è adatto a valutare, con "
            "simulazioni ripetute, come si distribuisce sul territorio l'utenza di attrezzature "
            "di capacità nota, come scuole, ospedali o centri commerciali, al variare delle "
            "stime delle origini o delle distanze.");
    case 3:
        return QStringLiteral(
            "Nel modello a origine vincolata i risultati del calcolo riproducono il totale delle "
            "origini, a meno degli arrotondamenti: le interazioni in partenza da ogni area "
            "sommano al valore di origine immesso per quell'area. I valori delle destinazioni "
            "sono stime proporzionali alla capacità di attrazione delle zone, e il modello ne "
            "usa i rapporti reciproci per ripartire le interazioni di ogni origine tra le aree "
            "di destinazione. Il modello è adatto a studiare come cambiano le interazioni al "
            "variare delle destinazioni, per esempio quando si progetta un nuovo centro di "
            "attrazione o si potenzia uno esistente.");
    default:
        return QString();
    }
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
