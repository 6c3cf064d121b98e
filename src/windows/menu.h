#pragma once

// Window 1 of 5: the gravity model and its parameters. Every box writes its field of
// ModelChoice as it changes, so the other windows read the model choice straight from the
// project state; the window itself keeps only its current archive name and the title page of
// the last complete archive it opened.

#include "titlepage.h"
#include "windowframe.h"

#include <QString>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace urbaflux {

struct CompleteRecord;
struct ModelChoice;

class Menu : public WindowFrame
{
    Q_OBJECT

public:
    // What the frame needs to know of this window.
    static WindowFacts facts();

    explicit Menu(AppContext& context, QWidget* parent = nullptr);
    ~Menu() override;

    // The model option of a kind (1 to 3) and its memo.
    QRadioButton* modelOption(int index) const;
    QString modelMemo(int index) const;

    // A click on a model option: kind, label, the other windows' captions, the hint.
    void Option1_Click(int index);
    // Selects the option of a kind as a click would, but only when it is not selected yet.
    void selectModelOption(int index);
    void refreshModelHint();

    // Puts model-choice values into the six boxes (al, sc, unitamisura, tipoor, tipode, tipoin);
    // each box's change handling then brings the state back to the text shown. Takes a copy:
    // showing one box changes the state the next one would read.
    void showModelChoice(const ModelChoice& model);

    // Brings interactionType, unit, alpha and tolerance back to what the boxes show, after
    // something reset them to their defaults behind the window's back.
    void keepStateWithBoxes();

    QString currentFile() const { return m_currentFile; }
    // The title page of the last complete archive opened here, held for the title-page window.
    const TitlePage& titlePageRead() const { return m_titlePageRead; }

    // The model-choice boxes win over the defaults.
    void defaultsApplied() override;

    // A complete archive read (a file, or the recovery copy) into the state and every window,
    // title page included.
    void showCompleteRecord(const CompleteRecord& record);

    // "Tara alfa su dati osservati...": the calibration dialog, which types into the alpha box.
    void taraAlfa_Click();
    QPushButton* calibrationButton() const { return m_taraAlfa; }

    void apri_Click() override;
    void apritutto_Click() override;
    void salva_Click() override;
    void salvanome_Click() override;
    void eliminare_click() override;
    void stampa_Click() override;
    void avanti_Click() override;
    void clearData() override;

protected:
    void onLoad() override;
    void dataChanged(bool own) override;

private:
    void buildControls();
    void saveModelChoice(bool askName);
    QString checkTitle() const;
    QString archiveFailureTitle() const;
    // Shows the state's model in the options and boxes, without writing it back.
    void showStateModel();

    QGroupBox* m_frame1 = nullptr;
    std::array<QRadioButton*, 4> m_options{};
    std::array<QLabel*, 4> m_memos{};
    std::array<QPushButton*, 5> m_help{};
    QLineEdit* m_tipoor = nullptr;
    QLineEdit* m_tipode = nullptr;
    QLineEdit* m_tipoin = nullptr;
    QLineEdit* m_unitamisura = nullptr;
    QLineEdit* m_al = nullptr;
    QLineEdit* m_sc = nullptr;
    QPushButton* m_taraAlfa = nullptr;

    bool m_showing = false;
    QString m_currentFile;
    TitlePage m_titlePageRead;
    // What the file dialog's name box keeps between commands of this window.
    QString m_dialogFileName;
};

} // namespace urbaflux
