#include "geodesy.h"

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/PolygonArea.hpp>

#include <algorithm>
#include <cmath>

namespace urbaflux {

namespace {

const GeographicLib::Geodesic& wgs84()
{
    return GeographicLib::Geodesic::WGS84();
}

} // namespace

double geodesicDistance(const GeoPoint& a, const GeoPoint& b)
{
    double metres = 0.0;
    wgs84().Inverse(a.lat, a.lon, b.lat, b.lon, metres);
    return metres;
}

double geodesicRingArea(const GeoRing& ring)
{
    if (ring.size() < 4)
        return 0.0;
    GeographicLib::PolygonArea polygon(wgs84());
    // The closing point repeats the first; PolygonArea closes the ring itself.
    for (size_t i = 0; i + 1 < ring.size(); ++i)
        polygon.AddPoint(ring[i].lat, ring[i].lon);
    double perimeter = 0.0;
    double area = 0.0;
    // Signed: a clockwise ring (the shapefile's own orientation) would otherwise give the area
    // of the rest of the Earth. Its absolute value is the ring's area either way round.
    polygon.Compute(false, true, perimeter, area);
    return std::abs(area);
}

double geodesicArea(const std::vector<GeoPolygon>& parts)
{
    double total = 0.0;
    for (const GeoPolygon& part : parts) {
        double area = geodesicRingArea(part.outer);
        for (const GeoRing& hole : part.holes)
            area -= geodesicRingArea(hole);
        total += std::max(area, 0.0);
    }
    return total;
}

} // namespace urbaflux
