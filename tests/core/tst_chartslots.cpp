#include "chartslots.h"

#include "../support/samplestate.h"
#include "projectstate.h"

#include <QTest>

using namespace urbaflux;

class TestChartSlots : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void selection_data();
    void selection();
    void percent_data();
    void percent();
    void pieLabels();
    void relationsByName();
};

namespace {

ProjectState stateWith(int n, const QList<float>& values, double total)
{
    return std::move(*samples::SampleState(n, 0).interactions(values, total).build());
}

} // namespace

void TestChartSlots::selection_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<float>>("values");
    QTest::addColumn<double>("total");
    QTest::addColumn<QList<int>>("pairs"); // the slots' pairs from slot 1; the rest are empty

    QTest::newRow("ties: the later pair first")
        << 2 << QList<float>{50, 80, 80, 10} << 220.0 << QList<int>{3, 2, 1, 4};
    QTest::newRow("zero interactions still fill slots")
        << 2 << QList<float>{0, 5, 0, 0} << 5.0 << QList<int>{2, 4, 3, 1};
    QTest::newRow("below zero never taken")
        << 2 << QList<float>{-1, 5, 2, -3} << 3.0 << QList<int>{2, 3};
    QTest::newRow("no total: nothing to chart")
        << 2 << QList<float>{50, 80, 80, 10} << 0.0 << QList<int>{};
    QList<float> many;
    QList<int> top;
    for (int k = 1; k <= 25; ++k)
        many << float(k % 5 == 0 ? 100 : k);
    top << 25 << 20 << 15 << 10 << 5;
    for (int k = 24; top.size() < 20; --k)
        if (k % 5 != 0)
            top << k;
    QTest::newRow("twenty of twenty-five") << 5 << many << 1000.0 << top;
}

void TestChartSlots::selection()
{
    QFETCH(int, count);
    QFETCH(QList<float>, values);
    QFETCH(double, total);
    QFETCH(QList<int>, pairs);
    const ProjectState st = stateWith(count, values, total);
    const ChartSlots slots = selectChartSlots(st);
    QCOMPARE(slots.total, total);
    for (int r = 0; r < kChartSlots; ++r) {
        const ChartSlot& slot = slots.slots[static_cast<size_t>(r)];
        if (r < pairs.size()) {
            QCOMPARE(slot.pair, pairs[r]);
            QCOMPARE(slot.value, double(values[pairs[r] - 1]));
            QCOMPARE(slot.label, st.distances.pairNumbers[static_cast<size_t>(pairs[r])]);
            QCOMPARE(slot.percent, slotPercent(slot.value, total));
        } else {
            QCOMPARE(slot.pair, 0);
            QCOMPARE(slot.value, 0.0);
            QVERIFY(slot.label.isEmpty());
            QCOMPARE(slot.percent, 0);
        }
    }
    QCOMPARE(hasChartResults(slots), total != 0);
    QCOMPARE(hasChartPairs(slots), !pairs.isEmpty());
}

void TestChartSlots::percent_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("total");
    QTest::addColumn<int>("percent");
    QTest::newRow("80 of 220") << 80.0 << 220.0 << 36;
    QTest::newRow("11 of 220: 5.5 gives 5") << 11.0 << 220.0 << 5;
    QTest::newRow("half up") << 1.0 << 200.0 << 1;
    QTest::newRow("empty slot") << 0.0 << 220.0 << 0;
    QTest::newRow("all of it") << 220.0 << 220.0 << 100;
    QTest::newRow("no total") << 5.0 << 0.0 << 0;
}

void TestChartSlots::percent()
{
    QFETCH(double, value);
    QFETCH(double, total);
    QFETCH(int, percent);
    QCOMPARE(slotPercent(value, total), percent);
}

void TestChartSlots::pieLabels()
{
    ChartSlot slot;
    slot.pair = 2;
    slot.label = pairNumbersText(1, 2);
    slot.percent = 35;
    QCOMPARE(pieSlotLabel(slot), QStringLiteral(" 1- 2   35%"));
    QCOMPARE(pieSlotLabel(ChartSlot{}), QStringLiteral("   0%"));
}

// The legend names a relation by its areas, origin first; the share line sums the slots shown.
void TestChartSlots::relationsByName()
{
    ProjectState st = stateWith(3, {1, 2, 3, 40, 5, 6, 7, 8, 9}, 100);
    st.areas.name[1] = QStringLiteral("Centro");
    st.areas.name[2] = QStringLiteral("Stazione");
    st.areas.name[3] = QStringLiteral("Porto");
    const ChartSlots slots = selectChartSlots(st);
    QCOMPARE(slots.slots[0].pair, 4);
    QCOMPARE(slots.slots[0].names, QStringLiteral("Stazione \u2192 Centro"));
    QCOMPARE(pieLegendLabel(slots.slots[0]), QStringLiteral("Stazione \u2192 Centro  40%"));
    QCOMPARE(slots.slots[1].names, QStringLiteral("Porto \u2192 Porto"));
    QCOMPARE(pieShareText(slots),
             QStringLiteral("le 9 relazioni principali sono l'81% del totale"));
    // Without names, the pair numbers.
    ChartSlot unnamed = slots.slots[0];
    unnamed.names = QStringLiteral(" \u2192 ");
    QCOMPARE(pieLegendLabel(unnamed), QStringLiteral("2- 1  40%"));
}

QTEST_GUILESS_MAIN(TestChartSlots)
#include "tst_chartslots.moc"
