#include "areaarchive.h"

#include "archivefile.h"
#include "archiveparser.h"

#include <algorithm>

namespace urbaflux {

namespace {

const QString& kindDescription()
{
    static const QString description =
        QStringLiteral("un archivio delle origini e delle destinazioni");
    return description;
}

int clampedCount(const ProjectState& state)
{
    return std::clamp(state.areas.count, 0, kMaxAreas);
}

} // namespace

AreaRecords areaRecordsOf(const ProjectState& state)
{
    AreaRecords records;
    records.count = clampedCount(state);
    records.areas.reserve(static_cast<size_t>(records.count));
    for (int i = 1; i <= records.count; ++i)
        records.areas.push_back(
            {state.areas.name[i], state.areas.origin[i], state.areas.destination[i]});
    return records;
}

Parsed<AreaRecords> parseAreaBytes(const QByteArray& bytes, const QString& fileNameForMessages)
{
    ArchiveParser parser(bytes, fileNameForMessages, kindDescription());
    AreaRecords records;
    if (parser.readCount(records.count)) {
        records.areas.resize(static_cast<size_t>(records.count));
        for (AreaRecord& area : records.areas)
            if (!(parser.readText(area.name) && parser.readText(area.origin) &&
                  parser.readText(area.destination)))
                break;
    }
    if (!parser.ok())
        return Parsed<AreaRecords>::failure(parser.error());
    return Parsed<AreaRecords>::success(std::move(records));
}

Parsed<AreaRecords> readAreaFile(const QString& path)
{
    auto bytes = readArchiveFileBytes(path, kindDescription());
    if (!bytes.ok())
        return Parsed<AreaRecords>::failure(bytes.error);
    return parseAreaBytes(*bytes.value, path);
}

void applyAreas(const AreaRecords& records, ProjectState& state)
{
    AreaTable& areas = state.areas;
    for (int i = 1; i <= clampedCount(state); ++i) {
        areas.name[i] = QString();
        areas.origin[i] = QString();
        areas.destination[i] = QString();
    }
    areas.count = records.count;
    for (int i = 1; i <= records.count; ++i) {
        const AreaRecord& r = records.areas[static_cast<size_t>(i - 1)];
        areas.name[i] = r.name;
        areas.origin[i] = r.origin;
        areas.destination[i] = r.destination;
    }
    markInputsChanged(state);
}

QByteArray writeAreaBytes(const ProjectState& state)
{
    ArchiveWriter writer;
    const int n = clampedCount(state);
    writer.writeInteger(n);
    writer.endRecord();
    for (int i = 1; i <= n; ++i) {
        writer.writeOptionalText(state.areas.name[i]);
        writer.writeOptionalText(state.areas.origin[i]);
        writer.writeOptionalText(state.areas.destination[i]);
        writer.endRecord();
    }
    return writer.bytes();
}

SaveResult writeAreaFile(const QString& path, const ProjectState& state)
{
    return saveArchiveBytes(path, writeAreaBytes(state));
}

} // namespace urbaflux
