#include <completearchive.h>
#include <numbertext.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace urbaflux;

namespace {

struct Run
{
    int exitCode = -1;
    QString err;
};

Run runCalc(const QStringList& arguments)
{
    QProcess process;
    process.start(QString::fromUtf8(URBAFLUX_CALC_PATH), arguments);
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

// Three towns as a CSV of points (written here; GDAL reads it as a layer) and a polygon layer
// as GeoJSON text.
const QByteArray kTowns = "nome;lon;lat;residenti;addetti\n"
                          "Borgo Alto;11.3426;44.4949;12000;4000\n"
                          "Case Nuove;11.6158;44.8381;3000;1500\n"
                          "Fontanelle;11.0;44.2;5000;2500\n";

} // namespace

class TestZoneCommand : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(path));
        file.write(bytes);
        return path;
    }
    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void importWritesArchiveAndCompanion()
    {
        const QString towns = write(QStringLiteral("comuni.csv"), kTowns);
        const QString archive = m_dir.filePath(QStringLiteral("Urbaflux-tot-studio"));
        const Run run = runCalc(
            {QStringLiteral("--zone"), towns, QStringLiteral("--campo-nome"),
             QStringLiteral("nome"), QStringLiteral("--campo-origine"), QStringLiteral("residenti"),
             QStringLiteral("--campo-destinazione"), QStringLiteral("addetti"),
             QStringLiteral("--modello"), QStringLiteral("3"), QStringLiteral("--unita"),
             QStringLiteral("metri"), QStringLiteral("--tortuosita"), QStringLiteral("1.3"),
             QStringLiteral("-o"), archive});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY(QFile::exists(archive + QStringLiteral(".gpkg")));
        const Parsed<CompleteRecord> read = readCompleteFile(archive);
        QVERIFY2(read.ok(), qPrintable(read.error));
        const CompleteRecord& record = *read.value;
        QCOMPARE(record.count, 3);
        QCOMPARE(record.model.unit, QStringLiteral("metri"));
        QCOMPARE(record.model.kind, qint16(3));
        QCOMPARE(record.areas[1].name, QStringLiteral("Case Nuove"));
        QCOMPARE(record.areas[2].origin, QStringLiteral("5000"));
        QCOMPARE(record.pairs[1].pairNames, QStringLiteral("Borgo Alto-Case Nuove"));
        QCOMPARE(record.pairs[1].weight, FieldValue::fromNumber(100));
        // Bologna to the north-east: 44.5 km on the ellipsoid, by 1.3 for the roads, in metres.
        const double metres = record.pairs[1].distance.toDouble();
        QVERIFY(!record.pairs[1].distance.contains(u'.'));
        QVERIFY2(std::abs(metres / 1.3 - 44500) < 1000, qPrintable(record.pairs[1].distance));
        // With a model, origins and destinations the archive carries its results.
        QVERIFY(record.totalInteractions > 0);
    }

    void helpNamesTheGisCommands()
    {
        QProcess process;
        process.start(QString::fromUtf8(URBAFLUX_CALC_PATH), {QStringLiteral("--help")});
        QVERIFY(process.waitForFinished(60000));
        const QByteArray help = process.readAllStandardOutput();
        QVERIFY(help.contains("Uso: urbaflux-calc --zone FILE"));
        QVERIFY(help.contains("Uso: urbaflux-calc ARCHIVIO --distanze MATRICE.csv -o USCITA"));
    }

    void badImportLeavesThePreviousFile_data()
    {
        QTest::addColumn<QByteArray>("layer");
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("negative origin")
            << QByteArray("nome;lon;lat;residenti\nA;11;44;10\nB;11.1;44;-5\n") << QStringList()
            << 2
            << QStringLiteral("Nel file \"zone.csv\" l'elemento 2 (\"B\") ha nel campo "
                              "\"residenti\" il valore negativo -5.");
        QTest::newRow("same point")
            << QByteArray("nome;lon;lat;residenti\nA;11;44;10\nB;11;44;5\n") << QStringList() << 2
            << QStringLiteral("Le zone \"A\" e \"B\" hanno lo stesso punto rappresentativo");
        QTest::newRow("unknown point rule")
            << kTowns << QStringList({QStringLiteral("--punto"), QStringLiteral("baricentro")})
            << 64 << QStringLiteral("urbaflux-calc: --punto vuole superficie o centroide");
    }
    void badImportLeavesThePreviousFile()
    {
        QFETCH(QByteArray, layer);
        QFETCH(QStringList, extra);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const QString zones = write(QStringLiteral("zone.csv"), layer);
        const QString archive = write(QStringLiteral("precedente"), "il file di prima");
        const Run run =
            runCalc(QStringList{QStringLiteral("--zone"), zones, QStringLiteral("--campo-nome"),
                                QStringLiteral("nome"), QStringLiteral("--campo-origine"),
                                QStringLiteral("residenti"), QStringLiteral("-o"), archive} +
                    extra);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.startsWith(message), qPrintable(run.err));
        QCOMPARE(contents(archive), QByteArray("il file di prima"));
        QVERIFY(!QFile::exists(archive + QStringLiteral(".gpkg")));
    }

    void distancesFromAMatrix()
    {
        const QString towns = write(QStringLiteral("comuni.csv"), kTowns);
        const QString archive = m_dir.filePath(QStringLiteral("Urbaflux-tot-matrice"));
        QCOMPARE(runCalc({QStringLiteral("--zone"), towns, QStringLiteral("--campo-nome"),
                          QStringLiteral("nome"), QStringLiteral("-o"), archive})
                     .exitCode,
                 0);
        const QString matrix = write(QStringLiteral("distanze.csv"),
                                     "origine;destinazione;valore\nBorgo Alto;Case Nuove;51,5\n"
                                     "Case Nuove;Borgo Alto;52\n");
        const QString out = m_dir.filePath(QStringLiteral("Urbaflux-tot-uscita"));
        Run run =
            runCalc({archive, QStringLiteral("--distanze"), matrix, QStringLiteral("-o"), out});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY(run.err.startsWith(QStringLiteral("Il file non indica 7 coppie")));
        const Parsed<CompleteRecord> before = readCompleteFile(archive);
        const Parsed<CompleteRecord> after = readCompleteFile(out);
        QVERIFY(after.ok());
        QCOMPARE(after.value->pairs[1].distance, QStringLiteral("51.5"));
        QCOMPARE(after.value->pairs[3].distance, QStringLiteral("52"));
        QCOMPARE(after.value->pairs[2].distance, before.value->pairs[2].distance);
        QVERIFY(QFile::exists(out + QStringLiteral(".gpkg")));

        const QString bad =
            write(QStringLiteral("rotta.csv"), ",Borgo Alto,Cesena\nBorgo Alto,1,2\n");
        const QByteArray written = contents(out);
        run = runCalc({archive, QStringLiteral("--distanze"), bad, QStringLiteral("-o"), out});
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith(QStringLiteral(
                     "Il file \"rotta.csv\" nomina zone che non sono tra le aree: \"Cesena\".")),
                 qPrintable(run.err));
        QCOMPARE(contents(out), written);
    }
};

QTEST_GUILESS_MAIN(TestZoneCommand)
#include "tst_zonecommand.moc"
