#include "calcrun.h"

#include "../support/samplestate.h"

#include <completearchive.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace urbaflux;

namespace {

using Run = CalcRun;

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The published doubly constrained case: three areas, alpha at its default 2.
QByteArray publishedArchive(int firstDistance = 2)
{
    const QStringList origins = {QStringLiteral("100"), QStringLiteral("200"),
                                 QStringLiteral("100")};
    const QStringList destinations = {QStringLiteral("200"), QStringLiteral("50"),
                                      QStringLiteral("150")};
    const int distances[] = {firstDistance, 5, 4, 5, 2, 3, 4, 3, 2};
    const auto state = samples::SampleState(3, 1)
                           .defaults()
                           .names([](int i) { return QStringLiteral("Zona %1").arg(i); })
                           .origins([&](int i) { return origins[i - 1]; })
                           .destinations([&](int i) { return destinations[i - 1]; })
                           .distances([&](int i, int j) {
                               return QString::number(distances[pairIndex(i, j, 3) - 1]);
                           })
                           .withTotals()
                           .build();
    return writeCompleteBytes(*state, TitlePage());
}

const QByteArray kSurvey = ",1,2,3\r\n1,80,5,15\r\n2,80,40,80\r\n3,40,5,55\r\n";

} // namespace

class TestCalibrationCommand : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(writeFile(path("Urbaflux-tot-rilievo"), publishedArchive()));
        QVERIFY(writeFile(path("osservate.csv"), kSurvey));
    }

    void calibrateWritesTheArchiveWithTheFoundAlpha()
    {
        const QString output = path("Urbaflux-tot-tarato");
        const Run run =
            runCalc({path("Urbaflux-tot-rilievo"), QStringLiteral("--calibra"),
                     path("osservate.csv"), QStringLiteral("--criterio"), QStringLiteral("sae"),
                     QStringLiteral("-o"), output, QStringLiteral("--json")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        const QJsonObject json = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(json.value(QStringLiteral("status")).toString(), QStringLiteral("ok"));
        QCOMPARE(json.value(QStringLiteral("criterion")).toString(), QStringLiteral("sae"));
        const QString alphaText = json.value(QStringLiteral("alphaText")).toString();
        QVERIFY(std::fabs(alphaText.toDouble() - json.value(QStringLiteral("alpha")).toDouble()) <
                1e-5);
        QVERIFY(json.value(QStringLiteral("evaluations")).toInt() > 20);
        const double sae = json.value(QStringLiteral("fit"))
                               .toObject()
                               .value(QStringLiteral("absoluteErrors"))
                               .toDouble();

        // The archive written carries the alpha as a typed text, and evaluating it gives the fit
        // the calibration reported.
        const auto written = parseCompleteBytes(readFile(output), output);
        QVERIFY2(written.ok(), qPrintable(written.error));
        QCOMPARE(written.value->model.alpha, FieldValue::fromText(alphaText));
        const Run check = runCalc(
            {output, QStringLiteral("--valuta"), path("osservate.csv"), QStringLiteral("--json")});
        QCOMPARE(check.exitCode, 0);
        const QJsonObject fit =
            QJsonDocument::fromJson(check.out).object().value(QStringLiteral("fit")).toObject();
        QCOMPARE(fit.value(QStringLiteral("absoluteErrors")).toDouble(), sae);
        QCOMPARE(fit.value(QStringLiteral("pairs")).toInt(), 9);

        // The plain text says the same for people.
        const Run text =
            runCalc({path("Urbaflux-tot-rilievo"), QStringLiteral("--calibra"),
                     path("osservate.csv"), QStringLiteral("--criterio"), QStringLiteral("sae")});
        QCOMPARE(text.exitCode, 0);
        const QString out = QString::fromUtf8(text.out);
        QVERIFY2(out.contains(QStringLiteral("Alfa tarato: ") + alphaText), text.out.constData());
        QVERIFY(out.contains(QStringLiteral("minima somma degli errori assoluti")));
        QVERIFY(out.contains(QStringLiteral("Somma degli errori assoluti: ")));
    }

    void evaluateKeepsTheArchivesAlpha()
    {
        const Run run = runCalc(
            {path("Urbaflux-tot-rilievo"), QStringLiteral("--valuta"), path("osservate.csv")});
        QCOMPARE(run.exitCode, 0);
        const QString out = QString::fromUtf8(run.out);
        QVERIFY2(out.startsWith(QStringLiteral("Adattamento alle interazioni osservate (alfa 2)")),
                 run.out.constData());
        for (const char* line :
             {"Coppie confrontate: 9 su 9",
              "R² (osservate e calcolate): ", "SRMSE: ", "pesata con le osservate: ",
              "pesata con le calcolate: ", "Quota del totale osservato riprodotta: 100%"})
            QVERIFY2(out.contains(QString::fromUtf8(line)), line);
    }

    // The trip lengths of the pairs compared, in bands that follow each other, summing to the
    // compared totals; the text prints the same table.
    void evaluateGivesTheTripLengths()
    {
        const Run run = runCalc({path("Urbaflux-tot-rilievo"), QStringLiteral("--valuta"),
                                 path("osservate.csv"), QStringLiteral("--json")});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject json = QJsonDocument::fromJson(run.out).object();
        const QJsonObject fit = json.value(QStringLiteral("fit")).toObject();
        const QJsonArray bands = json.value(QStringLiteral("distribuzione_lunghezze")).toArray();
        QVERIFY(bands.size() > 1);
        double observed = 0;
        double modelled = 0;
        for (qsizetype b = 0; b < bands.size(); ++b) {
            const QJsonObject band = bands[b].toObject();
            QVERIFY(band.value(QStringLiteral("da")).toDouble() <
                    band.value(QStringLiteral("a")).toDouble());
            if (b > 0)
                QCOMPARE(band.value(QStringLiteral("da")).toDouble(),
                         bands[b - 1].toObject().value(QStringLiteral("a")).toDouble());
            observed += band.value(QStringLiteral("osservate")).toDouble();
            modelled += band.value(QStringLiteral("calcolate")).toDouble();
        }
        // Costs 2 to 5 of the published case.
        QCOMPARE(bands.first().toObject().value(QStringLiteral("da")).toDouble(), 2.0);
        QCOMPARE(bands.last().toObject().value(QStringLiteral("a")).toDouble(), 5.0);
        QCOMPARE(observed, fit.value(QStringLiteral("observedTotal")).toDouble());
        QCOMPARE(modelled, fit.value(QStringLiteral("modelledTotal")).toDouble());

        const Run text = runCalc(
            {path("Urbaflux-tot-rilievo"), QStringLiteral("--valuta"), path("osservate.csv")});
        const QString out = QString::fromLocal8Bit(text.out);
        const QString table = out.mid(out.indexOf(QStringLiteral("Distribuzione delle lunghezze")));
        QCOMPARE(table.count(u'\n'), bands.size() + 2);
        QVERIFY2(table.contains(QRegularExpression(QStringLiteral("\\n +2 +3 +175 +"))),
                 text.out.constData());
    }

    void refusedObservedFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("reason");
        QTest::newRow("a 2 by 2 matrix for 3 areas")
            << QByteArray(",1,2\n1,1,1\n2,1,1\n") << QByteArray("riga 1: la matrice ha 2 colonne");
        QTest::newRow("text in a value") << QByteArray("1,1,5\n1,2,5\n2,2,molti\n")
                                         << QByteArray("riga 3: \"molti\" non è un numero");
    }
    void refusedObservedFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, reason);
        QVERIFY(writeFile(path("guasto.csv"), bytes));
        for (const char* command : {"--valuta", "--calibra"}) {
            const Run run = runCalc(
                {path("Urbaflux-tot-rilievo"), QString::fromLatin1(command), path("guasto.csv")});
            QCOMPARE(run.exitCode, 2);
            QVERIFY2(run.err.contains(reason), run.err.constData());
            QVERIFY(run.err.contains(path("guasto.csv").toUtf8()));
            QVERIFY(run.out.isEmpty());
        }
    }

    void wrongUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        const QString a = QStringLiteral("a");
        const QString v = QStringLiteral("--valuta");
        const QString c = QStringLiteral("--calibra");
        const QString o = QStringLiteral("o.csv");
        QTest::newRow("criterion without --calibra")
            << QStringList{a, v, o, QStringLiteral("--criterio"), QStringLiteral("sae")};
        QTest::newRow("unknown criterion")
            << QStringList{a, c, o, QStringLiteral("--criterio"), QStringLiteral("minimi")};
        QTest::newRow("-o with --valuta") << QStringList{a, v, o, QStringLiteral("-o"), o};
        QTest::newRow("--matrix") << QStringList{a, c, o, QStringLiteral("--matrix"), o};
        QTest::newRow("both commands") << QStringList{a, v, o, c, o};
        QTest::newRow("no observed file") << QStringList{a, c};
        QTest::newRow("no archive") << QStringList{c, o};
    }
    void wrongUsage()
    {
        QFETCH(QStringList, arguments);
        const Run run = runCalc(arguments);
        QCOMPARE(run.exitCode, 64);
        QVERIFY2(run.err.contains("--calibra OSSERVATE"), run.err.constData());
    }

    // What cannot be written is told, whatever the command prints: the figures, their JSON,
    // or the JSON of a calibration that could not complete.
    void failedWritesAreTold_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<int>("exitWhenWritten");
        const QString json = QStringLiteral("--json");
        const QString valuta = QStringLiteral("--valuta");
        const QString calibra = QStringLiteral("--calibra");
        QTest::newRow("evaluation") << QStringList{valuta} << publishedArchive() << 0;
        QTest::newRow("evaluation, JSON") << QStringList{valuta, json} << publishedArchive() << 0;
        QTest::newRow("calibration") << QStringList{calibra} << publishedArchive() << 0;
        QTest::newRow("calibration, JSON") << QStringList{calibra, json} << publishedArchive() << 0;
        // A zero distance stops every trial alpha.
        QTest::newRow("failed calibration, JSON")
            << QStringList{calibra, json} << publishedArchive(0) << 1;
    }
    void failedWritesAreTold()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, archive);
        QFETCH(int, exitWhenWritten);
        QVERIFY(writeFile(path("Urbaflux-tot-uscita"), archive));
        const QStringList written =
            QStringList{path("Urbaflux-tot-uscita"), arguments[0], path("osservate.csv")} +
            arguments.mid(1);
        QCOMPARE(runCalc(written).exitCode, exitWhenWritten);
        QProcess process;
        process.start(QStringLiteral("sh"),
                      QStringList{QStringLiteral("-c"), QStringLiteral("exec \"$0\" \"$@\" >&-"),
                                  QString::fromUtf8(URBAFLUX_CALC_PATH)} +
                          written);
        QVERIFY(process.waitForFinished(60000));
        const QByteArray err = process.readAllStandardError();
        QCOMPARE(process.exitCode(), 73);
        QVERIFY2(err.contains("impossibile scrivere sullo standard output: lo standard output "
                              "è chiuso."),
                 err.constData());
    }

    void helpNamesBothCommands()
    {
        const Run run = runCalc({QStringLiteral("--help")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains("--valuta OSSERVATE"));
        QVERIFY(run.out.contains("--criterio CRITERIO"));
    }
};

QTEST_GUILESS_MAIN(TestCalibrationCommand)
#include "tst_calibrationcommand.moc"
