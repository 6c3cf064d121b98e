#include "docxexporter.h"

#include "packagewriter.h"
#include "tablegeometry.h"

#include <QDateTime>
#include <QFileInfo>
#include <QXmlStreamWriter>

#include <cmath>
#include <map>

namespace urbaflux {

namespace {

const QString kW = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString kR =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString kWp =
    QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing");
const QString kA = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/main");
const QString kPic = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/picture");
const QString kPackageRels =
    QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");

const QString kColouredStyle = QStringLiteral("UrbafluxTabellaColorata");
const QString kGridStyle = QStringLiteral("UrbafluxTabellaGriglia");

// Colours of our coloured table style, after a word processor's "Colorful 2": a dark heading
// row in white bold type, rows banded in a pale tint, thin borders of the heading's hue.
const QString kHeadingFill = QStringLiteral("1F4E79");
const QString kBandFill = QStringLiteral("DCE8F4");
const QString kBorderColour = QStringLiteral("5B8DB8");

constexpr int kTwipsPerPoint = 20;
constexpr qint64 kEmuPerPoint = 12700;

int twips(double points)
{
    return static_cast<int>(std::lround(points * kTwipsPerPoint));
}

QString halfPoints(double points)
{
    return QString::number(std::max(1L, std::lround(points * 2)));
}

QString alignmentValue(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Justify:
        return QStringLiteral("both");
    case Alignment::Right:
        return QStringLiteral("right");
    case Alignment::Center:
        return QStringLiteral("center");
    case Alignment::Left:
        break;
    }
    return QStringLiteral("left");
}

QString mediaExtension(const QByteArray& format)
{
    return format == "jpeg" ? QStringLiteral("jpeg") : QString::fromLatin1(format);
}

QString documentFont(const Document& document)
{
    for (const Block& block : document.blocks()) {
        if (const auto* paragraph = std::get_if<Paragraph>(&block)) {
            if (!paragraph->markFont.isEmpty())
                return paragraph->markFont;
        }
    }
    return QStringLiteral("Century Gothic");
}

struct CellStyle
{
    double size = 10;
    Alignment alignment = Alignment::Left;
    double lineHeight = 12;
};

class DocumentXml : public PagedDocumentXml
{
public:
    DocumentXml(const Document& document, DocumentPackage& package)
        : PagedDocumentXml(document, package), m_defaultFont(documentFont(document))
    {
    }

    std::vector<PackagePart> media;
    // The paragraph styles of table cells used, by id.
    std::map<QString, CellStyle> cellStyles;

    bool write()
    {
        m_xml.writeStartDocument(QStringLiteral("1.0"), true);
        m_xml.writeNamespace(kW, QStringLiteral("w"));
        m_xml.writeNamespace(kR, QStringLiteral("r"));
        m_xml.writeNamespace(kWp, QStringLiteral("wp"));
        m_xml.writeNamespace(kA, QStringLiteral("a"));
        m_xml.writeNamespace(kPic, QStringLiteral("pic"));
        m_xml.writeStartElement(kW, QStringLiteral("document"));
        m_xml.writeStartElement(kW, QStringLiteral("body"));
        if (!writeBlocks())
            return false;
        writeSection();
        m_xml.writeEndElement(); // body
        m_xml.writeEndElement(); // document
        m_xml.writeEndDocument();
        return flush();
    }

private:
    void writeRunProperties(const QString& font, double size)
    {
        m_xml.writeStartElement(kW, QStringLiteral("rPr"));
        if (!font.isEmpty() && font != m_defaultFont) {
            m_xml.writeEmptyElement(kW, QStringLiteral("rFonts"));
            m_xml.writeAttribute(kW, QStringLiteral("ascii"), font);
            m_xml.writeAttribute(kW, QStringLiteral("hAnsi"), font);
            m_xml.writeAttribute(kW, QStringLiteral("cs"), font);
        }
        m_xml.writeEmptyElement(kW, QStringLiteral("sz"));
        m_xml.writeAttribute(kW, QStringLiteral("val"), halfPoints(size));
        m_xml.writeEndElement();
    }

    void writeTextRun(const QString& text, const QString& font, double size)
    {
        bool hasTab = false;
        const QString safe = xmlSafeText(text, &hasTab);
        m_xml.writeStartElement(kW, QStringLiteral("r"));
        writeRunProperties(font, size);
        const QStringList pieces = hasTab ? safe.split(QChar(9)) : QStringList{safe};
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            if (i > 0)
                m_xml.writeEmptyElement(kW, QStringLiteral("tab"));
            if (pieces[i].isEmpty())
                continue;
            m_xml.writeStartElement(kW, QStringLiteral("t"));
            m_xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
            m_xml.writeCharacters(pieces[i]);
            m_xml.writeEndElement();
        }
        m_xml.writeEndElement();
    }

