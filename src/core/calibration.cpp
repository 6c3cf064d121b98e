#include "calibration.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace urbaflux {

namespace {

constexpr qint64 kMaxObservedBytes = 64LL * 1024 * 1024;

// A short printable excerpt of a cell, so that a binary file cannot flood the message.
QString excerpt(const QString& cell)
{
    QString out;
    for (const QChar c : cell.left(24))
        out += c.isPrint() ? c : QChar(u'?');
    if (cell.size() > 24)
        out += QStringLiteral("...");
    return out;
}

class ObservedParser
{
public:
    // subject opens the messages: "Il file osservate.csv", "Il testo incollato".
    ObservedParser(int count, const QString& subject, int lineShift = 0)
        : m_n(count), m_subject(subject), m_lineShift(lineShift)
    {
        m_result.count = count;
        m_result.value.assign(size_t(count) * size_t(count) + 1, 0.0);
        m_result.present.assign(size_t(count) * size_t(count) + 1, 0);
    }

    ObservedRead parse(const QByteArray& bytes)
    {
        if (m_n < 1)
            return fail(0, QStringLiteral("l'archivio non ha aree da confrontare"));
        // Spreadsheets save CSV with a byte order mark, which would hide the first row's number.
        const QByteArray bom("\xEF\xBB\xBF");
        const QList<QByteArray> rawLines =
            (bytes.startsWith(bom) ? bytes.mid(bom.size()) : bytes).split('\n');
        struct Line
        {
            int number;
            QStringList cells;
        };
        std::vector<Line> lines;
        QChar separator = u',';
        bool separatorChosen = false;
        for (qsizetype i = 0; i < rawLines.size(); ++i) {
            QByteArray raw = rawLines[i];
            if (raw.endsWith('\r'))
                raw.chop(1);
            const QString text = QString::fromLatin1(raw);
            if (text.trimmed().isEmpty())
                continue;
            if (!separatorChosen) {
                // A paste from a spreadsheet comes with tabs.
                separator = text.contains(u'\t')  ? QChar(u'\t')
                            : text.contains(u';') ? QChar(u';')
                                                  : QChar(u',');
                separatorChosen = true;
            }
            QStringList cells = text.split(separator);
            for (QString& cell : cells)
                cell = cell.trimmed();
            lines.push_back({int(i + 1), cells});
        }
        if (lines.empty())
            return fail(0, QStringLiteral("il file è vuoto"));

        bool ok = true;
        if (isMatrixHeader(lines.front().cells)) {
            if (lines.front().cells.size() != m_n + 1)
                return fail(lines.front().number,
                            QStringLiteral("la matrice ha %1 colonne, l'archivio %2 aree")
                                .arg(lines.front().cells.size() - 1)
                                .arg(m_n));
            if (lines.size() - 1 != size_t(m_n))
                return fail(lines.back().number,
                            QStringLiteral("la matrice ha %1 righe di dati, l'archivio %2 aree")
                                .arg(lines.size() - 1)
                                .arg(m_n));
            for (size_t r = 1; r < lines.size() && ok; ++r)
                ok = matrixRow(lines[r].number, int(r), lines[r].cells);
        } else {
            size_t first = 0;
            if (!isNumber(lines.front().cells.value(0)))
                first = 1; // a header line
            for (size_t r = first; r < lines.size() && ok; ++r)
                ok = longRow(lines[r].number, lines[r].cells);
        }
        if (!ok)
            return m_read;
        if (m_result.pairs == 0)
            return fail(0, QStringLiteral("nessuna coppia ha un valore osservato"));
        double total = 0.0;
        for (size_t k = 1; k < m_result.value.size(); ++k)
            total += m_result.value[k];
        if (total <= 0.0)
            return fail(0, QStringLiteral("il totale delle interazioni osservate è zero"));
        m_read.value = std::move(m_result);
        return m_read;
    }

private:
    int m_n;
    QString m_subject;
    int m_lineShift;
    ObservedInteractions m_result;
    ObservedRead m_read;

