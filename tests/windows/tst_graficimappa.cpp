#include "flowmapview.h"
#include "grafici.h"
#include "windowfactory.h"
#include "windowtestfixture.h"

#include <chartpicture.h>
#include <document.h>
#include <sampleelaboration.h>
#include <samplezones.h>

#include <QAction>
#include <QChartView>
#include <QFile>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

using namespace urbaflux;

class TestGraficiMappa : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void buttonToolbarAndShortcutShowTheMap();
    void withoutZonesTheViewSaysHowToImportThem();
    void printoutIncludesTheShownMap();
    void savesTheMapPicture();
};

namespace {

int pictures(const Document& document)
{
    int count = 0;
    for (const Block& block : document.blocks())
        if (const auto* paragraph = std::get_if<Paragraph>(&block))
            for (const Run& run : paragraph->runs)
                count += run.kind == Run::Kind::Picture;
    return count;
}

} // namespace

void TestGraficiMappa::buttonToolbarAndShortcutShowTheMap()
{
    WindowTestFixture f(&createWindow);
    fillSampleElaboration(f.state, 9);
    fillGridZones(f.state, 3, 3);
    auto* w = f.show<Grafici>(WindowId::Grafici);
    QVERIFY(!w->mapShown());

    QTest::mouseClick(w->mapButton(), Qt::LeftButton);
    QVERIFY(w->mapShown());
    QVERIFY(!w->chartView()->isVisibleTo(w));
    w->mapView()->grab();
    QCOMPARE(w->mapView()->drawing().arrows.size(), size_t(20));
    QVERIFY(w->mapView()->drawing().caption.startsWith(QStringLiteral("Le 20 relazioni")));

    w->mapFlowsBox()->setValue(5);
    w->mapView()->grab();
    QCOMPARE(w->mapView()->drawing().arrows.size(), size_t(5));

    QTest::mouseClick(w->barsButton(), Qt::LeftButton);
    QVERIFY(!w->mapShown());
    QVERIFY(w->chartView()->isVisibleTo(w));

    // The toolbar's own position, then Ctrl+M.
    QVERIFY(
        w->findChild<QToolBar*>(QStringLiteral("Toolbar1"))->actions().contains(w->mapAction()));
    w->mapAction()->trigger();
    QVERIFY(w->mapShown());
    QTest::mouseClick(w->pieButton(), Qt::LeftButton);
    QVERIFY(!w->mapShown());
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, Qt::Key_M, Qt::ControlModifier);
    QVERIFY(w->mapShown());
    UF_VERIFY_PROMPTS(f.prompts);
}

void TestGraficiMappa::withoutZonesTheViewSaysHowToImportThem()
{
    WindowTestFixture f(&createWindow);
    fillSampleElaboration(f.state, 4);
    auto* w = f.show<Grafici>(WindowId::Grafici);
    QTest::mouseClick(w->mapButton(), Qt::LeftButton);
    QVERIFY(w->mapShown());
    QVERIFY(!w->mapView()->data().hasGeometry());
    w->mapView()->grab();
    QVERIFY(w->mapView()->drawing().arrows.empty());
    QVERIFY(
        FlowMapView::noGeometryText().contains(QStringLiteral("\"Importa zone da file GIS...\"")));
}

void TestGraficiMappa::printoutIncludesTheShownMap()
{
    WindowTestFixture f(&createWindow);
    fillSampleElaboration(f.state, 4);
    fillGridZones(f.state, 2, 2);
    auto* w = f.show<Grafici>(WindowId::Grafici);
    w->stampa_Click();
    QCOMPARE(pictures(*f.documents.last()), 1);
    QTest::mouseClick(w->mapButton(), Qt::LeftButton);
    w->stampa_Click();
    QCOMPARE(f.documents.count(), 2);
    QCOMPARE(pictures(*f.documents.last()), 2);
    UF_VERIFY_PROMPTS(f.prompts);
}

void TestGraficiMappa::savesTheMapPicture()
{
    WindowTestFixture f(&createWindow);
    fillSampleElaboration(f.state, 4);
    fillGridZones(f.state, 2, 2);
    auto* w = f.show<Grafici>(WindowId::Grafici);
    QTest::mouseClick(w->mapButton(), Qt::LeftButton);
    const QTemporaryDir dir;
    // Without a known extension the picture is a PNG.
    f.prompts.expectSaveFile(dir.filePath(QStringLiteral("mappa")));
    w->saveMapImageAs();
    const QImage png(dir.filePath(QStringLiteral("mappa.png")));
    QVERIFY(png.width() >= 1500);
    f.prompts.expectSaveFile(dir.filePath(QStringLiteral("mappa.pdf")));
    w->saveMapImageAs();
    QFile pdf(dir.filePath(QStringLiteral("mappa.pdf")));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QCOMPARE(pdf.read(4), QByteArray("%PDF"));
    UF_VERIFY_PROMPTS(f.prompts);
}

QTEST_MAIN(TestGraficiMappa)
#include "tst_graficimappa.moc"
