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
        const auto origin = static_cast<size_t>((best - 1) / n + 1);
        const auto destination = static_cast<size_t>((best - 1) % n + 1);
        slot.names =
            state.areas.name[origin] + QStringLiteral(" \u2192 ") + state.areas.name[destination];
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

QString pieLegendLabel(const ChartSlot& slot)
{
    const QString relation =
        slot.names.trimmed() == QStringLiteral("\u2192") || slot.names.isEmpty()
            ? slot.label.trimmed()
            : slot.names;
    return relation + QStringLiteral("  ") + QString::number(slot.percent) + QLatin1Char('%');
}

QString pieShareText(const ChartSlots& slots)
{
    int shown = 0;
    double sum = 0;
    for (const ChartSlot& slot : slots.slots) {
        if (slot.pair == 0)
            continue;
        ++shown;
        sum += slot.value;
    }
    if (shown == 0)
        return QString();
    const int percent = slotPercent(sum, slots.total);
    // "l'8%", "l'81%", "il 75%": the article as the number is spoken (otto, ottantuno, uno,
    // undici begin with a vowel).
    const bool vowel =
        percent == 1 || percent == 8 || percent == 11 || (percent >= 80 && percent <= 89);
    const QString share = (vowel ? QStringLiteral("l'") : QStringLiteral("il ")) +
                          QString::number(percent) + QLatin1Char('%');
    if (shown == 1)
        return QStringLiteral("la relazione principale è ") + share + QStringLiteral(" del totale");
    return QStringLiteral("le ") + QString::number(shown) +
           QStringLiteral(" relazioni principali sono ") + share + QStringLiteral(" del totale");
}

} // namespace urbaflux
