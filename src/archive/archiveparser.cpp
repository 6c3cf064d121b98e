#include "archiveparser.h"

#include <modelkind.h>
#include <numbertext.h>
#include <projectstate.h>

#include <cmath>

namespace urbaflux {

ArchiveParser::ArchiveParser(const QByteArray& bytes, const QString& fileName,
                             const QString& kindDescription)
    : m_reader(decodeArchiveBytes(bytes)), m_fileName(fileName), m_kind(kindDescription)
{
}

void ArchiveParser::fail(const QString& reason)
{
    if (m_error.isEmpty())
        m_error = QStringLiteral("Il file \"%1\" non è %2 valido: %3.")
                      .arg(archiveDisplayName(m_fileName), m_kind, reason);
}

bool ArchiveParser::take(ArchiveItem& item)
{
    if (!ok())
        return false;
    if (m_reader.next(item))
        return true;
    if (m_reader.failed())
        fail(m_reader.error());
    else
        fail(QStringLiteral("termina prima dei dati annunciati"));
    return false;
}

bool ArchiveParser::numberOf(const ArchiveItem& item, const QString& what, double& out)
{
    switch (item.kind) {
    case ArchiveItem::Kind::Number:
        out = item.number;
        return true;
    case ArchiveItem::Kind::Empty:
        out = 0.0;
        return true;
    case ArchiveItem::Kind::Text: {
        NumberError error = NumberError::None;
        if (const auto value = parseStrictNumber(item.text, &error)) {
            out = *value;
            return true;
        }
        if (error == NumberError::NotFinite) {
            fail(outOfRangeReason(m_reader.line(), item.text));
            return false;
        }
        break;
    }
    }
    fail(QStringLiteral("alla riga%1 %2 non è un numero («%3»)")
             .arg(numberText(m_reader.line()), what, printableExcerpt(item.text)));
    return false;
}

bool ArchiveParser::readText(QString& out)
{
    ArchiveItem item;
    if (!take(item))
        return false;
    out = item.isEmpty() ? QString() : item.text;
    return true;
}

bool ArchiveParser::readField(FieldValue& out)
{
    ArchiveItem item;
    if (!take(item))
        return false;
    switch (item.kind) {
    case ArchiveItem::Kind::Number:
        out = FieldValue::fromNumber(item.number);
        break;
    case ArchiveItem::Kind::Text:
        out = FieldValue::fromText(item.text);
        break;
    case ArchiveItem::Kind::Empty:
        out = FieldValue();
        break;
    }
    return true;
}

bool ArchiveParser::readNumber(double& out)
{
    ArchiveItem item;
    return take(item) && numberOf(item, QStringLiteral("un valore"), out);
}

bool ArchiveParser::readSingle(float& out)
{
    ArchiveItem item;
    double value = 0.0;
    if (!take(item) || !numberOf(item, QStringLiteral("un valore"), value))
        return false;
    // Above FLT_MAX by less than half a unit still rounds to FLT_MAX, and "3.4028235E+38", the
    // shortest text of FLT_MAX, lies there; from 2^128 - 2^103 on it would become infinite.
    const double firstOverflow = std::ldexp(1.0, 128) - std::ldexp(1.0, 103);
    if (std::fabs(value) >= firstOverflow) {
        fail(outOfRangeReason(m_reader.line(), item.text));
        return false;
    }
    out = static_cast<float>(value);
    return true;
}

bool ArchiveParser::readCount(int& out)
{
    ArchiveItem item;
    double value = 0.0;
    if (!take(item) || !numberOf(item, QStringLiteral("il numero delle aree"), value))
        return false;
    if (!std::isfinite(value) || value != std::floor(value)) {
        fail(QStringLiteral("il numero delle aree (%1) non è un numero intero")
                 .arg(printableExcerpt(item.text)));
        return false;
    }
    if (value < 0) {
        fail(QStringLiteral("il numero delle aree (%1) è negativo").arg(shortestText(value)));
        return false;
    }
    if (value > kMaxAreas) {
        fail(QStringLiteral("dichiara %1 aree, più delle %2 possibili")
                 .arg(shortestText(value))
                 .arg(kMaxAreas));
        return false;
    }
    out = static_cast<int>(value);
    return true;
}

bool ArchiveParser::readKind(qint16& out, int lowest)
{
    ArchiveItem item;
    double value = 0.0;
    if (!take(item) || !numberOf(item, QStringLiteral("il codice del modello"), value))
        return false;
    if (!std::isfinite(value) || value != std::floor(value) || value < lowest || value > 3) {
        const QString written =
            item.isEmpty() ? QStringLiteral("vuoto") : printableExcerpt(item.text);
        fail(lowest == 0
                 ? QStringLiteral("il codice del modello (%1) non è 0, 1, 2 o 3").arg(written)
                 : QStringLiteral("il codice del modello (%1) non è 1, 2 o 3").arg(written));
        return false;
    }
    out = static_cast<qint16>(value);
    return true;
}

} // namespace urbaflux
