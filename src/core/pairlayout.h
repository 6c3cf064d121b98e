#pragma once

// Where each pair's distance and weight stands when the number of areas changes. The pairs are
// laid out origin by origin for the N of DistanceTable::listedCount; a change of N, or an area
// taken out of the middle, moves every distance and weight to the position of the same origin
// and destination in the new layout, in one pass over the pairs. The calculation, the archives
// and the printouts then read each pair where pairIndex puts it.

#include "projectstate.h"

#include <vector>

namespace urbaflux {

// The N the present pairs are laid out for: listedCount, or count (clamped to 0..180) while
// no pair list was built.
int pairLayoutCount(const ProjectState& state);

// Moves the pairs from the layout of oldCount areas to that of newCount areas. newAreaOf[a]
// (a = 1 to oldCount; index 0 unused) is the number area a has afterwards, 0 when it is gone.
// A pair whose two areas remain keeps its distance and weight (a weight never set becomes 100);
// every other pair of the new layout starts with an empty distance and the weight 100; pair
// numbers, names, distances and weights beyond newCount * newCount are emptied. The labels
// are not written here (labelPairs). Sets listedCount to newCount.
void movePairs(ProjectState& state, int oldCount, int newCount, const std::vector<int>& newAreaOf);

// The same areas, their number now newCount: areas 1 to min(old, new) keep their number.
void movePairsToCount(ProjectState& state, int newCount);

// Writes pair numbers " i- j" and names "origin-destination" of the pairs 1 to N*N of the
// present layout from the area names.
void labelPairs(ProjectState& state);

// Takes area `area` (1 to 180) out of the table: the following areas move up one position,
// position 180 is emptied and count is recounted; the pairs of the area go with it and those
// of the areas after it follow them, labels included. False, with nothing changed, for a
// position outside 1 to 180.
bool removeArea(ProjectState& state, int area);

// Makes room for a new area at `area`: the areas from there move down one position and the new
// pairs start empty with the weight 100. False, with nothing changed, when position 180 holds
// data (it would be pushed out) or the position is outside 1 to 180.
bool insertArea(ProjectState& state, int area);

} // namespace urbaflux
