#include "projectstate.h"
#include "scenariocomparison.h"

#include <QTest>
#include <memory>

using namespace urbaflux;

class TestScenarioComparison : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void changes_data();
    void changes();
    void refusal_data();
    void refusal();
    void modelNote();
    void largestChanges();
};

namespace {

std::unique_ptr<ProjectState> twoAreas(const QList<double>& origins, const QList<double>& matrix)
{
    auto st = std::make_unique<ProjectState>();
    st->areas.count = 2;
    st->areas.name[1] = QStringLiteral("Centro");
    st->areas.name[2] = QStringLiteral("Borgo");
    st->model.kind = 3;
    st->model.kindLabel = QStringLiteral("'origine vincolata'");
    st->model.alpha = FieldValue::fromNumber(2);
    for (int i = 1; i <= 2; ++i) {
        st->interactions.estimatedOrigins[size_t(i)] = origins[i - 1];
        st->interactions.estimatedDestinations[size_t(i)] = matrix[i - 1] + matrix[i + 1];
        for (int j = 1; j <= 2; ++j)
            st->interactions.matrix(i, j) = matrix[(i - 1) * 2 + j - 1];
    }
    return st;
}

} // namespace

void TestScenarioComparison::changes_data()
{
    QTest::addColumn<int>("pair");
    QTest::addColumn<double>("base");
    QTest::addColumn<double>("project");
    QTest::addColumn<double>("difference");
    QTest::addColumn<double>("percent"); // -1: empty

    // Base matrix 4 6 / 0 0, project 4 11 / 5 0.
    QTest::newRow("no change") << 1 << 4.0 << 4.0 << 0.0 << 0.0;
    QTest::newRow("6 to 11") << 2 << 6.0 << 11.0 << 5.0 << 100.0 * 5 / 6;
    QTest::newRow("from nothing: no percent") << 3 << 0.0 << 5.0 << 5.0 << -1.0;
    QTest::newRow("nothing both times") << 4 << 0.0 << 0.0 << 0.0 << -1.0;
}

void TestScenarioComparison::changes()
{
    QFETCH(int, pair);
    QFETCH(double, base);
    QFETCH(double, project);
    QFETCH(double, difference);
    QFETCH(double, percent);

    const auto b = twoAreas({10, 0}, {4, 6, 0, 0});
    const auto p = twoAreas({15, 5}, {4, 11, 5, 0});
    const ScenarioComparison c = compareScenarios(*b, *p);
    QVERIFY(c.comparable());
    QVERIFY(c.baseNote.isEmpty());
    QCOMPARE(c.pairs.size(), size_t(4));
    const PairChange& change = c.pairs[size_t(pair - 1)];
    QCOMPARE(change.pair, pair);
    QCOMPARE(change.interaction.base, base);
    QCOMPARE(change.interaction.project, project);
    QCOMPARE(change.interaction.difference, difference);
    QCOMPARE(change.interaction.percent.has_value(), percent >= 0);
    if (percent >= 0)
        QVERIFY(qAbs(*change.interaction.percent - percent) < 1e-12);

    // Areas: origins 10 -> 15 (+50%), 0 -> 5 (no percent); destinations 4 -> 9, 6 -> 11.
    QCOMPARE(c.areas.size(), size_t(2));
    QCOMPARE(c.areas[0].name, QStringLiteral("Centro"));
    QCOMPARE(c.areas[0].origins.difference, 5.0);
    QCOMPARE(*c.areas[0].origins.percent, 50.0);
    QVERIFY(!c.areas[1].origins.percent);
    QCOMPARE(c.areas[0].destinations.base, 4.0);
    QCOMPARE(c.areas[0].destinations.project, 9.0);
    QCOMPARE(c.areas[1].destinations.difference, 5.0);
}

void TestScenarioComparison::refusal_data()
{
    QTest::addColumn<int>("projectCount");
    QTest::addColumn<QString>("renamed"); // area 2 of the project
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("another count")
        << 3 << QStringLiteral("Borgo")
        << QStringList{QStringLiteral("numero di aree diverso: base 2, progetto 3")};
    QTest::newRow("another name")
        << 2 << QStringLiteral("Stazione")
        << QStringList{QStringLiteral("area 2: \"Borgo\" nella base, \"Stazione\" nel progetto")};
    QTest::newRow("blanks around a name are no difference")
        << 2 << QStringLiteral(" Borgo ") << QStringList{};
}

void TestScenarioComparison::refusal()
{
    QFETCH(int, projectCount);
    QFETCH(QString, renamed);
    QFETCH(QStringList, lines);

    const auto b = twoAreas({10, 0}, {4, 6, 0, 0});
    auto p = twoAreas({15, 5}, {4, 11, 5, 0});
    p->areas.count = projectCount;
    p->areas.name[2] = renamed;
    p->areas.name[3] = QStringLiteral("Nuova");
    const ScenarioComparison c = compareScenarios(*b, *p);
    QCOMPARE(c.refusal, lines);
    QCOMPARE(c.comparable(), lines.isEmpty());
    if (!c.comparable()) {
        QVERIFY(c.areas.empty());
        QVERIFY(c.pairs.empty());
    }
}

void TestScenarioComparison::modelNote()
{
    auto b = twoAreas({10, 0}, {4, 6, 0, 0});
    const auto p = twoAreas({15, 5}, {4, 11, 5, 0});
    b->model.alpha = FieldValue::fromText(QStringLiteral("1.5"));
    const ScenarioComparison c = compareScenarios(*b, *p);
    QVERIFY(c.comparable());
    QCOMPARE(c.baseNote, QStringLiteral("base: modello 'origine vincolata', alfa 1.5"));
}

void TestScenarioComparison::largestChanges()
{
    ScenarioComparison c;
    const double changes[] = {5, -3, 0, 8, -10};
    for (int i = 1; i <= 5; ++i) {
        AreaChange area;
        area.number = i;
        area.origins = ValueChange::of(20, 20 + changes[i - 1]);
        c.areas.push_back(area);
    }
    const auto numbers = [](const std::vector<AreaChange>& list) {
        QList<int> out;
        for (const AreaChange& a : list)
            out << a.number;
        return out;
    };
    // Increases largest first, then decreases down to the largest; no change left out.
    QCOMPARE(numbers(largestAreaChanges(c, 20)), (QList<int>{4, 1, 2, 5}));
    QCOMPARE(numbers(largestAreaChanges(c, 1)), (QList<int>{4, 5}));
}

QTEST_APPLESS_MAIN(TestScenarioComparison)
#include "tst_scenariocomparison.moc"
