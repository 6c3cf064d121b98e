#include "documentwriter.h"

#include "documentformats.h"
#include "pagelayout.h"

#include <safefile.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <algorithm>

namespace urbaflux {

namespace {

// Private-use characters around the digits of a page count typed through pageCountText().
constexpr char16_t kFieldStart = 0xE000;
constexpr char16_t kFieldEnd = 0xE001;

bool sameFormat(const Run& run, const QString& font, double size)
{
    return run.kind == Run::Kind::Text && run.font == font && run.size == size;
}

} // namespace

DocumentWriter::DocumentWriter() : m_document(std::make_unique<Document>()) {}

DocumentWriter::~DocumentWriter() = default;

void DocumentWriter::StartDocument()
{
    m_document = std::make_unique<Document>();
    m_currentTable = -1;
    m_keepWithNext = false;
    Paragraph& paragraph = m_document->lastParagraph();
    paragraph.markFont = m_font;
    paragraph.markSize = m_size;
}

void DocumentWriter::SetFont(const QString& name)
{
    m_font = name;
    if (m_document && m_document->lastParagraph().isEmpty())
        m_document->lastParagraph().markFont = name;
}

void DocumentWriter::SetFontSize(double points)
{
    if (points > 0)
        m_size = points;
}

Paragraph& DocumentWriter::newParagraph()
{
    Paragraph& last = m_document->lastParagraph();
    if (last.isEmpty()) {
        last.markFont = m_font;
        last.markSize = m_size;
    }
    Paragraph next;
    next.alignment = last.alignment;
    next.markFont = m_font;
    next.markSize = m_size;
    next.keepWithNext = m_keepWithNext;
    m_document->blocks().emplace_back(std::move(next));
    return m_document->lastParagraph();
}

void DocumentWriter::TypeText(const QString& text)
{
    if (!m_document)
        StartDocument();
    Paragraph* paragraph = &m_document->lastParagraph();
    auto appendText = [&](QStringView piece) {
        if (piece.isEmpty())
            return;
        if (paragraph->runs.empty() || !sameFormat(paragraph->runs.back(), m_font, m_size)) {
            Run run;
            run.font = m_font;
            run.size = m_size;
            paragraph->runs.push_back(std::move(run));
        }
        paragraph->runs.back().text += piece;
        paragraph->markFont = m_font;
        paragraph->markSize = m_size;
    };

    qsizetype start = 0;
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c != 13 && c != 12 && c != 10 && c != kFieldStart)
            continue;
        appendText(QStringView(text).mid(start, i - start));
        start = i + 1;
        if (c == 13) {
            paragraph = &newParagraph();
        } else if (c == 12) {
            if (!paragraph->isEmpty())
                paragraph = &newParagraph();
            paragraph->pageBreakBefore = true;
        } else if (c == kFieldStart) {
            const qsizetype end = text.indexOf(QChar(kFieldEnd), i + 1);
            if (end < 0) {
                start = i + 1; // a stray marker is dropped
                continue;
            }
            Run run;
            run.kind = Run::Kind::PageCount;
            run.text = text.mid(i + 1, end - i - 1);
            run.font = m_font;
            run.size = m_size;
            paragraph->runs.push_back(std::move(run));
            i = end;
            start = end + 1;
        }
    }
    appendText(QStringView(text).mid(start));
}

void DocumentWriter::AppendParagraph(double points, const QString& text)
{
    if (!m_document)
        StartDocument();
    SetFontSize(points);
    newParagraph();
    TypeText(text);
}

void DocumentWriter::AppendTable(int rows, int columns)
{
    if (!m_document)
        StartDocument();
    if (rows < 1 || columns < 1) {
        m_currentTable = -1;
        return;
    }
    Table table;
    table.rows = rows;
    table.columns = columns;
    table.cells.resize(static_cast<size_t>(rows) * static_cast<size_t>(columns));
    table.font = m_font;
    table.fontSize = m_size;
    table.columnAlignment.assign(static_cast<size_t>(columns), Alignment::Left);

    auto& blocks = m_document->blocks();
    const Paragraph& last = m_document->lastParagraph();
    if (last.isEmpty() && !last.pageBreakBefore) {
        // Like a word processor, the empty paragraph at the end becomes the table, and a fresh
        // empty paragraph follows it.
        blocks.insert(blocks.end() - 1, Block(std::move(table)));
        m_currentTable = static_cast<int>(blocks.size()) - 2;
    } else {
        blocks.emplace_back(std::move(table));
        m_currentTable = static_cast<int>(blocks.size()) - 1;
        Paragraph next;
        next.markFont = m_font;
        next.markSize = m_size;
        blocks.emplace_back(std::move(next));
    }
}

Table* DocumentWriter::currentTable()
{
    if (!m_document || m_currentTable < 0 ||
        m_currentTable >= static_cast<int>(m_document->blocks().size()))
        return nullptr;
    return std::get_if<Table>(&m_document->blocks()[static_cast<size_t>(m_currentTable)]);
}

void DocumentWriter::SetTableFontSize(double points)
{
    if (Table* table = currentTable(); table && points > 0)
        table->fontSize = points;
}

void DocumentWriter::SetCell(int row, int column, const QString& text)
{
    Table* table = currentTable();
    if (!table || row < 1 || column < 1 || row > table->rows || column > table->columns)
        return;
    table->cell(row - 1, column - 1) = text;
}

