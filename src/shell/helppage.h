#pragma once

// One of the twelve help pages: caption "Guida in linea", the title Label1, the text Label2
// (scrolling when it does not fit), and "&Chiudi" (unloads the page), "&Sommario" (shows the
// contents, the page stays open) and "S&tampa" (the page printout in the document viewer).

#include "helpwindow.h"

class QLabel;
class QPushButton;
class QScrollArea;

namespace urbaflux {

class HelpPage : public HelpWindow
{
    Q_OBJECT

public:
    HelpPage(WindowId id, AppContext& context, QWidget* parent = nullptr);

    // The load step: texts, then size and placement.
    void runLoad() override;

    QLabel* titleLabel() const { return m_label1; } // Label1
    QLabel* textLabel() const { return m_label2; }  // Label2
    QPushButton* cmdchiudi() const { return m_cmdchiudi; }
    QPushButton* cmdsommario() const { return m_cmdsommario; }
    QPushButton* cmdstampa() const { return m_cmdstampa; }
    // The title and text exactly as the page holds them (the label shows CR LF as a break).
    const QString& title() const { return m_title; }
    const QString& text() const { return m_text; }

    void cmdchiudi_Click();
    void cmdsommario_Click();
    void cmdstampa_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_label1 = nullptr;
    QLabel* m_label2 = nullptr;
    QScrollArea* m_scroll = nullptr;
    QPushButton* m_cmdchiudi = nullptr;
    QPushButton* m_cmdsommario = nullptr;
    QPushButton* m_cmdstampa = nullptr;
    QString m_title;
    QString m_text;
};

} // namespace urbaflux
