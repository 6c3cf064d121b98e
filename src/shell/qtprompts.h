#pragma once

// The prompts as the user sees them: Qt's message box, file, colour and printer dialogs. This is
// the only place in the program that opens them; everything else asks through Prompts.

#include "prompts.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

class QWidget;

namespace urbaflux {

class QtPrompts : public Prompts
{
public:
    // Dialogs are parented to the window whose command asks (setOwner), else to the active
    // window when there is one, else to fallbackParent.
    explicit QtPrompts(QWidget* fallbackParent = nullptr);

    MessageAnswer message(const MessageRequest& request) override;
    QString openFile(const FileRequest& request) override;
    QString saveFile(const FileRequest& request) override;
    std::optional<QColor> chooseColour(const QColor& current) override;
    bool choosePrinter(QPrinter& printer) override;
    void setOwner(QWidget* owner) override;

    // The program's "description|pattern|description|pattern" list as Qt name filters, one per
    // pair. Windows patterns become Qt's: ";" separates patterns and "*.*" means every file.
    static QStringList nameFilters(const QString& filter);
    // The message text as a Qt label shows it: the program joins lines with a lone carriage
    // return, which Qt would not break on.
    static QString displayText(const QString& text);
    // Where the first file dialog starts: the user's documents folder, else the home folder.
    static QString startingFolder();

private:
    QWidget* parentWidget() const;
    QString runFileDialog(const FileRequest& request, bool save);

    QPointer<QWidget> m_fallbackParent;
    QPointer<QWidget> m_owner;
    // Where the last file of a command that succeeded lies: the next dialog starts there.
    QString m_lastFolder;
    // The file chosen last; its folder is remembered once the command on it has succeeded,
    // that is once the file exists (a refused save leaves nothing; a read file was there).
    QString m_chosenFile;
};

} // namespace urbaflux