    ObservedRead fail(int line, const QString& problem)
    {
        m_read.value.reset();
        m_read.error = line + m_lineShift > 0
                           ? QStringLiteral("%1, riga %2: %3.")
                                 .arg(m_subject, QString::number(line + m_lineShift), problem)
                           : QStringLiteral("%1: %2.").arg(m_subject, problem);
        return m_read;
    }
    bool failed(int line, const QString& problem)
    {
        fail(line, problem);
        return false;
    }

    static bool isNumber(const QString& cell) { return parseStrictNumber(cell).has_value(); }

    // The header the batch calculator writes: an empty first cell (or a label), then 1 to N.
    bool isMatrixHeader(const QStringList& cells) const
    {
        if (cells.size() < 2 || isNumber(cells[0]))
            return false;
        for (qsizetype j = 1; j < cells.size(); ++j)
            if (cells[j] != QString::number(j))
                return false;
        return true;
    }

    // Reads one observed value into pair k; an empty cell leaves the pair out.
    bool value(int line, int k, const QString& cell)
    {
        if (cell.isEmpty())
            return true;
        NumberError error = NumberError::None;
        const auto v = parseStrictNumber(cell, &error);
        if (!v || !std::isfinite(*v))
            return failed(line,
                          QStringLiteral("\"%1\" non è un numero (usare il punto per i decimali)")
                              .arg(excerpt(cell)));
        if (*v < 0)
            return failed(line, QStringLiteral("il valore %1 è negativo").arg(excerpt(cell)));
        m_result.value[size_t(k)] = *v;
        m_result.present[size_t(k)] = 1;
        ++m_result.pairs;
        return true;
    }

    bool matrixRow(int line, int row, const QStringList& cells)
    {
        if (cells.size() != m_n + 1)
            return failed(line, QStringLiteral("la riga ha %1 valori, l'archivio %2 aree")
                                    .arg(cells.size() - 1)
                                    .arg(m_n));
        if (cells[0] != QString::number(row))
            return failed(line, QStringLiteral("la riga dovrebbe essere quella dell'area %1, "
                                               "non \"%2\"")
                                    .arg(row)
                                    .arg(excerpt(cells[0])));
        for (int j = 1; j <= m_n; ++j)
            if (!value(line, pairIndex(row, j, m_n), cells[j]))
                return false;
        return true;
    }

    bool areaNumber(int line, const QString& cell, int* area)
    {
        bool ok = false;
        const int a = cell.toInt(&ok);
        if (!ok)
            return failed(line, QStringLiteral("\"%1\" non è un numero d'area").arg(excerpt(cell)));
        if (a < 1 || a > m_n)
            return failed(
                line,
                QStringLiteral("l'area %1 non esiste: l'archivio ha %2 aree").arg(a).arg(m_n));
        *area = a;
        return true;
    }

    bool longRow(int line, const QStringList& cells)
    {
        if (cells.size() != 3)
            return failed(line, QStringLiteral("servono tre valori (origine, destinazione, "
                                               "valore), la riga ne ha %1")
                                    .arg(cells.size()));
        int o = 0;
        int d = 0;
        if (!areaNumber(line, cells[0], &o) || !areaNumber(line, cells[1], &d))
            return false;
        const int k = pairIndex(o, d, m_n);
        if (m_result.present[size_t(k)])
            return failed(line, QStringLiteral("la coppia %1-%2 compare due volte").arg(o).arg(d));
        return value(line, k, cells[2]);
    }
};

// ln(distance x weight / 100) of pair k; NaN when the data give no positive cost.
double logCost(const ProjectState& state, int k)
{
    const double base = pairCost(state, k);
    return base > 0 ? std::log(base) : std::numeric_limits<double>::quiet_NaN();
}

// One trial alpha after another on a scratch copy of the caller's state.
class Evaluator
{
public:
    Evaluator(const ProjectState& state, const ObservedInteractions& observed,
              CalibrationCriterion criterion, const CalibrationOptions& options)
        : m_scratch(std::make_unique<ProjectState>(state)), m_observed(observed),
          m_criterion(criterion), m_options(options)
    {
        m_scratch->notifier = nullptr;
        const int n = state.areas.count;
        m_logCost.assign(size_t(n) * size_t(n) + 1, 0.0);
        double weighted = 0.0;
        double total = 0.0;
        for (int k = 1; k <= n * n; ++k) {
            if (!observed.present[size_t(k)])
                continue;
            m_logCost[size_t(k)] = logCost(state, k);
            weighted += observed.value[size_t(k)] * m_logCost[size_t(k)];
            total += observed.value[size_t(k)];
        }
        m_observedMean = weighted / total;
    }

