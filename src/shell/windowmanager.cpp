#include "windowmanager.h"

#include <savedmarks.h>

#include "appcontext.h"
#include "frmsplash.h"
#include "projectstate.h"
#include "prompts.h"
#include "shellwindows.h"
#include "windowframe.h"

namespace urbaflux {

namespace {

size_t slot(WindowId id)
{
    return static_cast<size_t>(id);
}

} // namespace

WindowManager::WindowManager(QObject* parent) : QObject(parent) {}

WindowManager::~WindowManager()
{
    // Windows are top-level widgets without a parent: they go with the manager.
    for (auto& window : m_windows)
        delete window.data();
}

void WindowManager::setContext(AppContext* context)
{
    m_context = context;
}

void WindowManager::setRegistry(const WindowRegistry* registry)
{
    m_registry = registry;
}

const WindowRegistry& WindowManager::registry() const
{
    static const WindowRegistry none;
    return m_registry ? *m_registry : none;
}

void WindowManager::setFactory(Factory factory)
{
    m_factory = std::move(factory);
}

QWidget* WindowManager::existing(WindowId id) const
{
    return m_windows[slot(id)].data();
}

QWidget* WindowManager::touch(WindowId id)
{
    if (QWidget* window = existing(id))
        return window;
    if (!m_context)
        return nullptr;
    QWidget* window = m_factory ? m_factory(id, *m_context) : nullptr;
    if (!window && !m_factory) {
        for (const WindowEntry& entry : registry()) {
            if (entry.id == id && entry.create)
                window = entry.create(*m_context);
        }
    }
    if (!window)
        window = createShellWindow(id, *m_context);
    if (!window)
        return nullptr; // a window not built yet: the command does nothing
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    m_windows[slot(id)] = window;
    if (id == WindowId::Splash)
        m_endWhenNothingShown = false;
    Q_EMIT windowCreated(id, window);
    // The load step runs once the window is registered, so that what it touches can find it.
    if (auto* loadable = dynamic_cast<Loadable*>(window))
        loadable->runLoad();
    return existing(id);
}

void WindowManager::showWindow(WindowId id)
{
    QWidget* window = touch(id);
    if (!window)
        return;
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
}

void WindowManager::unload(WindowId id)
{
    QWidget* window = existing(id);
    if (!window)
        return;
    m_windows[slot(id)] = nullptr;
    window->hide();
    // The command that unloads a window may run inside that very window: it goes once control
    // is back in the event loop.
    window->deleteLater();
    Q_EMIT windowUnloaded(id);
    if (m_endWhenNothingShown)
        endIfNothingShown();
}

QList<WindowId> WindowManager::loadedWindows() const
{
    QList<WindowId> result;
    for (int i = 0; i < kWindowCount; ++i) {
        if (m_windows[static_cast<size_t>(i)])
            result.append(static_cast<WindowId>(i));
    }
    return result;
}

void WindowManager::confirmExit()
{
    if (!m_context)
        return;
    // The warning belongs in the box itself: a title bar cuts it off.
    const QString title = m_context->state.run.programName + QStringLiteral(": uscita");
    if (hasUnsavedChanges(m_context->state)) {
        const MessageAnswer answer = m_context->prompts.askSaveChanges(
            title, QStringLiteral("Salvare le modifiche?\nAttenzione: i dati non archiviati "
                                  "andranno persi uscendo da Urbaflux."));
        if (answer == MessageAnswer::Cancel)
            return;
        if (answer == MessageAnswer::Save &&
            (!saveElaboration() || hasUnsavedChanges(m_context->state)))
            return;
    } else if (!m_context->prompts.askYesNo(MessageIcon::Question, title,
                                            QStringLiteral("Vuoi uscire da Urbaflux?"),
                                            MessageAnswer::No)) {
        return;
    }
    // The splash comes back as the closing screen: the run does not end on the way.
    m_endWhenNothingShown = false;
    // Everything but the splash, in the order of WindowId.
    for (int i = 0; i < static_cast<int>(WindowId::Splash); ++i)
        unload(static_cast<WindowId>(i));
    QWidget* splash = touch(WindowId::Splash);
    if (!splash)
        return;
    if (auto* closing = qobject_cast<FrmSplash*>(splash))
        closing->showClosingScreen();
    showWindow(WindowId::Splash);
}

bool WindowManager::saveElaboration()
{
    return m_context && m_elaborationSaver && m_elaborationSaver(*m_context);
}

void WindowManager::setElaborationSaver(std::function<bool(AppContext&)> saver)
{
    m_elaborationSaver = std::move(saver);
}

void WindowManager::applyDefaults()
{
    if (!m_context)
        return;
    urbaflux::applyDefaults(m_context->state);
    // Each loaded window puts back what is its own (the model-choice boxes win over the
    // defaults); then one announcement, which every window that shows the state follows.
    for (WindowId id : loadedWindows()) {
        if (auto* frame = existingAs<WindowFrame>(id))
            frame->defaultsApplied();
    }
    markInputsChanged(m_context->state);
}

void WindowManager::endIfNothingShown()
{
    for (int i = 0; i < kWindowCount; ++i) {
        QWidget* window = m_windows[static_cast<size_t>(i)].data();
        if (window && window->isVisible() && static_cast<WindowId>(i) != WindowId::Splash) {
            m_endWhenNothingShown = true;
            return;
        }
    }
    m_endWhenNothingShown = false;
    for (int i = 0; i < kWindowCount; ++i)
        unload(static_cast<WindowId>(i));
    Q_EMIT quitRequested();
}

} // namespace urbaflux
