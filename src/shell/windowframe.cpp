#include "windowframe.h"

#include "clsresize.h"
#include "projectstate.h"
#include "prompts.h"
#include "toolbaricons.h"
#include "windowmanager.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>
#include <array>

namespace urbaflux {

namespace {

constexpr int kOuterWidthTwips = 9600;
constexpr int kOuterHeightTwips = 6825;
constexpr int kToolbarPositions = 22;

const QColor kGrey(192, 192, 192);

bool isSeparatorPosition(int position)
{
    return position == 5 || position == 7 || position == 13 || position == 15 || position == 19;
}

QString toolbarTip(WindowId id, int position)
{
    switch (position) {
    case 1:
        return QStringLiteral("apri file");
    case 2:
        return QStringLiteral("salva file");
    case 3:
        return QStringLiteral("salva file con nome");
    case 4:
        return QStringLiteral("elimina file");
    case 6:
        if (id == WindowId::Frontespizio)
            return QStringLiteral("stampa relazione");
        if (id == WindowId::Grafici)
            return QStringLiteral("stampa grafico");
        return QStringLiteral("stampa dati finestra");
    case 8:
        return QStringLiteral("visualizza finestra 'Scelta del modello'");
    case 9:
        return QStringLiteral("visualizza finestra 'Origini e destinazioni'");
    case 10:
        return QStringLiteral("visualizza finestra 'Distanze e interazioni'");
    case 11:
        return QStringLiteral("visualizza finestra 'Grafici (interazioni)'");
    case 12:
        return QStringLiteral("visualizza finestra 'Frontespizio'");
    case 14:
        return QStringLiteral("colore di sfondo");
    case 16:
        return QStringLiteral("guida in linea");
    case 18:
        return QStringLiteral("informazioni su Urbaflux");
    case 20:
        return QStringLiteral("controllo dati immessi");
    case 21:
        return QStringLiteral("cancella dati finestra");
    case 22:
        return QStringLiteral("uscita da Urbaflux");
    default:
        return {};
    }
}

bool hasButton(WindowId id, WindowFrame::Button which)
{
    if (id == WindowId::Grafici)
        return false;
    if (which == WindowFrame::Button::Avanti)
        return id == WindowId::Menu || id == WindowId::DatiAree || id == WindowId::Distanze;
    return true;
}

} // namespace

namespace {

// Ctrl+A to Ctrl+E switch windows even while a text box has the focus, as they always did; a
// text box would otherwise take Ctrl+A as "select all" and swallow it.
class WindowShortcutGuard : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() != Qt::ControlModifier || key->key() < Qt::Key_A ||
            key->key() > Qt::Key_E)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || !qobject_cast<WindowFrame*>(widget->window()))
            return false;
        event->ignore();
        return true;
    }
};

void installShortcutGuard()
{
    static WindowShortcutGuard* guard = nullptr;
    if (guard || !QCoreApplication::instance())
        return;
    guard = new WindowShortcutGuard(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(guard);
}

} // namespace

struct WindowFrame::Private
{
    QWidget* central = nullptr;
    QWidget* body = nullptr;
    QLabel* passo = nullptr;
    QMenu* fileMenu = nullptr;
    QMenu* windowsMenu = nullptr;
    QMenu* helpMenu = nullptr;
    QAction* helpLink = nullptr;
    std::array<QAction*, kToolbarPositions + 1> toolbar{};
    std::array<QAction*, 5> windowItems{};
    std::array<QPushButton*, 5> buttons{};
    QColor background;
    clsResize resizer;
    bool captured = false;
    bool outerSizeFixed = false;
};

