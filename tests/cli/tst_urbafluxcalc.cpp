#include "calcrun.h"

#include <calculation.h>
#include <completearchive.h>
#include <numbertext.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace urbaflux;

namespace {

using Run = CalcRun;

// Runs the calculator through sh, for redirections and limits: the script runs it as
// "$0" "$@".
Run runShell(const QString& script, const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    process.start(QStringLiteral("sh"),
                  QStringList{QStringLiteral("-c"), script, QString::fromUtf8(URBAFLUX_CALC_PATH)} +
                      arguments);
    Run run;
    if (!process.waitForStarted(10000))
        return run;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// A device node made in a temporary folder (never one of /dev); false when not allowed.
bool makeDevice(const QString& path, unsigned minor)
{
    return ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, minor)) == 0;
}

bool isCharacterDevice(const QString& path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISCHR(info.st_mode);
}

// Two areas with the worked examples' data: origins 100 and 50, alpha 2, weights at their
// default unless given.
std::unique_ptr<ProjectState> twoAreas(int kind, const QStringList& destinations,
                                       const QStringList& distances,
                                       const QStringList& weights = {})
{
    auto state = std::make_unique<ProjectState>();
    applyDefaults(*state);
    state->model.kind = static_cast<qint16>(kind);
    state->model.kindLabel = modelKindLabel(kind);
    state->model.originType = QStringLiteral("residenti");
    state->model.destinationType = QStringLiteral("uffici");
    state->areas.count = 2;
    const QStringList names = {QStringLiteral("Nord"), QStringLiteral("Città")};
    const QStringList origins = {QStringLiteral("100"), QStringLiteral("50")};
    for (int i = 1; i <= 2; ++i) {
        state->areas.name[i] = names[i - 1];
        state->areas.origin[i] = origins[i - 1];
        state->areas.destination[i] = destinations[i - 1];
    }
    buildPairList(*state);
    for (int k = 1; k <= 4; ++k) {
        state->distances.distance[k] = distances[k - 1];
        if (!weights.isEmpty() && !weights[k - 1].isEmpty())
            state->distances.weight[k] = FieldValue::fromText(weights[k - 1]);
    }
    return state;
}

TitlePage titlePage()
{
    TitlePage page;
    page.progetto = QStringLiteral("Piano \"nuovo\", variante");
    page.localita = QStringLiteral("Forlì");
    page.data = QStringLiteral("3 giu 2024");
    return page;
}

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

using Floats = QList<float>;
using Doubles = QList<double>;

} // namespace

class TestUrbafluxCalc : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString inputFor(const ProjectState& state, const QString& name)
    {
        const QString path = m_dir.filePath(name);
        if (!writeFile(path, writeCompleteBytes(state, titlePage())))
            return QString();
        return path;
    }

