#pragma once

// The data of one elaboration. One ProjectState lives for the whole run; every window,
// archive reader and writer, the calculation and every printout read and write its fields
// directly. It is never cleared as a whole: each writer overwrites the fields it owns.
//
// Arrays are indexed from 1, as the windows and files number areas and pairs; position 0 is
// never used. A null QString is a text that was never set (the archives write it as nothing);
// an empty QString is a text the user emptied. Validations treat both as empty.

#include "appliedcalibration.h"
#include "calculationoutcome.h"
#include "fieldvalue.h"
#include "modelkind.h"
#include "titlepage.h"
#include "zones.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace urbaflux {

class StateNotifier;

inline constexpr int kMaxAreas = 180;
inline constexpr int kMaxPairs = kMaxAreas * kMaxAreas; // 32,400
inline constexpr int kLabelSlots = 40000;

struct ModelChoice
{
    qint16 kind = 0; // a ModelKind code
    QString kindLabel;
    QString originType;
    QString destinationType;
    QString interactionType;
    QString unit;
    FieldValue alpha;
    FieldValue tolerance;

    ModelKind modelKind() const { return static_cast<ModelKind>(kind); }
};

struct AreaTable
{
    int count = 0; // N
    std::vector<QString> name = std::vector<QString>(kMaxAreas + 1);
    std::vector<QString> origin = std::vector<QString>(kMaxAreas + 1);
    std::vector<QString> destination = std::vector<QString>(kMaxAreas + 1);
    double totalOrigins = 0.0;
    double totalDestinations = 0.0;
};

struct DistanceTable
{
    std::vector<QString> pairNumbers = std::vector<QString>(kLabelSlots + 1);
    std::vector<QString> pairNames = std::vector<QString>(kLabelSlots + 1);
    std::vector<QString> distance = std::vector<QString>(kMaxPairs + 1);
    std::vector<FieldValue> weight = std::vector<FieldValue>(kMaxPairs + 1);
    // The N the pairs are laid out for (pair k of i and j is (i - 1) * listedCount + j); 0
    // while no pair list was built or read, and the positions then follow count.
    int listedCount = 0;
};

struct InteractionTable
{
    // matrix(i, j), i the origin and j the destination, both 1 to 180.
    std::vector<double> matrixCells = std::vector<double>((kMaxAreas + 1) * (kMaxAreas + 1));
    std::vector<float> interaction = std::vector<float>(kMaxPairs + 1);
    double totalInteractions = 0.0;
    std::vector<double> estimatedOrigins = std::vector<double>(kMaxAreas + 1);
    std::vector<double> estimatedDestinations = std::vector<double>(kMaxAreas + 1);
    // Which data the last calculation read and how it ended (kept by calculateInteractions),
    // so that every reader of the results can tell whether they still belong to the data.
    quint64 calculatedRevision = 0; // the inputRevision the last run read
    bool calculated = false;        // a run has taken place
    bool lastRunCompleted = false;
    CalculationOutcome lastOutcome;

    double& matrix(int i, int j)
    {
        return matrixCells[static_cast<size_t>(i * (kMaxAreas + 1) + j)];
    }
    double matrix(int i, int j) const
    {
        return matrixCells[static_cast<size_t>(i * (kMaxAreas + 1) + j)];
    }
};

struct BalancingState
{
    std::vector<double> originFactor = std::vector<double>(kMaxAreas + 1);
    std::vector<double> destinationFactor = std::vector<double>(kMaxAreas + 1); // single values
    std::vector<double> previousOriginFactor = std::vector<double>(kMaxAreas + 1);
    std::vector<double> previousDestinationFactor = std::vector<double>(kMaxAreas + 1);
    std::vector<double> originSum = std::vector<double>(kMaxAreas + 1);
    std::vector<float> destinationSum = std::vector<float>(kMaxAreas + 1);
};

