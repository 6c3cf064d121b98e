#include <zonepackage.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <ogrsf_frmts.h>

using namespace urbaflux;

namespace {

std::unique_ptr<ProjectState> studyWithZones()
{
    auto state = std::make_unique<ProjectState>();
    state->areas.count = 3;
    for (int i = 1; i <= 3; ++i) {
        state->areas.name[size_t(i)] =
            i == 1 ? QStringLiteral("Forlì") : QStringLiteral("Zona %1").arg(i);
        state->areas.origin[size_t(i)] = QString::number(i * 100);
        Zone zone;
        zone.code = QStringLiteral("C%1").arg(i);
        const double x = 11 + 0.1 * i;
        GeoPolygon part;
        part.outer = {{x, 44}, {x + 0.05, 44}, {x + 0.05, 44.05}, {x, 44.05}, {x, 44}};
        if (i == 2)
            part.holes.push_back(
                {{x + 0.01, 44.01}, {x + 0.02, 44.01}, {x + 0.02, 44.02}, {x + 0.01, 44.01}});
        zone.parts.push_back(part);
        if (i == 3) // an island
            zone.parts.push_back({{{x, 44.2}, {x + 0.01, 44.2}, {x + 0.01, 44.21}, {x, 44.2}}, {}});
        zone.point = {x + 0.025, 44.025};
        zone.areaSquareMetres = 1.5e7 + i;
        state->zones.zones.push_back(zone);
    }
    state->zones.projectedCrs = QStringLiteral("PROJCRS[\"prova\"]");
    buildPairList(*state);
    for (int k = 1; k <= 9; ++k) {
        state->distances.distance[size_t(k)] = QString::number(k);
        state->interactions.interaction[size_t(k)] = float(k) * 1.5f;
    }
    return state;
}

} // namespace

