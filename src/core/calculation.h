#pragma once

// The gravity calculation. calculateInteractions reads the model, alpha, the areas and the
// pairs of a ProjectState and rewrites the balancing factors and every interaction result.
//
// It works in scratch storage and commits only when the whole run succeeded: a run stopped by
// incomplete or invalid data, or one whose doubly constrained iteration reached its bound,
// changes nothing but tolerance (which every run sets to 0.0001). The outcome says how the run
// ended, so that a window can tell the user; the calculation itself shows nothing.
//
// Precision follows the program's long-standing results: origin factors, origin sums and the
// matrix are doubles; destination factors, destination sums and pair interactions are single
// precision values, rounded at every step where the old program stored them.

#include "calculationoutcome.h"
#include "projectstate.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace urbaflux {

// Italian description of how a run ended, for hints, messages and the batch tool: empty for a
// completed run, otherwise for instance "la distanza n. 7 è zero".
QString describeOutcome(const CalculationOutcome& outcome);

// Passes of the doubly constrained iteration after which a run gives up as not converged.
// At 180 areas a pass takes about 32 microseconds on the 2-core development machine, so the
// bound keeps the worst run near a third of a second (bench/calculation_bench.cpp), while data
// with equal totals settle in tens of passes.
inline constexpr int kMaxBalancingPasses = 10000;

// Memory that a caller may keep between runs to make the next run cheaper: the distance-decay
// factor of every pair, kept with the texts it came from, and the scratch storage of a run.
// A factor is reused only when the distance text, the weight and alpha are the same as when it
// was computed, so every result is bit-identical to computing everything anew.
class CalculationCache
{
public:
    CalculationCache();

private:
    friend struct CalculationRun;
    std::vector<QString> m_distance;
    std::vector<FieldValue> m_weight;
    std::vector<std::uint8_t> m_valid;
    std::vector<double> m_decay;              // by pair number
    std::vector<double> m_decayByDestination; // [(i - 1) * N + j - 1] = decay of pair (j, i)
    int m_transposedFor = -1;                 // the N the transposed table was built for
    std::uint64_t m_alphaBits = 0;
    std::vector<double> m_matrix;
    std::vector<float> m_interaction;
    // The state and revision of the last complete run made with this cache and the values of
    // the areas it read: when the data have changed since in one pair alone (notePairEdit),
    // the next run reads only that pair and, under models 2 and 3, recomputes only the row or
    // column of the matrix it feeds, with the same bits as a whole run.
    const ProjectState* m_state = nullptr;
    quint64 m_revision = 0;
    ModelKind m_kind = ModelKind::NoModel;
    int m_n = -1;
    std::vector<double> m_origin, m_destination;
};

struct CalculationOptions
{
    int maxPasses = kMaxBalancingPasses;
    // Recompute every power where it is used, as the old program did, instead of once per run
    // (for the benchmarks and the tests that compare both ways).
    bool literal = false;
};

// Runs the calculation on state. cache may be null; options default to the program's own.
CalculationOutcome calculateInteractions(ProjectState& state, CalculationCache* cache = nullptr,
                                         const CalculationOptions& options = {});

// True when a run is due before the results may be shown or used: the data changed since the
// last run (the state's inputRevision moved past the revision that run recorded), an O(1) test.
// Before any run only data with areas need one, so that results read from an archive stand until
// the data change.
bool resultsNeedCalculation(const ProjectState& state);

// Whether the interactions held are those of the data as they stand: no run is due and the
// last run completed. Otherwise they are the results of the last complete calculation.
bool resultsCurrent(const ProjectState& state);

// The one rule every reader of the results (windows, printouts, archives) goes through: runs the
// calculation first when resultsNeedCalculation, and returns that run's outcome; nullopt when
// the results already belong to the inputs.
std::optional<CalculationOutcome> ensureCurrentResults(ProjectState& state,
                                                       CalculationCache* cache = nullptr);

// The doubly constrained iteration either reaches its bound or, when the totals of origins and
// destinations differ by more than rounding, lets its factors grow pass after pass until a sum
// no longer fits its precision. Both mean that the iteration did not converge: the outcome as
// such, or nullopt when the run ended otherwise.
std::optional<CalculationOutcome> asDivergence(const CalculationOutcome& outcome, ModelKind kind);

// What keeps the results from being those of the data as they stand, in the order the
// distances window's hint tells it: no areas, the first pair without a distance or a weight,
// or the value that stopped the last run (unless an empty pair comes before it).
struct ResultsGap
{
    enum class Kind
    {
        None, // the results are those of the data
        NoAreas,
        EmptyDistance,
        EmptyWeight,
        Stopped
    };
    Kind kind = Kind::None;
    int pair = 0;               // EmptyDistance, EmptyWeight
    CalculationOutcome outcome; // Stopped (a divergence told as not converged)

    bool none() const { return kind == Kind::None; }
};

// The gap as the results stand (no run: call after ensureCurrentResults).
ResultsGap resultsGap(const ProjectState& state);
// Runs the calculation first when it is due, then tells the gap: what every printout, chart,
// report and archive with results asks before it produces anything.
ResultsGap currentResultsGap(ProjectState& state, CalculationCache* cache = nullptr);
// The hint's words: "digitare il valore della distanza n. 7", "correggere i dati: ...";
// empty for None.
QString describeResultsGap(const ResultsGap& gap);

} // namespace urbaflux
