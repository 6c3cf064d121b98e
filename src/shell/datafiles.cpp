#include "datafiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace urbaflux {

namespace {

QString existingFile(const QString& folder, const QString& fileName)
{
    if (folder.isEmpty())
        return {};
    const QFileInfo info(QDir(folder).filePath(fileName));
    return info.isFile() ? info.absoluteFilePath() : QString();
}

} // namespace

QString locateDataFile(const QString& fileName, DataFileFirst first)
{
    if (fileName.isEmpty())
        return {};
    const QString firstFolder = first == DataFileFirst::WorkingDirectory
                                    ? QDir::currentPath()
                                    : QCoreApplication::applicationDirPath();
    if (QString found = existingFile(firstFolder, fileName); !found.isEmpty())
        return found;
    // An installed program lives in <prefix>/bin and keeps its data in <prefix>/share/urbaflux.
    const QString besideBin =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../share/urbaflux"));
    if (QString found = existingFile(besideBin, fileName); !found.isEmpty())
        return found;
    const QStringList dataFolders =
        QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const QString& folder : dataFolders) {
        if (QString found =
                existingFile(QDir(folder).filePath(QStringLiteral("urbaflux")), fileName);
            !found.isEmpty())
            return found;
    }
    return {};
}

} // namespace urbaflux
