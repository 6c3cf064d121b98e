#include "calculation.h"

#include "inputvalue.h"

#include <QHash>

#include <bit>
#include <cmath>
#include <limits>
#include <optional>

namespace urbaflux {

using Reason = CalculationOutcome::Reason;
using Subject = CalculationOutcome::Subject;
using Status = CalculationOutcome::Status;

CalculationCache::CalculationCache()
    : m_distance(kMaxPairs + 1), m_weight(kMaxPairs + 1), m_valid(kMaxPairs + 1, 0),
      m_decay(kMaxPairs + 1), m_decayByDestination(kMaxPairs), m_matrix(kMaxPairs),
      m_interaction(kMaxPairs + 1)
{
}

// One run of the calculation: the parsed inputs and the scratch copies of every value it writes.
struct CalculationRun
{
    ProjectState& state;
    CalculationCache& cache;
    const CalculationOptions& options;
    const int n;
    const ModelKind kind;
    double alpha = 0.0;
    const double tolerance = 0.0001;

    std::vector<double> origin, destination;           // O, D by area
    std::vector<double> base;                          // dist * w / 100 by pair (literal runs)
    std::vector<double> a, b, previousA, previousB, s; // scratch balancing state
    std::vector<float> t;
    std::vector<double> estimatedOrigins, estimatedDestinations;
    double totalInteractions = 0.0;
    CalculationOutcome outcome;

    CalculationRun(ProjectState& st, CalculationCache& c, const CalculationOptions& o)
        : state(st), cache(c), options(o), n(st.areas.count), kind(st.model.modelKind())
    {
    }

    bool fail(Reason reason, Subject subject, int pair = 0, int area = 0)
    {
        outcome.status = Status::Stopped;
        outcome.reason = reason;
        outcome.subject = subject;
        outcome.pair = pair;
        outcome.area = area;
        return false;
    }

    static Reason reasonOf(NumberError error)
    {
        switch (error) {
        case NumberError::Empty:
            return Reason::Empty;
        case NumberError::NotFinite:
            return Reason::NotFinite;
        default:
            return Reason::NotANumber;
        }
    }

    static Reason reasonOf(ValueProblem problem)
    {
        switch (problem) {
        case ValueProblem::Empty:
            return Reason::Empty;
        case ValueProblem::NotFinite:
            return Reason::NotFinite;
        case ValueProblem::DecimalComma:
            return Reason::DecimalComma;
        case ValueProblem::Negative:
            return Reason::Negative;
        default:
            return Reason::NotANumber;
        }
    }

    double decayOf(int k) const
    {
        return options.literal ? std::pow(base[k], -alpha) : cache.m_decay[k];
    }

