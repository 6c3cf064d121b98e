#include "geotestlayers.h"

#include <geodesy.h>
#include <zonelayer.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace urbaflux;
using namespace urbaflux::test;

namespace {

const QString kForli = QStringLiteral("Forlì");
const QString kSantAgata = QStringLiteral("Sant'Agata de' Goti");

const std::vector<TestField> kFields = {{QStringLiteral("NOME"), QMetaType::QString},
                                        {QStringLiteral("POP"), QMetaType::Int},
                                        {QStringLiteral("ADDETTI"), QMetaType::Double},
                                        {QStringLiteral("COD_PROV"), QMetaType::Int},
                                        {QStringLiteral("CODICE"), QMetaType::QString}};

// The U-shaped zone: its centroid falls in the notch, outside the zone.
const QString kConcave = QStringLiteral(
    "POLYGON ((690000 4898000, 692000 4898000, 692000 4900000, 691600 4900000, 691600 4898400, "
    "690400 4898400, 690400 4900000, 690000 4900000, 690000 4898000))");

std::vector<TestFeature> utmFeatures()
{
    return {
        {{kForli, 118000, 52000.5, 1, QStringLiteral("040012")}, squareWkt(700000, 4900000, 2000)},
        {{kSantAgata, 11000, 3100.0, 2, QStringLiteral("062070")},
         QStringLiteral("MULTIPOLYGON (((705500 4899500, 706500 4899500, 706500 4900500, "
                        "705500 4900500, 705500 4899500)), ((708500 4899500, 709500 4899500, "
                        "709500 4900500, 708500 4900500, 708500 4899500)))")},
        {{QStringLiteral("Concava"), 5000, 800.0, 1, QStringLiteral("040099")}, kConcave},
        {{QStringLiteral("Bologna"), 390000, 210000.0, 3, QStringLiteral("037006")},
         squareWkt(680000, 4910000, 3000)},
    };
}

bool insideRing(const GeoRing& ring, const GeoPoint& p)
{
    bool inside = false;
    for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        if ((ring[i].lat > p.lat) != (ring[j].lat > p.lat) &&
            p.lon <
                (ring[j].lon - ring[i].lon) * (p.lat - ring[i].lat) / (ring[j].lat - ring[i].lat) +
                    ring[i].lon)
            inside = !inside;
    }
    return inside;
}

ZoneQuery queryFor(const QString& path)
{
    ZoneQuery query;
    query.source.path = path;
    query.nameField = QStringLiteral("NOME");
    query.originField = QStringLiteral("POP");
    query.destinationField = QStringLiteral("ADDETTI");
    return query;
}

} // namespace

