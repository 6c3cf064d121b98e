#include "modelchoicearchive.h"

#include "archivefile.h"
#include "archiveparser.h"

namespace urbaflux {

namespace {

const QString& kindDescription()
{
    static const QString description = QStringLiteral("un archivio della scelta del modello");
    return description;
}

} // namespace

ModelChoiceRecord modelChoiceRecordOf(const ProjectState& state)
{
    const ModelChoice& m = state.model;
    return {m.originType, m.destinationType, m.interactionType, m.kindLabel,
            m.kind,       m.alpha,           m.tolerance,       m.unit};
}

Parsed<ModelChoiceRecord> parseModelChoiceBytes(const QByteArray& bytes,
                                                const QString& fileNameForMessages)
{
    ArchiveParser parser(bytes, fileNameForMessages, kindDescription());
    ModelChoiceRecord r;
    (void)(parser.readText(r.originType) && parser.readText(r.destinationType) &&
           parser.readText(r.interactionType) && parser.readText(r.kindLabel) &&
           parser.readKind(r.kind, 1) && parser.readField(r.alpha) &&
           parser.readField(r.tolerance) && parser.readText(r.unit));
    if (!parser.ok())
        return Parsed<ModelChoiceRecord>::failure(parser.error());
    return Parsed<ModelChoiceRecord>::success(std::move(r));
}

Parsed<ModelChoiceRecord> readModelChoiceFile(const QString& path)
{
    auto bytes = readArchiveFileBytes(path, kindDescription());
    if (!bytes.ok())
        return Parsed<ModelChoiceRecord>::failure(bytes.error);
    return parseModelChoiceBytes(*bytes.value, path);
}

void applyModelChoice(const ModelChoiceRecord& record, ProjectState& state, bool announce)
{
    ModelChoice& m = state.model;
    m.originType = record.originType;
    m.destinationType = record.destinationType;
    m.interactionType = record.interactionType;
    m.kindLabel = record.kindLabel;
    m.kind = record.kind;
    m.alpha = record.alpha;
    m.tolerance = record.tolerance;
    m.unit = record.unit;
    if (announce)
        markInputsChanged(state);
}

QByteArray writeModelChoiceBytes(const ModelChoiceRecord& record)
{
    // Items 3, 6, 7 and 8 come from the boxes of the window, which always hold a text.
    ArchiveWriter writer;
    writer.writeOptionalText(record.originType);
    writer.writeOptionalText(record.destinationType);
    writer.writeText(record.interactionType);
    writer.writeOptionalText(record.kindLabel);
    writer.writeInteger(record.kind);
    writer.writeText(record.alpha.displayText());
    writer.writeText(record.tolerance.displayText());
    writer.writeText(record.unit);
    writer.endRecord();
    return writer.bytes();
}

SaveResult writeModelChoiceFile(const QString& path, const ModelChoiceRecord& record)
{
    return saveArchiveBytes(path, writeModelChoiceBytes(record));
}

SaveResult writeModelChoiceFile(const QString& path, const ProjectState& state)
{
    return writeModelChoiceFile(path, modelChoiceRecordOf(state));
}

} // namespace urbaflux