    int evaluations = 0;
    int expected = 0; // for the progress callback
    bool cancelled = false;
    CalculationOutcome lastOutcome;

    // The value to drive to zero (likelihood) or to its least (absolute errors); nothing when
    // the calculation did not complete.
    std::optional<double> operator()(double alpha)
    {
        ++evaluations;
        ProjectState& s = *m_scratch;
        s.model.alpha = FieldValue::fromNumber(alpha);
        s.balancing = BalancingState(); // fresh factors, as the batch calculator starts
        lastOutcome = calculateInteractions(s, &m_cache);
        if (m_options.progress &&
            !m_options.progress(evaluations, std::max(expected, evaluations + 1))) {
            cancelled = true;
            return std::nullopt;
        }
        if (!lastOutcome.completed())
            return std::nullopt;
        const int n = s.areas.count;
        double weighted = 0.0;
        double total = 0.0;
        double errors = 0.0;
        for (int o = 1; o <= n; ++o)
            for (int d = 1; d <= n; ++d) {
                const size_t k = size_t(pairIndex(o, d, n));
                if (!m_observed.present[k])
                    continue;
                const double m = s.interactions.matrix(o, d);
                weighted += m * m_logCost[k];
                total += m;
                errors += std::fabs(m - m_observed.value[k]);
            }
        if (m_criterion == CalibrationCriterion::LeastAbsoluteErrors)
            return errors;
        return weighted / total - m_observedMean;
    }

    double observedMean() const { return m_observedMean; }

private:
    std::unique_ptr<ProjectState> m_scratch;
    const ObservedInteractions& m_observed;
    CalibrationCriterion m_criterion;
    const CalibrationOptions& m_options;
    CalculationCache m_cache;
    std::vector<double> m_logCost;
    double m_observedMean = 0.0;
};

using Status = CalibrationResult::Status;

} // namespace

ObservedRead parseObservedInteractions(const QByteArray& bytes, int count, const QString& fileName)
{
    return ObservedParser(count, QStringLiteral("Il file ") + fileName).parse(bytes);
}

ObservedRead readObservedInteractions(const QString& path, int count)
{
    ObservedRead read;
    QFile file(path);
    if (!QFileInfo::exists(path)) {
        read.error = QStringLiteral("Il file %1 non esiste.").arg(path);
        return read;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        read.error =
            QStringLiteral("Il file %1 non si può leggere: %2.").arg(path, file.errorString());
        return read;
    }
    if (file.size() > kMaxObservedBytes) {
        read.error =
            QStringLiteral("Il file %1 è troppo grande per delle interazioni osservate.").arg(path);
        return read;
    }
    return parseObservedInteractions(file.read(kMaxObservedBytes + 1), count, path);
}

FitMeasures measureFit(const ProjectState& state, const ObservedInteractions& observed)
{
    FitMeasures fit;
    const int n = state.areas.count;
    if (observed.count != n)
        return fit;
    double sumO = 0, sumM = 0, sumOO = 0, sumMM = 0, sumOM = 0, squares = 0;
    double costO = 0, costM = 0;
    for (int o = 1; o <= n; ++o)
        for (int d = 1; d <= n; ++d) {
            const int k = pairIndex(o, d, n);
            if (!observed.present[size_t(k)])
                continue;
            const double t = observed.value[size_t(k)];
            const double m = state.interactions.matrix(o, d);
            const double c = logCost(state, k);
            ++fit.pairs;
            sumO += t;
            sumM += m;
            sumOO += t * t;
            sumMM += m * m;
            sumOM += t * m;
            squares += (t - m) * (t - m);
            fit.absoluteErrors += std::fabs(t - m);
            costO += t * c;
            costM += m * c;
        }
    const double p = fit.pairs;
    const double covariance = sumOM - sumO * sumM / p;
    const double varianceO = sumOO - sumO * sumO / p;
    const double varianceM = sumMM - sumM * sumM / p;
    fit.rSquared = varianceO > 0 && varianceM > 0
                       ? covariance * covariance / (varianceO * varianceM)
                       : std::numeric_limits<double>::quiet_NaN();
    fit.srmse = std::sqrt(squares / p) / (sumO / p);
    fit.observedMeanLogCost = costO / sumO;
    fit.modelledMeanLogCost = costM / sumM;
    fit.observedTotal = sumO;
    fit.modelledTotal = sumM;
    fit.reproducedShare = sumM / sumO;
    return fit;
}

