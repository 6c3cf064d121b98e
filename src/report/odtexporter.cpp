#include "odtexporter.h"

#include "packagewriter.h"
#include "tablegeometry.h"

#include <QXmlStreamWriter>

#include <map>
#include <tuple>

namespace urbaflux {

namespace {

const QString kOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kStyle = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString kText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kTable = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kFo = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");
const QString kDraw = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0");
const QString kSvg = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0");
const QString kXlink = QStringLiteral("http://www.w3.org/1999/xlink");
const QString kManifest = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:manifest:1.0");

// The colours of the coloured table style, as in the DOCX and the pager.
const QString kHeadingFill = QStringLiteral("#1f4e79");
const QString kBandFill = QStringLiteral("#dce8f4");
const QString kBorderColour = QStringLiteral("#5b8db8");

QString pt(double points)
{
    return QString::number(roundToTwips(points), 'f', 2) + QStringLiteral("pt");
}

QString alignmentValue(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Justify:
        return QStringLiteral("justify");
    case Alignment::Right:
        return QStringLiteral("end");
    case Alignment::Center:
        return QStringLiteral("center");
    case Alignment::Left:
        break;
    }
    return QStringLiteral("start");
}

void writeNamespaces(QXmlStreamWriter& xml)
{
    xml.writeNamespace(kOffice, QStringLiteral("office"));
    xml.writeNamespace(kStyle, QStringLiteral("style"));
    xml.writeNamespace(kText, QStringLiteral("text"));
    xml.writeNamespace(kTable, QStringLiteral("table"));
    xml.writeNamespace(kFo, QStringLiteral("fo"));
    xml.writeNamespace(kDraw, QStringLiteral("draw"));
    xml.writeNamespace(kSvg, QStringLiteral("svg"));
    xml.writeNamespace(kXlink, QStringLiteral("xlink"));
}

// Text as ODF keeps it: runs of blanks, leading blanks and tabs are elements of their own
// (a reader collapses plain white space).
void writeText(QXmlStreamWriter& xml, const QString& text)
{
    QString pending;
    int blanks = 0; // blanks to be written as one element
    auto flushText = [&] {
        if (!pending.isEmpty())
            xml.writeCharacters(pending);
        pending.clear();
    };
    auto flushBlanks = [&] {
        if (blanks == 0)
            return;
        flushText();
        xml.writeEmptyElement(kText, QStringLiteral("s"));
        if (blanks > 1)
            xml.writeAttribute(kText, QStringLiteral("c"), QString::number(blanks));
        blanks = 0;
    };
    bool afterBlank = true; // a blank at the start is kept as an element
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 32) {
            if (afterBlank)
                ++blanks;
            else
                pending += c;
            afterBlank = true;
            continue;
        }
        flushBlanks();
        afterBlank = false;
        if (u == 9) {
            flushText();
            xml.writeEmptyElement(kText, QStringLiteral("tab"));
            afterBlank = true;
        } else if (u >= 0x20 && u != 0xFFFE && u != 0xFFFF) {
            pending += c;
        }
    }
    flushBlanks();
    flushText();
}

QString pictureMediaType(const QString& name)
{
    const QString extension = name.section(QLatin1Char('.'), -1);
    return QStringLiteral("image/") +
           (extension == QStringLiteral("jpg") ? QStringLiteral("jpeg") : extension);
}

class ContentXml : public PagedDocumentXml
{
public:
    ContentXml(const Document& document, DocumentPackage& package)
        : PagedDocumentXml(document, package)
    {
    }

    std::vector<PackagePart> pictures;

    bool write()
    {
        collectStyles();
        m_xml.writeStartDocument(QStringLiteral("1.0"), true);
        writeNamespaces(m_xml);
        m_xml.writeStartElement(kOffice, QStringLiteral("document-content"));
        m_xml.writeAttribute(kOffice, QStringLiteral("version"), QStringLiteral("1.3"));
        writeFontFaces(m_xml);
        writeAutomaticStyles();
        m_xml.writeStartElement(kOffice, QStringLiteral("body"));
        m_xml.writeStartElement(kOffice, QStringLiteral("text"));
        if (!writeBlocks())
            return false;
        m_xml.writeEndElement(); // text
        m_xml.writeEndElement(); // body
        m_xml.writeEndElement(); // document-content
        m_xml.writeEndDocument();
        return flush();
    }

