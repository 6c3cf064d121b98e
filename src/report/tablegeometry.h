#pragma once

// The geometry every rendering of a table shares: the pager (viewer, PDF, page count), the DOCX
// and the ODT exporters. Word processors are told it explicitly (column widths, the line
// height, the lines each row takes, rows that never split, pieces that end at page ends), so
// that LibreOffice and Word put the same rows on the same pages as the program's own pages.
//
// Widths come from the widest text of every row, measured with the widest of the faces a
// reader may draw "Century Gothic" with, with slack for a word processor's rounding: numbers,
// pair labels and heading words never break; long names wrap between words, where the program
// breaks them. All lengths are points, rounded to twentieths (the DOCX unit) so that the exporters
// state exactly what the pager uses.

#include "document.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

namespace urbaflux {

// Blank space left and right of a cell's text, in points (a word processor's default).
inline constexpr double kCellPaddingPoints = 5.4;
// Blank space above and below a cell's text: rows that breathe.
inline constexpr double kCellVerticalPaddingPoints = 1.5;
// Width of the rule between two rows (a word processor's thinnest, half a point). LibreOffice
// adds it to each row's height; stating rows that tall makes every reader agree.
inline constexpr double kCellBorderPoints = 0.5;
// Height of the tiny paragraph that separates two pieces of one long table, at the top of the
// page the second piece starts (a word processor would otherwise join the two tables).
inline constexpr double kTablePieceGapPoints = 1.0;
// What a page of table rows leaves unused at its foot, so that a word processor's rounding of
// borders and heights never pushes the last row of a piece onto the next page.
inline constexpr double kTablePageSlackPoints = 4.0;

// A word processor's rounding of advances and widths: measured text is given this much more.
inline constexpr double kWidthSlackFactor = 1.02;
inline constexpr double kWidthSlackPoints = 1.0;
// No table leaves fewer rows than this at the foot of a page, nor starts a page with fewer.
inline constexpr int kMinimumTableRows = 3;

// Points rounded to twentieths of a point.
double roundToTwips(double points);

// Height of one line of text in that font and size, as word processors space a single line of
// Century Gothic, rounded to twips. Documents state it as exact line spacing.
double lineHeightPoints(const QString& family, double size);

// Height of every line of a paragraph without pictures: that of its largest text (of its mark
// when it is empty). Documents state it as exact line spacing.
double paragraphLineHeight(const Paragraph& paragraph);
bool hasPicture(const Paragraph& paragraph);

// The faces a reader may draw a document font with: the font itself (for "Century Gothic",
// URW Gothic, its metric twin) and the fallbacks most systems draw a missing font with, DejaVu
// Sans and Liberation Sans.
QStringList readerFaces(const QString& documentFamily);

// Width of a text as the widest of the reader faces draws it: every character takes its widest
// advance (no kerning, which only ever narrows a text). A face that is installed is measured;
// one that is not, or every face when there is no display server, is read from the table of
// advances in fontadvances.cpp. So a text the program fits in a width fits in every reader.
class TextMeasure
{
public:
    TextMeasure(const QString& family, double size, bool bold);
    ~TextMeasure();
    double width(QStringView text) const;
    double advance(char16_t c) const;
    // Lines of `text` in a column of that inner width, broken between words only (a word
    // wider than the column stands on a line of its own). Every line but the last keeps the
    // blank it was broken at, so that the lines joined give the text back.
    std::vector<QString> lines(const QString& text, double innerWidth) const;
    int lineCount(const QString& text, double innerWidth) const;

private:
    struct Face;
    double m_size;
    std::vector<std::shared_ptr<Face>> m_faces;
    mutable std::vector<double> m_latin; // advances of U+0000 to U+00FF, -1 until measured
};

struct TableGeometry
{
    std::vector<double> columnWidths;   // points, twip-rounded, summing to the text width
    double lineHeight = 0;              // points, twip-rounded
    std::vector<std::uint8_t> rowLines; // lines of the tallest cell of each row
    // The width a cell's text is broken at: the column's inner width less a little slack, so
    // that a word processor, breaking at the full inner width, never needs more lines.
    std::vector<double> breakWidths;
    // How the body rows and the heading row are measured.
    std::shared_ptr<const TextMeasure> body;
    std::shared_ptr<const TextMeasure> heading;

    // The lines the program breaks a cell into; documents state them with line breaks, so
    // that no reader breaks them again.
    std::vector<QString> cellLines(const Table& table, int row, int column) const;

    double rowHeight(int row) const
    {
        return roundToTwips(rowLines[static_cast<size_t>(row)] * lineHeight +
                            2 * kCellVerticalPaddingPoints + kCellBorderPoints);
    }
};

// Whether the table's first row is drawn bold (the coloured style's heading).
bool boldHeading(const Table& table);

TableGeometry tableGeometry(const Table& table, double textWidth);

// One width per column, in points, summing to textWidth.
std::vector<double> columnWidths(const Table& table, double textWidth);

} // namespace urbaflux
