#include "projectstate.h"

#include <QTest>
#include <memory>

using namespace urbaflux;

class TestProjectState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The area totals: what the window shows and the report prints, unrounded, and the
    // destination total the results are measured against, rounded area by area.
    void areaTotals_data()
    {
        QTest::addColumn<QStringList>("origins");
        QTest::addColumn<QStringList>("destinations");
        QTest::addColumn<double>("originTotal");
        QTest::addColumn<double>("destinationTotal");
        QTest::addColumn<double>("roundedDestinations");
        QTest::newRow("halves") << QStringList{QStringLiteral("10"), QStringLiteral("2.5")}
                                << QStringList{QStringLiteral("3.5"), QStringLiteral("4.4")} << 12.5
                                << 7.9 << 8.0;
        QTest::newRow("leading numbers")
            << QStringList{QStringLiteral("1,5"), QStringLiteral("x")}
            << QStringList{QStringLiteral("2.5km"), QString()} << 1.0 << 2.5 << 3.0;
        QTest::newRow("negative half rounds up")
            << QStringList{QStringLiteral("1")} << QStringList{QStringLiteral("-2.5")} << 1.0
            << -2.5 << -2.0;
    }
    void areaTotals()
    {
        QFETCH(QStringList, origins);
        QFETCH(QStringList, destinations);
        QFETCH(double, originTotal);
        QFETCH(double, destinationTotal);
        QFETCH(double, roundedDestinations);
        auto owned = std::make_unique<ProjectState>();
        ProjectState& state = *owned;
        // Beyond the count too: every position 1 to 180 adds.
        for (int i = 0; i < origins.size(); ++i) {
            state.areas.origin[static_cast<size_t>(i + 170)] = origins[i];
            state.areas.destination[static_cast<size_t>(i + 170)] = destinations[i];
        }
        const AreaTotals totals = urbaflux::areaTotals(state.areas);
        QCOMPARE(totals.origins, originTotal);
        QCOMPARE(totals.destinations, destinationTotal);
        QCOMPARE(totals.roundedDestinations, roundedDestinations);
        state.areas.origin[1] = QStringLiteral("0");
        urbaflux::computeAreaTotals(state);
        QCOMPARE(state.areas.totalOrigins, originTotal);
        QCOMPARE(state.areas.totalDestinations, roundedDestinations);
    }

    void pairIndexOrdersByOriginThenDestination()
    {
        QCOMPARE(pairIndex(2, 1, 3), 4);
        QCOMPARE(pairIndex(2, 2, 3), 5);
        QCOMPARE(pairIndex(3, 3, 3), 9);
        QCOMPARE(pairIndex(180, 180, 180), kMaxPairs);
    }

    void pairLabelsHaveTwoBlanks()
    {
        QCOMPARE(pairNumbersText(1, 2), QStringLiteral(" 1- 2"));
        QCOMPARE(pairNumbersText(12, 180), QStringLiteral(" 12- 180"));
    }

    void capacities()
    {
        auto state = std::make_unique<ProjectState>();
        QCOMPARE(int(state->areas.name.size()), kMaxAreas + 1);
        QCOMPARE(int(state->distances.distance.size()), kMaxPairs + 1);
        QCOMPARE(int(state->distances.pairNames.size()), kLabelSlots + 1);
        state->interactions.matrix(180, 180) = 5;
        QCOMPARE(state->interactions.matrix(180, 180), 5.0);
        QCOMPARE(state->interactions.matrix(179, 180), 0.0);
    }

    void modelLabels_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("label");
        QTest::newRow("none") << 0 << QString();
        QTest::newRow("1") << 1 << QStringLiteral("'origine e destinazione vincolate'");
        QTest::newRow("2") << 2 << QStringLiteral("'destinazione vincolata'");
        QTest::newRow("3") << 3 << QStringLiteral("'origine vincolata'");
        QTest::newRow("out of range") << 4 << QString();
    }
    void modelLabels()
    {
        QFETCH(int, code);
        QFETCH(QString, label);
        QCOMPARE(modelKindLabel(code), label);
        QCOMPARE(isModelKindCode(code), !label.isEmpty());
    }

    void applyDefaultsRestoresTheModelDefaultsOnly()
    {
        auto state = std::make_unique<ProjectState>();
        state->model.kind = 2;
        state->model.unit = QStringLiteral("metri");
        state->model.alpha = FieldValue::fromText(QStringLiteral("1.5"));
        state->areas.count = 3;
        applyDefaults(*state);
        QCOMPARE(state->model.unit, QStringLiteral("chilometri"));
        QVERIFY(state->model.alpha == FieldValue::fromNumber(2));
        QVERIFY(state->model.tolerance == FieldValue::fromNumber(0.0001));
        QCOMPARE(state->model.interactionType, QStringLiteral("spostamenti degli utenti"));
        QCOMPARE(state->run.checkTitle,
                 QStringLiteral("Urbaflux: controllo dati immessi nella finestra attiva"));
        QCOMPARE(state->run.helpHint, QStringLiteral("Urbaflux: aiuto nella finestra attiva"));
        QCOMPARE(state->run.deleteTitle,
                 QStringLiteral(
                     "Elimina: seleziona il file desiderato e clicca su Apri per cancellarlo"));
        QCOMPARE(int(state->model.kind), 2);
        QCOMPARE(state->areas.count, 3);
    }

    void computeAreaTotals_data()
    {
        QTest::addColumn<QStringList>("origins");
        QTest::addColumn<QStringList>("destinations");
        QTest::addColumn<double>("totalOrigins");
        QTest::addColumn<double>("totalDestinations");
        QTest::newRow("destinations rounded one by one")
            << QStringList{QStringLiteral("10"), QStringLiteral("2.5")}
            << QStringList{QStringLiteral("3.5"), QStringLiteral("4.4")} << 12.5 << 8.0;
        QTest::newRow("first origin empty keeps the totals")
            << QStringList{QString(), QStringLiteral("7")}
            << QStringList{QStringLiteral("1"), QStringLiteral("2")} << -1.0 << -1.0;
        QTest::newRow("leading numbers") << QStringList{QStringLiteral("1,5"), QStringLiteral("x")}
                                         << QStringList{QStringLiteral("2.5 posti")} << 1.0 << 3.0;
    }
    void computeAreaTotals()
    {
        QFETCH(QStringList, origins);
        QFETCH(QStringList, destinations);
        QFETCH(double, totalOrigins);
        QFETCH(double, totalDestinations);
        auto state = std::make_unique<ProjectState>();
        state->areas.totalOrigins = -1;
        state->areas.totalDestinations = -1;
        for (int i = 0; i < origins.size(); ++i)
            state->areas.origin[i + 1] = origins[i];
        for (int i = 0; i < destinations.size(); ++i)
            state->areas.destination[i + 1] = destinations[i];
        urbaflux::computeAreaTotals(*state);
        QCOMPARE(state->areas.totalOrigins, totalOrigins);
        QCOMPARE(state->areas.totalDestinations, totalDestinations);
    }

    void buildPairList_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("none") << 0 << QStringList{} << QStringList{};
        QTest::newRow("two areas, origin first")
            << 2
            << QStringList{QStringLiteral(" 1- 1"), QStringLiteral(" 1- 2"),
                           QStringLiteral(" 2- 1"), QStringLiteral(" 2- 2")}
            << QStringList{QStringLiteral("Nord-Nord"), QStringLiteral("Nord-Sud, porto"),
                           QStringLiteral("Sud, porto-Nord"),
                           QStringLiteral("Sud, porto-Sud, porto")};
        QTest::newRow("a count beyond 180 stops at 180") << 200 << QStringList{} << QStringList{};
    }
    void buildPairList()
    {
        QFETCH(int, count);
        QFETCH(QStringList, numbers);
        QFETCH(QStringList, names);
        auto state = std::make_unique<ProjectState>();
        state->areas.count = count;
        state->areas.name[1] = QStringLiteral("Nord");
        state->areas.name[2] = QStringLiteral("Sud, porto");
        state->distances.distance[1] = QStringLiteral("7");
        state->distances.pairNames[kMaxPairs - 1] = QStringLiteral("old");
        urbaflux::buildPairList(*state);
        for (int k = 1; k <= numbers.size(); ++k) {
            QCOMPARE(state->distances.pairNumbers[k], numbers[k - 1]);
            QCOMPARE(state->distances.pairNames[k], names[k - 1]);
            QCOMPARE(state->distances.weight[k].number, 100.0);
            QVERIFY(state->distances.weight[k].kind == FieldValue::Kind::Number);
        }
        QCOMPARE(state->distances.distance[1], QStringLiteral("7")); // distances are kept
        if (count > kMaxAreas) {
            QCOMPARE(state->distances.pairNumbers[kMaxPairs], QStringLiteral(" 180- 180"));
            QCOMPARE(state->distances.pairNames[kMaxPairs - 1], QStringLiteral("-"));
        } else {
            // Nothing of an earlier, larger list stays beyond the pairs of these areas; without
            // areas there is no list, and nothing changes.
            QCOMPARE(state->distances.pairNames[kMaxPairs - 1].isEmpty(), count > 0);
            QVERIFY(state->distances.pairNumbers[numbers.size() + 1].isEmpty());
        }
    }

    // Positions beyond N still count: data of a larger earlier elaboration stay in the totals.
    void computeAreaTotalsCountsEveryPosition()
    {
        auto state = std::make_unique<ProjectState>();
        state->areas.count = 1;
        state->areas.origin[1] = QStringLiteral("1");
        state->areas.origin[180] = QStringLiteral("2");
        state->areas.destination[180] = QStringLiteral("0.5");
        urbaflux::computeAreaTotals(*state);
        QCOMPARE(state->areas.totalOrigins, 3.0);
        QCOMPARE(state->areas.totalDestinations, 1.0);
    }
};

QTEST_GUILESS_MAIN(TestProjectState)
#include "tst_projectstate.moc"
