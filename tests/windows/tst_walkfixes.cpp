// What a walk through the working windows found: the results of other data shown as current,
// the weight arrows running on past the halving message, texts cut off, labels unreadable on a
// dark background.

#include "distancesharness.h"

#include <calculation.h>

#include <QTest>
#include <cstdlib>

using namespace urbaflux;

namespace {

using Harness = DistancesHarness;

// Model 3 with two areas (origins 100 and 50, destinations 1), every distance typed as 10:
// interactions 50, 50, 25, 25.
Distanze* twoAreasEveryDistanceTen(Harness& h)
{
    h.setAreas(3, {QStringLiteral("100"), QStringLiteral("50")},
               {QStringLiteral("1"), QStringLiteral("1")});
    Distanze* w = h.window();
    w->show();
    for (int r = 1; r <= 4; ++r)
        typeInto(distanza(w, r), QStringLiteral("10"));
    return w;
}

QStringList words(const char* text)
{
    return QString::fromLatin1(text).split(QLatin1Char(' '));
}

QStringList shownInteractions(QWidget* w)
{
    QStringList shown;
    for (int r = 1; r <= 4; ++r)
        shown << interazioni(w, r);
    return shown;
}

bool looksStale(QWidget* w, int row)
{
    auto* label = child<QLabel>(w, QStringLiteral("interazioni_%1").arg(row));
    return label->foregroundRole() == QPalette::PlaceholderText && !label->toolTip().isEmpty();
}

} // namespace

class TestWalkFixes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void changedInputsRecalculateWhenShown_data();
    void changedInputsRecalculateWhenShown();
    void summaryTellsTheCurrentData();
    void stoppedCalculationLooksStale_data();
    void stoppedCalculationLooksStale();
    void heldArrowStopsAtTheHalvingMessage();
    void labelsReadableOnTheChosenBackground_data();
    void labelsReadableOnTheChosenBackground();
};

void TestWalkFixes::changedInputsRecalculateWhenShown_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("model") << QStringLiteral("kind");
    QTest::newRow("alpha") << QStringLiteral("alpha");
    QTest::newRow("origin") << QStringLiteral("origin");
    QTest::newRow("destination") << QStringLiteral("destination");
}

void TestWalkFixes::changedInputsRecalculateWhenShown()
{
    QFETCH(QString, field);
    Harness h;
    Distanze* w = twoAreasEveryDistanceTen(h);
    typeInto(distanza(w, 1), QStringLiteral("5"));
    const QStringList before = shownInteractions(w);
    QCOMPARE(before, words("80 20 25 25"));
    w->hide();
    // Meanwhile the model-choice or the area window changes an input of the calculation.
    if (field == QLatin1String("kind")) {
        h.state.model.kind = 2;
        h.state.areas.destination[1] = QStringLiteral("100");
        h.state.areas.destination[2] = QStringLiteral("50");
        computeAreaTotals(h.state);
    } else if (field == QLatin1String("alpha")) {
        h.state.model.alpha = FieldValue::fromText(QStringLiteral("1"));
    } else if (field == QLatin1String("origin")) {
        h.state.areas.origin[1] = QStringLiteral("200");
        computeAreaTotals(h.state);
    } else {
        h.state.areas.destination[1] = QStringLiteral("3");
        computeAreaTotals(h.state);
    }
    markInputsChanged(h.state);
    ProjectState expected = h.state;
    expected.notifier = nullptr;
    calculateInteractions(expected);
    QStringList wanted;
    for (int k = 1; k <= 4; ++k)
        wanted << shortestText(expected.interactions.interaction[k]);
    QVERIFY(wanted != before);
    w->show();
    QCOMPARE(shownInteractions(w), wanted);
    QVERIFY(resultsCurrent(h.state));
}