    static void writeFontFaces(QXmlStreamWriter& xml)
    {
        // Century Gothic's family, pitch and panose, for readers that must pick a twin.
        xml.writeStartElement(kOffice, QStringLiteral("font-face-decls"));
        xml.writeEmptyElement(kStyle, QStringLiteral("font-face"));
        xml.writeAttribute(kStyle, QStringLiteral("name"), QStringLiteral("Century Gothic"));
        xml.writeAttribute(kSvg, QStringLiteral("font-family"), QStringLiteral("'Century Gothic'"));
        xml.writeAttribute(kStyle, QStringLiteral("font-family-generic"), QStringLiteral("swiss"));
        xml.writeAttribute(kStyle, QStringLiteral("font-pitch"), QStringLiteral("variable"));
        xml.writeAttribute(kSvg, QStringLiteral("panose-1"),
                           QStringLiteral("2 11 5 2 2 2 2 2 2 4"));
        xml.writeEndElement();
    }

private:
    struct ParagraphKey
    {
        Alignment alignment;
        bool pageBreak;
        double lineHeight; // 0: a picture's paragraph, spaced by its contents
        QString font;
        double size;
        bool operator<(const ParagraphKey& other) const
        {
            return std::tie(alignment, pageBreak, lineHeight, font, size) <
                   std::tie(other.alignment, other.pageBreak, other.lineHeight, other.font,
                            other.size);
        }
    };
    struct CellParagraphKey
    {
        double size;
        double lineHeight;
        Alignment alignment;
        bool heading;
        bool operator<(const CellParagraphKey& other) const
        {
            return std::tie(size, lineHeight, alignment, heading) <
                   std::tie(other.size, other.lineHeight, other.alignment, other.heading);
        }
    };

    // LibreOffice stretches the blanks of a justified line that a line break ends, whatever
    // the document's settings say: the cells the program broke into lines are aligned left,
    // as the program draws them.
    static Alignment cellAlignment(const Table& table, int column, bool broken)
    {
        const Alignment alignment = table.columnAlignment[static_cast<size_t>(column)];
        return broken && alignment == Alignment::Justify ? Alignment::Left : alignment;
    }

    static ParagraphKey keyOf(const Paragraph& paragraph, bool opensPage)
    {
        return {paragraph.alignment, opensPage,
                hasPicture(paragraph) ? 0.0 : paragraphLineHeight(paragraph), paragraph.markFont,
                paragraph.markSize};
    }

    void collectStyles()
    {
        const auto& blocks = m_document.blocks();
        for (size_t index = 0; index < blocks.size(); ++index) {
            if (const auto* paragraph = std::get_if<Paragraph>(&blocks[index])) {
                m_paragraphStyles.try_emplace(
                    keyOf(*paragraph, opensPage(static_cast<int>(index))),
                    QStringLiteral("P%1").arg(m_paragraphStyles.size() + 1));
                for (const Run& run : paragraph->runs)
                    m_spanStyles.try_emplace({run.font, run.size},
                                             QStringLiteral("T%1").arg(m_spanStyles.size() + 1));
                continue;
            }
            const Table& table = std::get<Table>(blocks[index]);
            const TableGeometry& shape = m_layout.tableGeometry(static_cast<int>(index));
            for (int row = 0; row < table.rows; ++row)
                m_rowStyles.try_emplace(roundToTwips(shape.rowHeight(row)),
                                        QStringLiteral("R%1").arg(m_rowStyles.size() + 1));
            for (int column = 0; column < table.columns; ++column)
                for (const bool heading : {false, true})
                    for (const bool broken : {false, true})
                        m_cellParagraphStyles.try_emplace(
                            {table.fontSize, shape.lineHeight, cellAlignment(table, column, broken),
                             heading && boldHeading(table)},
                            QStringLiteral("PC%1").arg(m_cellParagraphStyles.size() + 1));
        }
    }

