#include "archivefile.h"
#include "areaarchive.h"
#include "completearchive.h"
#include "distancearchive.h"
#include "interactionarchive.h"
#include "modelchoicearchive.h"
#include "titlepagearchive.h"

#include <calculation.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cfloat>
#include <functional>
#include <limits>
#include <memory>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace urbaflux;

namespace {

// A state that exercises the awkward corners: leading blanks of pair labels, commas inside
// names, accented letters and "€", values never entered, empty texts, default and typed
// weights, results that are not whole.
std::unique_ptr<ProjectState> sampleState(int n = 3)
{
    auto state = std::make_unique<ProjectState>();
    applyDefaults(*state);
    ModelChoice& m = state->model;
    m.kind = 2;
    m.kindLabel = QStringLiteral("'destinazione vincolata'");
    m.originType = QStringLiteral("residenti, stagionali");
    m.destinationType = QStringLiteral("attività commerciali");
    m.alpha = FieldValue::fromText(QStringLiteral("1.5"));
    const QStringList names = {QStringLiteral(" Nord, centro"), QStringLiteral("Città €"),
                               QStringLiteral(""), QStringLiteral("Sud")};
    state->areas.count = n;
    for (int i = 1; i <= n; ++i) {
        state->areas.name[i] = names[(i - 1) % names.size()];
        state->areas.origin[i] = QString::number(100 * i) + QStringLiteral(".5");
        state->areas.destination[i] = i == 2 ? QString() : QString::number(60 * i);
        state->interactions.estimatedOrigins[i] = 100.0 * i + 1.0 / 3.0;
        state->interactions.estimatedDestinations[i] = 60.0 * i;
    }
    buildPairList(*state);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) {
            const int k = pairIndex(i, j, n);
            state->distances.distance[k] = k == 2 ? QString() : QString::number(k * 1.25);
            state->distances.weight[k] =
                k % 3 == 0 ? FieldValue::fromText(QString::number(k)) : FieldValue::fromNumber(100);
            state->interactions.interaction[k] = static_cast<float>(k) / 7.0f;
        }
    state->areas.totalOrigins = 600.5;
    state->areas.totalDestinations = 240;
    state->interactions.totalInteractions = 149.99999;
    return state;
}

TitlePage sampleTitlePage()
{
    TitlePage page;
    page.progetto = QStringLiteral("Piano, variante 2");
    page.localita = QStringLiteral("Forlì e Cesena");
    page.tipostudio = QStringLiteral("analisi urbanistica periodo estivo");
    page.fornituradati = QString();
    page.committente = QStringLiteral("Comune");
    page.luogo = QStringLiteral("  ");
    page.data = QStringLiteral("lunedì, 3 giu 2024");
    page.allegati = QStringLiteral("grafici € 0");
    return page;
}

// Everything a reader may touch, as bytes: equal fingerprints mean an unchanged elaboration.
QByteArray fingerprint(const ProjectState& state, const TitlePage& page)
{
    return writeCompleteBytes(state, page) + writeInteractionBytes(state) +
           writeModelChoiceBytes(modelChoiceRecordOf(state));
}

int lineCount(const QByteArray& bytes)
{
    return int(bytes.count("\r\n"));
}

// One archive kind as a window uses it: write from the state, parse, apply when parsed.
struct Kind
{
    std::function<QByteArray(const ProjectState&, const TitlePage&)> write;
    // Returns the error, empty when the file was read and applied.
    std::function<QString(const QByteArray&, const QString&, ProjectState&, TitlePage&)> open;
};

template <typename R, typename Apply> QString openWith(const Parsed<R>& parsed, Apply apply)
{
    if (!parsed.ok())
        return parsed.error;
    apply(*parsed.value);
    return QString();
}

