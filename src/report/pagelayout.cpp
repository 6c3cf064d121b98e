#include "pagelayout.h"

#include "tablegeometry.h"

#include <safefile.h>

#include <QDir>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextLayout>

#include <cmath>
#include <map>

namespace urbaflux {

namespace {

// Text is laid out with fonts sized in twentieths of a point: pixel sizes must be whole, and
// at this scale the metrics are the face's own, free of hinting.
constexpr double kTextScale = 20.0;

// Century Gothic's ascent (its Windows ascent, 2060 units of 2048): URW Gothic has the same
// advances but other vertical metrics, and documents state Century Gothic's line height.
constexpr double kGothicAscentFactor = 2060.0 / 2048.0;

const QColor kHeadingFill(0x1F, 0x4E, 0x79);
const QColor kBandFill(0xDC, 0xE8, 0xF4);
const QColor kBorderColour(0x5B, 0x8D, 0xB8);

bool isGothic(const QString& family)
{
    return family.compare(QStringLiteral("Century Gothic"), Qt::CaseInsensitive) == 0;
}

struct FontKey
{
    QString family;
    int pixels;
    bool bold;
    bool operator==(const FontKey& other) const
    {
        return pixels == other.pixels && bold == other.bold && family == other.family;
    }
};

size_t qHash(const FontKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.family, key.pixels, key.bold);
}

struct Fonts
{
    QHash<FontKey, QFont> fonts;
    QHash<FontKey, std::shared_ptr<QFontMetricsF>> metrics;

    QFont font(const QString& family, double size, bool bold = false)
    {
        const FontKey key{family, std::max(1, static_cast<int>(std::lround(size * kTextScale))),
                          bold};
        auto found = fonts.constFind(key);
        if (found != fonts.constEnd())
            return *found;
        QFont font(PageLayout::drawingFamily(family));
        font.setPixelSize(key.pixels);
        font.setBold(bold);
        font.setHintingPreference(QFont::PreferNoHinting);
        font.setKerning(true);
        fonts.insert(key, font);
        return font;
    }
    const QFontMetricsF& fontMetrics(const QString& family, double size, bool bold = false)
    {
        const FontKey key{family, std::max(1, static_cast<int>(std::lround(size * kTextScale))),
                          bold};
        auto found = metrics.constFind(key);
        if (found == metrics.constEnd())
            found = metrics.insert(key, std::make_shared<QFontMetricsF>(font(family, size, bold)));
        return **found;
    }
    // Height of one line and the distance from its top to the baseline, in points.
    std::pair<double, double> line(const QString& family, double size)
    {
        if (isGothic(family) || family.isEmpty())
            return {lineHeightPoints(family, size), size * kGothicAscentFactor};
        const QFontMetricsF& m = fontMetrics(family, size);
        return {m.lineSpacing() / kTextScale, m.ascent() / kTextScale};
    }
};

// Where a page starts: a block, and a line of a paragraph or a row of a table.
struct Position
{
    int block = 0;
    int item = 0;
};

// A paragraph cut into lines: text lines (from QTextLayout) and pictures on lines of their own.
struct ParagraphLines
{
    struct Line
    {
        double height = 0;
        double ascent = 0;
        int layout = -1; // index in layouts; -1 for a picture line or an empty paragraph
        int line = 0;    // line of that layout
        const Run* picture = nullptr;
    };
    std::vector<std::unique_ptr<QTextLayout>> layouts;
    std::vector<Line> lines;
};

QTextOption::WrapMode wrapMode()
{
    return QTextOption::WrapAtWordBoundaryOrAnywhere;
}

Qt::Alignment qtAlignment(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Justify:
        return Qt::AlignJustify;
    case Alignment::Right:
        return Qt::AlignRight;
    case Alignment::Center:
        return Qt::AlignHCenter;
    case Alignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

} // namespace

struct PageLayout::Private
{
    const Document* document = nullptr;
    std::vector<Position> pages; // start of every page found so far
    Position next;               // start of the page not yet laid out
    bool complete = false;
    mutable Fonts fonts;
    mutable std::map<int, TableGeometry> tableGeometries;
    // Height each paragraph takes on its page, by block; -1 until laid out.
    mutable std::vector<double> paragraphHeights;
    mutable std::map<std::pair<QString, double>, std::unique_ptr<TextMeasure>> measures;

