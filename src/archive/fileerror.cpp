#include "fileerror.h"

#include <numbertext.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <limits>
#include <unistd.h>

namespace urbaflux {

QString fileErrorReason(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
        return QStringLiteral("il disco è pieno");
    case EDQUOT:
        return QStringLiteral("lo spazio concesso all'utente sul disco è esaurito");
    case EFBIG:
        return QStringLiteral("il file supera la dimensione massima consentita");
    case EIO:
        return QStringLiteral("errore del dispositivo durante la lettura o la scrittura");
    case EROFS:
        return QStringLiteral("il disco è in sola lettura");
    case EACCES:
    case EPERM:
        return QStringLiteral("permesso negato");
    case ENAMETOOLONG:
        return QStringLiteral("il nome del file è troppo lungo");
    case ENOENT:
        return QStringLiteral("il file o la cartella non esiste");
    case ENOTDIR:
        return QStringLiteral("una parte del percorso non è una cartella");
    case EISDIR:
        return QStringLiteral("è una cartella");
    case EBADF:
        return QStringLiteral("il file non è aperto in scrittura");
    case EPIPE:
        return QStringLiteral("il programma che riceveva i dati ha chiuso il canale");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("il file è in uso");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("troppi file aperti");
    case ENOMEM:
        return QStringLiteral("memoria insufficiente");
    case ELOOP:
        return QStringLiteral("troppi collegamenti simbolici nel percorso");
    case 0:
        return QStringLiteral("errore non precisato");
    default:
        return QStringLiteral("errore del sistema n.%1 (%2)")
            .arg(numberText(errorNumber), QString::fromLocal8Bit(std::strerror(errorNumber)));
    }
}

QString writeProblem(const QString& path, int errorNumber)
{
    const QFileInfo target(path);
    const QString folderPath = target.absolutePath();
    const QFileInfo folder(folderPath);
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR:
        if (!folder.exists())
            return QStringLiteral("la cartella \"%1\" non esiste")
                .arg(archiveDisplayName(folderPath));
        if (!folder.isDir())
            return QStringLiteral("\"%1\" non è una cartella").arg(archiveDisplayName(folderPath));
        break;
    case EACCES:
    case EPERM:
        if (target.exists() && ::access(QFile::encodeName(path).constData(), W_OK) != 0 &&
            errno == EACCES)
            return QStringLiteral("il file è protetto dalla scrittura");
        return QStringLiteral("non si ha il permesso di scrivere nella cartella \"%1\"")
            .arg(archiveDisplayName(folderPath));
    default:
        break;
    }
    return fileErrorReason(errorNumber);
}

QString untouchedSentence(bool previousFileExisted)
{
    return previousFileExisted ? QStringLiteral("Il file precedente resta invariato.")
                               : QStringLiteral("Nessun file è stato modificato.");
}

QString printableExcerpt(QStringView text, qsizetype maxCharacters)
{
    QString shown;
    qsizetype characters = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (characters == maxCharacters)
            return shown + QStringLiteral("…");
        char32_t c = text[i].unicode();
        qsizetype units = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
            units = 2;
        }
        if (QChar::isPrint(c) || c == u' ')
            shown += text.sliced(i, units);
        else
            shown += QChar(0xFFFD);
        i += units - 1;
        ++characters;
    }
    return shown;
}

QString archiveDisplayName(const QString& path)
{
    return printableExcerpt(QDir::toNativeSeparators(path), std::numeric_limits<qsizetype>::max());
}

} // namespace urbaflux