    void writeAutomaticStyles()
    {
        QXmlStreamWriter& xml = m_xml;
        xml.writeStartElement(kOffice, QStringLiteral("automatic-styles"));
        for (const auto& [key, name] : m_paragraphStyles) {
            xml.writeStartElement(kStyle, QStringLiteral("style"));
            xml.writeAttribute(kStyle, QStringLiteral("name"), name);
            xml.writeAttribute(kStyle, QStringLiteral("family"), QStringLiteral("paragraph"));
            xml.writeAttribute(kStyle, QStringLiteral("parent-style-name"),
                               QStringLiteral("Standard"));
            xml.writeEmptyElement(kStyle, QStringLiteral("paragraph-properties"));
            xml.writeAttribute(kFo, QStringLiteral("text-align"), alignmentValue(key.alignment));
            if (key.pageBreak)
                xml.writeAttribute(kFo, QStringLiteral("break-before"), QStringLiteral("page"));
            if (key.lineHeight > 0)
                xml.writeAttribute(kFo, QStringLiteral("line-height"), pt(key.lineHeight));
            xml.writeEmptyElement(kStyle, QStringLiteral("text-properties"));
            if (!key.font.isEmpty())
                xml.writeAttribute(kStyle, QStringLiteral("font-name"), key.font);
            xml.writeAttribute(kFo, QStringLiteral("font-size"), pt(key.size));
            xml.writeEndElement();
        }
        for (const auto& [key, name] : m_spanStyles) {
            xml.writeStartElement(kStyle, QStringLiteral("style"));
            xml.writeAttribute(kStyle, QStringLiteral("name"), name);
            xml.writeAttribute(kStyle, QStringLiteral("family"), QStringLiteral("text"));
            xml.writeEmptyElement(kStyle, QStringLiteral("text-properties"));
            if (!key.first.isEmpty())
                xml.writeAttribute(kStyle, QStringLiteral("font-name"), key.first);
            xml.writeAttribute(kFo, QStringLiteral("font-size"), pt(key.second));
            xml.writeEndElement();
        }
        for (const auto& [key, name] : m_cellParagraphStyles) {
            xml.writeStartElement(kStyle, QStringLiteral("style"));
            xml.writeAttribute(kStyle, QStringLiteral("name"), name);
            xml.writeAttribute(kStyle, QStringLiteral("family"), QStringLiteral("paragraph"));
            xml.writeAttribute(kStyle, QStringLiteral("parent-style-name"),
                               QStringLiteral("Standard"));
            xml.writeEmptyElement(kStyle, QStringLiteral("paragraph-properties"));
            xml.writeAttribute(kFo, QStringLiteral("text-align"), alignmentValue(key.alignment));
            xml.writeAttribute(kFo, QStringLiteral("line-height"), pt(key.lineHeight));
            xml.writeEmptyElement(kStyle, QStringLiteral("text-properties"));
            xml.writeAttribute(kFo, QStringLiteral("font-size"), pt(key.size));
            if (key.heading) {
                xml.writeAttribute(kFo, QStringLiteral("font-weight"), QStringLiteral("bold"));
                xml.writeAttribute(kFo, QStringLiteral("color"), QStringLiteral("#ffffff"));
            }
            xml.writeEndElement();
        }
        for (const auto& [height, name] : m_rowStyles) {
            xml.writeStartElement(kStyle, QStringLiteral("style"));
            xml.writeAttribute(kStyle, QStringLiteral("name"), name);
            xml.writeAttribute(kStyle, QStringLiteral("family"), QStringLiteral("table-row"));
            xml.writeEmptyElement(kStyle, QStringLiteral("table-row-properties"));
            // Exact: the program decided the lines of every cell.
            xml.writeAttribute(kStyle, QStringLiteral("row-height"), pt(height));
            xml.writeAttribute(kFo, QStringLiteral("keep-together"), QStringLiteral("always"));
            xml.writeEndElement();
        }
        // Cells: shaded heading, banded or plain; rules below and left of every cell, right of
        // the last column and above the first row, so that no rule is drawn twice.
        for (const QChar shade : {QChar(u'H'), QChar(u'B'), QChar(u'N'), QChar(u'G')}) {
            for (const bool last : {false, true}) {
                for (const bool top : {false, true}) {
                    xml.writeStartElement(kStyle, QStringLiteral("style"));
                    xml.writeAttribute(kStyle, QStringLiteral("name"), cellStyle(shade, last, top));
                    xml.writeAttribute(kStyle, QStringLiteral("family"),
                                       QStringLiteral("table-cell"));
                    xml.writeEmptyElement(kStyle, QStringLiteral("table-cell-properties"));
                    xml.writeAttribute(kFo, QStringLiteral("padding-top"),
                                       pt(kCellVerticalPaddingPoints));
                    xml.writeAttribute(kFo, QStringLiteral("padding-bottom"),
                                       pt(kCellVerticalPaddingPoints));
                    xml.writeAttribute(kFo, QStringLiteral("padding-left"), pt(kCellPaddingPoints));
                    xml.writeAttribute(kFo, QStringLiteral("padding-right"),
                                       pt(kCellPaddingPoints));
                    const QString rule =
                        pt(kCellBorderPoints) + QStringLiteral(" solid ") +
                        (shade == QChar(u'G') ? QStringLiteral("#000000") : kBorderColour);
                    xml.writeAttribute(kFo, QStringLiteral("border-bottom"), rule);
                    xml.writeAttribute(kFo, QStringLiteral("border-left"), rule);
                    xml.writeAttribute(kFo, QStringLiteral("border-right"),
                                       last ? rule : QStringLiteral("none"));
                    xml.writeAttribute(kFo, QStringLiteral("border-top"),
                                       top ? rule : QStringLiteral("none"));
                    if (shade == QChar(u'H'))
                        xml.writeAttribute(kFo, QStringLiteral("background-color"), kHeadingFill);
                    else if (shade == QChar(u'B'))
                        xml.writeAttribute(kFo, QStringLiteral("background-color"), kBandFill);
                    xml.writeEndElement();
                }
            }
        }
        // Tables: one set of columns per table of the document; pieces that open a page.
        const auto& blocks = m_document.blocks();
        const double width = m_document.pageSetup().textWidth();
        for (size_t index = 0; index < blocks.size(); ++index) {
            if (!std::holds_alternative<Table>(blocks[index]))
                continue;
            for (const bool breaks : {false, true}) {
                xml.writeStartElement(kStyle, QStringLiteral("style"));
                xml.writeAttribute(kStyle, QStringLiteral("name"),
                                   QStringLiteral("Tab%1%2").arg(index).arg(breaks ? 'p' : 'c'));
                xml.writeAttribute(kStyle, QStringLiteral("family"), QStringLiteral("table"));
                xml.writeEmptyElement(kStyle, QStringLiteral("table-properties"));
                xml.writeAttribute(kStyle, QStringLiteral("width"), pt(width));
                xml.writeAttribute(kTable, QStringLiteral("align"), QStringLiteral("left"));
                if (breaks)
                    xml.writeAttribute(kFo, QStringLiteral("break-before"), QStringLiteral("page"));
                xml.writeEndElement();
            }
            const TableGeometry& shape = m_layout.tableGeometry(static_cast<int>(index));
            for (size_t column = 0; column < shape.columnWidths.size(); ++column) {
                xml.writeStartElement(kStyle, QStringLiteral("style"));
                xml.writeAttribute(kStyle, QStringLiteral("name"),
                                   QStringLiteral("Tab%1.%2").arg(index).arg(column + 1));
                xml.writeAttribute(kStyle, QStringLiteral("family"),
                                   QStringLiteral("table-column"));
                xml.writeEmptyElement(kStyle, QStringLiteral("table-column-properties"));
                xml.writeAttribute(kStyle, QStringLiteral("column-width"),
                                   pt(shape.columnWidths[column]));
                xml.writeEndElement();
            }
        }
        xml.writeEndElement(); // automatic-styles
    }

