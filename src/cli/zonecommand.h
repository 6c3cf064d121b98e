#pragma once

// The batch calculator's GIS commands:
//   urbaflux-calc --zone FILE [--strato LAYER] --campo-nome F [--campo-origine F]
//                 [--campo-destinazione F] [--campo-codice F] [--filtro "WHERE"]
//                 [--punto superficie|centroide] [--tortuosita 1.2]
//                 [--intrazonale vicino|raggio|NUMBER] [--unita chilometri|metri]
//                 [--modello 1|2|3] [--srs EPSG:N] -o ARCHIVE
//   urbaflux-calc ARCHIVE --distanze FILE.csv -o OUT
// The first makes a complete archive (and its companion GeoPackage) from a GIS layer, the
// second fills an archive's distances from a matrix file.

#include "commandline.h"

#include <QString>

namespace urbaflux {

// --zone and --distanze, for the list of commands in main.cpp.
Command zoneCommand();
Command distanceMatrixCommand();

// The section of the help text on the GIS commands.
QString zoneUsageText();

} // namespace urbaflux