    void writePicture(const Run& run)
    {
        const int number = static_cast<int>(media.size()) + 1;
        const QString id = QStringLiteral("rIdImmagine%1").arg(number);
        const QString file =
            QStringLiteral("image%1.%2").arg(number).arg(mediaExtension(run.pictureFormat));
        media.push_back(
            {QStringLiteral("word/media/") + file, run.pictureData, PackagePart::Kind::Picture});
        const QString cx =
            QString::number(std::llround(run.pictureSize.width() * double(kEmuPerPoint)));
        const QString cy =
            QString::number(std::llround(run.pictureSize.height() * double(kEmuPerPoint)));

        m_xml.writeStartElement(kW, QStringLiteral("r"));
        writeRunProperties(run.font, run.size);
        m_xml.writeStartElement(kW, QStringLiteral("drawing"));
        m_xml.writeStartElement(kWp, QStringLiteral("inline"));
        for (const char* side : {"distT", "distB", "distL", "distR"})
            m_xml.writeAttribute(QString::fromLatin1(side), QStringLiteral("0"));
        m_xml.writeEmptyElement(kWp, QStringLiteral("extent"));
        m_xml.writeAttribute(QStringLiteral("cx"), cx);
        m_xml.writeAttribute(QStringLiteral("cy"), cy);
        m_xml.writeEmptyElement(kWp, QStringLiteral("effectExtent"));
        for (const char* side : {"l", "t", "r", "b"})
            m_xml.writeAttribute(QString::fromLatin1(side), QStringLiteral("0"));
        m_xml.writeEmptyElement(kWp, QStringLiteral("docPr"));
        m_xml.writeAttribute(QStringLiteral("id"), QString::number(number));
        m_xml.writeAttribute(QStringLiteral("name"), QStringLiteral("Immagine %1").arg(number));
        m_xml.writeStartElement(kWp, QStringLiteral("cNvGraphicFramePr"));
        m_xml.writeEmptyElement(kA, QStringLiteral("graphicFrameLocks"));
        m_xml.writeAttribute(QStringLiteral("noChangeAspect"), QStringLiteral("1"));
        m_xml.writeEndElement();
        m_xml.writeStartElement(kA, QStringLiteral("graphic"));
        m_xml.writeStartElement(kA, QStringLiteral("graphicData"));
        m_xml.writeAttribute(QStringLiteral("uri"), kPic);
        m_xml.writeStartElement(kPic, QStringLiteral("pic"));
        m_xml.writeStartElement(kPic, QStringLiteral("nvPicPr"));
        m_xml.writeEmptyElement(kPic, QStringLiteral("cNvPr"));
        m_xml.writeAttribute(QStringLiteral("id"), QString::number(number));
        m_xml.writeAttribute(QStringLiteral("name"), file);
        m_xml.writeEmptyElement(kPic, QStringLiteral("cNvPicPr"));
        m_xml.writeEndElement(); // nvPicPr
        m_xml.writeStartElement(kPic, QStringLiteral("blipFill"));
        m_xml.writeEmptyElement(kA, QStringLiteral("blip"));
        m_xml.writeAttribute(kR, QStringLiteral("embed"), id);
        m_xml.writeStartElement(kA, QStringLiteral("stretch"));
        m_xml.writeEmptyElement(kA, QStringLiteral("fillRect"));
        m_xml.writeEndElement();
        m_xml.writeEndElement(); // blipFill
        m_xml.writeStartElement(kPic, QStringLiteral("spPr"));
        m_xml.writeStartElement(kA, QStringLiteral("xfrm"));
        m_xml.writeEmptyElement(kA, QStringLiteral("off"));
        m_xml.writeAttribute(QStringLiteral("x"), QStringLiteral("0"));
        m_xml.writeAttribute(QStringLiteral("y"), QStringLiteral("0"));
        m_xml.writeEmptyElement(kA, QStringLiteral("ext"));
        m_xml.writeAttribute(QStringLiteral("cx"), cx);
        m_xml.writeAttribute(QStringLiteral("cy"), cy);
        m_xml.writeEndElement(); // xfrm
        m_xml.writeStartElement(kA, QStringLiteral("prstGeom"));
        m_xml.writeAttribute(QStringLiteral("prst"), QStringLiteral("rect"));
        m_xml.writeEmptyElement(kA, QStringLiteral("avLst"));
        m_xml.writeEndElement();
        m_xml.writeEndElement(); // spPr
        m_xml.writeEndElement(); // pic
        m_xml.writeEndElement(); // graphicData
        m_xml.writeEndElement(); // graphic
        m_xml.writeEndElement(); // inline
        m_xml.writeEndElement(); // drawing
        m_xml.writeEndElement(); // r
    }

    void writePageCount(const Run& run)
    {
        m_xml.writeStartElement(kW, QStringLiteral("fldSimple"));
        m_xml.writeAttribute(kW, QStringLiteral("instr"), QStringLiteral(" NUMPAGES "));
        writeTextRun(run.text, run.font, run.size);
        m_xml.writeEndElement();
    }

    void writeParagraph(int, const Paragraph& paragraph, bool opensPage) override
    {
        m_xml.writeStartElement(kW, QStringLiteral("p"));
        m_xml.writeStartElement(kW, QStringLiteral("pPr"));
        if (opensPage)
            m_xml.writeEmptyElement(kW, QStringLiteral("pageBreakBefore"));
        if (!hasPicture(paragraph)) {
            // The line height the pager uses, stated: readers that draw another face (or the
            // same face with other vertical metrics) still space the lines alike.
            m_xml.writeEmptyElement(kW, QStringLiteral("spacing"));
            m_xml.writeAttribute(kW, QStringLiteral("line"),
                                 QString::number(twips(paragraphLineHeight(paragraph))));
            m_xml.writeAttribute(kW, QStringLiteral("lineRule"), QStringLiteral("exact"));
        }
        if (paragraph.alignment != Alignment::Left) {
            m_xml.writeEmptyElement(kW, QStringLiteral("jc"));
            m_xml.writeAttribute(kW, QStringLiteral("val"), alignmentValue(paragraph.alignment));
        }
        writeRunProperties(paragraph.markFont, paragraph.markSize);
        m_xml.writeEndElement(); // pPr
        for (const Run& run : paragraph.runs) {
            switch (run.kind) {
            case Run::Kind::Text:
                writeTextRun(run.text, run.font, run.size);
                break;
            case Run::Kind::Picture:
                writePicture(run);
                break;
            case Run::Kind::PageCount:
                writePageCount(run);
                break;
            }
        }
        m_xml.writeEndElement(); // p
    }

