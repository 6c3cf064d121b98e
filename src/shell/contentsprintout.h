#pragma once

// The printout of the help contents, straight onto a printer (no word processor): in Courier
// at 18 points the heading from print column 7, then at 12 points two empty lines and, for each
// entry, an empty line and the entry from column 10. Columns count from 1 in character cells of
// the font in use, so column 7 starts six cells in from the left of the printable area.

#include <QString>
#include <QStringList>

class QPagedPaintDevice;

namespace urbaflux {

// The lines as they go to the printer: (column, points, text); an empty text is an empty line.
struct PrintLine
{
    int column = 1;
    int points = 12;
    QString text;
};
QList<PrintLine> contentsPrintLines(const QString& heading, const QStringList& entries);

// Prints the lines and ends the job; false when the device could not be opened.
bool printContents(QPagedPaintDevice& device, const QString& heading, const QStringList& entries);

} // namespace urbaflux