    bool readInputs();
    bool readPair(int k);
    // The run after a write of pair k alone, on the values the cache kept.
    bool updatePair(int k);
    bool updateRow(int o);
    bool updateColumn(int d);
    bool commitLine(bool row, int line, const std::vector<double>& cells);
    void remember();
    static int editedPairInSync(const ProjectState& state, const CalculationCache& cache,
                                const CalculationOptions& options);
    bool balance();
    template <bool Literal> bool runPasses();
    template <bool Literal> bool originFactorPass();
    template <bool Literal> bool destinationFactorPass();
    bool closeOriginSum(int o, double sum);
    bool closeDestinationSum(int i, float sum);
    bool sumFailed(Reason reason, Subject subject, int area);
    bool hugeDecay();
    std::vector<double> term; // the weight term of a pass, by area
    template <bool Literal> bool computeMatrix();
    bool computePairValues();
    void commit();
};

bool CalculationRun::readInputs()
{
    const FieldValue& alphaField = state.model.alpha;
    if (alphaField.isNumber()) {
        alpha = alphaField.number;
        if (!std::isfinite(alpha))
            return fail(Reason::NotFinite, Subject::Alpha);
    } else {
        NumberError error = NumberError::Empty;
        const auto value =
            alphaField.isText() ? parseStrictNumber(alphaField.text, &error) : std::nullopt;
        if (!value)
            return fail(reasonOf(error), Subject::Alpha);
        alpha = *value;
    }
    outcome.alpha = alpha;

    origin.assign(n + 1, 0.0);
    destination.assign(n + 1, 0.0);
    for (int i = 1; i <= n; ++i) {
        ValueProblem problem = ValueProblem::None;
        const auto o = readInputValue(state.areas.origin[i], &problem);
        if (!o)
            return fail(reasonOf(problem), Subject::Origin, 0, i);
        const auto d = readInputValue(state.areas.destination[i], &problem);
        if (!d)
            return fail(reasonOf(problem), Subject::Destination, 0, i);
        origin[i] = *o;
        destination[i] = *d;
    }

    const std::uint64_t alphaBits = std::bit_cast<std::uint64_t>(alpha);
    if (alphaBits != cache.m_alphaBits) {
        std::fill(cache.m_valid.begin(), cache.m_valid.end(), 0);
        cache.m_alphaBits = alphaBits;
    }
    if (options.literal)
        base.assign(n * n + 1, 0.0);
    for (int k = 1; k <= n * n; ++k) {
        if (!options.literal && cache.m_valid[k] &&
            cache.m_distance[k] == state.distances.distance[k] &&
            cache.m_weight[k] == state.distances.weight[k])
            continue;
        // The transposed table no longer matches, even if this run stops on the pair.
        cache.m_transposedFor = -1;
        if (!readPair(k))
            return false;
    }
    return true;
}

// Parses pair k and computes its decay factor, refusing what the old program's power could not
// take: a zero base, a negative base under a fractional exponent, a result out of range.
bool CalculationRun::readPair(int k)
{
    ValueProblem problem = ValueProblem::None;
    const QString& distanceText = state.distances.distance[k];
    const auto dist = readInputValue(distanceText, &problem);
    if (!dist)
        return fail(reasonOf(problem), Subject::Distance, k);
    const FieldValue& weightField = state.distances.weight[k];
    const auto weight = readInputValue(weightField, &problem);
    if (!weight)
        return fail(reasonOf(problem), Subject::Weight, k);
    const double w = *weight;
    if (*dist == 0.0)
        return fail(Reason::Zero, Subject::Distance, k);
    if (w == 0.0)
        return fail(Reason::Zero, Subject::Weight, k);
    const double product = *dist * w;
    if (!std::isfinite(product))
        return fail(Reason::ProductTooLarge, Subject::Distance, k);
    const double b = product / 100;
    if (b == 0.0)
        return fail(Reason::ProductTooSmall, Subject::Distance, k);
    const double f = std::pow(b, -alpha);
    if (std::isnan(f))
        return fail(Reason::InvalidPower, *dist < 0 ? Subject::Distance : Subject::Weight, k);
    if (std::isinf(f))
        return fail(Reason::DecayTooLarge, Subject::Distance, k);
    if (options.literal) {
        base[k] = b;
    } else {
        cache.m_distance[k] = distanceText;
        cache.m_weight[k] = weightField;
        cache.m_decay[k] = f;
        cache.m_valid[k] = 1;
    }
    return true;
}

// A balancing sum that is zero or out of range. In the doubly constrained model after the
// first pass the data were already good once, so the factors are drifting apart: the totals of
// origins and destinations differ. Otherwise, when a pair with a weight term of its own adds
// nothing because its decay factor is below the precision of the sum, that factor is the cause
// (alpha 400, a distance of 1e200), not the origins or destinations the sum would blame.
bool CalculationRun::sumFailed(Reason reason, Subject subject, int area)
{
    if (reason == Reason::Overflow && hugeDecay())
        return false;
    if (kind == ModelKind::OriginAndDestinationConstrained && outcome.passes > 1) {
        fail(reason, subject, 0, area);
        outcome.status = Status::NotConverged;
        return false;
    }
    const bool originSum = subject == Subject::OriginSum;
    const double smallest =
        originSum ? std::numeric_limits<double>::min() : double(std::numeric_limits<float>::min());
    for (int other = 1; other <= n; ++other) {
        const int k = originSum ? pairIndex(area, other, n) : pairIndex(other, area, n);
        if (term[other] != 0.0 && std::fabs(decayOf(k)) < smallest)
            return fail(Reason::DecayTooSmall, Subject::Distance, k);
    }
    return fail(reason, subject, 0, area);
}

// A decay factor beyond single precision (a distance of 1e-31 under alpha 2 gives 1e62): the
// destination factors and sums, single precision, cannot hold what it feeds them, so the sums
// overflow or the doubly constrained iteration never settles. The distance is the cause, and
// is named, rather than the sums or the totals.
bool CalculationRun::hugeDecay()
{
    if (kind == ModelKind::OriginConstrained)
        return false; // its sums and factors are double precision
    const double largest = double(std::numeric_limits<float>::max());
    for (int k = 1; k <= n * n; ++k) {
        if (std::fabs(decayOf(k)) > largest) {
            fail(Reason::DecayTooLarge, Subject::Distance, k);
            return true;
        }
    }
    return false;
}

bool CalculationRun::closeOriginSum(int o, double sum)
{
    s[o] = sum;
    if (sum == 0.0)
        return sumFailed(Reason::ZeroSum, Subject::OriginSum, o);
    a[o] = 1 / sum;
    if (!std::isfinite(a[o]) || !std::isfinite(sum))
        return sumFailed(Reason::Overflow, Subject::OriginSum, o);
    return true;
}

bool CalculationRun::closeDestinationSum(int i, float sum)
{
    if (std::isinf(sum))
        return sumFailed(Reason::Overflow, Subject::DestinationSum, i);
    t[i] = sum;
    if (sum == 0.0f)
        return sumFailed(Reason::ZeroSum, Subject::DestinationSum, i);
    const float inverse = 1.0f / sum;
    if (std::isinf(inverse))
        return sumFailed(Reason::Overflow, Subject::DestinationSum, i);
    b[i] = inverse;
    return true;
}

// S(o) = sum over d of f(o, d) * term(d), added in the order of d. The fast path runs four
// origins side by side: each sum still takes its terms one by one in the same order, so the
// bits are those of the plain loop, but the processor overlaps four chains of additions.
template <bool Literal> bool CalculationRun::originFactorPass()
{
    const bool plain = kind == ModelKind::OriginConstrained;
    term.resize(n + 1);
    for (int d = 1; d <= n; ++d)
        term[d] = plain ? destination[d] : destination[d] * b[d];
    const double* tm = term.data();
    int o = 1;
    if constexpr (!Literal) {
        for (; o + 3 <= n; o += 4) {
            const double* f0 = cache.m_decay.data() + pairIndex(o, 0, n);
            const double* f1 = f0 + n;
            const double* f2 = f1 + n;
            const double* f3 = f2 + n;
            double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
            for (int d = 1; d <= n; ++d) {
                s0 = s0 + f0[d] * tm[d];
                s1 = s1 + f1[d] * tm[d];
                s2 = s2 + f2[d] * tm[d];
                s3 = s3 + f3[d] * tm[d];
            }
            if (!closeOriginSum(o, s0) || !closeOriginSum(o + 1, s1) ||
                !closeOriginSum(o + 2, s2) || !closeOriginSum(o + 3, s3))
                return false;
        }
    }
    for (; o <= n; ++o) {
        double sum = 0.0;
        for (int d = 1; d <= n; ++d) {
            const int k = pairIndex(o, d, n);
            if constexpr (Literal)
                sum = sum + std::pow(base[k], -alpha) * tm[d];
            else
                sum = sum + cache.m_decay[k] * tm[d];
        }
        if (!closeOriginSum(o, sum))
            return false;
    }
    return true;
}

// T(i) = sum over j of f(j, i) * term(j), rounded to single precision at each addition, as the
// old program's single-precision sums were. Four destinations side by side, as above.
template <bool Literal> bool CalculationRun::destinationFactorPass()
{
    const bool plain = kind == ModelKind::DestinationConstrained;
    term.resize(n + 1);
    for (int j = 1; j <= n; ++j)
        term[j] = plain ? origin[j] : origin[j] * a[j];
    const double* tm = term.data();
    const double* byDestination = cache.m_decayByDestination.data() - 1; // [(i - 1) * n + j]
    int i = 1;
    if constexpr (!Literal) {
        for (; i + 3 <= n; i += 4) {
            const double* f0 = byDestination + (i - 1) * n;
            const double* f1 = f0 + n;
            const double* f2 = f1 + n;
            const double* f3 = f2 + n;
            float t0 = 0.0f, t1 = 0.0f, t2 = 0.0f, t3 = 0.0f;
            for (int j = 1; j <= n; ++j) {
                t0 = static_cast<float>(static_cast<double>(t0) + f0[j] * tm[j]);
                t1 = static_cast<float>(static_cast<double>(t1) + f1[j] * tm[j]);
                t2 = static_cast<float>(static_cast<double>(t2) + f2[j] * tm[j]);
                t3 = static_cast<float>(static_cast<double>(t3) + f3[j] * tm[j]);
            }
            if (!closeDestinationSum(i, t0) || !closeDestinationSum(i + 1, t1) ||
                !closeDestinationSum(i + 2, t2) || !closeDestinationSum(i + 3, t3))
                return false;
        }
    }
    for (; i <= n; ++i) {
        float sum = 0.0f;
        for (int j = 1; j <= n; ++j) {
            double f;
            if constexpr (Literal)
                f = std::pow(base[pairIndex(j, i, n)], -alpha);
            else
                f = byDestination[(i - 1) * n + j];
            sum = static_cast<float>(static_cast<double>(sum) + f * tm[j]);
        }
        if (!closeDestinationSum(i, sum))
            return false;
    }
    return true;
}

template <bool Literal> bool CalculationRun::runPasses()
{
    const bool originFactors = kind != ModelKind::DestinationConstrained;
    const bool destinationFactors = kind != ModelKind::OriginConstrained;
    const bool iterate = kind == ModelKind::OriginAndDestinationConstrained;
    for (;;) {
        if (outcome.passes >= options.maxPasses) {
            if (hugeDecay())
                return false;
            outcome.status = Status::NotConverged;
            return false;
        }
        ++outcome.passes;
        std::fill(s.begin() + 1, s.end(), 0.0);
        std::fill(t.begin() + 1, t.end(), 0.0f);

        if (originFactors && !originFactorPass<Literal>())
            return false;
        if (!destinationFactors)
            return true;
        if (!destinationFactorPass<Literal>())
            return false;
        if (!iterate)
            return true;

        // The strict test and the copy of only the vector that fired are what the program's
        // results have always been computed with; they decide how many passes a data set takes.
        bool settled = true;
        for (int o = 1; o <= n && settled; ++o) {
            if (std::fabs(b[o] - previousB[o]) > tolerance) {
                std::copy(b.begin() + 1, b.begin() + n + 1, previousB.begin() + 1);
                settled = false;
            } else if (std::fabs(a[o] - previousA[o]) > tolerance) {
                std::copy(a.begin() + 1, a.begin() + n + 1, previousA.begin() + 1);
                settled = false;
            }
        }
        if (settled)
            return true;
    }
}

template <bool Literal> bool CalculationRun::computeMatrix()
{
    double* m = cache.m_matrix.data();
    int k = 0;
    for (int o = 1; o <= n; ++o) {
        for (int d = 1; d <= n; ++d) {
            ++k;
            double f;
            if constexpr (Literal)
                f = std::pow(base[k], -alpha);
            else
                f = cache.m_decay[k];
            double& cell = m[k - 1];
            switch (kind) {
            case ModelKind::OriginAndDestinationConstrained:
                cell = a[o] * origin[o] * b[d] * destination[d] * f;
                break;
            case ModelKind::DestinationConstrained:
                cell = origin[o] * b[d] * destination[d] * f;
                break;
            case ModelKind::OriginConstrained:
                cell = a[o] * origin[o] * destination[d] * f;
                break;
            case ModelKind::NoModel:
            default:
                cell = state.interactions.matrix(o, d); // no model: the matrix stays as it was
                break;
            }
            if (!std::isfinite(cell))
                return fail(Reason::Overflow, Subject::Interaction, k);
        }
    }
    return true;
}

bool CalculationRun::computePairValues()
{
    const double* m = cache.m_matrix.data();
    float* interaction = cache.m_interaction.data();
    for (int k = 1; k <= n * n; ++k) {
        const double cell = m[k - 1];
        if (std::fabs(cell) > std::numeric_limits<float>::max())
            return fail(Reason::Overflow, Subject::Interaction, k);
        interaction[k] = static_cast<float>(cell);
    }
    totalInteractions = 0.0;
    for (int k = 1; k <= n * n; ++k) {
        interaction[k] = static_cast<float>(std::floor(static_cast<double>(interaction[k]) + 0.5));
        totalInteractions += interaction[k];
    }
    estimatedOrigins.assign(n + 1, 0.0);
    estimatedDestinations.assign(n + 1, 0.0);
    for (int o = 1; o <= n; ++o)
        for (int d = 1; d <= n; ++d)
            estimatedOrigins[o] += std::floor(m[(o - 1) * n + d - 1] + 0.5);
    for (int d = 1; d <= n; ++d)
        for (int o = 1; o <= n; ++o)
            estimatedDestinations[d] += std::floor(m[(o - 1) * n + d - 1] + 0.5);
    return true;
}

void CalculationRun::commit()
{
    BalancingState& bal = state.balancing;
    InteractionTable& it = state.interactions;
    for (int i = 1; i <= n; ++i) {
        bal.originFactor[i] = a[i];
        bal.destinationFactor[i] = b[i];
        bal.previousOriginFactor[i] = previousA[i];
        bal.previousDestinationFactor[i] = previousB[i];
        bal.originSum[i] = s[i];
        bal.destinationSum[i] = t[i];
        it.estimatedOrigins[i] = estimatedOrigins[i];
        it.estimatedDestinations[i] = estimatedDestinations[i];
    }
    for (int o = 1; o <= n; ++o)
        for (int d = 1; d <= n; ++d)
            it.matrix(o, d) = cache.m_matrix[(o - 1) * n + d - 1];
    std::copy(cache.m_interaction.begin() + 1, cache.m_interaction.begin() + n * n + 1,
              it.interaction.begin() + 1);
    it.totalInteractions = totalInteractions;
}

// Sums of integer-valued terms are exact, whatever their order, while they stay below 2^53:
// a total can then take the difference of the terms that changed instead of adding all again.
constexpr double kExactSums = 4503599627370496.0; // 2^52, a margin below 2^53

bool CalculationRun::updatePair(int k)
{
    alpha = std::bit_cast<double>(cache.m_alphaBits);
    outcome.alpha = alpha;
    origin = cache.m_origin;
    destination = cache.m_destination;
    if (!readPair(k))
        return false;
    const int o = (k - 1) / n + 1;
    const int d = (k - 1) % n + 1;
    cache.m_decayByDestination[static_cast<size_t>((d - 1) * n + o - 1)] = cache.m_decay[k];
    switch (kind) {
    case ModelKind::OriginConstrained:
        return updateRow(o);
    case ModelKind::DestinationConstrained:
        return updateColumn(d);
    default:
        if (!balance())
            return false;
        commit();
        return true;
    }
}

// Writes the new cells of one row (origin `line`) or one column (destination `line`) of the
// matrix: its interactions, its own estimated total, the totals across it and the grand total.
// Sums of whole numbers are moved by the difference while they stay exact, else added up
// again, so the results are those of a whole run.
bool CalculationRun::commitLine(bool row, int line, const std::vector<double>& cells)
{
    InteractionTable& it = state.interactions;
    const auto pairOf = [&](int x) { return row ? pairIndex(line, x, n) : pairIndex(x, line, n); };
    const auto cellOf = [&](int x) -> double& {
        return row ? it.matrix(line, x) : it.matrix(x, line);
    };
    std::vector<double>& across = row ? it.estimatedDestinations : it.estimatedOrigins;
    for (int x = 1; x <= n; ++x)
        if (std::fabs(cells[x]) > std::numeric_limits<float>::max())
            return fail(Reason::Overflow, Subject::Interaction, pairOf(x));

    double oldLine = 0.0;
    double newLine = 0.0;
    double lineEstimate = 0.0;
    bool acrossExact = true;
    for (int x = 1; x <= n; ++x) {
        const int k = pairOf(x);
        const float interaction =
            static_cast<float>(std::floor(static_cast<double>(static_cast<float>(cells[x])) + 0.5));
        oldLine += it.interaction[k];
        newLine += interaction;
        it.interaction[k] = interaction;
        const double before = std::floor(cellOf(x) + 0.5);
        const double after = std::floor(cells[x] + 0.5);
        lineEstimate += after;
        acrossExact =
            acrossExact && across[x] < kExactSums && before < kExactSums && after < kExactSums;
        across[x] = across[x] - before + after;
        cellOf(x) = cells[x];
    }
    (row ? it.estimatedOrigins : it.estimatedDestinations)[line] = lineEstimate;
    if (!acrossExact) {
        for (int x = 1; x <= n; ++x) {
            double sum = 0.0;
            for (int y = 1; y <= n; ++y)
                sum += std::floor((row ? it.matrix(y, x) : it.matrix(x, y)) + 0.5);
            across[x] = sum;
        }
    }
    const double total = it.totalInteractions - oldLine + newLine;
    if (it.totalInteractions < kExactSums && total < kExactSums) {
        it.totalInteractions = total;
    } else {
        it.totalInteractions = 0.0;
        for (int k = 1; k <= n * n; ++k)
            it.totalInteractions += it.interaction[k];
    }
    return true;
}

// Model 3: A and the row of the matrix of origin o; every other row, factor and sum is what
// the last run left, since nothing it depends on changed.
bool CalculationRun::updateRow(int o)
{
    BalancingState& bal = state.balancing;
    a.assign(bal.originFactor.begin(), bal.originFactor.begin() + n + 1);
    s.assign(bal.originSum.begin(), bal.originSum.begin() + n + 1);
    outcome.passes = 1;
    term.assign(destination.begin(), destination.end());
    const double* f = cache.m_decay.data() + pairIndex(o, 0, n);
    double sum = 0.0;
    for (int d = 1; d <= n; ++d)
        sum = sum + f[d] * term[d];
    if (!closeOriginSum(o, sum))
        return false;
    std::vector<double>& cells = estimatedOrigins; // scratch: the new row
    cells.assign(n + 1, 0.0);
    for (int d = 1; d <= n; ++d) {
        cells[d] = a[o] * origin[o] * destination[d] * f[d];
        if (!std::isfinite(cells[d]))
            return fail(Reason::Overflow, Subject::Interaction, pairIndex(o, d, n));
    }
    if (!commitLine(true, o, cells))
        return false;
    bal.originFactor[o] = a[o];
    bal.originSum[o] = s[o];
    return true;
}

// Model 2: B and the column of the matrix of destination d, as above.
bool CalculationRun::updateColumn(int d)
{
    BalancingState& bal = state.balancing;
    b.assign(bal.destinationFactor.begin(), bal.destinationFactor.begin() + n + 1);
    t.assign(bal.destinationSum.begin(), bal.destinationSum.begin() + n + 1);
    outcome.passes = 1;
    term.assign(origin.begin(), origin.end());
    const double* byDestination = cache.m_decayByDestination.data() + (d - 1) * n - 1;
    float sum = 0.0f;
    for (int j = 1; j <= n; ++j)
        sum = static_cast<float>(static_cast<double>(sum) + byDestination[j] * term[j]);
    if (!closeDestinationSum(d, sum))
        return false;
    std::vector<double>& cells = estimatedDestinations; // scratch: the new column
    cells.assign(n + 1, 0.0);
    for (int o = 1; o <= n; ++o) {
        cells[o] = origin[o] * b[d] * destination[d] * cache.m_decay[pairIndex(o, d, n)];
        if (!std::isfinite(cells[o]))
            return fail(Reason::Overflow, Subject::Interaction, pairIndex(o, d, n));
    }
    if (!commitLine(false, d, cells))
        return false;
    bal.destinationFactor[d] = b[d];
    bal.destinationSum[d] = t[d];
    return true;
}

void CalculationRun::remember()
{
    cache.m_state = &state;
    cache.m_revision = state.inputRevision;
    cache.m_kind = kind;
    cache.m_n = n;
    cache.m_origin = origin;
    cache.m_destination = destination;
}

bool CalculationRun::balance()
{
    const BalancingState& bal = state.balancing;
    a.assign(bal.originFactor.begin(), bal.originFactor.begin() + n + 1);
    b.assign(n + 1, 1.0);
    previousA.assign(bal.previousOriginFactor.begin(), bal.previousOriginFactor.begin() + n + 1);
    previousB.assign(bal.previousDestinationFactor.begin(),
                     bal.previousDestinationFactor.begin() + n + 1);
    s.assign(bal.originSum.begin(), bal.originSum.begin() + n + 1);
    t.assign(bal.destinationSum.begin(), bal.destinationSum.begin() + n + 1);

    if (!options.literal && cache.m_transposedFor != n) {
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j)
                cache.m_decayByDestination[(i - 1) * n + j - 1] = cache.m_decay[pairIndex(j, i, n)];
        cache.m_transposedFor = n;
    }
    if (options.literal)
        return runPasses<true>() && computeMatrix<true>() && computePairValues();
    return runPasses<false>() && computeMatrix<false>() && computePairValues();
}

