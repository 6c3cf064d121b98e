#pragma once

// The 20 main gravitations of an elaboration: the largest pair interactions, in decreasing
// order, as the charts window draws them and the report pictures them. Selection is a plain
// function of the project state, so that the window, the report, tests and benchmarks share it.
//
// Slot r holds the r-th largest interaction among the N² pairs; among equal interactions the
// pair that comes later in pair order is taken first, as the program always ranked them. A slot
// without a pair (fewer than 20 pairs) has pair 0, an empty label and value 0.

#include <QString>
#include <array>

namespace urbaflux {

struct ProjectState;

inline constexpr int kChartSlots = 20;

struct ChartSlot
{
    int pair = 0;  // pair number (1 to N²) shown in the slot; 0: empty slot
    QString label; // the pair's numbers as the distances grid shows them (" 117- 180")
    double value = 0;
    int percent = 0; // whole percent of the total interactions
    QString names;   // "origin → destination", the areas' names; empty for an empty slot
};

struct ChartSlots
{
    std::array<ChartSlot, kChartSlots> slots; // slots[r - 1] is slot r
    double total = 0;                         // totalInteractions when they were selected
};

// The 20 largest interactions of the state's pairs. When the total of the interactions is 0
// (never computed) no share can be given: every slot stays empty; see hasChartResults.
ChartSlots selectChartSlots(const ProjectState& state);

// Whether the slots come from computed interactions (a total other than 0).
bool hasChartResults(const ChartSlots& slots);

// Whether any slot holds a pair: the chart shows something.
bool hasChartPairs(const ChartSlots& slots);

// The integer part of 0.5 + 100 x value / totalInteractions; 0 when that is not a number.
int slotPercent(double value, double totalInteractions);

// The label of a slot in a pie: the pair numbers, two blanks, the percent with its leading
// blank and "%" (" 1- 2   35%"); an empty slot shows "   0%".
QString pieSlotLabel(const ChartSlot& slot);

// The row of a slot in the pie's legend: the relation by its areas' names (its pair numbers
// when the areas have no names), two blanks and the percent ("Centro → Stazione  35%").
QString pieLegendLabel(const ChartSlot& slot);

// The line under the pie that says how much of the total the slots shown make: "le 20
// relazioni principali sono il 75% del totale".
QString pieShareText(const ChartSlots& slots);

} // namespace urbaflux