void TestWalkFixes::summaryTellsTheCurrentData()
{
    Harness h;
    Distanze* w = twoAreasEveryDistanceTen(h);
    // Another window changes the model while this one stays open: the check command reads the
    // results of the new model, not those of the old one.
    h.state.model.kind = 2;
    h.state.model.kindLabel = modelKindLabel(2);
    h.state.areas.destination[1] = QStringLiteral("100");
    h.state.areas.destination[2] = QStringLiteral("50");
    computeAreaTotals(h.state);
    markInputsChanged(h.state);
    h.prompts.expectMessage();
    w->toolbarAction(20)->trigger();
    UF_VERIFY_PROMPTS(h.prompts);
    QVERIFY(h.prompts.lastMessage().text.contains(
        QStringLiteral("- totale interazioni.....................=  150")));
    QCOMPARE(shownInteractions(w), words("67 33 33 17"));
    QVERIFY(h.prompts.verifyDone());
}

void TestWalkFixes::stoppedCalculationLooksStale_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("left"); // the results of the last valid text
    QTest::newRow("not a number") << QStringLiteral("1,2") << words("100 0 25 25");
    QTest::newRow("erased") << QString() << words("50 50 25 25");
}

void TestWalkFixes::stoppedCalculationLooksStale()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, left);
    Harness h;
    Distanze* w = twoAreasEveryDistanceTen(h);
    QVERIFY(!looksStale(w, 1));
    typeInto(p100(w, 1), typed);
    QCOMPARE(shownInteractions(w), left);
    for (int r = 1; r <= 4; ++r)
        QVERIFY(looksStale(w, r));
    QVERIFY(!resultsCurrent(h.state));
    typeInto(p100(w, 1), QStringLiteral("50"));
    QCOMPARE(shownInteractions(w), words("80 20 25 25"));
    QVERIFY(!looksStale(w, 1));
    QVERIFY(resultsCurrent(h.state));
}

void TestWalkFixes::heldArrowStopsAtTheHalvingMessage()
{
    Harness h;
    Distanze* w = twoAreasEveryDistanceTen(h);
    QScrollBar* bar = arrows(w, 1);
    bar->setValue(49);
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.subControls = QStyle::SC_All;
    const QRect right = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                     QStyle::SC_ScrollBarAddLine, bar);
    h.prompts.expectMessage();
    // The press is held well past the auto-repeat delay; the release comes after the message.
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, right.center());
    UF_VERIFY_PROMPTS(h.prompts);
    QTest::qWait(1200);
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, right.center());
    QCOMPARE(bar->value(), 50);
    QCOMPARE(p100(w, 1)->text(), QStringLiteral("50"));
    QCOMPARE(h.state.distances.weight[1], FieldValue::fromText(QStringLiteral("50")));
    QCOMPARE(shownInteractions(w), words("80 20 25 25"));
    QVERIFY(h.prompts.verifyDone());
}

void TestWalkFixes::labelsReadableOnTheChosenBackground_data()
{
    QTest::addColumn<QColor>("background");
    QTest::newRow("navy") << QColor(20, 20, 60);
    QTest::newRow("black") << QColor(0, 0, 0);
    QTest::newRow("yellow") << QColor(255, 255, 120);
}

void TestWalkFixes::labelsReadableOnTheChosenBackground()
{
    QFETCH(QColor, background);
    Harness h;
    Distanze* w = twoAreasEveryDistanceTen(h);
    h.prompts.expectColour(background);
    w->toolbarAction(14)->trigger();
    UF_VERIFY_PROMPTS(h.prompts);
    typeInto(p100(w, 2), QStringLiteral("x")); // the interactions greyed as well
    for (const QString& name :
         {QStringLiteral("Label1"), QStringLiteral("int"), QStringLiteral("interazioni_1"),
          QStringLiteral("num_1"), QStringLiteral("passo")}) {
        auto* label = child<QLabel>(w, name);
        QVERIFY(label);
        const QColor text = label->palette().color(label->foregroundRole());
        QVERIFY2(std::abs(qGray(text.rgb()) - qGray(background.rgb())) >= 80, qPrintable(name));
    }
}

QTEST_MAIN(TestWalkFixes)
#include "tst_walkfixes.moc"
