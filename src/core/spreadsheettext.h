#pragma once

// Text copied from a spreadsheet, as the area and distances windows paste it.

#include <QList>
#include <QString>
#include <QStringList>

namespace urbaflux {

// One row per line (CR LF, CR or LF), the cells of a row split at tabs, exactly as copied
// (blanks kept). The line ends after the last row (a spreadsheet ends its copy with one) make
// no rows; nothing at all gives none.
QList<QStringList> spreadsheetRows(const QString& text);

// Whether the text is more than one value: a line break or a tab in it, once the line end a
// spreadsheet puts after a single cell is set aside.
bool isSpreadsheetBlock(const QString& text);

} // namespace urbaflux