    static QString cellStyle(QChar shade, bool last, bool top)
    {
        return QStringLiteral("C") + shade + (last ? QChar(u'L') : QChar(u'M')) +
               (top ? QChar(u'T') : QChar(u'U'));
    }

    void writePicture(const Run& run)
    {
        const int number = static_cast<int>(pictures.size()) + 1;
        const QString extension = run.pictureFormat == "jpeg"
                                      ? QStringLiteral("jpg")
                                      : QString::fromLatin1(run.pictureFormat);
        const QString name = QStringLiteral("Pictures/image%1.%2").arg(number).arg(extension);
        pictures.push_back({name, run.pictureData, PackagePart::Kind::Picture});
        m_xml.writeStartElement(kDraw, QStringLiteral("frame"));
        m_xml.writeAttribute(kDraw, QStringLiteral("name"),
                             QStringLiteral("Immagine %1").arg(number));
        m_xml.writeAttribute(kText, QStringLiteral("anchor-type"), QStringLiteral("as-char"));
        m_xml.writeAttribute(kSvg, QStringLiteral("width"), pt(run.pictureSize.width()));
        m_xml.writeAttribute(kSvg, QStringLiteral("height"), pt(run.pictureSize.height()));
        m_xml.writeAttribute(kDraw, QStringLiteral("z-index"), QStringLiteral("0"));
        m_xml.writeEmptyElement(kDraw, QStringLiteral("image"));
        m_xml.writeAttribute(kXlink, QStringLiteral("href"), name);
        m_xml.writeAttribute(kXlink, QStringLiteral("type"), QStringLiteral("simple"));
        m_xml.writeAttribute(kXlink, QStringLiteral("show"), QStringLiteral("embed"));
        m_xml.writeAttribute(kXlink, QStringLiteral("actuate"), QStringLiteral("onLoad"));
        m_xml.writeEndElement();
    }