    const TextMeasure& measure(const QString& family, double size) const
    {
        auto& slot = measures[{family, size}];
        if (!slot)
            slot = std::make_unique<TextMeasure>(family, size, false);
        return *slot;
    }

    // Lines of a paragraph's text as the widest reader face breaks it at the text width,
    // between words: readers that draw it wider still find room for every line.
    int readerLineCount(const Paragraph& paragraph) const
    {
        const double width =
            (document->pageSetup().textWidth() - kWidthSlackPoints) / kWidthSlackFactor;
        int lines = 1;
        double line = -1;  // width of the line so far; -1 before its first word
        double word = 0;   // width of the word being read
        double blanks = 0; // width of the blanks before it
        auto place = [&] {
            if (word <= 0)
                return;
            if (line < 0) {
                line = word;
            } else if (line + blanks + word <= width) {
                line += blanks + word;
            } else {
                ++lines;
                line = word;
            }
            // A word wider than the line is broken anywhere.
            while (line > width) {
                ++lines;
                line -= width;
            }
            word = 0;
            blanks = 0;
        };
        for (const Run& run : paragraph.runs) {
            if (run.kind == Run::Kind::Picture)
                continue;
            const TextMeasure& m = measure(run.font, run.size);
            for (const QChar c : run.text) {
                if (c == QChar(32) || c == QChar(9)) {
                    place();
                    blanks += m.advance(32);
                } else {
                    word += m.advance(c.unicode());
                }
            }
        }
        place();
        return lines;
    }

    // The height a paragraph takes: its lines as drawn here, and room for the lines a wider
    // reader face needs.
    double paragraphHeight(int block) const
    {
        if (paragraphHeights.empty())
            paragraphHeights.assign(document->blocks().size(), -1.0);
        double& height = paragraphHeights[static_cast<size_t>(block)];
        if (height >= 0)
            return height;
        const auto& paragraph = std::get<Paragraph>(document->blocks()[static_cast<size_t>(block)]);
        ParagraphLines lines;
        layoutParagraph(paragraph, lines);
        height = 0;
        for (const auto& line : lines.lines)
            height += line.height;
        height += extraLines(paragraph, lines) * lines.lines.back().height;
        return height;
    }

    int extraLines(const Paragraph& paragraph, const ParagraphLines& lines) const
    {
        if (paragraph.runs.empty() || hasPicture(paragraph))
            return 0;
        return std::max(0, readerLineCount(paragraph) - static_cast<int>(lines.lines.size()));
    }

    static int minimumRows(const Table& table)
    {
        return std::min(kMinimumTableRows, table.rows - (table.headingRow ? 1 : 0));
    }

    // What a table needs where it starts: its heading row and its first rows; a table too
    // short to leave enough rows on two pages needs all of them.
    double tableStartHeight(int block) const
    {
        const Table& table = std::get<Table>(document->blocks()[static_cast<size_t>(block)]);
        if (table.rows == 0)
            return 0;
        const TableGeometry& shape = geometry(block, table);
        const int firstData = table.headingRow ? 1 : 0;
        const int data = table.rows - firstData;
        const bool whole = data < 2 * kMinimumTableRows;
        const int rows = whole ? table.rows : firstData + minimumRows(table);
        double height = 0;
        for (int row = 0; row < rows; ++row)
            height += shape.rowHeight(row);
        // A short table that keeps with what follows takes that along.
        if (whole && keepsWithNext(block))
            height += keptHeight(block + 1);
        return height;
    }

    bool keepsWithNext(int block) const
    {
        const auto& blocks = document->blocks();
        return std::get<Table>(blocks[static_cast<size_t>(block)]).keepWithNext &&
               block + 1 < static_cast<int>(blocks.size()) &&
               std::holds_alternative<Paragraph>(blocks[static_cast<size_t>(block) + 1]);
    }

