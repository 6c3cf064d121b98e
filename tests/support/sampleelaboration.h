#pragma once

// A computed elaboration for the window and command tests: N areas with their values and every
// pair with a distance, computed as the distances window computes them.

#include <calculation.h>
#include <modelkind.h>
#include <projectstate.h>

#include <QString>
#include <cstdlib>

namespace urbaflux {

inline void fillSampleElaboration(ProjectState& state, int areas, int kind = 1)
{
    applyDefaults(state);
    state.model.kind = static_cast<qint16>(kind);
    state.model.kindLabel = modelKindLabel(kind);
    state.model.originType = QStringLiteral("residenti");
    state.model.destinationType = QStringLiteral("posti di lavoro");
    state.areas.count = areas;
    for (int i = 1; i <= areas; ++i) {
        state.areas.name[size_t(i)] = QStringLiteral("Quartiere %1").arg(i);
        state.areas.origin[size_t(i)] = QString::number(100 + (i * 37) % 400);
        state.areas.destination[size_t(i)] = QString::number(100 + ((areas + 1 - i) * 37) % 400);
    }
    buildPairList(state);
    for (int i = 1; i <= areas; ++i)
        for (int j = 1; j <= areas; ++j)
            state.distances.distance[size_t(pairIndex(i, j, areas))] =
                QString::number(0.5 + std::abs(i - j) * 1.25 + (i * j) % 7 * 0.1);
    computeAreaTotals(state);
    calculateInteractions(state);
}

} // namespace urbaflux
