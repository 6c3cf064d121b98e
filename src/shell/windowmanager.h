#pragma once

// Owns the life of every window: creates each on first use (shown, or only touched: created
// hidden with its load step run), shows it, unloads it, and runs the exit sequence. Windows never
// create each other: they ask the manager. The windows themselves are made by a factory that the
// application wires up, so the shell never includes a window header.

#include "windowid.h"
#include "windowregistry.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

namespace urbaflux {

struct AppContext;

// A window with a load step (fields, defaults, hint) that the manager runs once, right after it
// has registered the new window, so that whatever the step touches can already find it.
class Loadable
{
public:
    virtual ~Loadable() = default;
    virtual void runLoad() = 0;
};

class WindowManager : public QObject
{
    Q_OBJECT

public:
    // Makes the window of an id, not yet shown; the manager then runs its load step.
    using Factory = std::function<QWidget*(WindowId, AppContext&)>;

    explicit WindowManager(QObject* parent = nullptr);
    ~WindowManager() override;

    void setContext(AppContext* context);
    // The working windows (the application hands the windows module's list): what the frames
    // read for their menus, toolbar and captions, and how the windows are made.
    void setRegistry(const WindowRegistry* registry);
    const WindowRegistry& registry() const;
    // A factory of the test's own, asked before the registry; null from it: the registry's.
    void setFactory(Factory factory);

    // The window, created hidden (with its load step) if it does not exist.
    QWidget* touch(WindowId id);
    template <typename T> T* touchAs(WindowId id) { return qobject_cast<T*>(touch(id)); }

    // The window if it exists, else null; never creates.
    QWidget* existing(WindowId id) const;
    template <typename T> T* existingAs(WindowId id) const
    {
        return qobject_cast<T*>(existing(id));
    }
    bool isLoaded(WindowId id) const { return existing(id) != nullptr; }

    // Creates the window if needed and shows it modeless in front.
    void showWindow(WindowId id);

    // Destroys the window; its controls go with it, the project state stays.
    void unload(WindowId id);

    // The exit question; on Yes every window is unloaded in order and the splash comes back as
    // the closing screen. When data typed since the last save would be lost the question is
    // "Salvare le modifiche?": Salva saves the whole elaboration first (and stays if that did
    // not happen), Non salvare leaves, Annulla stays.
    void confirmExit();

    // Saves the whole elaboration (the complete archive, with its dialog); true when it was
    // written. The application installs the title-page window's command; without one nothing
    // is saved.
    bool saveElaboration();
    void setElaborationSaver(std::function<bool(AppContext&)> saver);

    // The defaults of the model choice, as the splash, model-choice and area windows' load
    // steps run them: the core's applyDefaults, defaultsApplied() of every loaded window (the
    // model-choice window keeps what its boxes show), then one change announcement.
    void applyDefaults();

    // The end of the run asked from the splash window: when no other window is in view every
    // window is unloaded and quitRequested() is emitted; otherwise the work goes on, and the end
    // comes when the last window in view is unloaded (a run left with nothing on screen could
    // never be ended). The splash coming back cancels that.
    void endIfNothingShown();

    // Every loaded window, in unload order (the splash last).
    QList<WindowId> loadedWindows() const;

Q_SIGNALS:
    void windowCreated(urbaflux::WindowId id, QWidget* window);
    void windowUnloaded(urbaflux::WindowId id);
    // The program should end now; the application connects it to QCoreApplication::quit.
    void quitRequested();

private:
    AppContext* m_context = nullptr;
    const WindowRegistry* m_registry = nullptr;
    Factory m_factory;
    std::function<bool(AppContext&)> m_elaborationSaver;
    std::array<QPointer<QWidget>, kWindowCount> m_windows;
    bool m_endWhenNothingShown = false;
};

} // namespace urbaflux