WindowFrame::WindowFrame(WindowId id, AppContext& context, QWidget* parent)
    : QMainWindow(parent), m_id(id), m_context(context), d(new Private)
{
    static const char* const names[] = {"menu", "datiaree", "distanze", "grafici", "frontespizio"};
    const int number = sequenceNumber(id);
    if (number > 0)
        setObjectName(QString::fromLatin1(names[number - 1]));

    installShortcutGuard();

    // --- menu bar ---
    QMenuBar* bar = menuBar();
    auto addItem = [this](QMenu* menu, const QString& caption, const char* name,
                          void (WindowFrame::*slot)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, slot] { (this->*slot)(); });
        return action;
    };
    auto addSubmenu = [](QMenu* menu, const QString& caption, const char* name) {
        QMenu* sub = menu->addMenu(caption);
        sub->menuAction()->setObjectName(QString::fromLatin1(name));
        return sub;
    };

    d->fileMenu = bar->addMenu(QStringLiteral("&File"));
    QMenu* file = d->fileMenu;
    if (id == WindowId::Menu) {
        QMenu* open = addSubmenu(file, QStringLiteral("&Apri..."), "mnuApri");
        addItem(open, QStringLiteral("&solo dati finestra"), "mnuApriSoloDati",
                &WindowFrame::apri_Click);
        addItem(open, QStringLiteral("&tutti i dati"), "mnuApriTutti",
                &WindowFrame::apritutto_Click);
    } else {
        addItem(file, QStringLiteral("&Apri..."), "mnuApri", &WindowFrame::apri_Click);
    }
    if (id != WindowId::Grafici)
        file->addSeparator();
    addItem(file, QStringLiteral("&Salva"), "mnuSalva", &WindowFrame::salva_Click);
    if (id == WindowId::Grafici)
        file->addSeparator();
    if (id == WindowId::Frontespizio) {
        QMenu* saveAs = addSubmenu(file, QStringLiteral("Salva con &nome..."), "mnuSalvaNome");
        addItem(saveAs, QStringLiteral("&solo dati finestra"), "mnuSalvaNomeSoloDati",
                &WindowFrame::salvanome_Click);
        addItem(saveAs, QStringLiteral("&tutti i dati"), "mnuSalvaTutto",
                &WindowFrame::salvatutto_Click);
    } else {
        addItem(file, QStringLiteral("Salva con &nome..."), "mnuSalvaNome",
                &WindowFrame::salvanome_Click);
    }
    file->addSeparator();
    addItem(file, QStringLiteral("&Elimina..."), "mnuElimina", &WindowFrame::eliminare_click);
    file->addSeparator();
    if (id == WindowId::Frontespizio) {
        QMenu* print = addSubmenu(file, QStringLiteral("S&tampa"), "mnuStampa");
        addItem(print, QStringLiteral("&intera relazione"), "mnuStampaTutto",
                &WindowFrame::stampatutto_Click);
        addItem(print, QStringLiteral("&solo dati finestra"), "mnuStampaSoloDati",
                &WindowFrame::solodati_Click);
    } else {
        addItem(file, QStringLiteral("S&tampa"), "mnuStampa", &WindowFrame::stampa_Click);
    }
    file->addSeparator();
    QAction* exit = file->addAction(QStringLiteral("Es&ci"));
    exit->setObjectName(QStringLiteral("mnuEsci"));
    connect(exit, &QAction::triggered, this, [this] { windows().confirmExit(); });

    d->windowsMenu = bar->addMenu(QStringLiteral("Fines&tre"));
    static const char* const itemNames[] = {"mnuScelta", "mnuOrigini", "mnuDistanze", "mnuGrafici",
                                            "mnuFrontespizio"};
    const QString itemCaptions[] = {QStringLiteral("Scelta del modello"),
                                    QStringLiteral("Origini e destinazioni"),
                                    QStringLiteral("Distanze e interazioni"),
                                    QStringLiteral("Grafici"), QStringLiteral("Frontespizio")};
    for (int i = 0; i < 5; ++i) {
        if (i == 3 || i == 4)
            d->windowsMenu->addSeparator();
        const auto target = static_cast<WindowId>(i);
        QAction* item = d->windowsMenu->addAction(itemCaptions[i]);
        item->setObjectName(QString::fromLatin1(itemNames[i]));
        item->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_A + i)));
        item->setShortcutContext(Qt::WindowShortcut);
        if (target == id) {
            item->setCheckable(true);
            item->setChecked(true);
            item->setEnabled(false);
        }
        connect(item, &QAction::triggered, this,
                [this, target] { switchTo(target, windowsMenuRunsTotals(m_id, target)); });
        d->windowItems[static_cast<size_t>(i)] = item;
    }
    d->windowsMenu->addSeparator();
    addItem(d->windowsMenu,
            id == WindowId::Grafici ? QStringLiteral("&Colore di sfondo")
                                    : QStringLiteral("&Colore di fondo"),
            "mnuColore", &WindowFrame::chooseBackgroundColour);

    d->helpMenu = bar->addMenu(QStringLiteral("&?"));
    QAction* guide = d->helpMenu->addAction(QStringLiteral("&Guida in linea"));
    guide->setObjectName(QStringLiteral("mnuGuida"));
    connect(guide, &QAction::triggered, this, [this] { windows().showWindow(WindowId::Sommario); });
    d->helpMenu->addSeparator();
    QAction* about = d->helpMenu->addAction(QStringLiteral("&Informazioni su Urbaflux"));
    about->setObjectName(QStringLiteral("mnuInforma"));
    connect(about, &QAction::triggered, this, [this] { windows().showWindow(WindowId::Informa); });

    // The window's own entry stands at the right end of the menu bar, where the old program
    // pushed it with blanks.
    auto* corner = new QMenuBar(bar);
    corner->setObjectName(QStringLiteral("helpLinkBar"));
    d->helpLink = corner->addAction(id == WindowId::Grafici
                                        ? QStringLiteral("Fi&nestra  n.4 di 5")
                                        : QStringLiteral("Fi&nestra n.%1 di 5").arg(number));
    d->helpLink->setObjectName(QStringLiteral("mnuFinestra"));
    connect(d->helpLink, &QAction::triggered, this, [this] { helpLink(); });
    bar->setCornerWidget(corner, Qt::TopRightCorner);

    // --- toolbar ---
    QToolBar* toolbar = addToolBar(QStringLiteral("Toolbar1"));
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setIconSize(QSize(20, 20));
    toolbar->setContextMenuPolicy(Qt::PreventContextMenu);
    for (int position = 1; position <= kToolbarPositions; ++position) {
        if (isSeparatorPosition(position)) {
            toolbar->addSeparator();
            continue;
        }
        if (position == 17) {
            // A position without a command, kept so that the others stand where users know them.
            QAction* blank = toolbar->addAction(QString());
            blank->setObjectName(QStringLiteral("tool17"));
            blank->setEnabled(false);
            d->toolbar[17] = blank;
            continue;
        }
        QAction* action = toolbar->addAction(toolbarIcon(position), toolbarTip(id, position));
        action->setObjectName(QStringLiteral("tool%1").arg(position));
        action->setToolTip(toolbarTip(id, position));
        connect(action, &QAction::triggered, this, [this, position] { runToolbar(position); });
        d->toolbar[static_cast<size_t>(position)] = action;
    }

    // --- body, command buttons, step hint ---
    d->central = new QWidget(this);
    d->central->setObjectName(QStringLiteral("frameArea"));
    d->central->setAutoFillBackground(true);
    auto* column = new QVBoxLayout(d->central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    d->body = new QWidget(d->central);
    d->body->setObjectName(QStringLiteral("body"));
    d->body->installEventFilter(this);
    column->addWidget(d->body, 1);

    struct ButtonDesign
    {
        Button which;
        const char* name;
        QString caption;
        QString tip;
    };
    const ButtonDesign designs[] = {
        {Button::Aiuto, "aiuto", QStringLiteral("&AIUTO"),
         QStringLiteral("cliccare per avere informazioni sull'uso della finestra")},
        {Button::CmdGuida, "cmdguida", QStringLiteral("&Guida in linea"),
         QStringLiteral("cliccare per visualizzare il sommario della Guida")},
        {Button::Indietro, "indietro", QStringLiteral("&Indietro"),
         QStringLiteral("cliccare per tornare alla finestra precedente")},
        {Button::Avanti, "avanti", QStringLiteral(" A&vanti"),
         QStringLiteral("cliccare per andare alla finestra successiva")},
        {Button::CmdEsci, "cmdesci", QStringLiteral("&USCITA"),
         QStringLiteral("cliccare per uscire da Urbaflux")},
    };
    auto* row = new QHBoxLayout;
    row->setContentsMargins(8, 2, 8, 2);
    row->addStretch(1);
    bool anyButton = false;
    for (const ButtonDesign& design : designs) {
        if (!hasButton(id, design.which))
            continue;
        auto* push = new QPushButton(design.caption, d->central);
        push->setObjectName(QString::fromLatin1(design.name));
        push->setToolTip(design.tip);
        push->setMinimumWidth(twipsToPixels(1440));
        row->addWidget(push);
        d->buttons[static_cast<size_t>(design.which)] = push;
        anyButton = true;
        switch (design.which) {
        case Button::Aiuto:
            connect(push, &QPushButton::clicked, this, [this] { showContextHelp(); });
            break;
        case Button::CmdGuida:
            connect(push, &QPushButton::clicked, this,
                    [this] { windows().showWindow(WindowId::Sommario); });
            break;
        case Button::Indietro:
            connect(push, &QPushButton::clicked, this, [this] { indietro_Click(); });
            break;
        case Button::Avanti:
            connect(push, &QPushButton::clicked, this, [this] { avanti_Click(); });
            break;
        case Button::CmdEsci:
            connect(push, &QPushButton::clicked, this, [this] { windows().confirmExit(); });
            break;
        }
    }
    row->addStretch(1);
    if (anyButton)
        column->addLayout(row);
    else
        delete row;

    d->passo = new QLabel(d->central);
    d->passo->setObjectName(QStringLiteral("passo"));
    d->passo->setToolTip(QStringLiteral("informazioni sull'usdo della finestra"));
    d->passo->setContentsMargins(8, 2, 8, 4);
    d->passo->setWordWrap(true);
    QFont hint = d->passo->font();
    hint.setBold(true);
    d->passo->setFont(hint);
    column->addWidget(d->passo);

    setCentralWidget(d->central);
    setBackgroundColour(designColour(id));
    refreshCaption();
    d->resizer.SetSourceForm(d->body);
}

