#include "windowframe.h"

#include "clsresize.h"
#include "projectstate.h"
#include "prompts.h"
#include "statenotifier.h"
#include "toolbaricons.h"
#include "windowmanager.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>
#include <array>

namespace urbaflux {

namespace {

constexpr int kOuterWidthTwips = 9600;
constexpr int kOuterHeightTwips = 6825;

const QColor kGrey(192, 192, 192);

} // namespace

namespace {

// Ctrl+A to Ctrl+E switch windows only where no text field has the focus: in a field they are
// the field's own keys (select all, copy), as in every program. Ctrl+1 to Ctrl+5 switch
// everywhere, since no edit key uses them.
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
        if (!widget || !qobject_cast<WindowFrame*>(widget->window()) || !isTextField(widget))
            return false;
        // Accepted, the override hands the key to the field instead of the shortcut.
        event->accept();
        return true;
    }

private:
    static bool isTextField(const QWidget* widget)
    {
        if (const auto* line = qobject_cast<const QLineEdit*>(widget))
            return !line->isReadOnly();
        if (const auto* plain = qobject_cast<const QPlainTextEdit*>(widget))
            return !plain->isReadOnly();
        if (const auto* rich = qobject_cast<const QTextEdit*>(widget))
            return !rich->isReadOnly();
        return qobject_cast<const QAbstractSpinBox*>(widget) != nullptr;
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
    QList<std::pair<WindowId, QAction*>> windowItems;
    std::array<QPushButton*, 5> buttons{};
    QColor background;
    clsResize resizer;
    bool captured = false;
    bool outerSizeFixed = false;
};

WindowFrame::WindowFrame(const WindowFacts& facts, AppContext& context, QWidget* parent)
    : QMainWindow(parent), m_facts(facts), m_context(context), d(new Private)
{
    setObjectName(facts.objectName);

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
    if (facts.openAllData) {
        QMenu* open = addSubmenu(file, QStringLiteral("&Apri..."), "mnuApri");
        addItem(open, QStringLiteral("&solo dati finestra"), "mnuApriSoloDati",
                &WindowFrame::apri_Click);
        addItem(open, QStringLiteral("&tutti i dati"), "mnuApriTutti",
                &WindowFrame::apritutto_Click);
    } else {
        addItem(file, QStringLiteral("&Apri..."), "mnuApri", &WindowFrame::apri_Click);
    }
    if (facts.separatorAfterOpen)
        file->addSeparator();
    addItem(file, QStringLiteral("&Salva"), "mnuSalva", &WindowFrame::salva_Click);
    if (!facts.separatorAfterOpen)
        file->addSeparator();
    if (facts.saveAllData) {
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
    if (facts.printWholeReport) {
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
    const WindowRegistry& registry = context.windows.registry();
    int outside = 0; // windows listed outside the sequence so far
    for (const WindowEntry& entry : registry) {
        if (entry.separatorBefore)
            d->windowsMenu->addSeparator();
        const WindowId target = entry.id;
        QAction* item = d->windowsMenu->addAction(entry.menuCaption);
        item->setObjectName(QString::fromLatin1(entry.menuObjectName));
        // The first key is the one the menu shows; the letters stay for where no text field
        // would take them as edit keys. A window outside the sequence takes the digit after
        // the sequence's last.
        if (const int place = placeInSequence(registry, target); place > 0)
            item->setShortcuts(
                {QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_0 + place)),
                 QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_A + place - 1))});
        else
            item->setShortcut(QKeySequence(
                Qt::CTRL | static_cast<Qt::Key>(Qt::Key_0 + sequenceLength(registry) + ++outside)));
        item->setShortcutContext(Qt::WindowShortcut);
        if (target == facts.id) {
            item->setCheckable(true);
            item->setChecked(true);
            item->setEnabled(false);
        }
        connect(item, &QAction::triggered, this,
                [this, target] { switchTo(target, windowsMenuRunsTotals(target)); });
        d->windowItems.append({target, item});
    }
    d->windowsMenu->addSeparator();
    addItem(d->windowsMenu, facts.colourCaption, "mnuColore", &WindowFrame::chooseBackgroundColour);

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
    // "Fi&nestra n.X di N": the window's place and the number of windows, from the registry.
    d->helpLink = corner->addAction(facts.helpLinkCaption.arg(placeInSequence(registry, facts.id))
                                        .arg(sequenceLength(registry)));
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
        const ToolbarPosition& design = toolbarPosition(position);
        if (design.command == ToolbarCommand::Separator) {
            toolbar->addSeparator();
            continue;
        }
        QString tip = design.command == ToolbarCommand::Print ? facts.printTip : design.tip;
        bool available = design.command != ToolbarCommand::Blank;
        if (design.command == ToolbarCommand::ShowWindow) {
            const WindowEntry* listed = sequenceEntry(registry, design.windowPlace);
            tip = listed ? listed->toolbarTip : QString();
            available = listed != nullptr;
        }
        QAction* action = toolbar->addAction(toolbarIcon(position), tip);
        action->setObjectName(QStringLiteral("tool%1").arg(position));
        action->setToolTip(tip);
        action->setEnabled(available);
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
        if (!facts.buttons.contains(design.which))
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
            // A window with nowhere to go back to shows its button greyed, not one that does
            // nothing when clicked.
            push->setEnabled(facts.backTarget.has_value());
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
    setBackgroundColour(facts.designColour);
    refreshCaption();
    d->resizer.SetSourceForm(d->body);

    if (StateNotifier* notifier = context.state.notifier) {
        connect(notifier, &StateNotifier::inputsChanged, this, [this] {
            refreshCaption();
            dataChanged(m_ownChange);
        });
    }
}

