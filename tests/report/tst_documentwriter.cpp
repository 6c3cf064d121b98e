// DocumentWriter's operations on the model, and what they become in the DOCX package and in the
// paginated rendering.

#include "documentwriter.h"
#include "docxexporter.h"
#include "odtexporter.h"
#include "officeconversion.h"
#include "pagelayout.h"
#include "sampledocuments.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

using namespace urbaflux;
using urbaflux::office::pdfPageCount;
using urbaflux::samples::cr;

namespace {

const QString kW = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");

QString ff()
{
    return QString(QChar(12));
}

// The parts of a DOCX package, read back.
QMap<QString, QByteArray> readPackage(const QByteArray& docx)
{
    QMap<QString, QByteArray> parts;
    QBuffer buffer;
    buffer.setData(docx);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdUnzip))
        return parts;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFile file(&zip);
        if (file.open(QIODevice::ReadOnly))
            parts.insert(zip.getCurrentFileName(), file.readAll());
    }
    return parts;
}

QByteArray docxOf(const Document& document)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadWrite);
    QString error;
    if (!writeDocx(document, &buffer, &error))
        qWarning() << error;
    return data;
}

QString xmlError(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd())
        reader.readNext();
    return reader.hasError() ? reader.errorString() : QString();
}

// What document.xml says, in document order.
struct Body
{
    QStringList paragraphs;           // paragraphs outside tables
    QList<QList<QStringList>> tables; // tables, as rows of cell texts
    QStringList tableStyles;
    QList<QList<bool>> headerRows;    // tblHeader per row
    QList<QList<QString>> cellStyles; // paragraph style of every cell of the second row
    QList<bool> tableAfterBreak;      // the table follows an empty page-breaking paragraph
    QList<QList<int>> rowHeights;     // trHeight of every row, twips
    QStringList pageBreakParagraphs;  // texts of paragraphs with pageBreakBefore
    QStringList justifiedParagraphs;
    int pictures = 0;
    QStringList fields;
    QList<QStringList> gridColumns;
};

Body readBody(const QByteArray& xml)
{
    Body body;
    QXmlStreamReader reader(xml);
    int tableDepth = 0;
    QString paragraphText;
    bool pageBreak = false;
    bool justified = false;
    QString cellText;
    QStringList row;
    QList<bool> headers;
    bool rowHeader = false;
    int rowIndex = 0;
    QString cellStyle;
    bool lastWasBreak = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.namespaceUri() != kW && !reader.isStartElement())
            continue;
        const auto name = reader.name();
        if (reader.isStartElement()) {
            if (name == QStringLiteral("tbl")) {
                ++tableDepth;
                body.tables.append(QList<QStringList>());
                body.headerRows.append(QList<bool>());
                body.cellStyles.append(QList<QString>());
                body.tableAfterBreak.append(lastWasBreak);
                body.rowHeights.append(QList<int>());
                body.gridColumns.append(QStringList());
                rowIndex = 0;
            } else if (name == QStringLiteral("tblStyle")) {
                body.tableStyles << reader.attributes().value(kW, QStringLiteral("val")).toString();
            } else if (name == QStringLiteral("gridCol")) {
                body.gridColumns.last()
                    << reader.attributes().value(kW, QStringLiteral("w")).toString();
            } else if (name == QStringLiteral("tr")) {
                row.clear();
                rowHeader = false;
                ++rowIndex;
            } else if (name == QStringLiteral("trHeight")) {
                body.rowHeights.last()
                    << reader.attributes().value(kW, QStringLiteral("val")).toInt();
            } else if (name == QStringLiteral("pStyle") && tableDepth > 0) {
                cellStyle = reader.attributes().value(kW, QStringLiteral("val")).toString();
            } else if (name == QStringLiteral("tblHeader")) {
                rowHeader = true;
            } else if (name == QStringLiteral("tc")) {
                cellText.clear();
                cellStyle.clear();
            } else if (name == QStringLiteral("p")) {
                paragraphText.clear();
                pageBreak = false;
                justified = false;
            } else if (name == QStringLiteral("pageBreakBefore")) {
                pageBreak = true;
            } else if (name == QStringLiteral("jc")) {
                const QString value =
                    reader.attributes().value(kW, QStringLiteral("val")).toString();
                justified = value == QStringLiteral("both");
            } else if (name == QStringLiteral("t")) {
                const QString text = reader.readElementText();
                if (tableDepth > 0)
                    cellText += text;
                else
                    paragraphText += text;
            } else if (name == QStringLiteral("drawing")) {
                ++body.pictures;
            } else if (name == QStringLiteral("fldSimple")) {
                body.fields
                    << reader.attributes().value(kW, QStringLiteral("instr")).toString().trimmed();
            }
        } else if (reader.isEndElement()) {
            if (name == QStringLiteral("tbl")) {
                --tableDepth;
            } else if (name == QStringLiteral("tc")) {
                row << cellText;
                if (rowIndex == 2)
                    body.cellStyles.last() << cellStyle;
            } else if (name == QStringLiteral("tr")) {
                body.tables.last() << row;
                body.headerRows.last() << rowHeader;
            } else if (name == QStringLiteral("p") && tableDepth == 0) {
                lastWasBreak = pageBreak && paragraphText.isEmpty();
                if (lastWasBreak)
                    continue; // the separator before a piece of a long table
                body.paragraphs << paragraphText;
                if (pageBreak)
                    body.pageBreakParagraphs << paragraphText;
                if (justified)
                    body.justifiedParagraphs << paragraphText;
            }
        }
    }
    return body;
}

} // namespace