WindowFrame::~WindowFrame()
{
    delete d;
}

ProjectState& WindowFrame::state() const
{
    return m_context.state;
}

Prompts& WindowFrame::prompts() const
{
    // What this window asks belongs to it, not to whichever window Qt deems active.
    m_context.prompts.setOwner(const_cast<WindowFrame*>(this));
    return m_context.prompts;
}

WindowManager& WindowFrame::windows() const
{
    return m_context.windows;
}

QWidget* WindowFrame::body() const
{
    return d->body;
}

QLabel* WindowFrame::passo() const
{
    return d->passo;
}

void WindowFrame::setPasso(const QString& text)
{
    d->passo->setText(text);
}

QString WindowFrame::passoText() const
{
    return d->passo->text();
}

QPushButton* WindowFrame::button(Button which) const
{
    return d->buttons[static_cast<size_t>(which)];
}

QAction* WindowFrame::toolbarAction(int position) const
{
    if (position < 1 || position > kToolbarPositions)
        return nullptr;
    return d->toolbar[static_cast<size_t>(position)];
}

QAction* WindowFrame::windowMenuAction(WindowId target) const
{
    const int number = sequenceNumber(target);
    return number > 0 ? d->windowItems[static_cast<size_t>(number - 1)] : nullptr;
}

