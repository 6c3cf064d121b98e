#pragma once

// The record syntax shared by every archive kind, and the bytes on disk.
//
// A file is a sequence of items separated by commas and line ends. A text item stands between
// double quotes, exactly as held; a number item is bare, with "." as the decimal point; a value
// never set is written as nothing. Records are written one per line, CR LF, but a reader takes
// the items in order whatever the lines, so older files with LF or CR alone, a last line
// without an end, blanks around bare items, a trailing Ctrl-Z or numbers such as ".5", "-.5",
// "1E-04" and "1D-04" still open.
//
// There is no escape for a double quote inside a text, so the writer puts a closing typographic
// quote (U+201D, which Windows-1252 also has) in its place: a text can never end early and
// shift every later item of the file. The reader closes a quoted text only at a quote followed
// by a separator, so texts of old files that held a quote usually read back whole as well.
//
// Bytes: UTF-16 when the file starts with its byte order mark (an editor's "Unicode"), UTF-8
// when the file is valid UTF-8 (with or without a byte order mark), Windows-1252 otherwise. Written
// as Windows-1252 whenever every character fits, so that older copies of the program read our
// files, and as UTF-8 with a byte order mark otherwise.

#include "archiveresult.h"
#include "fileerror.h"

#include <fieldvalue.h>

#include <QByteArray>
#include <QString>

namespace urbaflux {

struct ArchiveItem
{
    enum class Kind
    {
        Text,   // a quoted text (possibly empty)
        Number, // a bare number
        Empty   // nothing between two separators: a value never set
    };

    Kind kind = Kind::Empty;
    QString text;        // Text: the text between the quotes; Number: the bare item as written
    double number = 0.0; // Number only

    bool isText() const { return kind == Kind::Text; }
    bool isNumber() const { return kind == Kind::Number; }
    bool isEmpty() const { return kind == Kind::Empty; }

    static ArchiveItem fromText(const QString& value) { return {Kind::Text, value, 0.0}; }
    static ArchiveItem fromNumber(double value, const QString& written = QString())
    {
        return {Kind::Number, written, value};
    }
    static ArchiveItem empty() { return {}; }
};

// Reads the items of decoded archive text one at a time.
class ArchiveReader
{
public:
    explicit ArchiveReader(QString text);

    // Takes the next item. Returns false at the end of the data (atEnd()) or at an item that is
    // malformed (failed(), error()); item is then left alone.
    bool next(ArchiveItem& item);

    bool atEnd() const;
    bool failed() const { return !m_error.isEmpty(); }
    // Why the last item could not be read, in Italian, without the file name
    // (for instance "alla riga 3 un testo tra virgolette non è chiuso").
    QString error() const { return m_error; }
    // Line (from 1) where the last item taken, or the failure, stands.
    int line() const { return m_itemLine; }

private:
    void skipBlanks();
    bool atDataEnd() const;
    bool readQuoted(ArchiveItem& item);
    bool readBare(ArchiveItem& item);
    void consumeSeparator();

    QString m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    int m_itemLine = 1;
    bool m_afterComma = false; // the last item ended with a comma: one more item follows
    QString m_error;
};

// Builds archive text record by record.
class ArchiveWriter
{
public:
    // A quoted text; a null text too is written as two quotes. Double quotes become U+201D.
    void writeText(const QString& value);
    // A quoted text, or nothing when the text was never set (null).
    void writeOptionalText(const QString& value);
    // Shortest text that reads back to the same double. A value that is not finite (a total of
    // origins typed as "1e400") is written as nothing, which reads back as 0: no reader takes
    // infinities, and the file has to open again.
    void writeNumber(double value);
    // Shortest text that reads back to the same single-precision value; not finite as above.
    void writeSingle(float value);
    void writeInteger(long long value);
    void writeEmpty();
    // Bare number, quoted text or nothing, as the field holds it.
    void writeField(const FieldValue& value);
    // Ends the current record with CR LF.
    void endRecord();

    const QString& text() const { return m_text; }
    QByteArray bytes() const;

private:
    void separate();

    QString m_text;
    bool m_recordStarted = false;
};

// The text of archive bytes: UTF-16 after its byte order mark (little or big endian), UTF-8
// when valid (a byte order mark is dropped), else Windows-1252 through a table of our own for
// 0x80 to 0x9F.
QString decodeArchiveBytes(const QByteArray& bytes);

// Windows-1252 when every character fits (and the bytes cannot be taken for UTF-8 or for a
// UTF-16 byte order mark), else UTF-8 with a byte order mark.
QByteArray encodeArchiveText(const QString& text);

// True when every character of text has a Windows-1252 byte.
bool fitsWindows1252(const QString& text);

// "alla riga N il valore «X» non è un numero entro i limiti ammessi": the one reason given for
// a number that no field can hold (1e400, Inf, NaN, or beyond single precision where the field
// is single), whatever its spelling.
QString outOfRangeReason(int line, QStringView written);

// What the readers accept besides regular files.
enum class ArchiveSource
{
    RegularFile, // what a file dialog should give: FIFOs and devices are refused unopened
    AnyFile      // also pipes and devices (/dev/stdin, a shell's process substitution)
};

// Reads a whole archive file, never more than kMaxArchiveBytes + 1 bytes whatever the file is.
// kindDescription completes "non è <kindDescription> valido", e.g. "un archivio delle
// distanze"; it is used for the messages.
Parsed<QByteArray> readArchiveFileBytes(const QString& path, const QString& kindDescription,
                                        ArchiveSource source = ArchiveSource::RegularFile);

// Replaces path with bytes through SafeFile: either the whole new file is there, or the old
// one is left as it was and the error says why. A target that exists and is not a regular
// file (a device, a FIFO, a folder) is refused: the rename would replace the node. A symbolic
// link is followed: its target is rewritten and the link stays.
SaveResult saveArchiveBytes(const QString& path, const QByteArray& bytes);

// A file-size limit (ulimit -f) would kill the process at the first write beyond it, before
// the save can keep the old file and say why; with the signal ignored the write fails with
// EFBIG instead. saveArchiveBytes calls it; a program that writes elsewhere calls it at start.
void ignoreFileSizeSignal();

// Largest archive accepted, read and written alike: a complete archive of 180 areas is about
// 2 MB, but texts of any length may make it larger.
inline constexpr qint64 kMaxArchiveBytes = 64 * 1024 * 1024;
// The limit as messages name it ("64 MiB").
QString archiveSizeLimitText();

} // namespace urbaflux
