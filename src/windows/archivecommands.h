#pragma once

// What the archive commands of the working windows share: the open step (dialog, whole file
// read, refusal told), the save and save-as step (the known file or the dialog, write, failure
// told) and the "&Elimina..." command, which moves the chosen file to the desktop's trash instead
// of destroying it. Each window keeps its own current file and dialog name, and applies what was
// read itself.

#include "prompts.h"
#include "windowframe.h"

#include <archiveresult.h>
#include <savedmarks.h>

#include <QString>
#include <functional>

namespace urbaflux {

// The archive dialogs start in the folder of the archive last chosen in any window, whatever
// documents or pictures were saved elsewhere since: one elaboration's files lie together.
FileRequest inArchiveFolder(const WindowFrame& window, FileRequest request);
void rememberArchiveFolder(const WindowFrame& window, const QString& chosenPath);

// Before a command that would replace or empty the data of `kind` (opening an archive over
// them, clearing the window): when they changed since they were last saved or opened, asks
// "Salvare le modifiche?". Salva runs `save` and goes on only if the data were then saved;
// Non salvare goes on; Annulla stops. True when the command may go on.
bool mayDiscard(WindowFrame& window, DataKind kind, const std::function<void()>& save);

// Before "Cancella" empties a window: the question above when its data are unsaved, and
// otherwise, when there is anything to clear, a confirmation. True when it may go on.
bool mayClear(WindowFrame& window, DataKind kind, bool anythingToClear,
              const std::function<void()>& save);

// The open step: the file dialog of `request`; a chosen file becomes the name the next dialog
// offers (`dialogFileName`) and is read whole by `read`; a file that cannot be read is told in a
// message box titled `failureTitle`. No value when the dialog was cancelled or the file refused,
// so that the window changes nothing.
template <typename Read>
auto openArchiveFile(WindowFrame& window, const FileRequest& request, QString& dialogFileName,
                     const QString& failureTitle, Read read) -> decltype(read(QString()))
{
    const QString path = window.prompts().openFile(inArchiveFolder(window, request));
    if (path.isEmpty())
        return {};
    rememberArchiveFolder(window, path);
    dialogFileName = path;
    auto parsed = read(path);
    if (!parsed.ok())
        window.prompts().inform(MessageIcon::Critical, failureTitle, parsed.error);
    return parsed;
}

// The save and save-as step: writes `knownFile` with `write`, or when there is none (save-as
// passes none) the file chosen in the save dialog of `request`, which becomes the name the next
// dialog offers. A failed write is told in a message box titled `failureTitle`. The path written;
// empty when the dialog was cancelled or the write failed, so that the known file stays.
QString saveArchiveFile(WindowFrame& window, const QString& knownFile, const FileRequest& request,
                        QString& dialogFileName, const QString& failureTitle,
                        const std::function<SaveResult(const QString&)>& write);

// The "Elimina" commands of the archive windows move the chosen file to the desktop's trash,
// where the user can still get it back. False, with an Italian sentence naming the file, when
// the file was not moved there.
bool moveFileToTrash(const QString& path, QString* error);
// The hint after a file went to the trash.
QString trashedHint(const QString& path);

struct TrashOutcome
{
    QString path;         // the file chosen; empty when the dialog was cancelled
    bool trashed = false; // whether it went to the trash
};

// The whole "&Elimina..." command of an archive window: the file dialog of `request`, then the
// move to the trash with the hint in `passo`, or a message box titled `failureTitle` saying why
// the file stayed. There is no confirmation question: the trash keeps the file.
TrashOutcome trashArchiveFile(WindowFrame& window, const FileRequest& request,
                              const QString& failureTitle);
// The same, keeping the window's file names: the dialog remembers the chosen file, and a file
// that went to the trash becomes the current file.
void trashArchiveFile(WindowFrame& window, const FileRequest& request, const QString& failureTitle,
                      QString& dialogFileName, QString& currentFile);

} // namespace urbaflux
