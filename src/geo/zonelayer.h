#pragma once

// Reading the zones of a study from a GIS layer: GeoPackage (a layer chosen by name),
// Shapefile (also zipped), GeoJSON, and CSV with longitude/latitude or X/Y columns. What comes
// out is plain values: the layer's fields, and per feature the name, origin and destination
// texts and the geometry as a Zone in WGS84 longitude and latitude, its representative point
// computed in the layer's own CRS and then transformed, its geodesic area. A read either gives
// every zone or one Italian message naming the file, the feature and the field.

#include <zones.h>

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace urbaflux {

// Why a read failed. Some problems are questions for the user (the CRS to use, whether to keep
// duplicate names): the caller asks and reads again with the answer.
enum class ZoneProblem
{
    None,
    CannotOpen,
    NoLayer,
    NoField,
    BadFilter,
    NoFeatures,
    NoGeometry,
    BadGeometry,
    MissingCrs,
    BadCrs,
    BadNumber,
    EmptyName,
    DuplicateNames,
    TooManyZones,
    CoincidentPoints,
    BadOption,
};

template <typename T> struct GeoResult
{
    std::optional<T> value;
    ZoneProblem problem = ZoneProblem::None;
    QString error; // Italian; empty when value holds

    bool ok() const { return value.has_value(); }
    static GeoResult success(T v)
    {
        GeoResult r;
        r.value = std::move(v);
        return r;
    }
    static GeoResult failure(ZoneProblem problem, QString message)
    {
        GeoResult r;
        r.problem = problem;
        r.error = std::move(message);
        return r;
    }
};

enum class PointRule
{
    PointOnSurface, // always inside the zone, even a concave one: the default
    Centroid,
};

// The file and how to read it.
struct ZoneSource
{
    QString path;
    QString layer;    // empty: the first layer
    QString encoding; // empty: automatic; else "UTF-8", "ISO-8859-1" or "Windows-1252"
    // The CRS ("EPSG:32632" or any definition PROJ reads) of a layer that declares none; a CSV
    // without it is taken as WGS84 longitude and latitude.
    QString srs;
};

struct LayerField
{
    QString name;
    bool numeric = false;
};

struct LayerSummary
{
    QStringList layers; // every vector layer of the file, in its order
    QString layer;      // the one described
    std::vector<LayerField> fields;
    qint64 featureCount = 0; // the features the filter selects (all without a filter)
    bool hasCrs = false;     // the layer declares its CRS
    bool points = false;     // points (or a CSV of coordinates) rather than polygons
};

// The file's layers and fields, and how many features the filter (OGR SQL, may be empty)
// selects, for the import dialog.
GeoResult<LayerSummary> describeLayer(const ZoneSource& source, const QString& filter = QString());

// The encodings the dialog offers as an override, the automatic choice first (empty).
QStringList zoneEncodings();

struct ZoneQuery
{
    ZoneSource source;
    QString nameField;
    QString originField;      // empty: origins left empty
    QString destinationField; // empty: destinations left empty
    QString codeField;        // empty: the feature's identifier is the zone's code
    QString filter;           // OGR SQL WHERE clause, empty for every feature
    PointRule point = PointRule::PointOnSurface;
    bool keepDuplicateNames = false;
};

struct ImportedZone
{
    QString name;
    QString origin; // the number as a text ("12500"); empty without an origin field
    QString destination;
    Zone zone;
};

struct ZoneLayer
{
    std::vector<ImportedZone> zones; // in the layer's order
    QString projectedCrs;            // WKT of the layer's CRS when projected
    QStringList notices;             // repairs and other things the user should be told
};

GeoResult<ZoneLayer> readZoneLayer(const ZoneQuery& query);

} // namespace urbaflux