QAction* WindowFrame::helpLinkAction() const
{
    return d->helpLink;
}

QAction* WindowFrame::menuAction(const QString& objectName) const
{
    return findChild<QAction*>(objectName);
}

QMenu* WindowFrame::fileMenu() const
{
    return d->fileMenu;
}

QMenu* WindowFrame::windowsMenu() const
{
    return d->windowsMenu;
}

QMenu* WindowFrame::helpMenu() const
{
    return d->helpMenu;
}

clsResize& WindowFrame::resizer() const
{
    return d->resizer;
}

QColor WindowFrame::backgroundColour() const
{
    return d->background;
}

void WindowFrame::setBackgroundColour(const QColor& colour)
{
    d->background = colour;
    QPalette palette = d->central->palette();
    palette.setColor(QPalette::Window, colour);
    d->central->setPalette(palette);
}

QColor WindowFrame::designColour(WindowId id)
{
    // Each window starts with its own light tint, so that the user tells them apart at a glance.
    switch (id) {
    case WindowId::Menu:
        return QColor(214, 228, 240);
    case WindowId::DatiAree:
        return QColor(220, 234, 214);
    case WindowId::Distanze:
        return QColor(240, 232, 208);
    case WindowId::Grafici:
        return QColor(255, 255, 255);
    case WindowId::Frontespizio:
        return QColor(232, 222, 238);
    default:
        return kGrey;
    }
}

