#pragma once

// What the archive commands of the working windows share: the "&Elimina..." command, which
// moves the chosen file to the desktop's trash instead of destroying it, and tells the user.

#include <QString>

namespace urbaflux {

class WindowFrame;
struct FileRequest;

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

} // namespace urbaflux
