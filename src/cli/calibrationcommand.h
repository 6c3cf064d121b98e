#pragma once

// The batch calculator's fit commands:
//   urbaflux-calc ARCHIVIO --valuta OSSERVATE [--json]
//   urbaflux-calc ARCHIVIO --calibra OSSERVATE [--criterio verosimiglianza|sae] [-o USCITA]
//   [--json]
// --valuta compares the archive, computed with its own alpha, with observed interactions;
// --calibra finds the alpha that fits them and can write the archive recomputed with it.

#include "commandline.h"

namespace urbaflux {

Command calibrationCommand();

// The section of the help text on the fit commands.
QString calibrationUsageText();

} // namespace urbaflux
