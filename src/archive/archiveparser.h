#pragma once

// Typed reading of the items of one archive file, shared by the parsers of every kind. The
// first problem is kept, with the file name and the kind of archive, and every later read
// fails, so a parser can read its whole layout and look at the outcome once at the end.

#include "archivefile.h"

#include <fieldvalue.h>

#include <QByteArray>
#include <QString>

namespace urbaflux {

class ArchiveParser
{
public:
    ArchiveParser(const QByteArray& bytes, const QString& fileName, const QString& kindDescription);

    bool ok() const { return m_error.isEmpty(); }
    // "Il file "<name>" non è <kind> valido: <reason>."
    QString error() const { return m_error; }

    // A text item as held; a bare number as written; nothing as a null text.
    bool readText(QString& out);
    // A bare number, a quoted text, or nothing (unset), as the field held it.
    bool readField(FieldValue& out);
    // A number; nothing reads as 0, and a quoted text only if it is wholly a number.
    bool readNumber(double& out);
    // A number that fits single precision.
    bool readSingle(float& out);
    // The count of areas: a whole number from 0 to 180 (nothing reads as 0).
    bool readCount(int& out);
    // A model code from lowest to 3.
    bool readKind(qint16& out, int lowest);

    void fail(const QString& reason);

private:
    bool take(ArchiveItem& item);
    bool numberOf(const ArchiveItem& item, const QString& what, double& out);

    ArchiveReader m_reader;
    QString m_fileName;
    QString m_kind;
    QString m_error;
};

} // namespace urbaflux
