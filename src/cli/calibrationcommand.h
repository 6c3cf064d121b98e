#pragma once

// The batch calculator's fit commands:
//   urbaflux-calc ARCHIVIO --valuta OSSERVATE [--json]
//   urbaflux-calc ARCHIVIO --calibra OSSERVATE [--criterio verosimiglianza|sae] [-o USCITA]
//   [--json]
// --valuta compares the archive, computed with its own alpha, with observed interactions;
// --calibra finds the alpha that fits them and can write the archive recomputed with it.

#include <QString>
#include <QStringList>

namespace urbaflux {

// True when the arguments ask for one of the fit commands (and not for the help).
bool isCalibrationCommand(const QStringList& arguments);

// Runs the command; returns the exit status (the batch calculator's own codes).
int runCalibrationCommand(const QStringList& arguments);

// The section of the help text on the fit commands.
QString calibrationUsageText();

} // namespace urbaflux
