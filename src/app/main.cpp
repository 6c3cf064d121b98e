// Urbaflux: one project state, one window manager, the splash first; everything else happens in
// the handlers of the windows.

#include "appcontext.h"
#include "documentviewer.h"
#include "frontespizio.h"
#include "projectstate.h"
#include "qtprompts.h"
#include "qttranslations.h"
#include "recoverycopy.h"
#include "statenotifier.h"
#include "windowfactory.h"
#include "windowmanager.h"

#include <QApplication>
#include <QIcon>
#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Urbaflux"));
    QApplication::setApplicationVersion(QStringLiteral("3.04.05"));
    // The desktop entry names the icon for the desktop; the windows take the picture built in,
    // since a theme entry that cannot be drawn (the SVG without its image plugin, or no
    // entry at all before installing) left a null pixmap for the window system to scale.
    QApplication::setDesktopFileName(QStringLiteral("urbaflux"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/urbaflux.png")));
    // The program ends through the splash window, not when the last window closes: windows
    // touched but never shown are loaded too.
    QApplication::setQuitOnLastWindowClosed(false);
    urbaflux::installItalianQtTexts(app);

    auto state = std::make_unique<urbaflux::ProjectState>();
    // The windows that show the data listen to it; it outlives them (declared before them).
    urbaflux::StateNotifier notifier;
    state->notifier = &notifier;
    urbaflux::QtPrompts prompts;
    urbaflux::WindowManager windows;
    // Every printout opens its own viewer window.
    urbaflux::DocumentViewerSink documents(prompts);
    urbaflux::AppContext context{*state, prompts, windows, documents};
    windows.setContext(&context);
    windows.setRegistry(&urbaflux::windowRegistry());
    windows.setElaborationSaver(&urbaflux::saveWholeElaboration);
    QObject::connect(&windows, &urbaflux::WindowManager::quitRequested, &app,
                     &QCoreApplication::quit, Qt::QueuedConnection);

    windows.showWindow(urbaflux::WindowId::Splash);
    // A copy left behind means the last run ended without the exit sequence.
    urbaflux::RecoveryCopy recovery(context);
    recovery.offerRestore();
    recovery.start();
    const int result = QApplication::exec();
    recovery.removeCopy();
    // Windows unloaded on the way out go now, while the state they refer to still exists.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
