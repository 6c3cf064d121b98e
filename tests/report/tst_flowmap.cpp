#include "flowmap.h"
#include "mapprojection.h"

#include <projectstate.h>
#include <sampleelaboration.h>
#include <samplezones.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <proj.h>

using namespace urbaflux;

class TestFlowMap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void arrows_data();
    void arrows();
    void headsPointAtTheirTargets();
    void namesNeverCollide();
    void withoutGeometry();
    void pictures_data();
    void pictures();
    void utmAgreesWithProj_data();
    void utmAgreesWithProj();
    void layerCrs();
};

namespace {

// Four zones in a 2 x 2 grid near Bologna; interactions pair k = 10 k, own pairs 1000, and the
// pairs listed in `zero` nothing.
std::unique_ptr<ProjectState> sampleState(const QList<int>& zero = {})
{
    auto st = std::make_unique<ProjectState>();
    fillGridZones(*st, 2, 2);
    const int n = 4;
    for (int i = 1; i <= n; ++i) {
        st->interactions.estimatedOrigins[size_t(i)] = 100.0 * i;
        for (int j = 1; j <= n; ++j) {
            const int k = pairIndex(i, j, n);
            st->interactions.interaction[size_t(k)] = i == j             ? 1000.f
                                                      : zero.contains(k) ? 0.f
                                                                         : float(10 * k);
        }
    }
    return st;
}

FlowMapDrawing paintOffscreen(const FlowMapData& data, QSize size = {800, 720})
{
    QImage image(size, QImage::Format_RGB32);
    FlowMapDrawing drawn;
    QPainter painter(&image);
    paintFlowMap(painter, QRectF(QPointF(0, 0), QSizeF(size)), data, &drawn);
    return drawn;
}

} // namespace

void TestFlowMap::arrows_data()
{
    QTest::addColumn<int>("limit");
    QTest::addColumn<QList<int>>("zero");
    QTest::addColumn<QList<int>>("pairs");
    QTest::addColumn<QString>("percent");

    // Pairs between different areas: 2 3 4 5 7 8 9 10 12 13 14 15 (10 k each, 1020 in all).
    QTest::newRow("the five largest, smallest first")
        << 5 << QList<int>{} << QList<int>{10, 12, 13, 14, 15} << QStringLiteral("campione");
    QTest::newRow("a zero interaction has no arrow")
        << 200 << QList<int>{2, 9} << QList<int>{3, 4, 5, 7, 8, 10, 12, 13, 14, 15}
        << QStringLiteral("100,0");
}

void TestFlowMap::arrows()
{
    QFETCH(int, limit);
    QFETCH(QList<int>, zero);
    QFETCH(QList<int>, pairs);
    QFETCH(QString, percent);

    const auto st = sampleState(zero);
    FlowMapOptions options;
    options.flows = limit;
    const FlowMapData data = flowMapData(*st, options);
    const FlowMapDrawing drawn = paintOffscreen(data);

    QList<int> got;
    for (const DrawnArrow& arrow : drawn.arrows)
        got << arrow.pair;
    QCOMPARE(got, pairs);
    // Widths proportional to the values, the largest as wide as the legend's widest sample.
    const double ratio = drawn.arrows.back().width / drawn.arrows.back().value;
    for (const DrawnArrow& arrow : drawn.arrows) {
        QVERIFY(qAbs(arrow.width / arrow.value - ratio) < 1e-9 * ratio);
        // The head stops at the target circle, not inside it and not far from it.
        const double d =
            std::hypot(arrow.tip.x() - arrow.target.x(), arrow.tip.y() - arrow.target.y());
        QVERIFY2(d >= arrow.targetRadius && d <= arrow.targetRadius + 4,
                 qPrintable(QStringLiteral("pair %1: tip %2 from a radius of %3")
                                .arg(arrow.pair)
                                .arg(d)
                                .arg(arrow.targetRadius)));
        // The head points at the target, from outside its circle, whatever the circle's size.
        const double fromBase =
            std::hypot(arrow.base.x() - arrow.target.x(), arrow.base.y() - arrow.target.y());
        QVERIFY2(fromBase > d + 1, qPrintable(QStringLiteral("pair %1").arg(arrow.pair)));
    }
    QCOMPARE(drawn.legendValues.size(), size_t(3));
    for (size_t k = 0; k < 3; ++k)
        QVERIFY(qAbs(drawn.legendWidths[k] / drawn.legendValues[k] - ratio) < 1e-9 * ratio);
    // Circles: area proportional to the origins (100, 200, 300, 400).
    QVERIFY(qAbs(std::pow(drawn.circleRadii[0] / drawn.circleRadii[3], 2) - 0.25) < 1e-9);
    if (percent == QStringLiteral("campione")) // 640 of 1020
        percent = QStringLiteral("62,7");
    QCOMPARE(drawn.caption, QStringLiteral("Le %1 relazioni mostrate sono il %2% delle interazioni "
                                           "tra aree diverse")
                                .arg(pairs.size())
                                .arg(percent));
    QVERIFY(drawn.scaleBarMetres > 0);
    QCOMPARE(drawn.shownNames.size() + drawn.hiddenNames.size(), qsizetype(4));
}

