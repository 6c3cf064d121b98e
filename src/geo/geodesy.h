#pragma once

// Distances and areas on the WGS84 ellipsoid (Karney's geodesics through GeographicLib), for
// the zones' representative points and polygons in longitude and latitude.

#include <zones.h>

namespace urbaflux {

// The length in metres of the shortest path on the ellipsoid between two points.
double geodesicDistance(const GeoPoint& a, const GeoPoint& b);

// The area in square metres of a ring on the ellipsoid, whatever its orientation.
double geodesicRingArea(const GeoRing& ring);

// Outer rings less their holes, over every part; 0 for a zone without parts (a point).
double geodesicArea(const std::vector<GeoPolygon>& parts);

} // namespace urbaflux
