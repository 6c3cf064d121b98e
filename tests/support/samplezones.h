#pragma once

// Small generated study regions for the map tests: square zones in a grid of WGS84 lon/lat
// cells, as a GIS import would hand them to core (no GDAL needed to draw them).

#include <projectstate.h>

#include <QString>
#include <cmath>
#include <numbers>

namespace urbaflux {

// columns x rows zones, `step` degrees each, the first at (lon, lat) in the south-west; area i
// is zone i, named "Zona i" unless the state has names. Sets count when it was smaller.
inline void fillGridZones(ProjectState& state, int columns, int rows, double lon = 11.30,
                          double lat = 44.48, double step = 0.02)
{
    state.zones = {};
    const double pi = std::numbers::pi;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const double x0 = lon + c * step;
            const double y0 = lat + r * step;
            Zone zone;
            zone.code = QString::number(r * columns + c + 1);
            GeoPolygon square;
            square.outer = {
                {x0, y0}, {x0 + step, y0}, {x0 + step, y0 + step}, {x0, y0 + step}, {x0, y0}};
            zone.parts.push_back(square);
            zone.point = {x0 + step / 2, y0 + step / 2};
            // A sphere is near enough for a test's area.
            const double metres = 6371008.8 * step * pi / 180;
            zone.areaSquareMetres = metres * metres * std::cos((y0 + step / 2) * pi / 180);
            state.zones.zones.push_back(zone);
        }
    }
    const int n = columns * rows;
    if (state.areas.count < n)
        state.areas.count = n;
    for (int i = 1; i <= n; ++i)
        if (state.areas.name[size_t(i)].isEmpty())
            state.areas.name[size_t(i)] = QStringLiteral("Zona %1").arg(i);
}

} // namespace urbaflux