namespace {

} // namespace

// The pair that alone changed since the last complete run made with this cache on this state,
// or 0 when the run must read everything.
int CalculationRun::editedPairInSync(const ProjectState& state, const CalculationCache& cache,
                                     const CalculationOptions& options)
{
    const InteractionTable& results = state.interactions;
    const int n = state.areas.count;
    const bool inSync =
        !options.literal && cache.m_state == &state && results.calculated &&
        results.lastRunCompleted && cache.m_revision == results.calculatedRevision &&
        state.inputRevision == cache.m_revision + 1 &&
        state.editedPairRevision == state.inputRevision &&
        cache.m_kind == state.model.modelKind() && cache.m_n == n && cache.m_transposedFor == n &&
        state.editedPair >= 1 && state.editedPair <= n * n;
    return inSync ? state.editedPair : 0;
}

namespace {

CalculationOutcome runCalculation(ProjectState& state, CalculationCache* cache,
                                  const CalculationOptions& options)
{
    state.model.tolerance = FieldValue::fromNumber(0.0001);
    CalculationOutcome outcome;
    const int n = state.areas.count;
    if (n < 0 || n > kMaxAreas) {
        outcome.status = Status::Stopped;
        outcome.reason = Reason::TooManyAreas;
        return outcome;
    }
    if (n == 0) {
        state.interactions.totalInteractions = 0.0;
        return outcome;
    }
    std::optional<CalculationCache> localCache;
    if (!cache)
        cache = &localCache.emplace();
    CalculationRun run(state, *cache, options);
    if (const int pair = CalculationRun::editedPairInSync(state, *cache, options); pair > 0) {
        if (run.updatePair(pair))
            run.remember();
        return run.outcome;
    }
    if (run.readInputs() && run.balance()) {
        run.commit();
        if (!options.literal)
            run.remember();
    }
    return run.outcome;
}

} // namespace

