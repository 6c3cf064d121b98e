#include "pairlayout.h"

#include "numbertext.h"

#include <algorithm>
#include <numeric>

namespace urbaflux {

namespace {

FieldValue defaultWeight()
{
    return FieldValue::fromNumber(100);
}

int recount(const AreaTable& areas)
{
    int count = 0;
    for (int a = 1; a <= kMaxAreas; ++a)
        if (!areas.destination[static_cast<size_t>(a)].isEmpty())
            ++count;
    return count;
}

template <typename T> void emptyBeyond(std::vector<T>& values, size_t last, const T& empty)
{
    for (size_t k = last + 1; k < values.size(); ++k)
        if (!(values[k] == empty))
            values[k] = empty;
}

} // namespace

int pairLayoutCount(const ProjectState& state)
{
    const int listed = state.distances.listedCount;
    return std::clamp(listed > 0 ? listed : state.areas.count, 0, kMaxAreas);
}

void movePairs(ProjectState& state, int oldCount, int newCount, const std::vector<int>& newAreaOf)
{
    DistanceTable& d = state.distances;
    oldCount = std::clamp(oldCount, 0, std::min(kMaxAreas, int(newAreaOf.size()) - 1));
    newCount = std::clamp(newCount, 0, kMaxAreas);
    const auto newPairs = static_cast<size_t>(newCount * newCount);

    bool identity = oldCount == newCount;
    for (int a = 1; a <= oldCount && identity; ++a)
        identity = newAreaOf[static_cast<size_t>(a)] == a;

    if (identity) {
        for (size_t k = 1; k <= newPairs; ++k)
            if (d.weight[k].isUnset())
                d.weight[k] = defaultWeight();
    } else {
        // The new positions overlap the old ones in both directions, so the kept values are
        // moved out first; a QString moves without copying its characters.
        std::vector<QString> distance(newPairs + 1);
        std::vector<FieldValue> weight(newPairs + 1, defaultWeight());
        // The labels go with their pair too: only those of new pairs need writing afterwards.
        std::vector<QString> numbers(newPairs + 1);
        std::vector<QString> names(newPairs + 1);
        for (int i = 1; i <= oldCount; ++i) {
            const int ni = newAreaOf[static_cast<size_t>(i)];
            if (ni < 1 || ni > newCount)
                continue;
            const auto from = static_cast<size_t>((i - 1) * oldCount);
            const auto to = static_cast<size_t>((ni - 1) * newCount);
            for (int j = 1; j <= oldCount; ++j) {
                const int nj = newAreaOf[static_cast<size_t>(j)];
                if (nj < 1 || nj > newCount)
                    continue;
                const size_t k = from + static_cast<size_t>(j);
                const size_t nk = to + static_cast<size_t>(nj);
                distance[nk] = std::move(d.distance[k]);
                numbers[nk] = std::move(d.pairNumbers[k]);
                names[nk] = std::move(d.pairNames[k]);
                if (!d.weight[k].isUnset())
                    weight[nk] = std::move(d.weight[k]);
            }
        }
        for (size_t k = 1; k <= newPairs; ++k) {
            d.distance[k] = std::move(distance[k]);
            d.weight[k] = std::move(weight[k]);
            d.pairNumbers[k] = std::move(numbers[k]);
            d.pairNames[k] = std::move(names[k]);
        }
    }
    emptyBeyond(d.distance, newPairs, QString());
    emptyBeyond(d.weight, newPairs, FieldValue());
    emptyBeyond(d.pairNumbers, newPairs, QString());
    emptyBeyond(d.pairNames, newPairs, QString());
    d.listedCount = newCount;
}

void movePairsToCount(ProjectState& state, int newCount)
{
    const int oldCount = pairLayoutCount(state);
    std::vector<int> same(static_cast<size_t>(oldCount + 1));
    std::iota(same.begin(), same.end(), 0);
    movePairs(state, oldCount, newCount, same);
}

void labelPairs(ProjectState& state)
{
    const AreaTable& areas = state.areas;
    DistanceTable& pairs = state.distances;
    const int count = pairLayoutCount(state);
    // Each area's number and name are written once, not once per pair.
    std::vector<QString> numbers(static_cast<size_t>(count + 1));
    std::vector<QString> names(static_cast<size_t>(count + 1));
    for (int a = 1; a <= count; ++a) {
        numbers[static_cast<size_t>(a)] = numberText(a);
        names[static_cast<size_t>(a)] = areas.name[static_cast<size_t>(a)];
    }
    // A label already right (moved with its pair, or written before) is compared without
    // building the new one: only the labels of new pairs or renamed areas are written.
    auto holds = [](const QString& held, const QString& start, const QString& end) {
        return held.size() == start.size() + end.size() && held.startsWith(start) &&
               QStringView(held).sliced(start.size()) == end;
    };
    const QChar minus = QLatin1Char('-');
    for (int i = 1; i <= count; ++i) {
        const QString originNumber = numbers[static_cast<size_t>(i)] + minus;
        const QString originName = names[static_cast<size_t>(i)] + minus;
        for (int j = 1; j <= count; ++j) {
            const auto k = static_cast<size_t>(pairIndex(i, j, count));
            const QString& number = numbers[static_cast<size_t>(j)];
            const QString& name = names[static_cast<size_t>(j)];
            if (!holds(pairs.pairNumbers[k], originNumber, number))
                pairs.pairNumbers[k] = originNumber + number;
            if (!holds(pairs.pairNames[k], originName, name))
                pairs.pairNames[k] = originName + name;
        }
    }
}

bool removeArea(ProjectState& state, int area)
{
    if (area < 1 || area > kMaxAreas)
        return false;
    const int layout = pairLayoutCount(state);
    AreaTable& areas = state.areas;
    for (int a = area; a < kMaxAreas; ++a) {
        const auto at = static_cast<size_t>(a);
        areas.name[at] = std::move(areas.name[at + 1]);
        areas.origin[at] = std::move(areas.origin[at + 1]);
        areas.destination[at] = std::move(areas.destination[at + 1]);
    }
    areas.name[kMaxAreas] = QString();
    areas.origin[kMaxAreas] = QString();
    areas.destination[kMaxAreas] = QString();
    areas.count = recount(areas);

    if (area <= layout) {
        std::vector<int> newAreaOf(static_cast<size_t>(layout + 1));
        for (int a = 1; a <= layout; ++a)
            newAreaOf[static_cast<size_t>(a)] = a < area ? a : a == area ? 0 : a - 1;
        movePairs(state, layout, layout - 1, newAreaOf);
        labelPairs(state);
    }
    return true;
}

bool insertArea(ProjectState& state, int area)
{
    AreaTable& areas = state.areas;
    if (area < 1 || area > kMaxAreas || !areas.name[kMaxAreas].isEmpty() ||
        !areas.origin[kMaxAreas].trimmed().isEmpty() || !areas.destination[kMaxAreas].isEmpty())
        return false;
    const int layout = pairLayoutCount(state);
    if (area <= layout && layout == kMaxAreas)
        return false;
    for (int a = kMaxAreas; a > area; --a) {
        const auto at = static_cast<size_t>(a);
        areas.name[at] = std::move(areas.name[at - 1]);
        areas.origin[at] = std::move(areas.origin[at - 1]);
        areas.destination[at] = std::move(areas.destination[at - 1]);
    }
    const auto at = static_cast<size_t>(area);
    areas.name[at] = QString();
    areas.origin[at] = QString();
    areas.destination[at] = QString();
    areas.count = recount(areas);

    if (area <= layout) {
        std::vector<int> newAreaOf(static_cast<size_t>(layout + 1));
        for (int a = 1; a <= layout; ++a)
            newAreaOf[static_cast<size_t>(a)] = a < area ? a : a + 1;
        movePairs(state, layout, layout + 1, newAreaOf);
        labelPairs(state);
    }
    return true;
}

} // namespace urbaflux
