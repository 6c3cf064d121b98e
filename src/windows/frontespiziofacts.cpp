// What the title-page window tells the frame, kept apart from the window's own code.

#include "frontespizio.h"

namespace urbaflux {

WindowFacts Frontespizio::facts()
{
    WindowFacts f;
    f.id = WindowId::Frontespizio;
    f.objectName = QStringLiteral("frontespizio");
    f.modelCaption = QStringLiteral("Urbaflux: frontespizio per la relazione (modello a ");
    f.designColour = QColor(232, 222, 238);
    f.contextHelp = {
        QStringLiteral("- Digitare o correggere i dati spostandosi con il tasto TAB, o con il "
                       "mouse, nei campi;"),
        QStringLiteral("- la data viene impostata in automatico, ma è modificabile;"),
        QStringLiteral("- aprire un file archiviato per prelevare, eventualmente, i dati "
                       "registrati (Urbaflux-fro-);"),
        QStringLiteral("- non digitare dati più lunghi di 60 spazi;"),
        QStringLiteral("- effettuare il controllo dei dati immessi cliccando sul tasto ABC;"),
        QStringLiteral("- è possibile archiviare 'tutti i dati' dell'elaborazione cliccando "
                       "su File (Salva con nome...)."),
    };
    f.helpLinkCaption = QStringLiteral("Fi&nestra n.%1 di %2");
    f.helpPages = {WindowId::GuidaFrontespizio};
    f.buttons = {FrameButton::Aiuto, FrameButton::CmdGuida, FrameButton::Indietro,
                 FrameButton::CmdEsci};
    // The title page goes back to the distances, not to the charts.
    f.backTarget = WindowId::Distanze;
    f.saveAllData = true;
    f.printWholeReport = true;
    f.printTip = QStringLiteral("stampa relazione");
    f.totalsBeforeShowing = {WindowId::Menu, WindowId::DatiAree, WindowId::Distanze};
    f.toolbarComputesTotals = false;
    return f;
}

} // namespace urbaflux
