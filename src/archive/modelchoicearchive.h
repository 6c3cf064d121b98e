#pragma once

// The model-choice archive ("Urbaflux-mod-"): one record of eight items, the fields of the
// model choice. Items 3, 6, 7 and 8 are the texts of the boxes tipoin, al, sc and unitamisura
// at the moment of saving, so they are always written quoted.

#include "archiveresult.h"

#include <fieldvalue.h>
#include <projectstate.h>

#include <QByteArray>
#include <QString>

namespace urbaflux {

struct ModelChoiceRecord
{
    QString originType;
    QString destinationType;
    QString interactionType;
    QString kindLabel;
    qint16 kind = 0; // 1 to 3 in a record that was read
    FieldValue alpha;
    FieldValue tolerance;
    QString unit;

    friend bool operator==(const ModelChoiceRecord&, const ModelChoiceRecord&) = default;
};

// The model choice as the state holds it.
ModelChoiceRecord modelChoiceRecordOf(const ProjectState& state);

Parsed<ModelChoiceRecord> parseModelChoiceBytes(const QByteArray& bytes,
                                                const QString& fileNameForMessages);
Parsed<ModelChoiceRecord> readModelChoiceFile(const QString& path);

// Copies the eight fields into the state and announces the change (markInputsChanged) unless
// the caller reads more and announces it once. Selecting the model option, the captions and
// the boxes of the window follow in the window.
void applyModelChoice(const ModelChoiceRecord& record, ProjectState& state, bool announce = true);

QByteArray writeModelChoiceBytes(const ModelChoiceRecord& record);
// Writes the record as given: a window that saves the texts of its boxes builds the record
// from them (modelChoiceRecordOf, then the box texts over interactionType, alpha, tolerance
// and unit).
SaveResult writeModelChoiceFile(const QString& path, const ModelChoiceRecord& record);
// Writes the model choice of the state; alpha and tolerance are written as the texts they
// show.
SaveResult writeModelChoiceFile(const QString& path, const ProjectState& state);

} // namespace urbaflux
