#include "modelchoicecheck.h"
#include "projectstate.h"

#include <QTest>

using namespace urbaflux;

class TestModelChoiceCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One rule for the hint, the check, the save and the printout of the model choice.
    void modelChoiceCompleteness_data()
    {
        QTest::addColumn<QString>("emptied");
        QTest::addColumn<bool>("toleranceEntered");
        QTest::addColumn<int>("missing");
        QTest::addColumn<int>("missingForPrint");
        using F = ModelField;
        QTest::newRow("complete") << QString() << true << int(F::None) << int(F::None);
        QTest::newRow("no model") << QStringLiteral("kind") << true << int(F::Kind) << int(F::Kind);
        QTest::newRow("origins") << QStringLiteral("originType") << true << int(F::OriginType)
                                 << int(F::None);
        QTest::newRow("destinations")
            << QStringLiteral("destinationType") << true << int(F::DestinationType) << int(F::None);
        QTest::newRow("interactions") << QStringLiteral("interactionType") << true
                                      << int(F::InteractionType) << int(F::InteractionType);
        QTest::newRow("alpha before the unit")
            << QStringLiteral("alpha+unit") << true << int(F::Alpha) << int(F::Alpha);
        QTest::newRow("tolerance") << QString() << false << int(F::Tolerance) << int(F::Tolerance);
        QTest::newRow("unit") << QStringLiteral("unit") << true << int(F::Unit) << int(F::Unit);
    }
    void modelChoiceCompleteness()
    {
        QFETCH(QString, emptied);
        QFETCH(bool, toleranceEntered);
        QFETCH(int, missing);
        QFETCH(int, missingForPrint);
        ModelChoice model;
        model.kind = 2;
        model.kindLabel = modelKindLabel(2);
        model.originType = QStringLiteral("residenti");
        model.destinationType = QStringLiteral("uffici");
        model.interactionType = QStringLiteral("spostamenti");
        model.unit = QStringLiteral("km");
        model.alpha = FieldValue::fromNumber(2);
        if (emptied == QLatin1String("kind"))
            model.kind = 0;
        if (emptied == QLatin1String("originType"))
            model.originType.clear();
        if (emptied == QLatin1String("destinationType"))
            model.destinationType.clear();
        if (emptied == QLatin1String("interactionType"))
            model.interactionType.clear();
        if (emptied.startsWith(QLatin1String("alpha")))
            model.alpha = FieldValue::fromText(QString());
        if (emptied.endsWith(QLatin1String("unit")))
            model.unit.clear();
        QCOMPARE(int(firstMissingModelField(model, toleranceEntered)), missing);
        QCOMPARE(int(firstMissingModelField(model, toleranceEntered, false)), missingForPrint);
    }
};

QTEST_APPLESS_MAIN(TestModelChoiceCheck)
#include "tst_modelchoicecheck.moc"