struct RunValues
{
    int gridTopRow = 1;
    quint32 backgroundColour = 0; // 0xAARRGGBB; 0 while no colour was chosen
    QString programName = QStringLiteral("Urbaflux");
    QString programDescription = QStringLiteral("modelli gravitazionali urbanistici");
    QString programVersion = QStringLiteral("3.04.05");
    QString programDate = QStringLiteral("25-11-1998");
    QString checkTitle;
    QString helpHint;
    QString deleteTitle;
    QString archiveFolder; // where the archive last chosen in a file dialog lies
    // What each kind of typed data was when last saved or opened (savedmarks.h); empty while
    // it never was.
    std::array<QByteArray, 4> savedDigests;
};

struct ProjectState
{
    ModelChoice model;
    AreaTable areas;
    DistanceTable distances;
    InteractionTable interactions;
    BalancingState balancing;
    RunValues run;
    ZoneSet zones; // the zones' geometry when the areas came from a GIS layer
    // The last calibration of alpha written into the field; see currentCalibration.
    std::shared_ptr<const AppliedCalibration> calibration;
    TitlePage titlePage;

    // Advanced by markInputsChanged at every write to the data; never goes back.
    quint64 inputRevision = 0;
    // The pair whose distance or weight alone the write that made revision editedPairRevision
    // changed (notePairEdit), so that the calculation can redo only what that pair feeds.
    int editedPair = 0;
    quint64 editedPairRevision = 0;
    // Announces the changes; set by the application (and test fixtures) for the one live
    // state. A copy made for another purpose (a base scenario) must set it to null.
    StateNotifier* notifier = nullptr;
};

// Every writer of the data (windows, archive readers, imports) calls this after its write, once
// per user action: the revision advances and the notifier, if any, tells the listeners.
void markInputsChanged(ProjectState& state);

// markInputsChanged for a reader that brought the results with the data (the interactions and
// complete archives): the results read stand as those of the data until the next change.
void markResultsRead(ProjectState& state);

// Before the markInputsChanged of a write that changed the distance or the weight of one pair
// and nothing else (a keystroke in the distances grid).
inline void notePairEdit(ProjectState& state, int pair)
{
    state.editedPair = pair;
    state.editedPairRevision = state.inputRevision + 1;
}

// Pair number of origin i and destination j among N areas: (i - 1) * N + j.
inline int pairIndex(int i, int j, int count)
{
    return (i - 1) * count + j;
}

// The pair label " i- j": each number in the number-to-text form, joined by a minus sign.
QString pairNumbersText(int i, int j);

// The pair list of the N areas (N clamped to 0..180) as the area window hands it on: pair
// numbers and names "origin-destination" for every pair 1 to N*N. When N differs from the N
// the pairs were laid out for, each distance and weight moves to the position of the same
// origin and destination (pairlayout.h); a pair with a new area starts with an empty distance
// and the weight the number 100, and nothing is left beyond N*N.
void buildPairList(ProjectState& state);

// Sets checkTitle, deleteTitle, unit, tolerance, interactionType, alpha and helpHint to their
// defaults. It touches neither the model kind nor any table. The unit label of the distances
// window follows unit; that part belongs to the windows.
void applyDefaults(ProjectState& state);

// The sums over positions 1 to 180 (not only 1 to N) of the areas' typed values, read with
// leadingNumber: what the area window shows under its columns and the report prints (origins
// and destinations unrounded), and the destination total the results are measured against,
// each destination rounded half up on its own.
struct AreaTotals
{
    double origins = 0.0;
    double destinations = 0.0;
    double roundedDestinations = 0.0;
};
AreaTotals areaTotals(const AreaTable& areas);

// Stores the totals in totalOrigins and totalDestinations (the rounded one); nothing changes
// while the origin of area 1 is empty.
void computeAreaTotals(ProjectState& state);

// Rounds half up: 2.5 -> 3, -2.5 -> -2.
inline double roundHalfUp(double value)
{
    return std::floor(value + 0.5);
}

} // namespace urbaflux
