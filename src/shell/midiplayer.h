#pragma once

// The splash music: a MIDI file played through FluidSynth with the General MIDI soundfont, driven
// by the four commands of the old multimedia control ("open", "play", "pause", "close"). Music is
// decoration: a missing file, soundfont or audio device leaves it silent, reports nothing and
// never blocks. A player is only started when an audio driver exists, since without one the
// player would never reach its end.

#include <QString>
#include <QStringList>

namespace urbaflux {

class MidiPlayer
{
public:
    MidiPlayer();
    ~MidiPlayer();
    MidiPlayer(const MidiPlayer&) = delete;
    MidiPlayer& operator=(const MidiPlayer&) = delete;

    void setFileName(const QString& fileName) { m_fileName = fileName; }
    QString fileName() const { return m_fileName; }

    // "open", "play", "pause" or "close"; any other command is ignored.
    void command(const QString& verb);

    // Every command received, in order, whether or not sound came of it.
    const QStringList& commands() const { return m_commands; }
    bool isOpen() const;
    bool isPlaying() const;

    // Process-wide switch: tests and headless runs turn audio off so that no device is probed.
    static void setAudioAllowed(bool allowed);
    static bool audioAllowed();
    // Where the General MIDI soundfont is looked for.
    static QString soundFontPath();

private:
    void open();
    void play();
    void pause();
    void close();

    struct Engine;
    QString m_fileName;
    QStringList m_commands;
    Engine* m_engine = nullptr;
    bool m_playing = false;
};

} // namespace urbaflux
