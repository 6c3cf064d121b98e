#include "pairlayout.h"
#include "projectstate.h"

#include <QTest>
#include <memory>

using namespace urbaflux;

namespace {

// A distance and a weight that say which origin and destination they were typed for.
QString distanceOf(int origin, int destination)
{
    return QStringLiteral("%1.%2").arg(origin).arg(destination);
}

QString weightOf(int origin, int destination)
{
    return QString::number((origin * 7 + destination) % 99 + 1);
}

QString areaName(int area)
{
    return QStringLiteral("Area %1").arg(area);
}

// `count` areas typed and their pair list built, every pair with its own distance and weight.
std::unique_ptr<ProjectState> laidOut(int count)
{
    auto state = std::make_unique<ProjectState>();
    for (int a = 1; a <= count; ++a) {
        state->areas.name[a] = areaName(a);
        state->areas.origin[a] = QStringLiteral("10");
        state->areas.destination[a] = QStringLiteral("10");
    }
    state->areas.count = count;
    buildPairList(*state);
    for (int i = 1; i <= count; ++i)
        for (int j = 1; j <= count; ++j) {
            const auto k = static_cast<size_t>(pairIndex(i, j, count));
            state->distances.distance[k] = distanceOf(i, j);
            state->distances.weight[k] = FieldValue::fromText(weightOf(i, j));
        }
    return state;
}

} // namespace

class TestPairLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every pair of the new layout holds the distance and weight typed for its two areas, or an
    // empty distance and the weight 100 when one of them is new; nothing stays beyond N².
    void pairsFollowTheirAreas_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<QString>("change"); // "count", "remove" or "insert"
        QTest::addColumn<int>("value");      // the new count, or the area removed or inserted
        QTest::newRow("grow 2 to 3") << 2 << QStringLiteral("count") << 3;
        QTest::newRow("grow 3 to 12") << 3 << QStringLiteral("count") << 12;
        QTest::newRow("shrink 3 to 2") << 3 << QStringLiteral("count") << 2;
        QTest::newRow("same count") << 4 << QStringLiteral("count") << 4;
        QTest::newRow("remove the first") << 4 << QStringLiteral("remove") << 1;
        QTest::newRow("remove in the middle") << 5 << QStringLiteral("remove") << 3;
        QTest::newRow("remove the last") << 3 << QStringLiteral("remove") << 3;
        QTest::newRow("remove the only area") << 1 << QStringLiteral("remove") << 1;
        QTest::newRow("insert in the middle") << 4 << QStringLiteral("insert") << 2;
        QTest::newRow("insert after the last") << 3 << QStringLiteral("insert") << 4;
        QTest::newRow("180 shrink to 179") << 180 << QStringLiteral("count") << 179;
        QTest::newRow("179 grow to 180") << 179 << QStringLiteral("count") << 180;
        QTest::newRow("180 remove 90") << 180 << QStringLiteral("remove") << 90;
        QTest::newRow("180 remove 1") << 180 << QStringLiteral("remove") << 1;
    }
    void pairsFollowTheirAreas()
    {
        QFETCH(int, before);
        QFETCH(QString, change);
        QFETCH(int, value);
        auto state = laidOut(before);

        // oldAreaOf[n]: the area of the old layout that new area n is; 0 for a new area.
        int after = value;
        std::vector<int> oldAreaOf(kMaxAreas + 1);
        if (change == QLatin1String("count")) {
            for (int n = 1; n <= after; ++n)
                oldAreaOf[static_cast<size_t>(n)] = n <= before ? n : 0;
            for (int a = before + 1; a <= after; ++a) {
                state->areas.name[a] = areaName(a);
                state->areas.destination[a] = QStringLiteral("10");
            }
            for (int a = after + 1; a <= before; ++a)
                state->areas.destination[a] = QString();
            state->areas.count = after;
            buildPairList(*state);
        } else if (change == QLatin1String("remove")) {
            after = before - 1;
            for (int n = 1; n <= after; ++n)
                oldAreaOf[static_cast<size_t>(n)] = n < value ? n : n + 1;
            QVERIFY(removeArea(*state, value));
            QCOMPARE(state->areas.count, after);
            if (after > 0)
                QCOMPARE(state->areas.name[after], areaName(value == before ? after : before));
            QVERIFY(state->areas.name[before].isEmpty());
        } else {
            // Put after the last area, the new one has no pairs until it is typed and listed.
            after = value <= before ? before + 1 : before;
            for (int n = 1; n <= after; ++n)
                oldAreaOf[static_cast<size_t>(n)] = n < value ? n : n == value ? 0 : n - 1;
            QVERIFY(insertArea(*state, value));
            QVERIFY(state->areas.name[value].isEmpty());
            QCOMPARE(state->areas.count, before); // until the new area gets its destination
        }

        const DistanceTable& d = state->distances;
        QCOMPARE(d.listedCount, after);
        for (int i = 1; i <= after; ++i) {
            for (int j = 1; j <= after; ++j) {
                const auto k = static_cast<size_t>(pairIndex(i, j, after));
                const int oi = oldAreaOf[static_cast<size_t>(i)];
                const int oj = oldAreaOf[static_cast<size_t>(j)];
                if (oi > 0 && oj > 0) {
                    QCOMPARE(d.distance[k], distanceOf(oi, oj));
                    QVERIFY(d.weight[k] == FieldValue::fromText(weightOf(oi, oj)));
                } else {
                    QVERIFY(d.distance[k].isEmpty());
                    QVERIFY(d.weight[k] == FieldValue::fromNumber(100));
                }
                QCOMPARE(d.pairNumbers[k], pairNumbersText(i, j));
                if (change != QLatin1String("insert") || (i != value && j != value))
                    QCOMPARE(d.pairNames[k],
                             state->areas.name[i] + QLatin1Char('-') + state->areas.name[j]);
            }
        }
        for (int k = after * after + 1; k <= kMaxPairs; ++k) {
            const auto at = static_cast<size_t>(k);
            QVERIFY(d.distance[at].isEmpty());
            QVERIFY(d.weight[at].isUnset());
            QVERIFY(d.pairNumbers[at].isEmpty());
            QVERIFY(d.pairNames[at].isEmpty());
        }
    }

    // Distances typed before any pair list stay where the areas' count puts them, and the
    // weights never set become 100.
    void aFirstListKeepsTheTypedPositions()
    {
        auto state = std::make_unique<ProjectState>();
        state->areas.count = 2;
        state->distances.distance[2] = QStringLiteral("4");
        state->distances.weight[3] = FieldValue::fromText(QStringLiteral("40"));
        buildPairList(*state);
        QCOMPARE(state->distances.distance[2], QStringLiteral("4"));
        QVERIFY(state->distances.weight[3] == FieldValue::fromText(QStringLiteral("40")));
        QVERIFY(state->distances.weight[1] == FieldValue::fromNumber(100));
        QCOMPARE(state->distances.listedCount, 2);
    }

    void refusedChangesChangeNothing_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("area");
        QTest::newRow("remove 0") << QStringLiteral("remove") << 0;
        QTest::newRow("remove 181") << QStringLiteral("remove") << 181;
        QTest::newRow("insert 0") << QStringLiteral("insert") << 0;
        QTest::newRow("insert with area 180 held") << QStringLiteral("insert") << 5;
    }
    void refusedChangesChangeNothing()
    {
        QFETCH(QString, change);
        QFETCH(int, area);
        auto state = laidOut(180);
        const bool done =
            change == QLatin1String("remove") ? removeArea(*state, area) : insertArea(*state, area);
        QVERIFY(!done);
        QCOMPARE(state->areas.count, 180);
        QCOMPARE(state->distances.listedCount, 180);
        QCOMPARE(state->areas.name[5], areaName(5));
        QCOMPARE(state->distances.distance[kMaxPairs], distanceOf(180, 180));
    }
};

QTEST_GUILESS_MAIN(TestPairLayout)
#include "tst_pairlayout.moc"