CalibrationResult calibrateAlpha(const ProjectState& state, const ObservedInteractions& observed,
                                 CalibrationCriterion criterion, const CalibrationOptions& options)
{
    CalibrationResult result;
    result.searchedUpTo = options.highest;
    const int n = state.areas.count;
    if (observed.count != n || n < 1)
        return result;
    Evaluator evaluate(state, observed, criterion, options);
    const bool likelihood = criterion == CalibrationCriterion::MaximumLikelihood;
    auto stop = [&](double alpha) {
        if (evaluate.cancelled) {
            result.status = Status::Cancelled;
            result.evaluations = evaluate.evaluations;
            return result;
        }
        result.status = evaluate.lastOutcome.status == CalculationOutcome::Status::NotConverged
                            ? Status::NotConverged
                            : Status::Stopped;
        result.failure = evaluate.lastOutcome;
        result.failedAlpha = alpha;
        result.evaluations = evaluate.evaluations;
        return result;
    };

    // A coarse scan first: it finds the bracket, and where the calculation stops converging
    // (steep decays with many areas), which then caps the search.
    std::vector<double> grid;
    std::vector<double> values;
    const int steps =
        std::max(1, int(std::ceil((options.highest - options.lowest) / options.gridStep - 1e-9)));
    // The scan, then a bisection or a golden section down to the tolerance.
    const double narrowing = std::log(std::max(2.0, 2 * options.gridStep / options.tolerance));
    evaluate.expected =
        steps + 1 +
        int(std::ceil(likelihood ? narrowing / std::log(2.0)
                                 : narrowing / std::log((1 + std::sqrt(5.0)) / 2))) +
        2;
    for (int i = 0; i <= steps; ++i) {
        const double alpha = std::min(options.highest, options.lowest + i * options.gridStep);
        const auto v = evaluate(alpha);
        if (!v) {
            if (evaluate.cancelled || i == 0 ||
                evaluate.lastOutcome.status != CalculationOutcome::Status::NotConverged)
                return stop(alpha);
            result.searchedUpTo = grid.back();
            result.capped = true;
            result.failure = evaluate.lastOutcome;
            result.failedAlpha = alpha;
            break;
        }
        grid.push_back(alpha);
        values.push_back(*v);
    }
    if (likelihood && !std::isfinite(evaluate.observedMean())) {
        // No cost to match: the likelihood criterion has nothing to work with.
        result.failure = CalculationOutcome();
        result.failure.status = CalculationOutcome::Status::Stopped;
        result.evaluations = evaluate.evaluations;
        return result;
    }
    const double lowest = grid.front();
    const double highest = grid.back();
    auto finish = [&](double alpha) {
        result.alpha = alpha;
        result.evaluations = evaluate.evaluations;
        if (alpha - lowest <= options.tolerance)
            result.status = Status::AtLowerEnd;
        else if (highest - alpha <= options.tolerance)
            result.status = Status::AtUpperEnd;
        else
            result.status = Status::Found;
        return result;
    };

    if (likelihood) {
        // The calculated mean cost falls as alpha grows: find where it crosses the observed one.
        if (values.front() <= 0)
            return finish(lowest);
        size_t i = 1;
        while (i < grid.size() && values[i] > 0)
            ++i;
        if (i == grid.size())
            return finish(highest);
        double lo = grid[i - 1];
        double hi = grid[i];
        while (hi - lo > options.tolerance) {
            const double mid = 0.5 * (lo + hi);
            const auto v = evaluate(mid);
            if (!v)
                return stop(mid);
            (*v > 0 ? lo : hi) = mid;
        }
        return finish(values[i] == 0 ? hi : 0.5 * (lo + hi));
    }

    // Least absolute errors: golden section around the best point of the scan.
    size_t best = 0;
    for (size_t i = 1; i < values.size(); ++i)
        if (values[i] < values[best])
            best = i;
    double a = grid[best > 0 ? best - 1 : 0];
    double b = grid[std::min(best + 1, grid.size() - 1)];
    const double ratio = (std::sqrt(5.0) - 1) / 2;
    double x1 = b - ratio * (b - a);
    double x2 = a + ratio * (b - a);
    auto f1 = evaluate(x1);
    if (!f1)
        return stop(x1);
    auto f2 = evaluate(x2);
    if (!f2)
        return stop(x2);
    while (b - a > options.tolerance) {
        if (*f1 <= *f2) {
            b = x2;
            x2 = x1;
            f2 = f1;
            x1 = b - ratio * (b - a);
            f1 = evaluate(x1);
            if (!f1)
                return stop(x1);
        } else {
            a = x1;
            x1 = x2;
            f1 = f2;
            x2 = a + ratio * (b - a);
            f2 = evaluate(x2);
            if (!f2)
                return stop(x2);
        }
    }
    // The ends of the range are candidates too: the interior search only approaches them.
    double alpha = 0.5 * (a + b);
    const auto inner = evaluate(alpha);
    if (!inner)
        return stop(alpha);
    double bestValue = *inner;
    for (const double end : {lowest, highest})
        if (std::fabs(end - alpha) <= 1.0 + options.tolerance) {
            const size_t at = end == lowest ? 0 : grid.size() - 1;
            if (values[at] < bestValue) {
                bestValue = values[at];
                alpha = end;
            }
        }
    return finish(alpha);
}

