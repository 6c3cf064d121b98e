// Pages the program decides, the same in every reader: the faces' advances the layout relies on,
// cells that fit their columns in every face, and the rules of the pages of full reports of many
// sizes (no heading at the foot of a page, no table leaving or starting a page with fewer than
// three rows, the closing block with the last rows of table H, a page break in the document
// wherever the program begins a page).

#include "documentformats.h"
#include "docxexporter.h"
#include "fontadvances.h"
#include "fullreport.h"
#include "pagelayout.h"
#include "sampleprintouts.h"
#include "tablegeometry.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QRawFont>
#include <QtTest>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

using namespace urbaflux;

namespace {

struct Report
{
    std::unique_ptr<ProjectState> state;
    DocumentWriter writer;
    int pages = 0;
};

std::unique_ptr<Report> report(int areas)
{
    auto built = std::make_unique<Report>();
    built->state = samples::elaboration(areas);
    TitlePage texts;
    texts.luogo = QStringLiteral("Pisa");
    texts.data = QStringLiteral("mercoledì, 9 dic 2026");
    built->pages =
        writeFullReport(built->writer, {*built->state,
                                        texts,
                                        {QStringLiteral("Studio Tecnico Associato Bianchi"),
                                         QStringLiteral("via Garibaldi 12, Pisa")},
                                        {QStringLiteral("4567890"), QStringLiteral("3456789.50")},
                                        QString()});
    return built;
}

QByteArray documentXml(const Document& document)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadWrite);
    if (!writeDocx(document, &buffer))
        return {};
    buffer.seek(0);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdUnzip) || !zip.setCurrentFile(QStringLiteral("word/document.xml")))
        return {};
    QuaZipFile part(&zip);
    return part.open(QIODevice::ReadOnly) ? part.readAll() : QByteArray();
}

// The installed face of that family, measured at `pixels`, or nothing.
std::unique_ptr<QFontMetricsF> installedFace(const QString& family, bool bold, int pixels)
{
    QString found;
    for (const QString& candidate : QFontDatabase::families()) {
        if (candidate == family || candidate.startsWith(family + QStringLiteral(" [")))
            found = candidate;
    }
    if (found.isEmpty())
        return nullptr;
    QFont font(found);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return std::make_unique<QFontMetricsF>(font);
}

} // namespace

class TestPageLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formatsByName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<bool>("known");
        QTest::newRow("docx") << QStringLiteral("/tmp/relazione.docx") << "docx" << true;
        QTest::newRow("ODT, capitals") << QStringLiteral("RELAZIONE.ODT") << "odt" << true;
        QTest::newRow("pdf") << QStringLiteral("a.b.Pdf") << "pdf" << true;
        QTest::newRow("other ending") << QStringLiteral("relazione.txt") << "docx" << false;
        QTest::newRow("ending in a folder") << QStringLiteral("x.pdf/relazione") << "docx" << false;
        QTest::newRow("no dot") << QStringLiteral("relazionepdf") << "docx" << false;
    }
    void formatsByName()
    {
        QFETCH(QString, path);
        QFETCH(QString, extension);
        QFETCH(bool, known);
        QCOMPARE(documentFormatFor(path).extension, extension);
        QCOMPARE(hasDocumentExtension(path), known);
    }

    // The table of advances says what the faces say, where they are installed.
    void advancesTableMatchesTheFaces_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("bold");
        for (const char* family : {"URW Gothic", "DejaVu Sans", "Liberation Sans"}) {
            for (const bool bold : {false, true})
                QTest::addRow("%s%s", family, bold ? " bold" : "")
                    << QString::fromLatin1(family) << bold;
        }
    }
    void advancesTableMatchesTheFaces()
    {
        QFETCH(QString, family);
        QFETCH(bool, bold);
        const FaceAdvances* table = faceAdvances(family, bold);
        QVERIFY(table);
        const auto face = installedFace(family, bold, 1000);
        if (!face)
            QSKIP("the face is not installed");
        for (char16_t c = 0x20; c <= 0xFF; ++c) {
            if (c > 0x7E && c < 0xA0)
                continue;
            QVERIFY2(qAbs(face->horizontalAdvance(QChar(c)) / 1000 - table->advance(c)) <= 0.0015,
                     qPrintable(QStringLiteral("U+%1").arg(int(c), 4, 16, QLatin1Char('0'))));
        }
    }

    // Every line the program breaks a cell of the report's tables into fits its column in every
    // face a reader may draw it with, the numbers of "n." included; the lines give the text back.
    void cellsFitInEveryFace_data()
    {
        QTest::addColumn<QString>("family");
        QTest::newRow("URW Gothic") << QStringLiteral("URW Gothic");
        QTest::newRow("DejaVu Sans") << QStringLiteral("DejaVu Sans");
        QTest::newRow("Liberation Sans") << QStringLiteral("Liberation Sans");
    }
    void cellsFitInEveryFace()
    {
        QFETCH(QString, family);
        const auto built = report(30);
        const Document& document = built->writer.document();
        PageLayout layout(document);
        int checked = 0;
        for (size_t block = 0; block < document.blocks().size(); ++block) {
            const auto* table = std::get_if<Table>(&document.blocks()[block]);
            if (!table)
                continue;
            const TableGeometry& shape = layout.tableGeometry(int(block));
            for (const bool bold : {false, true}) {
                const int pixels = qRound(table->fontSize * 20);
                const auto face = installedFace(family, bold, pixels);
                const FaceAdvances* advances = faceAdvances(family, bold);
                auto width = [&](const QString& text) {
                    double total = 0;
                    for (const QChar c : text)
                        total += face ? face->horizontalAdvance(c) / 20
                                      : advances->advance(c.unicode()) * table->fontSize;
                    return total;
                };
                for (int row = bold ? 0 : 1; row < (bold ? 1 : table->rows); ++row) {
                    for (int column = 0; column < table->columns; ++column) {
                        const std::vector<QString> lines = shape.cellLines(*table, row, column);
                        QString joined;
                        for (const QString& line : lines) {
                            joined += line;
                            const double inner =
                                shape.columnWidths[size_t(column)] - 2 * kCellPaddingPoints;
                            QVERIFY2(
                                width(line.trimmed()) <= inner,
                                qPrintable(QStringLiteral("%1 in %2 pt").arg(line).arg(inner)));
                            ++checked;
                        }
                        QCOMPARE(joined, table->cell(row, column));
                        QVERIFY(int(lines.size()) <= int(shape.rowLines[size_t(row)]));
                    }
                }
            }
        }
        QVERIFY(checked > 900 * 6);
    }

    void reportPages_data()
    {
        QTest::addColumn<int>("areas");
        for (const int areas : {1, 2, 3, 5, 8, 12, 17, 23, 30, 41})
            QTest::addRow("%d areas", areas) << areas;
    }
    void reportPages()
    {
        QFETCH(int, areas);
        const auto built = report(areas);
        const Document& document = built->writer.document();
        const auto& blocks = document.blocks();
        PageLayout layout(document);
        layout.paginateAll();
        QCOMPARE(layout.pageCount(), built->pages);
        const auto starts = layout.pageStarts();

        // Rows of every table on every page it runs onto.
        std::map<int, std::vector<int>> rowsPerPage; // table block -> data rows per page
        for (size_t page = 0; page < starts.size(); ++page) {
            const auto [block, item] = starts[page];
            const auto next =
                page + 1 < starts.size() ? starts[page + 1] : std::make_pair(int(blocks.size()), 0);
            for (int b = block; b <= next.first && b < int(blocks.size()); ++b) {
                const auto* table = std::get_if<Table>(&blocks[size_t(b)]);
                if (!table)
                    continue;
                const int from = b == block ? std::max(item, 1) : 1;
                const int to = b == next.first ? next.second : table->rows;
                if (to > from)
                    rowsPerPage[b].push_back(to - from);
            }
            if (page == 0)
                continue;
            // No paragraph that keeps with the next ends a page.
            if (item == 0 && block > 0) {
                const auto* before = std::get_if<Paragraph>(&blocks[size_t(block) - 1]);
                const auto* opening = std::get_if<Paragraph>(&blocks[size_t(block)]);
                QVERIFY2(!before || !before->keepWithNext || (opening && opening->pageBreakBefore),
                         qPrintable(QStringLiteral("pagina %1: \"%2\" in fondo (blocco %3 di %4)")
                                        .arg(page + 1)
                                        .arg(before ? before->text() : QString())
                                        .arg(block - 1)
                                        .arg(blocks.size())));
            }
            // Paragraphs are never cut.
            if (std::holds_alternative<Paragraph>(blocks[size_t(block)]))
                QCOMPARE(item, 0);
        }
        for (const auto& [block, counts] : rowsPerPage) {
            const auto& table = std::get<Table>(blocks[size_t(block)]);
            const int least = std::min(kMinimumTableRows, table.rows - 1);
            if (counts.size() > 1) {
                QVERIFY2(counts.front() >= least, qPrintable(QString::number(block)));
                QVERIFY2(counts.back() >= least, qPrintable(QString::number(block)));
            }
        }
        // The closing block: on the last page, under at least three rows of table H.
        const auto [lastBlock, lastItem] = starts.back();
        const auto tables = document.tables();
        int tableH = -1;
        for (size_t b = 0; b < blocks.size(); ++b) {
            if (std::get_if<Table>(&blocks[b]) == tables.back())
                tableH = int(b);
        }
        QVERIFY(lastBlock < tableH ||
                (lastBlock == tableH && (lastItem == 0 || lastItem <= tables.back()->rows - 3)));

        // Every page the program begins is begun in the document.
        const QByteArray xml = documentXml(document);
        QCOMPARE(int(xml.count("<w:pageBreakBefore/>")), layout.pageCount() - 1);
    }
};

QTEST_MAIN(TestPageLayout)
#include "tst_pagelayout.moc"
