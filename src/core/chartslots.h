#pragma once

// MINIMAL STAND-IN for the charts work, written to its agreed interface so that the report
// builds before that work lands; the charts branch replaces this file whole.

#include "projectstate.h"

#include <QString>
#include <array>
#include <cmath>

namespace urbaflux {

struct ChartSlot
{
    int pair = 0; // 0: empty slot
    QString label;
    double value = 0;
    int percent = 0;
};

struct ChartSlots
{
    std::array<ChartSlot, 20> slots;
    double total = 0;
};

inline int slotPercent(double value, double totalInteractions)
{
    return totalInteractions == 0
               ? 0
               : static_cast<int>(std::floor(0.5 + 100.0 * value / totalInteractions));
}

// The 20 largest interactions; among equal ones the later pair first.
inline ChartSlots selectChartSlots(const ProjectState& state)
{
    ChartSlots result;
    result.total = state.interactions.totalInteractions;
    const int n = qBound(0, state.areas.count, kMaxAreas);
    std::vector<bool> taken(static_cast<size_t>(n * n + 1));
    for (ChartSlot& slot : result.slots) {
        for (int k = 1; k <= n * n; ++k) {
            const double value = state.interactions.interaction[static_cast<size_t>(k)];
            if (!taken[static_cast<size_t>(k)] && value >= slot.value) {
                slot.pair = k;
                slot.value = value;
            }
        }
        if (slot.pair == 0)
            continue;
        taken[static_cast<size_t>(slot.pair)] = true;
        slot.label = state.distances.pairNumbers[static_cast<size_t>(slot.pair)];
        slot.percent = slotPercent(slot.value, result.total);
    }
    return result;
}

} // namespace urbaflux