QString describeCalibration(const CalibrationResult& result)
{
    const QString alpha = calibratedAlphaText(result.alpha);
    QString text;
    switch (result.status) {
    case Status::Found:
        break;
    case Status::AtLowerEnd:
        text = QStringLiteral("il valore migliore di alfa è all'estremo inferiore dell'intervallo "
                              "cercato (%1): il modello non trova un minimo al suo interno")
                   .arg(alpha);
        break;
    case Status::AtUpperEnd:
        text = QStringLiteral("il valore migliore di alfa è all'estremo superiore dell'intervallo "
                              "cercato (%1): il modello non trova un minimo al suo interno")
                   .arg(alpha);
        break;
    case Status::NotConverged:
        text = QStringLiteral("la taratura non converge: per alfa %1 %2")
                   .arg(calibratedAlphaText(result.failedAlpha), describeOutcome(result.failure));
        break;
    case Status::Cancelled:
        text = QStringLiteral("la taratura è stata annullata");
        break;
    case Status::Stopped:
        text = result.failure.status == CalculationOutcome::Status::Stopped &&
                       result.failure.reason == CalculationOutcome::Reason::None
                   ? QStringLiteral("nessuna coppia osservata ha distanza e peso positivi: il "
                                    "criterio di verosimiglianza non si applica")
                   : QStringLiteral("la taratura si è fermata: per alfa %1 %2")
                         .arg(calibratedAlphaText(result.failedAlpha),
                              describeOutcome(result.failure));
        break;
    }
    if (result.usable() && result.capped)
        text += (text.isEmpty() ? QString() : QStringLiteral("; ")) +
                QStringLiteral("oltre alfa %1 il calcolo non converge e la ricerca si è fermata lì")
                    .arg(calibratedAlphaText(result.searchedUpTo));
    return text;
}

QString calibratedAlphaText(double alpha)
{
    return QString::number(alpha, 'g', 6);
}

