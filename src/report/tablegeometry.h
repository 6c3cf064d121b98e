#pragma once

// Column widths of a table, shared by the DOCX exporter and the pager so that both renderings
// break cells alike. Word processors fit an auto-formatted table to its contents; we estimate
// the contents' widths from their lengths (no font needed, so a batch export needs no display)
// and spread the table over the text width.

#include "document.h"

#include <vector>

namespace urbaflux {

// Blank space left and right of a cell's text, in points (a word processor's default).
inline constexpr double kCellPaddingPoints = 5.4;

// One width per column, in points, summing to textWidth.
std::vector<double> columnWidths(const Table& table, double textWidth);

} // namespace urbaflux