    // The tiny paragraph that opens the page a piece of a long table starts: it breaks the
    // page, and keeps the word processor from joining the piece to the one before.
    void writeSeparator()
    {
        m_xml.writeStartElement(kW, QStringLiteral("p"));
        m_xml.writeStartElement(kW, QStringLiteral("pPr"));
        m_xml.writeEmptyElement(kW, QStringLiteral("pageBreakBefore"));
        m_xml.writeEmptyElement(kW, QStringLiteral("spacing"));
        m_xml.writeAttribute(kW, QStringLiteral("before"), QStringLiteral("0"));
        m_xml.writeAttribute(kW, QStringLiteral("after"), QStringLiteral("0"));
        m_xml.writeAttribute(kW, QStringLiteral("line"),
                             QString::number(twips(kTablePieceGapPoints)));
        m_xml.writeAttribute(kW, QStringLiteral("lineRule"), QStringLiteral("exact"));
        m_xml.writeStartElement(kW, QStringLiteral("rPr"));
        m_xml.writeEmptyElement(kW, QStringLiteral("sz"));
        m_xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("2"));
        m_xml.writeEndElement();
        m_xml.writeEndElement();
        m_xml.writeEndElement();
    }

    void writeRow(int block, const Table& table, int row, const RowPlace& place) override
    {
        const TableGeometry& shape = m_layout.tableGeometry(block);
        const bool heading = place.heading;
        m_xml.writeStartElement(kW, QStringLiteral("tr"));
        m_xml.writeStartElement(kW, QStringLiteral("trPr"));
        m_xml.writeEmptyElement(kW, QStringLiteral("cantSplit"));
        m_xml.writeEmptyElement(kW, QStringLiteral("trHeight"));
        m_xml.writeAttribute(kW, QStringLiteral("val"),
                             QString::number(twips(shape.rowHeight(row))));
        // Exact: the program decided the lines of every cell, and a reader that draws them
        // taller must not grow the row and push the page's last rows onto the next.
        m_xml.writeAttribute(kW, QStringLiteral("hRule"), QStringLiteral("exact"));
        if (heading)
            m_xml.writeEmptyElement(kW, QStringLiteral("tblHeader"));
        m_xml.writeEndElement(); // trPr
        const bool ownFont = !table.font.isEmpty() && table.font != m_defaultFont;
        for (int column = 0; column < table.columns; ++column) {
            m_xml.writeStartElement(kW, QStringLiteral("tc"));
            m_xml.writeStartElement(kW, QStringLiteral("p"));
            m_xml.writeStartElement(kW, QStringLiteral("pPr"));
            m_xml.writeEmptyElement(kW, QStringLiteral("pStyle"));
            m_xml.writeAttribute(kW, QStringLiteral("val"), m_styles[static_cast<size_t>(column)]);
            m_xml.writeEndElement();
            if (!table.cell(row, column).isEmpty()) {
                m_xml.writeStartElement(kW, QStringLiteral("r"));
                if (ownFont) {
                    m_xml.writeStartElement(kW, QStringLiteral("rPr"));
                    m_xml.writeEmptyElement(kW, QStringLiteral("rFonts"));
                    m_xml.writeAttribute(kW, QStringLiteral("ascii"), table.font);
                    m_xml.writeAttribute(kW, QStringLiteral("hAnsi"), table.font);
                    m_xml.writeAttribute(kW, QStringLiteral("cs"), table.font);
                    m_xml.writeEndElement();
                }
                // The lines the program broke the text into, each ended by a line break.
                bool first = true;
                for (const QString& line : shape.cellLines(table, row, column)) {
                    if (!first)
                        m_xml.writeEmptyElement(kW, QStringLiteral("br"));
                    first = false;
                    bool hasTab = false;
                    const QString safe = xmlSafeText(line, &hasTab);
                    m_xml.writeStartElement(kW, QStringLiteral("t"));
                    if (safe.startsWith(QChar(32)) || safe.endsWith(QChar(32)) || hasTab)
                        m_xml.writeAttribute(QStringLiteral("xml:space"),
                                             QStringLiteral("preserve"));
                    m_xml.writeCharacters(safe);
                    m_xml.writeEndElement(); // t
                }
                m_xml.writeEndElement(); // r
            }
            m_xml.writeEndElement(); // p
            m_xml.writeEndElement(); // tc
        }
        m_xml.writeEndElement(); // tr
    }

    // The paragraph style of a cell: its size, its alignment and the exact line height.
    QString cellStyle(const Table& table, Alignment alignment, double lineHeight)
    {
        static const char* const letters = "LJRC";
        const QString id = QStringLiteral("UrbafluxCella%1%2")
                               .arg(halfPoints(table.fontSize))
                               .arg(QLatin1Char(letters[static_cast<int>(alignment)]));
        cellStyles.emplace(id, CellStyle{table.fontSize, alignment, lineHeight});
        return id;
    }

    // One piece per page the pager gives the table: each later piece opens its page with the
    // separator and the heading row, so that no heading ever stands mid-page.
    void beginPiece(int block, const Table& table, const Piece& piece) override
    {
        const TableGeometry& shape = m_layout.tableGeometry(block);
        if (piece.number == 1) {
            m_widths.clear();
            m_total = 0;
            for (double width : shape.columnWidths) {
                m_widths << QString::number(twips(width));
                m_total += twips(width);
            }
            m_styles.clear();
            for (int column = 0; column < table.columns; ++column)
                m_styles.push_back(cellStyle(
                    table, table.columnAlignment[static_cast<size_t>(column)], shape.lineHeight));
        }
        if (piece.opensPage)
            writeSeparator();
        writeTableStart(table, m_widths, m_total);
    }

    void endPiece(int, const Table&) override
    {
        m_xml.writeEndElement(); // tbl
    }

    void writeTableStart(const Table& table, const QStringList& widths, int total)
    {
        m_xml.writeStartElement(kW, QStringLiteral("tbl"));
        m_xml.writeStartElement(kW, QStringLiteral("tblPr"));
        m_xml.writeEmptyElement(kW, QStringLiteral("tblStyle"));
        m_xml.writeAttribute(kW, QStringLiteral("val"), table.styled ? kColouredStyle : kGridStyle);
        m_xml.writeEmptyElement(kW, QStringLiteral("tblW"));
        m_xml.writeAttribute(kW, QStringLiteral("w"), QString::number(total));
        m_xml.writeAttribute(kW, QStringLiteral("type"), QStringLiteral("dxa"));
        m_xml.writeEmptyElement(kW, QStringLiteral("tblLayout"));
        m_xml.writeAttribute(kW, QStringLiteral("type"), QStringLiteral("fixed"));
        m_xml.writeEmptyElement(kW, QStringLiteral("tblLook"));
        m_xml.writeAttribute(kW, QStringLiteral("val"),
                             table.headingRow ? QStringLiteral("04A0") : QStringLiteral("0400"));
        m_xml.writeAttribute(kW, QStringLiteral("firstRow"),
                             table.headingRow ? QStringLiteral("1") : QStringLiteral("0"));
        m_xml.writeAttribute(kW, QStringLiteral("lastRow"), QStringLiteral("0"));
        m_xml.writeAttribute(kW, QStringLiteral("firstColumn"), QStringLiteral("0"));
        m_xml.writeAttribute(kW, QStringLiteral("lastColumn"), QStringLiteral("0"));
        m_xml.writeAttribute(kW, QStringLiteral("noHBand"), QStringLiteral("0"));
        m_xml.writeAttribute(kW, QStringLiteral("noVBand"), QStringLiteral("1"));
        m_xml.writeEndElement(); // tblPr
        m_xml.writeStartElement(kW, QStringLiteral("tblGrid"));
        for (const QString& width : widths) {
            m_xml.writeEmptyElement(kW, QStringLiteral("gridCol"));
            m_xml.writeAttribute(kW, QStringLiteral("w"), width);
        }
        m_xml.writeEndElement();
    }

    void writeSection()
    {
        const PageSetup& page = m_document.pageSetup();
        m_xml.writeStartElement(kW, QStringLiteral("sectPr"));
        m_xml.writeEmptyElement(kW, QStringLiteral("pgSz"));
        m_xml.writeAttribute(kW, QStringLiteral("w"), QString::number(twips(page.width)));
        m_xml.writeAttribute(kW, QStringLiteral("h"), QString::number(twips(page.height)));
        m_xml.writeEmptyElement(kW, QStringLiteral("pgMar"));
        m_xml.writeAttribute(kW, QStringLiteral("top"), QString::number(twips(page.marginTop)));
        m_xml.writeAttribute(kW, QStringLiteral("right"), QString::number(twips(page.marginRight)));
        m_xml.writeAttribute(kW, QStringLiteral("bottom"),
                             QString::number(twips(page.marginBottom)));
        m_xml.writeAttribute(kW, QStringLiteral("left"), QString::number(twips(page.marginLeft)));
        m_xml.writeAttribute(kW, QStringLiteral("header"), QStringLiteral("709"));
        m_xml.writeAttribute(kW, QStringLiteral("footer"), QStringLiteral("709"));
        m_xml.writeAttribute(kW, QStringLiteral("gutter"), QStringLiteral("0"));
        m_xml.writeEndElement();
    }

    // The styles state this font for everything; runs name theirs only when it differs.
    QString m_defaultFont;
    // Of the table being written: its grid and the paragraph style of each column's cells.
    QStringList m_widths;
    int m_total = 0;
    std::vector<QString> m_styles;
};

