#include "packagewriter.h"

#include <QFileDevice>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

namespace urbaflux {

namespace {

// The chunk of XML gathered before it is handed to the zip entry.
constexpr qsizetype kFlushBytes = 1 << 20;

} // namespace

DocumentPackage::DocumentPackage(QIODevice* device) : m_zip(std::make_unique<QuaZip>(device))
{
    m_zip->setAutoClose(false);
}

DocumentPackage::~DocumentPackage() = default;

bool DocumentPackage::open()
{
    return m_zip->open(QuaZip::mdCreate);
}

bool DocumentPackage::beginEntry(const QString& name, int method, int level)
{
    m_entry = std::make_unique<QuaZipFile>(m_zip.get());
    QuaZipNewInfo info(name);
    info.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                        QFileDevice::ReadOther);
    return m_entry->open(QIODevice::WriteOnly, info, nullptr, 0, method, level);
}

bool DocumentPackage::beginStreamedEntry(const QString& name)
{
    return beginEntry(name, Z_DEFLATED, Z_BEST_SPEED);
}

bool DocumentPackage::write(const QByteArray& data)
{
    return m_entry && m_entry->write(data) == data.size();
}

bool DocumentPackage::endEntry()
{
    if (!m_entry)
        return false;
    m_entry->close();
    const bool ok = m_entry->getZipError() == ZIP_OK;
    m_entry.reset();
    return ok;
}

bool DocumentPackage::add(const PackagePart& part)
{
    const bool stored = part.kind != PackagePart::Kind::Part;
    return beginEntry(part.name, stored ? 0 : Z_DEFLATED, stored ? 0 : Z_DEFAULT_COMPRESSION) &&
           write(part.data) && endEntry();
}

bool DocumentPackage::close()
{
    m_zip->close();
    return m_zip->getZipError() == ZIP_OK;
}

bool writePackage(QIODevice* device, const std::vector<PackagePart>& leading,
                  const QString& mainName, const std::function<bool(DocumentPackage&)>& body,
                  const std::function<std::vector<PackagePart>()>& trailing, QString* error)
{
    auto fail = [&](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    auto added = [&](DocumentPackage& package, const PackagePart& part) {
        if (package.add(part))
            return true;
        switch (part.kind) {
        case PackagePart::Kind::Type:
            return fail(QStringLiteral("impossibile scrivere il tipo del documento"));
        case PackagePart::Kind::Picture:
            return fail(QStringLiteral("impossibile scrivere l'immagine %1").arg(part.name));
        case PackagePart::Kind::Part:
            break;
        }
        return fail(QStringLiteral("impossibile scrivere la parte %1").arg(part.name));
    };

    DocumentPackage package(device);
    if (!package.open())
        return fail(QStringLiteral("impossibile creare l'archivio del documento"));
    for (const PackagePart& part : leading) {
        if (!added(package, part))
            return false;
    }
    // The main part next: it is streamed, and it tells which pictures the package holds.
    if (!package.beginStreamedEntry(mainName) || !body(package) || !package.endEntry())
        return fail(QStringLiteral("impossibile scrivere il testo del documento"));
    for (const PackagePart& part : trailing()) {
        if (!added(package, part))
            return false;
    }
    if (!package.close())
        return fail(QStringLiteral("impossibile completare l'archivio del documento"));
    return true;
}

QByteArray xmlPart(const std::function<void(QXmlStreamWriter&)>& body)
{
    QByteArray data;
    QXmlStreamWriter xml(&data);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    body(xml);
    xml.writeEndDocument();
    return data;
}

QString xmlSafeText(const QString& text, bool* hasTab)
{
    QString result;
    result.reserve(text.size());
    bool tab = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 9) {
            tab = true;
            result += c;
        } else if (u >= 0x20 && u != 0xFFFE && u != 0xFFFF) {
            result += c;
        }
    }
    if (hasTab)
        *hasTab = tab;
    return result;
}

PagedDocumentXml::PagedDocumentXml(const Document& document, DocumentPackage& package)
    : m_document(document), m_layout(document), m_package(package)
{
    // The pages the program shows: long tables are cut where they end.
    m_layout.paginateAll();
    const auto& blocks = document.blocks();
    m_opensPage.assign(blocks.size(), false);
    for (size_t index = 0; index < blocks.size(); ++index) {
        if (const auto* paragraph = std::get_if<Paragraph>(&blocks[index]))
            m_opensPage[index] = paragraph->pageBreakBefore;
    }
    const auto starts = m_layout.pageStarts();
    for (size_t page = 1; page < starts.size(); ++page) {
        const auto [block, item] = starts[page];
        // Every page the pager begins is begun in the document too, so that a reader whose
        // face is narrower does not pull the next page's lines up.
        if (std::holds_alternative<Table>(blocks[static_cast<size_t>(block)]))
            m_pieceStarts[block].push_back(item);
        else if (item == 0)
            m_opensPage[static_cast<size_t>(block)] = true;
    }
    m_buffer.setBuffer(&m_data);
    m_buffer.open(QIODevice::WriteOnly);
    m_xml.setDevice(&m_buffer);
}

PagedDocumentXml::~PagedDocumentXml() = default;

bool PagedDocumentXml::flush()
{
    if (m_data.isEmpty())
        return true;
    const bool ok = m_package.write(m_data);
    m_data.clear();
    m_buffer.seek(0);
    return ok;
}

bool PagedDocumentXml::writeBlocks()
{
    const auto& blocks = m_document.blocks();
    for (size_t index = 0; index < blocks.size(); ++index) {
        const int block = static_cast<int>(index);
        if (const auto* paragraph = std::get_if<Paragraph>(&blocks[index]))
            writeParagraph(block, *paragraph, m_opensPage[index]);
        else if (!writeTable(block, std::get<Table>(blocks[index])))
            return false;
    }
    return true;
}

bool PagedDocumentXml::writeTable(int block, const Table& table)
{
    if (table.rows == 0)
        return true;
    std::vector<int> cuts = m_pieceStarts[block];
    cuts.push_back(table.rows);
    const int firstData = table.headingRow ? 1 : 0;
    bool wholeTableOpensPage = false;
    int row = 0;
    int number = 0;
    for (const int end : cuts) {
        if (end == 0) {
            wholeTableOpensPage = true;
            continue;
        }
        if (end <= row)
            continue;
        Piece piece;
        piece.number = ++number;
        piece.opensPage = wholeTableOpensPage || row > 0;
        // Banding starts again with every piece, as a word processor bands each table.
        const int bandStart = row == 0 ? firstData : row;
        if (row == 0)
            row = firstData;
        piece.first = row;
        piece.end = end;
        beginPiece(block, table, piece);
        if (table.headingRow)
            writeRow(block, table, 0, {true, true, false});
        for (; row < end; ++row) {
            writeRow(block, table, row,
                     {false, !table.headingRow && row == piece.first, (row - bandStart) % 2 == 0});
            if (m_data.size() >= kFlushBytes && !flush())
                return false;
        }
        endPiece(block, table);
        wholeTableOpensPage = false;
    }
    return true;
}

} // namespace urbaflux
