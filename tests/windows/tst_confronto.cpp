#include "comparisonmodels.h"
#include "confronto.h"
#include "grafici.h"
#include "windowfactory.h"
#include "windowtestfixture.h"

#include <completearchive.h>
#include <fullreport.h>
#include <sampleelaboration.h>
#include <titlepage.h>

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace urbaflux;

class TestConfronto : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsTheChangesOfOneZone();
    void refusesOtherAreas();
    void followsTheProjectAndGoesIntoTheReport();

private:
    QTemporaryDir m_dir;
};

namespace {

// The base archive of `areas` sample areas, written as the title page saves it.
QString writeBase(const QTemporaryDir& dir, int areas, const QString& name, int kind)
{
    auto base = std::make_unique<ProjectState>();
    fillSampleElaboration(*base, areas, kind);
    const QString path = dir.filePath(name);
    writeCompleteFile(path, *base, TitlePage{});
    return path;
}

Confronto* openFromWindowsMenu(WindowTestFixture& f)
{
    auto* charts = f.show<Grafici>(WindowId::Grafici);
    QAction* item = nullptr;
    const QList<QAction*> items = charts->windowsMenu()->actions();
    for (qsizetype i = 0; i < items.size(); ++i)
        if (items[i]->objectName() == QStringLiteral("mnuConfronta")) {
            item = items[i];
            // After the charts.
            if (i == 0 || items[i - 1]->objectName() != QStringLiteral("mnuGrafici"))
                return nullptr;
        }
    if (!item || item->text() != QStringLiteral("Confronta con uno scenario di base..."))
        return nullptr;
    item->trigger();
    return f.window<Confronto>(WindowId::Confronto);
}

} // namespace

void TestConfronto::showsTheChangesOfOneZone()
{
    const QString basePath = writeBase(m_dir, 6, QStringLiteral("Urbaflux-tot-oggi"), 2);
    WindowTestFixture f(&createWindow);
    fillSampleElaboration(f.state, 6, 2);
    // The plan: many more jobs in area 3.
    f.state.areas.destination[3] = QStringLiteral("2000");
    markInputsChanged(f.state);
    auto* w = openFromWindowsMenu(f);
    QVERIFY(w);
    f.prompts.expectOpenFile(basePath);
    QTest::mouseClick(w->baseButton(), Qt::LeftButton);
    UF_VERIFY_PROMPTS(f.prompts);
    QVERIFY(w->comparison().comparable());
    QCOMPARE(w->heading()->text(), QStringLiteral("base: Urbaflux-tot-oggi"));
    QCOMPARE(w->areaTable()->model()->rowCount(), 6);
    QCOMPARE(w->pairTable()->model()->rowCount(), 36);

    // Sorted by the change of the pair interactions, largest first: pairs towards area 3.
    w->pairTable()->sortByColumn(PairChangeModel::kChangeColumn, Qt::DescendingOrder);
    const QAbstractItemModel* pairs = w->pairTable()->model();
    QVERIFY(pairs->index(0, 2).data().toString().startsWith(QStringLiteral("3 ")));
    const double top = pairs->index(0, 5).data(kSortRole).toDouble();
    for (int r = 1; r < pairs->rowCount(); ++r)
        QVERIFY(pairs->index(r, 5).data(kSortRole).toDouble() <= top);
    // Numbers written the Italian way (decimal comma, grouping dots), increases signed.
    const QString shown = pairs->index(0, 5).data().toString();
    QVERIFY(shown.startsWith(u'+'));
    bool read = false;
    const double back = QLocale(QLocale::Italian).toDouble(shown.mid(1), &read);
    QVERIFY2(read && qAbs(back - top) <= 0.5, qPrintable(shown));

    // The filter keeps the largest changes only.
    w->filterCount()->setValue(4);
    w->filterBox()->setChecked(true);
    QCOMPARE(pairs->rowCount(), 4);
    w->filterBox()->setChecked(false);
    QCOMPARE(pairs->rowCount(), 36);

    // The chart: increases first (largest on top), then decreases.
    const auto& bars = w->chartBars();
    QVERIFY(bars.size() >= 2);
    QVERIFY(bars.front().origins.difference > 0);
    for (size_t i = 1; i < bars.size(); ++i)
        QVERIFY(bars[i].origins.difference <= bars[i - 1].origins.difference);
}

void TestConfronto::refusesOtherAreas()
{
    const QString basePath = writeBase(m_dir, 3, QStringLiteral("Urbaflux-tot-tre"), 3);
    WindowTestFixture f(&createWindow);
    fillSampleElaboration(f.state, 4, 3);
    auto* w = f.show<Confronto>(WindowId::Confronto);
    f.prompts.expectOpenFile(basePath);
    f.prompts.expectMessage();
    QTest::mouseClick(w->baseButton(), Qt::LeftButton);
    UF_VERIFY_PROMPTS(f.prompts);
    QVERIFY(f.prompts.lastMessage().text.contains(
        QStringLiteral("numero di aree diverso: base 3, progetto 4")));
    QVERIFY(!w->comparison().comparable());
    QCOMPARE(w->areaTable()->model()->rowCount(), 0);
    QCOMPARE(w->pairTable()->model()->rowCount(), 0);
}

void TestConfronto::followsTheProjectAndGoesIntoTheReport()
{
    const QString basePath = writeBase(m_dir, 4, QStringLiteral("Urbaflux-tot-base"), 1);
    WindowTestFixture f(&createWindow);
    fillSampleElaboration(f.state, 4, 3);
    auto* w = f.show<Confronto>(WindowId::Confronto);
    QVERIFY(w->openBase(basePath));
    // Another model and alpha in the base: compared all the same, and said.
    QCOMPARE(w->comparison().baseNote,
             QStringLiteral("base: modello 'origine e destinazione vincolate', alfa 2"));
    QVERIFY(w->heading()->text().contains(w->comparison().baseNote));

    // A change of the project's data is compared again before the report uses it.
    w->hide();
    f.state.areas.origin[1] = QStringLiteral("900");
    f.state.areas.destination[4] = QStringLiteral("900");
    computeAreaTotals(f.state);
    markInputsChanged(f.state);
    const TitlePage texts;
    FullReportInput input{f.state, texts, {}, {}, {}};
    w->addToReport(input);
    QCOMPARE(input.comparison, &w->comparison());
    QCOMPARE(input.baseFileName, QStringLiteral("Urbaflux-tot-base"));
    QCOMPARE(w->comparison().areas[0].origins.project, f.state.interactions.estimatedOrigins[1]);

    w->reportBox()->setChecked(false);
    FullReportInput without{f.state, texts, {}, {}, {}};
    w->addToReport(without);
    QVERIFY(!without.comparison);
}

QTEST_MAIN(TestConfronto)
#include "tst_confronto.moc"