void DocumentWriter::FormatTable()
{
    if (Table* table = currentTable()) {
        table->styled = true;
        table->headingRow = true;
    }
}

bool DocumentWriter::InsertPicture(const QString& path)
{
    if (!m_document)
        StartDocument();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray data = file.readAll();
    QBuffer buffer(&data);
    QImageReader reader(&buffer);
    QByteArray format = reader.format().toLower();
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    // Word processors take PNG, JPEG, GIF and BMP; anything else is kept as PNG.
    static const QList<QByteArray> kept = {"png", "jpeg", "jpg", "gif", "bmp"};
    if (!kept.contains(format)) {
        QByteArray png;
        QBuffer out(&png);
        out.open(QIODevice::WriteOnly);
        image.save(&out, "PNG");
        data = png;
        format = "png";
    }
    if (format == "jpg")
        format = "jpeg";
    // Pictures carry no reliable resolution (the chart is saved at screen size): take them
    // at 96 dots per inch, as a word processor does, and shrink them to fit the page.
    QSizeF points(image.width() * 72.0 / 96.0, image.height() * 72.0 / 96.0);
    const PageSetup& page = m_document->pageSetup();
    const double scale = std::min(
        {1.0, page.textWidth() / points.width(), page.textHeight() * 0.9 / points.height()});
    points *= scale;

    Run run;
    run.kind = Run::Kind::Picture;
    run.picturePath = path;
    run.pictureData = data;
    run.pictureFormat = format;
    run.pictureSize = points;
    run.font = m_font;
    run.size = m_size;
    m_document->lastParagraph().runs.push_back(std::move(run));
    return true;
}

void DocumentWriter::SetKeepWithNext(bool keep)
{
    if (!m_document)
        StartDocument();
    m_keepWithNext = keep;
    m_document->lastParagraph().keepWithNext = keep;
}

void DocumentWriter::KeepTableWithNext()
{
    if (Table* table = currentTable())
        table->keepWithNext = true;
}

void DocumentWriter::JustifyAll()
{
    if (!m_document)
        return;
    for (Block& block : m_document->blocks()) {
        if (auto* paragraph = std::get_if<Paragraph>(&block))
            paragraph->alignment = Alignment::Justify;
        else if (auto* table = std::get_if<Table>(&block))
            std::fill(table->columnAlignment.begin(), table->columnAlignment.end(),
                      Alignment::Justify);
    }
}

void DocumentWriter::AlignColumnRight(int table, int column)
{
    if (!m_document || table < 1 || column < 1)
        return;
    int index = 0;
    for (Block& block : m_document->blocks()) {
        auto* candidate = std::get_if<Table>(&block);
        if (!candidate || ++index != table)
            continue;
        if (column <= candidate->columns)
            candidate->columnAlignment[static_cast<size_t>(column - 1)] = Alignment::Right;
        return;
    }
}

int DocumentWriter::CountPages() const
{
    if (!m_document)
        return 0;
    PageLayout layout(*m_document);
    layout.paginateAll();
    return layout.pageCount();
}

DocumentSaveResult savePackageFile(const Document& document, const QString& path,
                                   PackageWriter write)
{
    const QString what = QStringLiteral("il documento");
    SafeFile file(path);
    if (!file.open())
        return {false, file.failureMessage(what)};
    // When the disk fills up, the package only knows which part it was writing: the file's
    // own reason comes first, since discard() keeps a write failure's reason.
    if (QString reason; !write(document, &file, &reason))
        file.discard(reason);
    if (!file.commit())
        return {false, file.failureMessage(what)};
    return {};
}

DocumentSaveResult saveDocument(const Document& document, const QString& path)
{
    return documentFormatFor(path).save(document, path);
}

int DocumentWriter::UpdatePageCountFields()
{
    for (int round = 0;; ++round) {
        const int pages = CountPages();
        const QString text = QString::number(pages);
        bool widthChanged = false;
        for (Block& block : document().blocks()) {
            auto* paragraph = std::get_if<Paragraph>(&block);
            if (!paragraph)
                continue;
            for (Run& run : paragraph->runs) {
                if (run.kind != Run::Kind::PageCount || run.text == text)
                    continue;
                widthChanged = widthChanged || run.text.size() != text.size();
                run.text = text;
            }
        }
        // A count that gains a digit almost never loses it again: three layouts at most.
        if (!widthChanged || round == 2)
            return pages;
    }
}

DocumentSaveResult DocumentWriter::SaveDocumentAs(const QString& path) const
{
    static const Document empty;
    return saveDocument(m_document ? *m_document : empty, path);
}

QString DocumentWriter::pageCountText(int pages)
{
    const QString number = QString::number(pages);
    return (pages >= 0 ? QStringLiteral(" ") : QString()) + QChar(kFieldStart) + number +
           QChar(kFieldEnd);
}

const Document& DocumentWriter::document() const
{
    static const Document empty;
    return m_document ? *m_document : empty;
}

Document& DocumentWriter::document()
{
    if (!m_document)
        StartDocument();
    return *m_document;
}

std::unique_ptr<Document> DocumentWriter::takeDocument()
{
    m_currentTable = -1;
    return std::move(m_document);
}

} // namespace urbaflux
