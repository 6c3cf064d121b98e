#include "safefile.h"

#include "archivefile.h"
#include "fileerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace urbaflux {

namespace {

// A failure injected by a test; saves may run on worker threads.
struct InjectedFailure
{
    QMutex mutex;
    qint64 afterBytes = -1;
    int error = 0;
    QString path;
};

InjectedFailure& injected()
{
    static InjectedFailure failure;
    return failure;
}

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

// Why a save to path cannot even start, or an empty text.
QString targetProblem(const QString& path, struct stat* existing, bool* exists)
{
    *exists = false;
    errno = 0;
    if (::stat(native(path).constData(), existing) == 0) {
        if (S_ISDIR(existing->st_mode))
            return QStringLiteral("è una cartella");
        if (!S_ISREG(existing->st_mode))
            return QStringLiteral("non è un file ma un dispositivo o un canale di "
                                  "comunicazione, che il salvataggio sostituirebbe");
        *exists = true;
    } else if (errno != ENOENT) {
        return writeProblem(path, errno);
    }
    const QFileInfo target(path);
    const QByteArray fileName = native(target.fileName());
    long nameMax = ::pathconf(native(target.absolutePath()).constData(), _PC_NAME_MAX);
    if (nameMax <= 0)
        nameMax = NAME_MAX;
    if (fileName.size() > nameMax)
        return QStringLiteral("il nome del file è troppo lungo");
    if (native(target.absoluteFilePath()).size() >= PATH_MAX)
        return QStringLiteral("il percorso del file è troppo lungo");
    if (!*exists && !QFileInfo(target.absolutePath()).exists())
        return writeProblem(path, ENOENT);
    // Renaming over a protected file would succeed in a folder we may write in: the
    // protection is the user's and is kept.
    if (*exists && ::access(native(path).constData(), W_OK) != 0)
        return writeProblem(path, errno);
    return QString();
}

// The file a save of path rewrites: a symbolic link stays, its target gets the new content.
QString resolvedTarget(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

} // namespace

SafeFile::SafeFile(const QString& path) : m_path(path), m_target(resolvedTarget(path)) {}

SafeFile::~SafeFile()
{
    if (!m_committed)
        discard();
}

void SafeFile::injectWriteFailure(qint64 afterBytes, int errorNumber, const QString& path)
{
    InjectedFailure& failure = injected();
    const QMutexLocker lock(&failure.mutex);
    failure.afterBytes = afterBytes;
    failure.error = errorNumber;
    failure.path = path;
}

void SafeFile::fail(const QString& reason)
{
    if (m_reason.isEmpty())
        m_reason = reason;
}

bool SafeFile::open()
{
    ignoreFileSizeSignal();
    struct stat existing = {};
    if (const QString problem = targetProblem(m_target, &existing, &m_hadPrevious);
        !problem.isEmpty()) {
        m_hadPrevious = false; // nothing was touched, whatever stood there
        fail(problem);
        return false;
    }
    const QString folder = QFileInfo(m_target).absolutePath();
    // A short name of our own: a target whose name is near the file system's limit must not
    // make the temporary name too long. The leading dot keeps it out of file dialogs.
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_temporary = QDir(folder).filePath(
            QStringLiteral(".urbaflux-%1.tmp")
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        m_fd = ::open(native(m_temporary).constData(),
                      O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        const int error = errno;
        m_temporary.clear();
        m_hadPrevious = false;
        fail(writeProblem(m_target, error));
        return false;
    }
    if (m_hadPrevious) {
        // The new file keeps what the old one had: who may read it, and its owner when the
        // system lets us.
        ::fchmod(m_fd, existing.st_mode & 07777);
        if (::fchown(m_fd, existing.st_uid, existing.st_gid) != 0) {
        }
    }
    {
        InjectedFailure& failure = injected();
        const QMutexLocker lock(&failure.mutex);
        if (failure.afterBytes >= 0 && (failure.path.isEmpty() || failure.path == m_path)) {
            m_budget = std::exchange(failure.afterBytes, -1);
            m_injectedError = failure.error;
        }
    }
    return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 SafeFile::readData(char*, qint64)
{
    return -1;
}

qint64 SafeFile::writeData(const char* data, qint64 size)
{
    if (m_fd < 0 || m_writeError != 0)
        return -1;
    qint64 allowed = size;
    if (m_budget >= 0)
        allowed = std::min(size, m_budget);
    qint64 done = 0;
    while (done < allowed) {
        const ssize_t n = ::write(m_fd, data + done, static_cast<size_t>(allowed - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            m_writeError = errno;
            break;
        }
        done += n;
    }
    if (m_budget >= 0) {
        m_budget -= done;
        if (m_writeError == 0 && done < size)
            m_writeError = m_injectedError;
    }
    if (m_writeError != 0) {
        fail(QStringLiteral("la scrittura non è riuscita (%1)").arg(fileErrorReason(m_writeError)));
        setErrorString(m_reason);
        return -1;
    }
    return done;
}

bool SafeFile::seek(qint64 position)
{
    if (m_fd < 0 || !QIODevice::seek(position))
        return false;
    return ::lseek(m_fd, position, SEEK_SET) == position;
}

qint64 SafeFile::size() const
{
    struct stat info = {};
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0)
        return 0;
    return info.st_size;
}

bool SafeFile::commit()
{
    if (m_fd < 0) {
        fail(QStringLiteral("il file non è stato aperto"));
        return false;
    }
    if (m_writeError == 0) {
        // Without the flush to the disk, a full disk or a failing device may only show at
        // the closing, or not at all, and a crash right after the rename could leave an empty
        // file in place of the old one.
        if (::fsync(m_fd) != 0)
            m_writeError = errno;
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0 && m_writeError == 0)
            m_writeError = errno;
        if (m_writeError != 0)
            fail(QStringLiteral("la scrittura non è stata completata (%1)")
                     .arg(fileErrorReason(m_writeError)));
    }
    if (m_writeError != 0) {
        discard();
        return false;
    }
    if (::rename(native(m_temporary).constData(), native(m_target).constData()) != 0) {
        fail(writeProblem(m_target, errno));
        discard();
        return false;
    }
    m_temporary.clear();
    m_committed = true;
    const int folder = ::open(native(QFileInfo(m_target).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    QIODevice::close();
    return true;
}

void SafeFile::discard(const QString& reason)
{
    if (!reason.isEmpty())
        fail(reason);
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.isEmpty()) {
        ::unlink(native(m_temporary).constData());
        m_temporary.clear();
    }
    if (isOpen())
        QIODevice::close();
}

QString SafeFile::failureMessage(const QString& what) const
{
    return QStringLiteral("Impossibile salvare %1 \"%2\": %3. %4")
        .arg(what, archiveDisplayName(m_path), m_reason, untouchedSentence(m_hadPrevious));
}

} // namespace urbaflux
