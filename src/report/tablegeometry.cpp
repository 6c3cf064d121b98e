#include "tablegeometry.h"

#include "fontadvances.h"
#include "pagelayout.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace urbaflux {

namespace {

// Century Gothic's single line as word processors space it: its Windows ascent plus descent,
// 2060 + 451 units of 2048.
constexpr double kGothicLineFactor = 2511.0 / 2048.0;
// Fonts are measured at twenty pixels a point: pixel sizes must be whole, and at this scale
// the advances are the face's own, free of hinting.
constexpr double kMeasureScale = 20.0;
// A face of which nothing is known: its advances estimated, generously.
constexpr double kEstimatedAdvanceEm = 0.62;

bool isGothic(const QString& family)
{
    return family.isEmpty() ||
           family.compare(QStringLiteral("Century Gothic"), Qt::CaseInsensitive) == 0;
}

bool hasLetter(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

double withSlack(double width)
{
    return width * kWidthSlackFactor + kWidthSlackPoints;
}

double widestWord(const TextMeasure& measure, const QString& text)
{
    double widest = 0;
    for (const QStringView word : QStringView(text).split(QChar(32)))
        widest = std::max(widest, measure.width(word));
    return widest;
}

} // namespace

double roundToTwips(double points)
{
    return std::round(points * 20.0) / 20.0;
}

double lineHeightPoints(const QString& family, double size)
{
    if (isGothic(family) || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return roundToTwips(size * kGothicLineFactor);
    QFont font(PageLayout::drawingFamily(family));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(size * kMeasureScale))));
    return roundToTwips(QFontMetricsF(font).lineSpacing() / kMeasureScale);
}

double paragraphLineHeight(const Paragraph& paragraph)
{
    double height = 0;
    for (const Run& run : paragraph.runs) {
        if (run.kind != Run::Kind::Picture)
            height = std::max(height, lineHeightPoints(run.font, run.size));
    }
    return height > 0 ? height : lineHeightPoints(paragraph.markFont, paragraph.markSize);
}

bool hasPicture(const Paragraph& paragraph)
{
    return std::any_of(paragraph.runs.begin(), paragraph.runs.end(),
                       [](const Run& run) { return run.kind == Run::Kind::Picture; });
}

QStringList readerFaces(const QString& documentFamily)
{
    QStringList faces = {isGothic(documentFamily) ? QStringLiteral("URW Gothic") : documentFamily,
                         QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")};
    faces.removeDuplicates();
    return faces;
}

struct TextMeasure::Face
{
    std::shared_ptr<QFontMetricsF> metrics; // the installed face; null: the table's advances
    const FaceAdvances* table = nullptr;    // null too: an unknown face, estimated
};

namespace {

bool canMeasure()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

// The name fontconfig gives an installed face ("URW Gothic [urw]" when two foundries make
// it), or nothing.
QString installedFamily(const QString& face)
{
    static const QStringList families = QFontDatabase::families();
    for (const QString& family : families) {
        if (family.compare(face, Qt::CaseInsensitive) == 0 ||
            family.startsWith(face + QStringLiteral(" ["), Qt::CaseInsensitive))
            return family;
    }
    return {};
}

} // namespace

TextMeasure::TextMeasure(const QString& family, double size, bool bold)
    : m_size(size), m_latin(256, -1.0)
{
    for (const QString& name : readerFaces(family)) {
        auto face = std::make_shared<Face>();
        face->table = faceAdvances(name, bold);
        const QString installed = canMeasure() ? installedFamily(name) : QString();
        if (!installed.isEmpty()) {
            QFont font(isGothic(name) || name.startsWith(QStringLiteral("URW Gothic"))
                           ? PageLayout::drawingFamily(QStringLiteral("Century Gothic"))
                           : installed);
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(size * kMeasureScale))));
            font.setBold(bold);
            font.setHintingPreference(QFont::PreferNoHinting);
            font.setKerning(false);
            face->metrics = std::make_shared<QFontMetricsF>(font);
        }
        m_faces.push_back(std::move(face));
    }
}

TextMeasure::~TextMeasure() = default;

double TextMeasure::advance(char16_t c) const
{
    if (c < 256 && m_latin[c] >= 0)
        return m_latin[c];
    double result = 0;
    if (c >= 0x20) {
        for (const auto& face : m_faces) {
            double em = kEstimatedAdvanceEm;
            if (face->metrics)
                em = face->metrics->horizontalAdvance(QChar(c)) / kMeasureScale / m_size;
            else if (face->table)
                em = face->table->advance(c);
            result = std::max(result, em * m_size);
        }
    }
    if (c < 256)
        m_latin[c] = result;
    return result;
}

double TextMeasure::width(QStringView text) const
{
    double total = 0;
    for (const QChar c : text)
        total += advance(c.unicode());
    return total;
}

std::vector<QString> TextMeasure::lines(const QString& text, double innerWidth) const
{
    if (width(text) <= innerWidth)
        return {text};
    std::vector<QString> result;
    QString current;
    bool started = false;
    for (const QStringView word : QStringView(text).split(QChar(32))) {
        if (!started) {
            current = word.toString();
            started = true;
            continue;
        }
        if (width(current) + advance(32) + width(word) <= innerWidth) {
            current += QChar(32);
            current += word;
        } else {
            result.push_back(current + QChar(32));
            current = word.toString();
        }
    }
    result.push_back(current);
    return result;
}

