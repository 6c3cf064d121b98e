// Saves that fail half-way: a write refused by the system (injected, so that it runs
// everywhere), a real full disk and a read-only disk (a small tmpfs the test mounts when it
// may). Every time the previous file is still there byte for byte, or absent when there was
// none, no temporary file is left, and the message says why in Italian.

#include "../support/smallfilesystem.h"

#include "archivefile.h"
#include "fileerror.h"
#include "safefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace urbaflux;

namespace {

const QByteArray kOld = QByteArrayLiteral("\"vecchio\",1\r\n");

QByteArray newBytes(int size)
{
    QByteArray bytes(size, 'n');
    for (int i = 0; i < size; i += 97)
        bytes[i] = char('a' + i % 26);
    return bytes;
}

bool writePlain(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<absent>");
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

} // namespace

class TestSafeFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void injectedWriteFailureKeepsThePreviousFile_data()
    {
        QTest::addColumn<bool>("previous");
        QTest::addColumn<int>("error");
        QTest::addColumn<qint64>("after");
        QTest::addColumn<QString>("reason");
        QTest::newRow("full disk at once, over a file")
            << true << ENOSPC << qint64(0) << QStringLiteral("il disco è pieno");
        QTest::newRow("full disk half-way, over a file")
            << true << ENOSPC << qint64(70000) << QStringLiteral("il disco è pieno");
        QTest::newRow("full disk half-way, new file")
            << false << ENOSPC << qint64(70000) << QStringLiteral("il disco è pieno");
        QTest::newRow("quota, new file")
            << false << EDQUOT << qint64(10)
            << QStringLiteral("lo spazio concesso all'utente sul disco è esaurito");
        QTest::newRow("file size limit, over a file")
            << true << EFBIG << qint64(4096)
            << QStringLiteral("il file supera la dimensione massima consentita");
        QTest::newRow("device error, over a file")
            << true << EIO << qint64(1)
            << QStringLiteral("errore del dispositivo durante la lettura o la scrittura");
    }
    void injectedWriteFailureKeepsThePreviousFile()
    {
        QFETCH(bool, previous);
        QFETCH(int, error);
        QFETCH(qint64, after);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Urbaflux-tot-prova"));
        if (previous)
            QVERIFY(writePlain(path, kOld));
        SafeFile::injectWriteFailure(after, error);
        const SaveResult saved = saveArchiveBytes(path, newBytes(200000));
        QVERIFY(!saved.ok);
        QCOMPARE(saved.error,
                 QStringLiteral("Impossibile salvare il file \"%1\": la scrittura non è riuscita "
                                "(%2). %3")
                     .arg(path, reason,
                          previous ? QStringLiteral("Il file precedente resta invariato.")
                                   : QStringLiteral("Nessun file è stato modificato.")));
        QCOMPARE(contentOf(path), previous ? kOld : QByteArray("<absent>"));
        QCOMPARE(entriesOf(dir.path()),
                 previous ? QStringList{QStringLiteral("Urbaflux-tot-prova")} : QStringList());

        // The failure was for one file only: the next save goes through.
        QVERIFY(saveArchiveBytes(path, newBytes(1000)).ok);
        QCOMPARE(contentOf(path), newBytes(1000));
    }

