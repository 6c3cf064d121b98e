#pragma once

// SafeFile: the one way the program replaces a file it writes (archives, documents, pictures,
// the recovery copy). Everything goes to a temporary file beside the target; every write, the
// flush to the disk and the closing are checked; only then is the temporary file renamed over
// the target, which the system does at once. So a full disk, a quota, a file-size limit or a
// crash leaves either the whole new file or the previous one byte for byte (or no file when
// there was none), never a truncated one, and the failure is said in Italian.
//
// It is an unbuffered QIODevice, so that writers that take a device (the PDF writer, the zip
// packages of DOCX and ODT, QImage) write straight into it and no error waits in a buffer. A
// write that fails makes every later write fail too; commit() then refuses, whatever the
// writer did with the return values.
//
//     SafeFile file(path);
//     if (!file.open()) return file.failureMessage(...);
//     writer(&file);
//     if (!file.commit()) return file.failureMessage(...);

#include <QIODevice>
#include <QString>

namespace urbaflux {

class SafeFile : public QIODevice
{
public:
    explicit SafeFile(const QString& path);
    ~SafeFile() override; // a file never committed is removed

    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // Creates the temporary file. False when the target cannot be written (a folder, a device,
    // a protected file, a missing folder, a name too long...): reason() says why.
    bool open();
    // Flushes, closes and renames the temporary file over the target. False when a write,
    // the flush or the rename failed: the target is then as it was before open().
    bool commit();
    // Removes the temporary file; the target stays as it was. A reason given (a writer that
    // gave up) is the failure's reason unless a write had already failed.
    void discard(const QString& reason = QString());

    // Why the save failed, without the file's name ("la scrittura non è riuscita (il disco è
    // pieno)"); empty while nothing failed.
    QString reason() const { return m_reason; }
    // True when a write failed (as opposed to a refusal at open).
    bool writeFailed() const { return m_writeError != 0; }
    // Whether a file stood at the target when the save began.
    bool hadPreviousFile() const { return m_hadPrevious; }
    // "Impossibile salvare <what> "<name>": <reason>. <what the failure left>", what being for
    // instance "il file" or "il documento".
    QString failureMessage(const QString& what) const;
    // The file actually written: the target of a symbolic link, else the path given.
    QString targetPath() const { return m_target; }

    bool isSequential() const override { return false; }
    bool seek(qint64 position) override;
    qint64 size() const override;

    // For tests: the next SafeFile opened in this process (for path only, when one is given)
    // fails every write once afterBytes bytes were written, as the system would with
    // errorNumber (ENOSPC for a full disk).
    static void injectWriteFailure(qint64 afterBytes, int errorNumber,
                                   const QString& path = QString());

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    using QIODevice::open;
    void fail(const QString& reason);

    QString m_path;
    QString m_target;
    QString m_temporary;
    QString m_reason;
    int m_fd = -1;
    int m_writeError = 0;
    qint64 m_budget = -1; // injected failure: bytes still allowed, or -1
    int m_injectedError = 0;
    bool m_hadPrevious = false;
    bool m_committed = false;
};

} // namespace urbaflux