    // The height of the paragraph at `block` with what it keeps with: the paragraphs after it
    // while each keeps with the next, then the first of the rest (the start of a table).
    double keptHeight(int block) const
    {
        const auto& blocks = document->blocks();
        double height = 0;
        for (size_t index = static_cast<size_t>(block); index < blocks.size(); ++index) {
            const auto* paragraph = std::get_if<Paragraph>(&blocks[index]);
            if (!paragraph) // a table keeps the slack at the foot of its pages
                return height + tableStartHeight(static_cast<int>(index)) +
                       kTablePageSlackPoints;
            if (paragraph->pageBreakBefore && static_cast<int>(index) != block)
                return height;
            height += paragraphHeight(static_cast<int>(index));
            if (!paragraph->keepWithNext)
                return height;
        }
        return height;
    }

    const TableGeometry& geometry(int block, const Table& table) const
    {
        auto found = tableGeometries.find(block);
        if (found == tableGeometries.end())
            found = tableGeometries
                        .emplace(block,
                                 urbaflux::tableGeometry(table, document->pageSetup().textWidth()))
                        .first;
        return found->second;
    }

    void layoutParagraph(const Paragraph& paragraph, ParagraphLines& out) const
    {
        const double width = document->pageSetup().textWidth();
        size_t index = 0;
        const auto& runs = paragraph.runs;
        if (runs.empty()) {
            const auto [height, ascent] = fonts.line(paragraph.markFont, paragraph.markSize);
            out.lines.push_back({height, ascent, -1, 0, nullptr});
            return;
        }
        while (index < runs.size()) {
            if (runs[index].kind == Run::Kind::Picture) {
                const Run& run = runs[index];
                out.lines.push_back(
                    {run.pictureSize.height(), run.pictureSize.height(), -1, 0, &run});
                ++index;
                continue;
            }
            QString text;
            QList<QTextLayout::FormatRange> formats;
            double height = 0;
            double ascent = 0;
            QFont first;
            for (; index < runs.size() && runs[index].kind != Run::Kind::Picture; ++index) {
                const Run& run = runs[index];
                QTextLayout::FormatRange range;
                range.start = static_cast<int>(text.size());
                range.length = static_cast<int>(run.text.size());
                range.format.setFont(fonts.font(run.font, run.size));
                if (range.start == 0)
                    first = range.format.font();
                formats << range;
                text += run.text;
                const auto [h, a] = fonts.line(run.font, run.size);
                height = std::max(height, h);
                ascent = std::max(ascent, a);
            }
            text.replace(QChar(9), QChar(32));
            auto layout = std::make_unique<QTextLayout>(text, first);
            QTextOption option(qtAlignment(paragraph.alignment));
            option.setWrapMode(wrapMode());
            layout->setTextOption(option);
            layout->setFormats(formats);
            layout->setCacheEnabled(true);
            layout->beginLayout();
            int lineNumber = 0;
            for (;;) {
                QTextLine line = layout->createLine();
                if (!line.isValid())
                    break;
                line.setLineWidth(width * kTextScale);
                out.lines.push_back(
                    {height, ascent, static_cast<int>(out.layouts.size()), lineNumber++, nullptr});
            }
            layout->endLayout();
            out.layouts.push_back(std::move(layout));
        }
    }

