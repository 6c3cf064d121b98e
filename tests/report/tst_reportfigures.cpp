#include "reportsamples.h"

#include <chartpicture.h>
#include <chartslots.h>
#include <document.h>
#include <documentwriter.h>
#include <fullreport.h>
#include <reportfigures.h>
#include <samplezones.h>
#include <scenariocomparison.h>

#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace urbaflux;

class TestReportFigures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void mapFigure_data();
    void mapFigure();
    void comparisonSection();

private:
    QTemporaryDir m_dir;
    QString m_chart;
};

namespace {

int pictureRuns(const Document& document)
{
    int pictures = 0;
    for (const Block& block : document.blocks())
        if (const auto* paragraph = std::get_if<Paragraph>(&block))
            for (const Run& run : paragraph->runs)
                pictures += run.kind == Run::Kind::Picture;
    return pictures;
}

// The pictures a saved document holds: distinct media entries of a DOCX or ODT package, image
// objects of a PDF.
int savedPictures(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString bytes = QString::fromLatin1(file.readAll());
    if (path.endsWith(QStringLiteral(".pdf")))
        return int(bytes.count(QRegularExpression(QStringLiteral("/Subtype\\s*/Image"))));
    static const QRegularExpression entry(
        QStringLiteral("(word/media|Pictures)/[A-Za-z0-9_]+\\.(png|jpe?g)"));
    QSet<QString> names;
    for (auto it = entry.globalMatch(bytes); it.hasNext();)
        names.insert(it.next().captured(0));
    return int(names.size());
}

int writeReport(DocumentWriter& writer, const ProjectState& state, const QString& chart,
                const ScenarioComparison* comparison = nullptr)
{
    FullReportInput input{state,
                          samples::titlePage(),
                          {QStringLiteral("Studio Rossi"), QStringLiteral("via Roma 1")},
                          areaTotalTexts(state),
                          chart};
    input.comparison = comparison;
    input.baseFileName = QStringLiteral("Urbaflux-tot-oggi");
    return writeFullReport(writer, input);
}

} // namespace

void TestReportFigures::initTestCase()
{
    m_chart = m_dir.filePath(QStringLiteral("grafico.png"));
    const auto state = samples::elaboration(4);
    QVERIFY(renderChartPicture(selectChartSlots(*state), ChartKind::Bars, m_chart));
}

void TestReportFigures::mapFigure_data()
{
    QTest::addColumn<bool>("geometry");
    QTest::addColumn<QString>("format");
    for (const QString& format :
         {QStringLiteral("docx"), QStringLiteral("odt"), QStringLiteral("pdf")}) {
        QTest::newRow(qPrintable(QStringLiteral("with zones, ") + format)) << true << format;
        QTest::newRow(qPrintable(QStringLiteral("without zones, ") + format)) << false << format;
    }
}

void TestReportFigures::mapFigure()
{
    QFETCH(bool, geometry);
    QFETCH(QString, format);
    auto state = samples::elaboration(4);
    if (geometry)
        fillGridZones(*state, 2, 2);
    DocumentWriter writer;
    writeReport(writer, *state, m_chart);
    const int expected = geometry ? 2 : 1;
    QCOMPARE(pictureRuns(writer.document()), expected);
    // The caption follows the map, as its own paragraph.
    const bool captioned = writer.document()
                               .paragraphTexts()
                               .filter(QStringLiteral("relazioni mostrate sono il"))
                               .size() == 1;
    QCOMPARE(captioned, geometry);
    const QString path = m_dir.filePath(QStringLiteral("relazione.") + format);
    QVERIFY(writer.SaveDocumentAs(path).ok);
    QCOMPARE(savedPictures(path), expected);
}

void TestReportFigures::comparisonSection()
{
    const auto base = samples::elaboration(4, 3);
    auto project = samples::elaboration(4, 3);
    project->areas.destination[2] = QStringLiteral("900");
    project->areas.destination[3] = QStringLiteral("10");
    QVERIFY(calculateInteractions(*project).completed());
    const ScenarioComparison comparison = compareScenarios(*base, *project);
    QVERIFY(comparison.comparable());

    DocumentWriter plain;
    const int plainPages = writeReport(plain, *project, m_chart);
    DocumentWriter compared;
    const int comparedPages = writeReport(compared, *project, m_chart, &comparison);
    const QStringList texts = compared.document().paragraphTexts();
    QVERIFY(texts.contains(comparisonSectionHeading()));
    QVERIFY(!plain.document().paragraphTexts().contains(comparisonSectionHeading()));
    QVERIFY(texts
                .filter(QStringLiteral("del file Urbaflux-tot-oggi, calcolato con il modello "
                                       "'origine vincolata' e alfa 2"))
                .size() == 1);
    // One table more, with a row per area; the chart of the changes; the count includes them.
    QCOMPARE(compared.document().tables().size(), plain.document().tables().size() + 1);
    QCOMPARE(compared.document().tables().back()->rows, 5);
    QCOMPARE(pictureRuns(compared.document()), pictureRuns(plain.document()) + 1);
    QVERIFY(comparedPages >= plainPages);
    QCOMPARE(comparedPages, compared.CountPages());
}

QTEST_MAIN(TestReportFigures)
#include "tst_reportfigures.moc"