CalculationOutcome calculateInteractions(ProjectState& state, CalculationCache* cache,
                                         const CalculationOptions& options)
{
    const CalculationOutcome outcome = runCalculation(state, cache, options);
    InteractionTable& record = state.interactions;
    record.calculatedRevision = state.inputRevision;
    record.calculated = true;
    record.lastRunCompleted = outcome.completed();
    record.lastOutcome = outcome;
    return outcome;
}

bool resultsNeedCalculation(const ProjectState& state)
{
    if (!state.interactions.calculated)
        return state.areas.count != 0;
    return state.interactions.calculatedRevision != state.inputRevision;
}

bool resultsCurrent(const ProjectState& state)
{
    if (resultsNeedCalculation(state))
        return false;
    return !state.interactions.calculated || state.interactions.lastRunCompleted;
}

std::optional<CalculationOutcome> ensureCurrentResults(ProjectState& state, CalculationCache* cache)
{
    if (!resultsNeedCalculation(state))
        return std::nullopt;
    return calculateInteractions(state, cache);
}

namespace {

QString pairText(int k)
{
    return QStringLiteral("n.") + numberText(k);
}

QString problem(Reason reason)
{
    switch (reason) {
    case Reason::Empty:
        return valueProblemText(ValueProblem::Empty);
    case Reason::NotANumber:
        return valueProblemText(ValueProblem::NotANumber);
    case Reason::DecimalComma:
        return valueProblemText(ValueProblem::DecimalComma);
    case Reason::Negative:
        return valueProblemText(ValueProblem::Negative);
    case Reason::NotFinite:
        return valueProblemText(ValueProblem::NotFinite);
    case Reason::Zero:
        return QStringLiteral("è zero");
    case Reason::InvalidPower:
        return QStringLiteral("è negativo e con questo valore alfa la potenza non si calcola");
    case Reason::Overflow:
        return QStringLiteral("porta a valori troppo grandi per il calcolo");
    default:
        return QString();
    }
}

} // namespace

