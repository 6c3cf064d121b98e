#include "midiplayer.h"

#include <QFileInfo>
#include <alsa/asoundlib.h>
#include <fluidsynth.h>
#include <memory>

namespace urbaflux {

namespace {

bool g_audioAllowed = true;

void quietLog(int, const char*, void*) {}

// The music is optional: a machine without a sound card plays nothing and says nothing, not
// even the lines ALSA would otherwise print to the terminal the program was started from.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

void silenceFluidSynth()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, quietLog, nullptr);
    snd_lib_error_set_handler(quietAlsa);
}

} // namespace

struct MidiPlayer::Engine
{
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_audio_driver_t* driver = nullptr;
    fluid_player_t* player = nullptr;

    ~Engine()
    {
        if (player) {
            fluid_player_stop(player);
            delete_fluid_player(player);
        }
        if (driver)
            delete_fluid_audio_driver(driver);
        if (synth)
            delete_fluid_synth(synth);
        if (settings)
            delete_fluid_settings(settings);
    }
};

MidiPlayer::MidiPlayer() = default;

MidiPlayer::~MidiPlayer()
{
    delete m_engine;
}

void MidiPlayer::setAudioAllowed(bool allowed)
{
    g_audioAllowed = allowed;
}

bool MidiPlayer::audioAllowed()
{
    return g_audioAllowed;
}

QString MidiPlayer::soundFontPath()
{
    // Our own choice first, then whichever General MIDI soundfont Debian's alternatives name
    // (FluidR3 and others provide it too).
    const QString preferred = QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2");
    const QString alternative = QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2");
    return QFileInfo::exists(preferred) || !QFileInfo::exists(alternative) ? preferred
                                                                           : alternative;
}

bool MidiPlayer::isOpen() const
{
    return m_engine != nullptr;
}

bool MidiPlayer::isPlaying() const
{
    return m_engine && m_playing &&
           fluid_player_get_status(m_engine->player) == FLUID_PLAYER_PLAYING;
}

void MidiPlayer::command(const QString& verb)
{
    m_commands.append(verb);
    if (verb == QStringLiteral("open"))
        open();
    else if (verb == QStringLiteral("play"))
        play();
    else if (verb == QStringLiteral("pause"))
        pause();
    else if (verb == QStringLiteral("close"))
        close();
}

void MidiPlayer::open()
{
    close();
    if (!g_audioAllowed)
        return;
    const QByteArray file = QFileInfo(m_fileName).filePath().toLocal8Bit();
    const QByteArray font = soundFontPath().toLocal8Bit();
    if (!QFileInfo::exists(m_fileName) || !QFileInfo::exists(soundFontPath()))
        return;
    silenceFluidSynth();
    if (!fluid_is_midifile(file.constData()))
        return;
    auto engine = std::make_unique<Engine>();
    engine->settings = new_fluid_settings();
    if (!engine->settings)
        return;
    engine->synth = new_fluid_synth(engine->settings);
    if (!engine->synth || fluid_synth_sfload(engine->synth, font.constData(), 1) == FLUID_FAILED)
        return;
    engine->driver = new_fluid_audio_driver(engine->settings, engine->synth);
    if (!engine->driver)
        return; // no device: stay silent rather than run a player that never ends
    engine->player = new_fluid_player(engine->synth);
    if (!engine->player || fluid_player_add(engine->player, file.constData()) == FLUID_FAILED)
        return;
    m_engine = engine.release();
}

void MidiPlayer::play()
{
    if (!m_engine || fluid_player_get_status(m_engine->player) == FLUID_PLAYER_PLAYING)
        return;
    // After a pause the player carries on from where it stopped.
    if (fluid_player_play(m_engine->player) == FLUID_OK)
        m_playing = true;
}

void MidiPlayer::pause()
{
    if (!m_engine || fluid_player_get_status(m_engine->player) != FLUID_PLAYER_PLAYING)
        return;
    fluid_player_stop(m_engine->player);
    fluid_synth_all_notes_off(m_engine->synth, -1);
    m_playing = false;
}

void MidiPlayer::close()
{
    delete m_engine;
    m_engine = nullptr;
    m_playing = false;
}

} // namespace urbaflux
