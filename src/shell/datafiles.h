#pragma once

// Where the program finds the data files it reads but never writes (the splash music, the tips
// of the day): first where each file has always been looked for (the working directory for the
// music, the program's own folder for the tips), so that a copy there wins, then in the installed
// data folder <prefix>/share/urbaflux. The data folder is found relative to the executable, so
// that a package installed or unpacked under any root finds its own files, and then at the
// prefix the program was configured for.

#include <QString>
#include <QStringList>

namespace urbaflux {

enum class DataFileFirst
{
    WorkingDirectory,
    ExecutableDirectory
};

// The first existing file of that name: in `first`, then in the installed data folder
// (<prefix>/share/urbaflux, found relative to the executable and as configured); empty if none.
// The path returned is absolute.
QString locateDataFile(const QString& fileName, DataFileFirst first);

// The folders locateDataFile searches, in order and without repeats, for a program started in
// workingDirectory from an executable in executableDirectory.
QStringList dataFileFolders(DataFileFirst first, const QString& workingDirectory,
                            const QString& executableDirectory);

} // namespace urbaflux
