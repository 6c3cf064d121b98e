#include "zonelayer.h"

#include "gdalsupport.h"
#include "geodesy.h"

#include <archivefile.h>
#include <numbertext.h>
#include <projectstate.h>

#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>

#include <cmath>
#include <memory>
#include <ogr_api.h>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

namespace urbaflux {

namespace {

using Result = GeoResult<ZoneLayer>;

bool isCsv(const QString& path)
{
    return path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
}

bool isShapefile(const QString& path)
{
    return path.endsWith(QStringLiteral(".shp"), Qt::CaseInsensitive) ||
           path.endsWith(QStringLiteral(".zip"), Qt::CaseInsensitive) ||
           path.endsWith(QStringLiteral(".dbf"), Qt::CaseInsensitive);
}

// The name iconv knows an override by, for the shapefile driver's own recoding.
QByteArray iconvName(const QString& encoding)
{
    if (encoding == u"Windows-1252")
        return QByteArrayLiteral("CP1252");
    return encoding.toLatin1();
}

struct OpenedLayer
{
    GDALDatasetUniquePtr dataset;
    OGRLayer* layer = nullptr;
    QStringList layers;
    bool stringsAreUtf8 = true;
    QString encoding; // the override when GDAL could not apply it itself
};

// Opens the file and picks the layer; the message when it cannot.
std::optional<QString> openLayer(const ZoneSource& source, OpenedLayer& opened,
                                 ZoneProblem& problem)
{
    ensureGdalRegistered();
    const QString file = quotedFileName(source.path);
    if (!QFileInfo::exists(source.path)) {
        problem = ZoneProblem::CannotOpen;
        return QStringLiteral("Il file %1 non esiste.").arg(file);
    }
    QList<QByteArray> options;
    if (isCsv(source.path)) {
        options << QByteArrayLiteral("X_POSSIBLE_NAMES=lon,longitudine,longitude,x")
                << QByteArrayLiteral("Y_POSSIBLE_NAMES=lat,latitudine,latitude,y")
                << QByteArrayLiteral("KEEP_GEOM_COLUMNS=NO")
                // Numbers as numbers, so that a filter such as COD_PROV = 1 compares them.
                << QByteArrayLiteral("AUTODETECT_TYPE=YES");
    }
    bool recodedByGdal = false;
    if (!source.encoding.isEmpty() && isShapefile(source.path)) {
        options << QByteArrayLiteral("ENCODING=") + iconvName(source.encoding);
        recodedByGdal = true;
    }
    std::vector<const char*> optionPointers;
    for (const QByteArray& option : options)
        optionPointers.push_back(option.constData());
    optionPointers.push_back(nullptr);

    GdalErrorCapture capture;
    const QByteArray path = gdalPath(source.path);
    opened.dataset.reset(GDALDataset::Open(path.constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY,
                                           nullptr, optionPointers.data(), nullptr));
    if (!opened.dataset) {
        problem = ZoneProblem::CannotOpen;
        const QString reason = capture.lastMessage();
        return QStringLiteral("Il file %1 non è uno strato GIS leggibile%2.")
            .arg(file, reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason));
    }
    for (OGRLayer* layer : opened.dataset->GetLayers())
        opened.layers << QString::fromUtf8(layer->GetName());
    if (opened.layers.isEmpty()) {
        problem = ZoneProblem::NoLayer;
        return QStringLiteral("Il file %1 non contiene strati vettoriali.").arg(file);
    }
    opened.layer = source.layer.isEmpty()
                       ? opened.dataset->GetLayer(0)
                       : opened.dataset->GetLayerByName(source.layer.toUtf8().constData());
    if (!opened.layer) {
        problem = ZoneProblem::NoLayer;
        return QStringLiteral("Il file %1 non ha lo strato \"%2\" (strati: %3).")
            .arg(file, source.layer, opened.layers.join(QStringLiteral(", ")));
    }
    opened.stringsAreUtf8 = recodedByGdal || opened.layer->TestCapability(OLCStringsAsUTF8);
    if (!recodedByGdal)
        opened.encoding = source.encoding;
    return std::nullopt;
}

// A text of the layer: UTF-8 when GDAL says so, else the override, else UTF-8 when the bytes
// are valid UTF-8 and Windows-1252 (which covers ISO-8859-1's letters) otherwise.
QString layerText(const char* bytes, const OpenedLayer& opened)
{
    const QByteArray raw(bytes);
    if (opened.encoding == u"ISO-8859-1")
        return QString::fromLatin1(raw);
    if (opened.encoding == u"Windows-1252")
        return decodeArchiveBytes(raw);
    if (opened.stringsAreUtf8 || opened.encoding == u"UTF-8")
        return QString::fromUtf8(raw);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(raw);
    return utf8.hasError() ? decodeArchiveBytes(raw) : text;
}

bool isNumericField(OGRFieldType type)
{
    return type == OFTInteger || type == OFTInteger64 || type == OFTReal;
}

// Sets the filter and counts what it selects. Some drivers (GeoPackage) check the clause only
// when they run it, so a filter that fails while counting is as bad as one refused at once.
std::optional<QString> applyFilter(OGRLayer* layer, const QString& filter, const QString& file,
                                   ZoneProblem& problem, qint64& count)
{
    GdalErrorCapture capture;
    const QByteArray where = filter.trimmed().toUtf8();
    bool failed =
        layer->SetAttributeFilter(where.isEmpty() ? nullptr : where.constData()) != OGRERR_NONE;
    if (!failed) {
        count = layer->GetFeatureCount(TRUE);
        failed = count < 0 || CPLGetLastErrorType() == CE_Failure;
    }
    if (failed) {
        problem = ZoneProblem::BadFilter;
        const QString reason = capture.lastMessage();
        return QStringLiteral("Il filtro \"%1\" non vale per il file %2%3.")
            .arg(filter.trimmed(), file,
                 reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason));
    }
    return std::nullopt;
}

