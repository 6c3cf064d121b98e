#pragma once

// Small layers the geography tests write with GDAL, and geodesy computed another way than the
// module does (Vincenty's inverse formula), to check its figures against.

#include <QString>
#include <QVariant>
#include <vector>

namespace urbaflux::test {

struct TestFeature
{
    std::vector<QVariant> values; // in the order of the layer's fields
    QString wkt;                  // empty: no geometry
};

struct TestField
{
    QString name;
    QMetaType::Type type; // Int, Double or QString
};

// Writes a layer with the given driver ("ESRI Shapefile", "GPKG", "GeoJSON"). epsg 0 writes
// no CRS. Options are layer creation options ("ENCODING=ISO-8859-1"). Appends a layer when
// the GeoPackage exists.
void writeLayer(const QString& driver, const QString& path, const QString& layer, int epsg,
                const std::vector<TestField>& fields, const std::vector<TestFeature>& features,
                const QStringList& options = {});

// Vincenty's inverse on WGS84, in metres.
double vincentyDistance(double lon1, double lat1, double lon2, double lat2);

// Lon/lat of a UTM 32N point, through PROJ rather than the module's transformation.
std::pair<double, double> utm32ToLonLat(double x, double y);

// The standard square of side metres around (x, y), as WKT.
QString squareWkt(double x, double y, double side);

} // namespace urbaflux::test
