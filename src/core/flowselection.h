#pragma once

// The flows a flow map draws: the N largest interactions between different areas, chosen from
// plain values by pair so that the charts window, the report, the comparison's map of
// differences, the batch tool, tests and benchmarks share one rule.
//
// The flows come smallest first, the order they are painted in, so that the largest lie on top
// (Jenny et al. 2017, "Design principles for origin-destination flow maps", Cartography and
// Geographic Information Science 45(1): larger flows drawn above smaller ones). A pair of an
// area with itself is no flow between areas and never drawn; a pair whose value is 0 (or not a
// number) carries nothing and gets no arrow. Values are ranked by magnitude, so that a map of
// differences shows the largest gains and losses alike.

#include <QString>
#include <vector>

namespace urbaflux {

struct ProjectState;

inline constexpr int kDefaultMapFlows = 20;
inline constexpr int kMinMapFlows = 5;
inline constexpr int kMaxMapFlows = 200;

struct Flow
{
    int origin = 0;      // area number, 1 to N
    int destination = 0; // area number, 1 to N, never the origin
    int pair = 0;        // pairIndex(origin, destination, N)
    double value = 0.0;  // the interaction (or the change of it); never 0

    friend bool operator==(const Flow&, const Flow&) = default;
};

struct FlowSelection
{
    std::vector<Flow> flows;            // ascending by magnitude: the drawing order
    double shownMagnitude = 0.0;        // sum of |value| over the flows chosen
    double betweenAreasMagnitude = 0.0; // sum of |value| over every pair of different areas

    // The share of the flows shown among all flows between different areas, in percent; 0 when
    // there are none.
    double sharePercent() const;
};

// The `limit` largest values by magnitude among the pairs of `count` areas; values[k] is the
// value of pair k (1 to count², position 0 unused). Among equal magnitudes the pair that comes
// later in pair order ranks higher, as the charts rank them.
FlowSelection selectLargestFlows(const std::vector<double>& values, int count, int limit);

// The same over the state's computed pair interactions.
FlowSelection selectLargestFlows(const ProjectState& state, int limit);

// The map's caption: "Le N relazioni mostrate sono il X% delle interazioni tra aree diverse",
// X with one decimal and a decimal comma.
QString flowMapCaption(const FlowSelection& selection);

// A limit the user typed, kept within 5 to 200.
int boundedFlowLimit(int limit);

} // namespace urbaflux
