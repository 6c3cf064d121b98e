#pragma once

// The interactions archive ("Urbaflux-int-"), the results of a calculation in 1 + N + N²
// records: count, model label, model code and the three totals; the estimated origins and
// destinations of every area; pair numbers, pair names and interaction of every pair.

#include "archiveresult.h"

#include <projectstate.h>

#include <QByteArray>
#include <QString>
#include <vector>

namespace urbaflux {

struct InteractionAreaRecord
{
    double estimatedOrigins = 0.0;
    double estimatedDestinations = 0.0;

    friend bool operator==(const InteractionAreaRecord&, const InteractionAreaRecord&) = default;
};

struct InteractionPairRecord
{
    QString pairNumbers;
    QString pairNames;
    float interaction = 0.0f;

    friend bool operator==(const InteractionPairRecord&, const InteractionPairRecord&) = default;
};

struct InteractionRecords
{
    int count = 0;
    QString kindLabel;
    qint16 kind = 0; // 0 to 3
    double totalOrigins = 0.0;
    double totalDestinations = 0.0;
    double totalInteractions = 0.0;
    std::vector<InteractionAreaRecord> areas; // areas[i - 1] is area i
    std::vector<InteractionPairRecord> pairs; // pairs[k - 1] is pair k

    friend bool operator==(const InteractionRecords&, const InteractionRecords&) = default;
};

Parsed<InteractionRecords> parseInteractionBytes(const QByteArray& bytes,
                                                 const QString& fileNameForMessages);
Parsed<InteractionRecords> readInteractionFile(const QString& path);

// Empties pair numbers and names and sets the interaction to 0 for pairs 1 to N² of the
// current count, then copies the header, the areas and the pairs of the file. The grid refresh
// is the window's part, after the announcement of the change; the results read stand as
// those of the data until the next change.
void applyInteractions(const InteractionRecords& records, ProjectState& state);

QByteArray writeInteractionBytes(const ProjectState& state);
SaveResult writeInteractionFile(const QString& path, const ProjectState& state);

} // namespace urbaflux
