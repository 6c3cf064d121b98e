#pragma once

// The area archive ("Urbaflux-dat-"): the count of areas, then for each area its name, origin
// and destination as typed.

#include "archiveresult.h"

#include <projectstate.h>

#include <QByteArray>
#include <QString>
#include <vector>

namespace urbaflux {

struct AreaRecord
{
    QString name;
    QString origin;
    QString destination;

    friend bool operator==(const AreaRecord&, const AreaRecord&) = default;
};

struct AreaRecords
{
    int count = 0;
    std::vector<AreaRecord> areas; // areas[i - 1] is area i; count entries

    friend bool operator==(const AreaRecords&, const AreaRecords&) = default;
};

AreaRecords areaRecordsOf(const ProjectState& state);

Parsed<AreaRecords> parseAreaBytes(const QByteArray& bytes, const QString& fileNameForMessages);
Parsed<AreaRecords> readAreaFile(const QString& path);

// Empties name, origin and destination of areas 1 to the current count, then sets count and
// the areas of the file. Areas beyond both keep what they held. Announces the change.
void applyAreas(const AreaRecords& records, ProjectState& state);

QByteArray writeAreaBytes(const ProjectState& state);
SaveResult writeAreaFile(const QString& path, const ProjectState& state);

} // namespace urbaflux
