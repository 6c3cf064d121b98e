#include "windowtestfixture.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>

using namespace urbaflux;

Q_DECLARE_METATYPE(urbaflux::WindowId)

namespace {

// A menu as captions, "-" for separators, submenus as "caption>(items)".
QString describeMenu(const QMenu* menu)
{
    QStringList parts;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            parts << QStringLiteral("-");
        else if (action->menu())
            parts << action->text() + QStringLiteral(">(") + describeMenu(action->menu()) +
                         QLatin1Char(')');
        else
            parts << action->text();
    }
    return parts.join(QLatin1Char('|'));
}

void clickToolbar(WindowFrame* frame, int position)
{
    QAction* action = frame->toolbarAction(position);
    QVERIFY(action);
    auto* bar = frame->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
    QVERIFY(bar);
    QWidget* button = bar->widgetForAction(action);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

// The working windows as recorders, and a bare stand-in for every help page and the about box,
// so that a test sees which page a command opened.
QWidget* makeWindowOrPage(WindowId id, AppContext& context)
{
    if (sequenceNumber(id) > 0)
        return new RecordingWindow(id, context);
    if (id == WindowId::Splash)
        return nullptr;
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("page%1").arg(static_cast<int>(id)));
    return page;
}

// The windows other than the five working ones that are loaded now.
QList<WindowId> pagesLoaded(const WindowManager& windows)
{
    QList<WindowId> pages;
    for (WindowId id : windows.loadedWindows()) {
        if (sequenceNumber(id) == 0)
            pages << id;
    }
    return pages;
}

} // namespace

