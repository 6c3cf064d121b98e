#include "zonepackage.h"

#include "gdalsupport.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <memory>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>
#include <unistd.h>

namespace urbaflux {

namespace {

constexpr const char* kZoneLayer = "zone";
constexpr const char* kLineLayer = "linee_desiderio";
constexpr const char* kProjectedCrsItem = "URBAFLUX_CRS_PROIETTATO";

OGRSpatialReference wgs84()
{
    OGRSpatialReference srs;
    srs.importFromEPSG(4326);
    srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return srs;
}

OGRLinearRing ringOf(const GeoRing& ring)
{
    OGRLinearRing out;
    out.setNumPoints(static_cast<int>(ring.size()), FALSE);
    for (size_t i = 0; i < ring.size(); ++i)
        out.setPoint(static_cast<int>(i), ring[i].lon, ring[i].lat);
    return out;
}

std::unique_ptr<OGRMultiPolygon> multiPolygonOf(const Zone& zone)
{
    auto multi = std::make_unique<OGRMultiPolygon>();
    for (const GeoPolygon& part : zone.parts) {
        OGRPolygon polygon;
        OGRLinearRing outer = ringOf(part.outer);
        polygon.addRing(&outer);
        for (const GeoRing& hole : part.holes) {
            OGRLinearRing inner = ringOf(hole);
            polygon.addRing(&inner);
        }
        multi->addGeometry(&polygon);
    }
    return multi;
}

bool hasParts(const ZoneSet& zones)
{
    for (const Zone& zone : zones.zones) {
        if (!zone.parts.empty())
            return true;
    }
    return false;
}

// A GeoPackage written beside the target under a name of its own, then renamed over it.
class PackageWriter
{
public:
    explicit PackageWriter(const QString& path)
        : m_path(path), m_temporary(path + QStringLiteral(".%1.tmp").arg(::getpid()))
    {
        ensureGdalRegistered();
        QFile::remove(m_temporary);
        GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GPKG");
        if (driver) {
            m_dataset.reset(driver->Create(QFile::encodeName(m_temporary).constData(), 0, 0, 0,
                                           GDT_Unknown, nullptr));
        }
        if (m_dataset)
            m_dataset->StartTransaction();
    }
    ~PackageWriter()
    {
        m_dataset.reset();
        QFile::remove(m_temporary);
    }
    PackageWriter(const PackageWriter&) = delete;
    PackageWriter& operator=(const PackageWriter&) = delete;

    GDALDataset* dataset() const { return m_dataset.get(); }

    SaveResult finish()
    {
        if (!m_dataset)
            return failure();
        if (m_dataset->CommitTransaction() != OGRERR_NONE)
            return failure();
        GDALClose(GDALDataset::ToHandle(m_dataset.release()));
        if (std::rename(QFile::encodeName(m_temporary).constData(),
                        QFile::encodeName(m_path).constData()) != 0)
            return failure();
        return {true, QString()};
    }

    SaveResult failure() const
    {
        const QString reason = m_capture.lastMessage();
        return {false,
                QStringLiteral("Il file %1 non è stato scritto%2.")
                    .arg(quotedFileName(m_path),
                         reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason))};
    }

private:
    GdalErrorCapture m_capture;
    QString m_path;
    QString m_temporary;
    GDALDatasetUniquePtr m_dataset;
};

void addField(OGRLayer* layer, const char* name, OGRFieldType type)
{
    OGRFieldDefn field(name, type);
    layer->CreateField(&field);
}

} // namespace

QString companionPackagePath(const QString& archivePath)
{
    return archivePath + QStringLiteral(".gpkg");
}

SaveResult writeZonePackage(const QString& path, const ProjectState& state)
{
    const ZoneSet& zones = state.zones;
    // Areas typed in or taken away after the import no longer match the zones one for one.
    if (!zones.hasGeometry() || static_cast<int>(zones.zones.size()) != state.areas.count) {
        // A companion left from an earlier study would give this archive someone else's map.
        if (QFileInfo::exists(path) && !QFile::remove(path))
            return {false,
                    QStringLiteral("Il file %1 non si può eliminare.").arg(quotedFileName(path))};
        return {true, QString()};
    }
    PackageWriter writer(path);
    GDALDataset* dataset = writer.dataset();
    if (!dataset)
        return writer.failure();
    OGRSpatialReference srs = wgs84();
    OGRLayer* layer = dataset->CreateLayer(kZoneLayer, &srs,
                                           hasParts(zones) ? wkbMultiPolygon : wkbPoint, nullptr);
    if (!layer)
        return writer.failure();
    addField(layer, "area", OFTInteger);
    addField(layer, "nome", OFTString);
    addField(layer, "codice", OFTString);
    addField(layer, "punto_lon", OFTReal);
    addField(layer, "punto_lat", OFTReal);
    addField(layer, "superficie_m2", OFTReal);
    for (size_t i = 0; i < zones.zones.size(); ++i) {
        const Zone& zone = zones.zones[i];
        OGRFeature feature(layer->GetLayerDefn());
        feature.SetField("area", static_cast<int>(i + 1));
        feature.SetField("nome", state.areas.name[i + 1].toUtf8().constData());
        feature.SetField("codice", zone.code.toUtf8().constData());
        feature.SetField("punto_lon", zone.point.lon);
        feature.SetField("punto_lat", zone.point.lat);
        feature.SetField("superficie_m2", zone.areaSquareMetres);
        if (!zone.parts.empty())
            feature.SetGeometryDirectly(multiPolygonOf(zone).release());
        else if (!hasParts(zones))
            feature.SetGeometryDirectly(new OGRPoint(zone.point.lon, zone.point.lat));
        if (layer->CreateFeature(&feature) != OGRERR_NONE)
            return writer.failure();
    }
    if (!zones.projectedCrs.isEmpty())
        dataset->SetMetadataItem(kProjectedCrsItem, zones.projectedCrs.toUtf8().constData());
    return writer.finish();
}

