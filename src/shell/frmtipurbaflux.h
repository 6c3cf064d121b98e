#pragma once

// Tips of the day: the lines of SuggerimentiUrbaflux.TXT, one tip each (empty lines too), shown
// one at a time in file order. "&Successivo" goes on and wraps round to the first tip,
// "&Precedente" goes back but not past the first, "&Chiudi" hides the window, which keeps its
// tips and the one on display until the exit sequence unloads it.
//
// The file lies beside the program, or in its installed data folder; it is read with the
// archives' rule (UTF-8 when valid, Windows-1252 otherwise), lines ended by CR LF, LF or CR.

#include "windowmanager.h"

#include <QStringList>
#include <QWidget>

class QLabel;
class QPushButton;

namespace urbaflux {

class FrmTipUrbaflux : public QWidget, public Loadable
{
    Q_OBJECT

public:
    static QString tipsFileName() { return QStringLiteral("SuggerimentiUrbaflux.TXT"); }
    // What the window shows when it finds no tips file.
    static QString missingFileText();

    explicit FrmTipUrbaflux(QWidget* parent = nullptr);

    // The load step: the tips file beside the program, or the explanation when there is none.
    void runLoad() override;

    // Appends the file's lines to the tips and shows the next tip; false (and nothing read)
    // when the path is empty or no file is there.
    bool LoadTips(const QString& path);
    // Shows the current tip; nothing changes while there are no tips.
    void DisplayCurrentTip();

    void cmdNextTip_Click();
    void cmdprecedente_Click();
    void cmdOK_Click();

    const QStringList& tips() const { return m_tips; }
    int currentTip() const { return m_currentTip; }
    // The text on display exactly as set (the label shows CR LF as one line break).
    const QString& tipText() const { return m_tipText; }

    QLabel* lblTipText() const { return m_lblTipText; }
    QLabel* label1() const { return m_label1; }
    QPushButton* cmdprecedente() const { return m_cmdprecedente; }
    QPushButton* cmdNextTip() const { return m_cmdNextTip; }
    QPushButton* cmdOK() const { return m_cmdOK; }

    // The lines of a tips file's text, without their line ends.
    static QStringList splitTipLines(const QString& text);

private:
    void setTipText(const QString& text);

    QStringList m_tips;
    int m_currentTip = 0;
    QString m_tipText;
    QLabel* m_picture = nullptr;
    QLabel* m_label1 = nullptr;
    QLabel* m_lblTipText = nullptr;
    QPushButton* m_cmdprecedente = nullptr;
    QPushButton* m_cmdNextTip = nullptr;
    QPushButton* m_cmdOK = nullptr;
};

} // namespace urbaflux