void writeBorder(QXmlStreamWriter& xml, const QString& side, const QString& colour)
{
    xml.writeEmptyElement(kW, side);
    xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("single"));
    xml.writeAttribute(kW, QStringLiteral("sz"), QStringLiteral("4"));
    xml.writeAttribute(kW, QStringLiteral("space"), QStringLiteral("0"));
    xml.writeAttribute(kW, QStringLiteral("color"), colour);
}

void writeTableStyle(QXmlStreamWriter& xml, const QString& id, const QString& name,
                     const QString& borderColour, bool coloured)
{
    xml.writeStartElement(kW, QStringLiteral("style"));
    xml.writeAttribute(kW, QStringLiteral("type"), QStringLiteral("table"));
    xml.writeAttribute(kW, QStringLiteral("styleId"), id);
    xml.writeEmptyElement(kW, QStringLiteral("name"));
    xml.writeAttribute(kW, QStringLiteral("val"), name);
    xml.writeEmptyElement(kW, QStringLiteral("basedOn"));
    xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("TableNormal"));
    xml.writeEmptyElement(kW, QStringLiteral("uiPriority"));
    xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("99"));
    xml.writeStartElement(kW, QStringLiteral("pPr"));
    xml.writeEmptyElement(kW, QStringLiteral("spacing"));
    xml.writeAttribute(kW, QStringLiteral("after"), QStringLiteral("0"));
    xml.writeAttribute(kW, QStringLiteral("line"), QStringLiteral("240"));
    xml.writeAttribute(kW, QStringLiteral("lineRule"), QStringLiteral("auto"));
    xml.writeEndElement();
    xml.writeStartElement(kW, QStringLiteral("tblPr"));
    if (coloured) {
        xml.writeEmptyElement(kW, QStringLiteral("tblStyleRowBandSize"));
        xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("1"));
    }
    xml.writeStartElement(kW, QStringLiteral("tblBorders"));
    for (const char* side : {"top", "left", "bottom", "right", "insideH", "insideV"})
        writeBorder(xml, QString::fromLatin1(side), borderColour);
    xml.writeEndElement();
    xml.writeStartElement(kW, QStringLiteral("tblCellMar"));
    for (const char* side : {"top", "left", "bottom", "right"}) {
        const bool vertical = side[0] == 't' || side[0] == 'b';
        xml.writeEmptyElement(kW, QString::fromLatin1(side));
        xml.writeAttribute(
            kW, QStringLiteral("w"),
            QString::number(twips(vertical ? kCellVerticalPaddingPoints : kCellPaddingPoints)));
        xml.writeAttribute(kW, QStringLiteral("type"), QStringLiteral("dxa"));
    }
    xml.writeEndElement();
    xml.writeEndElement(); // tblPr
    if (coloured) {
        xml.writeStartElement(kW, QStringLiteral("tblStylePr"));
        xml.writeAttribute(kW, QStringLiteral("type"), QStringLiteral("firstRow"));
        xml.writeStartElement(kW, QStringLiteral("rPr"));
        xml.writeEmptyElement(kW, QStringLiteral("b"));
        xml.writeEmptyElement(kW, QStringLiteral("bCs"));
        xml.writeEmptyElement(kW, QStringLiteral("color"));
        xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("FFFFFF"));
        xml.writeEndElement();
        xml.writeStartElement(kW, QStringLiteral("tcPr"));
        xml.writeEmptyElement(kW, QStringLiteral("shd"));
        xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("clear"));
        xml.writeAttribute(kW, QStringLiteral("color"), QStringLiteral("auto"));
        xml.writeAttribute(kW, QStringLiteral("fill"), kHeadingFill);
        xml.writeEndElement();
        xml.writeEndElement(); // tblStylePr
        xml.writeStartElement(kW, QStringLiteral("tblStylePr"));
        xml.writeAttribute(kW, QStringLiteral("type"), QStringLiteral("band1Horz"));
        xml.writeStartElement(kW, QStringLiteral("tcPr"));
        xml.writeEmptyElement(kW, QStringLiteral("shd"));
        xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("clear"));
        xml.writeAttribute(kW, QStringLiteral("color"), QStringLiteral("auto"));
        xml.writeAttribute(kW, QStringLiteral("fill"), kBandFill);
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement(); // style
}

