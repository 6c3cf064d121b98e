#pragma once

// The word-processor document every printout builds: plain data, cheap to build even for a
// table of 32,401 rows. DocumentWriter fills it; the DOCX exporter and the pager read it.
//
// A document is a sequence of blocks, each a paragraph or a table. The last block is always a
// paragraph: the insertion point sits at its end, as in a word processor, where a table is
// always followed by a paragraph mark. A paragraph holds runs: pieces of text in one font and
// size, inline pictures, and page-count fields (whose text is the count known when the
// document was built, and which a word processor recomputes).

#include <QByteArray>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <variant>
#include <vector>

namespace urbaflux {

enum class Alignment
{
    Left,
    Justify,
    Right,
    Center
};

struct Run
{
    enum class Kind
    {
        Text,
        Picture,
        PageCount
    };
    Kind kind = Kind::Text;
    QString text;        // Text: the characters; PageCount: the count as last known
    QString font;        // family name as the document states it ("Century Gothic")
    double size = 12.0;  // points
    QString picturePath; // Picture: the file the picture was read from
    // Picture: the file's bytes as they were when inserted (the chart file is rewritten by
    // later printouts) and their format ("png", "jpeg", "gif", "bmp").
    QByteArray pictureData;
    QByteArray pictureFormat;
    QSizeF pictureSize; // Picture: shown size in points
};

struct Paragraph
{
    std::vector<Run> runs;
    Alignment alignment = Alignment::Left;
    bool pageBreakBefore = false;
    // Stays on the page of the paragraph that follows (a heading, the lines of the closing
    // block): the pager moves it to the next page rather than leave it at the foot of one.
    bool keepWithNext = false;
    // Font and size of the paragraph mark: they give an empty paragraph its height.
    QString markFont;
    double markSize = 12.0;

    // Text of the text and page-count runs, pictures left out.
    QString text() const;
    bool isEmpty() const { return runs.empty(); }
};

struct Table
{
    int rows = 0;
    int columns = 0;
    std::vector<QString> cells; // row-major, rows * columns
    QString font;
    double fontSize = 10.0;
    // Set by FormatTable: the coloured style with a shaded heading row and banded rows.
    bool styled = false;
    // The first row is a heading: repeated at the top of every page the table runs onto.
    bool headingRow = false;
    std::vector<Alignment> columnAlignment; // one per column
    // Its last rows stay on the page of the paragraph that follows (the closing block).
    bool keepWithNext = false;

    // Rows and columns count from 0 here; DocumentWriter takes them from 1.
    const QString& cell(int row, int column) const
    {
        return cells[static_cast<size_t>(row) * static_cast<size_t>(columns) +
                     static_cast<size_t>(column)];
    }
    QString& cell(int row, int column)
    {
        return cells[static_cast<size_t>(row) * static_cast<size_t>(columns) +
                     static_cast<size_t>(column)];
    }
    QStringList rowTexts(int row) const;
};

using Block = std::variant<Paragraph, Table>;

// A4 portrait with the margins of a word processor's default page, in points.
struct PageSetup
{
    double width = 595.3;      // 210 mm
    double height = 841.9;     // 297 mm
    double marginLeft = 56.7;  // 2 cm
    double marginRight = 56.7; // 2 cm
    double marginTop = 70.9;   // 2.5 cm
    double marginBottom = 56.7;

    double textWidth() const { return width - marginLeft - marginRight; }
    double textHeight() const { return height - marginTop - marginBottom; }
};

class Document
{
public:
    Document();

    const std::vector<Block>& blocks() const { return m_blocks; }
    std::vector<Block>& blocks() { return m_blocks; }
    const PageSetup& pageSetup() const { return m_page; }

    // The first non-empty line of text: the viewer's title.
    QString title() const;
    // Texts of every paragraph outside tables, in order (empty paragraphs included).
    QStringList paragraphTexts() const;
    // Tables in document order; index 0 is the first table.
    std::vector<const Table*> tables() const;
    int tableCount() const;

    // The paragraph at the insertion point (always the last block).
    Paragraph& lastParagraph();
    const Paragraph& lastParagraph() const;

private:
    std::vector<Block> m_blocks;
    PageSetup m_page;
};

} // namespace urbaflux
