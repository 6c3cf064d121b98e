// The full report as a document: its texts, its tables, its page count, and the file it saves.

#include "chartpicture.h"
#include "document.h"
#include "documentwriter.h"
#include "fullreport.h"
#include "officeconversion.h"
#include "reportsamples.h"
#include "reporttexts.h"

#include <calculation.h>
#include <calibration.h>

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

using namespace urbaflux;
using urbaflux::office::pdfPageCount;

namespace {

const QString kW = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");

struct Built
{
    DocumentWriter writer;
    int pages = 0;
    const Document& document() const { return writer.document(); }
    const Table& table(int index) const { return *document().tables().at(index - 1); }
};

std::unique_ptr<Built> build(const ProjectState& state, const QString& picture = {})
{
    auto built = std::make_unique<Built>();
    built->pages = writeFullReport(built->writer,
                                   {state,
                                    samples::titlePage(),
                                    {QStringLiteral("Studio Rossi"), QStringLiteral("via Roma 1")},
                                    areaTotalTexts(state),
                                    picture});
    return built;
}

// The paragraph that follows the one reading `heading`.
QString after(const Document& document, const QString& heading)
{
    const QStringList texts = document.paragraphTexts();
    const auto at = texts.indexOf(heading);
    return at >= 0 && at + 2 < texts.size() ? texts[at + 2] : QString();
}

// Pictures anywhere outside tables.
int pictureCount(const Document& document)
{
    int count = 0;
    for (const Block& block : document.blocks())
        if (const auto* paragraph = std::get_if<Paragraph>(&block))
            for (const Run& run : paragraph->runs)
                count += run.kind == Run::Kind::Picture ? 1 : 0;
    return count;
}

// A saved DOCX read back: its logical tables (long tables are cut into blocks that repeat the
// heading row; the blocks of one table are joined again), the alignment of every cell, the
// pictures and the fields.
struct SavedReport
{
    struct Table
    {
        QList<QStringList> rows;
        QList<QStringList> alignments;
    };
    QList<Table> tables;
    int pictures = 0;
    QStringList fields;
};

SavedReport readDocx(const QString& path)
{
    SavedReport saved;
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return saved;
    const auto partText = [&zip](const QString& name) {
        if (!zip.setCurrentFile(name))
            return QByteArray();
        QuaZipFile part(&zip);
        return part.open(QIODevice::ReadOnly) ? part.readAll() : QByteArray();
    };
    // Cells may take their alignment from a paragraph style rather than from their own jc.
    QHash<QString, QString> styleAlignment;
    {
        QXmlStreamReader styles(partText(QStringLiteral("word/styles.xml")));
        QString styleId;
        while (!styles.atEnd()) {
            styles.readNext();
            if (!styles.isStartElement())
                continue;
            if (styles.name() == u"style")
                styleId = styles.attributes().value(kW, QStringLiteral("styleId")).toString();
            else if (styles.name() == u"jc" && !styleId.isEmpty())
                styleAlignment.insert(
                    styleId, styles.attributes().value(kW, QStringLiteral("val")).toString());
        }
    }
    QXmlStreamReader reader(partText(QStringLiteral("word/document.xml")));
    QStringList row;
    QStringList rowAlignment;
    QString cell;
    QString alignment;
    bool header = false;
    bool firstRow = false;
    int depth = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        const auto name = reader.name();
        if (reader.isStartElement()) {
            if (name == u"tbl") {
                ++depth;
                firstRow = true;
            } else if (name == u"tr") {
                row.clear();
                rowAlignment.clear();
                header = false;
            } else if (name == u"tblHeader") {
                header = true;
            } else if (name == u"tc") {
                cell.clear();
                alignment = QStringLiteral("left");
            } else if (name == u"pStyle" && depth > 0) {
                alignment = styleAlignment.value(
                    reader.attributes().value(kW, QStringLiteral("val")).toString(), alignment);
            } else if (name == u"jc" && depth > 0) {
                alignment = reader.attributes().value(kW, QStringLiteral("val")).toString();
            } else if (name == u"t" && depth > 0) {
                cell += reader.readElementText();
            } else if (name == u"drawing") {
                ++saved.pictures;
            } else if (name == u"fldSimple") {
                saved.fields
                    << reader.attributes().value(kW, QStringLiteral("instr")).toString().trimmed();
            }
        } else if (reader.isEndElement()) {
            if (name == u"tbl") {
                --depth;
            } else if (name == u"tc") {
                row << cell;
                rowAlignment << alignment;
            } else if (name == u"tr") {
                const bool continues = firstRow && header && !saved.tables.isEmpty() &&
                                       saved.tables.last().rows.first() == row;
                if (firstRow && !continues)
                    saved.tables.append(SavedReport::Table{});
                if (!continues) {
                    saved.tables.last().rows << row;
                    saved.tables.last().alignments << rowAlignment;
                }
                firstRow = false;
            }
        }
    }
    return saved;
}

} // namespace

class TestFullReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
        m_picture = m_dir.filePath(QStringLiteral("grafico.png"));
        const auto state = samples::elaboration(3);
        QVERIFY(renderChartPicture(selectChartSlots(*state), ChartKind::Bars, m_picture));
    }

    void fixedTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("opening");
        QTest::newRow("A") << reportTextA()
                           << QStringLiteral("La presente elaborazione è stata realizzata mediante "
                                             " l'ausilio di un computer.");
        QTest::newRow("B1") << reportTextB1()
                            << QStringLiteral("In questa elaborazione si è usato il modello 'a "
                                              "origine e destinazione vincolate'.");
        QTest::newRow("B2") << reportTextB2()
                            << QStringLiteral("In questa elaborazione si è usato il modello 'a "
                                              "destinazione vincolata'.");
        QTest::newRow("B3") << reportTextB3()
                            << QStringLiteral("In questa elaborazione si è usato il modello 'a "
                                              "origine vincolata'.");
        QTest::newRow("C") << reportTextC()
                           << QStringLiteral("La propensione dei soggetti alla gravitazione viene "
                                             "valutata con l'esponente della distanza, "
                                             "generalmente il numero 2.");
        QTest::newRow("D") << reportTextD()
                           << QStringLiteral("Questo modello analitico urbanistico può essere "
                                             "utile sia per l'indagine sulla realtà "
                                             "contemporanea, sia per lo studio delle ipotesi "
                                             "future e, quindi, per la progettazione.");
    }
    void fixedTexts()
    {
        QFETCH(QString, text);
        QFETCH(QString, opening);
        QVERIFY2(text.startsWith(opening + QLatin1Char(' ')), qPrintable(text.left(120)));
        QVERIFY2(text.size() >= 600 && text.size() <= 1200,
                 qPrintable(QString::number(text.size())));
        // One paragraph: nothing that would break it.
        QVERIFY(!text.contains(QChar(13)) && !text.contains(QChar(10)) &&
                !text.contains(QChar(12)));
    }

    void modelTextAndHeadings_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("textB");
        QTest::addColumn<QString>("originHeading");
        QTest::addColumn<QString>("destinationHeading");
        QTest::newRow("no model") << 0 << reportTextB1() << QStringLiteral("origini")
                                  << QStringLiteral("destinazioni");
        QTest::newRow("1") << 1 << reportTextB1() << QStringLiteral("origini")
                           << QStringLiteral("destinazioni");
        QTest::newRow("2") << 2 << reportTextB2() << QStringLiteral("stima origini")
                           << QStringLiteral("destinazioni");
        QTest::newRow("3") << 3 << reportTextB3() << QStringLiteral("origini")
                           << QStringLiteral("stima destinazioni");
    }
    void modelTextAndHeadings()
    {
        QFETCH(int, kind);
        auto state = samples::elaboration(2, kind == 0 ? 1 : kind);
        state->model.kind = static_cast<qint16>(kind);
        const auto report = build(*state);
        QFETCH(QString, textB);
        QFETCH(QString, originHeading);
        QFETCH(QString, destinationHeading);
        QCOMPARE(after(report->document(), QStringLiteral("B) Modello utilizzato")), textB);
        QCOMPARE(report->table(2).cell(0, 2), originHeading);
        QCOMPARE(report->table(2).cell(0, 3), destinationHeading);
    }

    void twoAreas()
    {
        auto state = samples::elaboration(2);
        state->model.unit = QStringLiteral("minuti");
        state->model.interactionType = QStringLiteral("spostamenti");
        const auto report = build(*state, m_picture);
        const Document& document = report->document();
        QCOMPARE(document.tableCount(), 4);
        const Table& e = report->table(1);
        const Table& f = report->table(2);
        const Table& g = report->table(3);
        const Table& h = report->table(4);
        QCOMPARE(std::pair(e.rows, e.columns), std::pair(9, 2));
        QCOMPARE(std::pair(f.rows, f.columns), std::pair(4, 4));
        QCOMPARE(std::pair(g.rows, g.columns), std::pair(5, 6));
        QCOMPARE(std::pair(h.rows, h.columns), std::pair(3, 4));
        QCOMPARE(std::vector({e.fontSize, f.fontSize, g.fontSize, h.fontSize}),
                 std::vector({10.0, 10.0, 8.0, 10.0}));
        QVERIFY(e.styled && f.styled && g.styled && h.styled && g.headingRow);

        QCOMPARE(e.rowTexts(5),
                 QStringList({QStringLiteral("numero delle aree"), QStringLiteral("2")}));
        QCOMPARE(f.rowTexts(1), QStringList({QStringLiteral(" 1"), QStringLiteral("Quartiere 1"),
                                             state->areas.origin[1], state->areas.destination[1]}));
        const AreaTotalTexts totals = areaTotalTexts(*state);
        QCOMPARE(f.rowTexts(3), QStringList({QString(),
                                             QStringLiteral("totale delle origini e delle "
                                                            "destinazioni"),
                                             totals.origins, totals.destinations}));
        QCOMPARE(g.rowTexts(0),
                 QStringList({QStringLiteral("n."), QStringLiteral("n.-n."),
                              QStringLiteral("nomi delle aree (origini-destinazioni)"),
                              QStringLiteral("distanze in minuti"), QStringLiteral("peso in %"),
                              QStringLiteral("interazioni")}));
        QCOMPARE(g.cell(4, 0), QStringLiteral(" 4"));
        QCOMPARE(g.cell(4, 1), QStringLiteral(" 2- 2"));
        QCOMPARE(g.cell(2, 5), regionalText(state->interactions.interaction[2]));
        QCOMPARE(h.rowTexts(0), QStringList({QStringLiteral("n."), QStringLiteral("nome area"),
                                             QStringLiteral("spostamenti in uscita"),
                                             QStringLiteral("spostamenti in entrata")}));
        QCOMPARE(h.cell(2, 0), QStringLiteral(" 2"));

        // Right-aligned in the document itself, before any save.
        const auto right = Alignment::Right;
        QCOMPARE(f.columnAlignment[2], right);
        QCOMPARE(f.columnAlignment[3], right);
        QCOMPARE(g.columnAlignment[3], right);
        QCOMPARE(g.columnAlignment[5], right);
        QCOMPARE(h.columnAlignment[3], right);
        QCOMPARE(g.columnAlignment[1], Alignment::Justify);

        const QStringList texts = document.paragraphTexts();
        QVERIFY(texts.contains(QStringLiteral("RELAZIONE")));
        QVERIFY(texts.contains(QStringLiteral("a 'origine e destinazione vincolate'")));
        QVERIFY(texts.contains(QStringLiteral("committente: Comune di Lucca")));
        QVERIFY(texts.contains(QStringLiteral("Pisa: mercoledì, 9 dic 2026")));
        QVERIFY(texts.contains(QStringLiteral("(Studio Rossi)")));
        QVERIFY(texts.contains(QStringLiteral("La presente relazione è composta di n. %1 pagine.")
                                   .arg(report->pages)));
    }

    // The stated count is the count of the finished document, closing block included: the one
    // its PDF has, whatever the size.
    void statedPageCount_data()
    {
        QTest::addColumn<int>("areas");
        QTest::newRow("2") << 2;
        QTest::newRow("12") << 12;
        QTest::newRow("30") << 30;
    }
    void statedPageCount()
    {
        QFETCH(int, areas);
        const auto state = samples::elaboration(areas);
        const auto report = build(*state, m_picture);
        const QString pdf = m_dir.filePath(QStringLiteral("r%1.pdf").arg(areas));
        QVERIFY(report->writer.SaveDocumentAs(pdf));
        QCOMPARE(pdfPageCount(pdf), report->pages);
        QVERIFY(report->document().paragraphTexts().contains(
            QStringLiteral("La presente relazione è composta di n. %1 pagine.")
                .arg(report->pages)));
    }

    void savedFileReadBack()
    {
        const auto state = samples::elaboration(20);
        const auto report = build(*state, m_picture);
        const QString path = m_dir.filePath(QStringLiteral("relazione.docx"));
        QVERIFY(report->writer.SaveDocumentAs(path));
        const SavedReport saved = readDocx(path);
        QCOMPARE(saved.tables.size(), 4);
        QCOMPARE(saved.tables[0].rows.size(), 9);
        QCOMPARE(saved.tables[1].rows.size(), 22);
        QCOMPARE(saved.tables[2].rows.size(), 401);
        QCOMPARE(saved.tables[3].rows.size(), 21);
        QCOMPARE(saved.tables[2].rows[400].first(), QStringLiteral(" 400"));
        QCOMPARE(saved.pictures, 1);
        QCOMPARE(saved.fields, QStringList{QStringLiteral("NUMPAGES")});
        const QStringList right = {QStringLiteral("right")};
        QCOMPARE(saved.tables[1].alignments[1].mid(2), right + right);
        QCOMPARE(saved.tables[2].alignments[300].mid(3), right + right + right);
        QCOMPARE(saved.tables[3].alignments[20].mid(2), right + right);
    }

    // "#" stands for the 8 hex digits that follow a committente the cleaning changed.
    void fileName_data()
    {
        QTest::addColumn<QString>("committente");
        QTest::addColumn<QString>("name");
        const QString x59(59, QLatin1Char('x'));
        QTest::newRow("plain") << QStringLiteral("Comune di Lucca")
                               << QStringLiteral("RelazioneUrbaflux-Comune di Lucca.docx");
        QTest::newRow("slashes and colons")
            << QStringLiteral("Regione/Provincia\\Comune: 2027")
            << QStringLiteral("RelazioneUrbaflux-Regione_Provincia_Comune_ 2027-#.docx");
        QTest::newRow("Windows' refused")
            << QStringLiteral("a*b?c\"d<e>f|g")
            << QStringLiteral("RelazioneUrbaflux-a_b_c_d_e_f_g-#.docx");
        QTest::newRow("control characters, blanks, dots")
            << QStringLiteral("  Lucca\tnord\n. ")
            << QStringLiteral("RelazioneUrbaflux-Lucca_nord_-#.docx");
        QTest::newRow("empty") << QString()
                               << QStringLiteral("RelazioneUrbaflux-senza-committente.docx");
        QTest::newRow("dots only") << QStringLiteral("...")
                                   << QStringLiteral("RelazioneUrbaflux-senza-committente-#.docx");
        QTest::newRow("the empty one's name")
            << QStringLiteral("senza-committente")
            << QStringLiteral("RelazioneUrbaflux-senza-committente-#.docx");
        QTest::newRow("reads like a digest")
            << QStringLiteral("Lucca-0123abcd")
            << QStringLiteral("RelazioneUrbaflux-Lucca-0123abcd-#.docx");
        QTest::newRow("long") << QString(300, QLatin1Char('x'))
                              << QStringLiteral("RelazioneUrbaflux-") +
                                     QString(60, QLatin1Char('x')) + QStringLiteral("-#.docx");
        // Cut at 60 UTF-16 units, never inside a character as the user sees it.
        QTest::newRow("emoji across the cut")
            << x59 + QStringLiteral("\U0001F600 fine")
            << QStringLiteral("RelazioneUrbaflux-") + x59 + QStringLiteral("-#.docx");
        QTest::newRow("accent across the cut")
            << x59 + QStringLiteral("e\u0301 fine")
            << QStringLiteral("RelazioneUrbaflux-") + x59 + QStringLiteral("-#.docx");
        QTest::newRow("family emoji across the cut")
            << QString(55, QLatin1Char('x')) +
                   QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467 fine")
            << QStringLiteral("RelazioneUrbaflux-") + QString(55, QLatin1Char('x')) +
                   QStringLiteral("-#.docx");
    }
    void fileName()
    {
        QFETCH(QString, committente);
        QFETCH(QString, name);
        const QString made = reportFileName(committente);
        static const QRegularExpression digest(QStringLiteral("-[0-9a-f]{8}\\.docx$"));
        QString shape = made;
        shape.replace(digest, QStringLiteral("-#.docx"));
        QCOMPARE(shape, name);
        QVERIFY(QFile::encodeName(made).size() <= 255);
        const QString path = reportSavePath(committente);
        QCOMPARE(QFileInfo(path).fileName(), made);
        QCOMPARE(QFileInfo(path).absolutePath(),
                 QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    }

    // Committenti that cleaning maps to one name, or to names that look alike, keep files of
    // their own.
    void differentCommittentiGiveDifferentNames()
    {
        const QString cleaned = reportFileName(QStringLiteral("Comune/X"))
                                    .mid(QStringLiteral("RelazioneUrbaflux-").size())
                                    .chopped(QStringLiteral(".docx").size());
        const QStringList committenti = {QStringLiteral("Comune/X"),
                                         QStringLiteral("Comune:X"),
                                         QStringLiteral("Comune_X"),
                                         QStringLiteral("Comune_X "),
                                         QStringLiteral(" Comune_X"),
                                         QStringLiteral("Comune_X."),
                                         cleaned,
                                         QString(),
                                         QStringLiteral(".."),
                                         QStringLiteral("..."),
                                         QStringLiteral(" "),
                                         QStringLiteral("senza-committente"),
                                         QString(300, QLatin1Char('y')),
                                         QString(301, QLatin1Char('y'))};
        QSet<QString> names;
        for (const QString& committente : committenti)
            names.insert(reportFileName(committente));
        QCOMPARE(names.size(), committenti.size());
    }

    void blockers()
    {
        ProjectState state;
        QCOMPARE(reportBlocker(state), ReportBlocker::NoAreas);
        const ReportMessage none = reportBlockerMessage(ReportBlocker::NoAreas, state);
        QCOMPARE(none.title,
                 QStringLiteral("ATTENZIONE: è necessario controllare le interazioni !"));
        QCOMPARE(none.text, QStringLiteral("Manca il dato essenziale: non esistono aree!"));
        state.areas.count = 2;
        QCOMPARE(reportBlocker(state), ReportBlocker::NoInteractions);
        const ReportMessage results = reportBlockerMessage(ReportBlocker::NoInteractions, state);
        QCOMPARE(results.title, QStringLiteral("Urbaflux"));
        QCOMPARE(results.text, QStringLiteral("Controllare i 'Risultati' del calcolo."));
        state.interactions.totalInteractions = 12.5;
        QCOMPARE(reportBlocker(state), ReportBlocker::None);
    }

    // A calibration written into alpha: the model section says which data and criterion gave
    // it, with the fit of the results and the two charts; once alpha is typed otherwise, or
    // without a calibration, the section is as before.
    void calibrationInTheModelSection_data()
    {
        QTest::addColumn<QString>("alpha"); // as the state holds it when the report is made
        QTest::addColumn<bool>("told");
        QTest::newRow("calibrated alpha") << QStringLiteral("1.5") << true;
        QTest::newRow("alpha typed again") << QStringLiteral("1.6") << false;
    }
    void calibrationInTheModelSection()
    {
        QFETCH(QString, alpha);
        QFETCH(bool, told);
        auto state = samples::elaboration(3);
        const int picturesBefore = pictureCount(build(*state)->document());
        QVERIFY(!build(*state)->document().paragraphTexts().join(u' ').contains(
            QStringLiteral("Taratura di alfa")));

        const ObservedRead observed = parseObservedInteractions(
            ",1,2,3\n1,80,5,15\n2,80,,80\n3,40,5,55\n", 3, QStringLiteral("osservate.csv"));
        QVERIFY(observed.ok());
        state->calibration = std::make_shared<const AppliedCalibration>(AppliedCalibration{
            QStringLiteral("osservate.csv"), CalibrationCriterion::LeastAbsoluteErrors,
            QStringLiteral("1.5"), *observed.value});
        state->model.alpha = FieldValue::fromText(alpha);
        QVERIFY(calculateInteractions(*state).completed());
        const auto report = build(*state);
        const QStringList texts = report->document().paragraphTexts();
        QCOMPARE(texts.contains(QStringLiteral(
                     "Taratura di alfa: il valore 1.5 è stato tarato sulle interazioni osservate "
                     "di «osservate.csv» con il criterio della minima somma degli errori assoluti. "
                     "Adattamento dei risultati alle interazioni osservate:")),
                 told);
        QCOMPARE(pictureCount(report->document()), picturesBefore + (told ? 2 : 0));
        if (!told)
            return;
        const FitMeasures fit = measureFit(*state, *observed.value);
        QVERIFY(texts.contains(QStringLiteral("- Coppie confrontate: 8 su 9")));
        QVERIFY(texts.contains(QStringLiteral("- Somma degli errori assoluti: ") +
                               QString::number(fit.absoluteErrors, 'g', 6)));
        // With URBAFLUX_SCREENSHOTS set to a folder, the report goes there to be looked at.
        if (const QString folder = qEnvironmentVariable("URBAFLUX_SCREENSHOTS"); !folder.isEmpty())
            report->writer.SaveDocumentAs(folder + QStringLiteral("/relazione-taratura.pdf"));
    }

private:
    QTemporaryDir m_dir;
    QString m_picture;
};

QTEST_MAIN(TestFullReport)
#include "tst_fullreport.moc"