void writeCellStyle(QXmlStreamWriter& xml, const QString& id, const CellStyle& style)
{
    xml.writeStartElement(kW, QStringLiteral("style"));
    xml.writeAttribute(kW, QStringLiteral("type"), QStringLiteral("paragraph"));
    xml.writeAttribute(kW, QStringLiteral("customStyle"), QStringLiteral("1"));
    xml.writeAttribute(kW, QStringLiteral("styleId"), id);
    xml.writeEmptyElement(kW, QStringLiteral("name"));
    xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("Urbaflux ") + id.mid(8));
    xml.writeEmptyElement(kW, QStringLiteral("basedOn"));
    xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("Normal"));
    xml.writeStartElement(kW, QStringLiteral("pPr"));
    xml.writeEmptyElement(kW, QStringLiteral("spacing"));
    xml.writeAttribute(kW, QStringLiteral("before"), QStringLiteral("0"));
    xml.writeAttribute(kW, QStringLiteral("after"), QStringLiteral("0"));
    xml.writeAttribute(kW, QStringLiteral("line"), QString::number(twips(style.lineHeight)));
    xml.writeAttribute(kW, QStringLiteral("lineRule"), QStringLiteral("exact"));
    if (style.alignment != Alignment::Left) {
        xml.writeEmptyElement(kW, QStringLiteral("jc"));
        xml.writeAttribute(kW, QStringLiteral("val"), alignmentValue(style.alignment));
    }
    xml.writeEndElement(); // pPr
    xml.writeStartElement(kW, QStringLiteral("rPr"));
    xml.writeEmptyElement(kW, QStringLiteral("sz"));
    xml.writeAttribute(kW, QStringLiteral("val"), halfPoints(style.size));
    xml.writeEmptyElement(kW, QStringLiteral("szCs"));
    xml.writeAttribute(kW, QStringLiteral("val"), halfPoints(style.size));
    xml.writeEndElement(); // rPr
    xml.writeEndElement(); // style
}