    // A writer that gives up is not a success either, and its reason is kept.
    void abandonedWriteKeepsThePreviousFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("documento"));
        QVERIFY(writePlain(path, kOld));
        SafeFile file(path);
        QVERIFY(file.open());
        QCOMPARE(file.write(newBytes(5000)), qint64(5000));
        file.discard(QStringLiteral("il disegno non è riuscito"));
        QVERIFY(!file.commit());
        QCOMPARE(file.failureMessage(QStringLiteral("il documento")),
                 QStringLiteral("Impossibile salvare il documento \"%1\": il disegno non è "
                                "riuscito. Il file precedente resta invariato.")
                     .arg(path));
        QCOMPARE(contentOf(path), kOld);
        QCOMPARE(entriesOf(dir.path()), QStringList{QStringLiteral("documento")});
    }

    // A seekable device: the zip packages go back to fill in their headers.
    void seeksBackAndKeepsTheMode()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pacchetto"));
        QVERIFY(writePlain(path, kOld));
        QVERIFY(
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        SafeFile file(path);
        QVERIFY(file.open());
        QCOMPARE(file.write("0123456789"), qint64(10));
        QVERIFY(file.seek(2));
        QCOMPARE(file.write("ab"), qint64(2));
        QVERIFY(file.seek(10));
        QCOMPARE(file.write("Z"), qint64(1));
        QCOMPARE(file.size(), qint64(11));
        QVERIFY(file.commit());
        QCOMPARE(contentOf(path), QByteArray("01ab456789Z"));
        struct stat info = {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0640));
    }

    // The reasons the system gives as one refusal, told apart.
    void writeProblemsSayTheRealReason_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing folder") << QStringLiteral("manca/file") << ENOENT
                                        << QStringLiteral("la cartella \"%1/manca\" non esiste");
        QTest::newRow("folder refuses writing")
            << QStringLiteral("file") << EACCES
            << QStringLiteral("non si ha il permesso di scrivere nella cartella \"%1\"");
        QTest::newRow("read-only disk")
            << QStringLiteral("file") << EROFS << QStringLiteral("il disco è in sola lettura");
        QTest::newRow("full disk")
            << QStringLiteral("file") << ENOSPC << QStringLiteral("il disco è pieno");
        QTest::newRow("quota") << QStringLiteral("file") << EDQUOT
                               << QStringLiteral("lo spazio concesso all'utente sul disco è "
                                                 "esaurito");
        QTest::newRow("name too long") << QStringLiteral("file") << ENAMETOOLONG
                                       << QStringLiteral("il nome del file è troppo lungo");
    }
    void writeProblemsSayTheRealReason()
    {
        QFETCH(QString, name);
        QFETCH(int, error);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QCOMPARE(writeProblem(dir.filePath(name), error),
                 reason.contains(u'%') ? reason.arg(dir.path()) : reason);
    }

    // Only for a user the permissions apply to: root may write anything.
    void protectedFileIsNotReplaced()
    {
        if (::geteuid() == 0)
            QSKIP("root may write over a protected file: run as a user to see the refusal");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("protetto"));
        QVERIFY(writePlain(path, kOld));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        const SaveResult saved = saveArchiveBytes(path, newBytes(10));
        QCOMPARE(saved.error, QStringLiteral("Impossibile salvare il file \"%1\": il file è "
                                             "protetto dalla scrittura. Nessun file è stato "
                                             "modificato.")
                                  .arg(path));
        QCOMPARE(contentOf(path), kOld);
    }

    void fullDiskKeepsThePreviousFileAndLeavesNothing()
    {
        QTemporaryDir dir;
        if (const QString why = testing::mountSmallFileSystem(dir.path(), 256); !why.isEmpty())
            QSKIP(qPrintable(QStringLiteral("no small file system: ") + why));
        const QString path = dir.filePath(QStringLiteral("Urbaflux-tot-pieno"));
        QVERIFY(writePlain(path, kOld));
        QVERIFY(testing::fillFileSystem(dir.path(), 16 * 1024));
        const SaveResult saved = saveArchiveBytes(path, newBytes(100000));
        const QByteArray left = contentOf(path);
        const QStringList entries = entriesOf(dir.path());
        // What fits still fits: the failed save gave its space back.
        const bool small = saveArchiveBytes(path, newBytes(2000)).ok;
        const QByteArray after = contentOf(path);
        testing::unmountSmallFileSystem(dir.path());
        QCOMPARE(saved.error, QStringLiteral("Impossibile salvare il file \"%1\": la scrittura "
                                             "non è riuscita (il disco è pieno). Il file "
                                             "precedente resta invariato.")
                                  .arg(path));
        QCOMPARE(left, kOld);
        QCOMPARE(entries,
                 (QStringList{QStringLiteral("Urbaflux-tot-pieno"), QStringLiteral("filler")}));
        QVERIFY(small);
        QCOMPARE(after, newBytes(2000));
    }

    void readOnlyDiskIsSaidSo()
    {
        QTemporaryDir dir;
        if (const QString why = testing::mountSmallFileSystem(dir.path(), 64); !why.isEmpty())
            QSKIP(qPrintable(QStringLiteral("no small file system: ") + why));
        const QString path = dir.filePath(QStringLiteral("Urbaflux-tot-letto"));
        const bool written = writePlain(path, kOld);
        const bool readOnly = testing::remountReadOnly(dir.path());
        const SaveResult over = saveArchiveBytes(path, newBytes(10));
        const SaveResult fresh =
            saveArchiveBytes(dir.filePath(QStringLiteral("Urbaflux-tot-nuovo")), newBytes(10));
        const QByteArray left = contentOf(path);
        testing::unmountSmallFileSystem(dir.path());
        QVERIFY(written && readOnly);
        const QString expected = QStringLiteral("Impossibile salvare il file \"%1\": il disco è in "
                                                "sola lettura. Nessun file è stato modificato.");
        QCOMPARE(over.error, expected.arg(path));
        QCOMPARE(fresh.error, expected.arg(dir.filePath(QStringLiteral("Urbaflux-tot-nuovo"))));
        QCOMPARE(left, kOld);
    }
};

QTEST_GUILESS_MAIN(TestSafeFile)
#include "tst_safefile.moc"
