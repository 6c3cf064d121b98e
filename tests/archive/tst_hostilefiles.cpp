// Files that are not what an archive should be: devices, FIFOs, endless streams, links,
// names the file system cannot hold. Device nodes are made with mknod in a temporary folder,
// never taken from /dev; where the system does not allow mknod the test is skipped.

#include "archivefile.h"
#include "areaarchive.h"
#include "completearchive.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

using namespace urbaflux;

namespace {

enum class Node
{
    ZeroDevice,
    NullDevice,
    Fifo,
    Folder
};

// Makes the node at path; false when the system does not let us.
bool makeNode(const QString& path, Node node)
{
    const QByteArray name = QFile::encodeName(path);
    switch (node) {
    case Node::ZeroDevice:
        return ::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 5)) == 0;
    case Node::NullDevice:
        return ::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    case Node::Fifo:
        return ::mknod(name.constData(), S_IFIFO | 0666, 0) == 0;
    case Node::Folder:
        return ::mkdir(name.constData(), 0755) == 0;
    }
    return false;
}

mode_t typeOf(const QString& path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ProjectState& oneArea()
{
    static ProjectState state;
    state.areas.count = 1;
    state.areas.name[1] = QStringLiteral("Nord");
    state.areas.origin[1] = QStringLiteral("10");
    state.areas.destination[1] = QStringLiteral("20");
    return state;
}

} // namespace

Q_DECLARE_METATYPE(Node)
Q_DECLARE_METATYPE(urbaflux::ArchiveSource)

