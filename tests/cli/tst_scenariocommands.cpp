#include "calcrun.h"

#include "scenariocommands.h"

#include <completearchive.h>
#include <projectstate.h>
#include <sampleelaboration.h>
#include <samplezones.h>
#include <scenariocomparison.h>
#include <titlepage.h>

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace urbaflux;

class TestScenarioCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void compareAsJson();
    void differenceMatrix();
    void otherAreasExitTwo();
    void mapOfAStateWithZones_data();
    void mapOfAStateWithZones();
    void mapWithoutZones();
    void usage_data();
    void usage();

private:
    QTemporaryDir m_dir;
    QString m_base;
    QString m_project;
    QString m_three;
};

namespace {

using Run = CalcRun;

QString archive(const QTemporaryDir& dir, const QString& name, int areas, const QString& origin1)
{
    ProjectState state;
    fillSampleElaboration(state, areas, 3); // origins constrained: rows sum to them
    if (!origin1.isEmpty()) {
        state.areas.origin[1] = origin1;
        computeAreaTotals(state);
        calculateInteractions(state);
    }
    const QString path = dir.filePath(name);
    writeCompleteFile(path, state, TitlePage{});
    return path;
}

} // namespace

void TestScenarioCommands::initTestCase()
{
    // Area 1 has no origins in the base: its pairs start from nothing.
    m_base = archive(m_dir, QStringLiteral("Urbaflux-tot-base"), 4, QStringLiteral("0"));
    m_project = archive(m_dir, QStringLiteral("Urbaflux-tot-piano"), 4, QStringLiteral("50"));
    m_three = archive(m_dir, QStringLiteral("Urbaflux-tot-tre"), 3, QString());
}

void TestScenarioCommands::compareAsJson()
{
    const Run run =
        runCalc({m_project, QStringLiteral("--confronta"), m_base, QStringLiteral("--json")});
    QCOMPARE(run.exitCode, 0);
    QJsonParseError error;
    const QJsonObject json = QJsonDocument::fromJson(run.out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonArray pairs = json[QStringLiteral("coppie")].toArray();
    const QJsonArray areas = json[QStringLiteral("aree")].toArray();
    QCOMPARE(pairs.size(), 16);
    QCOMPARE(areas.size(), 4);
    const QJsonObject first = pairs[1].toObject(); // 1 -> 2, from nothing
    QCOMPARE(first[QStringLiteral("origine")].toInt(), 1);
    QCOMPARE(first[QStringLiteral("destinazione")].toInt(), 2);
    QCOMPARE(first[QStringLiteral("base")].toDouble(), 0.0);
    QVERIFY(first[QStringLiteral("progetto")].toDouble() > 0);
    QCOMPARE(first[QStringLiteral("differenza")].toDouble(),
             first[QStringLiteral("progetto")].toDouble());
    QVERIFY(first[QStringLiteral("variazione_percentuale")].isNull());
    const QJsonObject later = pairs[5].toObject(); // 2 -> 2
    const double base = later[QStringLiteral("base")].toDouble();
    QCOMPARE(later[QStringLiteral("variazione_percentuale")].toDouble(),
             100.0 * later[QStringLiteral("differenza")].toDouble() / base);
    const QJsonObject area = areas[0].toObject();
    QCOMPARE(area[QStringLiteral("numero")].toInt(), 1);
    QCOMPARE(area[QStringLiteral("nome")].toString(), QStringLiteral("Quartiere 1"));
    QCOMPARE(area[QStringLiteral("origini_base")].toDouble(), 0.0);
    for (const char* key : {"origini_progetto", "destinazioni_base", "destinazioni_progetto"})
        QVERIFY(area.contains(QString::fromLatin1(key)));
}

void TestScenarioCommands::differenceMatrix()
{
    const QString csv = m_dir.filePath(QStringLiteral("diff.csv"));
    const Run run = runCalc(
        {m_project, QStringLiteral("--confronta"), m_base, QStringLiteral("--matrix"), csv});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.startsWith("Confronto del progetto "));
    QVERIFY(run.out.contains("Urbaflux-tot-piano con la base "));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), 6); // heading, four origins, the end of the last line
    QCOMPARE(lines[0].trimmed(), QByteArray(",1,2,3,4"));
    // Row 1 (area 1 from 0 to 50 origins) changes; the sum of a row is the origin's change.
    const QList<QByteArray> row = lines[1].trimmed().split(',');
    double sum = 0;
    for (qsizetype c = 1; c < row.size(); ++c)
        sum += row[c].toDouble();
    QVERIFY(qAbs(sum - 50) < 1e-9);
}

void TestScenarioCommands::otherAreasExitTwo()
{
    const Run run = runCalc({m_project, QStringLiteral("--confronta"), m_three});
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY(run.err.contains("numero di aree diverso: base 3, progetto 4"));
}

void TestScenarioCommands::mapOfAStateWithZones_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("png") << QStringLiteral("mappa.png");
    QTest::newRow("svg") << QStringLiteral("mappa.svg");
}

void TestScenarioCommands::mapOfAStateWithZones()
{
    QFETCH(QString, file);
    auto state = std::make_unique<ProjectState>();
    fillSampleElaboration(*state, 4, 3);
    QString error;
    QVERIFY(!loadCompanionZones(m_project, *state, &error));
    QVERIFY(error.contains(QStringLiteral("Urbaflux-tot-piano.gpkg")));
    fillGridZones(*state, 2, 2);
    QVERIFY(loadCompanionZones(m_project, *state, &error));
    const QString path = m_dir.filePath(file);
    QVERIFY2(writeFlowMapFile(*state, path, 5, &error), qPrintable(error));
    QVERIFY(QFile(path).size() > 1000);
    if (file.endsWith(QStringLiteral(".png")))
        QVERIFY(QImage(path).width() >= 1500);
}

void TestScenarioCommands::mapWithoutZones()
{
    const QString path = m_dir.filePath(QStringLiteral("nessuna.png"));
    const Run run = runCalc({m_project, QStringLiteral("--mappa"), path, QStringLiteral("--primi"),
                             QStringLiteral("30")});
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.err.contains("Urbaflux-tot-piano.gpkg"));
    QVERIFY(!QFile::exists(path));
}

void TestScenarioCommands::usage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("too few flows")
        << QStringList{QStringLiteral("a"), QStringLiteral("--mappa"), QStringLiteral("m.png"),
                       QStringLiteral("--primi"), QStringLiteral("4")}
        << QByteArray("--primi vuole un numero intero da 5 a 200: 4");
    QTest::newRow("map and comparison together")
        << QStringList{QStringLiteral("a"), QStringLiteral("--mappa"), QStringLiteral("m.png"),
                       QStringLiteral("--confronta"), QStringLiteral("b")}
        << QByteArray("--mappa e --confronta non si usano insieme");
    QTest::newRow("no base named")
        << QStringList{QStringLiteral("a"), QStringLiteral("--confronta")}
        << QByteArray("manca il valore dopo --confronta");
}

void TestScenarioCommands::usage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, message);
    const Run run = runCalc(arguments);
    QCOMPARE(run.exitCode, 64);
    QVERIFY2(run.err.contains(message), run.err.constData());
}

QTEST_MAIN(TestScenarioCommands)
#include "tst_scenariocommands.moc"
