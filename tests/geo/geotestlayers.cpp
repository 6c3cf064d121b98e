#include "geotestlayers.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <cmath>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>
#include <proj.h>

namespace urbaflux::test {

void writeLayer(const QString& driverName, const QString& path, const QString& layerName, int epsg,
                const std::vector<TestField>& fields, const std::vector<TestFeature>& features,
                const QStringList& options)
{
    GDALAllRegister();
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(driverName.toUtf8().constData());
    QVERIFY(driver);
    GDALDatasetUniquePtr dataset;
    if (QFileInfo::exists(path) && driverName == u"GPKG")
        dataset.reset(GDALDataset::Open(QFile::encodeName(path).constData(),
                                        GDAL_OF_VECTOR | GDAL_OF_UPDATE));
    else
        dataset.reset(
            driver->Create(QFile::encodeName(path).constData(), 0, 0, 0, GDT_Unknown, nullptr));
    QVERIFY(dataset);
    OGRSpatialReference srs;
    if (epsg != 0) {
        srs.importFromEPSG(epsg);
        srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    }
    std::vector<QByteArray> optionBytes;
    std::vector<char*> optionPointers;
    for (const QString& option : options)
        optionBytes.push_back(option.toUtf8());
    for (QByteArray& bytes : optionBytes)
        optionPointers.push_back(bytes.data());
    optionPointers.push_back(nullptr);
    OGRwkbGeometryType type = wkbUnknown;
    for (const TestFeature& feature : features) {
        if (feature.wkt.startsWith(u"POINT"))
            type = wkbPoint;
        else if (feature.wkt.startsWith(u"POLYGON") || feature.wkt.startsWith(u"MULTIPOLYGON"))
            type = driverName == u"ESRI Shapefile" ? wkbPolygon : wkbMultiPolygon;
    }
    OGRLayer* layer = dataset->CreateLayer(layerName.toUtf8().constData(),
                                           epsg != 0 ? &srs : nullptr, type, optionPointers.data());
    QVERIFY(layer);
    for (const TestField& field : fields) {
        OGRFieldDefn definition(field.name.toUtf8().constData(),
                                field.type == QMetaType::Int      ? OFTInteger
                                : field.type == QMetaType::Double ? OFTReal
                                                                  : OFTString);
        QCOMPARE(layer->CreateField(&definition), OGRERR_NONE);
    }
    for (const TestFeature& feature : features) {
        OGRFeature out(layer->GetLayerDefn());
        for (size_t i = 0; i < feature.values.size(); ++i) {
            const QVariant& value = feature.values[i];
            const int index = static_cast<int>(i);
            if (value.isNull())
                out.SetFieldNull(index);
            else if (fields[i].type == QMetaType::Int)
                out.SetField(index, value.toInt());
            else if (fields[i].type == QMetaType::Double)
                out.SetField(index, value.toDouble());
            else
                out.SetField(index, value.toString().toUtf8().constData());
        }
        if (!feature.wkt.isEmpty()) {
            OGRGeometry* geometry = nullptr;
            const QByteArray wkt = feature.wkt.toUtf8();
            QCOMPARE(OGRGeometryFactory::createFromWkt(wkt.constData(), nullptr, &geometry),
                     OGRERR_NONE);
            if (type == wkbMultiPolygon && wkbFlatten(geometry->getGeometryType()) == wkbPolygon)
                geometry = OGRGeometryFactory::forceToMultiPolygon(geometry);
            out.SetGeometryDirectly(geometry);
        }
        QCOMPARE(layer->CreateFeature(&out), OGRERR_NONE);
    }
}

double vincentyDistance(double lon1, double lat1, double lon2, double lat2)
{
    constexpr double a = 6378137.0;
    constexpr double f = 1 / 298.257223563;
    constexpr double b = a * (1 - f);
    const double rad = M_PI / 180.0;
    const double L = (lon2 - lon1) * rad;
    const double U1 = std::atan((1 - f) * std::tan(lat1 * rad));
    const double U2 = std::atan((1 - f) * std::tan(lat2 * rad));
    const double sinU1 = std::sin(U1), cosU1 = std::cos(U1);
    const double sinU2 = std::sin(U2), cosU2 = std::cos(U2);
    double lambda = L;
    double sinSigma = 0, cosSigma = 0, sigma = 0, cos2Alpha = 0, cos2SigmaM = 0;
    for (int iteration = 0; iteration < 200; ++iteration) {
        const double sinLambda = std::sin(lambda), cosLambda = std::cos(lambda);
        sinSigma = std::sqrt(std::pow(cosU2 * sinLambda, 2) +
                             std::pow(cosU1 * sinU2 - sinU1 * cosU2 * cosLambda, 2));
        if (sinSigma == 0)
            return 0;
        cosSigma = sinU1 * sinU2 + cosU1 * cosU2 * cosLambda;
        sigma = std::atan2(sinSigma, cosSigma);
        const double sinAlpha = cosU1 * cosU2 * sinLambda / sinSigma;
        cos2Alpha = 1 - sinAlpha * sinAlpha;
        cos2SigmaM = cos2Alpha != 0 ? cosSigma - 2 * sinU1 * sinU2 / cos2Alpha : 0;
        const double C = f / 16 * cos2Alpha * (4 + f * (4 - 3 * cos2Alpha));
        const double previous = lambda;
        lambda =
            L + (1 - C) * f * sinAlpha *
                    (sigma + C * sinSigma *
                                 (cos2SigmaM + C * cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM)));
        if (std::abs(lambda - previous) < 1e-13)
            break;
    }
    const double u2 = cos2Alpha * (a * a - b * b) / (b * b);
    const double A = 1 + u2 / 16384 * (4096 + u2 * (-768 + u2 * (320 - 175 * u2)));
    const double B = u2 / 1024 * (256 + u2 * (-128 + u2 * (74 - 47 * u2)));
    const double deltaSigma =
        B * sinSigma *
        (cos2SigmaM + B / 4 *
                          (cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM) -
                           B / 6 * cos2SigmaM * (-3 + 4 * sinSigma * sinSigma) *
                               (-3 + 4 * cos2SigmaM * cos2SigmaM)));
    return b * A * (sigma - deltaSigma);
}

std::pair<double, double> utm32ToLonLat(double x, double y)
{
    PJ_CONTEXT* context = proj_context_create();
    PJ* raw = proj_create_crs_to_crs(context, "EPSG:32632", "EPSG:4326", nullptr);
    PJ* projection = proj_normalize_for_visualization(context, raw);
    const PJ_COORD out = proj_trans(projection, PJ_FWD, proj_coord(x, y, 0, 0));
    proj_destroy(projection);
    proj_destroy(raw);
    proj_context_destroy(context);
    return {out.xy.x, out.xy.y};
}

QString squareWkt(double x, double y, double side)
{
    const double h = side / 2;
    return QStringLiteral("POLYGON ((%1 %2, %3 %2, %3 %4, %1 %4, %1 %2))")
        .arg(x - h, 0, 'f', 3)
        .arg(y - h, 0, 'f', 3)
        .arg(x + h, 0, 'f', 3)
        .arg(y + h, 0, 'f', 3);
}

} // namespace urbaflux::test