const Kind& kind(const QString& name)
{
    static const QMap<QString, Kind> kinds = {
        {QStringLiteral("mod"),
         {[](const ProjectState& s, const TitlePage&) {
              return writeModelChoiceBytes(modelChoiceRecordOf(s));
          },
          [](const QByteArray& b, const QString& f, ProjectState& s, TitlePage&) {
              return openWith(parseModelChoiceBytes(b, f),
                              [&](const ModelChoiceRecord& r) { applyModelChoice(r, s); });
          }}},
        {QStringLiteral("dat"),
         {[](const ProjectState& s, const TitlePage&) { return writeAreaBytes(s); },
          [](const QByteArray& b, const QString& f, ProjectState& s, TitlePage&) {
              return openWith(parseAreaBytes(b, f),
                              [&](const AreaRecords& r) { applyAreas(r, s); });
          }}},
        {QStringLiteral("dis"),
         {[](const ProjectState& s, const TitlePage&) { return writeDistanceBytes(s); },
          [](const QByteArray& b, const QString& f, ProjectState& s, TitlePage&) {
              return openWith(parseDistanceBytes(b, f),
                              [&](const DistanceRecords& r) { applyDistances(r, s); });
          }}},
        {QStringLiteral("fro"),
         {[](const ProjectState&, const TitlePage& p) { return writeTitlePageBytes(p); },
          [](const QByteArray& b, const QString& f, ProjectState&, TitlePage& p) {
              return openWith(parseTitlePageBytes(b, f),
                              [&](const TitlePageRecord& r) { applyTitlePage(r, p); });
          }}},
        {QStringLiteral("tot"),
         {[](const ProjectState& s, const TitlePage& p) { return writeCompleteBytes(s, p); },
          [](const QByteArray& b, const QString& f, ProjectState& s, TitlePage& p) {
              return openWith(parseCompleteBytes(b, f),
                              [&](const CompleteRecord& r) { applyComplete(r, s, p); });
          }}},
        {QStringLiteral("int"),
         {[](const ProjectState& s, const TitlePage&) { return writeInteractionBytes(s); },
          [](const QByteArray& b, const QString& f, ProjectState& s, TitlePage&) {
              return openWith(parseInteractionBytes(b, f),
                              [&](const InteractionRecords& r) { applyInteractions(r, s); });
          }}},
    };
    return kinds.find(name).value();
}

