#pragma once

// DocumentWriter: the word-processor operations every printout is written with, over our own
// Document. The operations keep the order and the effects a printout relies on: the insertion
// point stays at the end of the document, character 13 ends a paragraph and character 12 starts
// a new page, tables are appended at the end and the last one appended is the current table.
//
// A printout builds its document here and hands takeDocument() to a DocumentSink (the viewer
// window, or a recorder in tests). CountPages paginates the document exactly as its PDF is
// paginated; SaveDocumentAs writes DOCX (or PDF when the name ends in ".pdf").

#include "document.h"

#include <QString>
#include <memory>

class QIODevice;

namespace urbaflux {

struct DocumentSaveResult
{
    bool ok = true;
    QString error; // Italian, names the file; empty when ok

    explicit operator bool() const { return ok; }
};

// Saves a document by the name's ending (any case): ".pdf" the paginated rendering, ".odt"
// OpenDocument, anything else DOCX. An existing file is replaced only when the whole new file
// was written.
DocumentSaveResult saveDocument(const Document& document, const QString& path);

// Writes a package format (DOCX, ODT) through `write` into the file at path, replacing an
// existing file only once the new one is complete; the reason of a failure names the file.
using PackageWriter = bool (*)(const Document& document, QIODevice* device, QString* error);
DocumentSaveResult savePackageFile(const Document& document, const QString& path,
                                   PackageWriter write);

class DocumentWriter
{
public:
    DocumentWriter();
    ~DocumentWriter();
    DocumentWriter(const DocumentWriter&) = delete;
    DocumentWriter& operator=(const DocumentWriter&) = delete;

    // A new empty document (one empty paragraph); the previous one, if any, is dropped.
    void StartDocument();
    // Font of all text typed or appended afterwards.
    void SetFont(const QString& name);
    // Size in points of text typed or appended afterwards.
    void SetFontSize(double points);
    // Types at the insertion point. QChar(13) ends the paragraph; QChar(12) starts a new page;
    // QChar(10) is ignored (texts joined with CR LF type one break). A page count written with
    // pageCountText() becomes a page-count field.
    void TypeText(const QString& text);
    // Adds a paragraph at the end of the document with that size (0: the current size), then
    // types the text into it. Without arguments: an empty paragraph, as before every table.
    void AppendParagraph(double points = 0, const QString& text = {});
    // Adds a rows x columns table at the end of the document (an empty paragraph at the end
    // becomes the table's place); it becomes the current table.
    void AppendTable(int rows, int columns);
    // Size of all text of the current table.
    void SetTableFontSize(double points);
    // Text of one cell of the current table; row and column count from 1. Out-of-range cells
    // are ignored.
    void SetCell(int row, int column, const QString& text);
    // The coloured table style (shaded heading row repeated on every page, banded rows).
    void FormatTable();
    // Inline picture from a file at the insertion point, scaled down to the text width.
    // Returns false (and inserts nothing) when the file is not a readable picture.
    bool InsertPicture(const QString& path);
    // Whether the paragraph at the insertion point, and the paragraphs started after it, stay
    // on the page of the paragraph that follows them (headings and their blank lines).
    void SetKeepWithNext(bool keep);
    // The last rows of the current table stay on the page of the paragraph after the table.
    void KeepTableWithNext();
    // Justifies every paragraph of the document, table cells included.
    void JustifyAll();
    // Right-aligns a column of the table with that 1-based index in document order.
    void AlignColumnRight(int table, int column);
    // Number of pages of the document as its PDF is paginated.
    int CountPages() const;
    // Gives every page-count field the document's page count as paginated now, and returns it.
    // The document is laid out again only when the count's number of digits changed (digits
    // are of one width, so only a longer or shorter number can move a line).
    int UpdatePageCountFields();
    // Saves the document: PDF when the path ends in ".pdf", ODT for ".odt" (any case), DOCX
    // otherwise. An existing file is replaced only when the whole new file was written.
    DocumentSaveResult SaveDocumentAs(const QString& path) const;

    // Text standing for a page count of `pages` in the number-to-text form (" 7"): typed or
    // appended, it becomes a page-count field that word processors fill in with their own
    // count; everywhere else it reads as the number.
    static QString pageCountText(int pages);

    const Document& document() const;
    Document& document();
    // The finished document; the writer is empty until the next StartDocument.
    std::unique_ptr<Document> takeDocument();

private:
    Paragraph& newParagraph();
    Table* currentTable();

    std::unique_ptr<Document> m_document;
    QString m_font;
    double m_size = 12.0;
    int m_currentTable = -1; // block index of the current table
    bool m_keepWithNext = false;
};

} // namespace urbaflux
