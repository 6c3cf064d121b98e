#pragma once

// The batch calculator's map and comparison commands:
//   urbaflux-calc ARCHIVIO --mappa FILE.png|FILE.svg|FILE.pdf [--primi N]
//   urbaflux-calc PROGETTO --confronta BASE [--json] [--matrix DIFF.csv]
// --mappa draws the flow map of an archive whose zones lie in its companion GeoPackage
// (ARCHIVIO.gpkg); --confronta recomputes both archives and prints what the project changes
// against the base, area by area and pair by pair.

#include "commandline.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace urbaflux {

struct ProjectState;
struct ScenarioComparison;

// --mappa and --confronta, for the list of commands in main.cpp.
Command mapCommand();
Command comparisonCommand();

// The section of the help text on these commands.
QString scenarioUsageText();

// --- The steps, for tests ---

// Loads the zones of the archive at `archivePath` from its companion GeoPackage into the state.
// False with the reason when the archive has none.
bool loadCompanionZones(const QString& archivePath, ProjectState& state, QString* error);

// Draws the map of `flows` flows of a computed state with zones into `path` (by its extension).
bool writeFlowMapFile(const ProjectState& state, const QString& path, int flows, QString* error);

// The comparison as JSON: "coppie" and "aree", values unrounded, null percents where the base
// is 0.
QByteArray comparisonJson(const ScenarioComparison& comparison);

// The comparison as text for a terminal.
QByteArray comparisonText(const ScenarioComparison& comparison, const QString& projectName,
                          const QString& baseName);

// The matrix of the differences as CSV: a heading row of destination numbers, then a row per
// origin.
QByteArray differenceMatrixCsv(const ScenarioComparison& comparison);

} // namespace urbaflux
