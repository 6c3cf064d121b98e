#pragma once

// The batch calculator of this build run as a user runs it, for the tests of its commands. The
// including test defines URBAFLUX_CALC_PATH (its CMake passes the program's path).

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace urbaflux {

struct CalcRun
{
    int exitCode = -1; // -1 when the program did not end normally within a minute
    QByteArray out;
    QByteArray err;
};

inline CalcRun runCalc(const QStringList& arguments)
{
    QProcess process;
    process.start(QString::fromUtf8(URBAFLUX_CALC_PATH), arguments);
    CalcRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace urbaflux
