#pragma once

// The help contents: thirteen entries, each a label and a "--->" button, that open the twelve
// help pages and the tips of the day. The mouse over an entry makes it bold (the last one
// touched stays bold); a press on a label opens its target at once, without waiting for the
// release, and shows the label pressed until the release. "&Chiudi" hides the window (it stays
// loaded, as it was), "&Stampa" prints the list on a printer, "&USCITA" is the exit.

#include "helpwindow.h"

#include <array>

class QLabel;
class QPagedPaintDevice;
class QPushButton;

namespace urbaflux {

class Sommario : public HelpWindow
{
    Q_OBJECT

public:
    static constexpr int kEntries = 13;

    explicit Sommario(AppContext& context, QWidget* parent = nullptr);

    void runLoad() override;

    // The entry texts, with their leading blank, and the window each one opens.
    static QString entryText(int index);    // 1 to 13
    static WindowId entryTarget(int index); // 1 to 13

    QLabel* label(int index) const;         // 1 to 13; null out of range
    QPushButton* pulsante(int index) const; // 1 to 13; null out of range
    QPushButton* cmdchiudi() const { return m_cmdchiudi; }
    QPushButton* cmdstampa() const { return m_cmdstampa; }
    QPushButton* cmdesci() const { return m_cmdesci; }

    // Opens the target of an entry, as its "--->" button does.
    void openEntry(int index);
    void cmdchiudi_Click();
    void cmdstampa_Click();
    void cmdesci_Click();
    // The printout onto a device already chosen (the printer of the dialog, a PDF in tests).
    bool printContentsTo(QPagedPaintDevice& device) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void highlight(int index);

    std::array<QLabel*, kEntries + 1> m_labels{};
    std::array<QPushButton*, kEntries + 1> m_buttons{};
    QPushButton* m_cmdchiudi = nullptr;
    QPushButton* m_cmdstampa = nullptr;
    QPushButton* m_cmdesci = nullptr;
};

} // namespace urbaflux
