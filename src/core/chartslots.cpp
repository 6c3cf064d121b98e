#include "chartslots.h"

#include "numbertext.h"
#include "projectstate.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace urbaflux {

ChartSlots selectChartSlots(const ProjectState& state)
{
    ChartSlots result;
    result.total = state.interactions.totalInteractions;
    if (!hasChartResults(result))
        return result;
    const int n = std::clamp(state.areas.count, 0, kMaxAreas);
    const int pairs = n * n;
    const std::vector<float>& interaction = state.interactions.interaction;

    // Slot by slot, the pair not yet taken whose interaction is at least the slot's (an empty
    // slot counts as 0). Twenty passes over 32,400 pairs are well below a millisecond, and the
    // comparison stays the one the ranking has always been defined by, ties and all.
    std::vector<char> taken(static_cast<size_t>(pairs) + 1, 0);
    for (ChartSlot& slot : result.slots) {
        int best = 0;
        double bestValue = 0;
        for (int k = 1; k <= pairs; ++k) {
            const auto at = static_cast<size_t>(k);
            if (!taken[at] && double(interaction[at]) >= bestValue) {
                best = k;
                bestValue = interaction[at];
            }
        }
        if (best == 0)
            break; // every pair is taken, or those left are below 0
        taken[static_cast<size_t>(best)] = 1;
        slot.pair = best;
        slot.value = bestValue;
        slot.label = state.distances.pairNumbers[static_cast<size_t>(best)];
        slot.percent = slotPercent(bestValue, result.total);
    }
    return result;
}

bool hasChartResults(const ChartSlots& slots)
{
    return slots.total != 0 && std::isfinite(slots.total);
}

bool hasChartPairs(const ChartSlots& slots)
{
    return std::any_of(slots.slots.begin(), slots.slots.end(),
                       [](const ChartSlot& slot) { return slot.pair != 0; });
}

int slotPercent(double value, double totalInteractions)
{
    const double share = 0.5 + 100.0 * value / totalInteractions;
    if (!std::isfinite(share))
        return 0;
    const double whole = std::trunc(share);
    if (whole >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (whole <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(whole);
}

QString pieSlotLabel(const ChartSlot& slot)
{
    return slot.label + QStringLiteral("  ") + numberText(slot.percent) + QLatin1Char('%');
}

} // namespace urbaflux
