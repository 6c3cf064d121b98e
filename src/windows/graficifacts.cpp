// What the charts window tells the frame, kept apart from the window's own code.

#include "grafici.h"

namespace urbaflux {

WindowFacts Grafici::facts()
{
    WindowFacts f;
    f.id = WindowId::Grafici;
    f.objectName = QStringLiteral("grafici");
    f.modelCaption = QStringLiteral("Urbaflux: grafici delle interazioni tra le aree  (modello a ");
    f.designColour = QColor(255, 255, 255);
    f.helpLinkCaption = QStringLiteral("Fi&nestra  n.%1 di %2");
    f.helpPages = {WindowId::GuidaGrafici};
    f.separatorAfterOpen = false;
    f.printTip = QStringLiteral("stampa grafico");
    f.colourCaption = QStringLiteral("&Colore di sfondo");
    f.totalsBeforeShowing = {WindowId::Distanze, WindowId::Frontespizio};
    return f;
}

} // namespace urbaflux