QString WindowFrame::captionFor(WindowId id, const QString& kindLabel)
{
    if (id == WindowId::Menu)
        return QStringLiteral("Urbaflux - Scelta del modello di calcolo");
    if (kindLabel.isEmpty())
        return QStringLiteral("Urbaflux: modello di calcolo non ancora scelto (tornare indietro "
                              "per l'elaborazione)");
    QString fixed;
    switch (id) {
    case WindowId::DatiAree:
        fixed = QStringLiteral("Urbaflux: valori delle origini e delle destinazioni (modello a ");
        break;
    case WindowId::Distanze:
        fixed = QStringLiteral("Urbaflux: distanze e interazioni tra le aree (modello a ");
        break;
    case WindowId::Grafici:
        fixed = QStringLiteral("Urbaflux: grafici delle interazioni tra le aree  (modello a ");
        break;
    case WindowId::Frontespizio:
        fixed = QStringLiteral("Urbaflux: frontespizio per la relazione (modello a ");
        break;
    default:
        return {};
    }
    return fixed + kindLabel + QLatin1Char(')');
}

void WindowFrame::refreshCaption()
{
    setWindowTitle(captionFor(m_id, state().model.kindLabel));
}

int WindowFrame::twipsToPixels(int twips)
{
    return (twips + clsResize::kTwipsPerPixel / 2) / clsResize::kTwipsPerPixel;
}

void WindowFrame::placeTwips(QWidget* control, int left, int top, int width, int height)
{
    control->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                         twipsToPixels(height));
}

void WindowFrame::runLoad()
{
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect placed = clsResize::screenPlacement(screen->geometry(), 75);
        move(placed.topLeft());
    }
    resize(twipsToPixels(kOuterWidthTwips), twipsToPixels(kOuterHeightTwips));
    // Lay the frame out now, hidden as it may be, so that the body has its real size when the
    // window records its layout.
    if (QLayout* own = layout())
        own->activate();
    if (QLayout* column = d->central->layout())
        column->activate();
    m_checkOnly = 0;
    onLoad();
    if (!d->captured)
        captureLayout();
}

void WindowFrame::captureLayout()
{
    d->resizer.ReInitialise();
    d->captured = true;
}

void WindowFrame::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The outer size includes the title bar and borders, known only once the window is shown.
    if (!d->outerSizeFixed) {
        d->outerSizeFixed = true;
        const QSize decoration = frameGeometry().size() - geometry().size();
        if (!decoration.isEmpty())
            resize(twipsToPixels(kOuterWidthTwips) - decoration.width(),
                   twipsToPixels(kOuterHeightTwips) - decoration.height());
    }
}

bool WindowFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == d->body && event->type() == QEvent::Resize && d->captured)
        d->resizer.ResizeControls();
    return QMainWindow::eventFilter(watched, event);
}

