#include "recoveryarchive.h"

namespace urbaflux {

namespace {

const QByteArray kMagic = QByteArrayLiteral("URBAFLUX-RECUPERO 1 ");
constexpr qsizetype kStampLength = 20; // 2026-12-10T11:05:00Z

} // namespace

QByteArray writeRecoveryBytes(const ProjectState& state, const TitlePage& titlePage,
                              const QDateTime& written)
{
    return kMagic + written.toUTC().toString(Qt::ISODate).toLatin1() + "\r\n" +
           writeCompleteBytes(state, titlePage);
}

Parsed<RecoveryRecord> parseRecoveryBytes(const QByteArray& bytes,
                                          const QString& fileNameForMessages)
{
    using Result = Parsed<RecoveryRecord>;
    const QString name = archiveDisplayName(fileNameForMessages);
    const qsizetype header = kMagic.size() + kStampLength + 2;
    if (!bytes.startsWith(kMagic) || bytes.size() < header ||
        bytes.mid(header - 2, 2) != QByteArrayView("\r\n"))
        return Result::failure(
            QStringLiteral("Il file \"%1\" non è una copia di recupero di Urbaflux.").arg(name));
    RecoveryRecord record;
    record.written = QDateTime::fromString(
        QString::fromLatin1(bytes.mid(kMagic.size(), kStampLength)), Qt::ISODate);
    if (!record.written.isValid())
        return Result::failure(
            QStringLiteral("Il file \"%1\" non è una copia di recupero di Urbaflux: la data non "
                           "è leggibile.")
                .arg(name));
    auto elaboration = parseCompleteBytes(bytes.mid(header), fileNameForMessages);
    if (!elaboration.ok())
        return Result::failure(elaboration.error);
    record.elaboration = std::move(*elaboration.value);
    return Result::success(std::move(record));
}

} // namespace urbaflux