// The layer's CRS with the traditional axis order, or the one the user named, or WGS84 for a
// CSV of coordinates; null with the message when there is none.
std::unique_ptr<OGRSpatialReference> layerCrs(OGRLayer* layer, const ZoneSource& source,
                                              const QString& file, ZoneProblem& problem,
                                              QString& message)
{
    auto crs = std::make_unique<OGRSpatialReference>();
    if (const OGRSpatialReference* own = layer->GetSpatialRef()) {
        *crs = *own;
    } else if (!source.srs.trimmed().isEmpty()) {
        GdalErrorCapture capture;
        if (crs->SetFromUserInput(source.srs.trimmed().toUtf8().constData()) != OGRERR_NONE) {
            problem = ZoneProblem::BadCrs;
            message = QStringLiteral("Il sistema di riferimento \"%1\" non è riconosciuto.")
                          .arg(source.srs.trimmed());
            return nullptr;
        }
    } else if (isCsv(source.path)) {
        crs->importFromEPSG(4326);
    } else {
        problem = ZoneProblem::MissingCrs;
        message = QStringLiteral("Il file %1 non dichiara il sistema di riferimento delle "
                                 "coordinate: indicarlo (per esempio EPSG:32632).")
                      .arg(file);
        return nullptr;
    }
    crs->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return crs;
}

GeoRing ringOf(const OGRLinearRing* ring)
{
    GeoRing out;
    const int n = ring->getNumPoints();
    out.reserve(static_cast<size_t>(n) + 1);
    for (int i = 0; i < n; ++i)
        out.push_back({ring->getX(i), ring->getY(i)});
    if (!out.empty() && !(out.front() == out.back()))
        out.push_back(out.front());
    return out;
}

void addPolygon(const OGRPolygon* polygon, std::vector<GeoPolygon>& parts)
{
    if (polygon->IsEmpty())
        return;
    GeoPolygon part;
    part.outer = ringOf(polygon->getExteriorRing());
    for (int h = 0; h < polygon->getNumInteriorRings(); ++h)
        part.holes.push_back(ringOf(polygon->getInteriorRing(h)));
    parts.push_back(std::move(part));
}

// The polygons of a geometry (a repair may give a collection with lines in it: they have no
// area and are dropped).
void collectPolygons(const OGRGeometry* geometry, std::vector<GeoPolygon>& parts)
{
    const OGRwkbGeometryType type = wkbFlatten(geometry->getGeometryType());
    if (type == wkbPolygon) {
        addPolygon(geometry->toPolygon(), parts);
    } else if (type == wkbMultiPolygon || type == wkbGeometryCollection) {
        for (const OGRGeometry* member : *geometry->toGeometryCollection())
            collectPolygons(member, parts);
    } else if (OGR_GT_IsCurve(type) || OGR_GT_IsSurface(type) || type == wkbMultiSurface) {
        std::unique_ptr<OGRGeometry> linear(geometry->getLinearGeometry());
        if (linear && wkbFlatten(linear->getGeometryType()) != type)
            collectPolygons(linear.get(), parts);
    }
}

