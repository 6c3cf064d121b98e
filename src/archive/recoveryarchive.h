#pragma once

// The recovery copy of the elaboration: what a crash or a kill must not lose. One line that
// says what the file is and when it was written, then the complete archive exactly as "Salva
// tutto" writes it (title page included), so that restoring it is reading a complete archive.
//
//     URBAFLUX-RECUPERO 1 2026-12-10T11:05:00Z CR LF
//     <complete archive bytes>

#include "archiveresult.h"
#include "completearchive.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace urbaflux {

struct RecoveryRecord
{
    QDateTime written; // UTC, to the second
    CompleteRecord elaboration;
};

QByteArray writeRecoveryBytes(const ProjectState& state, const TitlePage& titlePage,
                              const QDateTime& written);

// The recovery copy read back; a file that is not one, or whose archive is malformed, is
// refused with a message naming it.
Parsed<RecoveryRecord> parseRecoveryBytes(const QByteArray& bytes,
                                          const QString& fileNameForMessages);

} // namespace urbaflux
