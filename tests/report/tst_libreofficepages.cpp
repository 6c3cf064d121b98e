// The window printouts at 2 and 30 areas with long area names, as LibreOffice lays them out:
// the same page count as the program's pages for the DOCX and the ODT, one heading row per page at
// its top, and no number broken over two lines (in LibreOffice's pages and in the program's PDF).
// Skipped where LibreOffice is not installed; bench/libreoffice_pages.sh measures 180 areas.

#include "documentwriter.h"
#include "pagelayout.h"
#include "sampleprintouts.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace urbaflux;

namespace {

int pdfPageCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    return static_cast<int>(QString::fromLatin1(file.readAll()).count(page));
}

// The text of each page, laid out, or nothing without pdftotext.
QStringList pageTexts(const QString& pdf)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        return {};
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000))
        return {};
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QChar(12));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// On every page of the distances printout: the heading row once, before every pair row; the
// pair rows, read from the first number of each line, are 1 to `pairs` in order, each whole.
QString checkDistancesPages(const QStringList& pages, int pairs)
{
    static const QRegularExpression pairRow(QStringLiteral("^\\s*(\\d+)\\s+\\d+-\\s+\\d+\\s"));
    int expected = 1;
    for (int page = 0; page < pages.size(); ++page) {
        const QStringList lines = pages[page].split(QChar(10));
        int headings = 0;
        bool rowsBeforeHeading = false;
        for (const QString& line : lines) {
            if (line.contains(QStringLiteral("nomi delle aree"))) {
                ++headings;
                continue;
            }
            const auto match = pairRow.match(line);
            if (!match.hasMatch())
                continue;
            if (headings == 0)
                rowsBeforeHeading = true;
            if (match.captured(1).toInt() != expected)
                return QStringLiteral("pagina %1: riga %2 invece di %3")
                    .arg(page + 1)
                    .arg(match.captured(1))
                    .arg(expected);
            ++expected;
        }
        if (headings != 1 || rowsBeforeHeading)
            return QStringLiteral("pagina %1: %2 intestazioni").arg(page + 1).arg(headings);
    }
    if (expected != pairs + 1)
        return QStringLiteral("%1 righe intere invece di %2").arg(expected - 1).arg(pairs);
    return {};
}

} // namespace

class TestLibreOfficePages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void samePages_data()
    {
        QTest::addColumn<int>("areas");
        QTest::newRow("2 areas") << 2;
        QTest::newRow("30 areas") << 30;
    }
    void samePages()
    {
        QFETCH(int, areas);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const auto state = samples::elaboration(areas);
        auto printouts = samples::windowPrintouts(*state);
        QStringList files;
        QMap<QString, int> programPages;
        for (const auto& [name, document] : printouts) {
            PageLayout layout(*document);
            layout.paginateAll();
            programPages[name] = layout.pageCount();
            const QString docx = dir.filePath(name + QStringLiteral(".docx"));
            const QString pdf = dir.filePath(name + QStringLiteral(".pdf"));
            const QString odt = dir.filePath(name + QStringLiteral("-odt.odt"));
            QVERIFY(saveDocument(*document, docx));
            QVERIFY(saveDocument(*document, odt));
            QVERIFY(saveDocument(*document, pdf));
            QCOMPARE(pdfPageCount(pdf), layout.pageCount());
            files << docx << odt;
        }
        const QStringList ours = pageTexts(dir.filePath(QStringLiteral("distanze.pdf")));
        if (!ours.isEmpty()) {
            QCOMPARE(ours.size(), programPages.value(QStringLiteral("distanze")));
            const QString fault = checkDistancesPages(ours, areas * areas);
            QVERIFY2(fault.isEmpty(), qPrintable(fault));
        }

        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            QSKIP("LibreOffice (soffice) is not installed");
        // LibreOffice draws "Century Gothic" with its metric twin, as installed systems do
        // through the alias the package ships.
        const QString alias =
            QFINDTESTDATA("../../resources/fontconfig/61-urbaflux-century-gothic.conf");
        QVERIFY(!alias.isEmpty());
        QFile fonts(dir.filePath(QStringLiteral("fonts.conf")));
        QVERIFY(fonts.open(QIODevice::WriteOnly));
        fonts.write(QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig><include "
                                   "ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>"
                                   "<include>%1</include></fontconfig>\n")
                        .arg(alias)
                        .toUtf8());
        fonts.close();
        QProcess office;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("FONTCONFIG_FILE"), fonts.fileName());
        office.setProcessEnvironment(environment);
        office.setProcessChannelMode(QProcess::MergedChannels);
        const QString out = dir.filePath(QStringLiteral("lo"));
        office.start(soffice, QStringList{QStringLiteral("--headless"),
                                          QStringLiteral("-env:UserInstallation=file://") +
                                              dir.filePath(QStringLiteral("profilo")),
                                          QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                                          QStringLiteral("--outdir"), out}
                                  << files);
        QVERIFY(office.waitForFinished(240000));
        for (auto it = programPages.cbegin(); it != programPages.cend(); ++it) {
            const QString pdf = out + QLatin1Char('/') + it.key() + QStringLiteral(".pdf");
            QVERIFY2(QFile::exists(pdf), qPrintable(QString::fromLocal8Bit(office.readAll())));
            QCOMPARE(pdfPageCount(pdf), it.value());
            QCOMPARE(pdfPageCount(out + QLatin1Char('/') + it.key() + QStringLiteral("-odt.pdf")),
                     it.value());
        }
        for (const char* name : {"/distanze.pdf", "/distanze-odt.pdf"}) {
            const QStringList theirs = pageTexts(out + QString::fromLatin1(name));
            if (!theirs.isEmpty()) {
                const QString fault = checkDistancesPages(theirs, areas * areas);
                QVERIFY2(fault.isEmpty(), qPrintable(QString::fromLatin1(name) + fault));
            }
        }
    }
};

QTEST_MAIN(TestLibreOfficePages)
#include "tst_libreofficepages.moc"