bool isPolygonal(OGRwkbGeometryType type)
{
    type = wkbFlatten(type);
    return type == wkbPolygon || type == wkbMultiPolygon || type == wkbCurvePolygon ||
           type == wkbMultiSurface;
}

bool isPunctual(OGRwkbGeometryType type)
{
    type = wkbFlatten(type);
    return type == wkbPoint || type == wkbMultiPoint;
}

// How a message names a feature: its number in the layer and its name when it has one.
QString featureLabel(const OGRFeature& feature, const QString& name)
{
    const QString number = QString::number(feature.GetFID());
    return name.isEmpty() ? QStringLiteral("l'elemento %1").arg(number)
                          : QStringLiteral("l'elemento %1 (\"%2\")").arg(number, name);
}

int fieldIndex(OGRLayer* layer, const QString& field)
{
    return layer->GetLayerDefn()->GetFieldIndex(field.toUtf8().constData());
}

// An origin or destination: a number not below zero, written as the program writes numbers.
std::optional<QString> numberField(const OGRFeature& feature, int index, const QString& field,
                                   const QString& file, const QString& label,
                                   const OpenedLayer& opened, QString& message)
{
    if (!feature.IsFieldSetAndNotNull(index) ||
        (!isNumericField(feature.GetFieldDefnRef(index)->GetType()) &&
         QByteArray(feature.GetFieldAsString(index)).trimmed().isEmpty())) {
        message =
            QStringLiteral("Nel file %1 %2 ha il campo \"%3\" vuoto.").arg(file, label, field);
        return std::nullopt;
    }
    const OGRFieldDefn* definition = feature.GetFieldDefnRef(index);
    std::optional<double> value;
    QString shown;
    if (isNumericField(definition->GetType())) {
        value = feature.GetFieldAsDouble(index);
        shown = shortestText(*value);
    } else {
        shown = layerText(feature.GetFieldAsString(index), opened).trimmed();
        value = parseStrictNumber(shown);
    }
    if (!value) {
        message = QStringLiteral("Nel file %1 %2 ha nel campo \"%3\" il valore \"%4\", che non è "
                                 "un numero.")
                      .arg(file, label, field, shown);
        return std::nullopt;
    }
    if (*value < 0) {
        message = QStringLiteral("Nel file %1 %2 ha nel campo \"%3\" il valore negativo %4.")
                      .arg(file, label, field, shown);
        return std::nullopt;
    }
    return shortestText(*value);
}

QString duplicateList(const std::vector<ImportedZone>& zones)
{
    QHash<QString, int> counts;
    QStringList order;
    for (const ImportedZone& zone : zones) {
        if (counts[zone.name]++ == 1)
            order << zone.name;
    }
    QStringList parts;
    for (const QString& name : order)
        parts << QStringLiteral("\"%1\" (%2 volte)").arg(name).arg(counts[name]);
    return parts.join(QStringLiteral(", "));
}

} // namespace

QStringList zoneEncodings()
{
    return {QString(), QStringLiteral("UTF-8"), QStringLiteral("ISO-8859-1"),
            QStringLiteral("Windows-1252")};
}

GeoResult<LayerSummary> describeLayer(const ZoneSource& source, const QString& filter)
{
    using Summary = GeoResult<LayerSummary>;
    OpenedLayer opened;
    ZoneProblem problem = ZoneProblem::None;
    if (const auto message = openLayer(source, opened, problem))
        return Summary::failure(problem, *message);
    LayerSummary summary;
    summary.layers = opened.layers;
    summary.layer = QString::fromUtf8(opened.layer->GetName());
    OGRFeatureDefn* definition = opened.layer->GetLayerDefn();
    for (int i = 0; i < definition->GetFieldCount(); ++i) {
        const OGRFieldDefn* field = definition->GetFieldDefn(i);
        summary.fields.push_back(
            {QString::fromUtf8(field->GetNameRef()), isNumericField(field->GetType())});
    }
    if (const auto message = applyFilter(opened.layer, filter, quotedFileName(source.path), problem,
                                         summary.featureCount))
        return Summary::failure(problem, *message);
    summary.hasCrs = opened.layer->GetSpatialRef() != nullptr;
    summary.points = isPunctual(opened.layer->GetGeomType());
    return Summary::success(std::move(summary));
}

