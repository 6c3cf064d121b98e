#include "chartpicture.h"
#include "gravitationchart.h"

#include <projectstate.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace urbaflux;

class TestChartPicture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void printPicture_data();
    void printPicture();
    void rowsAsDrawn();
    void pieLegendWhole_data();
    void pieLegendWhole();
    void otherFormats();
    void failureNamesTheFile();
};

namespace {

// Twenty slots of pairs such as " 117- 180", decreasing values.
ChartSlots twentySlots()
{
    ChartSlots slots;
    slots.total = 55300; // the twenty make 75% of it
    for (int r = 0; r < kChartSlots; ++r) {
        ChartSlot& slot = slots.slots[static_cast<size_t>(r)];
        slot.pair = pairIndex(117 + r, 180 - r, 180);
        slot.label = pairNumbersText(117 + r, 180 - r);
        slot.value = 3000 - 97.5 * r;
        slot.percent = slotPercent(slot.value, slots.total);
        slot.names = QStringLiteral("Quartiere residenziale %1 \u2192 Zona industriale %2")
                         .arg(117 + r)
                         .arg(180 - r);
    }
    return slots;
}

int pixelsOf(const QImage& image, const QColor& colour)
{
    int found = 0;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            found += image.pixelColor(x, y) == colour;
    return found;
}

} // namespace

void TestChartPicture::printPicture_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QColor>("ink"); // a colour the drawing must use: the bars, the first slice
    QTest::newRow("bars") << int(ChartKind::Bars) << QColor(46, 94, 150);
    QTest::newRow("pie") << int(ChartKind::Pie) << QColor(31, 119, 180);
}

void TestChartPicture::printPicture()
{
    QFETCH(int, kind);
    QFETCH(QColor, ink);
    const QString path = chartPicturePath();
    QVERIFY(path.startsWith(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
    QVERIFY(path.endsWith(QStringLiteral("/graficoGravitazioni.png")));
    QFile::remove(path);

    QString error;
    QVERIFY2(renderChartPicture(twentySlots(), ChartKind(kind), path, &error), qPrintable(error));
    const QImage picture(path);
    QVERIFY(!picture.isNull());
    // About 300 dots per inch across the report's 17 cm text column.
    QVERIFY(picture.width() >= 1950 && picture.width() <= 2050);
    QCOMPARE(picture.size(), chartPrintLayoutSize() * (300.0 / 96.0));
    QCOMPARE(qRound(picture.dotsPerMeterX() * 0.0254), 300);
    QVERIFY(pixelsOf(picture, ink) > 1000);

    // The next picture replaces it.
    const QByteArray before = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    QVERIFY(renderChartPicture(ChartSlots{}, ChartKind(kind), path, &error));
    QFile after(path);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QVERIFY(after.readAll() != before);
    QVERIFY(pixelsOf(QImage(path), ink) < 100); // at most the legend marker
}

void TestChartPicture::rowsAsDrawn()
{
    GravitationChart chart;
    ChartSlots few;
    few.total = 220;
    const int pairs[] = {3, 2, 1, 4};
    const double values[] = {80, 80, 50, 11};
    for (int r = 0; r < 4; ++r) {
        few.slots[static_cast<size_t>(r)] = {
            pairs[r], pairNumbersText(1 + (pairs[r] - 1) / 2, 1 + (pairs[r] - 1) % 2), values[r],
            slotPercent(values[r], 220),
            QStringLiteral("A%1 \u2192 A%2")
                .arg(1 + (pairs[r] - 1) / 2)
                .arg(1 + (pairs[r] - 1) % 2)};
    }
    chart.showSlots(few, ChartKind::Bars);
    QCOMPARE(chart.title(), QStringLiteral("Gravitazioni principali"));
    QCOMPARE(chart.footnoteText(),
             QStringLiteral(
                 "Valori delle interazioni tra le aree in ordine decrescente (massimo 20 aree)"));
    QStringList bars{QStringLiteral(" 2- 1"), QStringLiteral(" 1- 2"), QStringLiteral(" 1- 1"),
                     QStringLiteral(" 2- 2")};
    while (bars.size() < kChartSlots)
        bars << QString();
    QCOMPARE(chart.rowLabels(), bars);
    QCOMPARE(chart.rowValues().mid(0, 5), (QList<double>{80, 80, 50, 11, 0}));

    chart.showSlots(few, ChartKind::Pie);
    QCOMPARE(chart.title(), QStringLiteral("Gravitazioni principali in %"));
    // Each relation by its areas, the percent of the grand total, and what the four make of it.
    QCOMPARE(chart.rowLabels().mid(0, 5),
             (QStringList{QStringLiteral("A2 \u2192 A1  36%"), QStringLiteral("A1 \u2192 A2  36%"),
                          QStringLiteral("A1 \u2192 A1  23%"), QStringLiteral("A2 \u2192 A2  5%"),
                          QString()}));
    QCOMPARE(chart.shareText(),
             QStringLiteral("le 4 relazioni principali sono il 100% del totale"));
    QCOMPARE(chart.series().size(), 1);
}

// All twenty relations in the legend, none cut, none over another or over the pie, at least
// 9 points in print (12 pixels of the layout at 96 per inch printed at its size) and 9 pixels
// in the window's chart at its design size.
void TestChartPicture::pieLegendWhole_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("minimumPixels");
    QTest::newRow("print") << chartPrintLayoutSize() << 12;
    QTest::newRow("window") << QSize(522, 339) << 9;
}

void TestChartPicture::pieLegendWhole()
{
    QFETCH(QSize, size);
    QFETCH(int, minimumPixels);
    GravitationChart chart;
    chart.resize(size);
    ChartSlots slots = twentySlots();
    chart.showSlots(slots, ChartKind::Pie);
    chart.layOutNow();
    QVERIFY2(chart.legendPixels() >= minimumPixels,
             qPrintable(QString::number(chart.legendPixels())));
    const QList<QRectF> rows = chart.legendRects();
    QCOMPARE(rows.size(), kChartSlots);
    QVERIFY(chart.legendTexts().first().endsWith(QStringLiteral("  5%")));
    for (int r = 0; r < rows.size(); ++r) {
        QVERIFY(chart.rect().contains(rows[r]));
        QVERIFY(rows[r].left() >= chart.plotArea().right());
        if (r > 0)
            QVERIFY(rows[r].top() >= rows[r - 1].bottom() - 1);
    }
    QCOMPARE(chart.shareText(),
             QStringLiteral("le 20 relazioni principali sono il 75% del totale"));
}

void TestChartPicture::otherFormats()
{
    QTemporaryDir dir;
    const struct
    {
        const char* name;
        QByteArray start;
    } formats[] = {{"grafico.svg", "<?xml"}, {"grafico.PDF", "%PDF"}, {"grafico.png", "\x89PNG"}};
    for (const auto& format : formats) {
        const QString path = dir.filePath(QLatin1String(format.name));
        QString error;
        QVERIFY2(saveChartImage(twentySlots(), ChartKind::Pie, path, &error), qPrintable(error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(file.readAll().startsWith(format.start), format.name);
    }
}

void TestChartPicture::failureNamesTheFile()
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("file"));
    QFile block(blocker);
    QVERIFY(block.open(QIODevice::WriteOnly));
    block.close();
    const QString path = blocker + QStringLiteral("/graficoGravitazioni.png");
    QString error;
    QVERIFY(!renderChartPicture(twentySlots(), ChartKind::Bars, path, &error));
    QVERIFY2(error.contains(path), qPrintable(error));
}

QTEST_MAIN(TestChartPicture)
#include "tst_chartpicture.moc"
