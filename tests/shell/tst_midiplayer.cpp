#include "midiplayer.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <fluidsynth.h>

using namespace urbaflux;

class TestMidiPlayer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { MidiPlayer::setAudioAllowed(true); }

    void ourTuneIsAMidiFile()
    {
        const QString tune = QFINDTESTDATA("../../resources/Internet.mid");
        QVERIFY(!tune.isEmpty());
        QVERIFY(fluid_is_midifile(QFile::encodeName(tune).constData()));
    }

    void commandsAreKeptWithoutAudio()
    {
        MidiPlayer::setAudioAllowed(false);
        MidiPlayer player;
        player.setFileName(QFINDTESTDATA("../../resources/Internet.mid"));
        for (const char* verb : {"open", "play", "pause", "play", "close", "bogus"})
            player.command(QString::fromLatin1(verb));
        QCOMPARE(player.commands().size(), 6);
        QVERIFY(!player.isOpen());
        QVERIFY(!player.isPlaying());
    }

    void missingOrBrokenFileIsSilent_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::newRow("no file") << QByteArray();
        QTest::newRow("not midi") << QByteArray("MThd but not really");
    }
    void missingOrBrokenFileIsSilent()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Internet.mid"));
        if (!content.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        MidiPlayer player;
        player.setFileName(path);
        player.command(QStringLiteral("open"));
        player.command(QStringLiteral("play"));
        QVERIFY(!player.isOpen());
        QVERIFY(!player.isPlaying());
        player.command(QStringLiteral("close"));
    }

    void realFileNeverBlocks()
    {
        // With or without an audio device here, the commands come back and the state holds.
        MidiPlayer player;
        player.setFileName(QFINDTESTDATA("../../resources/Internet.mid"));
        player.command(QStringLiteral("open"));
        player.command(QStringLiteral("play"));
        // Playing exactly when a device took the tune: silent machines neither play nor pretend to.
        QCOMPARE(player.isPlaying(), player.isOpen());
        player.command(QStringLiteral("pause"));
        QVERIFY(!player.isPlaying());
        player.command(QStringLiteral("play"));
        QCOMPARE(player.isPlaying(), player.isOpen());
        player.command(QStringLiteral("close"));
        // Every command came back (the test would hang otherwise) and was kept in order.
        QCOMPARE(player.commands(), QStringList({QStringLiteral("open"), QStringLiteral("play"),
                                                 QStringLiteral("pause"), QStringLiteral("play"),
                                                 QStringLiteral("close")}));
        QVERIFY(!player.isPlaying());
        QVERIFY(!player.isOpen());
    }
};

QTEST_MAIN(TestMidiPlayer)
#include "tst_midiplayer.moc"