QByteArray stylesXml(const Document& document, const std::map<QString, CellStyle>& cellStyles)
{
    const QString font = documentFont(document);
    return xmlPart([&](QXmlStreamWriter& xml) {
        xml.writeNamespace(kW, QStringLiteral("w"));
        xml.writeStartElement(kW, QStringLiteral("styles"));
        xml.writeStartElement(kW, QStringLiteral("docDefaults"));
        xml.writeStartElement(kW, QStringLiteral("rPrDefault"));
        xml.writeStartElement(kW, QStringLiteral("rPr"));
        xml.writeEmptyElement(kW, QStringLiteral("rFonts"));
        xml.writeAttribute(kW, QStringLiteral("ascii"), font);
        xml.writeAttribute(kW, QStringLiteral("hAnsi"), font);
        xml.writeAttribute(kW, QStringLiteral("cs"), font);
        xml.writeAttribute(kW, QStringLiteral("eastAsia"), font);
        xml.writeEmptyElement(kW, QStringLiteral("sz"));
        xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("24"));
        xml.writeEmptyElement(kW, QStringLiteral("szCs"));
        xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("24"));
        xml.writeEmptyElement(kW, QStringLiteral("lang"));
        xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("it-IT"));
        xml.writeEndElement();
        xml.writeEndElement(); // rPrDefault
        xml.writeStartElement(kW, QStringLiteral("pPrDefault"));
        xml.writeStartElement(kW, QStringLiteral("pPr"));
        // The pager keeps no widows or orphans from the lines of a paragraph: nor may readers.
        xml.writeEmptyElement(kW, QStringLiteral("widowControl"));
        xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("0"));
        xml.writeEmptyElement(kW, QStringLiteral("spacing"));
        xml.writeAttribute(kW, QStringLiteral("after"), QStringLiteral("0"));
        xml.writeAttribute(kW, QStringLiteral("line"), QStringLiteral("240"));
        xml.writeAttribute(kW, QStringLiteral("lineRule"), QStringLiteral("auto"));
        xml.writeEndElement();
        xml.writeEndElement(); // pPrDefault
        xml.writeEndElement(); // docDefaults

        xml.writeStartElement(kW, QStringLiteral("style"));
        xml.writeAttribute(kW, QStringLiteral("type"), QStringLiteral("paragraph"));
        xml.writeAttribute(kW, QStringLiteral("default"), QStringLiteral("1"));
        xml.writeAttribute(kW, QStringLiteral("styleId"), QStringLiteral("Normal"));
        xml.writeEmptyElement(kW, QStringLiteral("name"));
        xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("Normal"));
        xml.writeEmptyElement(kW, QStringLiteral("qFormat"));
        xml.writeEndElement();

        xml.writeStartElement(kW, QStringLiteral("style"));
        xml.writeAttribute(kW, QStringLiteral("type"), QStringLiteral("table"));
        xml.writeAttribute(kW, QStringLiteral("default"), QStringLiteral("1"));
        xml.writeAttribute(kW, QStringLiteral("styleId"), QStringLiteral("TableNormal"));
        xml.writeEmptyElement(kW, QStringLiteral("name"));
        xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("Normal Table"));
        xml.writeEmptyElement(kW, QStringLiteral("uiPriority"));
        xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("99"));
        xml.writeEmptyElement(kW, QStringLiteral("semiHidden"));
        xml.writeStartElement(kW, QStringLiteral("tblPr"));
        xml.writeEmptyElement(kW, QStringLiteral("tblInd"));
        xml.writeAttribute(kW, QStringLiteral("w"), QStringLiteral("0"));
        xml.writeAttribute(kW, QStringLiteral("type"), QStringLiteral("dxa"));
        xml.writeStartElement(kW, QStringLiteral("tblCellMar"));
        for (const char* side : {"top", "left", "bottom", "right"}) {
            const bool vertical = side[0] == 't' || side[0] == 'b';
            xml.writeEmptyElement(kW, QString::fromLatin1(side));
            xml.writeAttribute(kW, QStringLiteral("w"),
                               vertical ? QStringLiteral("0")
                                        : QString::number(twips(kCellPaddingPoints)));
            xml.writeAttribute(kW, QStringLiteral("type"), QStringLiteral("dxa"));
        }
        xml.writeEndElement();
        xml.writeEndElement(); // tblPr
        xml.writeEndElement(); // style

        writeTableStyle(xml, kGridStyle, QStringLiteral("Urbaflux griglia"),
                        QStringLiteral("000000"), false);
        writeTableStyle(xml, kColouredStyle, QStringLiteral("Urbaflux colorata 2"), kBorderColour,
                        true);
        for (const auto& [id, style] : cellStyles)
            writeCellStyle(xml, id, style);
        xml.writeEndElement(); // styles
    });
}

