#pragma once

// Elaborations for the report's tests and benchmark: N areas with their values, every pair with
// a distance, computed as the distances window computes them.

#include <calculation.h>
#include <modelkind.h>
#include <projectstate.h>
#include <titlepage.h>

#include <QString>
#include <cstdlib>
#include <memory>

namespace urbaflux::samples {

inline std::unique_ptr<ProjectState> elaboration(int areas, int kind = 1)
{
    auto state = std::make_unique<ProjectState>();
    applyDefaults(*state);
    state->model.kind = static_cast<qint16>(kind);
    state->model.kindLabel = modelKindLabel(kind);
    state->model.originType = QStringLiteral("residenti");
    state->model.destinationType = QStringLiteral("posti di lavoro");
    state->areas.count = areas;
    for (int i = 1; i <= areas; ++i) {
        state->areas.name[i] = QStringLiteral("Quartiere %1").arg(i);
        state->areas.origin[i] = QString::number(100 + (i * 37) % 400);
        // The origins in reverse order: equal totals, as the doubly constrained model needs.
        state->areas.destination[i] = QString::number(100 + ((areas + 1 - i) * 37) % 400);
    }
    for (int i = 1; i <= areas; ++i)
        for (int j = 1; j <= areas; ++j) {
            const int k = pairIndex(i, j, areas);
            state->distances.pairNumbers[k] = pairNumbersText(i, j);
            state->distances.pairNames[k] =
                state->areas.name[i] + QLatin1Char('-') + state->areas.name[j];
            state->distances.distance[k] =
                QString::number(0.5 + std::abs(i - j) * 1.25 + (i * j) % 7 * 0.1);
            state->distances.weight[k] = FieldValue::fromNumber(100);
        }
    computeAreaTotals(*state);
    if (!calculateInteractions(*state).completed())
        qFatal("sample elaboration of %d areas not computed", areas);
    return state;
}

inline TitlePage titlePage(const QString& committente = QStringLiteral("Comune di Lucca"))
{
    TitlePage page;
    page.progetto = QStringLiteral("Piano dei servizi");
    page.localita = QStringLiteral("Lucca e frazioni");
    page.tipostudio = QStringLiteral("analisi urbanistica periodo estivo");
    page.fornituradati = QStringLiteral("Ufficio statistica");
    page.committente = committente;
    page.luogo = QStringLiteral("Pisa");
    page.data = QStringLiteral("mercoledì, 9 dic 2026");
    page.allegati = QStringLiteral("planimetrie, foto");
    return page;
}

} // namespace urbaflux::samples