QString describeOutcome(const CalculationOutcome& outcome)
{
    if (outcome.status == Status::Completed)
        return QString();
    if (outcome.status == Status::NotConverged)
        return QStringLiteral("il calcolo non converge dopo%1 iterazioni: controllare che il "
                              "totale delle origini sia uguale al totale delle destinazioni")
            .arg(numberText(outcome.passes));
    if (outcome.reason == Reason::TooManyAreas)
        return QStringLiteral("il numero delle aree supera 180");
    const QString area = QStringLiteral("dell'area ") + pairText(outcome.area);
    switch (outcome.subject) {
    case Subject::Alpha:
        return QStringLiteral("il valore alfa ") + problem(outcome.reason);
    case Subject::Distance:
        switch (outcome.reason) {
        case Reason::ProductTooLarge:
        case Reason::ProductTooSmall:
            return QStringLiteral("il prodotto della distanza ") + pairText(outcome.pair) +
                   QStringLiteral(" per il suo peso in percentuale è troppo ") +
                   (outcome.reason == Reason::ProductTooLarge ? QStringLiteral("grande")
                                                              : QStringLiteral("piccolo")) +
                   QStringLiteral(" per il calcolo");
        case Reason::DecayTooLarge:
        case Reason::DecayTooSmall:
            return QStringLiteral("con alfa ") + displayedText(outcome.alpha) +
                   QStringLiteral(" il fattore della distanza ") + pairText(outcome.pair) +
                   QStringLiteral(", (distanza × peso / 100) elevato a -alfa, è troppo ") +
                   (outcome.reason == Reason::DecayTooLarge ? QStringLiteral("grande")
                                                            : QStringLiteral("piccolo")) +
                   QStringLiteral(" per il calcolo: controllare alfa e la distanza");
        default:
            return QStringLiteral("il valore della distanza ") + pairText(outcome.pair) +
                   QLatin1Char(' ') + problem(outcome.reason);
        }
    case Subject::Weight:
        return QStringLiteral("il valore del peso in percentuale ") + pairText(outcome.pair) +
               QLatin1Char(' ') + problem(outcome.reason);
    case Subject::Origin:
        return QStringLiteral("il valore dell'origine ") + area + QLatin1Char(' ') +
               problem(outcome.reason);
    case Subject::Destination:
        return QStringLiteral("il valore della destinazione ") + area + QLatin1Char(' ') +
               problem(outcome.reason);
    case Subject::OriginSum:
        if (outcome.reason == Reason::ZeroSum)
            return QStringLiteral("la somma delle destinazioni pesate per l'origine ") + area +
                   QStringLiteral(" è zero: controllare i valori delle destinazioni");
        return QStringLiteral("la somma delle destinazioni pesate per l'origine ") + area +
               QLatin1Char(' ') + problem(outcome.reason);
    case Subject::DestinationSum:
        if (outcome.reason == Reason::ZeroSum)
            return QStringLiteral("la somma delle origini pesate per la destinazione ") + area +
                   QStringLiteral(" è zero: controllare i valori delle origini");
        return QStringLiteral("la somma delle origini pesate per la destinazione ") + area +
               QLatin1Char(' ') + problem(outcome.reason);
    case Subject::Interaction:
        return QStringLiteral("l'interazione ") + pairText(outcome.pair) + QLatin1Char(' ') +
               problem(outcome.reason);
    case Subject::None:
        break;
    }
    return QString();
}