    // `band`: the row is one of the shaded ones; the banding starts again with every piece of
    // the table, as a word processor bands each of the tables it is cut into.
    void paintRow(QPainter& painter, int block, const Table& table, int row, double top,
                  double height, bool band) const
    {
        const double left = document->pageSetup().marginLeft;
        const bool heading = table.headingRow && row == 0;
        const bool shadedHeading = heading && table.styled;
        band = band && table.styled && !heading;
        const TableGeometry& shape = geometry(block, table);
        const std::vector<double>& columnWidth = shape.columnWidths;
        const QFontMetricsF& metrics = fonts.fontMetrics(table.font, table.fontSize, shadedHeading);
        const QFont font = fonts.font(table.font, table.fontSize, shadedHeading);
        const double lineHeight = shape.lineHeight;
        const double ascent = fonts.line(table.font, table.fontSize).second;

        double x = left;
        for (int column = 0; column < table.columns; ++column) {
            const double width = columnWidth[static_cast<size_t>(column)];
            const QRectF cell(x, top, width, height);
            if (shadedHeading)
                painter.fillRect(cell, kHeadingFill);
            else if (band)
                painter.fillRect(cell, kBandFill);
            const QString& text = table.cell(row, column);
            if (!text.isEmpty()) {
                const std::vector<QString> lines = shape.cellLines(table, row, column);
                painter.save();
                painter.scale(1 / kTextScale, 1 / kTextScale);
                painter.setFont(font);
                painter.setPen(shadedHeading ? QColor(Qt::white) : QColor(Qt::black));
                double baseline = top + kCellVerticalPaddingPoints + ascent;
                for (const QString& broken : lines) {
                    const QString line = broken.endsWith(QChar(32)) ? broken.chopped(1) : broken;
                    double start = x + kCellPaddingPoints;
                    if (table.columnAlignment[static_cast<size_t>(column)] == Alignment::Right)
                        start = x + width - kCellPaddingPoints -
                                metrics.horizontalAdvance(line) / kTextScale;
                    else if (table.columnAlignment[static_cast<size_t>(column)] ==
                             Alignment::Center)
                        start = x + (width - metrics.horizontalAdvance(line) / kTextScale) / 2;
                    painter.drawText(QPointF(start * kTextScale, baseline * kTextScale), line);
                    baseline += lineHeight;
                }
                painter.restore();
            }
            x += width;
        }
        // Borders last, so that the fills of neighbouring cells do not cover them.
        painter.save();
        QPen pen(table.styled ? kBorderColour : QColor(Qt::black));
        pen.setWidthF(0.5);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        x = left;
        for (int column = 0; column < table.columns; ++column) {
            painter.drawRect(QRectF(x, top, columnWidth[static_cast<size_t>(column)], height));
            x += columnWidth[static_cast<size_t>(column)];
        }
        painter.restore();
    }

    void paintLine(QPainter& painter, const ParagraphLines& lines, const ParagraphLines::Line& line,
                   Alignment alignment, double top) const
    {
        const double left = document->pageSetup().marginLeft;
        if (line.picture) {
            QImage image;
            image.loadFromData(line.picture->pictureData);
            double x = left;
            if (alignment == Alignment::Right)
                x = left + document->pageSetup().textWidth() - line.picture->pictureSize.width();
            else if (alignment == Alignment::Center)
                x = left +
                    (document->pageSetup().textWidth() - line.picture->pictureSize.width()) / 2;
            painter.drawImage(QRectF(QPointF(x, top), line.picture->pictureSize), image);
            return;
        }
        if (line.layout < 0)
            return;
        const QTextLayout& layout = *lines.layouts[static_cast<size_t>(line.layout)];
        const QTextLine textLine = layout.lineAt(line.line);
        painter.save();
        painter.scale(1 / kTextScale, 1 / kTextScale);
        painter.setPen(Qt::black);
        const double y = (top + line.ascent) * kTextScale - textLine.ascent() - textLine.y();
        textLine.draw(&painter, QPointF(left * kTextScale, y));
        painter.restore();
    }

