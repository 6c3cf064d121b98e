#include "archivefile.h"

#include "safefile.h"

#include <numbertext.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <cerrno>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace urbaflux {

namespace {

constexpr char16_t kCtrlZ = 0x1A;
constexpr char16_t kRightQuote = 0x201D;

// Windows-1252 0x80 to 0x9F. The five bytes the code page leaves undefined map to the C1
// control of the same value, as Windows itself does, so that every byte reads back.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isValidUtf8(const char* p, qsizetype n)
{
    qsizetype i = 0;
    while (i < n) {
        const auto c = static_cast<unsigned char>(p[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        char32_t cp = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            cp = c & 0x1Fu;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            cp = c & 0x0Fu;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            cp = c & 0x07u;
        } else {
            return false;
        }
        if (n - i < length)
            return false;
        for (int k = 1; k < length; ++k) {
            const auto d = static_cast<unsigned char>(p[i + k]);
            if ((d & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (d & 0x3Fu);
        }
        if (length == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)))
            return false;
        if (length == 4 && (cp < 0x10000 || cp > 0x10FFFF))
            return false;
        i += length;
    }
    return true;
}

// The Windows-1252 byte of c, or -1.
int windows1252Byte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kWindows1252High[static_cast<size_t>(i)] == c)
            return 0x80 + i;
    return -1;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isSeparator(QChar c)
{
    return c == u',' || c == u'\r' || c == u'\n' || c == QChar(kCtrlZ);
}

// Closes a descriptor at the end of a scope.
struct Descriptor
{
    int fd = -1;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

// --- reader -------------------------------------------------------------------------------

ArchiveReader::ArchiveReader(QString text) : m_text(std::move(text)) {}

void ArchiveReader::skipBlanks()
{
    while (m_pos < m_text.size() && isBlank(m_text[m_pos]))
        ++m_pos;
}

bool ArchiveReader::atDataEnd() const
{
    return m_pos >= m_text.size() || m_text[m_pos] == QChar(kCtrlZ);
}

bool ArchiveReader::atEnd() const
{
    if (failed())
        return true;
    if (m_afterComma)
        return false;
    qsizetype p = m_pos;
    while (p < m_text.size() && isBlank(m_text[p]))
        ++p;
    return p >= m_text.size() || m_text[p] == QChar(kCtrlZ);
}

bool ArchiveReader::next(ArchiveItem& item)
{
    if (failed())
        return false;
    skipBlanks();
    m_itemLine = m_line;
    if (atDataEnd()) {
        // "a," at the very end still holds an empty last item.
        if (!m_afterComma)
            return false;
        m_afterComma = false;
        item = ArchiveItem::empty();
        return true;
    }
    m_afterComma = false;
    const bool read = m_text[m_pos] == u'"' ? readQuoted(item) : readBare(item);
    if (!read)
        return false;
    consumeSeparator();
    return true;
}

bool ArchiveReader::readQuoted(ArchiveItem& item)
{
    const qsizetype start = m_pos + 1;
    int lines = 0;
    bool lastWasCr = false;
    for (qsizetype j = start; j < m_text.size(); ++j) {
        const QChar c = m_text[j];
        if (c == u'"') {
            qsizetype k = j + 1;
            while (k < m_text.size() && isBlank(m_text[k]))
                ++k;
            if (k >= m_text.size() || isSeparator(m_text[k])) {
                item = ArchiveItem::fromText(m_text.mid(start, j - start));
                if (item.text.isNull())
                    item.text = QString(QLatin1StringView(""));
                m_line += lines;
                m_pos = k;
                return true;
            }
            // A quote inside the text, as older copies of the program wrote them: it belongs
            // to the text.
        } else if (c == u'\n') {
            if (!lastWasCr)
                ++lines;
        } else if (c == u'\r') {
            ++lines;
        }
        lastWasCr = c == u'\r';
    }
    m_error = QStringLiteral("alla riga%1 un testo tra virgolette non è chiuso")
                  .arg(numberText(m_itemLine));
    return false;
}

bool ArchiveReader::readBare(ArchiveItem& item)
{
    const qsizetype start = m_pos;
    while (m_pos < m_text.size() && !isSeparator(m_text[m_pos]))
        ++m_pos;
    qsizetype end = m_pos;
    while (end > start && isBlank(m_text[end - 1]))
        --end;
    if (end == start) {
        item = ArchiveItem::empty();
        return true;
    }
    const QString written = m_text.mid(start, end - start);
    NumberError error = NumberError::None;
    if (const auto value = parseStrictNumber(written, &error)) {
        item = ArchiveItem::fromNumber(*value, written);
        return true;
    }
    if (error == NumberError::NotFinite)
        m_error = outOfRangeReason(m_itemLine, written);
    else
        m_error = QStringLiteral("alla riga%1 il valore «%2» non è né un numero né un testo tra "
                                 "virgolette")
                      .arg(numberText(m_itemLine), printableExcerpt(written));
    return false;
}

void ArchiveReader::consumeSeparator()
{
    skipBlanks();
    if (m_pos >= m_text.size())
        return;
    const QChar c = m_text[m_pos];
    if (c == u',') {
        ++m_pos;
        m_afterComma = true;
    } else if (c == u'\r') {
        ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == u'\n')
            ++m_pos;
        ++m_line;
    } else if (c == u'\n') {
        ++m_pos;
        ++m_line;
    }
    // Ctrl-Z stays where it is: it ends the data.
}

// --- writer -------------------------------------------------------------------------------

void ArchiveWriter::separate()
{
    if (m_recordStarted)
        m_text += QLatin1Char(',');
    m_recordStarted = true;
}

void ArchiveWriter::writeText(const QString& value)
{
    separate();
    m_text += QLatin1Char('"');
    QString safe = value;
    safe.replace(QLatin1Char('"'), QChar(kRightQuote));
    m_text += safe;
    m_text += QLatin1Char('"');
}

void ArchiveWriter::writeOptionalText(const QString& value)
{
    if (value.isNull())
        writeEmpty();
    else
        writeText(value);
}

void ArchiveWriter::writeNumber(double value)
{
    separate();
    if (std::isfinite(value))
        m_text += shortestText(value);
}

void ArchiveWriter::writeSingle(float value)
{
    separate();
    if (std::isfinite(value))
        m_text += shortestText(value);
}

void ArchiveWriter::writeInteger(long long value)
{
    separate();
    m_text += QString::number(value);
}

void ArchiveWriter::writeEmpty()
{
    separate();
}

void ArchiveWriter::writeField(const FieldValue& value)
{
    switch (value.kind) {
    case FieldValue::Kind::Number:
        writeNumber(value.number);
        break;
    case FieldValue::Kind::Text:
        writeText(value.text);
        break;
    case FieldValue::Kind::Unset:
        writeEmpty();
        break;
    }
}

void ArchiveWriter::endRecord()
{
    m_text += QStringLiteral("\r\n");
    m_recordStarted = false;
}

QByteArray ArchiveWriter::bytes() const
{
    return encodeArchiveText(m_text);
}

// --- bytes --------------------------------------------------------------------------------

QString decodeArchiveBytes(const QByteArray& bytes)
{
    // A file saved as "Unicode" by a Windows editor: UTF-16 with its byte order mark. No
    // Windows-1252 text starts with those two bytes ("ÿþ", "þÿ"): the writer sees to it.
    const QByteArrayView view(bytes);
    if (view.startsWith("\xFF\xFE") || view.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(view.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                           : QStringConverter::Utf16BE);
        QString text = decoder.decode(view.sliced(2));
        // Half a surrogate pair has no UTF-8 either: it reads as U+FFFD, so that the text
        // written back reads back the same.
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
            else if (text[i].isSurrogate())
                text[i] = QChar(QChar::ReplacementCharacter);
        }
        return text;
    }
    if (isValidUtf8(bytes.constData(), bytes.size())) {
        QByteArrayView view(bytes);
        if (view.startsWith("\xEF\xBB\xBF"))
            view = view.sliced(3);
        // Only the first mark is ours to drop: QString::fromUtf8 would drop a second one,
        // which then would not survive a save.
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        return decoder.decode(view);
    }
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char b : bytes) {
        const auto c = static_cast<unsigned char>(b);
        *out++ = QChar(c >= 0x80 && c <= 0x9F ? kWindows1252High[c - 0x80u] : char16_t(c));
    }
    return text;
}

