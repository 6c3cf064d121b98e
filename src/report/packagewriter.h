#pragma once

// What the two package formats, DOCX and ODT, share: the zip package written part by part, the
// main part streamed into its entry in chunks, and the walk over the document in the pages the
// pager gives it.
//
// The walk is the same for both formats: paragraphs in order, each saying whether it opens a
// page; long tables cut into one piece per page, every piece opening with the heading row and
// banding its rows afresh, every piece after the first (and a table the pager moved to a new
// page) opening its page. The formats only say how a paragraph, the start of a piece and a row
// are written.

#include "document.h"
#include "pagelayout.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <QXmlStreamWriter>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QIODevice;
class QuaZip;
class QuaZipFile;

namespace urbaflux {

struct PackagePart
{
    enum class Kind
    {
        Type,    // the format's type entry, stored, first
        Part,    // an XML part, compressed
        Picture, // a picture's bytes, stored (they are compressed already)
    };
    QString name;
    QByteArray data;
    Kind kind = Kind::Part;
};

// A zip package written to an open, seekable device.
class DocumentPackage
{
public:
    explicit DocumentPackage(QIODevice* device);
    ~DocumentPackage();
    DocumentPackage(const DocumentPackage&) = delete;
    DocumentPackage& operator=(const DocumentPackage&) = delete;

    bool open();
    // The entry the main part is streamed into, compressed for speed (it is most of the file).
    bool beginStreamedEntry(const QString& name);
    bool write(const QByteArray& data);
    bool endEntry();
    bool add(const PackagePart& part);
    bool close();

private:
    bool beginEntry(const QString& name, int method, int level);

    std::unique_ptr<QuaZip> m_zip;
    std::unique_ptr<QuaZipFile> m_entry;
};

// Writes a whole package: the `leading` parts, then the main part `mainName` that `body`
// streams, then the parts `trailing` gives once the body is written (they may depend on it:
// the pictures it met). False with an Italian reason on the first failure.
bool writePackage(QIODevice* device, const std::vector<PackagePart>& leading,
                  const QString& mainName, const std::function<bool(DocumentPackage&)>& body,
                  const std::function<std::vector<PackagePart>()>& trailing, QString* error);

// A small XML part written whole.
QByteArray xmlPart(const std::function<void(QXmlStreamWriter&)>& body);

// The text without the characters XML 1.0 cannot carry; `hasTab` tells whether a tab is left.
QString xmlSafeText(const QString& text, bool* hasTab = nullptr);

// The main part of a package, streamed: walks the document in the program's pages.
class PagedDocumentXml
{
public:
    PagedDocumentXml(const Document& document, DocumentPackage& package);
    virtual ~PagedDocumentXml();
    PagedDocumentXml(const PagedDocumentXml&) = delete;
    PagedDocumentXml& operator=(const PagedDocumentXml&) = delete;

protected:
    // One piece of a table: rows [first, end) of the table's data, with the heading row
    // before them when the table has one.
    struct Piece
    {
        int number = 0;         // 1 for the first piece of the table
        int first = 0;          // first row written after the heading
        int end = 0;            // one past the last row
        bool opensPage = false; // the piece starts a page the pager begins
    };
    struct RowPlace
    {
        bool heading = false; // the table's heading row (repeated at the top of every piece)
        bool top = false;     // the first row of the piece
        bool band = false;    // one of the shaded rows of the coloured style
    };

    // Writes every block; false when the entry refused a chunk.
    bool writeBlocks();
    // Hands what was gathered to the entry.
    bool flush();
    // Whether the paragraph that is block `block` opens a page.
    bool opensPage(int block) const { return m_opensPage[static_cast<size_t>(block)]; }

    virtual void writeParagraph(int block, const Paragraph& paragraph, bool opensPage) = 0;
    virtual void beginPiece(int block, const Table& table, const Piece& piece) = 0;
    virtual void writeRow(int block, const Table& table, int row, const RowPlace& place) = 0;
    virtual void endPiece(int block, const Table& table) = 0;

    const Document& m_document;
    PageLayout m_layout;
    QXmlStreamWriter m_xml;

private:
    bool writeTable(int block, const Table& table);

    DocumentPackage& m_package;
    std::map<int, std::vector<int>> m_pieceStarts; // table block -> rows that start a page
    std::vector<bool> m_opensPage;                 // per block: a paragraph that starts a page
    QByteArray m_data;
    QBuffer m_buffer;
};

} // namespace urbaflux
