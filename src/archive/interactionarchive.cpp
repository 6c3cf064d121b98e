#include "interactionarchive.h"

#include "archivefile.h"
#include "archiveparser.h"

#include <algorithm>

namespace urbaflux {

namespace {

const QString& kindDescription()
{
    static const QString description = QStringLiteral("un archivio delle interazioni");
    return description;
}

int clampedCount(const ProjectState& state)
{
    return std::clamp(state.areas.count, 0, kMaxAreas);
}

bool readBody(ArchiveParser& parser, InteractionRecords& r)
{
    // A results file is written after a calculation, whose model may still be none (0).
    if (!(parser.readCount(r.count) && parser.readText(r.kindLabel) && parser.readKind(r.kind, 0) &&
          parser.readNumber(r.totalOrigins) && parser.readNumber(r.totalDestinations) &&
          parser.readNumber(r.totalInteractions)))
        return false;
    r.areas.resize(static_cast<size_t>(r.count));
    for (InteractionAreaRecord& a : r.areas)
        if (!(parser.readNumber(a.estimatedOrigins) && parser.readNumber(a.estimatedDestinations)))
            return false;
    r.pairs.resize(static_cast<size_t>(r.count * r.count));
    for (InteractionPairRecord& p : r.pairs)
        if (!(parser.readText(p.pairNumbers) && parser.readText(p.pairNames) &&
              parser.readSingle(p.interaction)))
            return false;
    return true;
}

} // namespace

Parsed<InteractionRecords> parseInteractionBytes(const QByteArray& bytes,
                                                 const QString& fileNameForMessages)
{
    ArchiveParser parser(bytes, fileNameForMessages, kindDescription());
    InteractionRecords records;
    if (!readBody(parser, records))
        return Parsed<InteractionRecords>::failure(parser.error());
    return Parsed<InteractionRecords>::success(std::move(records));
}

Parsed<InteractionRecords> readInteractionFile(const QString& path)
{
    auto bytes = readArchiveFileBytes(path, kindDescription());
    if (!bytes.ok())
        return Parsed<InteractionRecords>::failure(bytes.error);
    return parseInteractionBytes(*bytes.value, path);
}

void applyInteractions(const InteractionRecords& records, ProjectState& state)
{
    DistanceTable& distances = state.distances;
    InteractionTable& results = state.interactions;
    const int oldPairs = clampedCount(state) * clampedCount(state);
    for (int k = 1; k <= oldPairs; ++k) {
        distances.pairNumbers[k] = QString();
        distances.pairNames[k] = QString();
        results.interaction[k] = 0.0f;
    }
    state.areas.count = records.count;
    distances.listedCount = records.count;
    state.model.kindLabel = records.kindLabel;
    state.model.kind = records.kind;
    state.areas.totalOrigins = records.totalOrigins;
    state.areas.totalDestinations = records.totalDestinations;
    results.totalInteractions = records.totalInteractions;
    for (int i = 1; i <= records.count; ++i) {
        const InteractionAreaRecord& a = records.areas[static_cast<size_t>(i - 1)];
        results.estimatedOrigins[i] = a.estimatedOrigins;
        results.estimatedDestinations[i] = a.estimatedDestinations;
    }
    const int pairs = records.count * records.count;
    for (int k = 1; k <= pairs; ++k) {
        const InteractionPairRecord& p = records.pairs[static_cast<size_t>(k - 1)];
        distances.pairNumbers[k] = p.pairNumbers;
        distances.pairNames[k] = p.pairNames;
        results.interaction[k] = p.interaction;
    }
    markResultsRead(state);
}

QByteArray writeInteractionBytes(const ProjectState& state)
{
    ArchiveWriter writer;
    const int n = clampedCount(state);
    const InteractionTable& results = state.interactions;
    writer.writeInteger(n);
    writer.writeOptionalText(state.model.kindLabel);
    writer.writeInteger(state.model.kind);
    writer.writeNumber(state.areas.totalOrigins);
    writer.writeNumber(state.areas.totalDestinations);
    writer.writeNumber(results.totalInteractions);
    writer.endRecord();
    for (int i = 1; i <= n; ++i) {
        writer.writeNumber(results.estimatedOrigins[i]);
        writer.writeNumber(results.estimatedDestinations[i]);
        writer.endRecord();
    }
    for (int k = 1; k <= n * n; ++k) {
        writer.writeOptionalText(state.distances.pairNumbers[k]);
        writer.writeOptionalText(state.distances.pairNames[k]);
        writer.writeSingle(results.interaction[k]);
        writer.endRecord();
    }
    return writer.bytes();
}

SaveResult writeInteractionFile(const QString& path, const ProjectState& state)
{
    return saveArchiveBytes(path, writeInteractionBytes(state));
}

} // namespace urbaflux