double pairCost(const ProjectState& state, int k)
{
    const auto distance = parseStrictNumber(state.distances.distance[size_t(k)]);
    const FieldValue& weightField = state.distances.weight[size_t(k)];
    std::optional<double> weight;
    if (weightField.isNumber())
        weight = weightField.number;
    else if (weightField.isText())
        weight = parseStrictNumber(weightField.text);
    if (!distance || !weight)
        return std::numeric_limits<double>::quiet_NaN();
    return *distance * *weight / 100;
}

namespace {

// A band width of 1, 2, 2.5 or 5 times a power of ten, and its edges: edge(i) is i widths,
// computed as an integer times or over a power of ten so that it is the double nearest the
// decimal edge ("0.3", not 0.30000000000000004).
class BandEdges
{
public:
    explicit BandEdges(double roughWidth)
    {
        const int exponent = int(std::floor(std::log10(roughWidth)));
        const double fraction = roughWidth / std::pow(10.0, exponent);
        m_exponent = exponent - 1; // the width is m_tenths x 10^m_exponent
        m_tenths = fraction <= 1     ? 10
                   : fraction <= 2   ? 20
                   : fraction <= 2.5 ? 25
                   : fraction <= 5   ? 50
                                     : 100;
    }

    double width() const { return edge(1); }
    double edge(long long i) const
    {
        const double units = double(i * m_tenths);
        return m_exponent >= 0 ? units * std::pow(10.0, m_exponent)
                               : units / std::pow(10.0, -m_exponent);
    }

private:
    int m_tenths = 10;
    int m_exponent = 0;
};

} // namespace

TripLengthDistribution tripLengthDistribution(const ProjectState& state,
                                              const ObservedInteractions& observed)
{
    TripLengthDistribution out;
    const int n = state.areas.count;
    if (observed.count != n || n < 1)
        return out;
    struct Pair
    {
        double cost;
        double observed;
        double modelled;
    };
    std::vector<Pair> pairs;
    double lowest = std::numeric_limits<double>::infinity();
    double highest = -lowest;
    for (int o = 1; o <= n; ++o)
        for (int d = 1; d <= n; ++d) {
            const int k = pairIndex(o, d, n);
            if (!observed.present[size_t(k)])
                continue;
            const double cost = pairCost(state, k);
            if (!(cost > 0) || !std::isfinite(cost)) {
                ++out.unplaced;
                continue;
            }
            pairs.push_back({cost, observed.value[size_t(k)], state.interactions.matrix(o, d)});
            lowest = std::min(lowest, cost);
            highest = std::max(highest, cost);
        }
    if (pairs.empty())
        return out;

    const int wanted = 1 + int(std::ceil(std::log2(double(pairs.size()))));
    const double spread = highest - lowest;
    const BandEdges edges(spread > 0 ? spread / wanted : highest / 10);
    const double width = edges.width();
    long long first = (long long)std::floor(lowest / width);
    while (edges.edge(first) > lowest)
        --first;
    while (edges.edge(first + 1) <= lowest)
        ++first;
    long long count = std::max(1LL, (long long)std::ceil((highest - edges.edge(first)) / width));
    while (edges.edge(first + count) < highest)
        ++count;
    // The last band holds its upper end: no band is left with the highest cost alone.
    while (count > 1 && edges.edge(first + count - 1) >= highest)
        --count;

    out.bands.resize(size_t(count));
    for (long long b = 0; b < count; ++b) {
        out.bands[size_t(b)].from = edges.edge(first + b);
        out.bands[size_t(b)].to = edges.edge(first + b + 1);
    }
    for (const Pair& pair : pairs) {
        long long b = std::clamp((long long)std::floor((pair.cost - out.bands[0].from) / width),
                                 0LL, count - 1);
        while (b > 0 && pair.cost < out.bands[size_t(b)].from)
            --b;
        while (b < count - 1 && pair.cost >= out.bands[size_t(b)].to)
            ++b;
        TripLengthBand& band = out.bands[size_t(b)];
        band.observed += pair.observed;
        band.modelled += pair.modelled;
        ++band.pairs;
    }
    return out;
}