void WindowFrame::closeEvent(QCloseEvent* event)
{
    event->accept();
    windows().unload(m_id);
}

void WindowFrame::indietro_Click()
{
    switch (m_id) {
    case WindowId::DatiAree:
        windows().showWindow(WindowId::Menu);
        break;
    case WindowId::Distanze:
        windows().showWindow(WindowId::DatiAree);
        break;
    case WindowId::Frontespizio:
        // The title page goes back to the distances, not to the charts.
        windows().showWindow(WindowId::Distanze);
        break;
    default:
        break;
    }
}

void WindowFrame::checkData()
{
    if (m_id == WindowId::Menu || m_id == WindowId::DatiAree || m_id == WindowId::Distanze) {
        m_checkOnly = 1;
        avanti_Click();
    }
}

void WindowFrame::helpLink()
{
    switch (m_id) {
    case WindowId::Menu:
        windows().showWindow(WindowId::GuidaScelta);
        break;
    case WindowId::DatiAree:
        switch (state().model.kind) {
        case 1:
            windows().showWindow(WindowId::GuidaVincolate);
            break;
        case 2:
            windows().showWindow(WindowId::GuidaDestinazione);
            break;
        case 3:
            windows().showWindow(WindowId::GuidaOrigine);
            break;
        default:
            break; // no model yet: nothing to explain
        }
        break;
    case WindowId::Distanze:
        windows().showWindow(WindowId::GuidaDistanze);
        break;
    case WindowId::Grafici:
        windows().showWindow(WindowId::GuidaGrafici);
        break;
    case WindowId::Frontespizio:
        windows().showWindow(WindowId::GuidaFrontespizio);
        break;
    default:
        break;
    }
}

bool WindowFrame::windowsMenuRunsTotals(WindowId from, WindowId to)
{
    switch (from) {
    case WindowId::DatiAree:
    case WindowId::Distanze:
    case WindowId::Frontespizio:
        return to != WindowId::Grafici;
    case WindowId::Grafici:
        return to == WindowId::Distanze || to == WindowId::Frontespizio;
    default:
        return false;
    }
}

void WindowFrame::switchTo(WindowId target, bool totalsFirst)
{
    if (totalsFirst)
        computeAreaTotals(state());
    windows().showWindow(target);
}

void WindowFrame::runToolbar(int position)
{
    if (!toolbarAction(position) || !toolbarAction(position)->isEnabled())
        return;
    if (m_id != WindowId::Frontespizio)
        computeAreaTotals(state());
    switch (position) {
    case 1:
        apri_Click();
        break;
    case 2:
        salva_Click();
        break;
    case 3:
        salvanome_Click();
        break;
    case 4:
        eliminare_click();
        break;
    case 6:
        if (m_id == WindowId::Frontespizio)
            stampatutto_Click();
        else
            stampa_Click();
        break;
    case 8:
    case 9:
    case 10:
    case 11:
    case 12:
        windows().showWindow(static_cast<WindowId>(position - 8));
        break;
    case 14:
        chooseBackgroundColour();
        break;
    case 16:
        windows().showWindow(WindowId::Sommario);
        break;
    case 18:
        windows().showWindow(WindowId::Informa);
        break;
    case 20:
        checkData();
        break;
    case 21:
        clearData();
        break;
    case 22:
        windows().confirmExit();
        break;
    default:
        break;
    }
}

void WindowFrame::chooseBackgroundColour()
{
    if (m_id == WindowId::Menu && backgroundColour() != kGrey) {
        const bool grey = prompts().askYesNo(
            MessageIcon::None, QStringLiteral("Urbaflux: colore di sfondo"),
            QStringLiteral("Desideri colori uguali e riposanti (grigio) per tutte le finestre?"));
        if (grey) {
            // The charts keep their own colour.
            for (WindowId id :
                 {WindowId::Menu, WindowId::DatiAree, WindowId::Distanze, WindowId::Frontespizio}) {
                if (auto* frame = windows().touchAs<WindowFrame>(id))
                    frame->setBackgroundColour(kGrey);
            }
            return;
        }
    }
    const std::optional<QColor> chosen = prompts().chooseColour(backgroundColour());
    if (!chosen)
        return;
    state().run.backgroundColour = chosen->rgba();
    setBackgroundColour(*chosen);
}

