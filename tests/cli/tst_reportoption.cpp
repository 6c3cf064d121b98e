// urbaflux-calc --report: the full report of a complete archive, written without a display.

#include "../report/reportsamples.h"

#include <completearchive.h>

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

private:
    QTemporaryDir m_dir;
    QString m_archive;
};

QTEST_GUILESS_MAIN(TestReportOption)
#include "tst_reportoption.moc"
