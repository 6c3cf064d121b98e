#pragma once

// A DocumentSink for tests: keeps every document a printout presents, in order, and offers
// readers for what tests check (paragraph texts, table cells).

#include "document.h"
#include "documentsink.h"

#include <QStringList>
#include <memory>
#include <vector>

namespace urbaflux {

class DocumentRecorder : public DocumentSink
{
public:
    void present(std::unique_ptr<Document> document) override;

    const std::vector<std::unique_ptr<Document>>& documents() const { return m_documents; }
    int count() const { return static_cast<int>(m_documents.size()); }
    // The last document presented; null when none was.
    const Document* last() const;
    void clear() { m_documents.clear(); }

    // Texts of the paragraphs outside tables, in order, empty ones included.
    static QStringList paragraphTexts(const Document& document);
    // The same, without the empty paragraphs.
    static QStringList nonEmptyParagraphTexts(const Document& document);
    // The table with that 1-based index in document order; null when there is none.
    static const Table* table(const Document& document, int index);
    // Text of a cell of that table, rows and columns from 1; empty when out of range.
    static QString cell(const Document& document, int table, int row, int column);
    // All the texts of one row (from 1) of that table.
    static QStringList row(const Document& document, int table, int row);

private:
    std::vector<std::unique_ptr<Document>> m_documents;
};

} // namespace urbaflux