void WindowFrame::showContextHelp()
{
    prompts().inform(MessageIcon::Information, QStringLiteral("Urbaflux: aiuto"),
                     contextHelpLines().join(QLatin1Char('\r')));
}

QStringList WindowFrame::defaultContextHelpLines(WindowId id)
{
    switch (id) {
    case WindowId::Menu:
        return {
            QStringLiteral("- Scegliere il modello di calcolo pertinente;"),
            QStringLiteral("- digitare la tipologia delle origini;"),
            QStringLiteral("- digitare la tipologia delle destinazioni;"),
            QStringLiteral("- modificare la tipologia delle interazioni, se necessario;"),
            QStringLiteral("- modificare, se necessario, la tipologia della distanza;"),
            QStringLiteral("- modificare il valore di alfa preimpostato, se necessario;"),
            QStringLiteral(
                "- modificare il valore preimpostato dello scarto nel calcolo, se necessario;"),
            QStringLiteral("- aprire un file archiviato per prelevare, eventualmente, i dati "
                           "registrati (Urbaflux-mod-);"),
            QStringLiteral("- è possibile prelevare dal disco 'tutti i dati' di una elaborazione "
                           "cliccando su File;"),
            QStringLiteral("- cliccare sui tasti laterali (sulla destra) per avere delucidazioni "
                           "inerenti e più dettagliate;"),
            QStringLiteral("- effettuare il controllo dei dati immessi cliccando sul tasto ABC;"),
            QStringLiteral(
                "- (eventuali correzioni vengono segnalate quando si clicca su AVANTI)."),
        };
    case WindowId::DatiAree:
        return {
            QStringLiteral("- Inserire i dati muovendo il cursore con il tasto TAB;"),
            QStringLiteral("- non digitare nomi di aree più lunghi di 30 spazi (vi sarà un invito "
                           "a rettificare);"),
            QStringLiteral("- aprire un file archiviato per prelevare, eventualmente, i dati "
                           "registrati (Urbaflux-dat-);"),
            QStringLiteral("- effettuare il controllo dei dati immessi cliccando sul tasto ABC;"),
            QStringLiteral(
                "- (eventuali correzioni vengono segnalate quando si clicca su AVANTI)."),
        };
    case WindowId::Distanze:
        return {
            QStringLiteral("- Inserire i dati muovendo il cursore con il tasto TAB;"),
            QStringLiteral("- non digitare distanze più lunghe di 30 spazi;"),
            QStringLiteral("- aprire un file archiviato per prelevare, eventualmente, i dati "
                           "registrati (Urbaflux-dis-);"),
            QStringLiteral("- effettuare il controllo dedi dati immessi cliccando sul tasto ABC;"),
            QStringLiteral(
                "- (eventuali correzioni vengono segnalate quando si clicca su AVANTI)."),
        };
    case WindowId::Frontespizio:
        return {
            QStringLiteral("- Digitare o correggere i dati spostandosi con il tasto TAB, o con il "
                           "mouse, nei campi;"),
            QStringLiteral("- la data viene impostata in automatico, ma è modificabile;"),
            QStringLiteral("- aprire un file archiviato per prelevare, eventualmente, i dati "
                           "registrati (Urbaflux-fro-);"),
            QStringLiteral("- non digitare dati più lunghi di 60 spazi;"),
            QStringLiteral("- effettuare il controllo dei dati immessi cliccando sul tasto ABC;"),
            QStringLiteral("- è possibile archiviare 'tutti i dati' dell'elaborazione cliccando "
                           "su File (Salva con nome...)."),
        };
    default:
        return {};
    }
}

} // namespace urbaflux