GeoResult<ZoneLayer> readZoneLayer(const ZoneQuery& query)
{
    OpenedLayer opened;
    ZoneProblem problem = ZoneProblem::None;
    if (const auto message = openLayer(query.source, opened, problem))
        return Result::failure(problem, *message);
    OGRLayer* layer = opened.layer;
    const QString file = quotedFileName(query.source.path);
    const QString layerName = QString::fromUtf8(layer->GetName());

    if (layer->GetGeomType() == wkbNone) {
        return Result::failure(
            ZoneProblem::NoGeometry,
            QStringLiteral("Lo strato \"%1\" del file %2 non ha geometria.").arg(layerName, file));
    }
    const auto indexOf = [&](const QString& field, bool required) -> std::optional<int> {
        if (field.isEmpty())
            return required ? std::optional<int>() : std::optional<int>(-1);
        const int index = fieldIndex(layer, field);
        if (index < 0)
            return std::nullopt;
        return index;
    };
    const std::pair<const QString*, bool> wanted[] = {{&query.nameField, true},
                                                      {&query.originField, false},
                                                      {&query.destinationField, false},
                                                      {&query.codeField, false}};
    int indices[4] = {};
    for (int w = 0; w < 4; ++w) {
        const auto index = indexOf(*wanted[w].first, wanted[w].second);
        if (!index) {
            return Result::failure(
                ZoneProblem::NoField,
                wanted[w].first->isEmpty()
                    ? QStringLiteral("Scegliere il campo dei nomi delle zone del file %1.")
                          .arg(file)
                    : QStringLiteral("Il file %1 non ha il campo \"%2\".")
                          .arg(file, *wanted[w].first));
        }
        indices[w] = *index;
    }
    qint64 count = 0;
    if (const auto message = applyFilter(layer, query.filter, file, problem, count))
        return Result::failure(problem, *message);

    QString crsMessage;
    const std::unique_ptr<OGRSpatialReference> crs =
        layerCrs(layer, query.source, file, problem, crsMessage);
    if (!crs)
        return Result::failure(problem, crsMessage);
    OGRSpatialReference wgs84;
    wgs84.importFromEPSG(4326);
    wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    std::unique_ptr<OGRCoordinateTransformation> toWgs84;
    {
        GdalErrorCapture capture;
        toWgs84.reset(OGRCreateCoordinateTransformation(crs.get(), &wgs84));
        if (!toWgs84) {
            return Result::failure(
                ZoneProblem::BadCrs,
                QStringLiteral("Le coordinate del file %1 non si possono convertire in WGS84 (%2).")
                    .arg(file, capture.lastMessage()));
        }
    }

    ZoneLayer out;
    if (crs->IsProjected()) {
        char* wkt = nullptr;
        crs->exportToWkt(&wkt);
        out.projectedCrs = QString::fromUtf8(wkt);
        CPLFree(wkt);
    }
    if (count == 0) {
        return Result::failure(
            ZoneProblem::NoFeatures,
            query.filter.trimmed().isEmpty()
                ? QStringLiteral("Lo strato \"%1\" del file %2 non ha elementi.")
                      .arg(layerName, file)
                : QStringLiteral("Il filtro \"%1\" non seleziona alcun elemento del file %2.")
                      .arg(query.filter.trimmed(), file));
    }
    if (count > kMaxAreas) {
        return Result::failure(
            ZoneProblem::TooManyZones,
            QStringLiteral("Il file %1 ha %2 zone: il modello ne contiene al massimo %3. "
                           "Scegliere le zone con un filtro (per esempio COD_PROV = 1).")
                .arg(file)
                .arg(count)
                .arg(kMaxAreas));
    }

    GdalErrorCapture capture;
    layer->ResetReading();
    for (const OGRFeatureUniquePtr& feature : *layer) {
        ImportedZone zone;
        zone.name = layerText(feature->GetFieldAsString(indices[0]), opened).trimmed();
        const QString label = featureLabel(*feature, zone.name);
        if (zone.name.isEmpty()) {
            return Result::failure(ZoneProblem::EmptyName,
                                   QStringLiteral("Nel file %1 %2 ha il campo \"%3\" vuoto.")
                                       .arg(file, label, query.nameField));
        }
        QString message;
        for (int w = 1; w <= 2; ++w) {
            if (indices[w] < 0)
                continue;
            const auto value =
                numberField(*feature, indices[w], *wanted[w].first, file, label, opened, message);
            if (!value)
                return Result::failure(ZoneProblem::BadNumber, message);
            (w == 1 ? zone.origin : zone.destination) = *value;
        }
        zone.zone.code = indices[3] >= 0
                             ? layerText(feature->GetFieldAsString(indices[3]), opened).trimmed()
                             : QString::number(feature->GetFID());

        const OGRGeometry* own = feature->GetGeometryRef();
        if (!own || own->IsEmpty()) {
            return Result::failure(
                ZoneProblem::BadGeometry,
                QStringLiteral("Nel file %1 %2 non ha geometria.").arg(file, label));
        }
        const OGRwkbGeometryType type = own->getGeometryType();
        std::unique_ptr<OGRGeometry> geometry(own->clone());
        if (isPolygonal(type)) {
            if (!geometry->IsValid()) {
                std::unique_ptr<OGRGeometry> repaired(geometry->MakeValid());
                std::vector<GeoPolygon> test;
                if (repaired)
                    collectPolygons(repaired.get(), test);
                if (!repaired || test.empty() || !repaired->IsValid()) {
                    return Result::failure(
                        ZoneProblem::BadGeometry,
                        QStringLiteral("Nel file %1 %2 ha una geometria non valida che non si "
                                       "può riparare.")
                            .arg(file, label));
                }
                out.notices << QStringLiteral("La geometria non valida dell'%1 è stata riparata.")
                                   .arg(label.mid(2));
                geometry = std::move(repaired);
            }
        } else if (!isPunctual(type)) {
            return Result::failure(
                ZoneProblem::BadGeometry,
                QStringLiteral("Nel file %1 %2 non è un poligono né un punto.").arg(file, label));
        }

        // The point in the layer's own CRS: a point on the surface of a zone drawn in metres is
        // inside it, which a centroid of a concave zone need not be.
        std::unique_ptr<OGRGeometry> point;
        if (wkbFlatten(type) == wkbPoint) {
            point.reset(geometry->clone());
        } else if (query.point == PointRule::PointOnSurface && isPolygonal(type)) {
            point.reset(OGRGeometry::FromHandle(
                OGR_G_PointOnSurface(OGRGeometry::ToHandle(geometry.get()))));
        } else {
            auto centroid = std::make_unique<OGRPoint>();
            if (geometry->Centroid(centroid.get()) == OGRERR_NONE)
                point = std::move(centroid);
        }
        if (!point || point->IsEmpty() || wkbFlatten(point->getGeometryType()) != wkbPoint) {
            return Result::failure(
                ZoneProblem::BadGeometry,
                QStringLiteral("Nel file %1 %2: impossibile calcolarne il punto rappresentativo.")
                    .arg(file, label));
        }
        if (point->transform(toWgs84.get()) != OGRERR_NONE ||
            geometry->transform(toWgs84.get()) != OGRERR_NONE) {
            return Result::failure(
                ZoneProblem::BadGeometry,
                QStringLiteral("Nel file %1 %2 ha coordinate che non si convertono in WGS84.")
                    .arg(file, label));
        }
        zone.zone.point = {point->toPoint()->getX(), point->toPoint()->getY()};
        // Metres read as degrees (a CSV of X/Y taken as WGS84, a wrong system named) give
        // points off the globe, whose distances would be nonsense.
        if (!(std::abs(zone.zone.point.lon) <= 180.0 && std::abs(zone.zone.point.lat) <= 90.0)) {
            const bool guessed = layer->GetSpatialRef() == nullptr;
            return Result::failure(
                guessed ? ZoneProblem::MissingCrs : ZoneProblem::BadCrs,
                QStringLiteral("Nel file %1 %2 ha coordinate che non sono longitudine e "
                               "latitudine: indicare il sistema di riferimento (per esempio "
                               "EPSG:32632).")
                    .arg(file, label));
        }
        collectPolygons(geometry.get(), zone.zone.parts);
        zone.zone.areaSquareMetres = geodesicArea(zone.zone.parts);
        out.zones.push_back(std::move(zone));
    }
    if (out.zones.empty()) {
        return Result::failure(
            ZoneProblem::NoFeatures,
            QStringLiteral("Lo strato \"%1\" del file %2 non ha elementi.").arg(layerName, file));
    }
    if (!query.keepDuplicateNames) {
        const QString duplicates = duplicateList(out.zones);
        if (!duplicates.isEmpty()) {
            return Result::failure(ZoneProblem::DuplicateNames,
                                   QStringLiteral("Nel file %1 più zone hanno lo stesso nome: %2.")
                                       .arg(file, duplicates));
        }
    }
    return Result::success(std::move(out));
}

} // namespace urbaflux
