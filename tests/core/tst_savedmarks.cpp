#include "pairlayout.h"
#include "projectstate.h"
#include "savedmarks.h"

#include <QTest>
#include <functional>
#include <memory>

using namespace urbaflux;

using Change = std::function<void(ProjectState&)>;
Q_DECLARE_METATYPE(Change)

class TestSavedMarks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What counts as a change of the user's data since the elaboration began, kind by kind.
    void changesSinceTheStart_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("unsaved");
        QTest::newRow("nothing") << Change([](ProjectState&) {}) << int(DataKind::Areas) << false;
        QTest::newRow("an area name")
            << Change([](ProjectState& s) { s.areas.name[7] = QStringLiteral("Porto"); })
            << int(DataKind::Areas) << true;
        QTest::newRow("the blank of an origin box")
            << Change([](ProjectState& s) { s.areas.origin[1] = QStringLiteral(" "); })
            << int(DataKind::Areas) << false;
        QTest::newRow("typed and put back") << Change([](ProjectState& s) {
            s.areas.name[1] = QStringLiteral("x");
            s.areas.name[1] = QString();
        }) << int(DataKind::Areas) << false;
        QTest::newRow("the pair list the program builds") << Change([](ProjectState& s) {
            s.areas.count = 3;
            buildPairList(s);
        }) << int(DataKind::Distances) << false;
        QTest::newRow("a distance") << Change([](ProjectState& s) {
            s.distances.distance[kMaxPairs] = QStringLiteral("4");
        }) << int(DataKind::Distances)
                                    << true;
        QTest::newRow("a weight typed") << Change([](ProjectState& s) {
            s.distances.weight[2] = FieldValue::fromText(QStringLiteral("100"));
        }) << int(DataKind::Distances) << true;
        QTest::newRow("the model's defaults") << Change([](ProjectState& s) { applyDefaults(s); })
                                              << int(DataKind::ModelChoice) << false;
        QTest::newRow("alpha typed") << Change([](ProjectState& s) {
            s.model.alpha = FieldValue::fromText(QStringLiteral("2"));
        }) << int(DataKind::ModelChoice)
                                     << true;
        QTest::newRow("a title-page text")
            << Change([](ProjectState& s) { s.titlePage.committente = QStringLiteral("Comune"); })
            << int(DataKind::TitlePage) << true;
    }
    void changesSinceTheStart()
    {
        QFETCH(Change, change);
        QFETCH(int, kind);
        QFETCH(bool, unsaved);
        auto state = std::make_unique<ProjectState>();
        applyDefaults(*state);
        change(*state);
        QCOMPARE(hasUnsavedChanges(*state, static_cast<DataKind>(kind)), unsaved);
        QCOMPARE(hasUnsavedChanges(*state), unsaved);
    }

    // A save or an open of one kind settles that kind only; the complete archive settles all.
    void savesSettleTheirKind()
    {
        auto state = std::make_unique<ProjectState>();
        applyDefaults(*state);
        state->areas.name[1] = QStringLiteral("Centro");
        state->distances.distance[1] = QStringLiteral("2");
        markSaved(*state, DataKind::Areas);
        QVERIFY(!hasUnsavedChanges(*state, DataKind::Areas));
        QVERIFY(hasUnsavedChanges(*state, DataKind::Distances));
        QVERIFY(hasUnsavedChanges(*state));
        markAllSaved(*state);
        QVERIFY(!hasUnsavedChanges(*state));
        // Emptied after a save, the data differ from the file.
        state->areas.name[1] = QString();
        QVERIFY(hasUnsavedChanges(*state, DataKind::Areas));
    }
};

QTEST_GUILESS_MAIN(TestSavedMarks)
#include "tst_savedmarks.moc"