    void writeParagraph(int, const Paragraph& paragraph, bool opensPage) override
    {
        m_xml.writeStartElement(kText, QStringLiteral("p"));
        m_xml.writeAttribute(kText, QStringLiteral("style-name"),
                             m_paragraphStyles.at(keyOf(paragraph, opensPage)));
        for (const Run& run : paragraph.runs) {
            if (run.kind == Run::Kind::Picture) {
                writePicture(run);
                continue;
            }
            m_xml.writeStartElement(kText, QStringLiteral("span"));
            m_xml.writeAttribute(kText, QStringLiteral("style-name"),
                                 m_spanStyles.at({run.font, run.size}));
            if (run.kind == Run::Kind::PageCount) {
                m_xml.writeStartElement(kText, QStringLiteral("page-count"));
                m_xml.writeCharacters(run.text);
                m_xml.writeEndElement();
            } else {
                writeText(m_xml, run.text);
            }
            m_xml.writeEndElement(); // span
        }
        m_xml.writeEndElement(); // p
    }

    void writeRow(int block, const Table& table, int row, const RowPlace& place) override
    {
        const TableGeometry& shape = m_layout.tableGeometry(block);
        m_xml.writeStartElement(kTable, QStringLiteral("table-row"));
        m_xml.writeAttribute(kTable, QStringLiteral("style-name"),
                             m_rowStyles.at(roundToTwips(shape.rowHeight(row))));
        QChar shade = QChar(u'N');
        if (!table.styled)
            shade = QChar(u'G');
        else if (place.heading)
            shade = QChar(u'H');
        else if (place.band)
            shade = QChar(u'B');
        for (int column = 0; column < table.columns; ++column) {
            m_xml.writeStartElement(kTable, QStringLiteral("table-cell"));
            m_xml.writeAttribute(kTable, QStringLiteral("style-name"),
                                 cellStyle(shade, column + 1 == table.columns, place.top));
            m_xml.writeAttribute(kOffice, QStringLiteral("value-type"), QStringLiteral("string"));
            const std::vector<QString> lines = shape.cellLines(table, row, column);
            m_xml.writeStartElement(kText, QStringLiteral("p"));
            m_xml.writeAttribute(
                kText, QStringLiteral("style-name"),
                m_cellParagraphStyles.at({table.fontSize, shape.lineHeight,
                                          cellAlignment(table, column, lines.size() > 1),
                                          place.heading && boldHeading(table)}));
            // The lines the program broke the text into, each ended by a line break.
            bool first = true;
            for (const QString& line : lines) {
                if (!first)
                    m_xml.writeEmptyElement(kText, QStringLiteral("line-break"));
                first = false;
                writeText(m_xml, line);
            }
            m_xml.writeEndElement(); // p
            m_xml.writeEndElement(); // table-cell
        }
        m_xml.writeEndElement(); // table-row
    }

