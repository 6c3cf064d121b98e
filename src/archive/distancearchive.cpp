#include "distancearchive.h"

#include "archivefile.h"
#include "archiveparser.h"

#include <algorithm>

namespace urbaflux {

namespace {

const QString& kindDescription()
{
    static const QString description = QStringLiteral("un archivio delle distanze");
    return description;
}

int clampedCount(const ProjectState& state)
{
    return std::clamp(state.areas.count, 0, kMaxAreas);
}

} // namespace

DistanceRecords distanceRecordsOf(const ProjectState& state)
{
    DistanceRecords records;
    records.count = clampedCount(state);
    const int pairs = records.count * records.count;
    records.pairs.reserve(static_cast<size_t>(pairs));
    const DistanceTable& d = state.distances;
    for (int k = 1; k <= pairs; ++k)
        records.pairs.push_back({d.pairNumbers[k], d.pairNames[k], d.distance[k], d.weight[k]});
    return records;
}

Parsed<DistanceRecords> parseDistanceBytes(const QByteArray& bytes,
                                           const QString& fileNameForMessages)
{
    ArchiveParser parser(bytes, fileNameForMessages, kindDescription());
    DistanceRecords records;
    if (parser.readCount(records.count)) {
        records.pairs.resize(static_cast<size_t>(records.count * records.count));
        for (PairRecord& pair : records.pairs)
            if (!(parser.readText(pair.pairNumbers) && parser.readText(pair.pairNames) &&
                  parser.readText(pair.distance) && parser.readField(pair.weight)))
                break;
    }
    if (!parser.ok())
        return Parsed<DistanceRecords>::failure(parser.error());
    return Parsed<DistanceRecords>::success(std::move(records));
}

Parsed<DistanceRecords> readDistanceFile(const QString& path)
{
    auto bytes = readArchiveFileBytes(path, kindDescription());
    if (!bytes.ok())
        return Parsed<DistanceRecords>::failure(bytes.error);
    return parseDistanceBytes(*bytes.value, path);
}

void applyDistances(const DistanceRecords& records, ProjectState& state)
{
    DistanceTable& d = state.distances;
    const int oldPairs = clampedCount(state) * clampedCount(state);
    for (int k = 1; k <= oldPairs; ++k) {
        d.pairNumbers[k] = QString();
        d.pairNames[k] = QString();
        d.distance[k] = QString();
        d.weight[k] = FieldValue();
    }
    state.areas.count = records.count;
    d.listedCount = records.count;
    const int pairs = records.count * records.count;
    for (int k = 1; k <= pairs; ++k) {
        const PairRecord& r = records.pairs[static_cast<size_t>(k - 1)];
        d.pairNumbers[k] = r.pairNumbers;
        d.pairNames[k] = r.pairNames;
        d.distance[k] = r.distance;
        d.weight[k] = r.weight;
    }
    markInputsChanged(state);
}

QByteArray writeDistanceBytes(const ProjectState& state)
{
    ArchiveWriter writer;
    const int n = clampedCount(state);
    writer.writeInteger(n);
    writer.endRecord();
    const DistanceTable& d = state.distances;
    for (int k = 1; k <= n * n; ++k) {
        writer.writeOptionalText(d.pairNumbers[k]);
        writer.writeOptionalText(d.pairNames[k]);
        writer.writeOptionalText(d.distance[k]);
        writer.writeField(d.weight[k]);
        writer.endRecord();
    }
    return writer.bytes();
}

SaveResult writeDistanceFile(const QString& path, const ProjectState& state)
{
    return saveArchiveBytes(path, writeDistanceBytes(state));
}

} // namespace urbaflux
