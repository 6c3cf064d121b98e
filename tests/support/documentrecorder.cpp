#include "documentrecorder.h"

namespace urbaflux {

void DocumentRecorder::present(std::unique_ptr<Document> document)
{
    if (document)
        m_documents.push_back(std::move(document));
}

const Document* DocumentRecorder::last() const
{
    return m_documents.empty() ? nullptr : m_documents.back().get();
}

QStringList DocumentRecorder::paragraphTexts(const Document& document)
{
    return document.paragraphTexts();
}

QStringList DocumentRecorder::nonEmptyParagraphTexts(const Document& document)
{
    QStringList result;
    for (const QString& text : document.paragraphTexts()) {
        if (!text.isEmpty())
            result << text;
    }
    return result;
}

const Table* DocumentRecorder::table(const Document& document, int index)
{
    const auto tables = document.tables();
    if (index < 1 || index > static_cast<int>(tables.size()))
        return nullptr;
    return tables[static_cast<size_t>(index - 1)];
}

QString DocumentRecorder::cell(const Document& document, int tableIndex, int row, int column)
{
    const Table* found = table(document, tableIndex);
    if (!found || row < 1 || column < 1 || row > found->rows || column > found->columns)
        return {};
    return found->cell(row - 1, column - 1);
}

QStringList DocumentRecorder::row(const Document& document, int tableIndex, int row)
{
    const Table* found = table(document, tableIndex);
    if (!found || row < 1 || row > found->rows)
        return {};
    return found->rowTexts(row - 1);
}

} // namespace urbaflux
