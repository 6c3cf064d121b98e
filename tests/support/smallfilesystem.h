#pragma once

// A small file system for the tests of full and read-only disks: a tmpfs of a few kilobytes
// mounted on a test's folder, in a mount namespace of the test process alone (its children
// share it; nothing outside sees it). Needs the right to mount (root, or a user namespace);
// where it is missing, mountSmallFileSystem says why and the test skips with that message.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>

namespace urbaflux::testing {

// Mounts a tmpfs of `kilobytes` on folder (read-only when asked). Empty text on success.
inline QString mountSmallFileSystem(const QString& folder, int kilobytes, bool readOnly = false)
{
    static QString namespaceProblem = [] {
        if (::unshare(CLONE_NEWNS) != 0)
            return QStringLiteral("no mount namespace here (unshare: %1)")
                .arg(QString::fromLocal8Bit(std::strerror(errno)));
        // Mounts made from now on stay in this process's namespace.
        if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return QStringLiteral("cannot make the mounts private (%1)")
                .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return QString();
    }();
    if (!namespaceProblem.isEmpty())
        return namespaceProblem;
    const QByteArray target = QFile::encodeName(folder);
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
    if (::mount("tmpfs", target.constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) !=
        0)
        return QStringLiteral("cannot mount a tmpfs (%1)")
            .arg(QString::fromLocal8Bit(std::strerror(errno)));
    if (readOnly &&
        ::mount(nullptr, target.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
        return QStringLiteral("cannot remount read-only (%1)")
            .arg(QString::fromLocal8Bit(std::strerror(errno)));
    return QString();
}

// Makes a read-write small file system read-only, keeping what it holds.
inline bool remountReadOnly(const QString& folder)
{
    return ::mount(nullptr, QFile::encodeName(folder).constData(), nullptr, MS_REMOUNT | MS_RDONLY,
                   nullptr) == 0;
}

inline void unmountSmallFileSystem(const QString& folder)
{
    ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
}

// Fills the file system holding folder until at most `leaveBytes` stay free, with a file
// named filler. Returns false when it could not write at all.
inline bool fillFileSystem(const QString& folder, qint64 leaveBytes)
{
    QFile filler(folder + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(int(leaveBytes > 0 ? leaveBytes : 4096), 'f');
    while (filler.write(block) == block.size()) {
    }
    filler.close();
    // Free what was asked for again: the last block did not fit.
    return filler.resize(std::max<qint64>(0, filler.size() - leaveBytes));
}

} // namespace urbaflux::testing