    void beginPiece(int block, const Table& table, const Piece& piece) override
    {
        m_xml.writeStartElement(kTable, QStringLiteral("table"));
        m_xml.writeAttribute(kTable, QStringLiteral("name"),
                             QStringLiteral("Tabella%1_%2").arg(block).arg(piece.number));
        m_xml.writeAttribute(kTable, QStringLiteral("style-name"),
                             QStringLiteral("Tab%1%2").arg(block).arg(piece.opensPage ? 'p' : 'c'));
        for (int column = 0; column < table.columns; ++column) {
            m_xml.writeEmptyElement(kTable, QStringLiteral("table-column"));
            m_xml.writeAttribute(kTable, QStringLiteral("style-name"),
                                 QStringLiteral("Tab%1.%2").arg(block).arg(column + 1));
        }
    }

    void endPiece(int, const Table&) override
    {
        m_xml.writeEndElement(); // table
    }

    std::map<ParagraphKey, QString> m_paragraphStyles;
    std::map<std::pair<QString, double>, QString> m_spanStyles;
    std::map<CellParagraphKey, QString> m_cellParagraphStyles;
    std::map<double, QString> m_rowStyles;
};

QByteArray stylesXml(const Document& document)
{
    const PageSetup& page = document.pageSetup();
    return xmlPart([&](QXmlStreamWriter& xml) {
        writeNamespaces(xml);
        xml.writeStartElement(kOffice, QStringLiteral("document-styles"));
        xml.writeAttribute(kOffice, QStringLiteral("version"), QStringLiteral("1.3"));
        ContentXml::writeFontFaces(xml);
        xml.writeStartElement(kOffice, QStringLiteral("styles"));
        xml.writeStartElement(kStyle, QStringLiteral("default-style"));
        xml.writeAttribute(kStyle, QStringLiteral("family"), QStringLiteral("paragraph"));
        xml.writeEmptyElement(kStyle, QStringLiteral("paragraph-properties"));
        // The pager keeps no widows or orphans: nor may LibreOffice.
        xml.writeAttribute(kFo, QStringLiteral("widows"), QStringLiteral("0"));
        xml.writeAttribute(kFo, QStringLiteral("orphans"), QStringLiteral("0"));
        xml.writeAttribute(kFo, QStringLiteral("margin-top"), QStringLiteral("0pt"));
        xml.writeAttribute(kFo, QStringLiteral("margin-bottom"), QStringLiteral("0pt"));
        xml.writeEmptyElement(kStyle, QStringLiteral("text-properties"));
        xml.writeAttribute(kStyle, QStringLiteral("font-name"), QStringLiteral("Century Gothic"));
        xml.writeAttribute(kFo, QStringLiteral("font-size"), QStringLiteral("12pt"));
        xml.writeAttribute(kFo, QStringLiteral("language"), QStringLiteral("it"));
        xml.writeAttribute(kFo, QStringLiteral("country"), QStringLiteral("IT"));
        xml.writeEndElement();
        xml.writeStartElement(kStyle, QStringLiteral("style"));
        xml.writeAttribute(kStyle, QStringLiteral("name"), QStringLiteral("Standard"));
        xml.writeAttribute(kStyle, QStringLiteral("family"), QStringLiteral("paragraph"));
        xml.writeEndElement();
        xml.writeEndElement(); // styles
        xml.writeStartElement(kOffice, QStringLiteral("automatic-styles"));
        xml.writeStartElement(kStyle, QStringLiteral("page-layout"));
        xml.writeAttribute(kStyle, QStringLiteral("name"), QStringLiteral("Pagina"));
        xml.writeEmptyElement(kStyle, QStringLiteral("page-layout-properties"));
        xml.writeAttribute(kFo, QStringLiteral("page-width"), pt(page.width));
        xml.writeAttribute(kFo, QStringLiteral("page-height"), pt(page.height));
        xml.writeAttribute(kStyle, QStringLiteral("print-orientation"), QStringLiteral("portrait"));
        xml.writeAttribute(kFo, QStringLiteral("margin-top"), pt(page.marginTop));
        xml.writeAttribute(kFo, QStringLiteral("margin-bottom"), pt(page.marginBottom));
        xml.writeAttribute(kFo, QStringLiteral("margin-left"), pt(page.marginLeft));
        xml.writeAttribute(kFo, QStringLiteral("margin-right"), pt(page.marginRight));
        xml.writeEndElement();
        xml.writeEndElement(); // automatic-styles
        xml.writeStartElement(kOffice, QStringLiteral("master-styles"));
        xml.writeEmptyElement(kStyle, QStringLiteral("master-page"));
        xml.writeAttribute(kStyle, QStringLiteral("name"), QStringLiteral("Standard"));
        xml.writeAttribute(kStyle, QStringLiteral("page-layout-name"), QStringLiteral("Pagina"));
        xml.writeEndElement();
        xml.writeEndElement(); // document-styles
    });
}

