#pragma once

// The zones of the study region as a GIS import found them: one per area, in area order, with
// the geometry in WGS84 longitude and latitude (the traditional GIS axis order, whatever the
// layer's CRS said). Plain values only: core knows no GDAL. src/geo reads and writes them
// (layers, the companion GeoPackage of a complete archive), the maps draw them.

#include <QString>
#include <vector>

namespace urbaflux {

struct GeoPoint
{
    double lon = 0.0;
    double lat = 0.0;

    friend bool operator==(const GeoPoint&, const GeoPoint&) = default;
};

using GeoRing = std::vector<GeoPoint>; // closed: the last point repeats the first

struct GeoPolygon
{
    GeoRing outer;
    std::vector<GeoRing> holes;

    friend bool operator==(const GeoPolygon&, const GeoPolygon&) = default;
};

struct Zone
{
    QString code;                  // the zone's code in its layer, kept for matching matrices
    std::vector<GeoPolygon> parts; // a multipolygon (islands) is one zone; empty for points
    GeoPoint point;                // the representative point the distances start from
    double areaSquareMetres = 0.0; // geodesic area on the ellipsoid; 0 for a point

    friend bool operator==(const Zone&, const Zone&) = default;
};

struct ZoneSet
{
    // zones[i - 1] is area i. Empty when the elaboration has no geometry.
    std::vector<Zone> zones;
    // The layer's own projected CRS (WKT) when it had one, so that maps can draw in it;
    // empty when the layer was geographic or the zones came from points.
    QString projectedCrs;

    bool hasGeometry() const { return !zones.empty(); }

    friend bool operator==(const ZoneSet&, const ZoneSet&) = default;
};

} // namespace urbaflux
