#include "titlepagearchive.h"

#include "archivefile.h"
#include "archiveparser.h"

namespace urbaflux {

namespace {

const QString& kindDescription()
{
    static const QString description = QStringLiteral("un archivio del frontespizio");
    return description;
}

} // namespace

Parsed<TitlePageRecord> parseTitlePageBytes(const QByteArray& bytes,
                                            const QString& fileNameForMessages)
{
    ArchiveParser parser(bytes, fileNameForMessages, kindDescription());
    TitlePageRecord record;
    for (QString* field : record.fields())
        if (!parser.readText(*field))
            break;
    if (!parser.ok())
        return Parsed<TitlePageRecord>::failure(parser.error());
    return Parsed<TitlePageRecord>::success(std::move(record));
}

Parsed<TitlePageRecord> readTitlePageFile(const QString& path)
{
    auto bytes = readArchiveFileBytes(path, kindDescription());
    if (!bytes.ok())
        return Parsed<TitlePageRecord>::failure(bytes.error);
    return parseTitlePageBytes(*bytes.value, path);
}

void applyTitlePage(const TitlePageRecord& record, TitlePage& page)
{
    page = record;
}

void writeTitlePageRecords(ArchiveWriter& writer, const TitlePage& page)
{
    int written = 0;
    for (const QString* field : page.fields()) {
        writer.writeText(*field);
        if (++written % 4 == 0)
            writer.endRecord();
    }
}

QByteArray writeTitlePageBytes(const TitlePage& page)
{
    ArchiveWriter writer;
    writeTitlePageRecords(writer, page);
    return writer.bytes();
}

SaveResult writeTitlePageFile(const QString& path, const TitlePage& page)
{
    return saveArchiveBytes(path, writeTitlePageBytes(page));
}

} // namespace urbaflux
