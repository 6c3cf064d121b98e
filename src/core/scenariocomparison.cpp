#include "scenariocomparison.h"

#include "projectstate.h"

#include <QtGlobal>
#include <algorithm>

namespace urbaflux {

namespace {

// How many differing names the refusal lists: enough to find the mistake, short enough to read.
constexpr int kNamesListed = 5;

QString numberOf(int i)
{
    return QString::number(i);
}

} // namespace

ValueChange ValueChange::of(double base, double project)
{
    ValueChange change;
    change.base = base;
    change.project = project;
    change.difference = project - base;
    if (base != 0.0)
        change.percent = 100.0 * change.difference / base;
    return change;
}

QString baseModelNote(const ProjectState& base)
{
    return QStringLiteral("base: modello %1, alfa %2")
        .arg(base.model.kindLabel, base.model.alpha.displayText());
}

ScenarioComparison compareScenarios(const ProjectState& base, const ProjectState& project)
{
    ScenarioComparison result;
    result.baseModel = base.model.kindLabel;
    result.baseAlpha = base.model.alpha.displayText();
    const int nb = base.areas.count;
    const int np = project.areas.count;
    if (nb < 0 || nb > kMaxAreas || np < 0 || np > kMaxAreas) {
        result.refusal << QStringLiteral("numero di aree non valido (base %1, progetto %2)")
                              .arg(numberOf(nb), numberOf(np));
        return result;
    }
    if (nb != np)
        result.refusal << QStringLiteral("numero di aree diverso: base %1, progetto %2")
                              .arg(numberOf(nb), numberOf(np));
    int listed = 0;
    int unlisted = 0;
    for (int i = 1; i <= std::min(nb, np); ++i) {
        const QString& a = base.areas.name[static_cast<size_t>(i)];
        const QString& b = project.areas.name[static_cast<size_t>(i)];
        if (a.trimmed() == b.trimmed())
            continue;
        if (listed < kNamesListed) {
            result.refusal << QStringLiteral("area %1: \"%2\" nella base, \"%3\" nel progetto")
                                  .arg(numberOf(i), a, b);
            ++listed;
        } else {
            ++unlisted;
        }
    }
    if (unlisted > 0)
        result.refusal << QStringLiteral("e altri %1 nomi diversi").arg(numberOf(unlisted));
    if (!result.refusal.isEmpty())
        return result;

    if (base.model.kind != project.model.kind || !(base.model.alpha == project.model.alpha))
        result.baseNote = baseModelNote(base);

    const int n = np;
    result.areas.reserve(static_cast<size_t>(n));
    for (int i = 1; i <= n; ++i) {
        const auto at = static_cast<size_t>(i);
        result.areas.push_back({i, project.areas.name[at],
                                ValueChange::of(base.interactions.estimatedOrigins[at],
                                                project.interactions.estimatedOrigins[at]),
                                ValueChange::of(base.interactions.estimatedDestinations[at],
                                                project.interactions.estimatedDestinations[at])});
    }
    result.pairs.reserve(static_cast<size_t>(n) * static_cast<size_t>(n));
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            result.pairs.push_back({pairIndex(i, j, n), i, j,
                                    ValueChange::of(base.interactions.matrix(i, j),
                                                    project.interactions.matrix(i, j))});
    return result;
}

std::vector<double> pairDifferences(const ScenarioComparison& comparison)
{
    std::vector<double> values(comparison.pairs.size() + 1);
    for (const PairChange& pair : comparison.pairs)
        values[static_cast<size_t>(pair.pair)] = pair.interaction.difference;
    return values;
}

std::vector<AreaChange> largestAreaChanges(const ScenarioComparison& comparison, int limit)
{
    std::vector<AreaChange> up;
    std::vector<AreaChange> down;
    for (const AreaChange& area : comparison.areas) {
        if (area.origins.difference > 0)
            up.push_back(area);
        else if (area.origins.difference < 0)
            down.push_back(area);
    }
    const auto larger = [](const AreaChange& a, const AreaChange& b) {
        return a.origins.difference > b.origins.difference;
    };
    std::stable_sort(up.begin(), up.end(), larger);
    std::stable_sort(down.begin(), down.end(), larger);
    const auto keep = static_cast<size_t>(std::max(0, limit));
    if (up.size() > keep)
        up.resize(keep);
    if (down.size() > keep)
        down.erase(down.begin(), down.end() - static_cast<std::ptrdiff_t>(keep));
    up.insert(up.end(), down.begin(), down.end());
    return up;
}

} // namespace urbaflux
