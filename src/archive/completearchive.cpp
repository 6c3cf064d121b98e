#include "completearchive.h"

#include "archivefile.h"
#include "archiveparser.h"
#include "titlepagearchive.h"

#include <algorithm>

namespace urbaflux {

namespace {

const QString& kindDescription()
{
    static const QString description = QStringLiteral("un archivio completo (tutti i dati)");
    return description;
}

bool readModelRecord(ArchiveParser& parser, ModelChoiceRecord& r)
{
    return parser.readText(r.originType) && parser.readText(r.destinationType) &&
           parser.readText(r.interactionType) && parser.readText(r.kindLabel) &&
           parser.readKind(r.kind, 1) && parser.readField(r.alpha) &&
           parser.readField(r.tolerance) && parser.readText(r.unit);
}

bool readBody(ArchiveParser& parser, CompleteRecord& r)
{
    if (!readModelRecord(parser, r.model) || !parser.readCount(r.count))
        return false;
    r.areas.resize(static_cast<size_t>(r.count));
    for (CompleteAreaRecord& a : r.areas)
        if (!(parser.readText(a.name) && parser.readText(a.origin) &&
              parser.readText(a.destination) && parser.readNumber(a.estimatedOrigins) &&
              parser.readNumber(a.estimatedDestinations)))
            return false;
    r.pairs.resize(static_cast<size_t>(r.count * r.count));
    for (CompletePairRecord& p : r.pairs)
        if (!(parser.readText(p.pairNumbers) && parser.readText(p.pairNames) &&
              parser.readText(p.distance) && parser.readField(p.weight) &&
              parser.readSingle(p.interaction)))
            return false;
    if (!(parser.readNumber(r.totalOrigins) && parser.readNumber(r.totalDestinations) &&
          parser.readNumber(r.totalInteractions)))
        return false;
    for (QString* field : r.titlePage.fields())
        if (!parser.readText(*field))
            return false;
    return true;
}

} // namespace

Parsed<CompleteRecord> parseCompleteBytes(const QByteArray& bytes,
                                          const QString& fileNameForMessages)
{
    ArchiveParser parser(bytes, fileNameForMessages, kindDescription());
    CompleteRecord record;
    if (!readBody(parser, record))
        return Parsed<CompleteRecord>::failure(parser.error());
    return Parsed<CompleteRecord>::success(std::move(record));
}

Parsed<CompleteRecord> readCompleteFile(const QString& path, ArchiveSource source)
{
    auto bytes = readArchiveFileBytes(path, kindDescription(), source);
    if (!bytes.ok())
        return Parsed<CompleteRecord>::failure(bytes.error);
    return parseCompleteBytes(*bytes.value, path);
}

void applyComplete(const CompleteRecord& record, ProjectState& state, TitlePage& titlePage)
{
    applyModelChoice(record.model, state, false);
    AreaTable& areas = state.areas;
    InteractionTable& results = state.interactions;
    DistanceTable& distances = state.distances;
    areas.count = record.count;
    for (int i = 1; i <= record.count; ++i) {
        const CompleteAreaRecord& a = record.areas[static_cast<size_t>(i - 1)];
        areas.name[i] = a.name;
        areas.origin[i] = a.origin;
        areas.destination[i] = a.destination;
        results.estimatedOrigins[i] = a.estimatedOrigins;
        results.estimatedDestinations[i] = a.estimatedDestinations;
    }
    distances.listedCount = record.count;
    const int pairs = record.count * record.count;
    for (int k = 1; k <= pairs; ++k) {
        const CompletePairRecord& p = record.pairs[static_cast<size_t>(k - 1)];
        distances.pairNumbers[k] = p.pairNumbers;
        distances.pairNames[k] = p.pairNames;
        distances.distance[k] = p.distance;
        distances.weight[k] = p.weight;
        results.interaction[k] = p.interaction;
    }
    areas.totalOrigins = record.totalOrigins;
    areas.totalDestinations = record.totalDestinations;
    results.totalInteractions = record.totalInteractions;
    titlePage = record.titlePage;
    markResultsRead(state);
}

QByteArray writeCompleteBytes(const ProjectState& state, const TitlePage& titlePage)
{
    ArchiveWriter writer;
    const ModelChoice& m = state.model;
    // Unlike the model-choice archive, alpha and tolerance keep here the form the state holds
    // them in: bare while at their defaults.
    writer.writeOptionalText(m.originType);
    writer.writeOptionalText(m.destinationType);
    writer.writeOptionalText(m.interactionType);
    writer.writeOptionalText(m.kindLabel);
    writer.writeInteger(m.kind);
    writer.writeField(m.alpha);
    writer.writeField(m.tolerance);
    writer.writeOptionalText(m.unit);
    writer.endRecord();

    const int n = std::clamp(state.areas.count, 0, kMaxAreas);
    const AreaTable& areas = state.areas;
    const InteractionTable& results = state.interactions;
    const DistanceTable& distances = state.distances;
    writer.writeInteger(n);
    writer.endRecord();
    for (int i = 1; i <= n; ++i) {
        writer.writeOptionalText(areas.name[i]);
        writer.writeOptionalText(areas.origin[i]);
        writer.writeOptionalText(areas.destination[i]);
        writer.writeNumber(results.estimatedOrigins[i]);
        writer.writeNumber(results.estimatedDestinations[i]);
        writer.endRecord();
    }
    for (int k = 1; k <= n * n; ++k) {
        writer.writeOptionalText(distances.pairNumbers[k]);
        writer.writeOptionalText(distances.pairNames[k]);
        writer.writeOptionalText(distances.distance[k]);
        writer.writeField(distances.weight[k]);
        writer.writeSingle(results.interaction[k]);
        writer.endRecord();
    }
    writer.writeNumber(areas.totalOrigins);
    writer.writeNumber(areas.totalDestinations);
    writer.writeNumber(results.totalInteractions);
    writer.endRecord();
    writeTitlePageRecords(writer, titlePage);
    return writer.bytes();
}

SaveResult writeCompleteFile(const QString& path, const ProjectState& state,
                             const TitlePage& titlePage)
{
    return saveArchiveBytes(path, writeCompleteBytes(state, titlePage));
}

} // namespace urbaflux