class TestZoneLayer : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_shapefile;

    QString path(const QString& name) const { return m_dir.filePath(name); }

    // A copy of the Latin-1 shapefile with the given .cpg (none when empty) and DBF language id.
    QString shapefileCopy(const QString& name, const QByteArray& cpg, char languageId)
    {
        const QString base = m_shapefile.chopped(4);
        const QString target = path(name);
        for (const char* extension : {".shp", ".shx", ".dbf", ".prj"})
            QFile::copy(base + QLatin1String(extension), target + QLatin1String(extension));
        if (!cpg.isEmpty()) {
            QFile file(target + QStringLiteral(".cpg"));
            file.open(QIODevice::WriteOnly);
            file.write(cpg);
        }
        QFile dbf(target + QStringLiteral(".dbf"));
        dbf.open(QIODevice::ReadWrite);
        dbf.seek(29);
        dbf.write(&languageId, 1);
        return target + QStringLiteral(".shp");
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_shapefile = path(QStringLiteral("comuni.shp"));
        writeLayer(QStringLiteral("ESRI Shapefile"), m_shapefile, QStringLiteral("comuni"), 32632,
                   kFields, utmFeatures(), {QStringLiteral("ENCODING=ISO-8859-1")});
        QFile dbf(path(QStringLiteral("comuni.dbf")));
        QVERIFY(dbf.open(QIODevice::ReadOnly));
        // The test is only worth something if the names are stored as Latin-1 bytes.
        QVERIFY(dbf.readAll().contains(QByteArray("Forl\xec")));
    }

    void encodings_data()
    {
        QTest::addColumn<QByteArray>("cpg");
        QTest::addColumn<char>("languageId");
        QTest::addColumn<QString>("override");
        QTest::newRow("cpg file") << QByteArray("ISO-8859-1") << char(0) << QString();
        QTest::newRow("language id") << QByteArray() << char(0x57) << QString();
        QTest::newRow("neither: not UTF-8") << QByteArray() << char(0) << QString();
        QTest::newRow("override") << QByteArray() << char(0) << QStringLiteral("ISO-8859-1");
        QTest::newRow("override of a wrong cpg")
            << QByteArray("UTF-8") << char(0) << QStringLiteral("Windows-1252");
    }
    void encodings()
    {
        QFETCH(QByteArray, cpg);
        QFETCH(char, languageId);
        QFETCH(QString, override);
        ZoneQuery query = queryFor(shapefileCopy(
            QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_').remove(u':'), cpg,
            languageId));
        query.source.encoding = override;
        const GeoResult<ZoneLayer> read = readZoneLayer(query);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.value->zones[0].name, kForli);
        QCOMPARE(read.value->zones[1].name, kSantAgata);
    }

    void utmShapefileValues()
    {
        ZoneQuery query = queryFor(m_shapefile);
        query.codeField = QStringLiteral("CODICE");
        const GeoResult<ZoneLayer> read = readZoneLayer(query);
        QVERIFY2(read.ok(), qPrintable(read.error));
        const ZoneLayer& layer = *read.value;
        QCOMPARE(layer.zones.size(), size_t(4));
        QVERIFY(layer.projectedCrs.contains(QStringLiteral("32N")));
        const ImportedZone& forli = layer.zones[0];
        QCOMPARE(forli.origin, QStringLiteral("118000"));
        QCOMPARE(forli.destination, QStringLiteral("52000.5"));
        QCOMPARE(forli.zone.code, QStringLiteral("040012"));
        // The centre of the square, transformed by PROJ directly.
        const auto [lon, lat] = utm32ToLonLat(700000, 4900000);
        QVERIFY(std::abs(forli.zone.point.lon - lon) < 1e-9);
        QVERIFY(std::abs(forli.zone.point.lat - lat) < 1e-9);
        // Lon/lat order whatever EPSG:4326 says: Italy is at 7-13 E, 36-47 N.
        QVERIFY(forli.zone.point.lon > 7 && forli.zone.point.lon < 14);
        QVERIFY(forli.zone.point.lat > 40 && forli.zone.point.lat < 47);
        // A UTM square of 2 km is, on the ground, 2 km / k on a side (k near 0.9996 to 1.0004
        // here): within half a per cent of 4 km².
        QVERIFY(std::abs(forli.zone.areaSquareMetres / 4.0e6 - 1.0) < 0.005);

        const ImportedZone& islands = layer.zones[1];
        QCOMPARE(islands.zone.parts.size(), size_t(2));
        QVERIFY(std::abs(islands.zone.areaSquareMetres / 2.0e6 - 1.0) < 0.005);
    }

    void concaveZonePoint_data()
    {
        QTest::addColumn<PointRule>("rule");
        QTest::addColumn<bool>("inside");
        QTest::newRow("point on surface") << PointRule::PointOnSurface << true;
        QTest::newRow("centroid") << PointRule::Centroid << false;
    }
    void concaveZonePoint()
    {
        QFETCH(PointRule, rule);
        QFETCH(bool, inside);
        ZoneQuery query = queryFor(m_shapefile);
        query.point = rule;
        const GeoResult<ZoneLayer> read = readZoneLayer(query);
        QVERIFY2(read.ok(), qPrintable(read.error));
        const Zone& concave = read.value->zones[2].zone;
        QCOMPARE(concave.parts.size(), size_t(1));
        QCOMPARE(insideRing(concave.parts[0].outer, concave.point), inside);
        if (rule == PointRule::Centroid) {
            // x 691000, y 4898200 + 1000 * 1280000 / 2080000, computed in metres.
            const auto [lon, lat] = utm32ToLonLat(691000, 4898200 + 1000.0 * 1280000 / 2080000);
            QVERIFY(std::abs(concave.point.lon - lon) < 1e-8);
            QVERIFY(std::abs(concave.point.lat - lat) < 1e-8);
        }
    }

    void geopackageLayerAndFilter()
    {
        const QString gpkg = path(QStringLiteral("regione.gpkg"));
        writeLayer(QStringLiteral("GPKG"), gpkg, QStringLiteral("fiumi"), 4326,
                   {{QStringLiteral("NOME"), QMetaType::QString}},
                   {{{QStringLiteral("Po")}, QStringLiteral("POINT (11 45)")}});
        writeLayer(
            QStringLiteral("GPKG"), gpkg, QStringLiteral("comuni"), 4326, kFields,
            {{{QStringLiteral("Alfa"), 100, 10.0, 1, QStringLiteral("A")},
              QStringLiteral("POLYGON ((11 44, 11.1 44, 11.1 44.1, 11 44.1, 11 44))")},
             {{QStringLiteral("Beta"), 200, 20.0, 2, QStringLiteral("B")},
              QStringLiteral("POLYGON ((11.2 44, 11.3 44, 11.3 44.1, 11.2 44.1, 11.2 44))")},
             {{QStringLiteral("Gamma"), 300, 30.0, 1, QStringLiteral("C")},
              QStringLiteral("POLYGON ((11.4 44, 11.5 44, 11.5 44.1, 11.4 44.1, 11.4 44))")}});
        ZoneSource source;
        source.path = gpkg;
        source.layer = QStringLiteral("comuni");
        const GeoResult<LayerSummary> summary =
            describeLayer(source, QStringLiteral("COD_PROV = 1"));
        QVERIFY2(summary.ok(), qPrintable(summary.error));
        QCOMPARE(summary.value->layers,
                 QStringList({QStringLiteral("fiumi"), QStringLiteral("comuni")}));
        QCOMPARE(summary.value->featureCount, qint64(2));
        QCOMPARE(summary.value->fields.size(), kFields.size());
        QVERIFY(summary.value->fields[1].numeric);
        QVERIFY(!summary.value->fields[0].numeric);

        // The GeoPackage driver checks a clause only when it runs it.
        const GeoResult<LayerSummary> unfinished = describeLayer(source, QStringLiteral("POP >"));
        QCOMPARE(unfinished.problem, ZoneProblem::BadFilter);
        QVERIFY(unfinished.error.startsWith(
            QStringLiteral("Il filtro \"POP >\" non vale per il file \"regione.gpkg\"")));

        ZoneQuery query = queryFor(gpkg);
        query.source.layer = QStringLiteral("comuni");
        query.filter = QStringLiteral("COD_PROV = 1");
        const GeoResult<ZoneLayer> read = readZoneLayer(query);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.value->zones.size(), size_t(2));
        QCOMPARE(read.value->zones[1].name, QStringLiteral("Gamma"));
        QVERIFY(read.value->projectedCrs.isEmpty());
        // A geographic square: the point on its surface is its middle, in lon/lat order.
        QVERIFY(std::abs(read.value->zones[0].zone.point.lon - 11.05) < 1e-9);
        QVERIFY(std::abs(read.value->zones[0].zone.point.lat - 44.05) < 1e-9);
        // A 0.1° cell at 44° N, by the sides' geodesic lengths: about 8.0 km by 11.1 km.
        const double width = vincentyDistance(11, 44.05, 11.1, 44.05);
        const double height = vincentyDistance(11.05, 44, 11.05, 44.1);
        QVERIFY(std::abs(read.value->zones[0].zone.areaSquareMetres / (width * height) - 1) <
                0.002);
    }

    void csvColumns_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("srs");
        QTest::addColumn<double>("lon");
        QTest::addColumn<double>("lat");
        QTest::newRow("Lon;Lat, semicolons")
            << QByteArray("Nome;Lon;Lat;Pop\nAlfa;11.25;44.5;10\nBeta;11.5;44.6;20\n") << QString()
            << 11.25 << 44.5;
        QTest::newRow("longitudine,latitudine, Latin-1")
            << QByteArray(
                   "nome,longitudine,latitudine,pop\nForl\xec,12.04,44.22,10\nB,12.1,44.3,5\n")
            << QString() << 12.04 << 44.22;
        const auto [lon, lat] = utm32ToLonLat(700000, 4900000);
        QTest::newRow("X,Y in UTM 32N")
            << QByteArray("NOME,X,Y,POP\nAlfa,700000,4900000,10\nBeta,701000,4900000,20\n")
            << QStringLiteral("EPSG:32632") << lon << lat;
    }
    void csvColumns()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, srs);
        QFETCH(double, lon);
        QFETCH(double, lat);
        const QString file = path(QStringLiteral("punti.csv"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(csv);
        out.close();
        const GeoResult<LayerSummary> summary = describeLayer({file, {}, {}, srs});
        QVERIFY2(summary.ok(), qPrintable(summary.error));
        ZoneQuery query;
        query.source = {file, {}, {}, srs};
        query.nameField = summary.value->fields[0].name;
        query.originField = summary.value->fields.back().name;
        const GeoResult<ZoneLayer> read = readZoneLayer(query);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.value->zones.size(), size_t(2));
        QVERIFY(read.value->zones[0].zone.parts.empty());
        QVERIFY(std::abs(read.value->zones[0].zone.point.lon - lon) < 1e-9);
        QVERIFY(std::abs(read.value->zones[0].zone.point.lat - lat) < 1e-9);
        if (csv.contains('\xec'))
            QCOMPARE(read.value->zones[0].name, kForli);
    }

    void zippedShapefile()
    {
        const QString zip = path(QStringLiteral("comuni.zip"));
        // Through GDAL's own writer of zips: a shapefile ending in .shp.zip is written zipped.
        const QString zipped = path(QStringLiteral("zona.shp.zip"));
        writeLayer(QStringLiteral("ESRI Shapefile"), zipped, QStringLiteral("zona"), 32632, kFields,
                   utmFeatures(), {QStringLiteral("ENCODING=ISO-8859-1")});
        QVERIFY(QFile::rename(zipped, zip));
        const GeoResult<ZoneLayer> read = readZoneLayer(queryFor(zip));
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.value->zones[1].name, kSantAgata);
    }

    void repairedGeometry()
    {
        const QString file = path(QStringLiteral("farfalla.geojson"));
        writeLayer(QStringLiteral("GeoJSON"), file, QStringLiteral("farfalla"), 4326,
                   {{QStringLiteral("NOME"), QMetaType::QString}},
                   {{{QStringLiteral("Farfalla")},
                     QStringLiteral("POLYGON ((11 44, 11.1 44.1, 11.1 44, 11 44.1, 11 44))")},
                    {{QStringLiteral("Quadrato")},
                     QStringLiteral("POLYGON ((12 44, 12.1 44, 12.1 44.1, 12 44.1, 12 44))")}});
        ZoneQuery query;
        query.source.path = file;
        query.nameField = QStringLiteral("NOME");
        const GeoResult<ZoneLayer> read = readZoneLayer(query);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.value->notices,
                 QStringList(QStringLiteral(
                     "La geometria non valida dell'elemento 0 (\"Farfalla\") è stata riparata.")));
        // The bow tie repaired is its two triangles, one zone.
        QCOMPARE(read.value->zones[0].zone.parts.size(), size_t(2));
    }

    void badInput_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("originField");
        QTest::addColumn<ZoneProblem>("problem");
        QTest::addColumn<QString>("message");
        const QByteArray header("NOME,lon,lat,POP\n");
        QTest::newRow("not a layer")
            << QStringLiteral("rotto.gpkg") << QByteArray("non un gpkg") << QString() << QString()
            << ZoneProblem::CannotOpen
            << QStringLiteral("Il file \"rotto.gpkg\" non è uno strato GIS "
                              "leggibile");
        QTest::newRow("missing file")
            << QStringLiteral("assente.shp") << QByteArray() << QString() << QString()
            << ZoneProblem::CannotOpen << QStringLiteral("Il file \"assente.shp\" non esiste.");
        QTest::newRow("no features") << QStringLiteral("vuoto.csv") << header << QString()
                                     << QString() << ZoneProblem::NoFeatures
                                     << QStringLiteral("Lo strato \"vuoto\" del file \"vuoto.csv\" "
                                                       "non ha elementi.");
        QTest::newRow("filter selects none")
            << QStringLiteral("f.csv") << QByteArray(header + "A,11,44,1\n")
            << QStringLiteral("POP > 5") << QString() << ZoneProblem::NoFeatures
            << QStringLiteral(
                   "Il filtro \"POP > 5\" non seleziona alcun elemento del file \"f.csv\".");
        QTest::newRow("bad filter")
            << QStringLiteral("g.csv") << QByteArray(header + "A,11,44,1\n")
            << QStringLiteral("POP >>> 5") << QString() << ZoneProblem::BadFilter
            << QStringLiteral("Il filtro \"POP >>> 5\" non vale per il file "
                              "\"g.csv\"");
        QTest::newRow("no geometry")
            << QStringLiteral("tabella.csv") << QByteArray("NOME,POP\nA,1\n") << QString()
            << QString() << ZoneProblem::NoGeometry
            << QStringLiteral("Lo strato \"tabella\" del file "
                              "\"tabella.csv\" non ha geometria.");
        QTest::newRow("empty geometry")
            << QStringLiteral("h.csv") << QByteArray(header + "A,11,44,1\nSenza,,,2\n") << QString()
            << QString() << ZoneProblem::BadGeometry
            << QStringLiteral("Nel file \"h.csv\" l'elemento 2 (\"Senza\") non ha geometria.");
        QTest::newRow("text origin")
            << QStringLiteral("i.csv") << QByteArray("NOME,lon,lat,POP\nA,11,44,molti\n")
            << QString() << QStringLiteral("POP") << ZoneProblem::BadNumber
            << QStringLiteral("Nel file \"i.csv\" l'elemento 1 (\"A\") ha nel campo \"POP\" il "
                              "valore \"molti\", che non è un numero.");
        QTest::newRow("negative origin")
            << QStringLiteral("j.csv") << QByteArray(header + "A,11,44,-3\n") << QString()
            << QStringLiteral("POP") << ZoneProblem::BadNumber
            << QStringLiteral("Nel file \"j.csv\" l'elemento 1 (\"A\") ha nel campo \"POP\" il "
                              "valore negativo -3.");
        QTest::newRow("empty origin")
            << QStringLiteral("k.csv") << QByteArray(header + "A,11,44,1\nB,11,45,\n") << QString()
            << QStringLiteral("POP") << ZoneProblem::BadNumber
            << QStringLiteral("Nel file \"k.csv\" l'elemento 2 (\"B\") ha il campo \"POP\" vuoto.");
        QTest::newRow("missing field")
            << QStringLiteral("l.csv") << QByteArray(header + "A,11,44,1\n") << QString()
            << QStringLiteral("ABITANTI") << ZoneProblem::NoField
            << QStringLiteral("Il file \"l.csv\" non ha il campo \"ABITANTI\".");
        QTest::newRow("duplicate names")
            << QStringLiteral("m.csv") << QByteArray(header + "A,11,44,1\nA,11,45,1\nB,12,44,1\n")
            << QString() << QString() << ZoneProblem::DuplicateNames
            << QStringLiteral("Nel file \"m.csv\" più zone hanno lo stesso nome: \"A\" (2 volte).");
        QTest::newRow("metres taken as degrees")
            << QStringLiteral("utm.csv") << QByteArray("NOME,X,Y\nA,700000,4900000\n") << QString()
            << QString() << ZoneProblem::MissingCrs
            << QStringLiteral("Nel file \"utm.csv\" l'elemento 1 (\"A\") ha coordinate che non "
                              "sono longitudine e latitudine: indicare il sistema di riferimento "
                              "(per esempio EPSG:32632).");
        QByteArray many = header;
        for (int i = 0; i < 181; ++i)
            many +=
                "Z" + QByteArray::number(i) + "," + QByteArray::number(10 + i * 0.01) + ",44,1\n";
        QTest::newRow("181 zones")
            << QStringLiteral("n.csv") << many << QString() << QString()
            << ZoneProblem::TooManyZones
            << QStringLiteral("Il file \"n.csv\" ha 181 zone: il modello ne contiene al massimo "
                              "180. Scegliere le zone con un filtro (per esempio COD_PROV = 1).");
    }
    void badInput()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, contents);
        QFETCH(QString, filter);
        QFETCH(QString, originField);
        QFETCH(ZoneProblem, problem);
        QFETCH(QString, message);
        const QString target = path(file);
        if (!contents.isEmpty()) {
            QFile out(target);
            QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(contents);
        }
        ZoneQuery query;
        query.source.path = target;
        query.nameField = QStringLiteral("NOME");
        query.originField = originField;
        query.filter = filter;
        const GeoResult<ZoneLayer> read = readZoneLayer(query);
        QVERIFY(!read.ok());
        QCOMPARE(read.problem, problem);
        QVERIFY2(read.error.startsWith(message), qPrintable(read.error));
    }

    void missingCrsIsAskedFor()
    {
        const QString shp = shapefileCopy(QStringLiteral("senza_prj"), QByteArray("ISO-8859-1"), 0);
        QFile::remove(path(QStringLiteral("senza_prj.prj")));
        ZoneQuery query = queryFor(shp);
        GeoResult<ZoneLayer> read = readZoneLayer(query);
        QCOMPARE(read.problem, ZoneProblem::MissingCrs);
        QCOMPARE(read.error, QStringLiteral("Il file \"senza_prj.shp\" non dichiara il sistema di "
                                            "riferimento delle coordinate: indicarlo (per esempio "
                                            "EPSG:32632)."));
        query.source.srs = QStringLiteral("EPSG:999999");
        QCOMPARE(readZoneLayer(query).problem, ZoneProblem::BadCrs);
        query.source.srs = QStringLiteral("EPSG:32632");
        read = readZoneLayer(query);
        QVERIFY2(read.ok(), qPrintable(read.error));
        const auto [lon, lat] = utm32ToLonLat(700000, 4900000);
        QVERIFY(std::abs(read.value->zones[0].zone.point.lon - lon) < 1e-9);
        QVERIFY(std::abs(read.value->zones[0].zone.point.lat - lat) < 1e-9);
    }

    void duplicateNamesKeptOnRequest()
    {
        const QString file = path(QStringLiteral("doppi.csv"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("NOME,lon,lat\nA,11,44\nA,11,45\n");
        out.close();
        ZoneQuery query;
        query.source.path = file;
        query.nameField = QStringLiteral("NOME");
        query.keepDuplicateNames = true;
        const GeoResult<ZoneLayer> read = readZoneLayer(query);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.value->zones.size(), size_t(2));
        QVERIFY(read.value->zones[0].origin.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestZoneLayer)
#include "tst_zonelayer.moc"
