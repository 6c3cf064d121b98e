#pragma once

// The complete archive ("Urbaflux-tot-"), every datum of an elaboration in 5 + N + N² records:
// the model record (as the model-choice archive, alpha and tolerance bare while at their
// defaults), the count, N area records (name, origin, destination, estimated origins and
// destinations), N² pair records (pair numbers, pair names, distance, weight, interaction),
// the totals, and the two title-page records.

#include "archivefile.h"
#include "archiveresult.h"
#include "modelchoicearchive.h"
#include "titlepage.h"

#include <fieldvalue.h>
#include <projectstate.h>

#include <QByteArray>
#include <QString>
#include <vector>

namespace urbaflux {

struct CompleteAreaRecord
{
    QString name;
    QString origin;
    QString destination;
    double estimatedOrigins = 0.0;
    double estimatedDestinations = 0.0;

    friend bool operator==(const CompleteAreaRecord&, const CompleteAreaRecord&) = default;
};

struct CompletePairRecord
{
    QString pairNumbers;
    QString pairNames;
    QString distance;
    FieldValue weight;
    float interaction = 0.0f;

    friend bool operator==(const CompletePairRecord&, const CompletePairRecord&) = default;
};

struct CompleteRecord
{
    ModelChoiceRecord model;
    int count = 0;
    std::vector<CompleteAreaRecord> areas; // areas[i - 1] is area i
    std::vector<CompletePairRecord> pairs; // pairs[k - 1] is pair k
    double totalOrigins = 0.0;
    double totalDestinations = 0.0;
    double totalInteractions = 0.0;
    TitlePage titlePage;

    friend bool operator==(const CompleteRecord&, const CompleteRecord&) = default;
};

Parsed<CompleteRecord> parseCompleteBytes(const QByteArray& bytes,
                                          const QString& fileNameForMessages);
// source: what a file dialog gives (regular files), or also pipes and devices for the batch
// calculator.
Parsed<CompleteRecord> readCompleteFile(const QString& path,
                                        ArchiveSource source = ArchiveSource::RegularFile);

// Copies every field of the record into the state and the title page. Nothing is emptied
// first: positions beyond the file's areas and pairs keep what they held. Option, captions,
// rows and grids are the windows' part, which follow the one announcement of the change. The
// results read stand as those of the data until the next change.
void applyComplete(const CompleteRecord& record, ProjectState& state, TitlePage& titlePage);

QByteArray writeCompleteBytes(const ProjectState& state, const TitlePage& titlePage);
SaveResult writeCompleteFile(const QString& path, const ProjectState& state,
                             const TitlePage& titlePage);

} // namespace urbaflux
