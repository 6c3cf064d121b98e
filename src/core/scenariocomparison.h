#pragma once

// What a plan changes: the current elaboration (the project) against a saved one (the base),
// both already computed, area by area and pair by pair. A plain function of the two states,
// shared by the comparison window, the report's section, the batch tool, tests and benchmarks.
//
// Both must describe the same areas in the same order (same count and names): otherwise the
// comparison lists the differences and compares nothing. A base with another model or alpha is
// compared all the same, and the heading says so. A percent change is empty when the base value
// is 0: a change from nothing is no percentage, and infinity helps nobody.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace urbaflux {

struct ProjectState;

struct ValueChange
{
    double base = 0.0;
    double project = 0.0;
    double difference = 0.0;       // project - base
    std::optional<double> percent; // 100 x difference / base; empty when base is 0

    static ValueChange of(double base, double project);
};

struct AreaChange
{
    int number = 0;
    QString name;
    ValueChange origins;      // estimated origins
    ValueChange destinations; // estimated destinations
};

struct PairChange
{
    int pair = 0;
    int origin = 0;
    int destination = 0;
    ValueChange interaction; // the unrounded matrix value
};

struct ScenarioComparison
{
    // Why the two cannot be compared, one line each; empty when they can.
    QStringList refusal;
    // "base: modello ..., alfa ..." when the base's model or alpha differs; empty otherwise.
    QString baseNote;
    // The base's model label and alpha as typed, for the sentences that name the base.
    QString baseModel;
    QString baseAlpha;
    std::vector<AreaChange> areas; // by area number
    std::vector<PairChange> pairs; // by pair number, pairs of an area with itself included

    bool comparable() const { return refusal.isEmpty(); }
};

// The base's model and alpha as the heading gives them: "base: modello 'origine vincolata',
// alfa 2".
QString baseModelNote(const ProjectState& base);

ScenarioComparison compareScenarios(const ProjectState& base, const ProjectState& project);

// The values by pair (1 to N², position 0 unused) of the pair differences, for the map.
std::vector<double> pairDifferences(const ScenarioComparison& comparison);

// The areas ranked by the change of their estimated origins: the `limit` largest increases
// (largest first) followed by the `limit` largest decreases (largest last), zero changes left
// out, as the diverging chart draws them from top to bottom.
std::vector<AreaChange> largestAreaChanges(const ScenarioComparison& comparison, int limit);

} // namespace urbaflux
