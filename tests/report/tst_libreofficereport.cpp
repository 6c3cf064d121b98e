// The full report of 12 and 30 areas with long area names, as LibreOffice lays out its DOCX and
// its ODT with each face a reader may draw "Century Gothic" with (URW Gothic through the alias
// the package installs, DejaVu Sans, Liberation Sans), and as the program's own PDF has it: the
// page count the report states, no page ending in a heading, the closing block on the page of
// the last rows of its table, and every row number of table G whole.
// Skipped where LibreOffice is not installed. URBAFLUX_REPORT_AREAS=180 runs the 180-area report
// instead (the disabled test tst_libreofficereport_180; an hour of a loaded machine).

#include "chartpicture.h"
#include "documentwriter.h"
#include "fullreport.h"
#include "officeconversion.h"
#include "sampleprintouts.h"

#include <chartslots.h>

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace urbaflux;
using namespace urbaflux::office;

Q_DECLARE_METATYPE(urbaflux::office::StandIn)

namespace {

const QStringList& headings()
{
    static const QStringList texts = {QStringLiteral("RELAZIONE"),
                                      QStringLiteral("A) Criteri adottati nel calcolo"),
                                      QStringLiteral("B) Modello utilizzato"),
                                      QStringLiteral("C) La distanza"),
                                      QStringLiteral("D) Uso del modello"),
                                      QStringLiteral("E) Dati generali"),
                                      QStringLiteral("F) Origini e destinazioni"),
                                      QStringLiteral("G) Distanze e gravitazioni"),
                                      QStringLiteral("H) Volumi delle interazioni")};
    return texts;
}

// What is wrong with the pages of a report of `areas` areas that states `stated` pages, or
// nothing.
QString checkReportPages(const QStringList& pages, int stated, int areas)
{
    if (pages.size() != stated)
        return QStringLiteral("%1 pagine invece di %2").arg(pages.size()).arg(stated);
    static const QRegularExpression statement(
        QStringLiteral("composta di n\\.\\s*(\\d+)\\s+pagine"));
    const auto said = statement.match(pages.join(QChar(10)));
    if (!said.hasMatch() || said.captured(1).toInt() != stated)
        return QStringLiteral("la relazione dice \"%1\"").arg(said.captured(0));

    static const QRegularExpression pairRow(QStringLiteral("^\\s*(\\d+)\\s+\\d+-\\s*\\d+\\s"));
    static const QRegularExpression areaRow(QStringLiteral("^\\s*\\d+\\s+\\p{L}"));
    int expectedPair = 1;
    for (int page = 0; page < pages.size(); ++page) {
        QStringList lines = pages[page].split(QChar(10));
        while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
            lines.removeLast();
        if (lines.isEmpty())
            return QStringLiteral("pagina %1 vuota").arg(page + 1);
        if (headings().contains(lines.last().trimmed()))
            return QStringLiteral("pagina %1 finisce con \"%2\"")
                .arg(page + 1)
                .arg(lines.last().trimmed());
        for (const QString& line : lines) {
            const auto match = pairRow.match(line);
            if (!match.hasMatch())
                continue;
            if (match.captured(1).toInt() != expectedPair)
                return QStringLiteral("pagina %1: riga %2 della tabella G invece di %3")
                    .arg(page + 1)
                    .arg(match.captured(1))
                    .arg(expectedPair);
            ++expectedPair;
        }
    }
    if (expectedPair != areas * areas + 1)
        return QStringLiteral("%1 righe intere nella tabella G invece di %2")
            .arg(expectedPair - 1)
            .arg(areas * areas);

    // The closing block, whole, under the last rows of table H.
    const QStringList last = pages.last().split(QChar(10));
    int rowsBefore = 0;
    bool closing = false;
    for (const QString& line : last) {
        if (line.contains(QStringLiteral("La presente relazione"))) {
            closing = true;
            break;
        }
        if (areaRow.match(line).hasMatch())
            ++rowsBefore;
    }
    if (!closing || !pages.last().contains(QStringLiteral("il progettista")))
        return QStringLiteral("la chiusura non è tutta sull'ultima pagina");
    if (rowsBefore < 3)
        return QStringLiteral("la chiusura ha sopra %1 righe della tabella H").arg(rowsBefore);
    return {};
}

TitlePage titlePage()
{
    TitlePage page;
    page.progetto = QStringLiteral("Piano dei servizi del quadrante nord");
    page.localita = QStringLiteral("Lucca e frazioni");
    page.tipostudio = QStringLiteral("analisi urbanistica");
    page.fornituradati = QStringLiteral("Ufficio statistica");
    page.committente = QStringLiteral("Comune di Lucca");
    page.luogo = QStringLiteral("Pisa");
    page.data = QStringLiteral("mercoledì, 9 dic 2026");
    page.allegati = QStringLiteral("planimetrie, foto");
    return page;
}

} // namespace

class TestLibreOfficeReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
        const int only = qEnvironmentVariableIntValue("URBAFLUX_REPORT_AREAS");
        m_sizes = only > 0 ? QList<int>{only} : QList<int>{12, 30};
        for (const int areas : m_sizes) {
            const auto state = samples::elaboration(areas);
            const QString picture = m_dir.filePath(QStringLiteral("grafico-%1.png").arg(areas));
            QVERIFY(renderChartPicture(selectChartSlots(*state), ChartKind::Bars, picture));
            DocumentWriter writer;
            m_pages[areas] =
                writeFullReport(writer, {*state,
                                         titlePage(),
                                         {QStringLiteral("Studio Tecnico Associato Bianchi"),
                                          QStringLiteral("via Garibaldi 12, Pisa")},
                                         {QStringLiteral("4567890"), QStringLiteral("3456789.50")},
                                         picture});
            for (const char* suffix : {".docx", "-odt.odt", ".pdf"}) {
                const QString path = m_dir.filePath(QStringLiteral("relazione-%1").arg(areas) +
                                                    QString::fromLatin1(suffix));
                const DocumentSaveResult saved = writer.SaveDocumentAs(path);
                QVERIFY2(saved.ok, qPrintable(saved.error));
            }
        }
    }

    void programPdf()
    {
        for (const int areas : m_sizes) {
            const QString pdf = m_dir.filePath(QStringLiteral("relazione-%1.pdf").arg(areas));
            QCOMPARE(pdfPageCount(pdf), m_pages[areas]);
            const QStringList pages = pageTexts(pdf);
            if (pages.isEmpty())
                QSKIP("pdftotext (poppler-utils) is not installed");
            const QString fault = checkReportPages(pages, m_pages[areas], areas);
            QVERIFY2(fault.isEmpty(), qPrintable(QStringLiteral("%1 aree: ").arg(areas) + fault));
        }
    }

    void libreOffice_data()
    {
        QTest::addColumn<StandIn>("standIn");
        QTest::newRow("URW Gothic (alias)") << StandIn::Alias;
        QTest::newRow("DejaVu Sans") << StandIn::DejaVuSans;
        QTest::newRow("Liberation Sans") << StandIn::LiberationSans;
    }
    void libreOffice()
    {
        QFETCH(StandIn, standIn);
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            QSKIP("LibreOffice (soffice) is not installed");
        const QString alias =
            QFINDTESTDATA("../../resources/fontconfig/61-urbaflux-century-gothic.conf");
        QVERIFY(!alias.isEmpty());
        const QString face = standInFace(standIn);
        QTemporaryDir run;
        QVERIFY(run.isValid());
        const QString fonts = fontConfig(run.path(), standIn, alias);
        QVERIFY(!fonts.isEmpty());
        QStringList files;
        for (const int areas : m_sizes) {
            files << m_dir.filePath(QStringLiteral("relazione-%1.docx").arg(areas))
                  << m_dir.filePath(QStringLiteral("relazione-%1-odt.odt").arg(areas));
        }
        const QString out = run.filePath(QStringLiteral("lo"));
        const QString failed = convertToPdf(soffice, run.path(), fonts, files, out, 3600000);
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
        for (const int areas : m_sizes) {
            for (const char* kind : {"", "-odt"}) {
                const QString pdf =
                    QDir(out).filePath(QStringLiteral("relazione-%1").arg(areas) +
                                       QString::fromLatin1(kind) + QStringLiteral(".pdf"));
                const QString what = QFileInfo(pdf).completeBaseName() + QStringLiteral(", ") +
                                     face + QStringLiteral(": ");
                QVERIFY2(QFile::exists(pdf), qPrintable(what + QStringLiteral("nessun PDF")));
                // The face asked for is the one that drew the text.
                const QString embedded = pdfFonts(pdf);
                if (!embedded.isEmpty())
                    QVERIFY2(embedded.contains(QString(face).remove(QChar(32))),
                             qPrintable(what + embedded));
                const QStringList pages = pageTexts(pdf);
                if (pages.isEmpty()) {
                    QCOMPARE(pdfPageCount(pdf), m_pages[areas]);
                    continue;
                }
                const QString fault = checkReportPages(pages, m_pages[areas], areas);
                QVERIFY2(fault.isEmpty(), qPrintable(what + fault));
            }
        }
    }

private:
    QTemporaryDir m_dir;
    QList<int> m_sizes;
    QMap<int, int> m_pages;
};

QTEST_MAIN(TestLibreOfficeReport)
#include "tst_libreofficereport.moc"
