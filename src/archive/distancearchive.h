#pragma once

// The distances archive ("Urbaflux-dis-"): the count of areas, then one record per ordered
// pair in pair order: pair numbers, pair names, distance, weight. A weight still at its
// default is the bare number 100; a weight typed or chosen is a quoted text.

#include "archiveresult.h"

#include <fieldvalue.h>
#include <projectstate.h>

#include <QByteArray>
#include <QString>
#include <vector>

namespace urbaflux {

struct PairRecord
{
    QString pairNumbers;
    QString pairNames;
    QString distance;
    FieldValue weight;

    friend bool operator==(const PairRecord&, const PairRecord&) = default;
};

struct DistanceRecords
{
    int count = 0;
    std::vector<PairRecord> pairs; // pairs[k - 1] is pair k; count * count entries

    friend bool operator==(const DistanceRecords&, const DistanceRecords&) = default;
};

DistanceRecords distanceRecordsOf(const ProjectState& state);

Parsed<DistanceRecords> parseDistanceBytes(const QByteArray& bytes,
                                           const QString& fileNameForMessages);
Parsed<DistanceRecords> readDistanceFile(const QString& path);

// Empties the four pair fields of pairs 1 to N² of the current count, then sets count and the
// pairs of the file. Names, origins, destinations and results are left alone. Announces the
// change.
void applyDistances(const DistanceRecords& records, ProjectState& state);

QByteArray writeDistanceBytes(const ProjectState& state);
SaveResult writeDistanceFile(const QString& path, const ProjectState& state);

} // namespace urbaflux