// What a reader needs to choose a face like the one named when that one is missing: Century
// Gothic is a sans serif of variable pitch (its panose), and URW Gothic is its metric twin.
QByteArray fontTableXml(const Document& document)
{
    const QString font = documentFont(document);
    return xmlPart([&](QXmlStreamWriter& xml) {
        xml.writeNamespace(kW, QStringLiteral("w"));
        xml.writeStartElement(kW, QStringLiteral("fonts"));
        xml.writeStartElement(kW, QStringLiteral("font"));
        xml.writeAttribute(kW, QStringLiteral("name"), font);
        const bool gothic =
            font.compare(QStringLiteral("Century Gothic"), Qt::CaseInsensitive) == 0;
        if (gothic) {
            xml.writeEmptyElement(kW, QStringLiteral("altName"));
            xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("URW Gothic"));
            xml.writeEmptyElement(kW, QStringLiteral("panose1"));
            xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("020B0502020202020204"));
        }
        xml.writeEmptyElement(kW, QStringLiteral("charset"));
        xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("00"));
        xml.writeEmptyElement(kW, QStringLiteral("family"));
        xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("swiss"));
        xml.writeEmptyElement(kW, QStringLiteral("pitch"));
        xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("variable"));
        xml.writeEndElement(); // font
        xml.writeEndElement(); // fonts
    });
}

QByteArray settingsXml()
{
    return xmlPart([](QXmlStreamWriter& xml) {
        xml.writeNamespace(kW, QStringLiteral("w"));
        xml.writeStartElement(kW, QStringLiteral("settings"));
        xml.writeEmptyElement(kW, QStringLiteral("zoom"));
        xml.writeAttribute(kW, QStringLiteral("percent"), QStringLiteral("100"));
        xml.writeEmptyElement(kW, QStringLiteral("defaultTabStop"));
        xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("709"));
        xml.writeEmptyElement(kW, QStringLiteral("characterSpacingControl"));
        xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("doNotCompress"));
        xml.writeStartElement(kW, QStringLiteral("compat"));
        // The program breaks long cells into lines: a justified cell must not stretch the
        // blanks of a line it ended.
        xml.writeEmptyElement(kW, QStringLiteral("doNotExpandShiftReturn"));
        xml.writeEmptyElement(kW, QStringLiteral("compatSetting"));
        xml.writeAttribute(kW, QStringLiteral("name"), QStringLiteral("compatibilityMode"));
        xml.writeAttribute(kW, QStringLiteral("uri"),
                           QStringLiteral("http://schemas.microsoft.com/office/word"));
        xml.writeAttribute(kW, QStringLiteral("val"), QStringLiteral("15"));
        xml.writeEndElement();
        xml.writeEndElement();
    });
}

QByteArray contentTypesXml(const std::vector<PackagePart>& media)
{
    const QString ns =
        QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types");
    return xmlPart([&](QXmlStreamWriter& xml) {
        xml.writeDefaultNamespace(ns);
        xml.writeStartElement(ns, QStringLiteral("Types"));
        auto byExtension = [&](const QString& extension, const QString& type) {
            xml.writeEmptyElement(ns, QStringLiteral("Default"));
            xml.writeAttribute(QStringLiteral("Extension"), extension);
            xml.writeAttribute(QStringLiteral("ContentType"), type);
        };
        byExtension(QStringLiteral("rels"),
                    QStringLiteral("application/vnd.openxmlformats-package.relationships+xml"));
        byExtension(QStringLiteral("xml"), QStringLiteral("application/xml"));
        QStringList seen;
        for (const PackagePart& part : media) {
            const QString extension = QFileInfo(part.name).suffix();
            if (seen.contains(extension))
                continue;
            seen << extension;
            byExtension(extension, QStringLiteral("image/") + extension);
        }
        auto override = [&](const QString& name, const QString& type) {
            xml.writeEmptyElement(ns, QStringLiteral("Override"));
            xml.writeAttribute(QStringLiteral("PartName"), name);
            xml.writeAttribute(QStringLiteral("ContentType"), type);
        };
        const QString wml = QStringLiteral("application/vnd.openxmlformats-officedocument."
                                           "wordprocessingml.");
        override(QStringLiteral("/word/document.xml"), wml + QStringLiteral("document.main+xml"));
        override(QStringLiteral("/word/styles.xml"), wml + QStringLiteral("styles+xml"));
        override(QStringLiteral("/word/settings.xml"), wml + QStringLiteral("settings+xml"));
        override(QStringLiteral("/word/fontTable.xml"), wml + QStringLiteral("fontTable+xml"));
        override(QStringLiteral("/docProps/core.xml"),
                 QStringLiteral("application/vnd.openxmlformats-package.core-properties+xml"));
        override(QStringLiteral("/docProps/app.xml"),
                 QStringLiteral(
                     "application/vnd.openxmlformats-officedocument.extended-properties+xml"));
        xml.writeEndElement();
    });
}

QByteArray relationshipsXml(const std::vector<std::pair<QString, QString>>& targets,
                            const QString& typeBase)
{
    return xmlPart([&](QXmlStreamWriter& xml) {
        xml.writeDefaultNamespace(kPackageRels);
        xml.writeStartElement(kPackageRels, QStringLiteral("Relationships"));
        int number = 0;
        for (const auto& [type, target] : targets) {
            xml.writeEmptyElement(kPackageRels, QStringLiteral("Relationship"));
            const bool image = type == QStringLiteral("image");
            xml.writeAttribute(QStringLiteral("Id"),
                               image ? QStringLiteral("rIdImmagine%1").arg(++number)
                                     : QStringLiteral("rId") + type);
            xml.writeAttribute(QStringLiteral("Type"),
                               type.startsWith(QStringLiteral("http")) ? type : typeBase + type);
            xml.writeAttribute(QStringLiteral("Target"), target);
        }
        xml.writeEndElement();
    });
}