void TestFlowMap::headsPointAtTheirTargets()
{
    // A computed elaboration at the print size: small flows into large circles too.
    auto st = std::make_unique<ProjectState>();
    fillSampleElaboration(*st, 4);
    fillGridZones(*st, 2, 2);
    const FlowMapDrawing drawn = paintOffscreen(flowMapData(*st), flowMapPrintLayoutSize());
    QVERIFY(drawn.arrows.size() >= 10);
    for (const DrawnArrow& arrow : drawn.arrows) {
        const double tip =
            std::hypot(arrow.tip.x() - arrow.target.x(), arrow.tip.y() - arrow.target.y());
        const double base =
            std::hypot(arrow.base.x() - arrow.target.x(), arrow.base.y() - arrow.target.y());
        const double length =
            std::hypot(arrow.tip.x() - arrow.base.x(), arrow.tip.y() - arrow.base.y());
        QVERIFY2(base > tip && tip >= arrow.targetRadius && length >= 2 && length < 40,
                 qPrintable(QStringLiteral("pair %1: tip %2, base %3, radius %4")
                                .arg(arrow.pair)
                                .arg(tip)
                                .arg(base)
                                .arg(arrow.targetRadius)));
    }
}

void TestFlowMap::namesNeverCollide()
{
    // Thirty zones with long names in a small picture: some names must give way.
    ProjectState st;
    st.areas.count = 30;
    for (int i = 1; i <= 30; ++i) {
        st.areas.name[size_t(i)] = QStringLiteral("Quartiere residenziale numero %1").arg(i);
        st.interactions.estimatedOrigins[size_t(i)] = i;
    }
    fillGridZones(st, 6, 5);
    const FlowMapDrawing drawn = paintOffscreen(flowMapData(st), QSize(400, 360));
    QVERIFY(!drawn.hiddenNames.isEmpty());
    QVERIFY(!drawn.shownNames.isEmpty());
    // The largest circle's name is placed first, so it is always shown.
    QVERIFY(drawn.shownNames.contains(QStringLiteral("Quartiere residenziale numero 30")));
    for (size_t a = 0; a < drawn.nameRects.size(); ++a)
        for (size_t b = a + 1; b < drawn.nameRects.size(); ++b)
            QVERIFY(!drawn.nameRects[a].intersects(drawn.nameRects[b]));
}

void TestFlowMap::withoutGeometry()
{
    ProjectState st;
    st.areas.count = 3;
    st.interactions.interaction[2] = 5;
    const FlowMapData data = flowMapData(st);
    QVERIFY(!data.hasGeometry());
    QVERIFY(paintOffscreen(data).arrows.empty());
}

void TestFlowMap::pictures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("start");
    QTest::newRow("png") << QStringLiteral("mappa.png") << QByteArray("\x89PNG");
    QTest::newRow("svg") << QStringLiteral("mappa.SVG") << QByteArray("<?xml");
    QTest::newRow("pdf") << QStringLiteral("mappa.pdf") << QByteArray("%PDF");
}