class TestZonePackage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void roundTrip()
    {
        const auto state = studyWithZones();
        const QString path = companionPackagePath(m_dir.filePath(QStringLiteral("studio.txt")));
        QCOMPARE(path, m_dir.filePath(QStringLiteral("studio.txt.gpkg")));
        const SaveResult saved = writeZonePackage(path, *state);
        QVERIFY2(saved.ok, qPrintable(saved.error));
        const Parsed<ZoneSet> read = readZonePackage(path, 3);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(*read.value, state->zones);

        QCOMPARE(readZonePackage(path, 4).error,
                 QStringLiteral("Il file \"studio.txt.gpkg\" non corrisponde alle 4 aree "
                                "dell'archivio."));
        QVERIFY(readZonePackage(m_dir.filePath(QStringLiteral("nessuno.gpkg")), 3)
                    .value->zones.empty());
    }

    void archiveWithoutZonesRemovesAStaleCompanion()
    {
        const QString path = m_dir.filePath(QStringLiteral("vecchio.gpkg"));
        QVERIFY(writeZonePackage(path, *studyWithZones()).ok);
        QVERIFY(QFile::exists(path));
        const auto typed = std::make_unique<ProjectState>();
        QVERIFY(writeZonePackage(path, *typed).ok);
        QVERIFY(!QFile::exists(path));
        // An area added by hand after the import: the zones no longer match the areas.
        const auto grown = studyWithZones();
        QVERIFY(writeZonePackage(path, *grown).ok);
        grown->areas.count = 4;
        QVERIFY(writeZonePackage(path, *grown).ok);
        QVERIFY(!QFile::exists(path));
    }

    void archiveAndCompanionTogether()
    {
        QTemporaryDir dir;
        const QString archive = dir.filePath(QStringLiteral("Urbaflux-tot-prova"));
        const QString companion = companionPackagePath(archive);
        const auto state = studyWithZones();
        const auto writeText = [](const QByteArray& text) {
            return [text](const QString& path) {
                QFile file(path);
                const bool ok = file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
                return SaveResult{ok, ok ? QString() : QStringLiteral("non scritto")};
            };
        };
        QVERIFY(writeArchiveWithZones(archive, *state, writeText("primo")).ok);
        QVERIFY(readZonePackage(companion, 3).ok());
        const QStringList before = QDir(dir.path()).entryList(QDir::Files);

        // The archive fails: its companion stays the earlier one, and nothing is left behind.
        state->zones.zones[0].code = QStringLiteral("cambiato");
        const SaveResult failed = writeArchiveWithZones(archive, *state, [](const QString&) {
            return SaveResult{false, QStringLiteral("no")};
        });
        QCOMPARE(failed.error, QStringLiteral("no"));
        QCOMPARE(readZonePackage(companion, 3).value->zones[0].code, QStringLiteral("C1"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), before);

        QVERIFY(writeArchiveWithZones(archive, *state, writeText("secondo")).ok);
        QCOMPARE(readZonePackage(companion, 3).value->zones[0].code, QStringLiteral("cambiato"));
        // Saved again without zones: the stale companion goes.
        state->zones = ZoneSet();
        QVERIFY(writeArchiveWithZones(archive, *state, writeText("terzo")).ok);
        QVERIFY(!QFile::exists(companion));
    }

    void failedWriteKeepsThePreviousFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("studio.gpkg"));
        QVERIFY(writeZonePackage(path, *studyWithZones()).ok);
        QFile previous(path);
        QVERIFY(previous.open(QIODevice::ReadOnly));
        const QByteArray before = previous.readAll();
        previous.close();
        // A folder where the new file would be written first makes the write fail whoever runs
        // the test (permissions do not stop root).
        const QString blocker =
            path + QStringLiteral(".%1.tmp").arg(QCoreApplication::applicationPid());
        QVERIFY(QDir().mkpath(blocker + QStringLiteral("/dentro")));
        const SaveResult saved = exportForGis(path, *studyWithZones());
        QVERIFY(QDir(blocker).removeRecursively());
        QVERIFY(!saved.ok);
        QVERIFY2(
            saved.error.startsWith(QStringLiteral("Il file \"studio.gpkg\" non è stato scritto")),
            qPrintable(saved.error));
        QVERIFY(previous.open(QIODevice::ReadOnly));
        QCOMPARE(previous.readAll(), before);
    }

    void exportForQgis()
    {
        const auto state = studyWithZones();
        const QString path = m_dir.filePath(QStringLiteral("risultati.gpkg"));
        const SaveResult saved = exportForGis(path, *state);
        QVERIFY2(saved.ok, qPrintable(saved.error));
        GDALDatasetUniquePtr dataset(
            GDALDataset::Open(QFile::encodeName(path).constData(), GDAL_OF_VECTOR));
        QVERIFY(dataset);
        OGRLayer* zones = dataset->GetLayerByName("zone");
        OGRLayer* lines = dataset->GetLayerByName("linee_desiderio");
        QVERIFY(zones && lines);
        QCOMPARE(zones->GetFeatureCount(), GIntBig(3));
        QCOMPARE(lines->GetFeatureCount(), GIntBig(6));
        OGRFeatureUniquePtr first(zones->GetNextFeature());
        QCOMPARE(QString::fromUtf8(first->GetFieldAsString("nome")), QStringLiteral("Forlì"));
        QCOMPARE(QString::fromUtf8(first->GetFieldAsString("origine")), QStringLiteral("100"));
        // Pair 1-3 is pair 3: the second line, from zone 1's point to zone 3's.
        OGRFeatureUniquePtr skipped(lines->GetNextFeature());
        OGRFeatureUniquePtr line(lines->GetNextFeature());
        QCOMPARE(QString::fromUtf8(line->GetFieldAsString("destinazione")),
                 QStringLiteral("Zona 3"));
        QCOMPARE(QString::fromUtf8(line->GetFieldAsString("distanza")), QStringLiteral("3"));
        QCOMPARE(line->GetFieldAsDouble("interazione"), 4.5);
        const OGRLineString* geometry = line->GetGeometryRef()->toLineString();
        QCOMPARE(geometry->getX(1), state->zones.zones[2].point.lon);
        QCOMPARE(geometry->getY(1), state->zones.zones[2].point.lat);
    }
};

QTEST_GUILESS_MAIN(TestZonePackage)
#include "tst_zonepackage.moc"
