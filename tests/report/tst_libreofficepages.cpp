// The window printouts at 2 and 30 areas with long area names, as LibreOffice lays them out:
// the same page count as the program's pages for the DOCX and the ODT, one heading row per page at
// its top, and no number broken over two lines (in LibreOffice's pages and in the program's PDF).
// Skipped where LibreOffice is not installed; bench/libreoffice_pages.sh measures 180 areas.

#include "documentwriter.h"
#include "officeconversion.h"
#include "pagelayout.h"
#include "sampleprintouts.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace urbaflux;
using namespace urbaflux::office;

namespace {

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
        const QString fonts = fontConfig(dir.path(), StandIn::Alias, alias);
        QVERIFY(!fonts.isEmpty());
        const QString out = dir.filePath(QStringLiteral("lo"));
        const QString failed = convertToPdf(soffice, dir.path(), fonts, files, out, 240000);
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
        for (auto it = programPages.cbegin(); it != programPages.cend(); ++it) {
            const QString pdf = out + QLatin1Char('/') + it.key() + QStringLiteral(".pdf");
            QVERIFY(QFile::exists(pdf));
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