QByteArray metaXml(const Document& document)
{
    return xmlPart([&](QXmlStreamWriter& xml) {
        const QString dc = QStringLiteral("http://purl.org/dc/elements/1.1/");
        const QString meta = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:meta:1.0");
        xml.writeNamespace(kOffice, QStringLiteral("office"));
        xml.writeNamespace(dc, QStringLiteral("dc"));
        xml.writeNamespace(meta, QStringLiteral("meta"));
        xml.writeStartElement(kOffice, QStringLiteral("document-meta"));
        xml.writeAttribute(kOffice, QStringLiteral("version"), QStringLiteral("1.3"));
        xml.writeStartElement(kOffice, QStringLiteral("meta"));
        xml.writeTextElement(meta, QStringLiteral("generator"), QStringLiteral("Urbaflux"));
        xml.writeTextElement(dc, QStringLiteral("title"), document.title());
        xml.writeEndElement();
        xml.writeEndElement();
    });
}

QByteArray manifestXml(const std::vector<PackagePart>& pictures)
{
    return xmlPart([&](QXmlStreamWriter& xml) {
        xml.writeNamespace(kManifest, QStringLiteral("manifest"));
        xml.writeStartElement(kManifest, QStringLiteral("manifest"));
        xml.writeAttribute(kManifest, QStringLiteral("version"), QStringLiteral("1.3"));
        auto entry = [&](const QString& path, const QString& type) {
            xml.writeEmptyElement(kManifest, QStringLiteral("file-entry"));
            xml.writeAttribute(kManifest, QStringLiteral("full-path"), path);
            xml.writeAttribute(kManifest, QStringLiteral("media-type"), type);
        };
        entry(QStringLiteral("/"), QStringLiteral("application/vnd.oasis.opendocument.text"));
        entry(QStringLiteral("content.xml"), QStringLiteral("text/xml"));
        entry(QStringLiteral("styles.xml"), QStringLiteral("text/xml"));
        entry(QStringLiteral("meta.xml"), QStringLiteral("text/xml"));
        for (const PackagePart& picture : pictures)
            entry(picture.name, pictureMediaType(picture.name));
        xml.writeEndElement();
    });
}

} // namespace

bool writeOdt(const Document& document, QIODevice* device, QString* error)
{
    std::vector<PackagePart> pictures;
    auto body = [&](DocumentPackage& package) {
        ContentXml content(document, package);
        const bool ok = content.write();
        pictures = std::move(content.pictures);
        return ok;
    };
    auto parts = [&] {
        std::vector<PackagePart> result = {
            {QStringLiteral("styles.xml"), stylesXml(document)},
            {QStringLiteral("meta.xml"), metaXml(document)},
            {QStringLiteral("META-INF/manifest.xml"), manifestXml(pictures)}};
        result.insert(result.end(), pictures.begin(), pictures.end());
        return result;
    };
    // The type first and stored, as the format asks, so that it can be read at a fixed place.
    return writePackage(device,
                        {{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.text",
                          PackagePart::Kind::Type}},
                        QStringLiteral("content.xml"), body, parts, error);
}

DocumentSaveResult saveOdt(const Document& document, const QString& path)
{
    return savePackageFile(document, path, writeOdt);
}

} // namespace urbaflux
