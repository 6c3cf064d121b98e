// urbaflux-calc --report: the full report of a complete archive, written without a display.

#include "../report/reportsamples.h"

#include "../support/smallfilesystem.h"

#include <completearchive.h>
#include <fullreport.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

using namespace urbaflux;

class TestReportOption : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_archive = m_dir.filePath(QStringLiteral("Urbaflux-tot-tre"));
        QFile file(m_archive);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(writeCompleteBytes(*samples::elaboration(3), samples::titlePage()));
    }

    void report_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("docx") << QStringLiteral("relazione.docx")
                              << QStringList{QStringLiteral("--studio"),
                                             QStringLiteral("Studio Bianchi"),
                                             QStringLiteral("--indirizzo"),
                                             QStringLiteral("piazza Grande 2")}
                              << 0 << QByteArray("PK");
        QTest::newRow("pdf") << QStringLiteral("relazione.pdf") << QStringList() << 0
                             << QByteArray("%PDF");
        QTest::newRow("folder missing")
            << QStringLiteral("manca/relazione.docx") << QStringList() << 74 << QByteArray();
        QTest::newRow("over its own archive")
            << QStringLiteral("Urbaflux-tot-tre") << QStringList() << 64 << QByteArray();
        QTest::newRow("office twice")
            << QStringLiteral("due.docx")
            << QStringList{QStringLiteral("--studio"), QStringLiteral("a"),
                           QStringLiteral("--studio"), QStringLiteral("b")}
            << 64 << QByteArray();
    }
    void report()
    {
        QFETCH(QString, output);
        QFETCH(QStringList, extra);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, start);
        const QString path = m_dir.filePath(output);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.insert(QStringLiteral("HOME"), m_dir.path());
        process.setProcessEnvironment(environment);
        process.start(QString::fromUtf8(URBAFLUX_CALC_PATH),
                      QStringList{m_archive, QStringLiteral("--report"), path} + extra);
        QVERIFY(process.waitForFinished(120000));
        const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
        QCOMPARE(process.exitCode(), exitCode);
        // The archive goes to standard output only when no report is asked for.
        QCOMPARE(process.readAllStandardOutput(), QByteArray());
        if (exitCode == 74)
            QVERIFY2(errors.contains(output), qPrintable(errors));
        if (exitCode != 0)
            return;
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(start.size()), start);
        if (start != "PK")
            return;
        QuaZip zip(path);
        QVERIFY(zip.open(QuaZip::mdUnzip));
        QVERIFY(zip.setCurrentFile(QStringLiteral("word/document.xml")));
        QuaZipFile part(&zip);
        QVERIFY(part.open(QIODevice::ReadOnly));
        const QString xml = QString::fromUtf8(part.readAll());
        QVERIFY(xml.contains(QStringLiteral("progettista: Studio Bianchi")));
        QVERIFY(xml.contains(QStringLiteral("piazza Grande 2")));
        QVERIFY(xml.contains(QStringLiteral("G) Distanze e gravitazioni")));
        QCOMPARE(xml.count(QStringLiteral("<w:drawing>")), 1);
        QVERIFY(xml.count(QStringLiteral("<w:tbl>")) >= 4);
    }

    // A folder gets the name the window would propose; another committente's report there is
    // never replaced.
    void reportIntoAFolder()
    {
        const QString folder = m_dir.filePath(QStringLiteral("relazioni"));
        QVERIFY(QDir().mkpath(folder));
        const QString other = m_dir.filePath(QStringLiteral("Urbaflux-tot-pisa"));
        QFile file(other);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(writeCompleteBytes(*samples::elaboration(3),
                                      samples::titlePage(QStringLiteral("Comune di Lucca/Pisa"))));
        file.close();

        QCOMPARE(run({m_archive, QStringLiteral("--report"), folder})->exitCode(), 0);
        const QString lucca =
            QDir(folder).filePath(reportFileName(samples::titlePage().committente));
        const QByteArray first = contentOf(lucca);
        QVERIFY(first.startsWith("PK"));
        QCOMPARE(run({other, QStringLiteral("--report"), folder})->exitCode(), 0);
        QCOMPARE(contentOf(lucca), first);
        QVERIFY(
            contentOf(QDir(folder).filePath(reportFileName(QStringLiteral("Comune di Lucca/Pisa"))))
                .startsWith("PK"));
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 2);
    }

    // A file-size limit (runs everywhere) and a full disk (a small tmpfs, when the test may
    // mount one): exit 74, the reason in Italian, the previous report byte for byte.
    void failedReportKeepsThePreviousFile_data()
    {
        QTest::addColumn<bool>("fullDisk");
        QTest::addColumn<QString>("reason");
        QTest::newRow("file size limit")
            << false << QStringLiteral("il file supera la dimensione massima consentita");
        QTest::newRow("full disk") << true << QStringLiteral("il disco è pieno");
    }
    void failedReportKeepsThePreviousFile()
    {
        QFETCH(bool, fullDisk);
        QFETCH(QString, reason);
        QTemporaryDir folder;
        if (fullDisk) {
            if (const QString why = testing::mountSmallFileSystem(folder.path(), 128);
                !why.isEmpty())
                QSKIP(qPrintable(QStringLiteral("no small file system: ") + why));
        }
        const QString path = folder.filePath(QStringLiteral("relazione.docx"));
        QFile old(path);
        const bool written = old.open(QIODevice::WriteOnly) && old.write("precedente") == 10;
        old.close();
        if (fullDisk)
            QVERIFY(testing::fillFileSystem(folder.path(), 8 * 1024));
        const QStringList arguments = {m_archive, QStringLiteral("--report"), path};
        QProcess process;
        if (fullDisk)
            process.start(QString::fromUtf8(URBAFLUX_CALC_PATH), arguments);
        else
            process.start(QStringLiteral("/bin/sh"),
                          QStringList{QStringLiteral("-c"),
                                      QStringLiteral("ulimit -f 16; exec \"$0\" \"$@\""),
                                      QString::fromUtf8(URBAFLUX_CALC_PATH)} +
                              arguments);
        const bool finished = process.waitForFinished(120000);
        const QByteArray left = contentOf(path);
        if (fullDisk)
            testing::unmountSmallFileSystem(folder.path());
        QVERIFY(written && finished);
        const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
        QCOMPARE(process.exitCode(), 74);
        QVERIFY2(errors.contains(reason), qPrintable(errors));
        QCOMPARE(left, QByteArray("precedente"));
    }

private:
    static QByteArray contentOf(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::unique_ptr<QProcess> run(const QStringList& arguments)
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), m_dir.path());
        process->setProcessEnvironment(environment);
        process->start(QString::fromUtf8(URBAFLUX_CALC_PATH), arguments);
        process->waitForFinished(120000);
        return process;
    }

    QTemporaryDir m_dir;
    QString m_archive;
};

QTEST_GUILESS_MAIN(TestReportOption)
#include "tst_reportoption.moc"
