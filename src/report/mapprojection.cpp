#include "mapprojection.h"

#include <proj.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace urbaflux {

namespace {

// WGS84, the datum of the zones as core holds them.
constexpr double kSemiMajor = 6378137.0;
constexpr double kFlattening = 1.0 / 298.257223563;
constexpr double kScaleFactor = 0.9996; // UTM's scale on the central meridian

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

} // namespace

struct MapProjection::Proj
{
    PJ_CONTEXT* context = nullptr;
    PJ* transform = nullptr;
    double toMetres = 1.0; // the CRS's linear unit, so that the scale bar stays in metres

    ~Proj()
    {
        if (transform)
            proj_destroy(transform);
        if (context)
            proj_context_destroy(context);
    }
};

MapProjection::MapProjection() : m_name(QStringLiteral("UTM 32N")) {}
MapProjection::MapProjection(MapProjection&&) noexcept = default;
MapProjection& MapProjection::operator=(MapProjection&&) noexcept = default;
MapProjection::~MapProjection() = default;

int MapProjection::utmZone(double lon)
{
    if (!std::isfinite(lon))
        return 32;
    const double wrapped = lon - 360.0 * std::floor((lon + 180.0) / 360.0);
    return std::clamp(int(std::floor((wrapped + 180.0) / 6.0)) + 1, 1, 60);
}

MapProjection MapProjection::utm(int zone, bool north)
{
    MapProjection projection;
    projection.m_centralMeridian = -183.0 + 6.0 * zone;
    projection.m_falseNorthing = north ? 0.0 : 10000000.0;
    projection.m_name = QStringLiteral("UTM %1%2").arg(zone).arg(QChar(north ? u'N' : u'S'));
    return projection;
}

MapProjection MapProjection::forZones(const ZoneSet& zones)
{
    if (!zones.projectedCrs.isEmpty()) {
        auto proj = std::make_unique<Proj>();
        proj->context = proj_context_create();
        // Messages of PROJ would go to standard error: a CRS it cannot use falls back to UTM.
        proj_log_level(proj->context, PJ_LOG_NONE);
        const QByteArray wkt = zones.projectedCrs.toUtf8();
        PJ* raw = proj_create_crs_to_crs(proj->context, "EPSG:4326", wkt.constData(), nullptr);
        PJ* target = proj_create(proj->context, wkt.constData());
        if (raw && target && proj_get_type(target) == PJ_TYPE_PROJECTED_CRS) {
            // Longitude first and easting first, whatever axis order the CRS declares.
            proj->transform = proj_normalize_for_visualization(proj->context, raw);
            if (PJ* cs = proj_crs_get_coordinate_system(proj->context, target)) {
                double factor = 1.0;
                if (proj_cs_get_axis_info(proj->context, cs, 0, nullptr, nullptr, nullptr, &factor,
                                          nullptr, nullptr, nullptr) &&
                    factor > 0)
                    proj->toMetres = factor;
                proj_destroy(cs);
            }
            char const* name = proj_get_name(target);
            MapProjection projection;
            projection.m_name = name ? QString::fromUtf8(name) : QString();
            if (raw)
                proj_destroy(raw);
            proj_destroy(target);
            if (proj->transform) {
                projection.m_proj = std::move(proj);
                return projection;
            }
        } else {
            if (raw)
                proj_destroy(raw);
            if (target)
                proj_destroy(target);
        }
    }
    double lon = 0;
    double lat = 0;
    int points = 0;
    for (const Zone& zone : zones.zones) {
        if (!std::isfinite(zone.point.lon) || !std::isfinite(zone.point.lat))
            continue;
        lon += zone.point.lon;
        lat += zone.point.lat;
        ++points;
    }
    if (points == 0)
        return MapProjection{};
    return utm(utmZone(lon / points), lat / points >= 0);
}

QPointF MapProjection::transverseMercator(double lon, double lat) const
{
    // Snyder 1987, equations 8-9 to 8-15: the series is exact to a millimetre within a few
    // degrees of the central meridian, all a study region needs.
    const double e2 = kFlattening * (2.0 - kFlattening);
    const double ep2 = e2 / (1.0 - e2);
    const double phi = radians(lat);
    double dlon = lon - m_centralMeridian;
    dlon -= 360.0 * std::floor((dlon + 180.0) / 360.0);
    const double sinPhi = std::sin(phi);
    const double cosPhi = std::cos(phi);
    const double tanPhi = std::tan(phi);
    const double n = kSemiMajor / std::sqrt(1.0 - e2 * sinPhi * sinPhi);
    const double t = tanPhi * tanPhi;
    const double c = ep2 * cosPhi * cosPhi;
    const double a = radians(dlon) * cosPhi;
    const double e4 = e2 * e2;
    const double e6 = e4 * e2;
    const double m = kSemiMajor * ((1 - e2 / 4 - 3 * e4 / 64 - 5 * e6 / 256) * phi -
                                   (3 * e2 / 8 + 3 * e4 / 32 + 45 * e6 / 1024) * std::sin(2 * phi) +
                                   (15 * e4 / 256 + 45 * e6 / 1024) * std::sin(4 * phi) -
                                   (35 * e6 / 3072) * std::sin(6 * phi));
    const double a2 = a * a;
    const double x = kScaleFactor * n *
                     (a + (1 - t + c) * a2 * a / 6 +
                      (5 - 18 * t + t * t + 72 * c - 58 * ep2) * a2 * a2 * a / 120);
    const double y =
        kScaleFactor * (m + n * tanPhi *
                                (a2 / 2 + (5 - t + 9 * c + 4 * c * c) * a2 * a2 / 24 +
                                 (61 - 58 * t + t * t + 600 * c - 330 * ep2) * a2 * a2 * a2 / 720));
    return QPointF(500000.0 + x, m_falseNorthing + y);
}

QPointF MapProjection::project(const GeoPoint& point) const
{
    if (!m_proj)
        return transverseMercator(point.lon, point.lat);
    PJ_COORD in = proj_coord(point.lon, point.lat, 0, 0);
    const PJ_COORD out = proj_trans(m_proj->transform, PJ_FWD, in);
    return QPointF(out.xy.x * m_proj->toMetres, out.xy.y * m_proj->toMetres);
}

void MapProjection::project(const std::vector<GeoPoint>& points, std::vector<QPointF>& out) const
{
    out.resize(points.size());
    if (!m_proj) {
        for (size_t i = 0; i < points.size(); ++i)
            out[i] = transverseMercator(points[i].lon, points[i].lat);
        return;
    }
    std::vector<double> x(points.size());
    std::vector<double> y(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        x[i] = points[i].lon;
        y[i] = points[i].lat;
    }
    proj_trans_generic(m_proj->transform, PJ_FWD, x.data(), sizeof(double), x.size(), y.data(),
                       sizeof(double), y.size(), nullptr, 0, 0, nullptr, 0, 0);
    for (size_t i = 0; i < points.size(); ++i)
        out[i] = QPointF(x[i] * m_proj->toMetres, y[i] * m_proj->toMetres);
}

} // namespace urbaflux