class TestHostileFiles : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    // Whatever the file, at most the limit and one byte are read: /dev/zero is refused at once
    // instead of filling the memory, and a FIFO chosen in a dialog does not hang the window.
    void readsAreBounded_data()
    {
        QTest::addColumn<Node>("node");
        QTest::addColumn<ArchiveSource>("source");
        QTest::addColumn<QString>("message");
        const QString tooLarge =
            QStringLiteral("Il file \"%1\" non è un archivio delle origini "
                           "e delle destinazioni valido: è troppo grande (oltre 64 MiB).");
        const QString notAFile = QStringLiteral("\"%1\" non è un file ma un dispositivo o un "
                                                "canale di comunicazione: scegliere un file "
                                                "d'archivio.");
        QTest::newRow("endless device, streams allowed")
            << Node::ZeroDevice << ArchiveSource::AnyFile << tooLarge;
        QTest::newRow("endless device from a dialog")
            << Node::ZeroDevice << ArchiveSource::RegularFile << notAFile;
        QTest::newRow("FIFO without a writer from a dialog")
            << Node::Fifo << ArchiveSource::RegularFile << notAFile;
    }
    void readsAreBounded()
    {
        QFETCH(Node, node);
        QFETCH(ArchiveSource, source);
        QFETCH(QString, message);
        const QString path = m_dir.filePath(
            QStringLiteral("nodo-%1").arg(QString::fromLatin1(QTest::currentDataTag())));
        if (!makeNode(path, node))
            QSKIP("mknod is not allowed here");
        const auto read = readArchiveFileBytes(
            path, QStringLiteral("un archivio delle origini e delle destinazioni"), source);
        QVERIFY(!read.ok());
        QCOMPARE(read.error, message.arg(path));
    }

    void largeRegularFileIsRefusedUnread()
    {
        const QString path = m_dir.filePath(QStringLiteral("Urbaflux-dat-enorme"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(kMaxArchiveBytes + 1)); // sparse: nothing written
        file.close();
        const auto read = readAreaFile(path);
        QVERIFY2(read.error.endsWith(QStringLiteral("è troppo grande (oltre 64 MiB).")),
                 qPrintable(read.error));
    }

    // The batch calculator reads pipes: a FIFO is read as its writer gives the bytes.
    // One limit both ways: what is written can be read again, and the refusal names it.
    void writesAreBoundedLikeReads()
    {
        const QString path = m_dir.filePath(QStringLiteral("Urbaflux-tot-enorme"));
        const SaveResult refused = saveArchiveBytes(path, QByteArray(kMaxArchiveBytes + 1, 'x'));
        QCOMPARE(refused.error,
                 QStringLiteral("Impossibile salvare il file \"%1\": l'archivio supererebbe i 64 "
                                "MiB che il programma può rileggere. Nessun file è stato "
                                "modificato.")
                     .arg(path));
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(saveArchiveBytes(path, QByteArray(kMaxArchiveBytes, 'x')).ok);
        QCOMPARE(readArchiveFileBytes(path, QStringLiteral("un archivio")).value->size(),
                 kMaxArchiveBytes);
        QFile::remove(path);
    }

    void pipesAreReadWhenAllowed()
    {
        const QString path = m_dir.filePath(QStringLiteral("coda"));
        if (!makeNode(path, Node::Fifo))
            QSKIP("mknod is not allowed here");
        const QByteArray bytes = writeAreaBytes(oneArea());
        std::thread writer([&] {
            const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY);
            if (fd < 0)
                return;
            // Two writes, so that the reader has to wait for the second.
            (void)!::write(fd, bytes.constData(), 3);
            ::usleep(20000);
            (void)!::write(fd, bytes.constData() + 3, static_cast<size_t>(bytes.size() - 3));
            ::close(fd);
        });
        const auto read = readArchiveFileBytes(path, QStringLiteral("x"), ArchiveSource::AnyFile);
        writer.join();
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(*read.value, bytes);
    }

    // A save renames a new file over the target, which would turn a device or a FIFO into a
    // regular file: such a target is refused and stays what it was.
    void savesRefuseWhatIsNotAFile_data()
    {
        QTest::addColumn<Node>("node");
        QTest::addColumn<QString>("reason");
        const QString device = QStringLiteral("non è un file ma un dispositivo o un canale di "
                                              "comunicazione, che il salvataggio sostituirebbe");
        QTest::newRow("device") << Node::NullDevice << device;
        QTest::newRow("FIFO") << Node::Fifo << device;
        QTest::newRow("folder") << Node::Folder << QStringLiteral("è una cartella");
    }
    void savesRefuseWhatIsNotAFile()
    {
        QFETCH(Node, node);
        QFETCH(QString, reason);
        const QString path = m_dir.filePath(
            QStringLiteral("meta-%1").arg(QString::fromLatin1(QTest::currentDataTag())));
        if (!makeNode(path, node))
            QSKIP("mknod is not allowed here");
        const mode_t before = typeOf(path);
        const SaveResult saved = writeAreaFile(path, oneArea());
        QVERIFY(!saved.ok);
        QCOMPARE(saved.error,
                 QStringLiteral("Impossibile salvare il file \"%1\": %2. Nessun file è "
                                "stato modificato.")
                     .arg(path, reason));
        QCOMPARE(typeOf(path), before);

        // The same through a link to the node.
        const QString link = path + QStringLiteral("-collegamento");
        QVERIFY(QFile::link(path, link));
        QVERIFY(!writeAreaFile(link, oneArea()).ok);
        QCOMPARE(typeOf(path), before);
        QCOMPARE(typeOf(link), mode_t(S_IFLNK));
    }

    void saveThroughALinkRewritesItsTarget()
    {
        const QString target = m_dir.filePath(QStringLiteral("Urbaflux-dat-vero"));
        const QString link = m_dir.filePath(QStringLiteral("Urbaflux-dat-collegamento"));
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("vecchio") == 7);
        file.close();
        QVERIFY(QFile::link(target, link));
        const SaveResult saved = writeAreaFile(link, oneArea());
        QVERIFY2(saved.ok, qPrintable(saved.error));
        QCOMPARE(typeOf(link), mode_t(S_IFLNK));
        QCOMPARE(readFile(target), writeAreaBytes(oneArea()));
    }

    void failedSavesSayWhy_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("name too long for the file system")
            << QString(300, QLatin1Char('a')) << QStringLiteral("il nome del file è troppo lungo");
        QTest::newRow("missing folder") << QStringLiteral("manca/Urbaflux-dat-x")
                                        << QStringLiteral("la cartella \"%1/manca\" non esiste");
    }
    void failedSavesSayWhy()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        const QString path = m_dir.filePath(name);
        const SaveResult saved = writeAreaFile(path, oneArea());
        QVERIFY(!saved.ok);
        QCOMPARE(saved.error,
                 QStringLiteral("Impossibile salvare il file \"%1\": %2. Nessun file è "
                                "stato modificato.")
                     .arg(path, reason.contains(u'%') ? reason.arg(m_dir.path()) : reason));
    }
};

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "tst_hostilefiles.moc"
