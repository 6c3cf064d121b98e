#include "flowselection.h"
#include "projectstate.h"

#include <QTest>

using namespace urbaflux;

class TestFlowSelection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void selection_data();
    void selection();
    void caption();
    void fromState();
};

void TestFlowSelection::selection_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<double>>("values"); // pairs 1 to count²
    QTest::addColumn<int>("limit");
    QTest::addColumn<QList<int>>("pairs"); // drawing order: smallest first
    QTest::addColumn<double>("share");

    // Three areas: pairs 1, 5 and 9 are an area with itself, pair 6 is zero.
    const QList<double> three{50, 10, 30, 20, 99, 0, 5, 40, 77};
    QTest::newRow("the two largest, smallest first, own pairs left out")
        << 3 << three << 2 << QList<int>{3, 8} << 100.0 * 70 / 105;
    QTest::newRow("no arrow for a zero interaction")
        << 3 << three << 10 << QList<int>{7, 2, 4, 3, 8} << 100.0;
    QTest::newRow("equal values: the later pair ranks higher")
        << 3 << QList<double>{0, 10, 10, 10, 0, 0, 0, 0, 0} << 2 << QList<int>{3, 4}
        << 100.0 * 20 / 30;
    QTest::newRow("changes ranked by magnitude")
        << 2 << QList<double>{0, -50, 10, 0} << 1 << QList<int>{2} << 100.0 * 50 / 60;
    QTest::newRow("nothing between areas")
        << 2 << QList<double>{7, 0, 0, 3} << 5 << QList<int>{} << 0.0;
}

void TestFlowSelection::selection()
{
    QFETCH(int, count);
    QFETCH(QList<double>, values);
    QFETCH(int, limit);
    QFETCH(QList<int>, pairs);
    QFETCH(double, share);

    std::vector<double> byPair(values.size() + 1);
    for (qsizetype k = 0; k < values.size(); ++k)
        byPair[size_t(k + 1)] = values[k];
    const FlowSelection selection = selectLargestFlows(byPair, count, limit);
    QList<int> got;
    for (const Flow& flow : selection.flows) {
        got << flow.pair;
        QCOMPARE(flow.pair, pairIndex(flow.origin, flow.destination, count));
        QCOMPARE(flow.value, values[flow.pair - 1]);
    }
    QCOMPARE(got, pairs);
    QVERIFY(qAbs(selection.sharePercent() - share) < 1e-9);
}

void TestFlowSelection::caption()
{
    std::vector<double> byPair{0, 50, 10, 30, 20, 99, 0, 5, 40, 77};
    QCOMPARE(flowMapCaption(selectLargestFlows(byPair, 3, 2)),
             QStringLiteral("Le 2 relazioni mostrate sono il 66,7% delle interazioni tra aree "
                            "diverse"));
    QCOMPARE(boundedFlowLimit(1), kMinMapFlows);
    QCOMPARE(boundedFlowLimit(1000), kMaxMapFlows);
}

void TestFlowSelection::fromState()
{
    // The state's interactions are the computed ones; pairs beyond count² do not exist.
    ProjectState state;
    state.areas.count = 2;
    state.interactions.interaction[2] = 8;
    state.interactions.interaction[3] = 3;
    state.interactions.interaction[5] = 1000;
    const FlowSelection selection = selectLargestFlows(state, 20);
    QCOMPARE(selection.flows.size(), size_t(2));
    QCOMPARE(selection.flows[0].pair, 3);
    QCOMPARE(selection.flows[1].pair, 2);
}

QTEST_APPLESS_MAIN(TestFlowSelection)
#include "tst_flowselection.moc"
