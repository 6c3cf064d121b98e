#pragma once

// Calibration of the distance exponent against observed interactions, and the measures of how
// well a calculated elaboration fits them.
//
// Observed interactions come from a survey as CSV: either the square matrix that the batch
// calculator's --matrix writes (1-based row and column headers), or long rows
// "origine,destinazione,valore". Pairs without a value take no part in any measure.
//
// The calibration never touches the caller's state: every trial alpha is computed with
// calculateInteractions on one scratch copy, from fresh balancing factors, as the batch
// calculator computes an archive, so the alpha it finds gives the same results when written
// back into the archive and recomputed.

#include "appliedcalibration.h"
#include "calculation.h"
#include "projectstate.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace urbaflux {

struct ObservedRead
{
    std::optional<ObservedInteractions> value;
    QString error; // Italian, naming the file and the line
    bool ok() const { return value.has_value(); }
};

// Reads observed interactions for an elaboration of `count` areas. fileName is only for
// messages.
ObservedRead parseObservedInteractions(const QByteArray& bytes, int count, const QString& fileName);
ObservedRead readObservedInteractions(const QString& path, int count);

// A matrix pasted from a spreadsheet: N rows of N values separated by tabs (or "," or ";"),
// optionally with the header row and column 1..N; otherwise any form the CSV reader takes.
// Messages name the line of the pasted text.
ObservedRead parseObservedPaste(const QString& text, int count);

// Observed values by pair number (values[k - 1] is pair k, every pair present), as read from
// another source, e.g. the interactions of an archive; the same rules as the CSV reader:
// the count must match, no value may be negative or not finite, and the total must be positive.
ObservedRead observedFromValues(const std::vector<double>& values, int count,
                                const QString& sourceName);

struct FitMeasures
{
    int pairs = 0; // pairs compared
    // Squared correlation of observed and calculated interactions.
    double rSquared = 0.0;
    // Root mean square error over the mean observed interaction.
    double srmse = 0.0;
    double absoluteErrors = 0.0;
    // Mean of ln(distance x weight / 100), weighted by the observed and by the calculated
    // interactions; NaN when a pair compared has no positive cost.
    double observedMeanLogCost = 0.0;
    double modelledMeanLogCost = 0.0;
    double observedTotal = 0.0;
    double modelledTotal = 0.0;
    // Calculated total over observed total, of the pairs compared.
    double reproducedShare = 0.0;
};

// Compares the unrounded interaction matrix of a calculated state with the observed values.
FitMeasures measureFit(const ProjectState& state, const ObservedInteractions& observed);

// The cost of pair k as the decay reads it: distance x weight / 100; NaN when the data give
// none.
double pairCost(const ProjectState& state, int k);

struct TripLengthBand
{
    double from = 0.0; // the band holds from <= cost < to; the last one also its upper end
    double to = 0.0;
    double observed = 0.0;
    double modelled = 0.0;
    int pairs = 0;
};

struct TripLengthDistribution
{
    std::vector<TripLengthBand> bands; // consecutive: each band's `to` is the next one's `from`
    int unplaced = 0; // compared pairs without a positive cost (none after a completed run)
};

// The observed and calculated interactions of the compared pairs by cost, distance x weight /
// 100, in bands of equal width: about 1 + log2(pairs) bands (Sturges), the width rounded to
// 1, 2, 2.5 or 5 times a power of ten so that the edges read as plain numbers, the first edge
// a multiple of the width. The sums over the bands are the compared totals of measureFit.
TripLengthDistribution tripLengthDistribution(const ProjectState& state,
                                              const ObservedInteractions& observed);

struct CalibrationOptions
{
    double lowest = 0.0;
    double highest = 10.0;
    double tolerance = 1e-6;
    double gridStep = 0.5; // first scan, so that the refinement starts from the right bracket
    // Called after each trial alpha with the trials done and an estimate of the whole count
    // (at least done + 1 while the search goes on); false stops the search (Status::Cancelled).
    // Runs on the thread of the calibration.
    std::function<bool(int done, int expected)> progress;
};

struct CalibrationResult
{
    enum class Status
    {
        Found,
        AtLowerEnd, // the best alpha is the lowest one searched
        AtUpperEnd, // the best alpha is the highest one searched
        NotConverged,
        Stopped,   // a calculation stopped on the data (failure says why)
        Cancelled, // the progress callback asked to stop
    };
    Status status = Status::Stopped;
    double alpha = 0.0;
    int evaluations = 0;
    // Less than the highest alpha of the options when the calculation does not converge there:
    // the search was then confined below it.
    double searchedUpTo = 0.0;
    bool capped = false;
    CalculationOutcome failure; // the run that did not complete, if any
    double failedAlpha = 0.0;

    bool usable() const
    {
        return status == Status::Found || status == Status::AtLowerEnd ||
               status == Status::AtUpperEnd;
    }
};

CalibrationResult calibrateAlpha(const ProjectState& state, const ObservedInteractions& observed,
                                 CalibrationCriterion criterion,
                                 const CalibrationOptions& options = {});

// The measures as the batch calculator and the calibration window write them: label and value
// (6 significant digits, "n.d." where there is none), in the order of the batch output.
struct FitLine
{
    QString label;
    QString value;
};
std::vector<FitLine> fitLines(const FitMeasures& fit, int count);
// The calibration window's and the report's name of a criterion.
QString criterionName(CalibrationCriterion criterion);

// The calibration written into alpha, while alpha still holds its text and the areas are those
// it was made for; null otherwise.
const AppliedCalibration* currentCalibration(const ProjectState& state);

// Italian account of a calibration that did not find an inner optimum; empty for Found.
QString describeCalibration(const CalibrationResult& result);

// The typed text alpha is written back as: 6 significant digits.
QString calibratedAlphaText(double alpha);

// How one alpha fits: the model computed with it on a copy of the state, from fresh balancing
// factors, as the batch calculator computes an archive.
struct AlphaAssessment
{
    FieldValue alpha;
    CalculationOutcome outcome;
    FitMeasures fit;                // when the outcome completed
    TripLengthDistribution lengths; // likewise
    std::vector<double> modelled;   // unrounded interactions by pair number, 1 to N * N
};
AlphaAssessment assessAlpha(const ProjectState& state, const ObservedInteractions& observed,
                            const FieldValue& alpha);

// Everything the calibration window shows: the alpha as it stands, the search, and the
// calibrated alpha (as the text it would be written back as) with its fit. The caller's state
// is only read.
struct CalibrationStudy
{
    CalibrationCriterion criterion = CalibrationCriterion::MaximumLikelihood;
    AlphaAssessment current;
    CalibrationResult result;
    QString note;      // describeCalibration
    QString alphaText; // calibratedAlphaText, when the result is usable
    std::optional<AlphaAssessment> calibrated;
};
CalibrationStudy studyCalibration(const ProjectState& state, const ObservedInteractions& observed,
                                  CalibrationCriterion criterion,
                                  const CalibrationOptions& options = {});

} // namespace urbaflux