void addKindRows()
{
    QTest::addColumn<QString>("kindName");
    for (const char* name : {"mod", "dat", "dis", "fro", "tot", "int"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

} // namespace

class TestArchiveKinds : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // --- round trips ----------------------------------------------------------------------

    void everyKindRoundTrips_data() { addKindRows(); }
    void everyKindRoundTrips()
    {
        QFETCH(QString, kindName);
        const Kind& k = kind(kindName);
        const auto source = sampleState();
        const TitlePage sourcePage = sampleTitlePage();
        const QByteArray bytes = k.write(*source, sourcePage);

        auto target = std::make_unique<ProjectState>();
        TitlePage targetPage;
        const QString error =
            k.open(bytes, QStringLiteral("Urbaflux-%1-prova").arg(kindName), *target, targetPage);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        // Written again from what was read, the file is the same to the byte.
        QCOMPARE(k.write(*target, targetPage), bytes);
    }

    void roundTripKeepsEveryField()
    {
        const auto source = sampleState();
        const TitlePage page = sampleTitlePage();
        const auto parsed = parseCompleteBytes(writeCompleteBytes(*source, page), QString());
        QVERIFY2(parsed.ok(), qPrintable(parsed.error));
        auto target = std::make_unique<ProjectState>();
        TitlePage targetPage;
        applyComplete(*parsed.value, *target, targetPage);

        QCOMPARE(targetPage, page);
        QVERIFY(targetPage.fornituradati.isEmpty());
        QCOMPARE(modelChoiceRecordOf(*target), modelChoiceRecordOf(*source));
        QCOMPARE(target->model.tolerance, FieldValue::fromNumber(0.0001));
        QCOMPARE(target->model.alpha, FieldValue::fromText(QStringLiteral("1.5")));
        QCOMPARE(target->areas.count, 3);
        for (int i = 1; i <= 3; ++i) {
            QCOMPARE(target->areas.name[i], source->areas.name[i]);
            QCOMPARE(target->areas.origin[i], source->areas.origin[i]);
            QCOMPARE(target->areas.destination[i].isNull(), source->areas.destination[i].isNull());
            QCOMPARE(target->interactions.estimatedOrigins[i],
                     source->interactions.estimatedOrigins[i]);
        }
        QCOMPARE(target->areas.name[1], QStringLiteral(" Nord, centro"));
        QCOMPARE(target->areas.name[2], QStringLiteral("Città €"));
        QVERIFY(!target->areas.name[3].isNull() && target->areas.name[3].isEmpty());
        QVERIFY(target->areas.destination[2].isNull());
        for (int k = 1; k <= 9; ++k) {
            QCOMPARE(target->distances.pairNumbers[k], source->distances.pairNumbers[k]);
            QCOMPARE(target->distances.pairNames[k], source->distances.pairNames[k]);
            QCOMPARE(target->distances.distance[k], source->distances.distance[k]);
            QCOMPARE(target->distances.weight[k], source->distances.weight[k]);
            QCOMPARE(target->interactions.interaction[k], source->interactions.interaction[k]);
        }
        QCOMPARE(target->distances.pairNumbers[2], QStringLiteral(" 1- 2"));
        QCOMPARE(target->distances.weight[1], FieldValue::fromNumber(100));
        QCOMPARE(target->distances.weight[3], FieldValue::fromText(QStringLiteral("3")));
        QCOMPARE(target->interactions.totalInteractions, 149.99999);
    }

    void everyKindRoundTripsThroughAFile_data() { addKindRows(); }
    void everyKindRoundTripsThroughAFile()
    {
        QFETCH(QString, kindName);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Urbaflux-%1-città").arg(kindName));
        const auto state = sampleState();
        const TitlePage page = sampleTitlePage();
        SaveResult saved;
        QString error;
        auto target = std::make_unique<ProjectState>();
        TitlePage targetPage;
        if (kindName == u"mod") {
            saved = writeModelChoiceFile(path, *state);
            const auto r = readModelChoiceFile(path);
            error = r.error;
            if (r.ok())
                applyModelChoice(*r.value, *target);
        } else if (kindName == u"dat") {
            saved = writeAreaFile(path, *state);
            const auto r = readAreaFile(path);
            error = r.error;
            if (r.ok())
                applyAreas(*r.value, *target);
        } else if (kindName == u"dis") {
            saved = writeDistanceFile(path, *state);
            const auto r = readDistanceFile(path);
            error = r.error;
            if (r.ok())
                applyDistances(*r.value, *target);
        } else if (kindName == u"fro") {
            saved = writeTitlePageFile(path, page);
            const auto r = readTitlePageFile(path);
            error = r.error;
            if (r.ok())
                applyTitlePage(*r.value, targetPage);
        } else if (kindName == u"tot") {
            saved = writeCompleteFile(path, *state, page);
            const auto r = readCompleteFile(path);
            error = r.error;
            if (r.ok())
                applyComplete(*r.value, *target, targetPage);
        } else {
            saved = writeInteractionFile(path, *state);
            const auto r = readInteractionFile(path);
            error = r.error;
            if (r.ok())
                applyInteractions(*r.value, *target);
        }
        QVERIFY2(saved.ok, qPrintable(saved.error));
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes, kind(kindName).write(*state, page));
        QCOMPARE(kind(kindName).write(*target, targetPage), bytes);
        // Every character of the sample fits Windows-1252: no byte order mark.
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
    }

    void textsOutsideWindows1252AreWrittenAsUtf8()
    {
        auto state = sampleState(1);
        state->areas.name[1] = QStringLiteral("Αθήνα");
        const QByteArray bytes = writeAreaBytes(*state);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const auto parsed = parseAreaBytes(bytes, QString());
        QVERIFY(parsed.ok());
        QCOMPARE(parsed.value->areas[0].name, QStringLiteral("Αθήνα"));
    }

    void doubleQuoteInATextKeepsTheFileWellFormed()
    {
        TitlePage page = sampleTitlePage();
        page.progetto = QStringLiteral("il \"nuovo\", piano");
        page.localita = QStringLiteral("\"");
        const auto parsed = parseTitlePageBytes(writeTitlePageBytes(page), QString());
        QVERIFY2(parsed.ok(), qPrintable(parsed.error));
        QCOMPARE(parsed.value->progetto, QStringLiteral("il \u201Dnuovo\u201D, piano"));
        QCOMPARE(parsed.value->localita, QStringLiteral("\u201D"));
        QCOMPARE(parsed.value->tipostudio, page.tipostudio);
        QCOMPARE(parsed.value->allegati, page.allegati);
    }

    // --- layouts ---------------------------------------------------------------------------

    void distanceArchiveOfTheExample()
    {
        auto state = std::make_unique<ProjectState>();
        state->areas.count = 2;
        state->areas.name[1] = QStringLiteral("Nord");
        state->areas.name[2] = QStringLiteral("Sud");
        buildPairList(*state);
        const QStringList distances = {QStringLiteral("2"), QStringLiteral("10"),
                                       QStringLiteral("10"), QStringLiteral("3")};
        for (int k = 1; k <= 4; ++k)
            state->distances.distance[k] = distances[k - 1];
        state->distances.weight[3] = FieldValue::fromText(QStringLiteral("50"));
        QCOMPARE(writeDistanceBytes(*state), QByteArray("2\r\n"
                                                        "\" 1- 1\",\"Nord-Nord\",\"2\",100\r\n"
                                                        "\" 1- 2\",\"Nord-Sud\",\"10\",100\r\n"
                                                        "\" 2- 1\",\"Sud-Nord\",\"10\",\"50\"\r\n"
                                                        "\" 2- 2\",\"Sud-Sud\",\"3\",100\r\n"));
    }

    void recordCounts_data()
    {
        QTest::addColumn<QString>("kindName");
        QTest::addColumn<int>("areas");
        QTest::addColumn<int>("lines");
        QTest::newRow("dis of 3 areas") << QStringLiteral("dis") << 3 << 10;
        QTest::newRow("dat of 3 areas") << QStringLiteral("dat") << 3 << 4;
        QTest::newRow("tot of 2 areas") << QStringLiteral("tot") << 2 << 11;
        QTest::newRow("tot without areas") << QStringLiteral("tot") << 0 << 5;
        QTest::newRow("int of 2 areas") << QStringLiteral("int") << 2 << 7;
        QTest::newRow("mod") << QStringLiteral("mod") << 2 << 1;
        QTest::newRow("fro") << QStringLiteral("fro") << 2 << 2;
    }
    void recordCounts()
    {
        QFETCH(QString, kindName);
        QFETCH(int, areas);
        QFETCH(int, lines);
        const auto state = sampleState(areas);
        const QByteArray bytes = kind(kindName).write(*state, sampleTitlePage());
        QCOMPARE(lineCount(bytes), lines);
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(bytes.count('\n'), lines); // no line end other than CR LF
    }

    void modelChoiceIsOneLineWithTheFifthItemBare()
    {
        auto state = std::make_unique<ProjectState>();
        applyDefaults(*state);
        state->model.kind = 2;
        state->model.kindLabel = QStringLiteral("'destinazione vincolata'");
        state->model.originType = QStringLiteral("residenti");
        state->model.destinationType = QStringLiteral("uffici");
        QCOMPARE(writeModelChoiceBytes(modelChoiceRecordOf(*state)),
                 QByteArray("\"residenti\",\"uffici\",\"spostamenti degli utenti\","
                            "\"'destinazione vincolata'\",2,\"2\",\"0.0001\",\"chilometri\"\r\n"));
    }

    void completeArchiveKeepsDefaultsBare()
    {
        auto state = std::make_unique<ProjectState>();
        applyDefaults(*state);
        const QByteArray bytes = writeCompleteBytes(*state, TitlePage());
        QVERIFY2(bytes.startsWith(",,\"spostamenti degli utenti\",,0,2,0.0001,\"chilometri\"\r\n"
                                  "0\r\n"),
                 bytes.constData());
        QVERIFY(bytes.endsWith("\"\",\"\",\"\",\"\"\r\n\"\",\"\",\"\",\"\"\r\n"));
    }

    void emptyTitlePageIsTwoLinesOfEmptyTexts()
    {
        const QByteArray bytes = writeTitlePageBytes(TitlePage());
        QCOMPARE(bytes, QByteArray("\"\",\"\",\"\",\"\"\r\n\"\",\"\",\"\",\"\"\r\n"));
        const auto parsed = parseTitlePageBytes(bytes, QString());
        QVERIFY(parsed.ok());
        for (const QString* field : parsed.value->fields())
            QVERIFY(field->isEmpty());
    }

    // --- older files -----------------------------------------------------------------------

    void legacyCompleteArchiveOpens()
    {
        // LF line ends, blanks around bare items, ".5", "1D-04", "1E+02", a trailing Ctrl-Z and
        // no end on the last line.
        const QByteArray bytes("\"res\",\"uff\",\"spostamenti\",\"'origine vincolata'\", 3 ,2,"
                               "1D-04,\"km\"\n"
                               "2\n"
                               "\"A\",\"100\",\"1\",.5,-.5\n"
                               "\"B\",\"50\",\"1\",1E+02,0\n"
                               "\" 1- 1\",\"A-A\",\"10\",100,50\n"
                               "\" 1- 2\",\"A-B\",\"10\",\"50\",5E+01\n"
                               "\" 2- 1\",\"B-A\",\"10\",100,25\n"
                               "\" 2- 2\",\"B-B\",\"10\",100,.25E+02\n"
                               "150,2,1.5D+02\n"
                               "\"p\",\"l\",\"t\",\"f\"\n"
                               "\"c\",\"lu\",\"d\",\"a\"\x1a");
        const auto parsed = parseCompleteBytes(bytes, QStringLiteral("vecchio"));
        QVERIFY2(parsed.ok(), qPrintable(parsed.error));
        const CompleteRecord& r = *parsed.value;
        QCOMPARE(r.model.kind, qint16(3));
        QCOMPARE(r.model.alpha, FieldValue::fromNumber(2));
        QCOMPARE(r.model.tolerance, FieldValue::fromNumber(0.0001));
        QCOMPARE(r.areas[0].estimatedOrigins, 0.5);
        QCOMPARE(r.areas[0].estimatedDestinations, -0.5);
        QCOMPARE(r.areas[1].estimatedOrigins, 100.0);
        QCOMPARE(r.pairs[1].weight, FieldValue::fromText(QStringLiteral("50")));
        QCOMPARE(r.pairs[1].interaction, 50.0f);
        QCOMPARE(r.pairs[3].interaction, 25.0f);
        QCOMPARE(r.totalInteractions, 150.0);
        QCOMPARE(r.titlePage.allegati, QStringLiteral("a"));
    }

    void legacyFilesOfEveryKindOpen_data()
    {
        QTest::addColumn<QString>("kindName");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("mod, CR alone") << QStringLiteral("mod")
                                       << QByteArray("\"a\",\"b\",\"c\",\"'origine vincolata'\","
                                                     "3,2,.0001,\"km\"\r");
        QTest::newRow("dat, Windows-1252, LF")
            << QStringLiteral("dat") << QByteArray("1\n\"Forl\xEC\",\".5\",\"3\"");
        QTest::newRow("dis, no last line end")
            << QStringLiteral("dis") << QByteArray("1\r\n\" 1- 1\",\"A-A\",\"1\",100");
        QTest::newRow("fro, Ctrl-Z") << QStringLiteral("fro")
                                     << QByteArray("\"a\",\"b\",\"c\",\"d\"\r\n\"e\",\"f\",\"g\","
                                                   "\"h\"\r\n\x1a");
        QTest::newRow("int, single exponents") << QStringLiteral("int")
                                               << QByteArray("1,\"'origine vincolata'\",3,1E+02,"
                                                             "1D+02,1E+02\r\n1E+02,1E+02\r\n"
                                                             "\" 1- 1\",\"A-A\",1E+02\r\n");
        QTest::newRow("dis, empty weight at the very end")
            << QStringLiteral("dis") << QByteArray("1\r\n\" 1- 1\",\"A-A\",\"1\",");
    }
    void legacyFilesOfEveryKindOpen()
    {
        QFETCH(QString, kindName);
        QFETCH(QByteArray, bytes);
        auto state = sampleState();
        TitlePage page;
        const QString error = kind(kindName).open(bytes, QStringLiteral("vecchio"), *state, page);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void legacyWindows1252AreaNamesReadBack()
    {
        const auto parsed =
            parseAreaBytes(QByteArray("1\r\n\"Forl\xEC \x80\",\"1\",\"2\"\r\n"), QString());
        QVERIFY(parsed.ok());
        QCOMPARE(parsed.value->areas[0].name, QStringLiteral("Forlì €"));
    }

    // --- refused files ---------------------------------------------------------------------

    void everyTruncationIsRefusedAndChangesNothing_data() { addKindRows(); }
    void everyTruncationIsRefusedAndChangesNothing()
    {
        QFETCH(QString, kindName);
        const Kind& k = kind(kindName);
        const QByteArray whole = k.write(*sampleState(2), sampleTitlePage());
        const QString name = QStringLiteral("Urbaflux-%1-tronco").arg(kindName);

        auto state = sampleState(3);
        state->areas.name[1] = QStringLiteral("intatto");
        TitlePage page = sampleTitlePage();
        page.progetto = QStringLiteral("intatto");
        const QByteArray before = fingerprint(*state, page) + writeTitlePageBytes(page);

        // Dropping whole lines always leaves the file short of its announced data.
        QList<qsizetype> lineEnds;
        for (qsizetype i = whole.indexOf("\r\n"); i >= 0; i = whole.indexOf("\r\n", i + 2))
            lineEnds << i;
        for (qsizetype cut : std::as_const(lineEnds).first(lineEnds.size() - 1)) {
            const QString error = k.open(whole.left(cut + 2), name, *state, page);
            QVERIFY2(error.contains(QStringLiteral("termina prima dei dati annunciati")),
                     qPrintable(error));
            QVERIFY2(error.contains(name), qPrintable(error));
        }
        QVERIFY(k.open(QByteArray(), name, *state, page).contains(name));
        // Cut anywhere, a file is refused or read; it is never half applied.
        for (qsizetype cut = 0; cut < whole.size(); ++cut) {
            auto scratch = sampleState(3);
            TitlePage scratchPage;
            const QString error = k.open(whole.left(cut), name, *scratch, scratchPage);
            if (!error.isEmpty())
                QCOMPARE(fingerprint(*scratch, scratchPage), fingerprint(*sampleState(3), {}));
        }
        QCOMPARE(fingerprint(*state, page) + writeTitlePageBytes(page), before);
    }

    void malformedFilesAreRefused_data()
    {
        QTest::addColumn<QString>("kindName");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray mod4 = "\"a\",\"b\",\"c\",\"d\",4,2,0.0001,\"km\"\r\n";
        QTest::newRow("dat count above 180") << QStringLiteral("dat") << QByteArray("181\r\n")
                                             << QStringLiteral("dichiara 181 aree");
        QTest::newRow("dis count above 180") << QStringLiteral("dis") << QByteArray("1000000\r\n")
                                             << QStringLiteral("più delle 180 possibili");
        QTest::newRow("int huge count")
            << QStringLiteral("int") << QByteArray("1E+300,\"\",1,0,0,0")
            << QStringLiteral("più delle 180 possibili");
        QTest::newRow("negative count")
            << QStringLiteral("dat") << QByteArray("-1\r\n") << QStringLiteral("è negativo");
        QTest::newRow("count not whole") << QStringLiteral("dis") << QByteArray("2.5\r\n")
                                         << QStringLiteral("non è un numero intero");
        QTest::newRow("count a word")
            << QStringLiteral("dat") << QByteArray("tre\r\n") << QStringLiteral("«tre»");
        QTest::newRow("count a quoted word")
            << QStringLiteral("dat") << QByteArray("\"tre\"\r\n")
            << QStringLiteral("il numero delle aree non è un numero");
        QTest::newRow("mod kind 4")
            << QStringLiteral("mod") << mod4 << QStringLiteral("non è 1, 2 o 3");
        QTest::newRow("mod kind 0")
            << QStringLiteral("mod") << QByteArray("\"a\",\"b\",\"c\",\"\",0,2,1,\"km\"")
            << QStringLiteral("non è 1, 2 o 3");
        QTest::newRow("mod kind empty")
            << QStringLiteral("mod") << QByteArray("\"a\",\"b\",\"c\",\"\",,2,1,\"km\"")
            << QStringLiteral("(vuoto) non è 1, 2 o 3");
        QTest::newRow("mod kind not whole")
            << QStringLiteral("mod") << QByteArray("\"a\",\"b\",\"c\",\"\",1.5,2,1,\"km\"")
            << QStringLiteral("non è 1, 2 o 3");
        QTest::newRow("tot kind 4") << QStringLiteral("tot") << mod4 + "0\r\n0,0,0\r\n"
                                    << QStringLiteral("non è 1, 2 o 3");
        QTest::newRow("int kind 5") << QStringLiteral("int") << QByteArray("0,\"\",5,0,0,0\r\n")
                                    << QStringLiteral("non è 0, 1, 2 o 3");
        QTest::newRow("interaction too large for single precision")
            << QStringLiteral("int")
            << QByteArray("1,\"\",3,0,0,0\r\n0,0\r\n\" 1- 1\",\"A-A\",1E+39\r\n")
            << QStringLiteral("alla riga 3 il valore «1E+39» non è un numero entro i limiti "
                              "ammessi");
        // What a hostile file holds reaches the message only as a short printable excerpt.
        QTest::newRow("terminal escape in the count")
            << QStringLiteral("dat") << QByteArray("\x1B]0;titolo\x07\x1B[2J\r\n")
            << QStringLiteral("«\uFFFD]0;titolo\uFFFD\uFFFD[2J»");
        QTest::newRow("NUL bytes in a value")
            << QStringLiteral("int")
            << QByteArray("1,\"\",3,0,0,0\r\n0,0\r\n\"a\",\"b\",\"") + QByteArray(3, '\0') + "\""
            << QStringLiteral("(«\uFFFD\uFFFD\uFFFD»)");
        QTest::newRow("a long word")
            << QStringLiteral("dat") << QByteArray(5000, 'z')
            << QStringLiteral("«") + QString(40, QLatin1Char('z')) + QStringLiteral("…»");
        QTest::newRow("unclosed text")
            << QStringLiteral("fro") << QByteArray("\"a\",\"b\",\"c\",\"d\r\n")
            << QStringLiteral("non è chiuso");
        QTest::newRow("estimate not a number")
            << QStringLiteral("int") << QByteArray("1,\"\",3,0,0,0\r\n\"x\",0\r\n")
            << QStringLiteral("un valore non è un numero");
    }
    void malformedFilesAreRefused()
    {
        QFETCH(QString, kindName);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        auto state = sampleState();
        TitlePage page = sampleTitlePage();
        const QByteArray before = fingerprint(*state, page);
        const QString name = QStringLiteral("Urbaflux-%1-guasto").arg(kindName);
        const QString error = kind(kindName).open(bytes, name, *state, page);
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY2(error.startsWith(QStringLiteral("Il file \"%1\" non è un archivio").arg(name)),
                 qPrintable(error));
        QVERIFY(error.endsWith(QLatin1Char('.')));
        QVERIFY(error.size() < 300);
        for (const QChar c : error)
            QVERIFY2(c.isPrint(), qPrintable(error));
        QCOMPARE(fingerprint(*state, page), before);
    }

    // Whatever the spelling, a value that is no finite number in range of its field is refused
    // with the same reason, quoting it as written.
    void nonFiniteValuesAreRefusedAlike_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("single");
        for (const char* spelling : {"1E+39", "-3.5e38", "1e400", "-1E400", "Inf", "-Inf", "inf",
                                     "+Infinity", "NaN", "nan", "\"1e400\"", "\"Inf\""})
            QTest::newRow(spelling) << QByteArray(spelling) << true;
        for (const char* spelling : {"1e400", "Inf", "-inf", "NaN", "\"nan\""})
            QTest::newRow(qPrintable(QStringLiteral("total %1").arg(QLatin1String(spelling))))
                << QByteArray(spelling) << false;
    }
    void nonFiniteValuesAreRefusedAlike()
    {
        QFETCH(QByteArray, value);
        QFETCH(bool, single);
        const QByteArray bytes =
            single ? "1,\"\",3,0,0,0\r\n0,0\r\n\" 1- 1\",\"A-A\"," + value + "\r\n"
                   : "1,\"\",3,0,0,0\r\n" + value + ",0\r\n\" 1- 1\",\"A-A\",1\r\n";
        const auto parsed = parseInteractionBytes(bytes, QStringLiteral("x"));
        QVERIFY(!parsed.ok());
        QString written = QString::fromLatin1(value);
        written.remove(QLatin1Char('"'));
        QVERIFY2(parsed.error.endsWith(
                     QStringLiteral("alla riga%1 il valore «%2» non è un numero entro i limiti "
                                    "ammessi.")
                         .arg(single ? QStringLiteral(" 3") : QStringLiteral(" 2"), written)),
                 qPrintable(parsed.error));
    }

    // Totals come from the typed texts, so "1e400" typed as an origin makes one infinite. Since
    // no reader takes infinities, the writer leaves such a value out and the file still opens.
    void nonFiniteTotalsAreWrittenAsNothing()
    {
        auto state = sampleState(2);
        state->areas.totalOrigins = std::numeric_limits<double>::infinity();
        state->interactions.totalInteractions = std::numeric_limits<double>::quiet_NaN();
        state->interactions.interaction[1] = -std::numeric_limits<float>::infinity();
        const auto complete = parseCompleteBytes(writeCompleteBytes(*state, {}), QString());
        QVERIFY2(complete.ok(), qPrintable(complete.error));
        QCOMPARE(complete.value->totalOrigins, 0.0);
        QCOMPARE(complete.value->totalInteractions, 0.0);
        QCOMPARE(complete.value->pairs[0].interaction, 0.0f);
        const auto results = parseInteractionBytes(writeInteractionBytes(*state), QString());
        QVERIFY2(results.ok(), qPrintable(results.error));
        QCOMPARE(results.value->totalOrigins, 0.0);
    }

    void largestSingleValuesReadBack_data()
    {
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<float>("value");
        QTest::newRow("shortest text of the largest single")
            << QByteArray("3.4028235E+38") << FLT_MAX;
        QTest::newRow("just below it") << QByteArray("3.4028234E+38") << FLT_MAX;
        QTest::newRow("negative") << QByteArray("-3.4028235E+38") << -FLT_MAX;
    }
    void largestSingleValuesReadBack()
    {
        QFETCH(QByteArray, written);
        QFETCH(float, value);
        const auto parsed = parseInteractionBytes(
            "1,\"\",3,0,0,0\r\n0,0\r\n\" 1- 1\",\"A-A\"," + written, QString());
        QVERIFY2(parsed.ok(), qPrintable(parsed.error));
        QCOMPARE(parsed.value->pairs[0].interaction, value);
        auto state = std::make_unique<ProjectState>();
        applyInteractions(*parsed.value, *state);
        const auto again = parseInteractionBytes(writeInteractionBytes(*state), QString());
        QVERIFY2(again.ok(), qPrintable(again.error));
        QCOMPARE(again.value->pairs[0].interaction, value);
    }

    void quotedNumbersAreAcceptedWhereNumbersStand()
    {
        const auto parsed = parseAreaBytes(QByteArray("\" 1 \"\r\n\"a\",\"b\",\"c\""), QString());
        QVERIFY2(parsed.ok(), qPrintable(parsed.error));
        QCOMPARE(parsed.value->count, 1);
    }

    void emptyCountMeansNoAreas()
    {
        const auto parsed = parseCompleteBytes(
            QByteArray(",,,,1,,,\r\n\r\n,,\r\n\"\",\"\",\"\",\"\"\r\n\"\",\"\",\"\",\"\"\r\n"),
            QString());
        QVERIFY2(parsed.ok(), qPrintable(parsed.error));
        QCOMPARE(parsed.value->count, 0);
        QVERIFY(parsed.value->model.alpha.isUnset());
    }

    void missingFileIsNamed()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Urbaflux-dis-assente"));
        const auto parsed = readDistanceFile(path);
        QVERIFY(!parsed.ok());
        QVERIFY2(parsed.error.contains(path) && parsed.error.contains(QStringLiteral("non esiste")),
                 qPrintable(parsed.error));
        const auto folder = readCompleteFile(dir.path());
        QVERIFY2(folder.error.contains(QStringLiteral("cartella")), qPrintable(folder.error));
    }

    // --- applying --------------------------------------------------------------------------

    void openingDistancesOfFourAreasOverThree()
    {
        auto state = sampleState(3);
        const auto four = sampleState(4);
        const auto parsed = parseDistanceBytes(writeDistanceBytes(*four), QString());
        QVERIFY(parsed.ok());
        applyDistances(*parsed.value, *state);
        QCOMPARE(state->areas.count, 4);
        QCOMPARE(state->distances.pairNumbers[16], QStringLiteral(" 4- 4"));
        // Names stay those of the three areas until the area window rebuilds the labels.
        QCOMPARE(state->areas.name[3], QStringLiteral(""));
        QCOMPARE(state->areas.origin[1], sampleState(3)->areas.origin[1]);
    }

    void openingFewerAreasEmptiesTheOldOnes()
    {
        auto state = sampleState(4);
        const auto two = sampleState(2);
        const auto parsed = parseAreaBytes(writeAreaBytes(*two), QString());
        QVERIFY(parsed.ok());
        applyAreas(*parsed.value, *state);
        QCOMPARE(state->areas.count, 2);
        QCOMPARE(state->areas.name[1], QStringLiteral(" Nord, centro"));
        for (int i = 3; i <= 4; ++i) {
            QVERIFY(state->areas.name[i].isEmpty());
            QVERIFY(state->areas.origin[i].isEmpty());
            QVERIFY(state->areas.destination[i].isEmpty());
        }
    }

    void openingInteractionsClearsTheOldPairs()
    {
        auto state = sampleState(3);
        const auto two = sampleState(2);
        const auto parsed = parseInteractionBytes(writeInteractionBytes(*two), QString());
        QVERIFY(parsed.ok());
        applyInteractions(*parsed.value, *state);
        QCOMPARE(state->areas.count, 2);
        QCOMPARE(state->distances.pairNumbers[4], QStringLiteral(" 2- 2"));
        QVERIFY(state->distances.pairNumbers[9].isEmpty());
        QCOMPARE(state->interactions.interaction[9], 0.0f);
        // Distances are not in this archive and stay as they were.
        QCOMPARE(state->distances.distance[9], sampleState(3)->distances.distance[9]);
    }

    void completeArchiveEmptiesNothingBeyondItsAreas()
    {
        auto state = sampleState(4);
        const auto parsed =
            parseCompleteBytes(writeCompleteBytes(*sampleState(2), sampleTitlePage()), QString());
        QVERIFY(parsed.ok());
        TitlePage page;
        applyComplete(*parsed.value, *state, page);
        QCOMPARE(state->areas.count, 2);
        QCOMPARE(state->areas.name[4], QStringLiteral("Sud"));
        QCOMPARE(page, sampleTitlePage());
    }

    // --- saving ----------------------------------------------------------------------------

    void saveIntoAMissingFolderIsReported()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("manca/Urbaflux-fro-x"));
        const SaveResult saved = writeTitlePageFile(path, sampleTitlePage());
        QVERIFY(!saved.ok);
        QVERIFY2(saved.error.contains(path), qPrintable(saved.error));
        QVERIFY(!QFile::exists(path));
    }

    void failedSaveLeavesThePreviousFile()
    {
#ifdef Q_OS_LINUX
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Urbaflux-tot-vecchio"));
        const QByteArray old("vecchio contenuto\r\n");
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(old);
        }
        // A file size limit makes the write fail part way, for root as for anyone. The save
        // itself keeps the limit's signal from killing the process.
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit limited = saved;
        limited.rlim_cur = 64;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const SaveResult result = writeCompleteFile(path, *sampleState(3), sampleTitlePage());
        setrlimit(RLIMIT_FSIZE, &saved);

        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(path), qPrintable(result.error));
        QVERIFY2(result.error.contains(QStringLiteral("(il file supera la dimensione massima "
                                                      "consentita). Il file precedente resta "
                                                      "invariato.")),
                 qPrintable(result.error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
#else
        QSKIP("needs a file size limit");
#endif
    }
};

QTEST_GUILESS_MAIN(TestArchiveKinds)
#include "tst_archivekinds.moc"