private Q_SLOTS:
    void workedExamples_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("destinations");
        QTest::addColumn<QStringList>("distances");
        QTest::addColumn<QStringList>("weights");
        QTest::addColumn<Floats>("interactions");
        QTest::addColumn<double>("total");
        QTest::addColumn<Doubles>("estimatedOrigins");
        QTest::addColumn<Doubles>("estimatedDestinations");
        QTest::addColumn<int>("passes");
        const QStringList tens = {QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"),
                                  QStringLiteral("10")};
        QTest::newRow("model 3") << 3 << QStringList{QStringLiteral("1"), QStringLiteral("1")}
                                 << tens << QStringList() << Floats{50, 50, 25, 25} << 150.0
                                 << Doubles{100, 50} << Doubles{75, 75} << 1;
        QTest::newRow("model 3, weight 50 on pair 1")
            << 3 << QStringList{QStringLiteral("1"), QStringLiteral("1")} << tens
            << QStringList{QStringLiteral("50"), QString(), QString(), QString()}
            << Floats{80, 20, 25, 25} << 150.0 << Doubles{100, 50} << Doubles{105, 45} << 1;
        QTest::newRow("model 2") << 2 << QStringList{QStringLiteral("60"), QStringLiteral("90")}
                                 << QStringList{QStringLiteral("10"), QStringLiteral("20"),
                                                QStringLiteral("40"), QStringLiteral("10")}
                                 << QStringList() << Floats{58, 30, 2, 60} << 150.0
                                 << Doubles{88, 62} << Doubles{60, 90} << 1;
        QTest::newRow("model 1") << 1 << QStringList{QStringLiteral("60"), QStringLiteral("90")}
                                 << QStringList{QStringLiteral("10"), QStringLiteral("20"),
                                                QStringLiteral("20"), QStringLiteral("10")}
                                 << QStringList() << Floats{56, 44, 4, 46} << 150.0
                                 << Doubles{100, 50} << Doubles{60, 90} << 8;
    }
    void workedExamples()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, destinations);
        QFETCH(QStringList, distances);
        QFETCH(QStringList, weights);
        QFETCH(Floats, interactions);
        QFETCH(double, total);
        QFETCH(Doubles, estimatedOrigins);
        QFETCH(Doubles, estimatedDestinations);
        QFETCH(int, passes);
        const auto state = twoAreas(kind, destinations, distances, weights);
        const QString input = inputFor(*state, QStringLiteral("Urbaflux-tot-%1").arg(kind));
        QVERIFY(!input.isEmpty());

        // The archive on standard output, byte for byte as the program writes it.
        const Run plain = runCalc({input});
        QCOMPARE(plain.exitCode, 0);
        QVERIFY2(plain.err.isEmpty(), plain.err.constData());
        auto expected = twoAreas(kind, destinations, distances, weights);
        computeAreaTotals(*expected);
        QVERIFY(calculateInteractions(*expected).completed());
        QCOMPARE(plain.out, writeCompleteBytes(*expected, titlePage()));

        const auto parsed = parseCompleteBytes(plain.out, QStringLiteral("uscita"));
        QVERIFY2(parsed.ok(), qPrintable(parsed.error));
        const CompleteRecord& r = *parsed.value;
        QCOMPARE(r.pairs.size(), size_t(4));
        for (int k = 0; k < 4; ++k)
            QCOMPARE(r.pairs[size_t(k)].interaction, interactions[k]);
        QCOMPARE(r.totalInteractions, total);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(r.areas[size_t(i)].estimatedOrigins, estimatedOrigins[i]);
            QCOMPARE(r.areas[size_t(i)].estimatedDestinations, estimatedDestinations[i]);
        }
        QCOMPARE(r.titlePage.progetto, QStringLiteral("Piano \u201Dnuovo\u201D, variante"));

        // The same bytes into a file with -o, the matrix beside it, and JSON on the output.
        const QString output = m_dir.filePath(QStringLiteral("out-%1").arg(kind));
        const QString csv = m_dir.filePath(QStringLiteral("matrice-%1.csv").arg(kind));
        const Run json = runCalc({input, QStringLiteral("-o"), output, QStringLiteral("--matrix"),
                                  csv, QStringLiteral("--json")});
        QCOMPARE(json.exitCode, 0);
        QCOMPARE(readFile(output), plain.out);

        QJsonParseError error;
        const QJsonObject object = QJsonDocument::fromJson(json.out, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(object.value(QStringLiteral("status")).toString(), QStringLiteral("ok"));
        QCOMPARE(object.value(QStringLiteral("reason")).toString(), QString());
        QCOMPARE(object.value(QStringLiteral("passes")).toInt(), passes);
        QCOMPARE(object.value(QStringLiteral("totalOrigins")).toDouble(), 150.0);
        QCOMPARE(object.value(QStringLiteral("totalDestinations")).toDouble(),
                 expected->areas.totalDestinations);
        QCOMPARE(object.value(QStringLiteral("totalInteractions")).toDouble(), total);
        const QJsonArray list = object.value(QStringLiteral("interactions")).toArray();
        QCOMPARE(list.size(), 4);
        for (int k = 0; k < 4; ++k)
            QCOMPARE(list[k].toDouble(), double(interactions[k]));
        const QJsonArray origins = object.value(QStringLiteral("estimatedOrigins")).toArray();
        const QJsonArray dests = object.value(QStringLiteral("estimatedDestinations")).toArray();
        QCOMPARE(origins.size(), 2);
        QCOMPARE(dests.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(origins[i].toDouble(), estimatedOrigins[i]);
            QCOMPARE(dests[i].toDouble(), estimatedDestinations[i]);
        }

        // The unrounded matrix reads back to the very same doubles.
        const QList<QByteArray> rows = readFile(csv).split('\n');
        QCOMPARE(rows.size(), 4); // header, two origins, and nothing after the last line end
        QCOMPARE(rows[0], QByteArray(",1,2\r"));
        for (int i = 1; i <= 2; ++i) {
            const QList<QByteArray> cells = rows[i].trimmed().split(',');
            QCOMPARE(cells.size(), 3);
            QCOMPARE(cells[0].toInt(), i);
            for (int j = 1; j <= 2; ++j) {
                bool ok = false;
                QCOMPARE(cells[j].toDouble(&ok), expected->interactions.matrix(i, j));
                QVERIFY(ok);
            }
        }
    }

    void stoppedCalculation()
    {
        const auto state = twoAreas(3, {QStringLiteral("1"), QStringLiteral("1")},
                                    {QStringLiteral("10"), QStringLiteral("0"),
                                     QStringLiteral("10"), QStringLiteral("10")});
        const QString input = inputFor(*state, QStringLiteral("Urbaflux-tot-zero"));
        const QString output = m_dir.filePath(QStringLiteral("non-scritto"));
        const Run run = runCalc({input, QStringLiteral("-o"), output});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("distanza n. 2"), run.err.constData());
        QVERIFY(run.out.isEmpty());
        QVERIFY(!QFile::exists(output));

        const Run json = runCalc({input, QStringLiteral("--json")});
        QCOMPARE(json.exitCode, 1);
        const QJsonObject object = QJsonDocument::fromJson(json.out).object();
        QCOMPARE(object.value(QStringLiteral("status")).toString(), QStringLiteral("stopped"));
        QVERIFY(object.value(QStringLiteral("reason")).toString().contains(QStringLiteral("n. 2")));
    }

    void notConverged()
    {
        // Totals that differ cannot be balanced by the doubly constrained model.
        const auto state = twoAreas(1, {QStringLiteral("60"), QStringLiteral("90.01")},
                                    {QStringLiteral("10"), QStringLiteral("20"),
                                     QStringLiteral("20"), QStringLiteral("10")});
        const Run json = runCalc({inputFor(*state, QStringLiteral("Urbaflux-tot-sbilanciato")),
                                  QStringLiteral("--json")});
        QCOMPARE(json.exitCode, 1);
        const QJsonObject object = QJsonDocument::fromJson(json.out).object();
        QCOMPARE(object.value(QStringLiteral("status")).toString(),
                 QStringLiteral("not-converged"));
        QVERIFY(object.value(QStringLiteral("reason"))
                    .toString()
                    .contains(QStringLiteral("non converge")));
        QVERIFY(json.err.contains("non converge"));
    }

    void refusedArchive_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("reason");
        const QByteArray whole =
            writeCompleteBytes(*twoAreas(3, {QStringLiteral("1"), QStringLiteral("1")},
                                         {QStringLiteral("1"), QStringLiteral("1"),
                                          QStringLiteral("1"), QStringLiteral("1")}),
                               titlePage());
        QTest::newRow("truncated")
            << whole.left(whole.size() / 2) << QByteArray("termina prima dei dati annunciati");
        QTest::newRow("too many areas")
            << QByteArray("\"a\",\"b\",\"c\",\"d\",1,2,0.0001,\"km\"\r\n181\r\n")
            << QByteArray("181");
        QTest::newRow("no model") << QByteArray(",,,,0,2,0.0001,\"km\"\r\n0\r\n")
                                  << QByteArray("non è 1, 2 o 3");
        QTest::newRow("terminal escapes and NUL bytes")
            << QByteArray("\"a\",\"b\",\"c\",\"d\",1,2,0.0001,\"km\"\r\n\x1B[2J\x1B]0;x\x07") +
                   QByteArray(3, '\0') + "\r\n"
            << QByteArray("«\xEF\xBF\xBD[2J");
    }
    void refusedArchive()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, reason);
        const QString input = m_dir.filePath(QStringLiteral("Urbaflux-tot-guasto"));
        QVERIFY(writeFile(input, bytes));
        const Run run = runCalc({input});
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(reason), run.err.constData());
        QVERIFY(run.err.contains(input.toUtf8()));
        QVERIFY(!run.err.contains('\x1B') && !run.err.contains('\0') && !run.err.contains('\x07'));
        QVERIFY(run.out.isEmpty());

        const Run missing = runCalc({m_dir.filePath(QStringLiteral("assente"))});
        QCOMPARE(missing.exitCode, 2);
        QVERIFY(missing.err.contains("non esiste"));
    }

    void wrongUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("nothing") << QStringList();
        QTest::newRow("unknown option") << QStringList{QStringLiteral("a"), QStringLiteral("-x")};
        QTest::newRow("-o without a file")
            << QStringList{QStringLiteral("a"), QStringLiteral("-o")};
        QTest::newRow("--matrix without a file")
            << QStringList{QStringLiteral("a"), QStringLiteral("--matrix")};
        QTest::newRow("two inputs") << QStringList{QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("-o twice") << QStringList{QStringLiteral("a"), QStringLiteral("-o"),
                                                 QStringLiteral("x"), QStringLiteral("-o"),
                                                 QStringLiteral("y")};
    }
    void wrongUsage()
    {
        QFETCH(QStringList, arguments);
        const Run run = runCalc(arguments);
        QCOMPARE(run.exitCode, 64);
        QVERIFY2(run.err.contains("Uso: urbaflux-calc"), run.err.constData());
        QVERIFY(run.out.isEmpty());
    }

    // Every command shares one parser: its reasons are Italian and name the option as typed.
    void usageReasons_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("reason");
        const QString a = QStringLiteral("a");
        QTest::newRow("unknown option")
            << QStringList{a, QStringLiteral("-x")} << QByteArray("opzione sconosciuta: -x\n");
        QTest::newRow("a value where none is taken") << QStringList{a, QStringLiteral("--json=1")}
                                                     << QByteArray("--json non vuole un valore\n");
        QTest::newRow("no value") << QStringList{a, QStringLiteral("--matrix")}
                                  << QByteArray("manca il valore dopo --matrix\n");
        QTest::newRow("an option of another command")
            << QStringList{a, QStringLiteral("--valuta"), QStringLiteral("o.csv"),
                           QStringLiteral("--matrix"), QStringLiteral("m.csv")}
            << QByteArray("--matrix non si usa con --valuta o --calibra\n");
        QTest::newRow("a value twice")
            << QStringList{a, QStringLiteral("--matrix"), QStringLiteral("x"),
                           QStringLiteral("--matrix"), QStringLiteral("y")}
            << QByteArray("--matrix è indicato due volte\n");
    }
    void usageReasons()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, reason);
        const Run run = runCalc(arguments);
        QCOMPARE(run.exitCode, 64);
        QVERIFY2(run.err.startsWith("urbaflux-calc: " + reason), run.err.constData());
    }

    void helpIsNotAnError()
    {
        const Run run = runCalc({QStringLiteral("--help")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains("Uso: urbaflux-calc"));
    }

    void unwritableOutput()
    {
        const auto state = twoAreas(3, {QStringLiteral("1"), QStringLiteral("1")},
                                    {QStringLiteral("10"), QStringLiteral("10"),
                                     QStringLiteral("10"), QStringLiteral("10")});
        const QString output = m_dir.filePath(QStringLiteral("manca/uscita"));
        const Run run = runCalc(
            {inputFor(*state, QStringLiteral("Urbaflux-tot-ok")), QStringLiteral("-o"), output});
        QCOMPARE(run.exitCode, 73);
        QVERIFY2(run.err.contains(output.toUtf8()), run.err.constData());
    }

    // A failed write is told on standard error, whatever the output: a full device, a closed
    // output, a file-size limit (whose signal would otherwise kill the run without a word).
    void failedOutputsAreTold_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("json");
        QTest::addColumn<QByteArray>("reason");
        const QByteArray full = "impossibile scrivere sullo standard output: il disco è pieno.";
        const QByteArray closed =
            "impossibile scrivere sullo standard output: lo standard output è chiuso.";
        const QByteArray limit = "il file supera la dimensione massima consentita";
        QTest::newRow("full device")
            << QStringLiteral("exec \"$0\" \"$@\" > %1/pieno") << false << full;
        QTest::newRow("full device, JSON")
            << QStringLiteral("exec \"$0\" \"$@\" > %1/pieno") << true << full;
        QTest::newRow("closed output")
            << QStringLiteral("exec \"$0\" \"$@\" >&-") << false << closed;
        QTest::newRow("closed output, JSON")
            << QStringLiteral("exec \"$0\" \"$@\" >&-") << true << closed;
        QTest::newRow("file-size limit on the output")
            << QStringLiteral("ulimit -f 1; exec \"$0\" \"$@\" > %1/limitato") << false << limit;
        QTest::newRow("file-size limit on -o")
            << QStringLiteral("ulimit -f 1; exec \"$0\" \"$@\" -o %1/vecchio") << false << limit;
    }
    void failedOutputsAreTold()
    {
        QFETCH(QString, script);
        QFETCH(bool, json);
        QFETCH(QByteArray, reason);
        const QString full = m_dir.filePath(QStringLiteral("pieno"));
        if (!QFile::exists(full) && !makeDevice(full, 7))
            QSKIP("mknod is not allowed here");
        const QString old = m_dir.filePath(QStringLiteral("vecchio"));
        QVERIFY(writeFile(old, "vecchio"));
        // Large enough to pass a limit of one block.
        auto state = twoAreas(3, {QStringLiteral("1"), QStringLiteral("1")},
                              {QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"),
                               QStringLiteral("10")});
        state->areas.name[1] = QString(3000, QLatin1Char('n'));
        QStringList arguments{inputFor(*state, QStringLiteral("Urbaflux-tot-uscita"))};
        if (json)
            arguments << QStringLiteral("--json");
        const Run run = runShell(script.arg(m_dir.path()), arguments);
        QCOMPARE(run.exitCode, 73);
        QVERIFY2(run.err.contains(reason), run.err.constData());
        QCOMPARE(readFile(old), QByteArray("vecchio"));
        QVERIFY(isCharacterDevice(full));
    }

    // A save renames a new file over its target: a device given to -o is refused and stays a
    // device.
    void deviceAsOutputIsRefused()
    {
        const QString node = m_dir.filePath(QStringLiteral("nullo"));
        if (!makeDevice(node, 3))
            QSKIP("mknod is not allowed here");
        const auto state = twoAreas(3, {QStringLiteral("1"), QStringLiteral("1")},
                                    {QStringLiteral("10"), QStringLiteral("10"),
                                     QStringLiteral("10"), QStringLiteral("10")});
        const QString input = inputFor(*state, QStringLiteral("Urbaflux-tot-disp"));
        for (const QString& option : {QStringLiteral("-o"), QStringLiteral("--matrix")}) {
            const Run run = runCalc({input, option, node});
            QCOMPARE(run.exitCode, 73);
            QVERIFY2(run.err.contains("non è un file ma un dispositivo"), run.err.constData());
            QVERIFY(isCharacterDevice(node));
        }
    }

    // An archive just under the readers' limit whose results make it grow past it: it is not
    // written, to a file or to standard output, since it could not be opened again.
    void outputBeyondTheLimitIsNotWritten()
    {
        auto state = twoAreas(3, {QStringLiteral("1"), QStringLiteral("1")},
                              {QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"),
                               QStringLiteral("10")});
        const QByteArray small = writeCompleteBytes(*state, titlePage());
        state->areas.name[1] += QString(int(kMaxArchiveBytes - small.size() - 4), u'x');
        const QString input = inputFor(*state, QStringLiteral("Urbaflux-tot-quasi-troppo"));
        QVERIFY(QFileInfo(input).size() <= kMaxArchiveBytes);
        const QString output = m_dir.filePath(QStringLiteral("Urbaflux-tot-troppo"));
        const Run toFile = runCalc({input, QStringLiteral("-o"), output});
        QCOMPARE(toFile.exitCode, 73);
        QVERIFY2(toFile.err.contains("supererebbe i 64 MiB che il programma può rileggere"),
                 toFile.err.constData());
        QVERIFY(!QFileInfo::exists(output));
        const Run toStdout = runCalc({input});
        QCOMPARE(toStdout.exitCode, 73);
        QCOMPARE(toStdout.out, QByteArray());
        QFile::remove(input);
    }

    // An endless device is refused after a bounded read; a pipe is read as any file.
    void streamsAsInput()
    {
        const QString zero = m_dir.filePath(QStringLiteral("zero"));
        if (!makeDevice(zero, 5))
            QSKIP("mknod is not allowed here");
        const Run endless = runCalc({zero});
        QCOMPARE(endless.exitCode, 2);
        QVERIFY2(endless.err.contains("è troppo grande (oltre 64 MiB)."), endless.err.constData());

        const auto state = twoAreas(3, {QStringLiteral("1"), QStringLiteral("1")},
                                    {QStringLiteral("10"), QStringLiteral("10"),
                                     QStringLiteral("10"), QStringLiteral("10")});
        const QString input = inputFor(*state, QStringLiteral("Urbaflux-tot-tubo"));
        const Run piped =
            runShell(QStringLiteral("exec \"$0\" /proc/self/fd/0"), {}, readFile(input));
        QCOMPARE(piped.exitCode, 0);
        QCOMPARE(piped.out, runCalc({input}).out);
    }

    void sameFileForTwoOutputs_data()
    {
        QTest::addColumn<QString>("matrix");
        QTest::newRow("same name") << QStringLiteral("doppio");
        QTest::newRow("another spelling") << QStringLiteral("./sotto/../doppio");
    }
    void sameFileForTwoOutputs()
    {
        QFETCH(QString, matrix);
        QDir(m_dir.path()).mkdir(QStringLiteral("sotto"));
        const QString output = m_dir.filePath(QStringLiteral("doppio"));
        const Run run = runCalc({QStringLiteral("a"), QStringLiteral("-o"), output,
                                 QStringLiteral("--matrix"), m_dir.path() + u'/' + matrix});
        QCOMPARE(run.exitCode, 64);
        QVERIFY2(run.err.contains("-o e --matrix indicano lo stesso file"), run.err.constData());
        QVERIFY(!QFile::exists(output));
    }

    void stoppedRunNamesTheCause()
    {
        auto state = twoAreas(3, {QStringLiteral("1"), QStringLiteral("1")},
                              {QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"),
                               QStringLiteral("10")});
        state->model.alpha = FieldValue::fromText(QStringLiteral("400"));
        const Run run = runCalc({inputFor(*state, QStringLiteral("Urbaflux-tot-alfa"))});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("con alfa 400 il fattore della distanza n. 1"),
                 run.err.constData());
    }
};

QTEST_GUILESS_MAIN(TestUrbafluxCalc)
#include "tst_urbafluxcalc.moc"