int TextMeasure::lineCount(const QString& text, double innerWidth) const
{
    if (width(text) <= innerWidth)
        return 1;
    int count = 1;
    double current = -1; // width of the line so far; -1 before its first word
    const double blank = advance(32);
    for (const QStringView word : QStringView(text).split(QChar(32))) {
        const double w = width(word);
        if (current < 0) {
            current = w;
        } else if (current + blank + w <= innerWidth) {
            current += blank + w;
        } else {
            ++count;
            current = w;
        }
    }
    return count;
}

bool boldHeading(const Table& table)
{
    return table.styled && table.headingRow;
}

TableGeometry tableGeometry(const Table& table, double textWidth)
{
    TableGeometry geometry;
    geometry.lineHeight = lineHeightPoints(table.font, table.fontSize);
    geometry.body = std::make_shared<TextMeasure>(table.font, table.fontSize, false);
    geometry.heading = boldHeading(table)
                           ? std::make_shared<TextMeasure>(table.font, table.fontSize, true)
                           : geometry.body;
    const int columns = std::max(table.columns, 0);
    if (columns == 0)
        return geometry;
    const TextMeasure& body = *geometry.body;
    const TextMeasure& heading = *geometry.heading;
    const int firstData = table.headingRow ? 1 : 0;
    const double padding = 2 * kCellPaddingPoints;

    std::vector<double> least(static_cast<size_t>(columns), 0.0);  // no number or word broken
    std::vector<double> wanted(static_cast<size_t>(columns), 0.0); // every text on one line
    for (int column = 0; column < columns; ++column) {
        double atomic = 0; // texts without letters: numbers and pair labels, never broken
        double words = 0;
        double full = 0;
        for (int row = 0; row < table.rows; ++row) {
            const QString& text = table.cell(row, column);
            if (text.isEmpty())
                continue;
            const TextMeasure& measure = row < firstData ? heading : body;
            const double w = measure.width(text);
            full = std::max(full, w);
            if (row >= firstData && !hasLetter(text))
                atomic = std::max(atomic, w);
            else if (w > words)
                words = std::max(words, widestWord(measure, text));
        }
        least[static_cast<size_t>(column)] = withSlack(std::max(atomic, words)) + padding;
        wanted[static_cast<size_t>(column)] = withSlack(full) + padding;
    }

    std::vector<double> widths(static_cast<size_t>(columns));
    const double wantedTotal = std::accumulate(wanted.begin(), wanted.end(), 0.0);
    const double leastTotal = std::accumulate(least.begin(), least.end(), 0.0);
    if (wantedTotal <= textWidth) {
        for (size_t c = 0; c < widths.size(); ++c)
            widths[c] = wanted[c] / wantedTotal * textWidth;
    } else if (leastTotal <= textWidth) {
        // Every column gets what keeps its numbers and words whole; what is left goes to the
        // columns whose texts wrap, in proportion to what they lack.
        double lacking = wantedTotal - leastTotal;
        for (size_t c = 0; c < widths.size(); ++c)
            widths[c] = least[c] + (lacking > 0 ? (wanted[c] - least[c]) / lacking : 0) *
                                       (textWidth - leastTotal);
    } else {
        for (size_t c = 0; c < widths.size(); ++c)
            widths[c] = least[c] / leastTotal * textWidth;
    }
    // Whole twips, the last column taking what rounding leaves.
    double used = 0;
    for (size_t c = 0; c + 1 < widths.size(); ++c) {
        widths[c] = roundToTwips(widths[c]);
        used += widths[c];
    }
    widths.back() = roundToTwips(textWidth - used);
    geometry.columnWidths = widths;

    // Half the slack of a point stays on our side too: rounding the widths to twips must not
    // make the widest number of a column wrap.
    geometry.breakWidths.resize(widths.size());
    for (size_t c = 0; c < widths.size(); ++c)
        geometry.breakWidths[c] =
            std::max(1.0, (widths[c] - padding - kWidthSlackPoints / 2) / kWidthSlackFactor);

    geometry.rowLines.assign(static_cast<size_t>(std::max(table.rows, 0)), 1);
    for (int row = 0; row < table.rows; ++row) {
        const TextMeasure& measure = row < firstData ? heading : body;
        int lines = 1;
        for (int column = 0; column < columns; ++column) {
            const QString& text = table.cell(row, column);
            if (!text.isEmpty())
                lines = std::max(
                    lines,
                    measure.lineCount(text, geometry.breakWidths[static_cast<size_t>(column)]));
        }
        geometry.rowLines[static_cast<size_t>(row)] =
            static_cast<std::uint8_t>(std::min(lines, 255));
    }
    return geometry;
}

std::vector<QString> TableGeometry::cellLines(const Table& table, int row, int column) const
{
    const QString& text = table.cell(row, column);
    const TextMeasure& measure = table.headingRow && row == 0 ? *heading : *body;
    return measure.lines(text, breakWidths[static_cast<size_t>(column)]);
}

std::vector<double> columnWidths(const Table& table, double textWidth)
{
    return tableGeometry(table, textWidth).columnWidths;
}

} // namespace urbaflux
