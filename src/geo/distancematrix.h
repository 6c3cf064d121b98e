#pragma once

// Distances from a matrix file, as statistics offices publish them: CSV, "," or ";" between
// fields, either square (a header row and a header column of zones) or long (one pair a row:
// origine;destinazione;valore). Zones are matched by area number, by area name or by the zone
// code a GIS import kept, whichever matches every zone of the file. Values become typed texts
// ("." as the decimal point); pairs the file does not give are listed and keep their distance.

#include <archiveresult.h>
#include <projectstate.h>

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace urbaflux {

enum class MatrixKey
{
    AreaNumber,
    AreaName,
    ZoneCode,
};

struct DistanceMatrixImport
{
    std::vector<std::pair<int, QString>> values; // pair number k and its distance text
    QStringList missingPairs;                    // "name-name" of the pairs not in the file
    MatrixKey key = MatrixKey::AreaNumber;
};

Parsed<DistanceMatrixImport> parseDistanceMatrix(const QByteArray& bytes, const QString& fileName,
                                                 const ProjectState& state);
Parsed<DistanceMatrixImport> readDistanceMatrix(const QString& path, const ProjectState& state);

// The message that lists the missing pairs (the first ones when they are many); empty when
// the file gave every pair.
QString missingPairsText(const DistanceMatrixImport& matrix);

// Writes the values and calls markInputsChanged once.
void applyDistanceMatrix(const DistanceMatrixImport& matrix, ProjectState& state);

} // namespace urbaflux
