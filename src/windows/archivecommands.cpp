#include "archivecommands.h"

#include <archivefile.h>
#include <projectstate.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace urbaflux {

bool moveFileToTrash(const QString& path, QString* error)
{
    const QString shown = archiveDisplayName(path);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        if (error)
            *error = QStringLiteral("Il file %1 non esiste: non è stato eliminato.").arg(shown);
        return false;
    }
    // Qt 6.4 looks for the trash under the user's data folder without creating that folder
    // first, and on a fresh account then answers with a relative path: a file moved to such a
    // place is not in the trash.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!dataHome.isEmpty())
        QDir().mkpath(dataHome);
    QString inTrash;
    const bool moved = QFile::moveToTrash(path, &inTrash);
    if (moved && !QFileInfo(inTrash).isAbsolute()) {
        if (error)
            *error = QStringLiteral("Il file %1 non è stato spostato nel cestino ma in %2, nella "
                                    "cartella di lavoro del programma.")
                         .arg(shown, inTrash);
        return false;
    }
    if (!moved) {
        if (error)
            *error = QStringLiteral("Impossibile spostare il file %1 nel cestino: il file non è "
                                    "stato eliminato.")
                         .arg(shown);
        return false;
    }
    return true;
}

bool mayDiscard(WindowFrame& window, DataKind kind, const std::function<void()>& save)
{
    if (!hasUnsavedChanges(window.state(), kind))
        return true;
    const MessageAnswer answer = window.prompts().askSaveChanges(
        window.state().run.programName,
        QStringLiteral("Salvare le modifiche?\nI dati immessi in questa finestra non sono "
                       "ancora stati archiviati."));
    if (answer == MessageAnswer::Discard)
        return true;
    if (answer != MessageAnswer::Save)
        return false;
    save();
    return !hasUnsavedChanges(window.state(), kind);
}

bool mayClear(WindowFrame& window, DataKind kind, bool anythingToClear,
              const std::function<void()>& save)
{
    if (hasUnsavedChanges(window.state(), kind))
        return mayDiscard(window, kind, save);
    if (!anythingToClear)
        return true;
    return window.prompts().askYesNo(MessageIcon::Question, window.state().run.programName,
                                     QStringLiteral("Cancellare tutti i dati della finestra?"),
                                     MessageAnswer::No);
}

FileRequest inArchiveFolder(const WindowFrame& window, FileRequest request)
{
    if (request.directory.isEmpty())
        request.directory = window.state().run.archiveFolder;
    return request;
}

void rememberArchiveFolder(const WindowFrame& window, const QString& chosenPath)
{
    const QString folder = QFileInfo(chosenPath).absolutePath();
    if (QFileInfo(folder).isDir())
        window.state().run.archiveFolder = folder;
}

QString trashedHint(const QString& path)
{
    return QStringLiteral("il file %1 è stato spostato nel cestino (da lì si può ancora "
                          "recuperare)")
        .arg(archiveDisplayName(path));
}

QString saveArchiveFile(WindowFrame& window, const QString& knownFile, const FileRequest& request,
                        QString& dialogFileName, const QString& failureTitle,
                        const std::function<SaveResult(const QString&)>& write)
{
    QString path = knownFile;
    if (path.isEmpty()) {
        path = window.prompts().saveFile(inArchiveFolder(window, request));
        if (path.isEmpty())
            return {};
        rememberArchiveFolder(window, path);
        dialogFileName = path;
    }
    const SaveResult result = write(path);
    if (result.ok)
        return path;
    window.prompts().inform(MessageIcon::Critical, failureTitle, result.error);
    return {};
}

TrashOutcome trashArchiveFile(WindowFrame& window, const FileRequest& request,
                              const QString& failureTitle)
{
    TrashOutcome outcome;
    outcome.path = window.prompts().openFile(inArchiveFolder(window, request));
    if (outcome.path.isEmpty())
        return outcome;
    rememberArchiveFolder(window, outcome.path);
    QString error;
    outcome.trashed = moveFileToTrash(outcome.path, &error);
    if (outcome.trashed)
        window.setPasso(trashedHint(outcome.path));
    else
        window.prompts().inform(MessageIcon::Critical, failureTitle, error);
    return outcome;
}

void trashArchiveFile(WindowFrame& window, const FileRequest& request, const QString& failureTitle,
                      QString& dialogFileName, QString& currentFile)
{
    const TrashOutcome outcome = trashArchiveFile(window, request, failureTitle);
    if (outcome.path.isEmpty())
        return;
    dialogFileName = outcome.path;
    if (outcome.trashed)
        currentFile = outcome.path;
}

} // namespace urbaflux
