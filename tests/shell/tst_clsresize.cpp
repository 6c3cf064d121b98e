#include "clsresize.h"
#include "linecontrol.h"
#include "windowtestfixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

using namespace urbaflux;

class TestClsResize : public QObject
{
    Q_OBJECT

private:
    // A form of 400 x 300 pixels with a box at (40, 30, 100, 20).
    struct Form
    {
        QWidget window;
        QLineEdit* box = nullptr;
        Form()
        {
            window.resize(400, 300);
            box = new QLineEdit(&window);
            box->setGeometry(40, 30, 100, 20);
        }
    };

private Q_SLOTS:
    void firstCallOnlyRecords()
    {
        Form form;
        clsResize resizer;
        resizer.SetSourceForm(&form.window);
        QVERIFY(resizer.needsCapture());
        form.window.resize(800, 300);
        resizer.ResizeControls();
        QVERIFY(!resizer.needsCapture());
        QCOMPARE(form.box->geometry(), QRect(40, 30, 100, 20)); // moved nothing
        QCOMPARE(resizer.referenceWidth(), 800 * 15);
        form.window.resize(1600, 300);
        resizer.ResizeControls();
        QCOMPARE(form.box->geometry(), QRect(80, 30, 200, 20));
    }

    void doublingTheWidth()
    {
        Form form;
        clsResize resizer;
        resizer.SetSourceForm(&form.window);
        resizer.ReInitialise();
        QCOMPARE(resizer.layout().size(), size_t(1));
        QCOMPARE(resizer.layout().front().first, 40 * 15);
        form.window.resize(800, 300);
        resizer.ResizeControls();
        QCOMPARE(form.box->geometry(), QRect(80, 30, 200, 20));
        form.window.resize(400, 600);
        resizer.ResizeControls();
        QCOMPARE(form.box->geometry(), QRect(40, 60, 100, 40));
    }

    void noRoundingAccumulates()
    {
        Form form;
        clsResize resizer;
        resizer.SetSourceForm(&form.window);
        resizer.ReInitialise();
        for (int w : {401, 333, 517, 299, 777, 123}) {
            form.window.resize(w, 300 + w % 7);
            resizer.ResizeControls();
        }
        form.window.resize(400, 300);
        resizer.ResizeControls();
        QCOMPARE(form.box->geometry(), QRect(40, 30, 100, 20));
        QCOMPARE(resizer.layout().front().third, 100 * 15); // stored values never change
    }

    void lineEndPoints()
    {
        Form form;
        auto* line = new LineControl(&form.window);
        line->setPoints(QPoint(10, 20), QPoint(110, 70));
        clsResize resizer;
        resizer.SetSourceForm(&form.window);
        resizer.ReInitialise();
        QVERIFY(resizer.layout().back().isLine);
        form.window.resize(800, 150);
        resizer.ResizeControls();
        QCOMPARE(line->firstPoint(), QPoint(20, 10));
        QCOMPARE(line->secondPoint(), QPoint(220, 35));
    }

