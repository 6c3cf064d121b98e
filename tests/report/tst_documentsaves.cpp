// Document saves that fail half-way (PDF, DOCX, ODT, chart pictures): a write the system
// refuses, injected so that it runs everywhere, and a real full disk (a small tmpfs the test
// mounts when it may). The previous file stays byte for byte, or stays absent, and the
// message gives the disk's reason, not the part the package was writing.

#include "../support/smallfilesystem.h"
#include "sampledocuments.h"

#include <chartpicture.h>
#include <documentwriter.h>
#include <safefile.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>

using namespace urbaflux;

namespace {

const QByteArray kOld = QByteArrayLiteral("relazione precedente");

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
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QString expectedFailure(const QString& what, const QString& path, bool previous)
{
    return QStringLiteral("Impossibile salvare %1 \"%2\": la scrittura non è riuscita (il disco è "
                          "pieno). %3")
        .arg(what, path,
             previous ? QStringLiteral("Il file precedente resta invariato.")
                      : QStringLiteral("Nessun file è stato modificato."));
}

} // namespace

class TestDocumentSaves : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_picture = m_dir.filePath(QStringLiteral("grafico.png"));
        QVERIFY(samples::chartPicture().save(m_picture));
        samples::buildEveryOperation(m_writer, m_picture);
    }

    void injectedFailureKeepsThePreviousDocument_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("previous");
        QTest::addColumn<qint64>("after");
        for (const char* name : {"relazione.pdf", "relazione.docx", "relazione.odt"}) {
            for (const bool previous : {true, false}) {
                // At the start, and half-way (-1): for the packages that is inside the
                // picture, which they write last.
                for (const qint64 after : {qint64(0), qint64(-1)})
                    QTest::addRow("%s, %s, %s", name, previous ? "over a file" : "new",
                                  after == 0 ? "at once" : "half-way")
                        << QString::fromLatin1(name) << previous << after;
            }
        }
    }
    void injectedFailureKeepsThePreviousDocument()
    {
        QFETCH(QString, name);
        QFETCH(bool, previous);
        QFETCH(qint64, after);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        if (after < 0) {
            QVERIFY(m_writer.SaveDocumentAs(path).ok);
            after = QFileInfo(path).size() / 2;
            QVERIFY(QFile::remove(path));
        }
        if (previous)
            QVERIFY(writePlain(path, kOld));
        SafeFile::injectWriteFailure(after, ENOSPC);
        const DocumentSaveResult saved = m_writer.SaveDocumentAs(path);
        QVERIFY(!saved.ok);
        QCOMPARE(saved.error, expectedFailure(QStringLiteral("il documento"), path, previous));
        QCOMPARE(contentOf(path), previous ? kOld : QByteArray("<absent>"));
        QCOMPARE(entriesOf(dir.path()), previous ? QStringList{name} : QStringList());
    }

    // Real writes on a real full disk: what the PDF writer and the zip packages do with a
    // refused write, and what the last flush says, are the system's, not an injection's.
    void fullDiskKeepsThePreviousDocument_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("PDF") << QStringLiteral("relazione.pdf");
        QTest::newRow("DOCX") << QStringLiteral("relazione.docx");
        QTest::newRow("ODT") << QStringLiteral("relazione.odt");
    }
    void fullDiskKeepsThePreviousDocument()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        if (const QString why = testing::mountSmallFileSystem(dir.path(), 256); !why.isEmpty())
            QSKIP(qPrintable(QStringLiteral("no small file system: ") + why));
        const QString path = dir.filePath(name);
        const bool written = writePlain(path, kOld);
        const bool filled = testing::fillFileSystem(dir.path(), 1024);
        const DocumentSaveResult saved = m_writer.SaveDocumentAs(path);
        const QByteArray left = contentOf(path);
        const QStringList entries = entriesOf(dir.path());
        testing::unmountSmallFileSystem(dir.path());
        QVERIFY(written && filled);
        QVERIFY(!saved.ok);
        QCOMPARE(saved.error, expectedFailure(QStringLiteral("il documento"), path, true));
        QCOMPARE(left, kOld);
        QCOMPARE(entries, (QStringList{QStringLiteral("filler"), name}));
    }

    void chartPictureKeepsThePreviousFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("PNG") << QStringLiteral("grafico.png");
        QTest::newRow("SVG") << QStringLiteral("grafico.svg");
        QTest::newRow("PDF") << QStringLiteral("grafico.pdf");
    }
    void chartPictureKeepsThePreviousFile()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QVERIFY(writePlain(path, kOld));
        SafeFile::injectWriteFailure(100, ENOSPC);
        QString error;
        QVERIFY(!saveChartImage(ChartSlots{}, ChartKind::Bars, path, &error));
        QCOMPARE(error, QStringLiteral("Impossibile scrivere l'immagine del grafico %1: la "
                                       "scrittura non è riuscita (il disco è pieno). Il file "
                                       "precedente resta invariato.")
                            .arg(path));
        QCOMPARE(contentOf(path), kOld);
    }

private:
    QTemporaryDir m_dir;
    QString m_picture;
    DocumentWriter m_writer;
};

QTEST_MAIN(TestDocumentSaves)
#include "tst_documentsaves.moc"
