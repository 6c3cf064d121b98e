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

#include <QString>
#include <QStringList>

namespace urbaflux {

// True when the arguments ask for one of the GIS commands.
bool isZoneCommand(const QStringList& arguments);

// Runs it; returns the exit status (the batch calculator's own codes).
int runZoneCommand(const QStringList& arguments);

// The section of the help text on the GIS commands.
QString zoneUsageText();

} // namespace urbaflux
