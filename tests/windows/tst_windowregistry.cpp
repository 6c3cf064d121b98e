// The working windows are listed once, in the registry: the frame's "Fines&tre" menu, the
// toolbar's window buttons and the "n.X di N" of every help link follow its entries, and the
// window manager makes the windows from it.

#include "windowfactory.h"
#include "windowtestfixture.h"

#include <QAction>
#include <QMenu>
#include <QTest>

using namespace urbaflux;

class TestWindowRegistry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyWindowFollowsItsEntry()
    {
        WindowTestFixture f; // no factory of its own: the registry makes the windows
        const WindowRegistry& registry = windowRegistry();
        QCOMPARE(sequenceLength(registry), 5);
        int place = 0;
        for (const WindowEntry& entry : registry) {
            place += entry.inSequence ? 1 : 0;
            QCOMPARE(placeInSequence(registry, entry.id), entry.inSequence ? place : 0);
            QCOMPARE(entry.facts().id, entry.id);
            auto* window = f.touch<WindowFrame>(entry.id);
            QVERIFY2(window, entry.menuObjectName);
            QCOMPARE(window->windowId(), entry.id);
            if (entry.inSequence)
                QVERIFY(window->helpLinkAction()->text().endsWith(
                    QStringLiteral("n.%1 di %2").arg(place).arg(sequenceLength(registry))));
            // The menu lists every entry in order, each with its shortcut, its own disabled.
            const QList<QAction*> items = window->windowsMenu()->actions();
            QStringList captions;
            for (QAction* item : items) {
                if (!item->isSeparator() && item != window->menuAction(QStringLiteral("mnuColore")))
                    captions << item->text();
            }
            QStringList wanted;
            for (const WindowEntry& other : registry)
                wanted << other.menuCaption;
            QCOMPARE(captions, wanted);
            for (const WindowEntry& other : registry) {
                QAction* item = window->windowMenuAction(other.id);
                QCOMPARE(item->objectName(), QString::fromLatin1(other.menuObjectName));
                QCOMPARE(item->isEnabled(), other.id != entry.id);
            }
            // Toolbar positions 8 to 12 show the windows of places 1 to 5.
            if (entry.inSequence)
                QCOMPARE(window->toolbarAction(7 + place)->toolTip(), entry.toolbarTip);
        }
        QCOMPARE(placeInSequence(registry, WindowId::Sommario), 0);
        QCOMPARE(sequenceEntry(registry, 6), nullptr);
    }
};

QTEST_MAIN(TestWindowRegistry)
#include "tst_windowregistry.moc"
