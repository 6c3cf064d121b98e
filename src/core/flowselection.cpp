#include "flowselection.h"

#include "projectstate.h"

#include <QtGlobal>
#include <algorithm>
#include <cmath>

namespace urbaflux {

double FlowSelection::sharePercent() const
{
    if (!(betweenAreasMagnitude > 0.0))
        return 0.0;
    return 100.0 * shownMagnitude / betweenAreasMagnitude;
}

FlowSelection selectLargestFlows(const std::vector<double>& values, int count, int limit)
{
    FlowSelection selection;
    const int n = qBound(0, count, kMaxAreas);
    if (static_cast<int>(values.size()) <= n * n)
        return selection;
    std::vector<Flow> candidates;
    candidates.reserve(static_cast<size_t>(n) * static_cast<size_t>(n));
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            if (i == j)
                continue;
            const int k = pairIndex(i, j, n);
            const double value = values[static_cast<size_t>(k)];
            if (value == 0.0 || !std::isfinite(value))
                continue;
            selection.betweenAreasMagnitude += std::abs(value);
            candidates.push_back({i, j, k, value});
        }
    }
    // Ascending by magnitude, then by pair: the last `limit` are the largest, in drawing order.
    const auto below = [](const Flow& a, const Flow& b) {
        const double ma = std::abs(a.value);
        const double mb = std::abs(b.value);
        return ma != mb ? ma < mb : a.pair < b.pair;
    };
    const auto take = static_cast<size_t>(std::max(0, limit));
    if (candidates.size() > take) {
        const auto first = candidates.end() - static_cast<std::ptrdiff_t>(take);
        std::nth_element(candidates.begin(), first, candidates.end(), below);
        candidates.erase(candidates.begin(), first);
    }
    std::sort(candidates.begin(), candidates.end(), below);
    for (const Flow& flow : candidates)
        selection.shownMagnitude += std::abs(flow.value);
    selection.flows = std::move(candidates);
    return selection;
}

FlowSelection selectLargestFlows(const ProjectState& state, int limit)
{
    const int n = qBound(0, state.areas.count, kMaxAreas);
    std::vector<double> values(static_cast<size_t>(n * n + 1));
    for (int k = 1; k <= n * n; ++k)
        values[static_cast<size_t>(k)] = state.interactions.interaction[static_cast<size_t>(k)];
    return selectLargestFlows(values, n, limit);
}

QString flowMapCaption(const FlowSelection& selection)
{
    QString percent = QString::number(selection.sharePercent(), 'f', 1);
    percent.replace(QLatin1Char('.'), QLatin1Char(','));
    return QStringLiteral("Le %1 relazioni mostrate sono il %2% delle interazioni tra aree diverse")
        .arg(selection.flows.size())
        .arg(percent);
}

int boundedFlowLimit(int limit)
{
    return qBound(kMinMapFlows, limit, kMaxMapFlows);
}

} // namespace urbaflux