class TestWindowFrame : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fileMenu_data()
    {
        QTest::addColumn<WindowId>("id");
        QTest::addColumn<QString>("expected");
        const QString tail = QStringLiteral("-|&Elimina...|-|S&tampa|-|Es&ci");
        QTest::newRow("menu") << WindowId::Menu
                              << QStringLiteral("&Apri...>(&solo dati finestra|&tutti i dati)|-|"
                                                "&Salva|Salva con &nome...|") +
                                     tail;
        QTest::newRow("datiaree") << WindowId::DatiAree
                                  << QStringLiteral("&Apri...|-|&Salva|Salva con &nome...|") + tail;
        QTest::newRow("distanze") << WindowId::Distanze
                                  << QStringLiteral("&Apri...|-|&Salva|Salva con &nome...|") + tail;
        QTest::newRow("grafici") << WindowId::Grafici
                                 << QStringLiteral("&Apri...|&Salva|-|Salva con &nome...|") + tail;
        QTest::newRow("frontespizio")
            << WindowId::Frontespizio
            << QStringLiteral("&Apri...|-|&Salva|Salva con &nome...>(&solo dati finestra|&tutti "
                              "i dati)|-|&Elimina...|-|S&tampa>(&intera relazione|&solo dati "
                              "finestra)|-|Es&ci");
    }
    void fileMenu()
    {
        QFETCH(WindowId, id);
        QFETCH(QString, expected);
        WindowTestFixture f(&makeRecordingWindow);
        auto* w = f.touch<RecordingWindow>(id);
        QCOMPARE(w->fileMenu()->title(), QStringLiteral("&File"));
        QCOMPARE(describeMenu(w->fileMenu()), expected);
    }

    void menuBar_data()
    {
        QTest::addColumn<WindowId>("id");
        QTest::addColumn<QString>("colour");
        QTest::addColumn<QString>("link");
        QTest::newRow("menu") << WindowId::Menu << QStringLiteral("&Colore di fondo")
                              << QStringLiteral("Fi&nestra n.1 di 5");
        QTest::newRow("datiaree") << WindowId::DatiAree << QStringLiteral("&Colore di fondo")
                                  << QStringLiteral("Fi&nestra n.2 di 5");
        QTest::newRow("distanze") << WindowId::Distanze << QStringLiteral("&Colore di fondo")
                                  << QStringLiteral("Fi&nestra n.3 di 5");
        QTest::newRow("grafici") << WindowId::Grafici << QStringLiteral("&Colore di sfondo")
                                 << QStringLiteral("Fi&nestra  n.4 di 5");
        QTest::newRow("frontespizio")
            << WindowId::Frontespizio << QStringLiteral("&Colore di fondo")
            << QStringLiteral("Fi&nestra n.5 di 5");
    }
    void menuBar()
    {
        QFETCH(WindowId, id);
        QFETCH(QString, colour);
        QFETCH(QString, link);
        WindowTestFixture f(&makeRecordingWindow);
        auto* w = f.touch<RecordingWindow>(id);
        QStringList titles;
        for (QAction* a : w->menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, (QStringList{QStringLiteral("&File"), QStringLiteral("Fines&tre"),
                                      QStringLiteral("&?")}));
        QCOMPARE(describeMenu(w->windowsMenu()),
                 QStringLiteral("Scelta del modello|Origini e destinazioni|Distanze e "
                                "interazioni|-|Grafici|Confronta con uno scenario di "
                                "base...|-|Frontespizio|-|") +
                     colour);
        QCOMPARE(describeMenu(w->helpMenu()),
                 QStringLiteral("&Guida in linea|-|&Informazioni su Urbaflux"));
        QCOMPARE(w->helpLinkAction()->text(), link);
        // At the right end of the bar.
        QCOMPARE(w->menuBar()->cornerWidget(Qt::TopRightCorner)->actions().value(0),
                 w->helpLinkAction());

        const Qt::Key keys[] = {Qt::Key_A, Qt::Key_B, Qt::Key_C, Qt::Key_D, Qt::Key_E};
        const Qt::Key digits[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5};
        for (int i = 0; i < 5; ++i) {
            const auto target = static_cast<WindowId>(i);
            QAction* item = w->windowMenuAction(target);
            // The menu shows the first one.
            QCOMPARE(item->shortcuts(), (QList<QKeySequence>{QKeySequence(Qt::CTRL | digits[i]),
                                                             QKeySequence(Qt::CTRL | keys[i])}));
            QCOMPARE(item->isChecked(), target == id);
            QCOMPARE(item->isEnabled(), target != id);
        }
    }

    void toolbarLayout_data()
    {
        QTest::addColumn<WindowId>("id");
        QTest::addColumn<QString>("printTip");
        QTest::newRow("menu") << WindowId::Menu << QStringLiteral("stampa dati finestra");
        QTest::newRow("datiaree") << WindowId::DatiAree << QStringLiteral("stampa dati finestra");
        QTest::newRow("distanze") << WindowId::Distanze << QStringLiteral("stampa dati finestra");
        QTest::newRow("grafici") << WindowId::Grafici << QStringLiteral("stampa grafico");
        QTest::newRow("frontespizio")
            << WindowId::Frontespizio << QStringLiteral("stampa relazione");
    }
    void toolbarLayout()
    {
        QFETCH(WindowId, id);
        QFETCH(QString, printTip);
        WindowTestFixture f(&makeRecordingWindow);
        auto* w = f.touch<RecordingWindow>(id);
        const QList<int> separators{5, 7, 13, 15, 19};
        for (int p = 1; p <= 22; ++p) {
            QCOMPARE(w->toolbarAction(p) == nullptr, separators.contains(p));
            if (w->toolbarAction(p) && p != 17)
                QVERIFY2(!w->toolbarAction(p)->icon().isNull(), qPrintable(QString::number(p)));
        }
        QCOMPARE(w->toolbarAction(23), nullptr);
        auto* bar = w->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        QCOMPARE(bar->actions().size(), 22);
        for (int p : separators)
            QVERIFY(bar->actions().at(p - 1)->isSeparator());
        const QMap<int, QString> tips{
            {1, QStringLiteral("apri file")},
            {2, QStringLiteral("salva file")},
            {3, QStringLiteral("salva file con nome")},
            {4, QStringLiteral("elimina file")},
            {6, printTip},
            {8, QStringLiteral("visualizza finestra 'Scelta del modello'")},
            {9, QStringLiteral("visualizza finestra 'Origini e destinazioni'")},
            {10, QStringLiteral("visualizza finestra 'Distanze e interazioni'")},
            {11, QStringLiteral("visualizza finestra 'Grafici (interazioni)'")},
            {12, QStringLiteral("visualizza finestra 'Frontespizio'")},
            {14, QStringLiteral("colore di sfondo")},
            {16, QStringLiteral("guida in linea")},
            {17, QString()},
            {18, QStringLiteral("informazioni su Urbaflux")},
            {20, QStringLiteral("controllo dati immessi")},
            {21, QStringLiteral("cancella dati finestra")},
            {22, QStringLiteral("uscita da Urbaflux")},
        };
        for (auto it = tips.cbegin(); it != tips.cend(); ++it)
            QCOMPARE(w->toolbarAction(it.key())->toolTip(), it.value());
    }

    void buttons_data()
    {
        QTest::addColumn<WindowId>("id");
        QTest::addColumn<QStringList>("present");
        const QStringList four{QStringLiteral("aiuto"), QStringLiteral("cmdguida"),
                               QStringLiteral("indietro"), QStringLiteral("cmdesci")};
        QTest::newRow("menu") << WindowId::Menu << four + QStringList{QStringLiteral("avanti")};
        QTest::newRow("distanze") << WindowId::Distanze
                                  << four + QStringList{QStringLiteral("avanti")};
        QTest::newRow("grafici") << WindowId::Grafici << QStringList{};
        QTest::newRow("frontespizio") << WindowId::Frontespizio << four;
    }
    void buttons()
    {
        QFETCH(WindowId, id);
        QFETCH(QStringList, present);
        WindowTestFixture f(&makeRecordingWindow);
        auto* w = f.touch<RecordingWindow>(id);
        struct Expected
        {
            WindowFrame::Button which;
            QString name, caption, tip;
        };
        const Expected expected[] = {
            {WindowFrame::Button::Aiuto, QStringLiteral("aiuto"), QStringLiteral("&AIUTO"),
             QStringLiteral("cliccare per avere informazioni sull'uso della finestra")},
            {WindowFrame::Button::CmdGuida, QStringLiteral("cmdguida"),
             QStringLiteral("&Guida in linea"),
             QStringLiteral("cliccare per visualizzare il sommario della Guida")},
            {WindowFrame::Button::Indietro, QStringLiteral("indietro"), QStringLiteral("&Indietro"),
             QStringLiteral("cliccare per tornare alla finestra precedente")},
            {WindowFrame::Button::Avanti, QStringLiteral("avanti"), QStringLiteral(" A&vanti"),
             QStringLiteral("cliccare per andare alla finestra successiva")},
            {WindowFrame::Button::CmdEsci, QStringLiteral("cmdesci"), QStringLiteral("&USCITA"),
             QStringLiteral("cliccare per uscire da Urbaflux")},
        };
        for (const Expected& button : expected) {
            QPushButton* b = w->button(button.which);
            QCOMPARE(b != nullptr, present.contains(button.name));
            if (!b)
                continue;
            QCOMPARE(b->objectName(), button.name);
            QCOMPARE(b->text(), button.caption);
            QCOMPARE(b->toolTip(), button.tip);
        }
        QCOMPARE(w->passo()->objectName(), QStringLiteral("passo"));
        QCOMPARE(w->passo()->toolTip(), QStringLiteral("informazioni sull'usdo della finestra"));
        w->setPasso(QStringLiteral("Scegliere il modello"));
        QCOMPARE(w->passoText(), QStringLiteral("Scegliere il modello"));
    }

    void captionsAndPlacement()
    {
        WindowTestFixture f(&makeRecordingWindow);
        auto* areas = f.show<RecordingWindow>(WindowId::DatiAree);
        QCOMPARE(areas->objectName(), QStringLiteral("datiaree"));
        QCOMPARE(areas->windowTitle(),
                 QStringLiteral("Urbaflux: modello di calcolo non ancora scelto (tornare indietro "
                                "per l'elaborazione)"));
        f.state.model.kind = 2;
        f.state.model.kindLabel = QStringLiteral("'destinazione vincolata'");
        auto* charts = f.show<RecordingWindow>(WindowId::Grafici);
        QCOMPARE(charts->windowTitle(),
                 QStringLiteral("Urbaflux: grafici delle interazioni tra le aree  (modello a "
                                "'destinazione vincolata')"));
        QCOMPARE(WindowFrame::captionFor(windowFacts(WindowId::Frontespizio),
                                         QStringLiteral("'origine vincolata'")),
                 QStringLiteral("Urbaflux: frontespizio per la relazione (modello a 'origine "
                                "vincolata')"));
        // One eighth in; 9600 x 6825 twips outside.
        const QRect screen = charts->screen()->geometry();
        QCOMPARE(charts->pos(),
                 QPoint(screen.x() + (screen.width() - int(0.75 * screen.width())) / 2,
                        screen.y() + (screen.height() - int(0.75 * screen.height())) / 2));
        QCOMPARE(charts->frameGeometry().size(), QSize(640, 455));
    }

    void toolbarDispatch_data()
    {
        QTest::addColumn<WindowId>("id");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("call");
        QTest::newRow("menu apri") << WindowId::Menu << 1 << QStringLiteral("apri_Click");
        QTest::newRow("datiaree salva") << WindowId::DatiAree << 2 << QStringLiteral("salva_Click");
        QTest::newRow("distanze salvanome")
            << WindowId::Distanze << 3 << QStringLiteral("salvanome_Click");
        QTest::newRow("grafici elimina")
            << WindowId::Grafici << 4 << QStringLiteral("eliminare_click");
        QTest::newRow("grafici stampa") << WindowId::Grafici << 6 << QStringLiteral("stampa_Click");
        QTest::newRow("frontespizio stampa relazione")
            << WindowId::Frontespizio << 6 << QStringLiteral("stampatutto_Click");
        QTest::newRow("frontespizio apri")
            << WindowId::Frontespizio << 1 << QStringLiteral("apri_Click");
        QTest::newRow("datiaree cancella")
            << WindowId::DatiAree << 21 << QStringLiteral("clearData");
        QTest::newRow("menu controllo") << WindowId::Menu << 20 << QStringLiteral("avanti_Click");
        QTest::newRow("grafici controllo") << WindowId::Grafici << 20 << QString();
        QTest::newRow("menu guida") << WindowId::Menu << 16 << QString();
    }
    void toolbarDispatch()
    {
        QFETCH(WindowId, id);
        QFETCH(int, position);
        QFETCH(QString, call);
        WindowTestFixture f(&makeRecordingWindow);
        auto* w = f.show<RecordingWindow>(id);
        f.state.areas.origin[1] = QStringLiteral("10");
        f.state.areas.origin[2] = QStringLiteral("2.5");
        f.state.areas.destination[1] = QStringLiteral("3.5");
        f.state.areas.destination[2] = QStringLiteral("4.4");
        clickToolbar(w, position);
        QCOMPARE(w->calls, call.isEmpty() ? QStringList{} : QStringList{call});
        // Totals first everywhere but on the title page.
        const bool totals = id != WindowId::Frontespizio;
        QCOMPARE(f.state.areas.totalOrigins, totals ? 12.5 : 0.0);
        QCOMPARE(f.state.areas.totalDestinations, totals ? 8.0 : 0.0);
        QVERIFY(f.prompts.verifyDone());
    }

    void toolbarShowsWindows()
    {
        WindowTestFixture f(&makeRecordingWindow);
        auto* w = f.show<RecordingWindow>(WindowId::Frontespizio);
        for (int p = 8; p <= 12; ++p) {
            clickToolbar(w, p);
            auto* shown = f.window<RecordingWindow>(static_cast<WindowId>(p - 8));
            QVERIFY(shown);
            QVERIFY(shown->isVisible());
        }
        QVERIFY(w->calls.isEmpty()); // no validation on the way
    }

    void windowsMenuDispatch_data()
    {
        QTest::addColumn<WindowId>("from");
        QTest::addColumn<WindowId>("to");
        QTest::addColumn<bool>("totals");
        const WindowId all[] = {WindowId::Menu, WindowId::DatiAree, WindowId::Distanze,
                                WindowId::Grafici, WindowId::Frontespizio};
        const char* names[] = {"menu", "datiaree", "distanze", "grafici", "frontespizio"};
        // The table of which "Fines&tre" items compute the totals first.
        const bool table[5][5] = {
            {false, false, false, false, false}, // menu: none
            {true, false, true, false, true},    // datiaree: not Grafici
            {true, true, false, false, true},    // distanze: not Grafici
            {false, false, true, false, true},   // grafici: Distanze, Frontespizio
            {true, true, true, false, false},    // frontespizio: not Grafici
        };
        for (int i = 0; i < 5; ++i) {
            for (int j = 0; j < 5; ++j) {
                if (i == j)
                    continue;
                QTest::addRow("%s to %s", names[i], names[j]) << all[i] << all[j] << table[i][j];
            }
        }
    }
    void windowsMenuDispatch()
    {
        QFETCH(WindowId, from);
        QFETCH(WindowId, to);
        QFETCH(bool, totals);
        WindowTestFixture f(&makeRecordingWindow);
        auto* w = f.show<RecordingWindow>(from);
        f.state.areas.origin[1] = QStringLiteral("7");
        w->windowMenuAction(to)->trigger();
        auto* shown = f.window<RecordingWindow>(to);
        QVERIFY(shown);
        QVERIFY(shown->isVisible());
        QCOMPARE(f.state.areas.totalOrigins, totals ? 7.0 : 0.0);
        QCOMPARE(w->windowsMenuRunsTotals(to), totals);
        QVERIFY(w->calls.isEmpty());
    }

    // In a text field the standard edit keys edit the field and switch no window.
    void editKeysEditTheTextField_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("Ctrl+A selects all")
            << int(Qt::Key_A) << QStringLiteral("residenti") << QStringLiteral("residenti")
            << QStringLiteral("appunti");
        QTest::newRow("Ctrl+C copies") << int(Qt::Key_C) << QStringLiteral("residenti")
                                       << QStringLiteral("denti") << QStringLiteral("denti");
        QTest::newRow("Ctrl+X cuts")
            << int(Qt::Key_X) << QStringLiteral("resi") << QString() << QStringLiteral("denti");
        QTest::newRow("Ctrl+V pastes") << int(Qt::Key_V) << QStringLiteral("resiappunti")
                                       << QString() << QStringLiteral("appunti");
        QTest::newRow("Ctrl+Z undoes") << int(Qt::Key_Z) << QStringLiteral("residenti") << QString()
                                       << QStringLiteral("appunti");
    }
    void editKeysEditTheTextField()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(QString, selected);
        QFETCH(QString, clipboard);
        WindowTestFixture f(&makeRecordingWindow);
        auto* w = f.show<RecordingWindow>(WindowId::DatiAree);
        auto* box = new QLineEdit(w->body());
        box->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
        box->setFocus();
        box->setText(QStringLiteral("residenti"));
        QGuiApplication::clipboard()->setText(QStringLiteral("appunti"));
        if (key == Qt::Key_Z)
            QTest::keyClicks(box, QStringLiteral("x"));
        else
            box->setSelection(4, 5); // "denti"
        QTest::keyClick(box, static_cast<Qt::Key>(key), Qt::ControlModifier);
        QCOMPARE(box->text(), text);
        QCOMPARE(box->selectedText(), selected);
        QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
        for (WindowId other : {WindowId::Menu, WindowId::Distanze, WindowId::Grafici})
            QVERIFY(!f.windows.isLoaded(other));
    }

    // Ctrl+1 to Ctrl+5 switch windows from a text field too; Ctrl+A to Ctrl+E where no text
    // field has the focus.
    void windowKeysWhereTheyDoNotEdit_data()
    {
        QTest::addColumn<bool>("inTextField");
        QTest::addColumn<int>("key");
        QTest::addColumn<WindowId>("target");
        QTest::newRow("Ctrl+1 in a field") << true << int(Qt::Key_1) << WindowId::Menu;
        QTest::newRow("Ctrl+5 in a field") << true << int(Qt::Key_5) << WindowId::Frontespizio;
        QTest::newRow("Ctrl+A on a button") << false << int(Qt::Key_A) << WindowId::Menu;
        QTest::newRow("Ctrl+C on a button") << false << int(Qt::Key_C) << WindowId::Distanze;
    }
    void windowKeysWhereTheyDoNotEdit()
    {
        QFETCH(bool, inTextField);
        QFETCH(int, key);
        QFETCH(WindowId, target);
        WindowTestFixture f(&makeRecordingWindow);
        auto* w = f.show<RecordingWindow>(WindowId::DatiAree);
        auto* box = new QLineEdit(QStringLiteral("residenti"), w->body());
        box->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QWidget* focus =
            inTextField ? static_cast<QWidget*>(box) : w->button(WindowFrame::Button::Avanti);
        focus->setFocus();
        QTest::keyClick(focus, static_cast<Qt::Key>(key), Qt::ControlModifier);
        QVERIFY(f.windows.isLoaded(target));
        QCOMPARE(box->text(), QStringLiteral("residenti"));
    }

    void placeholderPositionDoesNothing()
    {
        WindowTestFixture f(&makeRecordingWindow);
        auto* w = f.show<RecordingWindow>(WindowId::Menu);
        f.state.areas.origin[1] = QStringLiteral("7");
        QVERIFY(!w->toolbarAction(17)->isEnabled());
        w->runToolbar(17);
        QCOMPARE(f.state.areas.totalOrigins, 0.0);
        QVERIFY(w->calls.isEmpty());
    }

    void ownWindowsMenuItemDoesNothing()
    {
        WindowTestFixture f(&makeRecordingWindow);
        auto* w = f.show<RecordingWindow>(WindowId::Distanze);
        QAction* own = w->windowMenuAction(WindowId::Distanze);
        own->trigger(); // disabled: nothing happens
        QCOMPARE(f.windows.loadedWindows(), QList<WindowId>{WindowId::Distanze});
    }

    void fileMenuDispatch_data()
    {
        QTest::addColumn<WindowId>("id");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("call");
        QTest::newRow("menu solo dati")
            << WindowId::Menu << QStringLiteral("mnuApriSoloDati") << QStringLiteral("apri_Click");
        QTest::newRow("menu tutti") << WindowId::Menu << QStringLiteral("mnuApriTutti")
                                    << QStringLiteral("apritutto_Click");
        QTest::newRow("datiaree apri")
            << WindowId::DatiAree << QStringLiteral("mnuApri") << QStringLiteral("apri_Click");
        QTest::newRow("distanze salva")
            << WindowId::Distanze << QStringLiteral("mnuSalva") << QStringLiteral("salva_Click");
        QTest::newRow("grafici elimina") << WindowId::Grafici << QStringLiteral("mnuElimina")
                                         << QStringLiteral("eliminare_click");
        QTest::newRow("datiaree stampa")
            << WindowId::DatiAree << QStringLiteral("mnuStampa") << QStringLiteral("stampa_Click");
        QTest::newRow("frontespizio salva solo dati")
            << WindowId::Frontespizio << QStringLiteral("mnuSalvaNomeSoloDati")
            << QStringLiteral("salvanome_Click");
        QTest::newRow("frontespizio salva tutto")
            << WindowId::Frontespizio << QStringLiteral("mnuSalvaTutto")
            << QStringLiteral("salvatutto_Click");
        QTest::newRow("frontespizio intera relazione")
            << WindowId::Frontespizio << QStringLiteral("mnuStampaTutto")
            << QStringLiteral("stampatutto_Click");
        QTest::newRow("frontespizio solo dati")
            << WindowId::Frontespizio << QStringLiteral("mnuStampaSoloDati")
            << QStringLiteral("solodati_Click");
    }
    void fileMenuDispatch()
    {
        QFETCH(WindowId, id);
        QFETCH(QString, item);
        QFETCH(QString, call);
        WindowTestFixture f(&makeRecordingWindow);
        auto* w = f.show<RecordingWindow>(id);
        f.state.areas.origin[1] = QStringLiteral("7");
        QAction* action = w->menuAction(item);
        QVERIFY(action);
        action->trigger();
        QCOMPARE(w->calls, QStringList{call});
        QCOMPARE(f.state.areas.totalOrigins, 0.0); // file items never compute the totals
    }

    void indietro_data()
    {
        QTest::addColumn<WindowId>("from");
        QTest::addColumn<int>("to"); // -1: nothing
        QTest::newRow("menu") << WindowId::Menu << -1;
        QTest::newRow("datiaree") << WindowId::DatiAree << int(WindowId::Menu);
        QTest::newRow("distanze") << WindowId::Distanze << int(WindowId::DatiAree);
        QTest::newRow("frontespizio skips the charts")
            << WindowId::Frontespizio << int(WindowId::Distanze);
    }
    void indietro()
    {
        QFETCH(WindowId, from);
        QFETCH(int, to);
        WindowTestFixture f(&makeRecordingWindow);
        f.show<RecordingWindow>(WindowId::Grafici);
        auto* w = f.show<RecordingWindow>(from);
        f.state.areas.origin[1] = QStringLiteral("7");
        // Greyed where there is nowhere to go back to.
        QCOMPARE(w->button(WindowFrame::Button::Indietro)->isEnabled(), to >= 0);
        QTest::mouseClick(w->button(WindowFrame::Button::Indietro), Qt::LeftButton);
        QList<WindowId> expected{WindowId::Grafici, from};
        if (to >= 0)
            expected << static_cast<WindowId>(to);
        std::sort(expected.begin(), expected.end());
        QCOMPARE(f.windows.loadedWindows(), expected);
        QCOMPARE(f.state.areas.totalOrigins, 0.0);
        QVERIFY(w->calls.isEmpty());
    }

    void avantiOpensNext()
    {
        WindowTestFixture f(&makeRecordingWindow);
        auto* menu = f.show<RecordingWindow>(WindowId::Menu);
        QTest::mouseClick(menu->button(WindowFrame::Button::Avanti), Qt::LeftButton);
        auto* areas = f.window<RecordingWindow>(WindowId::DatiAree);
        QVERIFY(areas && areas->isVisible());
        QTest::mouseClick(areas->button(WindowFrame::Button::Avanti), Qt::LeftButton);
        QVERIFY(f.window<RecordingWindow>(WindowId::Distanze));
    }

    void checkOnlyStaysUntilAPassingAvanti()
    {
        WindowTestFixture f(&makeRecordingWindow);
        auto* menu = f.show<RecordingWindow>(WindowId::Menu);
        menu->valid = false;
        clickToolbar(menu, 20);
        QCOMPARE(menu->checkOnly(), 1);
        QVERIFY(!f.windows.isLoaded(WindowId::DatiAree));
        menu->valid = true;
        QTest::mouseClick(menu->button(WindowFrame::Button::Avanti), Qt::LeftButton);
        QCOMPARE(menu->successReports, 1); // only reports, stays
        QCOMPARE(menu->checkOnly(), 0);
        QVERIFY(!f.windows.isLoaded(WindowId::DatiAree));
        QTest::mouseClick(menu->button(WindowFrame::Button::Avanti), Qt::LeftButton);
        QVERIFY(f.windows.isLoaded(WindowId::DatiAree));
    }

    void checkOnlyStartsAtZeroOnLoad()
    {
        WindowTestFixture f(&makeRecordingWindow);
        auto* menu = f.show<RecordingWindow>(WindowId::Menu);
        menu->valid = false;
        menu->checkData();
        QCOMPARE(menu->checkOnly(), 1);
        menu->close();
        QCOMPARE(f.show<RecordingWindow>(WindowId::Menu)->checkOnly(), 0);
    }

    void contextHelp_data()
    {
        QTest::addColumn<WindowId>("id");
        QTest::addColumn<QStringList>("lines");
        const QString check =
            QStringLiteral("- effettuare il controllo dei dati immessi cliccando sul tasto ABC;");
        const QString corrections = QStringLiteral(
            "- (eventuali correzioni vengono segnalate quando si clicca su AVANTI).");
        const QString tab =
            QStringLiteral("- Inserire i dati muovendo il cursore con il tasto TAB;");
        const auto archive = [](const char* prefix) {
            return QStringLiteral("- aprire un file archiviato per prelevare, eventualmente, i "
                                  "dati registrati (%1);")
                .arg(QLatin1String(prefix));
        };
        QTest::newRow("menu")
            << WindowId::Menu
            << QStringList{
                   QStringLiteral("- Scegliere il modello di calcolo pertinente;"),
                   QStringLiteral("- digitare la tipologia delle origini;"),
                   QStringLiteral("- digitare la tipologia delle destinazioni;"),
                   QStringLiteral("- modificare la tipologia delle interazioni, se necessario;"),
                   QStringLiteral("- modificare, se necessario, la tipologia della distanza;"),
                   QStringLiteral("- modificare il valore di alfa preimpostato, se necessario;"),
                   QStringLiteral("- modificare il valore preimpostato dello scarto nel calcolo, "
                                  "se necessario;"),
                   archive("Urbaflux-mod-"),
                   QStringLiteral("- è possibile prelevare dal disco 'tutti i dati' di una "
                                  "elaborazione cliccando su File;"),
                   QStringLiteral("- cliccare sui tasti laterali (sulla destra) per avere "
                                  "delucidazioni inerenti e più dettagliate;"),
                   check,
                   corrections};
        QTest::newRow("datiaree")
            << WindowId::DatiAree
            << QStringList{tab,
                           QStringLiteral("- non digitare nomi di aree più lunghi di 30 spazi (vi "
                                          "sarà un invito a rettificare);"),
                           archive("Urbaflux-dat-"), check, corrections};
        // "dedi" is how this window has always put it.
        QTest::newRow("distanze")
            << WindowId::Distanze
            << QStringList{tab, QStringLiteral("- non digitare distanze più lunghe di 30 spazi;"),
                           archive("Urbaflux-dis-"),
                           QStringLiteral("- effettuare il controllo dedi dati immessi cliccando "
                                          "sul tasto ABC;"),
                           corrections};
        QTest::newRow("frontespizio")
            << WindowId::Frontespizio
            << QStringList{
                   QStringLiteral("- Digitare o correggere i dati spostandosi con il tasto TAB, o "
                                  "con il mouse, nei campi;"),
                   QStringLiteral("- la data viene impostata in automatico, ma è modificabile;"),
                   archive("Urbaflux-fro-"),
                   QStringLiteral("- non digitare dati più lunghi di 60 spazi;"),
                   check,
                   QStringLiteral("- è possibile archiviare 'tutti i dati' dell'elaborazione "
                                  "cliccando su File (Salva con nome...).")};
    }
    void contextHelp()
    {
        QFETCH(WindowId, id);
        QFETCH(QStringList, lines);
        WindowTestFixture f(&makeRecordingWindow);
        auto* w = f.show<RecordingWindow>(id);
        f.prompts.expectMessage();
        QTest::mouseClick(w->button(WindowFrame::Button::Aiuto), Qt::LeftButton);
        UF_VERIFY_PROMPTS(f.prompts);
        const MessageRequest m = f.prompts.lastMessage();
        QCOMPARE(m.title, QStringLiteral("Urbaflux: aiuto"));
        QCOMPARE(m.icon, MessageIcon::Information);
        QCOMPARE(m.buttons, MessageButtons::Ok);
        // One carriage return between lines, none after the last.
        QCOMPARE(m.text.split(QLatin1Char('\r')), lines);
        QVERIFY(!m.text.contains(QLatin1Char('\n')));
    }

    void helpLinkOfEachWindow_data()
    {
        QTest::addColumn<WindowId>("id");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("page"); // -1: none
        QTest::newRow("menu") << WindowId::Menu << 0 << int(WindowId::GuidaScelta);
        QTest::newRow("datiaree, no model yet") << WindowId::DatiAree << 0 << -1;
        QTest::newRow("datiaree, both constrained")
            << WindowId::DatiAree << 1 << int(WindowId::GuidaVincolate);
        QTest::newRow("datiaree, destination constrained")
            << WindowId::DatiAree << 2 << int(WindowId::GuidaDestinazione);
        QTest::newRow("datiaree, origin constrained")
            << WindowId::DatiAree << 3 << int(WindowId::GuidaOrigine);
        QTest::newRow("distanze") << WindowId::Distanze << 2 << int(WindowId::GuidaDistanze);
        QTest::newRow("grafici") << WindowId::Grafici << 3 << int(WindowId::GuidaGrafici);
        QTest::newRow("frontespizio")
            << WindowId::Frontespizio << 1 << int(WindowId::GuidaFrontespizio);
    }
    void helpLinkOfEachWindow()
    {
        QFETCH(WindowId, id);
        QFETCH(int, kind);
        QFETCH(int, page);
        WindowTestFixture f(&makeWindowOrPage);
        f.state.model.kind = kind;
        auto* w = f.show<RecordingWindow>(id);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        auto* corner = qobject_cast<QMenuBar*>(w->menuBar()->cornerWidget(Qt::TopRightCorner));
        QVERIFY(corner);
        QTest::mouseClick(corner, Qt::LeftButton, {},
                          corner->actionGeometry(w->helpLinkAction()).center());
        QCOMPARE(pagesLoaded(f.windows),
                 page < 0 ? QList<WindowId>{} : QList<WindowId>{static_cast<WindowId>(page)});
        if (page >= 0)
            QVERIFY(f.windows.existing(static_cast<WindowId>(page))->isVisible());
        QVERIFY(w->calls.isEmpty());
        QVERIFY(f.prompts.verifyDone());
    }

    void guideAndAboutCommands_data()
    {
        QTest::addColumn<WindowId>("id");
        QTest::addColumn<QString>("command"); // menu item, "cmdguida", or "tool" + position
        QTest::addColumn<WindowId>("page");
        QTest::newRow("menu: item")
            << WindowId::Menu << QStringLiteral("mnuGuida") << WindowId::Sommario;
        QTest::newRow("datiaree: button")
            << WindowId::DatiAree << QStringLiteral("cmdguida") << WindowId::Sommario;
        QTest::newRow("frontespizio: button")
            << WindowId::Frontespizio << QStringLiteral("cmdguida") << WindowId::Sommario;
        QTest::newRow("grafici: toolbar 16")
            << WindowId::Grafici << QStringLiteral("tool16") << WindowId::Sommario;
        QTest::newRow("distanze: about item")
            << WindowId::Distanze << QStringLiteral("mnuInforma") << WindowId::Informa;
        QTest::newRow("menu: toolbar 18")
            << WindowId::Menu << QStringLiteral("tool18") << WindowId::Informa;
    }
    void guideAndAboutCommands()
    {
        QFETCH(WindowId, id);
        QFETCH(QString, command);
        QFETCH(WindowId, page);
        WindowTestFixture f(&makeWindowOrPage);
        auto* w = f.show<RecordingWindow>(id);
        if (command == QStringLiteral("cmdguida"))
            QTest::mouseClick(w->button(WindowFrame::Button::CmdGuida), Qt::LeftButton);
        else if (command.startsWith(QStringLiteral("tool")))
            clickToolbar(w, command.mid(4).toInt());
        else
            w->menuAction(command)->trigger();
        QCOMPARE(pagesLoaded(f.windows), QList<WindowId>{page});
        QVERIFY(f.windows.existing(page)->isVisible());
        QVERIFY(w->calls.isEmpty());
    }

    void greyQuestionYesTurnsFourWindowsGrey()
    {
        WindowTestFixture f(&makeRecordingWindow);
        auto* charts = f.touch<RecordingWindow>(WindowId::Grafici);
        const QColor chartsColour = charts->backgroundColour();
        auto* menu = f.show<RecordingWindow>(WindowId::Menu);
        f.prompts.expectMessage(MessageAnswer::Yes);
        clickToolbar(menu, 14);
        UF_VERIFY_PROMPTS(f.prompts);
        const MessageRequest m = f.prompts.lastMessage();
        QCOMPARE(m.text, QStringLiteral(
                             "Desideri colori uguali e riposanti (grigio) per tutte le finestre?"));
        QCOMPARE(m.title, QStringLiteral("Urbaflux: colore di sfondo"));
        QCOMPARE(m.icon, MessageIcon::None);
        QCOMPARE(m.buttons, MessageButtons::YesNo);
        const QColor grey(192, 192, 192);
        for (WindowId id :
             {WindowId::Menu, WindowId::DatiAree, WindowId::Distanze, WindowId::Frontespizio})
            QCOMPARE(f.window<RecordingWindow>(id)->backgroundColour(), grey);
        QCOMPARE(charts->backgroundColour(), chartsColour);
        QCOMPARE(f.state.run.backgroundColour, 0u);

        // Already grey: straight to the colour dialog, with the current colour offered.
        f.prompts.expectColour(QColor(Qt::yellow));
        menu->menuAction(QStringLiteral("mnuColore"))->trigger();
        UF_VERIFY_PROMPTS(f.prompts);
        QCOMPARE(f.prompts.colourRequests().value(0), grey);
        QCOMPARE(menu->backgroundColour(), QColor(Qt::yellow));
        QCOMPARE(f.window<RecordingWindow>(WindowId::DatiAree)->backgroundColour(), grey);
        QCOMPARE(f.state.run.backgroundColour, QColor(Qt::yellow).rgba());
        QVERIFY(f.prompts.verifyDone());
    }

    void greyQuestionNoThenCancelChangesNothing()
    {
        WindowTestFixture f(&makeRecordingWindow);
        auto* menu = f.show<RecordingWindow>(WindowId::Menu);
        const QColor before = menu->backgroundColour();
        f.prompts.expectMessage(MessageAnswer::No);
        f.prompts.expectColour(std::nullopt);
        menu->chooseBackgroundColour();
        UF_VERIFY_PROMPTS(f.prompts);
        QCOMPARE(menu->backgroundColour(), before);
        QCOMPARE(f.state.run.backgroundColour, 0u);
        QVERIFY(!f.windows.isLoaded(WindowId::DatiAree));
        QVERIFY(f.prompts.verifyDone());
    }

    void otherWindowsGoStraightToTheDialog()
    {
        WindowTestFixture f(&makeRecordingWindow);
        auto* charts = f.show<RecordingWindow>(WindowId::Grafici);
        auto* distances = f.touch<RecordingWindow>(WindowId::Distanze);
        const QColor distancesBefore = distances->backgroundColour();
        f.prompts.expectColour(QColor(10, 20, 30));
        clickToolbar(charts, 14);
        UF_VERIFY_PROMPTS(f.prompts);
        QCOMPARE(charts->backgroundColour(), QColor(10, 20, 30));
        QCOMPARE(distances->backgroundColour(), distancesBefore);
        QVERIFY(f.prompts.verifyDone());
    }

    void newWindowsKeepTheirDesignColour()
    {
        WindowTestFixture f(&makeRecordingWindow);
        auto* areas = f.show<RecordingWindow>(WindowId::DatiAree);
        f.prompts.expectColour(QColor(10, 20, 30));
        areas->chooseBackgroundColour();
        areas->close();
        QCOMPARE(f.show<RecordingWindow>(WindowId::DatiAree)->backgroundColour(),
                 windowFacts(WindowId::DatiAree).designColour);
    }
};

QTEST_MAIN(TestWindowFrame)
#include "tst_windowframe.moc"
