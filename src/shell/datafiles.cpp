#include "datafiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

// Both come from the install layout the build was configured with (GNUInstallDirs).
#ifndef URBAFLUX_DATA_FROM_BIN
#define URBAFLUX_DATA_FROM_BIN "../share/urbaflux"
#endif
#ifndef URBAFLUX_DATA_DIR
#define URBAFLUX_DATA_DIR "/usr/local/share/urbaflux"
#endif

namespace urbaflux {

QStringList dataFileFolders(DataFileFirst first, const QString& workingDirectory,
                            const QString& executableDirectory)
{
    QStringList folders;
    const auto add = [&folders](const QString& folder) {
        if (folder.isEmpty())
            return;
        const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
        if (!folders.contains(clean))
            folders.append(clean);
    };
    add(first == DataFileFirst::WorkingDirectory ? workingDirectory : executableDirectory);
    if (!executableDirectory.isEmpty())
        add(QDir(executableDirectory).filePath(QStringLiteral(URBAFLUX_DATA_FROM_BIN)));
    add(QStringLiteral(URBAFLUX_DATA_DIR));
    return folders;
}

QString locateDataFile(const QString& fileName, DataFileFirst first)
{
    if (fileName.isEmpty())
        return {};
    // applicationDirPath needs the application object; without one only the working
    // directory and the configured folder are searched.
    const QString executableDirectory =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    const QStringList folders = dataFileFolders(first, QDir::currentPath(), executableDirectory);
    for (const QString& folder : folders) {
        const QFileInfo candidate(QDir(folder), fileName);
        if (candidate.isFile())
            return candidate.absoluteFilePath();
    }
    return {};
}

} // namespace urbaflux