ObservedRead parseObservedPaste(const QString& text, int count)
{
    const QString subject = QStringLiteral("Il testo incollato");
    QStringList lines = text.split(u'\n');
    QChar separator = u',';
    std::vector<qsizetype> filled; // the lines with something on them
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].endsWith(u'\r'))
            lines[i].chop(1);
        if (lines[i].trimmed().isEmpty())
            continue;
        if (filled.empty())
            separator = lines[i].contains(u'\t')  ? QChar(u'\t')
                        : lines[i].contains(u';') ? QChar(u';')
                                                  : QChar(u',');
        filled.push_back(i);
    }
    const auto cells = [&](qsizetype i) {
        QStringList parts = lines[i].split(separator);
        for (QString& part : parts)
            part = part.trimmed();
        return parts;
    };
    const auto isHeader = [&](const QStringList& parts, qsizetype from) {
        for (qsizetype j = from; j < parts.size(); ++j)
            if (parts[j] != QString::number(j - from + 1))
                return false;
        return parts.size() - from == count;
    };
    // Headers as a spreadsheet's selection may hold them: the row 1..N on top, with or without
    // the corner cell, the column 1..N on the left, both or neither; the CSV reader wants both.
    // N lines of N values are a bare matrix even when the first reads 1, 2, 3...
    const auto allHave = [&](size_t from, qsizetype size, bool numbered) {
        for (size_t r = from; r < filled.size(); ++r) {
            const QStringList row = cells(filled[r]);
            if (row.size() != size || (numbered && row[0] != QString::number(int(r - from) + 1)))
                return false;
        }
        return true;
    };
    bool headerRow = false;
    bool headerColumn = false;
    if (count < 1 || filled.empty()) {
        return ObservedParser(count, subject).parse(text.toLatin1());
    } else if (filled.size() == size_t(count) && allHave(0, count, false)) {
        // bare
    } else if (filled.size() == size_t(count) && allHave(0, count + 1, true)) {
        headerColumn = true;
    } else if (const QStringList top = cells(filled.front());
               filled.size() == size_t(count) + 1 &&
               (isHeader(top, 0) || (isHeader(top, 1) && !parseStrictNumber(top[0]))) &&
               allHave(1, count, false)) {
        headerRow = true;
    } else if (const qsizetype width = cells(filled.front()).size();
               width != 3 && filled.size() > 1 && allHave(0, width, false)) {
        // A table of another size: the lines would be read as long rows of nonsense.
        ObservedRead read;
        read.error = QStringLiteral("%1: la matrice ha %2 righe e %3 colonne, l'elaborazione %4 "
                                    "aree.")
                         .arg(subject)
                         .arg(filled.size())
                         .arg(width)
                         .arg(count);
        return read;
    } else {
        // Both headers, long rows, or a shape the reader names the fault of.
        return ObservedParser(count, subject).parse(text.toLatin1());
    }

    const QString sep(separator);
    QStringList header;
    for (int j = 1; j <= count; ++j)
        header << QString::number(j);
    int row = 0;
    for (size_t r = headerRow ? 1 : 0; r < filled.size(); ++r) {
        ++row;
        if (!headerColumn)
            lines[filled[r]] = QString::number(row) + sep + lines[filled[r]];
    }
    int shift = 0;
    if (headerRow) {
        lines[filled.front()] = sep + header.join(sep);
    } else {
        lines.prepend(sep + header.join(sep));
        shift = -1; // messages name the lines as pasted
    }
    return ObservedParser(count, subject, shift).parse(lines.join(u'\n').toLatin1());
}