    // Lays out one page from `start`, painting it when a painter is given. Returns where the
    // next page starts; block == blocks().size() when the document ends on this page.
    Position flow(Position start, QPainter* painter, int* budget) const
    {
        const auto& blocks = document->blocks();
        const PageSetup& page = document->pageSetup();
        const double available = page.textHeight();
        double y = 0;
        Position at = start;
        for (; at.block < static_cast<int>(blocks.size()); ++at.block, at.item = 0) {
            const Block& block = blocks[static_cast<size_t>(at.block)];
            if (const auto* paragraph = std::get_if<Paragraph>(&block)) {
                if (at.item == 0 && y > 0) {
                    if (paragraph->pageBreakBefore)
                        return at;
                    // A paragraph never splits, and one that keeps with the next (a heading)
                    // goes where that goes; only what is taller than a page is cut.
                    const double kept = keptHeight(at.block);
                    const double own = paragraphHeight(at.block);
                    if (y + (kept <= available ? kept : own) > available && own <= available)
                        return at;
                }
                ParagraphLines lines;
                layoutParagraph(*paragraph, lines);
                for (; at.item < static_cast<int>(lines.lines.size()); ++at.item) {
                    const auto& line = lines.lines[static_cast<size_t>(at.item)];
                    if (y > 0 && y + line.height > available)
                        return at;
                    if (painter)
                        paintLine(*painter, lines, line, paragraph->alignment, page.marginTop + y);
                    y += line.height;
                    --*budget;
                }
                y += extraLines(*paragraph, lines) * lines.lines.back().height;
                continue;
            }
            const Table& table = std::get<Table>(block);
            if (table.rows == 0)
                continue;
            const TableGeometry& shape = geometry(at.block, table);
            // Rows never split, and a page of rows keeps a little slack at its foot. A table
            // that starts a page (other than the first) is a new piece: the word processors
            // get a tiny separating paragraph with a page break before it, and the piece opens
            // with the heading row.
            const double limit = available - kTablePageSlackPoints;
            const bool startsPage = y == 0 && (at.block > 0 || at.item > 0);
            if (startsPage)
                y = kTablePieceGapPoints;
            const int firstData = table.headingRow ? 1 : 0;
            const int pieceFirst = at.item == 0 ? firstData : at.item; // where the banding starts
            if (at.item == 0) {
                // The heading row stays with the first rows below it.
                if (!startsPage && y > 0 && y + tableStartHeight(at.block) > limit)
                    return at;
            } else if (table.headingRow) {
                const double height = shape.rowHeight(0);
                if (painter)
                    paintRow(*painter, at.block, table, 0, page.marginTop + y, height, false);
                y += height;
            }
            const double floor = y; // what the page holds before any row of its own
            // The last rows never stand alone at the top of a page, and a table that keeps
            // with what follows (the closing block) takes them to that page.
            const int lastRun = table.rows - minimumRows(table);
            const bool keeps = keepsWithNext(at.block);
            for (; at.item < table.rows; ++at.item) {
                const double height = shape.rowHeight(at.item);
                if (y > floor && y + height > limit)
                    return at;
                if (y > floor && at.item == lastRun && lastRun > firstData) {
                    double rest = 0;
                    for (int row = lastRun; row < table.rows; ++row)
                        rest += shape.rowHeight(row);
                    const double tail = keeps ? keptHeight(at.block + 1) : 0;
                    if (y + rest > limit || (keeps && y + rest + tail > available))
                        return at;
                }
                if (painter)
                    paintRow(*painter, at.block, table, at.item, page.marginTop + y, height,
                             (at.item - pieceFirst) % 2 == 0);
                y += height;
                --*budget;
            }
        }
        return at;
    }
};

PageLayout::PageLayout(const Document& document) : d(std::make_unique<Private>())
{
    d->document = &document;
}

PageLayout::~PageLayout() = default;

bool PageLayout::paginateSome(int budget)
{
    const int blocks = static_cast<int>(d->document->blocks().size());
    while (!d->complete && budget > 0) {
        const Position start = d->next;
        const Position next = d->flow(start, nullptr, &budget);
        d->pages.push_back(start);
        d->next = next;
        if (next.block >= blocks)
            d->complete = true;
    }
    return d->complete;
}

void PageLayout::paginateAll()
{
    while (!paginateSome(1 << 30)) {
    }
}

bool PageLayout::isComplete() const
{
    return d->complete;
}

double PageLayout::progress() const
{
    if (d->complete)
        return 1.0;
    const auto& blocks = d->document->blocks();
    double done = d->next.block;
    if (d->next.block < static_cast<int>(blocks.size())) {
        if (const auto* table = std::get_if<Table>(&blocks[static_cast<size_t>(d->next.block)]))
            done += table->rows > 0 ? double(d->next.item) / table->rows : 0.0;
    }
    // A long table is most of the work: weigh blocks by their rows.
    double total = 0;
    double before = 0;
    for (size_t i = 0; i < blocks.size(); ++i) {
        const auto* table = std::get_if<Table>(&blocks[i]);
        const double weight = table ? std::max(1, table->rows) : 1;
        total += weight;
        if (static_cast<int>(i) < d->next.block)
            before += weight;
        else if (static_cast<int>(i) == d->next.block)
            before += weight * (done - d->next.block);
    }
    return total > 0 ? std::min(1.0, before / total) : 1.0;
}

std::vector<std::pair<int, int>> PageLayout::pageStarts() const
{
    std::vector<std::pair<int, int>> result;
    result.reserve(d->pages.size());
    for (const Position& start : d->pages)
        result.emplace_back(start.block, start.item);
    return result;
}

const TableGeometry& PageLayout::tableGeometry(int block) const
{
    return d->geometry(block, std::get<Table>(d->document->blocks()[static_cast<size_t>(block)]));
}

int PageLayout::pageCount() const
{
    return static_cast<int>(d->pages.size());
}

QSizeF PageLayout::pageSize() const
{
    const PageSetup& page = d->document->pageSetup();
    return {page.width, page.height};
}

void PageLayout::paintPage(QPainter& painter, int index) const
{
    if (index < 0 || index >= pageCount())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    int budget = 1 << 30;
    d->flow(d->pages[static_cast<size_t>(index)], &painter, &budget);
    painter.restore();
}

QString PageLayout::drawingFamily(const QString& documentFamily)
{
    // fontconfig may list the face once per foundry ("URW Gothic [urw]", "[UKWN]" for the
    // Type 1 copy); the OpenType one embeds best in a PDF.
    static const QString gothic = [] {
        QString found;
        for (const QString& family : QFontDatabase::families()) {
            if (!family.startsWith(QStringLiteral("URW Gothic")))
                continue;
            if (found.isEmpty() || family.contains(QStringLiteral("[urw]")))
                found = family;
        }
        return found;
    }();
    if (!gothic.isEmpty() && (documentFamily.isEmpty() || isGothic(documentFamily)))
        return gothic;
    return documentFamily.isEmpty() ? QStringLiteral("Sans Serif") : documentFamily;
}

namespace {

// Paints every page of the layout onto a device whose pages are A4 and whose painter is open.
bool paintAll(PageLayout& layout, QPainter& painter, const std::function<bool()>& newPage,
              double dotsPerPoint)
{
    layout.paginateAll();
    for (int page = 0; page < layout.pageCount(); ++page) {
        if (page > 0 && !newPage())
            return false;
        painter.save();
        painter.scale(dotsPerPoint, dotsPerPoint);
        layout.paintPage(painter, page);
        painter.restore();
    }
    return true;
}

} // namespace

DocumentSaveResult savePdf(const Document& document, const QString& path)
{
    const QString what = QStringLiteral("il documento");
    // The PDF writer ignores what its device's writes return: the safe file keeps the first
    // failure and refuses to commit.
    SafeFile file(path);
    if (!file.open())
        return {false, file.failureMessage(what)};
    bool ok = true;
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        writer.setResolution(720);
        writer.setTitle(document.title());
        writer.setCreator(QStringLiteral("Urbaflux"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            ok = false;
        } else {
            PageLayout layout(document);
            ok = paintAll(
                layout, painter, [&] { return writer.newPage(); }, 10.0);
            ok = painter.end() && ok;
        }
    }
    if (!ok)
        file.discard(QStringLiteral("errore nella scrittura del PDF"));
    if (!file.commit())
        return {false, file.failureMessage(what)};
    return {};
}

bool printDocument(const Document& document, QPrinter& printer)
{
    printer.setFullPage(true);
    printer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    PageLayout layout(document);
    const bool ok = paintAll(
        layout, painter, [&] { return printer.newPage(); }, printer.resolution() / 72.0);
    return painter.end() && ok;
}

} // namespace urbaflux