std::optional<CalculationOutcome> asDivergence(const CalculationOutcome& outcome, ModelKind kind)
{
    if (outcome.status == Status::NotConverged)
        return outcome;
    if (outcome.status == Status::Stopped && kind == ModelKind::OriginAndDestinationConstrained &&
        outcome.reason == Reason::Overflow &&
        (outcome.subject == Subject::OriginSum || outcome.subject == Subject::DestinationSum) &&
        outcome.passes > 1) {
        CalculationOutcome told = outcome;
        told.status = Status::NotConverged;
        return told;
    }
    return std::nullopt;
}

ResultsGap resultsGap(const ProjectState& state)
{
    ResultsGap gap;
    const int n = state.areas.count;
    if (n <= 0) {
        gap.kind = ResultsGap::Kind::NoAreas;
        return gap;
    }
    // Results of the data as they stand (computed, or read with them from an archive) leave
    // nothing missing, whatever the distances in memory.
    if (resultsCurrent(state))
        return gap;
    const InteractionTable& results = state.interactions;
    const bool stopped = results.calculated && !results.lastRunCompleted;
    const CalculationOutcome& outcome = results.lastOutcome;
    int emptyPair = 0;
    bool emptyDistance = false;
    const int pairs = qMin(n, kMaxAreas) * qMin(n, kMaxAreas);
    for (int k = 1; k <= pairs; ++k) {
        const auto at = static_cast<size_t>(k);
        if (state.distances.distance[at].isEmpty() || state.distances.weight[at].isEmpty()) {
            emptyPair = k;
            emptyDistance = state.distances.distance[at].isEmpty();
            break;
        }
    }
    // A value the calculation could not take stops it before any later empty field matters.
    const bool stoppedEarlier = stopped && outcome.status == Status::Stopped && outcome.pair > 0 &&
                                outcome.reason != Reason::Empty &&
                                (emptyPair == 0 || outcome.pair < emptyPair);
    if (emptyPair > 0 && !stoppedEarlier) {
        gap.kind = emptyDistance ? ResultsGap::Kind::EmptyDistance : ResultsGap::Kind::EmptyWeight;
        gap.pair = emptyPair;
        return gap;
    }
    if (stopped) {
        gap.kind = ResultsGap::Kind::Stopped;
        gap.outcome = outcome;
        if (const auto divergent = asDivergence(outcome, state.model.modelKind()))
            gap.outcome = *divergent;
    }
    return gap;
}

ResultsGap currentResultsGap(ProjectState& state, CalculationCache* cache)
{
    ensureCurrentResults(state, cache);
    return resultsGap(state);
}

QString describeResultsGap(const ResultsGap& gap)
{
    switch (gap.kind) {
    case ResultsGap::Kind::None:
        break;
    case ResultsGap::Kind::NoAreas:
        return QStringLiteral("mancano i dati delle aree: aprire un file archiviato o tornare "
                              "alla finestra precedente");
    case ResultsGap::Kind::EmptyDistance:
        return QStringLiteral("digitare il valore della distanza n.") + numberText(gap.pair);
    case ResultsGap::Kind::EmptyWeight:
        return QStringLiteral("scegliere il valore del peso in percentuale per il numero "
                              "d'ordine n.") +
               numberText(gap.pair);
    case ResultsGap::Kind::Stopped:
        if (gap.outcome.status == Status::NotConverged)
            return describeOutcome(gap.outcome);
        return QStringLiteral("correggere i dati: ") + describeOutcome(gap.outcome);
    }
    return QString();
}

} // namespace urbaflux