ObservedRead observedFromValues(const std::vector<double>& values, int count,
                                const QString& sourceName)
{
    ObservedRead read;
    const auto fail = [&](const QString& problem) {
        read.error = QStringLiteral("Il file %1: %2.").arg(sourceName, problem);
        return read;
    };
    const int sourceCount = int(std::lround(std::sqrt(double(values.size()))));
    if (size_t(sourceCount) * size_t(sourceCount) != values.size() || sourceCount != count)
        return fail(QStringLiteral("ha le interazioni di %1 aree, l'elaborazione %2 aree")
                        .arg(sourceCount)
                        .arg(count));
    ObservedInteractions observed;
    observed.count = count;
    observed.value.assign(values.size() + 1, 0.0);
    observed.present.assign(values.size() + 1, 1);
    observed.present[0] = 0;
    double total = 0.0;
    for (size_t k = 1; k <= values.size(); ++k) {
        const double v = values[k - 1];
        if (!std::isfinite(v) || v < 0)
            return fail(QStringLiteral("l'interazione della coppia n. %1 non è un numero positivo "
                                       "o nullo (%2)")
                            .arg(k)
                            .arg(v));
        observed.value[k] = v;
        total += v;
    }
    observed.pairs = int(values.size());
    if (!(total > 0))
        return fail(QStringLiteral("il totale delle interazioni osservate è zero"));
    read.value = std::move(observed);
    return read;
}

AlphaAssessment assessAlpha(const ProjectState& state, const ObservedInteractions& observed,
                            const FieldValue& alpha)
{
    AlphaAssessment assessment;
    assessment.alpha = alpha;
    const auto scratch = std::make_unique<ProjectState>(state);
    scratch->notifier = nullptr;
    scratch->model.alpha = alpha;
    scratch->balancing = BalancingState();
    assessment.outcome = calculateInteractions(*scratch);
    if (!assessment.outcome.completed())
        return assessment;
    assessment.fit = measureFit(*scratch, observed);
    assessment.lengths = tripLengthDistribution(*scratch, observed);
    const int n = scratch->areas.count;
    assessment.modelled.assign(size_t(n) * size_t(n) + 1, 0.0);
    for (int o = 1; o <= n; ++o)
        for (int d = 1; d <= n; ++d)
            assessment.modelled[size_t(pairIndex(o, d, n))] = scratch->interactions.matrix(o, d);
    return assessment;
}

CalibrationStudy studyCalibration(const ProjectState& state, const ObservedInteractions& observed,
                                  CalibrationCriterion criterion, const CalibrationOptions& options)
{
    CalibrationStudy study;
    study.criterion = criterion;
    study.current = assessAlpha(state, observed, state.model.alpha);
    study.result = calibrateAlpha(state, observed, criterion, options);
    study.note = describeCalibration(study.result);
    if (study.result.usable()) {
        study.alphaText = calibratedAlphaText(study.result.alpha);
        study.calibrated = assessAlpha(state, observed, FieldValue::fromText(study.alphaText));
    }
    return study;
}

namespace {

QString fitNumber(double value)
{
    return std::isfinite(value) ? QString::number(value, 'g', 6) : QStringLiteral("n.d.");
}

} // namespace

std::vector<FitLine> fitLines(const FitMeasures& fit, int count)
{
    return {
        {QStringLiteral("Coppie confrontate"),
         QStringLiteral("%1 su %2").arg(fit.pairs).arg(count * count)},
        {QStringLiteral("R² (osservate e calcolate)"), fitNumber(fit.rSquared)},
        {QStringLiteral("SRMSE"), fitNumber(fit.srmse)},
        {QStringLiteral("Somma degli errori assoluti"), fitNumber(fit.absoluteErrors)},
        {QStringLiteral("Media di ln(distanza × peso / 100) pesata con le osservate"),
         fitNumber(fit.observedMeanLogCost)},
        {QStringLiteral("Media di ln(distanza × peso / 100) pesata con le calcolate"),
         fitNumber(fit.modelledMeanLogCost)},
        {QStringLiteral("Quota del totale osservato riprodotta"),
         fitNumber(100 * fit.reproducedShare) + QLatin1Char('%')},
    };
}

QString criterionName(CalibrationCriterion criterion)
{
    return criterion == CalibrationCriterion::MaximumLikelihood
               ? QStringLiteral("massima verosimiglianza")
               : QStringLiteral("minima somma degli errori assoluti");
}

const AppliedCalibration* currentCalibration(const ProjectState& state)
{
    const AppliedCalibration* applied = state.calibration.get();
    if (applied == nullptr || !state.model.alpha.isText() ||
        state.model.alpha.text != applied->alphaText ||
        applied->observed.count != state.areas.count)
        return nullptr;
    return applied;
}

} // namespace urbaflux
