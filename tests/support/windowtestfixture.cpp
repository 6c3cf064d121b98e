#include "windowtestfixture.h"

#include "midiplayer.h"

namespace urbaflux {

WindowTestFixture::WindowTestFixture(WindowManager::Factory factory)
{
    MidiPlayer::setAudioAllowed(false);
    applyDefaults(state);
    state.notifier = &notifier;
    windows.setContext(&context);
    windows.setRegistry(&windowRegistry());
    windows.setFactory(std::move(factory));
}

WindowTestFixture::~WindowTestFixture()
{
    // The windows hold references to the context: they go before it.
    for (WindowId id : windows.loadedWindows())
        windows.unload(id);
    flushDeletes();
}

QWidget* WindowTestFixture::activeWindow() const
{
    return QApplication::activeWindow();
}

} // namespace urbaflux
