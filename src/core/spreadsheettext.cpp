#include "spreadsheettext.h"

namespace urbaflux {

QList<QStringList> spreadsheetRows(const QString& text)
{
    QString body = text;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = body.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    QList<QStringList> rows;
    rows.reserve(lines.size());
    for (const QString& line : lines)
        rows.append(line.split(QLatin1Char('\t')));
    return rows;
}

bool isSpreadsheetBlock(const QString& text)
{
    QString single = text;
    if (single.endsWith(QLatin1Char('\n')))
        single.chop(1);
    if (single.endsWith(QLatin1Char('\r')))
        single.chop(1);
    return single.contains(QLatin1Char('\n')) || single.contains(QLatin1Char('\r')) ||
           single.contains(QLatin1Char('\t'));
}

} // namespace urbaflux
