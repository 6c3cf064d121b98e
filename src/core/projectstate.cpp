#include "projectstate.h"

#include "pairlayout.h"
#include "statenotifier.h"

#include <algorithm>

namespace urbaflux {

QString pairNumbersText(int i, int j)
{
    return numberText(i) + QLatin1Char('-') + numberText(j);
}

void buildPairList(ProjectState& state)
{
    const int count = std::clamp(state.areas.count, 0, kMaxAreas);
    // Without areas there is no list to build, and the distances typed stay for the areas
    // still to come.
    if (count == 0)
        return;
    movePairsToCount(state, count);
    labelPairs(state);
}

void markInputsChanged(ProjectState& state)
{
    ++state.inputRevision;
    if (state.notifier)
        Q_EMIT state.notifier->inputsChanged();
}

void markResultsRead(ProjectState& state)
{
    InteractionTable& results = state.interactions;
    results.calculated = true;
    results.lastRunCompleted = true;
    results.lastOutcome = CalculationOutcome{};
    // The revision the announcement below makes.
    results.calculatedRevision = state.inputRevision + 1;
    markInputsChanged(state);
}

void applyDefaults(ProjectState& state)
{
    RunValues& run = state.run;
    run.checkTitle =
        run.programName + QStringLiteral(": controllo dati immessi nella finestra attiva");
    run.deleteTitle =
        QStringLiteral("Elimina: seleziona il file desiderato e clicca su Apri per cancellarlo");
    state.model.unit = QStringLiteral("chilometri");
    state.model.tolerance = FieldValue::fromNumber(0.0001);
    state.model.interactionType = QStringLiteral("spostamenti degli utenti");
    state.model.alpha = FieldValue::fromNumber(2);
    run.helpHint = run.programName + QStringLiteral(": aiuto nella finestra attiva");
}

AreaTotals areaTotals(const AreaTable& areas)
{
    AreaTotals totals;
    for (int i = 1; i <= kMaxAreas; ++i) {
        const double destination = leadingNumber(areas.destination[static_cast<size_t>(i)]);
        totals.origins += leadingNumber(areas.origin[static_cast<size_t>(i)]);
        totals.destinations += destination;
        totals.roundedDestinations += roundHalfUp(destination);
    }
    return totals;
}

void computeAreaTotals(ProjectState& state)
{
    AreaTable& areas = state.areas;
    if (areas.origin[1].isEmpty())
        return;
    const AreaTotals totals = areaTotals(areas);
    areas.totalOrigins = totals.origins;
    areas.totalDestinations = totals.roundedDestinations;
}

} // namespace urbaflux
