#pragma once

namespace urbaflux {

// Every window the window manager knows, in the order the exit sequence unloads them (the
// splash window comes back last as the closing screen).
enum class WindowId
{
    Menu,         // 1: model choice
    DatiAree,     // 2: origins and destinations
    Distanze,     // 3: distances and interactions
    Grafici,      // 4: charts
    Frontespizio, // 5: title page and report
    Confronto,    // comparison with a base scenario
    Sommario,     // help contents
    Manuale,
    GuidaFunzionamento,
    GuidaArchivio,
    GuidaScelta,
    GuidaInterazioni,
    GuidaVincolate,
    GuidaDestinazione,
    GuidaOrigine,
    GuidaDistanze,
    GuidaRisultati,
    GuidaGrafici,
    GuidaFrontespizio,
    TipUrbaflux, // tips of the day
    Informa,     // about box
    Splash,
};

inline constexpr int kWindowCount = static_cast<int>(WindowId::Splash) + 1;

// The number of a working window in the sequence (1 to 5), 0 for the others.
inline int sequenceNumber(WindowId id)
{
    const int n = static_cast<int>(id);
    return n <= static_cast<int>(WindowId::Frontespizio) ? n + 1 : 0;
}

} // namespace urbaflux
