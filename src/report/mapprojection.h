#pragma once

// The plane a map is drawn in. Longitude and latitude are never drawn as they are: a degree of
// longitude is shorter than one of latitude everywhere but at the equator, so shapes and the
// scale bar would be false. The map uses a conformal projection centred on the study region
// (shapes true in the small, one scale in every direction at a point): the layer's own projected
// CRS when it had one, read through PROJ, otherwise the transverse Mercator of the UTM zone of
// the region's centre, computed here (Snyder 1987, "Map Projections: A Working Manual", USGS
// Professional Paper 1395, pp. 60-64), which within a zone keeps the scale within 0.1%.
//
// Coordinates come out in metres, east and north.

#include <zones.h>

#include <QPointF>
#include <QString>
#include <memory>
#include <vector>

namespace urbaflux {

class MapProjection
{
public:
    // The projection for these zones: their projectedCrs when set and PROJ can use it, otherwise
    // the UTM zone of the centre of their representative points. No zones: UTM zone 32 north.
    static MapProjection forZones(const ZoneSet& zones);
    // The UTM zone (1 to 60) whose central meridian is nearest to `lon`.
    static int utmZone(double lon);
    static MapProjection utm(int zone, bool north);

    MapProjection();
    MapProjection(const MapProjection&) = delete;
    MapProjection& operator=(const MapProjection&) = delete;
    MapProjection(MapProjection&&) noexcept;
    MapProjection& operator=(MapProjection&&) noexcept;
    ~MapProjection();

    // Easting and northing in metres.
    QPointF project(const GeoPoint& point) const;
    void project(const std::vector<GeoPoint>& points, std::vector<QPointF>& out) const;

    // "UTM 32N", or the name of the layer's CRS.
    QString name() const { return m_name; }
    bool usesLayerCrs() const { return m_proj != nullptr; }

private:
    QPointF transverseMercator(double lon, double lat) const;

    struct Proj;
    std::unique_ptr<Proj> m_proj; // the layer's CRS through PROJ; null: our own UTM
    double m_centralMeridian = 9.0;
    double m_falseNorthing = 0.0;
    QString m_name;
};

} // namespace urbaflux
