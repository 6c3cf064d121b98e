// The seed corpus of the fuzz targets, and the inputs that once made them fail, run through
// the ordinary build: each file parses or is refused with a message, and what parses writes
// the same bytes after a second round.

#include "archivefile.h"
#include "areaarchive.h"
#include "completearchive.h"
#include "distancearchive.h"
#include "interactionarchive.h"
#include "modelchoicearchive.h"
#include "recoveryarchive.h"
#include "titlepagearchive.h"

#include <calculation.h>

#include <QDir>
#include <QFile>
#include <QTest>
#include <functional>
#include <memory>

using namespace urbaflux;

namespace {

// Returns the bytes written after one round, or a null array when the file was refused.
using Round = std::function<QByteArray(const QByteArray&, ProjectState&, QString&)>;

template <typename Parse, typename ApplyWrite> Round round(Parse parse, ApplyWrite applyWrite)
{
    return [parse, applyWrite](const QByteArray& bytes, ProjectState& state, QString& error) {
        const auto parsed = parse(bytes, QStringLiteral("corpus"));
        error = parsed.error;
        return parsed.ok() ? applyWrite(*parsed.value, state) : QByteArray();
    };
}

Round roundFor(const QString& kind)
{
    if (kind == u"modelchoice")
        return round(parseModelChoiceBytes, [](const ModelChoiceRecord& r, ProjectState& s) {
            applyModelChoice(r, s);
            return writeModelChoiceBytes(modelChoiceRecordOf(s));
        });
    if (kind == u"areas")
        return round(parseAreaBytes, [](const AreaRecords& r, ProjectState& s) {
            applyAreas(r, s);
            return writeAreaBytes(s);
        });
    if (kind == u"distances")
        return round(parseDistanceBytes, [](const DistanceRecords& r, ProjectState& s) {
            applyDistances(r, s);
            return writeDistanceBytes(s);
        });
    if (kind == u"titlepage")
        return round(parseTitlePageBytes, [](const TitlePageRecord& r, ProjectState&) {
            TitlePage page;
            applyTitlePage(r, page);
            return writeTitlePageBytes(page);
        });
    if (kind == u"complete")
        return round(parseCompleteBytes, [](const CompleteRecord& r, ProjectState& s) {
            TitlePage page;
            applyComplete(r, s, page);
            return writeCompleteBytes(s, page);
        });
    if (kind == u"recovery")
        return round(parseRecoveryBytes, [](const RecoveryRecord& r, ProjectState& s) {
            TitlePage page;
            applyComplete(r.elaboration, s, page);
            return writeRecoveryBytes(s, page, r.written);
        });
    return round(parseInteractionBytes, [](const InteractionRecords& r, ProjectState& s) {
        applyInteractions(r, s);
        return writeInteractionBytes(s);
    });
}

// The batch calculator's path: the archive it writes after a completed run, else null.
QByteArray calculated(const QByteArray& bytes)
{
    const auto archive = parseCompleteBytes(bytes, QStringLiteral("corpus"));
    if (!archive.ok())
        return QByteArray();
    auto state = std::make_unique<ProjectState>();
    applyDefaults(*state);
    TitlePage page;
    applyComplete(*archive.value, *state, page);
    computeAreaTotals(*state);
    if (!calculateInteractions(*state).completed())
        return QByteArray();
    return writeCompleteBytes(*state, page);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestFuzzCorpus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void kindsRoundTrip_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("path");
        const QDir corpus(QStringLiteral(URBAFLUX_FUZZ_CORPUS));
        for (const char* kind : {"modelchoice", "areas", "distances", "titlepage", "complete",
                                 "interactions", "recovery"}) {
            const QDir dir(corpus.filePath(QString::fromLatin1(kind)));
            for (const QString& name : dir.entryList(QDir::Files))
                QTest::newRow(qPrintable(QStringLiteral("%1/%2").arg(QLatin1String(kind), name)))
                    << QString::fromLatin1(kind) << dir.filePath(name);
        }
    }
    void kindsRoundTrip()
    {
        QFETCH(QString, kind);
        QFETCH(QString, path);
        const Round once = roundFor(kind);
        auto state = std::make_unique<ProjectState>();
        QString error;
        const QByteArray written = once(readFile(path), *state, error);
        if (written.isNull()) {
            QVERIFY(!error.isEmpty());
            return;
        }
        QCOMPARE(once(written, *state, error), written);
    }

    void calculationsSettle_data()
    {
        QTest::addColumn<QString>("path");
        const QDir dir(QStringLiteral(URBAFLUX_FUZZ_CORPUS "/calc"));
        for (const QString& name : dir.entryList(QDir::Files))
            QTest::newRow(qPrintable(name)) << dir.filePath(name);
    }
    void calculationsSettle()
    {
        QFETCH(QString, path);
        const QByteArray once = calculated(readFile(path));
        if (!once.isNull())
            QCOMPARE(calculated(once), once);
    }

    void readerRoundTrips_data()
    {
        QTest::addColumn<QString>("path");
        const QDir dir(QStringLiteral(URBAFLUX_FUZZ_CORPUS "/reader"));
        for (const QString& name : dir.entryList(QDir::Files))
            QTest::newRow(qPrintable(name)) << dir.filePath(name);
    }
    void readerRoundTrips()
    {
        QFETCH(QString, path);
        const QString text = decodeArchiveBytes(readFile(path));
        QCOMPARE(decodeArchiveBytes(encodeArchiveText(text)), text);
        ArchiveReader reader(text);
        ArchiveItem item;
        while (reader.next(item)) {
        }
        QVERIFY(reader.atEnd());
    }
};

QTEST_GUILESS_MAIN(TestFuzzCorpus)
#include "tst_fuzzcorpus.moc"
