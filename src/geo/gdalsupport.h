#pragma once

// What every GDAL caller in this module shares: the drivers registered once, GDAL's messages
// kept off the terminal and collected for ours, and the file name as a message shows it.
// Private to src/geo: no header outside this folder includes it.

#include <QByteArray>
#include <QString>

#include <cpl_error.h>

namespace urbaflux {

// Registers GDAL's drivers the first time it is called; cheap afterwards.
void ensureGdalRegistered();

// While alive, GDAL's errors are not printed; lastMessage() gives the last one, for messages.
class GdalErrorCapture
{
public:
    GdalErrorCapture();
    ~GdalErrorCapture();
    GdalErrorCapture(const GdalErrorCapture&) = delete;
    GdalErrorCapture& operator=(const GdalErrorCapture&) = delete;

    QString lastMessage() const;
};

// The name the user knows the file by, quoted: the file name without its folder.
QString quotedFileName(const QString& path);

// The path as GDAL opens it: a zipped shapefile through /vsizip/.
QByteArray gdalPath(const QString& path);

} // namespace urbaflux