QByteArray packageRelationships()
{
    const QString officeBase =
        QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/");
    return xmlPart([&](QXmlStreamWriter& xml) {
        xml.writeDefaultNamespace(kPackageRels);
        xml.writeStartElement(kPackageRels, QStringLiteral("Relationships"));
        auto relation = [&](const QString& id, const QString& type, const QString& target) {
            xml.writeEmptyElement(kPackageRels, QStringLiteral("Relationship"));
            xml.writeAttribute(QStringLiteral("Id"), id);
            xml.writeAttribute(QStringLiteral("Type"), type);
            xml.writeAttribute(QStringLiteral("Target"), target);
        };
        relation(QStringLiteral("rId1"), officeBase + QStringLiteral("officeDocument"),
                 QStringLiteral("word/document.xml"));
        relation(QStringLiteral("rId2"),
                 QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships/"
                                "metadata/core-properties"),
                 QStringLiteral("docProps/core.xml"));
        relation(QStringLiteral("rId3"), officeBase + QStringLiteral("extended-properties"),
                 QStringLiteral("docProps/app.xml"));
        xml.writeEndElement();
    });
}

QByteArray coreXml(const Document& document)
{
    const QString cp =
        QStringLiteral("http://schemas.openxmlformats.org/package/2006/metadata/core-properties");
    const QString dc = QStringLiteral("http://purl.org/dc/elements/1.1/");
    const QString dcterms = QStringLiteral("http://purl.org/dc/terms/");
    const QString xsi = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");
    const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    return xmlPart([&](QXmlStreamWriter& xml) {
        xml.writeNamespace(cp, QStringLiteral("cp"));
        xml.writeNamespace(dc, QStringLiteral("dc"));
        xml.writeNamespace(dcterms, QStringLiteral("dcterms"));
        xml.writeNamespace(xsi, QStringLiteral("xsi"));
        xml.writeStartElement(cp, QStringLiteral("coreProperties"));
        xml.writeTextElement(dc, QStringLiteral("title"), xmlSafeText(document.title()));
        xml.writeTextElement(dc, QStringLiteral("creator"), QStringLiteral("Urbaflux"));
        for (const char* name : {"created", "modified"}) {
            xml.writeStartElement(dcterms, QString::fromLatin1(name));
            xml.writeAttribute(xsi, QStringLiteral("type"), QStringLiteral("dcterms:W3CDTF"));
            xml.writeCharacters(now);
            xml.writeEndElement();
        }
        xml.writeEndElement();
    });
}

QByteArray appXml()
{
    const QString ns =
        QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/extended-properties");
    return xmlPart([&](QXmlStreamWriter& xml) {
        xml.writeDefaultNamespace(ns);
        xml.writeStartElement(ns, QStringLiteral("Properties"));
        xml.writeTextElement(ns, QStringLiteral("Application"), QStringLiteral("Urbaflux"));
        xml.writeEndElement();
    });
}

} // namespace

bool writeDocx(const Document& document, QIODevice* device, QString* error)
{
    std::vector<PackagePart> media;
    std::map<QString, CellStyle> cellStyles;
    auto body = [&](DocumentPackage& package) {
        DocumentXml xml(document, package);
        const bool ok = xml.write();
        media = std::move(xml.media);
        cellStyles = std::move(xml.cellStyles);
        return ok;
    };
    auto parts = [&] {
        std::vector<std::pair<QString, QString>> wordRelations = {
            {QStringLiteral("styles"), QStringLiteral("styles.xml")},
            {QStringLiteral("settings"), QStringLiteral("settings.xml")},
            {QStringLiteral("fontTable"), QStringLiteral("fontTable.xml")}};
        for (const PackagePart& picture : media)
            wordRelations.emplace_back(QStringLiteral("image"),
                                       picture.name.mid(QStringLiteral("word/").size()));
        std::vector<PackagePart> result = {
            {QStringLiteral("[Content_Types].xml"), contentTypesXml(media)},
            {QStringLiteral("_rels/.rels"), packageRelationships()},
            {QStringLiteral("word/_rels/document.xml.rels"),
             relationshipsXml(
                 wordRelations,
                 QStringLiteral(
                     "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"))},
            {QStringLiteral("word/styles.xml"), stylesXml(document, cellStyles)},
            {QStringLiteral("word/fontTable.xml"), fontTableXml(document)},
            {QStringLiteral("word/settings.xml"), settingsXml()},
            {QStringLiteral("docProps/core.xml"), coreXml(document)},
            {QStringLiteral("docProps/app.xml"), appXml()}};
        result.insert(result.end(), media.begin(), media.end());
        return result;
    };
    return writePackage(device, {}, QStringLiteral("word/document.xml"), body, parts, error);
}

DocumentSaveResult saveDocx(const Document& document, const QString& path)
{
    return savePackageFile(document, path, writeDocx);
}

} // namespace urbaflux
