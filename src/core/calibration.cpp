#include "calibration.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
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
    ObservedParser(int count, const QString& fileName) : m_n(count), m_fileName(fileName)
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
                separator = text.contains(u';') ? QChar(u';') : QChar(u',');
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
    QString m_fileName;
    ObservedInteractions m_result;
    ObservedRead m_read;

    ObservedRead fail(int line, const QString& problem)
    {
        m_read.value.reset();
        m_read.error = line > 0 ? QStringLiteral("Il file %1, riga %2: %3.")
                                      .arg(m_fileName, QString::number(line), problem)
                                : QStringLiteral("Il file %1: %2.").arg(m_fileName, problem);
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

// ln(distance x weight / 100) of pair k, read as the calculation reads it; NaN when the data
// give no positive cost.
double logCost(const ProjectState& state, int k)
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
    const double base = *distance * *weight / 100;
    return base > 0 ? std::log(base) : std::numeric_limits<double>::quiet_NaN();
}

// One trial alpha after another on a scratch copy of the caller's state.
class Evaluator
{
public:
    Evaluator(const ProjectState& state, const ObservedInteractions& observed,
              CalibrationCriterion criterion)
        : m_scratch(std::make_unique<ProjectState>(state)), m_observed(observed),
          m_criterion(criterion)
    {
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
    CalculationCache m_cache;
    std::vector<double> m_logCost;
    double m_observedMean = 0.0;
};

using Status = CalibrationResult::Status;

} // namespace

ObservedRead parseObservedInteractions(const QByteArray& bytes, int count, const QString& fileName)
{
    return ObservedParser(count, fileName).parse(bytes);
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
    Evaluator evaluate(state, observed, criterion);
    const bool likelihood = criterion == CalibrationCriterion::MaximumLikelihood;
    auto stop = [&](double alpha) {
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
    for (int i = 0; i <= steps; ++i) {
        const double alpha = std::min(options.highest, options.lowest + i * options.gridStep);
        const auto v = evaluate(alpha);
        if (!v) {
            if (i == 0 || evaluate.lastOutcome.status != CalculationOutcome::Status::NotConverged)
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

} // namespace urbaflux
