#pragma once

// The title-page archive ("Urbaflux-fro-"): two records of four quoted texts, the eight boxes
// of the title page in order. Empty boxes are written as empty texts.

#include "archiveresult.h"
#include "titlepage.h"

#include <QByteArray>
#include <QString>

namespace urbaflux {

class ArchiveWriter;

using TitlePageRecord = TitlePage;

Parsed<TitlePageRecord> parseTitlePageBytes(const QByteArray& bytes,
                                            const QString& fileNameForMessages);
Parsed<TitlePageRecord> readTitlePageFile(const QString& path);

void applyTitlePage(const TitlePageRecord& record, TitlePage& page);

QByteArray writeTitlePageBytes(const TitlePage& page);
SaveResult writeTitlePageFile(const QString& path, const TitlePage& page);

// The two records, as the title-page archive and the end of the complete archive hold them.
void writeTitlePageRecords(ArchiveWriter& writer, const TitlePage& page);

} // namespace urbaflux