    void tags_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QRect>("expected"); // after doubling both directions
        QTest::newRow("none") << QString() << QRect(80, 60, 200, 40);
        QTest::newRow("memo scales fully") << QStringLiteral("memo") << QRect(80, 60, 200, 40);
        QTest::newRow("@T moves only vertically") << QStringLiteral("@T") << QRect(40, 60, 100, 20);
        QTest::newRow("@L,T keeps the size") << QStringLiteral("@L,T") << QRect(80, 60, 100, 20);
        QTest::newRow("@W,H keeps the place") << QStringLiteral("@W,H") << QRect(40, 30, 200, 40);
        QTest::newRow("letters are case-sensitive")
            << QStringLiteral("@l,t,w,h") << QRect(40, 30, 100, 20);
        QTest::newRow("@ alone: nothing follows") << QStringLiteral("@") << QRect(40, 30, 100, 20);
        QTest::newRow("anywhere in the tag") << QStringLiteral("@xxHyyL") << QRect(80, 30, 100, 40);
    }
    void tags()
    {
        QFETCH(QString, tag);
        QFETCH(QRect, expected);
        Form form;
        form.box->setProperty("tag", tag);
        clsResize resizer;
        resizer.SetSourceForm(&form.window);
        resizer.ReInitialise();
        form.window.resize(800, 600);
        resizer.ResizeControls();
        QCOMPARE(form.box->geometry(), expected);
    }

    void minimisedWindowIsLeftAlone()
    {
        Form form;
        form.window.show();
        clsResize resizer;
        resizer.SetSourceForm(&form.window);
        resizer.ReInitialise();
        form.window.setWindowState(Qt::WindowMinimized);
        QVERIFY(form.window.isMinimized());
        form.window.resize(100, 75);
        resizer.ResizeControls();
        QCOMPARE(form.box->geometry(), QRect(40, 30, 100, 20));
        form.window.setWindowState(Qt::WindowNoState);
        form.window.resize(800, 600);
        resizer.ResizeControls();
        QCOMPARE(form.box->geometry(), QRect(80, 60, 200, 40));
    }

    void formWithoutControls()
    {
        QWidget empty;
        empty.resize(100, 100);
        clsResize resizer;
        resizer.SetSourceForm(&empty);
        resizer.ResizeControls();
        QVERIFY(resizer.needsCapture()); // nothing to record: stops at once
        clsResize orphan;
        orphan.ResizeControls(); // no form at all
        QVERIFY(orphan.needsCapture());
    }

    void collapsedFormSquashesNothing()
    {
        Form form;
        clsResize resizer;
        resizer.SetSourceForm(&form.window);
        resizer.ReInitialise();
        form.window.resize(0, 0);
        resizer.ResizeControls();
        QCOMPARE(form.box->geometry(), QRect(40, 30, 100, 20));
    }

    void containersButNotCompositeInsides()
    {
        Form form;
        auto* group = new QGroupBox(&form.window);
        group->setGeometry(200, 100, 150, 100);
        auto* inner = new QLabel(group);
        inner->setGeometry(10, 20, 50, 10);
        auto* spin = new QSpinBox(&form.window);
        spin->setGeometry(10, 200, 60, 20);
        const QList<QWidget*> controls = clsResize::controlsOf(&form.window);
        QVERIFY(controls.contains(group));
        QVERIFY(controls.contains(inner));
        QVERIFY(controls.contains(spin));
        QVERIFY(!controls.contains(spin->findChild<QLineEdit*>()));
        QCOMPARE(controls.indexOf(form.box), 0); // collection order
        clsResize resizer;
        resizer.SetSourceForm(&form.window);
        resizer.ReInitialise();
        form.window.resize(800, 600);
        resizer.ResizeControls();
        QCOMPARE(inner->geometry(), QRect(20, 40, 100, 20));
        QCOMPARE(spin->geometry(), QRect(20, 400, 120, 40));
    }

    void screenPlacement()
    {
        QCOMPARE(clsResize::screenPlacement(QRect(0, 0, 1024, 768), 75), QRect(128, 96, 768, 576));
        QCOMPARE(clsResize::screenPlacement(QRect(100, 0, 1000, 801), 75),
                 QRect(100 + 125, 100, 750, 600));
    }

    void sizeFormToScreenRecordsFirst()
    {
        Form form;
        clsResize resizer;
        resizer.SetSourceForm(&form.window);
        resizer.SizeFormToScreen(75);
        QVERIFY(!resizer.needsCapture());
        QCOMPARE(resizer.referenceWidth(), 400 * 15);
        const QRect screen = form.window.screen()->geometry();
        QCOMPARE(form.window.size(),
                 QSize(int(0.75 * screen.width()), int(0.75 * screen.height())));
        // The controls followed the new size.
        QCOMPARE(form.box->x(), qRound(40.0 * form.window.width() / 400));
    }

    void workingWindowFollowsItsSize()
    {
        WindowTestFixture f(&makeRecordingWindow);
        auto* w = f.show<RecordingWindow>(WindowId::Distanze);
        auto* box = new QLineEdit(w->body());
        WindowFrame::placeTwips(box, 1500, 600, 3000, 300); // 100, 40, 200, 20 pixels
        w->captureLayout();
        const QSize body = w->body()->size();
        w->resize(w->width() + body.width(), w->height() + body.height());
        QTRY_COMPARE(w->body()->size(), body * 2);
        QCOMPARE(box->geometry(), QRect(200, 80, 400, 40));
    }
};

QTEST_MAIN(TestClsResize)
#include "tst_clsresize.moc"