SaveResult writeArchiveWithZones(const QString& archivePath, const ProjectState& state,
                                 const std::function<SaveResult(const QString&)>& writeArchive)
{
    const QString companion = companionPackagePath(archivePath);
    const QString staged = companion + QStringLiteral(".%1.nuovo").arg(::getpid());
    const SaveResult zones = writeZonePackage(staged, state);
    if (!zones.ok) {
        QFile::remove(staged);
        return {false,
                QStringLiteral("Il file %1 non è stato scritto.").arg(quotedFileName(companion))};
    }
    const SaveResult archive = writeArchive(archivePath);
    if (!archive.ok) {
        QFile::remove(staged);
        return archive;
    }
    if (QFileInfo::exists(staged)) {
        if (std::rename(QFile::encodeName(staged).constData(),
                        QFile::encodeName(companion).constData()) != 0) {
            QFile::remove(staged);
            return {
                false,
                QStringLiteral("Il file %1 non è stato scritto.").arg(quotedFileName(companion))};
        }
    } else if (QFileInfo::exists(companion) && !QFile::remove(companion)) {
        return {false,
                QStringLiteral("Il file %1 non si può eliminare.").arg(quotedFileName(companion))};
    }
    return {true, QString()};
}

Parsed<ZoneSet> readZonePackage(const QString& path, int count)
{
    using Result = Parsed<ZoneSet>;
    if (!QFileInfo::exists(path))
        return Result::success(ZoneSet());
    ensureGdalRegistered();
    GdalErrorCapture capture;
    const QString file = quotedFileName(path);
    GDALDatasetUniquePtr dataset(
        GDALDataset::Open(QFile::encodeName(path).constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    OGRLayer* layer = dataset ? dataset->GetLayerByName(kZoneLayer) : nullptr;
    if (!layer)
        return Result::failure(QStringLiteral("Il file %1 non contiene le zone.").arg(file));
    const OGRFeatureDefn* definition = layer->GetLayerDefn();
    const int areaField = definition->GetFieldIndex("area");
    const int codeField = definition->GetFieldIndex("codice");
    const int lonField = definition->GetFieldIndex("punto_lon");
    const int latField = definition->GetFieldIndex("punto_lat");
    const int surfaceField = definition->GetFieldIndex("superficie_m2");
    if (areaField < 0 || lonField < 0 || latField < 0)
        return Result::failure(QStringLiteral("Il file %1 non contiene le zone.").arg(file));
    ZoneSet zones;
    zones.zones.resize(static_cast<size_t>(std::max(count, 0)));
    std::vector<bool> seen(zones.zones.size(), false);
    for (const OGRFeatureUniquePtr& feature : *layer) {
        const int area = feature->GetFieldAsInteger(areaField);
        if (area < 1 || area > count || seen[static_cast<size_t>(area - 1)]) {
            return Result::failure(
                QStringLiteral("Il file %1 non corrisponde alle %2 aree dell'archivio.")
                    .arg(file)
                    .arg(count));
        }
        seen[static_cast<size_t>(area - 1)] = true;
        Zone& zone = zones.zones[static_cast<size_t>(area - 1)];
        if (codeField >= 0)
            zone.code = QString::fromUtf8(feature->GetFieldAsString(codeField));
        zone.point = {feature->GetFieldAsDouble(lonField), feature->GetFieldAsDouble(latField)};
        if (surfaceField >= 0)
            zone.areaSquareMetres = feature->GetFieldAsDouble(surfaceField);
        const OGRGeometry* geometry = feature->GetGeometryRef();
        if (geometry && wkbFlatten(geometry->getGeometryType()) == wkbMultiPolygon) {
            for (const OGRPolygon* polygon : *geometry->toMultiPolygon()) {
                GeoPolygon part;
                const auto ring = [](const OGRLinearRing* r) {
                    GeoRing out;
                    for (int p = 0; p < r->getNumPoints(); ++p)
                        out.push_back({r->getX(p), r->getY(p)});
                    return out;
                };
                part.outer = ring(polygon->getExteriorRing());
                for (int h = 0; h < polygon->getNumInteriorRings(); ++h)
                    part.holes.push_back(ring(polygon->getInteriorRing(h)));
                zone.parts.push_back(std::move(part));
            }
        }
    }
    for (const bool found : seen) {
        if (!found) {
            return Result::failure(
                QStringLiteral("Il file %1 non corrisponde alle %2 aree dell'archivio.")
                    .arg(file)
                    .arg(count));
        }
    }
    if (const char* crs = dataset->GetMetadataItem(kProjectedCrsItem))
        zones.projectedCrs = QString::fromUtf8(crs);
    return Result::success(std::move(zones));
}

SaveResult exportForGis(const QString& path, const ProjectState& state)
{
    const ZoneSet& zones = state.zones;
    const int n = state.areas.count;
    if (!zones.hasGeometry() || static_cast<int>(zones.zones.size()) != n) {
        return {false, QStringLiteral("Le aree non hanno una geometria da esportare: importarle "
                                      "prima da un file GIS.")};
    }
    PackageWriter writer(path);
    GDALDataset* dataset = writer.dataset();
    if (!dataset)
        return writer.failure();
    OGRSpatialReference srs = wgs84();
    OGRLayer* zoneLayer = dataset->CreateLayer(
        kZoneLayer, &srs, hasParts(zones) ? wkbMultiPolygon : wkbPoint, nullptr);
    OGRLayer* lineLayer = dataset->CreateLayer(kLineLayer, &srs, wkbLineString, nullptr);
    if (!zoneLayer || !lineLayer)
        return writer.failure();
    addField(zoneLayer, "area", OFTInteger);
    addField(zoneLayer, "nome", OFTString);
    addField(zoneLayer, "codice", OFTString);
    addField(zoneLayer, "origine", OFTString);
    addField(zoneLayer, "destinazione", OFTString);
    addField(zoneLayer, "origini_stimate", OFTReal);
    addField(zoneLayer, "destinazioni_stimate", OFTReal);
    for (int i = 1; i <= n; ++i) {
        const auto row = static_cast<size_t>(i);
        const Zone& zone = zones.zones[row - 1];
        OGRFeature feature(zoneLayer->GetLayerDefn());
        feature.SetField("area", i);
        feature.SetField("nome", state.areas.name[row].toUtf8().constData());
        feature.SetField("codice", zone.code.toUtf8().constData());
        feature.SetField("origine", state.areas.origin[row].toUtf8().constData());
        feature.SetField("destinazione", state.areas.destination[row].toUtf8().constData());
        feature.SetField("origini_stimate", state.interactions.estimatedOrigins[row]);
        feature.SetField("destinazioni_stimate", state.interactions.estimatedDestinations[row]);
        if (!zone.parts.empty())
            feature.SetGeometryDirectly(multiPolygonOf(zone).release());
        else
            feature.SetGeometryDirectly(new OGRPoint(zone.point.lon, zone.point.lat));
        if (zoneLayer->CreateFeature(&feature) != OGRERR_NONE)
            return writer.failure();
    }
    addField(lineLayer, "origine", OFTString);
    addField(lineLayer, "destinazione", OFTString);
    addField(lineLayer, "distanza", OFTString);
    addField(lineLayer, "interazione", OFTReal);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            if (i == j)
                continue;
            const auto k = static_cast<size_t>(pairIndex(i, j, n));
            const GeoPoint& a = zones.zones[static_cast<size_t>(i - 1)].point;
            const GeoPoint& b = zones.zones[static_cast<size_t>(j - 1)].point;
            OGRFeature feature(lineLayer->GetLayerDefn());
            feature.SetField("origine",
                             state.areas.name[static_cast<size_t>(i)].toUtf8().constData());
            feature.SetField("destinazione",
                             state.areas.name[static_cast<size_t>(j)].toUtf8().constData());
            feature.SetField("distanza", state.distances.distance[k].toUtf8().constData());
            feature.SetField("interazione", static_cast<double>(state.interactions.interaction[k]));
            auto line = std::make_unique<OGRLineString>();
            line->addPoint(a.lon, a.lat);
            line->addPoint(b.lon, b.lat);
            feature.SetGeometryDirectly(line.release());
            if (lineLayer->CreateFeature(&feature) != OGRERR_NONE)
                return writer.failure();
        }
    }
    return writer.finish();
}

} // namespace urbaflux
