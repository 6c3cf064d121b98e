#include "archivecommands.h"

#include <archivefile.h>

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
        path = window.prompts().saveFile(request);
        if (path.isEmpty())
            return {};
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
    outcome.path = window.prompts().openFile(request);
    if (outcome.path.isEmpty())
        return outcome;
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
