#pragma once

// Every modal question of the program goes through Prompts: message boxes, file dialogs, the
// colour dialog and the printer dialog. QtPrompts shows Qt's dialogs; the tests use a scripted
// double that answers from a queue and records every call. Nothing else opens a modal dialog.

#include <QColor>
#include <QString>
#include <optional>

class QPrinter;
class QWidget;

namespace urbaflux {

enum class MessageIcon
{
    None,
    Critical,
    Question,
    Exclamation,
    Information
};
enum class MessageButtons
{
    Ok,
    YesNo,
    SaveDiscardCancel // "Salva", "Non salvare", "Annulla"
};
enum class MessageAnswer
{
    Ok,
    Yes,
    No,
    Save,
    Discard,
    Cancel
};

struct MessageRequest
{
    MessageIcon icon = MessageIcon::None;
    QString title;
    QString text; // lines joined by "\r" (character 13) as the program writes them, or "\n"
    MessageButtons buttons = MessageButtons::Ok;
    MessageAnswer defaultAnswer = MessageAnswer::Ok;
};

struct FileRequest
{
    QString title;
    // The program's own filter list: "description|pattern|description|pattern...", for
    // instance "Tutti i file (*.*)|*.*|File Urbaflux-dis- | Urbaflux-dis-*".
    QString filter;
    int selectedFilter = 1; // 1-based index of the pair preselected
    QString fileName;       // proposed name, may be empty
    QString directory;      // starting folder; empty for the dialog's own choice
};

class Prompts
{
public:
    virtual ~Prompts() = default;

    virtual MessageAnswer message(const MessageRequest& request) = 0;
    // The chosen file's full path; empty when the user cancelled.
    virtual QString openFile(const FileRequest& request) = 0;
    virtual QString saveFile(const FileRequest& request) = 0;
    // The chosen colour; nullopt when the user cancelled.
    virtual std::optional<QColor> chooseColour(const QColor& current) = 0;
    // True when the user accepted the printer dialog (the printer then holds the choice).
    virtual bool choosePrinter(QPrinter& printer) = 0;
    // The window whose command asks next: its dialogs belong to it and centre on it.
    virtual void setOwner(QWidget* /*owner*/) {}

    // Shorthands for the common cases.
    void inform(MessageIcon icon, const QString& title, const QString& text)
    {
        message({icon, title, text, MessageButtons::Ok, MessageAnswer::Ok});
    }
    bool askYesNo(MessageIcon icon, const QString& title, const QString& text,
                  MessageAnswer defaultAnswer = MessageAnswer::Yes)
    {
        return message({icon, title, text, MessageButtons::YesNo, defaultAnswer}) ==
               MessageAnswer::Yes;
    }
    // "Salvare le modifiche?" before unsaved data would go: Save, Discard or Cancel.
    MessageAnswer askSaveChanges(const QString& title, const QString& text)
    {
        return message({MessageIcon::Question, title, text, MessageButtons::SaveDiscardCancel,
                        MessageAnswer::Save});
    }
};

} // namespace urbaflux