void WindowFrame::markChanged()
{
    m_ownChange = true;
    markInputsChanged(state());
    m_ownChange = false;
    // A state nobody announces (a benchmark's, a test's of one window) still keeps the window
    // that wrote it current.
    if (!state().notifier) {
        refreshCaption();
        dataChanged(true);
    }
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
    for (const auto& [id, item] : d->windowItems) {
        if (id == target)
            return item;
    }
    return nullptr;
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
    // Labels, totals and the hint stay readable on whatever colour the user chooses; greyed
    // texts (results of an earlier calculation) stay grey but readable too.
    const bool dark = qGray(colour.rgb()) < 128;
    palette.setColor(QPalette::WindowText, dark ? QColor(Qt::white) : QColor(Qt::black));
    palette.setColor(QPalette::PlaceholderText, dark ? QColor(176, 176, 176) : QColor(96, 96, 96));
    d->central->setPalette(palette);
}

QString WindowFrame::captionFor(const WindowFacts& facts, const QString& kindLabel)
{
    if (!facts.fixedCaption.isEmpty())
        return facts.fixedCaption;
    if (kindLabel.isEmpty())
        return QStringLiteral("Urbaflux: modello di calcolo non ancora scelto (tornare indietro "
                              "per l'elaborazione)");
    return facts.modelCaption + kindLabel + QLatin1Char(')');
}

void WindowFrame::refreshCaption()
{
    setWindowTitle(captionFor(m_facts, state().model.kindLabel));
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
    windows().unload(m_facts.id);
}

void WindowFrame::indietro_Click()
{
    if (m_facts.backTarget)
        windows().showWindow(*m_facts.backTarget);
}

void WindowFrame::checkData()
{
    if (m_facts.buttons.contains(Button::Avanti)) {
        m_checkOnly = 1;
        avanti_Click();
    }
}

void WindowFrame::helpLink()
{
    const QList<WindowId>& pages = m_facts.helpPages;
    if (pages.size() == 1) {
        windows().showWindow(pages.first());
        return;
    }
    // One page per model: nothing to explain while no model is chosen.
    const int kind = state().model.kind;
    if (kind >= 1 && kind <= pages.size())
        windows().showWindow(pages.at(kind - 1));
}

bool WindowFrame::windowsMenuRunsTotals(WindowId to) const
{
    return m_facts.totalsBeforeShowing.contains(to);
}

void WindowFrame::switchTo(WindowId target, bool totalsFirst)
{
    if (totalsFirst)
        computeAreaTotals(state());
    windows().showWindow(target);
}

void WindowFrame::runToolbar(int position)
{
    QAction* action = toolbarAction(position);
    if (!action || !action->isEnabled())
        return;
    if (m_facts.toolbarComputesTotals)
        computeAreaTotals(state());
    const ToolbarPosition& design = toolbarPosition(position);
    switch (design.command) {
    case ToolbarCommand::Open:
        apri_Click();
        break;
    case ToolbarCommand::Save:
        salva_Click();
        break;
    case ToolbarCommand::SaveAs:
        salvanome_Click();
        break;
    case ToolbarCommand::Delete:
        eliminare_click();
        break;
    case ToolbarCommand::Print:
        if (m_facts.printWholeReport)
            stampatutto_Click();
        else
            stampa_Click();
        break;
    case ToolbarCommand::ShowWindow:
        if (const WindowEntry* entry = sequenceEntry(windows().registry(), design.windowPlace))
            windows().showWindow(entry->id);
        break;
    case ToolbarCommand::Colour:
        chooseBackgroundColour();
        break;
    case ToolbarCommand::Guide:
        windows().showWindow(WindowId::Sommario);
        break;
    case ToolbarCommand::About:
        windows().showWindow(WindowId::Informa);
        break;
    case ToolbarCommand::Check:
        checkData();
        break;
    case ToolbarCommand::Clear:
        clearData();
        break;
    case ToolbarCommand::Exit:
        windows().confirmExit();
        break;
    case ToolbarCommand::Separator:
    case ToolbarCommand::Blank:
        break;
    }
}

void WindowFrame::chooseBackgroundColour()
{
    if (!m_facts.greyTogether.isEmpty() && backgroundColour() != kGrey) {
        const bool grey = prompts().askYesNo(
            MessageIcon::None, QStringLiteral("Urbaflux: colore di sfondo"),
            QStringLiteral("Desideri colori uguali e riposanti (grigio) per tutte le finestre?"));
        if (grey) {
            for (WindowId id : m_facts.greyTogether) {
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

} // namespace urbaflux
