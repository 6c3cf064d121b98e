#pragma once

// Where the program finds the data files it reads but never writes (the tips of the day, the
// splash music): beside the program or in the working directory first, so that a copy there
// wins, then in the installed data folder.

#include <QString>

namespace urbaflux {

enum class DataFileFirst
{
    WorkingDirectory,
    ExecutableDirectory
};

// The first existing file of that name: in `first`, then in the installed data folder
// (<prefix>/share/urbaflux, found relative to the executable and as configured); empty if none.
QString locateDataFile(const QString& fileName, DataFileFirst first);

} // namespace urbaflux
