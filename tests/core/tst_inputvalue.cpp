#include "calculation.h"
#include "inputvalue.h"

#include <QTest>
#include <memory>

using namespace urbaflux;

namespace {

QStringList words(const char* text)
{
    return QString::fromLatin1(text).split(QLatin1Char(' '));
}

} // namespace

class TestInputValue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One rule for every distance, weight, origin and destination: what it refuses and what it
    // reads, value by value.
    void readsWholeNonNegativeNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("problem");
        QTest::addColumn<double>("value");
        using P = ValueProblem;
        QTest::newRow("integer") << QStringLiteral("12") << int(P::None) << 12.0;
        QTest::newRow("blanks around") << QStringLiteral(" 120 ") << int(P::None) << 120.0;
        QTest::newRow("point") << QStringLiteral("1.5") << int(P::None) << 1.5;
        QTest::newRow("exponent") << QStringLiteral("2E3") << int(P::None) << 2000.0;
        QTest::newRow("zero") << QStringLiteral("0") << int(P::None) << 0.0;
        QTest::newRow("empty") << QString() << int(P::Empty) << 0.0;
        QTest::newRow("blank") << QStringLiteral("  ") << int(P::Empty) << 0.0;
        QTest::newRow("negative") << QStringLiteral("-2") << int(P::Negative) << 0.0;
        QTest::newRow("negative fraction") << QStringLiteral("-0.5") << int(P::Negative) << 0.0;
        QTest::newRow("decimal comma") << QStringLiteral("1,5") << int(P::DecimalComma) << 0.0;
        QTest::newRow("negative with comma")
            << QStringLiteral("-3,25") << int(P::DecimalComma) << 0.0;
        QTest::newRow("two commas") << QStringLiteral("1,5,3") << int(P::NotANumber) << 0.0;
        QTest::newRow("thousands and decimals")
            << QStringLiteral("1.000,5") << int(P::NotANumber) << 0.0;
        QTest::newRow("letters") << QStringLiteral("abc") << int(P::NotANumber) << 0.0;
        QTest::newRow("number then text") << QStringLiteral("10 km") << int(P::NotANumber) << 0.0;
        QTest::newRow("infinite") << QStringLiteral("Inf") << int(P::NotFinite) << 0.0;
        QTest::newRow("beyond a double") << QStringLiteral("1e400") << int(P::NotFinite) << 0.0;
    }
    void readsWholeNonNegativeNumbers()
    {
        QFETCH(QString, text);
        QFETCH(int, problem);
        QFETCH(double, value);
        ValueProblem found = ValueProblem::Empty;
        const std::optional<double> read = readInputValue(text, &found);
        QCOMPARE(int(found), problem);
        QCOMPARE(read.has_value(), problem == int(ValueProblem::None));
        if (read)
            QCOMPARE(*read, value);
        // A weight held as typed text reads the same way.
        ValueProblem asField = ValueProblem::Empty;
        readInputValue(FieldValue::fromText(text), &asField);
        QCOMPARE(int(asField), problem);
    }

    void defaultNumbersAreValues()
    {
        ValueProblem problem = ValueProblem::Empty;
        QCOMPARE(readInputValue(FieldValue::fromNumber(100), &problem), std::optional(100.0));
        QCOMPARE(int(problem), int(ValueProblem::None));
        QVERIFY(!readInputValue(FieldValue::fromNumber(-1), &problem));
        QCOMPARE(int(problem), int(ValueProblem::Negative));
        QVERIFY(!readInputValue(FieldValue{}, &problem));
        QCOMPARE(int(problem), int(ValueProblem::Empty));
    }

    // The area window's hint and check find the same value the calculation stops on.
    void firstAreaIssueIsTheCalculationsStop_data()
    {
        QTest::addColumn<QStringList>("origins");
        QTest::addColumn<QStringList>("destinations");
        QTest::addColumn<int>("area");
        QTest::addColumn<bool>("destination");
        QTest::addColumn<int>("problem");
        QTest::newRow("all good") << words("10 20") << words("15 15") << 0 << false
                                  << int(ValueProblem::None);
        QTest::newRow("text origin")
            << words("10 abc") << words("15 15") << 2 << false << int(ValueProblem::NotANumber);
        QTest::newRow("negative destination before a later origin")
            << words("10 -1") << words("-3 15") << 1 << true << int(ValueProblem::Negative);
        QTest::newRow("comma") << words("1,5 2") << words("1 2") << 1 << false
                               << int(ValueProblem::DecimalComma);
    }
    void firstAreaIssueIsTheCalculationsStop()
    {
        QFETCH(QStringList, origins);
        QFETCH(QStringList, destinations);
        QFETCH(int, area);
        QFETCH(bool, destination);
        QFETCH(int, problem);
        auto state = std::make_unique<ProjectState>();
        applyDefaults(*state);
        state->model.kind = 3;
        state->areas.count = 2;
        for (int i = 1; i <= 2; ++i) {
            state->areas.origin[i] = origins[i - 1];
            state->areas.destination[i] = destinations[i - 1];
        }
        for (int k = 1; k <= 4; ++k) {
            state->distances.distance[k] = QStringLiteral("10");
            state->distances.weight[k] = FieldValue::fromNumber(100);
        }
        const AreaValueIssue issue = firstAreaValueIssue(state->areas, 2);
        QCOMPARE(issue.area, area);
        QCOMPARE(int(issue.problem), problem);
        const CalculationOutcome outcome = calculateInteractions(*state);
        QCOMPARE(outcome.completed(), area == 0);
        if (area > 0) {
            QCOMPARE(issue.destination, destination);
            QCOMPARE(outcome.area, area);
            QCOMPARE(int(outcome.subject),
                     int(destination ? CalculationOutcome::Subject::Destination
                                     : CalculationOutcome::Subject::Origin));
            QVERIFY(describeOutcome(outcome).endsWith(valueProblemText(issue.problem)));
        }
    }
};

QTEST_APPLESS_MAIN(TestInputValue)
#include "tst_inputvalue.moc"
