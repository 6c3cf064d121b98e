#pragma once

// The zones' geometry beside a complete archive, and the results for a GIS. The complete
// archive's layout stays as older copies read it; the geometry goes into a GeoPackage with the
// archive's name plus ".gpkg" (layer "zone": area number, name, code, representative point,
// area, geometry in WGS84), written when the archive is saved and read back when it is opened.
// "Esporta per GIS..." writes the zones with their data and results and one desire line per
// pair. Files are written beside the target and renamed over it, so a failed write leaves the
// previous file as it was.

#include <archiveresult.h>
#include <projectstate.h>

#include <QString>
#include <functional>

namespace urbaflux {

QString companionPackagePath(const QString& archivePath);

// Writes the zones of the state; when it has none, or no longer one per area, writes nothing
// and removes a stale companion.
SaveResult writeZonePackage(const QString& path, const ProjectState& state);

// Writes an archive with `writeArchive` and its companion together: the companion first under
// a name of its own, then the archive, then the companion takes its place (or a stale one goes
// when the state has no zones). A failure of either write leaves both previous files as they
// were, so an archive never ends up beside another study's zones.
SaveResult writeArchiveWithZones(const QString& archivePath, const ProjectState& state,
                                 const std::function<SaveResult(const QString&)>& writeArchive);

// The zones of a companion package, area order, for an archive of count areas; an empty set
// when there is no such file. A file that does not hold one zone per area is refused.
Parsed<ZoneSet> readZonePackage(const QString& path, int count);

// Zones (nome, origine, destinazione, origini_stimate, destinazioni_stimate) and desire lines
// (origine, destinazione, distanza, interazione) for every pair of different areas.
SaveResult exportForGis(const QString& path, const ProjectState& state);

} // namespace urbaflux
