#pragma once

// urbaflux-calc ARCHIVIO [-o USCITA] [--matrix CSV] [--json] [--report FILE [--studio NOME]
//               [--indirizzo TESTO]]
//
// Reads a complete archive, recalculates it as the distances window would right after
// start-up (fresh balancing factors), and writes the complete archive with the new results,
// byte for byte as the program saves it. The command that runs when no other is chosen.

#include "commandline.h"

namespace urbaflux {

Command calculationCommand();

} // namespace urbaflux