void TestFlowMap::pictures()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, start);
    const QTemporaryDir dir;
    const QString path = dir.filePath(file);
    QString error;
    QVERIFY2(saveFlowMapImage(flowMapData(*sampleState()), path, &error), qPrintable(error));
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.read(start.size()) == start);
    if (file.endsWith(QStringLiteral(".png"))) {
        const QImage image(path);
        QVERIFY(image.width() >= 1500);
        QCOMPARE(image.height(),
                 int(std::lround(flowMapPrintLayoutSize().height() * kFlowMapPrintDpi / 96.0)));
        QCOMPARE(int(std::lround(image.dotsPerMeterX() * 0.0254)), kFlowMapPrintDpi);
    }
    // A folder that cannot exist: a message naming the file, nothing written.
    QVERIFY(
        !saveFlowMapImage(flowMapData(*sampleState()), QStringLiteral("/proc/no/") + file, &error));
    QVERIFY(error.contains(file));
}

void TestFlowMap::utmAgreesWithProj_data()
{
    QTest::addColumn<double>("lon");
    QTest::addColumn<double>("lat");
    QTest::newRow("central meridian") << 9.0 << 45.0;
    QTest::newRow("zone edge, Alps") << 11.99 << 46.5;
    QTest::newRow("Sicily") << 14.9 << 37.5; // zone 33
    QTest::newRow("south of the equator") << -47.9 << -15.8;
}

void TestFlowMap::utmAgreesWithProj()
{
    QFETCH(double, lon);
    QFETCH(double, lat);
    const int zone = MapProjection::utmZone(lon);
    const MapProjection own = MapProjection::utm(zone, lat >= 0);
    const QPointF ours = own.project(GeoPoint{lon, lat});

    PJ_CONTEXT* ctx = proj_context_create();
    const QByteArray definition = QStringLiteral("+proj=utm +zone=%1 %2 +datum=WGS84")
                                      .arg(zone)
                                      .arg(lat >= 0 ? QString() : QStringLiteral("+south"))
                                      .toLatin1();
    PJ* p = proj_create_crs_to_crs(ctx, "EPSG:4326", definition.constData(), nullptr);
    PJ* normal = proj_normalize_for_visualization(ctx, p);
    const PJ_COORD out = proj_trans(normal, PJ_FWD, proj_coord(lon, lat, 0, 0));
    proj_destroy(normal);
    proj_destroy(p);
    proj_context_destroy(ctx);
    QVERIFY2(std::hypot(ours.x() - out.xy.x, ours.y() - out.xy.y) < 0.01,
             qPrintable(QStringLiteral("%1 %2 against %3 %4")
                            .arg(ours.x(), 0, 'f', 3)
                            .arg(ours.y(), 0, 'f', 3)
                            .arg(out.xy.x, 0, 'f', 3)
                            .arg(out.xy.y, 0, 'f', 3)));
}

void TestFlowMap::layerCrs()
{
    // A layer in its own projected CRS (here the Italian Gauss-Boaga, whose northing axis a
    // careless reader would take for the easting) is drawn in that CRS.
    ProjectState st;
    fillGridZones(st, 2, 1);
    PJ_CONTEXT* ctx = proj_context_create();
    PJ* crs = proj_create(ctx, "EPSG:3003");
    st.zones.projectedCrs = QString::fromUtf8(proj_as_wkt(ctx, crs, PJ_WKT2_2019, nullptr));
    proj_destroy(crs);
    proj_context_destroy(ctx);
    const MapProjection projection = MapProjection::forZones(st.zones);
    QVERIFY(projection.usesLayerCrs());
    QCOMPARE(projection.name(), QStringLiteral("Monte Mario / Italy zone 1"));
    const QPointF p = projection.project(GeoPoint{11.3, 44.5});
    QVERIFY(p.x() > 1600000 && p.x() < 1700000); // false easting 1,500 km, 2.3 degrees east
    QVERIFY(p.y() > 4900000 && p.y() < 5000000);
    // Garbage is no CRS: the map falls back to the UTM zone of the centre.
    st.zones.projectedCrs = QStringLiteral("non un sistema di riferimento");
    QCOMPARE(MapProjection::forZones(st.zones).name(), QStringLiteral("UTM 32N"));
}

QTEST_MAIN(TestFlowMap)
#include "tst_flowmap.moc"
