#include "tablegeometry.h"

#include <algorithm>
#include <numeric>

namespace urbaflux {

namespace {

// Average advance of a character of Century Gothic, a wide face, in ems.
constexpr double kAverageCharacterEm = 0.56;
// Tables longer than this are judged on a sample: the widths of 32,401 rows of pair labels are
// those of their first few thousand.
constexpr int kSampledRows = 4000;

int longestWord(const QString& text)
{
    int longest = 0;
    int current = 0;
    for (const QChar c : text) {
        if (c.isSpace()) {
            current = 0;
        } else {
            longest = std::max(longest, ++current);
        }
    }
    return longest;
}

} // namespace

std::vector<double> columnWidths(const Table& table, double textWidth)
{
    const auto columns = static_cast<size_t>(std::max(table.columns, 0));
    std::vector<double> widths(columns, 0.0);
    if (columns == 0)
        return widths;

    const double em = table.fontSize * kAverageCharacterEm;
    const int firstDataRow = table.headingRow ? 1 : 0;
    const int lastRow = std::min(table.rows, firstDataRow + kSampledRows);
    for (size_t column = 0; column < columns; ++column) {
        int characters = 2;
        for (int row = firstDataRow; row < lastRow; ++row)
            characters = std::max(
                characters, static_cast<int>(table.cell(row, static_cast<int>(column)).size()));
        // A heading may wrap between words, but no word should be cut; a long text wraps too.
        if (table.headingRow && table.rows > 0)
            characters =
                std::max(characters, longestWord(table.cell(0, static_cast<int>(column))) + 1);
        characters = std::min(characters, 60);
        widths[column] = characters * em + 2 * kCellPaddingPoints;
    }
    const double total = std::accumulate(widths.begin(), widths.end(), 0.0);
    for (double& width : widths)
        width = width / total * textWidth;
    return widths;
}

} // namespace urbaflux
