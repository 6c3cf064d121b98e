// The distances as a matrix beside the pair list, through its widgets: a whole matrix pasted
// at once, a cell typed, the pair list and the matrix showing each other's edits.

#include "distancesharness.h"
#include "distanzematrice.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace urbaflux;

class TestDistanzeMatrice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aPastedMatrixFillsEveryCellAtOnce()
    {
        DistancesHarness h;
        h.setAreas(3, 3, QStringLiteral("10"));
        h.state.areas.name[2] = QStringLiteral("Stazione");
        Distanze* w = h.window();
        // The pair list is what the window shows; the matrix waits for its button.
        QVERIFY(!w->matrixView());
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdmatrice")), Qt::LeftButton);
        DistanzeMatrice* m = w->matrixView();
        QVERIFY(m && m->isVisible());
        QTableView* table = m->table();
        QCOMPARE(table->model()->rowCount(), 3);
        QCOMPARE(table->model()->columnCount(), 3);
        QCOMPARE(table->model()->headerData(1, Qt::Vertical).toString(),
                 QStringLiteral("Stazione"));
        QCOMPARE(table->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("A3"));

        const quint64 revision = h.state.inputRevision;
        QGuiApplication::clipboard()->setText(QStringLiteral("1\t2\t3\r\n4\t5\t6\r\n7\t8\t9\r\n"));
        table->setFocus();
        table->setCurrentIndex(table->model()->index(0, 0));
        QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
        UF_VERIFY_PROMPTS(h.prompts);
        for (int k = 1; k <= 9; ++k)
            QCOMPARE(h.state.distances.distance[static_cast<size_t>(k)], QString::number(k));
        QCOMPARE(h.state.inputRevision, revision + 1); // one change for the whole paste
        // The pair list shows them and the results follow.
        QCOMPARE(distanza(w, 6)->text(), QStringLiteral("6"));
        QVERIFY(w->lastOutcome() && w->lastOutcome()->completed());
        QVERIFY(!interazioni(w, 1).isEmpty());

        // A pair typed in the list is in the matrix, and a cell typed in the matrix in the list.
        typeInto(distanza(w, 4), QStringLiteral("40"));
        QCOMPARE(table->model()->index(1, 0).data().toString(), QStringLiteral("40"));
        const QModelIndex cell = table->model()->index(2, 1);
        table->setFocus();
        table->setCurrentIndex(cell);
        table->edit(cell);
        auto* editor = table->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("12.5"));
        QTest::keyClick(editor, Qt::Key_Return); // the view commits once the key is handled
        QTRY_COMPARE(h.state.distances.distance[8], QStringLiteral("12.5"));
        QCOMPARE(distanza(w, 8)->text(), QStringLiteral("12.5"));
        QVERIFY(h.prompts.verifyDone());
    }

    // A matrix larger than the room left from the current cell changes nothing and says why.
    void aMatrixTooLargeIsRefusedWhole()
    {
        DistancesHarness h;
        h.setAreas(3, 2, QStringLiteral("10"));
        Distanze* w = h.window();
        DistanzeMatrice* m = w->showMatrix();
        QTableView* table = m->table();
        table->setFocus();
        table->setCurrentIndex(table->model()->index(1, 0));
        QGuiApplication::clipboard()->setText(QStringLiteral("1\t2\n3\t4\n"));
        h.prompts.expectMessage();
        QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
        UF_VERIFY_PROMPTS(h.prompts);
        QCOMPARE(h.prompts.lastMessage().icon, MessageIcon::Exclamation);
        QVERIFY(h.prompts.lastMessage().text.contains(QStringLiteral("dall'origine n.2")));
        for (int k = 1; k <= 4; ++k)
            QVERIFY(h.state.distances.distance[static_cast<size_t>(k)].isEmpty());
    }
};

QTEST_MAIN(TestDistanzeMatrice)
#include "tst_distanzematrice.moc"
