#pragma once

// The prompts as the user sees them: Qt's message box, file, colour and printer dialogs. This is
// the only place in the program that opens them; everything else asks through Prompts.

#include "prompts.h"

#include <QStringList>

class QWidget;

namespace urbaflux {

class QtPrompts : public Prompts
{
public:
    // Dialogs are parented to the active window when there is one, else to fallbackParent.
    explicit QtPrompts(QWidget* fallbackParent = nullptr);

    MessageAnswer message(const MessageRequest& request) override;
    QString openFile(const FileRequest& request) override;
    QString saveFile(const FileRequest& request) override;
    std::optional<QColor> chooseColour(const QColor& current) override;
    bool choosePrinter(QPrinter& printer) override;

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

    QWidget* m_fallbackParent = nullptr;
    // Where the last file chosen in a file dialog lies: the next dialog starts there.
    QString m_lastFolder;
};

} // namespace urbaflux
