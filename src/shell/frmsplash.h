#pragma once

// The splash window: the first window of the run and the closing screen after the exit. A click
// anywhere pauses the music and opens the model choice; a key closes the music and unloads the
// splash, which ends the program when no working window is in view.

#include "midiplayer.h"
#include "windowmanager.h"

#include <QWidget>
#include <array>

class QLabel;

namespace urbaflux {

struct AppContext;

class FrmSplash : public QWidget, public Loadable
{
    Q_OBJECT

public:
    explicit FrmSplash(AppContext& context, QWidget* parent = nullptr);
    ~FrmSplash() override;

    // The load step: music, defaults, program information, labels.
    void runLoad() override;
    // What the exit sequence does to the splash: music again, label 2 as a credit line.
    void showClosingScreen();

    // The label array, indexed 1 to 8 as the program numbers them; null for unused indices.
    QLabel* label(int index) const;
    MidiPlayer& player() { return m_player; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void end();

    AppContext& m_context;
    MidiPlayer m_player;
    QLabel* m_image = nullptr;
    std::array<QLabel*, 9> m_labels{};
    bool m_ending = false;
};

} // namespace urbaflux