bool fitsWindows1252(const QString& text)
{
    for (const QChar c : text)
        if (windows1252Byte(c.unicode()) < 0)
            return false;
    return true;
}

QByteArray encodeArchiveText(const QString& text)
{
    if (fitsWindows1252(text)) {
        QByteArray bytes(text.size(), Qt::Uninitialized);
        char* out = bytes.data();
        bool high = false;
        for (const QChar c : text) {
            const int b = windows1252Byte(c.unicode());
            high = high || b >= 0x80;
            *out++ = static_cast<char>(b);
        }
        // Bytes that also make valid UTF-8 ("Ã©") would read back as other letters: such a
        // text goes out as UTF-8 instead, so that every file reads back as it was written.
        const QByteArrayView start(bytes);
        if ((!high || !isValidUtf8(bytes.constData(), bytes.size())) &&
            !start.startsWith("\xFF\xFE") && !start.startsWith("\xFE\xFF"))
            return bytes;
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

QString outOfRangeReason(int line, QStringView written)
{
    return QStringLiteral("alla riga%1 il valore «%2» non è un numero entro i limiti ammessi")
        .arg(numberText(line), printableExcerpt(written));
}

void ignoreFileSizeSignal()
{
    static const bool ignored = [] {
        std::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    (void)ignored;
}

Parsed<QByteArray> readArchiveFileBytes(const QString& path, const QString& kindDescription,
                                        ArchiveSource source)
{
    using Result = Parsed<QByteArray>;
    const QString name = archiveDisplayName(path);
    const QByteArray native = QFile::encodeName(path);
    // From a file dialog, opening a FIFO that nobody writes to would wait for a writer for
    // ever: O_NONBLOCK opens at once, and what is not a regular file is refused below. A batch
    // run given a FIFO waits for its writer, as any reader of a pipe does.
    const int wait = source == ArchiveSource::RegularFile ? O_NONBLOCK : 0;
    Descriptor file{::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | wait)};
    if (file.fd < 0) {
        const int error = errno;
        if (error == ENOENT)
            return Result::failure(QStringLiteral("Il file \"%1\" non esiste.").arg(name));
        return Result::failure(QStringLiteral("Impossibile aprire il file \"%1\": %2.")
                                   .arg(name, fileErrorReason(error)));
    }
    struct stat info = {};
    if (::fstat(file.fd, &info) != 0)
        return Result::failure(QStringLiteral("Impossibile leggere il file \"%1\": %2.")
                                   .arg(name, fileErrorReason(errno)));
    if (S_ISDIR(info.st_mode))
        return Result::failure(QStringLiteral("\"%1\" è una cartella, non un file.").arg(name));
    const bool regular = S_ISREG(info.st_mode);
    if (!regular && source == ArchiveSource::RegularFile)
        return Result::failure(QStringLiteral("\"%1\" non è un file ma un dispositivo o un canale "
                                              "di comunicazione: scegliere un file d'archivio.")
                                   .arg(name));
    const QString tooLarge =
        QStringLiteral("Il file \"%1\" non è %2 valido: è troppo grande (oltre %3).")
            .arg(name, kindDescription, archiveSizeLimitText());
    if (regular && info.st_size > kMaxArchiveBytes)
        return Result::failure(tooLarge);
    // A pipe is read as it comes; a size of 0 says nothing about what it holds.
    if (!regular) {
        const int flags = ::fcntl(file.fd, F_GETFL);
        if (flags != -1)
            ::fcntl(file.fd, F_SETFL, flags & ~O_NONBLOCK);
    }

    // Never more than the limit and one byte, so that /dev/zero or an endless pipe is refused
    // after a bounded read instead of filling the memory.
    constexpr qsizetype kBound = kMaxArchiveBytes + 1;
    QByteArray bytes;
    bytes.resize(regular ? std::min<qsizetype>(qsizetype(info.st_size) + 1, kBound)
                         : std::min<qsizetype>(1 << 16, kBound));
    qsizetype got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got == kBound)
                return Result::failure(tooLarge);
            bytes.resize(std::min(got * 2, kBound));
        }
        const ssize_t n =
            ::read(file.fd, bytes.data() + got, static_cast<size_t>(bytes.size() - got));
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Result::failure(QStringLiteral("Impossibile leggere il file \"%1\": %2.")
                                       .arg(name, fileErrorReason(errno)));
        }
        got += n;
    }
    bytes.resize(got);
    return Result::success(std::move(bytes));
}

QString archiveSizeLimitText()
{
    return QStringLiteral("%1 MiB").arg(kMaxArchiveBytes / (1024 * 1024));
}

SaveResult saveArchiveBytes(const QString& path, const QByteArray& bytes)
{
    // What the readers would refuse is not written: a file the program cannot open again is
    // no archive.
    if (bytes.size() > kMaxArchiveBytes)
        return {false, QStringLiteral("Impossibile salvare il file \"%1\": l'archivio supererebbe "
                                      "i %2 che il programma può rileggere. %3")
                           .arg(archiveDisplayName(path), archiveSizeLimitText(),
                                untouchedSentence(false))};
    SafeFile file(path);
    if (!file.open())
        return {false, file.failureMessage(QStringLiteral("il file"))};
    file.write(bytes);
    if (!file.commit())
        return {false, file.failureMessage(QStringLiteral("il file"))};
    return {true, QString()};
}

} // namespace urbaflux
