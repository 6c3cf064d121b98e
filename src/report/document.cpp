#include "document.h"

namespace urbaflux {

QString Paragraph::text() const
{
    QString result;
    for (const Run& run : runs) {
        if (run.kind != Run::Kind::Picture)
            result += run.text;
    }
    return result;
}

QStringList Table::rowTexts(int row) const
{
    QStringList result;
    result.reserve(columns);
    for (int column = 0; column < columns; ++column)
        result << cell(row, column);
    return result;
}

Document::Document()
{
    m_blocks.emplace_back(Paragraph{});
}

QString Document::title() const
{
    for (const Block& block : m_blocks) {
        if (const auto* paragraph = std::get_if<Paragraph>(&block)) {
            const QString text = paragraph->text().trimmed();
            if (!text.isEmpty())
                return text;
        }
    }
    return {};
}

QStringList Document::paragraphTexts() const
{
    QStringList result;
    for (const Block& block : m_blocks) {
        if (const auto* paragraph = std::get_if<Paragraph>(&block))
            result << paragraph->text();
    }
    return result;
}

std::vector<const Table*> Document::tables() const
{
    std::vector<const Table*> result;
    for (const Block& block : m_blocks) {
        if (const auto* table = std::get_if<Table>(&block))
            result.push_back(table);
    }
    return result;
}

int Document::tableCount() const
{
    return static_cast<int>(tables().size());
}

Paragraph& Document::lastParagraph()
{
    return std::get<Paragraph>(m_blocks.back());
}

const Paragraph& Document::lastParagraph() const
{
    return std::get<Paragraph>(m_blocks.back());
}

} // namespace urbaflux