class TestDocumentWriter : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_picture;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_picture = m_dir.filePath(QStringLiteral("grafico.png"));
        QVERIFY(samples::chartPicture().save(m_picture));
    }

    void typeText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("paragraphs");
        QTest::addColumn<QList<int>>("pageBreaks"); // indexes of paragraphs breaking a page

        QTest::newRow("one line") << QStringLiteral("Urbaflux")
                                  << QStringList{QStringLiteral("Urbaflux")} << QList<int>{};
        QTest::newRow("13 ends a paragraph")
            << QStringLiteral("Urbaflux") + cr() + QStringLiteral("descrizione") + cr() + cr()
            << QStringList{QStringLiteral("Urbaflux"), QStringLiteral("descrizione"), QString(),
                           QString()}
            << QList<int>{};
        QTest::newRow("12 after a paragraph end breaks that paragraph")
            << QStringLiteral("copertina") + cr() + ff() + QStringLiteral("RELAZIONE") + cr()
            << QStringList{QStringLiteral("copertina"), QStringLiteral("RELAZIONE"), QString()}
            << QList<int>{1};
        QTest::newRow("12 inside a paragraph splits it")
            << QStringLiteral("prima") + ff() + QStringLiteral("dopo")
            << QStringList{QStringLiteral("prima"), QStringLiteral("dopo")} << QList<int>{1};
        QTest::newRow("CR LF types one break")
            << QStringLiteral("a\r\nb") << QStringList{QStringLiteral("a"), QStringLiteral("b")}
            << QList<int>{};
    }
    void typeText()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, paragraphs);
        QFETCH(QList<int>, pageBreaks);
        DocumentWriter writer;
        writer.StartDocument();
        writer.SetFont(QStringLiteral("Century Gothic"));
        writer.TypeText(typed);
        QCOMPARE(writer.document().paragraphTexts(), paragraphs);
        QList<int> breaks;
        int index = 0;
        for (const Block& block : writer.document().blocks()) {
            if (std::get<Paragraph>(block).pageBreakBefore)
                breaks << index;
            ++index;
        }
        QCOMPARE(breaks, pageBreaks);

        const Body body = readBody(
            readPackage(docxOf(writer.document())).value(QStringLiteral("word/document.xml")));
        QCOMPARE(body.paragraphs, paragraphs);
        QCOMPARE(body.pageBreakParagraphs.size(), pageBreaks.size());
    }

    void fontsAndSizesMakeRuns()
    {
        DocumentWriter writer;
        writer.StartDocument();
        writer.SetFont(QStringLiteral("Century Gothic"));
        writer.SetFontSize(20);
        writer.TypeText(QStringLiteral("Urbaflux") + cr());
        writer.SetFontSize(16);
        writer.TypeText(QStringLiteral("modelli") + cr() + cr());
        writer.SetFontSize(12);
        writer.TypeText(QStringLiteral("a "));
        writer.SetFontSize(14);
        writer.TypeText(QStringLiteral("b"));
        const auto& blocks = writer.document().blocks();
        const auto& first = std::get<Paragraph>(blocks[0]);
        QCOMPARE(first.runs.size(), size_t(1));
        QCOMPARE(first.runs[0].size, 20.0);
        QCOMPARE(first.runs[0].font, QStringLiteral("Century Gothic"));
        // The empty line keeps the size it was typed at: it is as tall as a 16-point line.
        QCOMPARE(std::get<Paragraph>(blocks[2]).markSize, 16.0);
        const auto& mixed = std::get<Paragraph>(blocks[3]);
        QCOMPARE(mixed.runs.size(), size_t(2));
        QCOMPARE(mixed.runs[0].size, 12.0);
        QCOMPARE(mixed.runs[1].size, 14.0);

        const auto parts = readPackage(docxOf(writer.document()));
        const QByteArray xml = parts.value(QStringLiteral("word/document.xml"));
        QVERIFY(parts.value(QStringLiteral("word/styles.xml"))
                    .contains(R"(<w:rFonts w:ascii="Century Gothic")"));
        QVERIFY(xml.contains(R"(<w:sz w:val="40"/>)"));
        QVERIFY(xml.contains(R"(<w:sz w:val="28"/>)"));
    }

    void emptyParagraphBeforeTableBecomesItsPlace()
    {
        DocumentWriter writer;
        writer.StartDocument();
        writer.SetFont(QStringLiteral("Century Gothic"));
        writer.TypeText(QStringLiteral("Distanze tra le aree") + cr());
        writer.AppendParagraph();
        writer.AppendTable(2, 3);
        const auto& blocks = writer.document().blocks();
        // heading, the empty line, the table, and the end paragraph after it.
        QCOMPARE(blocks.size(), size_t(4));
        QCOMPARE(std::get<Paragraph>(blocks[0]).text(), QStringLiteral("Distanze tra le aree"));
        QVERIFY(std::get<Paragraph>(blocks[1]).isEmpty());
        QVERIFY(std::holds_alternative<Table>(blocks[2]));
        QVERIFY(std::get<Paragraph>(blocks[3]).isEmpty());
    }

    void appendParagraphAfterTable()
    {
        DocumentWriter writer;
        writer.StartDocument();
        writer.SetFont(QStringLiteral("Century Gothic"));
        writer.AppendTable(1, 1);
        writer.AppendParagraph(12, cr() + QStringLiteral("memo"));
        QCOMPARE(writer.document().paragraphTexts(),
                 (QStringList{QString(), QString(), QStringLiteral("memo")}));
        const Paragraph& memo = writer.document().lastParagraph();
        QCOMPARE(memo.runs.front().size, 12.0);
        // Typing goes on at the end of the appended paragraph.
        writer.TypeText(QStringLiteral(" fine"));
        QCOMPARE(writer.document().lastParagraph().text(), QStringLiteral("memo fine"));
    }

    void cells_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("kept");
        QTest::newRow("first") << 1 << 1 << true;
        QTest::newRow("last") << 3 << 2 << true;
        QTest::newRow("row 0") << 0 << 1 << false;
        QTest::newRow("column past the end") << 1 << 3 << false;
        QTest::newRow("row past the end") << 4 << 1 << false;
    }
    void cells()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(bool, kept);
        DocumentWriter writer;
        writer.StartDocument();
        writer.AppendTable(3, 2);
        writer.SetCell(row, column, QStringLiteral("x"));
        const Table* table = writer.document().tables().front();
        QCOMPARE(std::count(table->cells.begin(), table->cells.end(), QStringLiteral("x")),
                 kept ? 1 : 0);
        if (kept)
            QCOMPARE(table->cell(row - 1, column - 1), QStringLiteral("x"));
    }

    void tableInModelAndDocx()
    {
        DocumentWriter writer;
        writer.StartDocument();
        writer.SetFont(QStringLiteral("Century Gothic"));
        samples::appendAreaTable(writer, 3);
        const Table* table = writer.document().tables().front();
        QCOMPARE(table->rows, 5);
        QCOMPARE(table->fontSize, 10.0);
        QVERIFY(table->styled);
        QVERIFY(table->headingRow);
        QCOMPARE(table->rowTexts(1),
                 (QStringList{QStringLiteral(" 1"), QStringLiteral("Area numero 1"),
                              QStringLiteral("107"), QStringLiteral("93.50")}));

        const auto parts = readPackage(docxOf(writer.document()));
        const Body body = readBody(parts.value(QStringLiteral("word/document.xml")));
        QCOMPARE(body.tables.size(), 1);
        QCOMPARE(body.tables[0].size(), 5);
        for (int row = 0; row < 5; ++row)
            QCOMPARE(body.tables[0][row], table->rowTexts(row));
        QCOMPARE(body.tableStyles, QStringList{QStringLiteral("UrbafluxTabellaColorata")});
        QCOMPARE(body.headerRows[0], (QList<bool>{true, false, false, false, false}));
        // The style is defined with a shaded heading row and banded rows.
        const QByteArray styles = parts.value(QStringLiteral("word/styles.xml"));
        QVERIFY(styles.contains(R"(w:styleId="UrbafluxTabellaColorata")"));
        QVERIFY(styles.contains(R"(<w:tblStylePr w:type="firstRow">)"));
        QVERIFY(styles.contains(R"(<w:tblStylePr w:type="band1Horz">)"));
        // Fixed layout, explicit widths summing to the text width.
        const QByteArray xml = parts.value(QStringLiteral("word/document.xml"));
        QVERIFY(xml.contains(R"(<w:tblLayout w:type="fixed"/>)"));
        int total = 0;
        for (const QString& width : body.gridColumns[0])
            total += width.toInt();
        QVERIFY(qAbs(total - qRound(writer.document().pageSetup().textWidth() * 20)) <= 4);
    }

    void unformattedTableUsesTheGrid()
    {
        DocumentWriter writer;
        writer.StartDocument();
        writer.AppendTable(2, 2);
        const Body body = readBody(
            readPackage(docxOf(writer.document())).value(QStringLiteral("word/document.xml")));
        QCOMPARE(body.tableStyles, QStringList{QStringLiteral("UrbafluxTabellaGriglia")});
        QCOMPARE(body.headerRows[0], (QList<bool>{false, false}));
    }

    void justifyThenAlignRight()
    {
        DocumentWriter writer;
        writer.StartDocument();
        writer.SetFont(QStringLiteral("Century Gothic"));
        writer.TypeText(QStringLiteral("Dati delle aree") + cr());
        samples::appendAreaTable(writer, 2);
        samples::appendAreaTable(writer, 2);
        writer.AppendParagraph(12, cr() + QStringLiteral("spiegazione"));
        writer.JustifyAll();
        writer.AlignColumnRight(2, 3);
        writer.AlignColumnRight(2, 9); // no such column: nothing happens
        writer.AlignColumnRight(5, 1); // no such table: nothing happens
        const auto tables = writer.document().tables();
        QCOMPARE(tables[0]->columnAlignment, (std::vector<Alignment>(4, Alignment::Justify)));
        QCOMPARE(tables[1]->columnAlignment,
                 (std::vector<Alignment>{Alignment::Justify, Alignment::Justify, Alignment::Right,
                                         Alignment::Justify}));
        for (const Block& block : writer.document().blocks()) {
            if (const auto* paragraph = std::get_if<Paragraph>(&block))
                QCOMPARE(paragraph->alignment, Alignment::Justify);
        }
        const Body body = readBody(
            readPackage(docxOf(writer.document())).value(QStringLiteral("word/document.xml")));
        QCOMPARE(body.justifiedParagraphs.size(), body.paragraphs.size());
        // Cells take their alignment, size and exact line height from a paragraph style.
        QCOMPARE(body.cellStyles[1], (QList<QString>{QStringLiteral("UrbafluxCella20J"),
                                                     QStringLiteral("UrbafluxCella20J"),
                                                     QStringLiteral("UrbafluxCella20R"),
                                                     QStringLiteral("UrbafluxCella20J")}));
        const QByteArray styles =
            readPackage(docxOf(writer.document())).value(QStringLiteral("word/styles.xml"));
        static const QRegularExpression right(QStringLiteral(
            R"(w:styleId="UrbafluxCella20R">.*?<w:spacing [^>]*w:lineRule="exact"/><w:jc w:val="right"/>.*?<w:sz w:val="20"/>)"));
        QVERIFY(right.match(QString::fromUtf8(styles)).hasMatch());
    }

    void picture()
    {
        DocumentWriter writer;
        writer.StartDocument();
        QVERIFY(!writer.InsertPicture(m_dir.filePath(QStringLiteral("manca.png"))));
        QVERIFY(writer.InsertPicture(m_picture));
        const Run& run = writer.document().lastParagraph().runs.back();
        QCOMPARE(run.kind, Run::Kind::Picture);
        QCOMPARE(run.pictureFormat, QByteArray("png"));
        QCOMPARE(run.pictureSize, QSizeF(480, 300)); // 640 x 400 pixels at 96 per inch
        // The document keeps the picture as it was: the chart file is rewritten later.
        QFile::remove(m_picture);
        const auto parts = readPackage(docxOf(writer.document()));
        QVERIFY(samples::chartPicture().save(m_picture));
        QCOMPARE(readBody(parts.value(QStringLiteral("word/document.xml"))).pictures, 1);
        QVERIFY(parts.value(QStringLiteral("word/media/image1.png")).startsWith("\x89PNG"));
        QVERIFY(parts.value(QStringLiteral("word/_rels/document.xml.rels"))
                    .contains("media/image1.png"));
        QVERIFY(parts.value(QStringLiteral("[Content_Types].xml")).contains(R"(Extension="png")"));
    }

    void bigPictureShrinksToTheTextWidth()
    {
        const QString path = m_dir.filePath(QStringLiteral("largo.png"));
        QImage wide(2000, 500, QImage::Format_RGB32);
        wide.fill(Qt::red);
        QVERIFY(wide.save(path));
        DocumentWriter writer;
        writer.StartDocument();
        QVERIFY(writer.InsertPicture(path));
        const QSizeF size = writer.document().lastParagraph().runs.back().pictureSize;
        QCOMPARE(size.width(), writer.document().pageSetup().textWidth());
        QVERIFY(qAbs(size.height() - size.width() / 4) < 0.01);
    }

    void pageCountField()
    {
        DocumentWriter writer;
        writer.StartDocument();
        writer.AppendParagraph(12, QStringLiteral("composta di n.") +
                                       DocumentWriter::pageCountText(7) +
                                       QStringLiteral(" pagine."));
        QCOMPARE(writer.document().lastParagraph().text(),
                 QStringLiteral("composta di n. 7 pagine."));
        const Body body = readBody(
            readPackage(docxOf(writer.document())).value(QStringLiteral("word/document.xml")));
        QCOMPARE(body.fields, QStringList{QStringLiteral("NUMPAGES")});
        QVERIFY(body.paragraphs.contains(QStringLiteral("composta di n. 7 pagine.")));
    }

    void packageIsComplete()
    {
        DocumentWriter writer;
        samples::buildEveryOperation(writer, m_picture);
        const auto parts = readPackage(docxOf(writer.document()));
        for (const char* name : {"[Content_Types].xml", "_rels/.rels", "word/document.xml",
                                 "word/_rels/document.xml.rels", "word/styles.xml",
                                 "word/settings.xml", "docProps/core.xml", "docProps/app.xml"}) {
            const QString part = QString::fromLatin1(name);
            QVERIFY2(parts.contains(part), name);
            QVERIFY2(xmlError(parts.value(part)).isEmpty(),
                     qPrintable(part + xmlError(parts.value(part))));
        }
        const Body body = readBody(parts.value(QStringLiteral("word/document.xml")));
        QStringList nonEmpty;
        for (const QString& text : body.paragraphs) {
            if (!text.isEmpty())
                nonEmpty << text;
        }
        QStringList expected;
        for (const QString& text : writer.document().paragraphTexts()) {
            if (!text.isEmpty())
                expected << text;
        }
        QCOMPARE(nonEmpty, expected);
        QCOMPARE(body.pageBreakParagraphs, QStringList{QStringLiteral("RELAZIONE")});
        // Two tables, the second cut where the pager's pages start.
        PageLayout layout(writer.document());
        layout.paginateAll();
        int pieces = writer.document().tableCount();
        for (const auto& [block, item] : layout.pageStarts())
            pieces += item > 0 &&
                      std::holds_alternative<Table>(writer.document().blocks()[size_t(block)]);
        QCOMPARE(body.tables.size(), pieces);
        QVERIFY(parts.value(QStringLiteral("word/document.xml"))
                    .contains(R"(<w:pgSz w:w="11906" w:h="16838"/>)"));
        QVERIFY(parts.value(QStringLiteral("docProps/core.xml"))
                    .contains("MODELLO GRAVITAZIONALE URBANISTICO"));
    }

    // Widths come from every row, the 32,401st included: no number, pair label or heading word
    // is wider than the width its column is broken at; only the names wrap.
    void widthsFromAllTheText()
    {
        DocumentWriter writer;
        samples::buildDistancesPrintout(writer, 32401);
        const Table& table = *writer.document().tables().front();
        const TableGeometry shape = tableGeometry(table, writer.document().pageSetup().textWidth());
        const TextMeasure body(table.font, table.fontSize, false);
        const TextMeasure bold(table.font, table.fontSize, true);
        for (const int column : {0, 1, 3, 4, 5}) {
            const double limit = shape.breakWidths[size_t(column)];
            for (int row = 1; row < table.rows; ++row)
                QVERIFY2(body.width(table.cell(row, column)) <= limit,
                         qPrintable(table.cell(row, column)));
        }
        for (int column = 0; column < table.columns; ++column) {
            for (const QString& word : table.cell(0, column).split(QChar(32)))
                QVERIFY2(bold.width(word) <= shape.breakWidths[size_t(column)], qPrintable(word));
        }
        QCOMPARE(shape.rowLines[32400], std::uint8_t(1));
        double total = 0;
        for (double width : shape.columnWidths)
            total += width;
        QVERIFY(qAbs(total - writer.document().pageSetup().textWidth()) < 0.05);
    }

    // The DOCX holds one table per page the pager gives the long table, each opening its page
    // (after a page-breaking separator) with the heading row; rows never split and are as high
    // as the pager makes them.
    void longTableInPagePieces()
    {
        DocumentWriter writer;
        samples::buildDistancesPrintout(writer, 2501);
        const Document& document = writer.document();
        const Body body =
            readBody(readPackage(docxOf(document)).value(QStringLiteral("word/document.xml")));
        PageLayout layout(document);
        layout.paginateAll();
        const auto starts = layout.pageStarts();
        QCOMPARE(body.tables.size(), layout.pageCount());
        int tableBlock = 0;
        while (!std::holds_alternative<Table>(document.blocks()[size_t(tableBlock)]))
            ++tableBlock;
        const Table* table = document.tables().front();
        const TableGeometry& shape = layout.tableGeometry(tableBlock);
        int row = 1;
        for (int piece = 0; piece < body.tables.size(); ++piece) {
            QCOMPARE(body.tableAfterBreak[piece], piece > 0);
            QCOMPARE(body.tables[piece][0], table->rowTexts(0));
            QCOMPARE(body.headerRows[piece][0], true);
            if (piece > 0)
                QCOMPARE(starts[size_t(piece)], std::make_pair(tableBlock, row));
            for (int i = 1; i < body.tables[piece].size(); ++i) {
                QCOMPARE(body.tables[piece][i], table->rowTexts(row));
                QCOMPARE(body.rowHeights[piece][i], qRound(shape.rowHeight(row) * 20));
                ++row;
            }
        }
        QCOMPARE(row, 2501);
        const QByteArray xml =
            readPackage(docxOf(document)).value(QStringLiteral("word/document.xml"));
        QCOMPARE(xml.count("<w:cantSplit/>"), 2500 + body.tables.size());
    }

    // The ODT: its type first and stored, well-formed parts, the same pieces of the long table
    // as the DOCX, blanks kept, the page-count field and the picture.
    void odtPackage()
    {
        DocumentWriter writer;
        samples::buildEveryOperation(writer, m_picture);
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadWrite);
        QString error;
        QVERIFY2(writeOdt(writer.document(), &buffer, &error), qPrintable(error));
        QCOMPARE(data.mid(30, 8), QByteArray("mimetype"));
        QCOMPARE(data.mid(38, 39), QByteArray("application/vnd.oasis.opendocument.text"));
        const auto parts = readPackage(data);
        for (const char* name : {"content.xml", "styles.xml", "meta.xml", "META-INF/manifest.xml"})
            QVERIFY2(xmlError(parts.value(QString::fromLatin1(name))).isEmpty(), name);
        const QByteArray content = parts.value(QStringLiteral("content.xml"));
        const Body docx = readBody(
            readPackage(docxOf(writer.document())).value(QStringLiteral("word/document.xml")));
        QCOMPARE(content.count("<table:table "), docx.tables.size());
        QVERIFY(content.contains("<text:page-count>"));
        QVERIFY(content.contains("<text:s/>1- 1<"));
        QVERIFY(content.contains("fo:break-before=\"page\""));
        QVERIFY(
            parts.value(QStringLiteral("META-INF/manifest.xml")).contains("Pictures/image1.png"));
        QVERIFY(parts.value(QStringLiteral("Pictures/image1.png")).startsWith("\x89PNG"));
    }

    void saveReplacesAndFailsCleanly()
    {
        DocumentWriter writer;
        samples::buildEveryOperation(writer, m_picture);
        const QString path = m_dir.filePath(QStringLiteral("relazione.docx"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("vecchio");
        old.close();
        const DocumentSaveResult saved = writer.SaveDocumentAs(path);
        QVERIFY2(saved.ok, qPrintable(saved.error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("PK"));

        // A folder that is a file: nothing can be written, and the message names the file.
        const QString blocked = m_dir.filePath(QStringLiteral("relazione.docx/altro.docx"));
        const DocumentSaveResult failed = writer.SaveDocumentAs(blocked);
        QVERIFY(!failed.ok);
        QVERIFY(failed.error.contains(QStringLiteral("altro.docx")));
        QVERIFY(failed.error.startsWith(QStringLiteral("Impossibile salvare")));
        const DocumentSaveResult failedPdf =
            writer.SaveDocumentAs(m_dir.filePath(QStringLiteral("relazione.docx/x.PDF")));
        QVERIFY(!failedPdf.ok);
        QVERIFY(failedPdf.error.contains(QStringLiteral("x.PDF")));
    }

    void pageCountEqualsPdf_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("expected"); // -1: only compare with the PDF
        QTest::newRow("empty document") << QStringLiteral("empty") << 1;
        QTest::newRow("three page breaks") << QStringLiteral("breaks") << 4;
        QTest::newRow("every operation") << QStringLiteral("every") << -1;
        QTest::newRow("600 pairs") << QStringLiteral("pairs") << -1;
    }
    void pageCountEqualsPdf()
    {
        QFETCH(QString, kind);
        QFETCH(int, expected);
        DocumentWriter writer;
        writer.StartDocument();
        writer.SetFont(QStringLiteral("Century Gothic"));
        if (kind == QStringLiteral("breaks"))
            writer.TypeText(QStringLiteral("uno") + ff() + QStringLiteral("due") + cr() + ff() +
                            QStringLiteral("tre") + ff() + QStringLiteral("quattro"));
        else if (kind == QStringLiteral("every"))
            samples::buildEveryOperation(writer, m_picture);
        else if (kind == QStringLiteral("pairs"))
            samples::buildDistancesPrintout(writer, 601);
        const int pages = writer.CountPages();
        const QString pdf = m_dir.filePath(kind + QStringLiteral(".pdf"));
        const DocumentSaveResult saved = writer.SaveDocumentAs(pdf);
        QVERIFY2(saved.ok, qPrintable(saved.error));
        QCOMPARE(pdfPageCount(pdf), pages);
        if (expected > 0)
            QCOMPARE(pages, expected);
        if (kind == QStringLiteral("pairs"))
            QVERIFY(pages > 5);
    }

    void longTableRepeatsItsHeadingOnEveryPage()
    {
        DocumentWriter writer;
        samples::buildDistancesPrintout(writer, 301);
        PageLayout layout(writer.document());
        layout.paginateAll();
        QVERIFY(layout.pageCount() >= 4);
        // Paginating in slices finds the same pages.
        PageLayout sliced(writer.document());
        int slices = 0;
        while (!sliced.paginateSome(50))
            ++slices;
        QVERIFY(slices > 2);
        QCOMPARE(sliced.pageCount(), layout.pageCount());
        QCOMPARE(sliced.progress(), 1.0);

        // Page 2 starts with the heading row: its top band is the heading colour.
        QImage page(596, 842, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        layout.paintPage(painter, 1);
        painter.end();
        const QPoint inHeading(int(writer.document().pageSetup().marginLeft) + 3,
                               int(writer.document().pageSetup().marginTop) + 4);
        QCOMPARE(page.pixelColor(inHeading).name(), QStringLiteral("#1f4e79"));
    }
};

QTEST_MAIN(TestDocumentWriter)
#include "tst_documentwriter.moc"
