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

#include "projectstate.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace urbaflux {

struct CalculationOutcome
{
    enum class Status
    {
        Completed,
        Stopped,
        NotConverged
    };
    enum class Reason
    {
        None,
        Empty,           // a value not entered
        NotANumber,      // a text that is not a number
        NotFinite,       // a value beyond the range of a double, infinite or not a number
        Zero,            // a distance or weight of 0
        InvalidPower,    // a negative distance or weight with a fractional alpha
        ZeroSum,         // a balancing sum of 0 (for instance every destination 0)
        Overflow,        // a value too large for its precision
        TooManyAreas,    // a count outside 0 to 180
        ProductTooLarge, // distance times weight of a pair beyond the range of a double
        ProductTooSmall, // distance times weight of a pair too small to be told from 0
        DecayTooLarge,   // (distance * weight / 100) ^ -alpha of a pair beyond the range
        DecayTooSmall,   // the same too small for the sums it enters, so that they vanish
    };
    enum class Subject
    {
        None,
        Alpha,
        Distance,
        Weight,
        Origin,
        Destination,
        OriginSum,
        DestinationSum,
        Interaction
    };

    Status status = Status::Completed;
    Reason reason = Reason::None;
    Subject subject = Subject::None;
    int pair = 0;       // the pair concerned (distance, weight, interaction), else 0
    int area = 0;       // the area concerned (origin, destination, sums), else 0
    int passes = 0;     // passes of the balancing iteration that ran
    double alpha = 0.0; // the exponent, for the decay factor reasons

    bool completed() const { return status == Status::Completed; }
};

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

} // namespace urbaflux
