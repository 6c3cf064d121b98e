#include "calibration.h"

#include <QTest>
#include <cmath>
#include <memory>
#include <random>

using namespace urbaflux;
using Criterion = CalibrationCriterion;
using Status = CalibrationResult::Status;

namespace {

std::unique_ptr<ProjectState> makeState(int kind, const QList<double>& origins,
                                        const QList<double>& destinations,
                                        const QList<double>& distances, double alpha = 2)
{
    auto state = std::make_unique<ProjectState>();
    applyDefaults(*state);
    state->model.kind = static_cast<qint16>(kind);
    state->model.alpha = FieldValue::fromNumber(alpha);
    const int n = int(origins.size());
    state->areas.count = n;
    for (int i = 1; i <= n; ++i) {
        state->areas.origin[i] = QString::number(origins[i - 1], 'g', 17);
        state->areas.destination[i] = QString::number(destinations[i - 1], 'g', 17);
    }
    for (int k = 1; k <= n * n; ++k) {
        state->distances.distance[k] = QString::number(distances[k - 1], 'g', 17);
        state->distances.weight[k] = FieldValue::fromNumber(100);
    }
    return state;
}

// Eight areas with equal totals (the doubly constrained model needs them) and distances from
// 1 to 30, with a few weights other than 100.
std::unique_ptr<ProjectState> surveyArea(int kind, double alpha)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> value(20, 400);
    std::uniform_real_distribution<double> distance(1.0, 30.0);
    QList<double> origins, destinations, distances;
    double total = 0;
    for (int i = 0; i < 8; ++i) {
        origins << value(random);
        total += origins.back();
    }
    double rest = total;
    for (int i = 0; i < 7; ++i) {
        destinations << std::min<double>(value(random), rest - 1);
        rest -= destinations.back();
    }
    destinations << rest;
    for (int k = 0; k < 64; ++k)
        distances << std::round(distance(random) * 10) / 10;
    auto state = makeState(kind, origins, destinations, distances, alpha);
    state->distances.weight[5] = FieldValue::fromText(QStringLiteral("150"));
    state->distances.weight[20] = FieldValue::fromText(QStringLiteral("80"));
    return state;
}

// The unrounded matrix of a calculated state, as every pair observed.
ObservedInteractions observedFrom(const ProjectState& state)
{
    const int n = state.areas.count;
    ObservedInteractions observed;
    observed.count = n;
    observed.value.assign(size_t(n * n + 1), 0.0);
    observed.present.assign(size_t(n * n + 1), 0);
    for (int o = 1; o <= n; ++o)
        for (int d = 1; d <= n; ++d) {
            observed.value[size_t(pairIndex(o, d, n))] = state.interactions.matrix(o, d);
            observed.present[size_t(pairIndex(o, d, n))] = 1;
        }
    observed.pairs = n * n;
    return observed;
}

QByteArray stateBytes(const ProjectState& s)
{
    QByteArray out;
    out.append(reinterpret_cast<const char*>(s.interactions.matrixCells.data()),
               qsizetype(s.interactions.matrixCells.size() * sizeof(double)));
    out.append(reinterpret_cast<const char*>(s.balancing.originFactor.data()),
               qsizetype(s.balancing.originFactor.size() * sizeof(double)));
    out += s.model.alpha.displayText().toUtf8();
    return out;
}

} // namespace

class TestCalibration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void recoversTheAlphaThatMadeTheData_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("alpha");
        QTest::addColumn<int>("criterion");
        for (const int kind : {1, 2, 3})
            for (const double alpha : {0.8, 1.7, 2.35}) {
                QTest::addRow("model %d, alpha %g, likelihood", kind, alpha)
                    << kind << alpha << int(Criterion::MaximumLikelihood);
            }
        QTest::newRow("model 1, absolute errors")
            << 1 << 1.7 << int(Criterion::LeastAbsoluteErrors);
        QTest::newRow("model 3, absolute errors")
            << 3 << 2.35 << int(Criterion::LeastAbsoluteErrors);
    }
    void recoversTheAlphaThatMadeTheData()
    {
        QFETCH(int, kind);
        QFETCH(double, alpha);
        QFETCH(int, criterion);
        auto truth = surveyArea(kind, alpha);
        QVERIFY(calculateInteractions(*truth).completed());
        const ObservedInteractions observed = observedFrom(*truth);

        // Calibrated from an archive whose own alpha is elsewhere, and whose results the
        // calibration must leave alone.
        auto archive = surveyArea(kind, 4.5);
        QVERIFY(calculateInteractions(*archive).completed());
        const QByteArray before = stateBytes(*archive);
        const CalibrationResult result =
            calibrateAlpha(*archive, observed, static_cast<Criterion>(criterion));
        QCOMPARE(result.status, Status::Found);
        QVERIFY2(std::fabs(result.alpha - alpha) < 1e-5,
                 qPrintable(QString::number(result.alpha, 'g', 10)));
        QVERIFY(result.evaluations > 10);
        QCOMPARE(stateBytes(*archive), before);
    }

    // Origins 100, 200, 100; destinations 200, 50, 150; a survey published for the doubly
    // constrained model, calibrated by the least sum of absolute errors.
    void publishedDoublyConstrainedCase()
    {
        auto state = makeState(1, {100, 200, 100}, {200, 50, 150}, {2, 5, 4, 5, 2, 3, 4, 3, 2});
        const QByteArray survey = "origine;destinazione;valore\n"
                                  "1;1;80\n1;2;5\n1;3;15\n"
                                  "2;1;80\n2;2;40\n2;3;80\n"
                                  "3;1;40\n3;2;5\n3;3;55\n";
        const ObservedRead read = parseObservedInteractions(survey, 3, QStringLiteral("rilievo"));
        QVERIFY2(read.ok(), qPrintable(read.error));
        const CalibrationResult result =
            calibrateAlpha(*state, *read.value, Criterion::LeastAbsoluteErrors);
        QCOMPARE(result.status, Status::Found);
        qInfo("least absolute errors: alpha %s after %d evaluations",
              qPrintable(QString::number(result.alpha, 'g', 8)), result.evaluations);

        // No alpha on a fine grid does better, and the neighbours of the result do worse.
        auto sae = [&](double alpha) {
            auto trial =
                makeState(1, {100, 200, 100}, {200, 50, 150}, {2, 5, 4, 5, 2, 3, 4, 3, 2}, alpha);
            return calculateInteractions(*trial).completed()
                       ? measureFit(*trial, *read.value).absoluteErrors
                       : 1e300;
        };
        const double found = sae(result.alpha);
        for (int i = 0; i <= 500; ++i)
            QVERIFY2(found <= sae(i * 0.02) + 1e-9, qPrintable(QString::number(i * 0.02)));
        QVERIFY(found < sae(result.alpha - 1e-3));
        QVERIFY(found < sae(result.alpha + 1e-3));
    }

    void rangeEnds_data()
    {
        QTest::addColumn<int>("criterion");
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("status");
        // Observed trips far longer than any alpha gives: the best is no decay at all.
        QTest::newRow("likelihood, long trips")
            << int(Criterion::MaximumLikelihood) << 1.0 << int(Status::AtLowerEnd);
        QTest::newRow("absolute errors, long trips")
            << int(Criterion::LeastAbsoluteErrors) << 1.0 << int(Status::AtLowerEnd);
        // Every trip within its own area: the steepest decay searched.
        QTest::newRow("likelihood, no trips out")
            << int(Criterion::MaximumLikelihood) << 0.0 << int(Status::AtUpperEnd);
    }
    void rangeEnds()
    {
        QFETCH(int, criterion);
        QFETCH(double, scale);
        QFETCH(int, status);
        auto state = makeState(3, {100, 100}, {100, 100}, {1, 2, 2, 1});
        ObservedInteractions observed;
        observed.count = 2;
        // Long trips: more between the areas than within them.
        observed.value = {0, 10 * scale, 90, 90, 10 * scale};
        if (scale == 0.0)
            observed.value = {0, 100, 0, 0, 100};
        observed.present = {0, 1, 1, 1, 1};
        observed.pairs = 4;
        const CalibrationResult result =
            calibrateAlpha(*state, observed, static_cast<Criterion>(criterion));
        QCOMPARE(int(result.status), status);
        QVERIFY(result.usable());
        QCOMPARE(result.alpha, status == int(Status::AtLowerEnd) ? 0.0 : 10.0);
        QVERIFY(describeCalibration(result).contains(status == int(Status::AtLowerEnd)
                                                         ? QStringLiteral("estremo inferiore")
                                                         : QStringLiteral("estremo superiore")));
    }

    void stoppedCalculation()
    {
        auto state = makeState(3, {100, 100}, {100, 100}, {1, 2, 2, 1});
        state->distances.distance[3] = QStringLiteral("0");
        ObservedInteractions observed;
        observed.count = 2;
        observed.value = {0, 50, 50, 50, 50};
        observed.present = {0, 1, 1, 1, 1};
        observed.pairs = 4;
        const CalibrationResult result =
            calibrateAlpha(*state, observed, Criterion::MaximumLikelihood);
        QCOMPARE(result.status, Status::Stopped);
        QVERIFY(!result.usable());
        QVERIFY2(describeCalibration(result).contains(QStringLiteral("distanza n. 3")),
                 qPrintable(describeCalibration(result)));
    }

    void doublyConstrainedTotalsThatDiffer()
    {
        // Totals that differ never balance: the search cannot even start, and says why.
        auto state = makeState(1, {100, 50}, {60, 91}, {10, 20, 20, 10});
        ObservedInteractions observed;
        observed.count = 2;
        observed.value = {0, 56, 44, 4, 46};
        observed.present = {0, 1, 1, 1, 1};
        observed.pairs = 4;
        const CalibrationResult result =
            calibrateAlpha(*state, observed, Criterion::MaximumLikelihood);
        QCOMPARE(result.status, Status::NotConverged);
        QVERIFY(!result.usable());
        QVERIFY2(describeCalibration(result).contains(QStringLiteral("non converge")),
                 qPrintable(describeCalibration(result)));
    }

    void measures()
    {
        // The origin constrained worked example: 50, 50, 25, 25 at distance 10 everywhere.
        auto state = makeState(3, {100, 50}, {1, 1}, {10, 10, 10, 10});
        QVERIFY(calculateInteractions(*state).completed());
        const ObservedRead read =
            parseObservedInteractions(",1,2\r\n1,40,60\r\n2,25,25\r\n", 2, QStringLiteral("x"));
        QVERIFY2(read.ok(), qPrintable(read.error));
        const FitMeasures fit = measureFit(*state, *read.value);
        QCOMPARE(fit.pairs, 4);
        QCOMPARE(fit.absoluteErrors, 20.0);
        QVERIFY(std::fabs(fit.rSquared - 625.0 / 825.0) < 1e-12);
        QVERIFY(std::fabs(fit.srmse - std::sqrt(50.0) / 37.5) < 1e-12);
        QVERIFY(std::fabs(fit.observedMeanLogCost - std::log(10.0)) < 1e-12);
        QVERIFY(std::fabs(fit.modelledMeanLogCost - std::log(10.0)) < 1e-12);
        QCOMPARE(fit.observedTotal, 150.0);
        QCOMPARE(fit.reproducedShare, 1.0);

        // A pair left out counts nowhere.
        const ObservedRead partial =
            parseObservedInteractions("1,1,40\n2,2,25\n", 2, QStringLiteral("x"));
        QVERIFY(partial.ok());
        const FitMeasures two = measureFit(*state, *partial.value);
        QCOMPARE(two.pairs, 2);
        QCOMPARE(two.absoluteErrors, 10.0);
        QCOMPARE(two.modelledTotal, 75.0);
        QCOMPARE(two.reproducedShare, 75.0 / 65.0);
    }

    void acceptedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("pairs");
        QTest::addColumn<double>("pair3"); // area 2 to area 1, -1 when left out
        QTest::newRow("matrix as --matrix writes it")
            << QByteArray(",1,2\r\n1,1.5,2\r\n2,3e1,4\r\n") << 4 << 30.0;
        QTest::newRow("matrix with a label, semicolons, an empty cell")
            << QByteArray("o/d;1;2\n1;1;2\n2;;4\n\n") << 3 << -1.0;
        QTest::newRow("long rows, header")
            << QByteArray("origine,destinazione,valore\n2,1,7\n") << 1 << 7.0;
        QTest::newRow("long rows after a byte order mark") << QByteArray("\xEF\xBB\xBF"
                                                                         "2;1;7\r\n")
                                                           << 1 << 7.0;
        QTest::newRow("long rows, no header, empty value")
            << QByteArray("1,1,5\n2,1,\n2,2,0\n") << 2 << -1.0;
    }
    void acceptedFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, pairs);
        QFETCH(double, pair3);
        const ObservedRead read = parseObservedInteractions(bytes, 2, QStringLiteral("oss.csv"));
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.value->pairs, pairs);
        QCOMPARE(bool(read.value->present[3]), pair3 >= 0);
        if (pair3 >= 0)
            QCOMPARE(read.value->value[3], pair3);
    }

    void refusedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QByteArray("\r\n")
                               << QStringLiteral("Il file oss.csv: il file è vuoto.");
        QTest::newRow("matrix of 3 for 2 areas")
            << QByteArray(",1,2,3\n1,1,1,1\n") << QStringLiteral("riga 1: la matrice ha 3 colonne");
        QTest::newRow("matrix missing a row")
            << QByteArray(",1,2\n1,1,1\n") << QStringLiteral("riga 2: la matrice ha 1 righe");
        QTest::newRow("matrix row short")
            << QByteArray(",1,2\n1,1,1\n2,1\n") << QStringLiteral("riga 3: la riga ha 1 valori");
        QTest::newRow("matrix rows out of order")
            << QByteArray(",1,2\n2,1,1\n1,1,1\n") << QStringLiteral("riga 2: la riga dovrebbe");
        QTest::newRow("negative") << QByteArray("1,1,5\n1,2,-3\n")
                                  << QStringLiteral("riga 2: il valore -3 è negativo");
        QTest::newRow("decimal comma") << QByteArray("1;1;5\n\n1;2;2,5\n")
                                       << QStringLiteral("riga 3: \"2,5\" non è un numero");
        QTest::newRow("area beyond the archive")
            << QByteArray("origine,destinazione,valore\n1,3,5\n")
            << QStringLiteral("riga 2: l'area 3 non esiste: l'archivio ha 2 aree");
        QTest::newRow("twice") << QByteArray("1,2,5\n1,2,6\n")
                               << QStringLiteral("riga 2: la coppia 1-2 compare due volte");
        QTest::newRow("four cells")
            << QByteArray("1,2,5,6\n") << QStringLiteral("riga 1: servono tre valori");
        QTest::newRow("binary") << QByteArray("1,1,\x01\x02zz\n", 10)
                                << QStringLiteral("riga 1: \"??zz\" non è un numero");
        QTest::newRow("every pair left out")
            << QByteArray(",1,2\n1,,\n2,,\n")
            << QStringLiteral("nessuna coppia ha un valore osservato");
        QTest::newRow("all zero") << QByteArray("1,1,0\n")
                                  << QStringLiteral("il totale delle interazioni osservate è zero");
    }
    void refusedFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const ObservedRead read = parseObservedInteractions(bytes, 2, QStringLiteral("oss.csv"));
        QVERIFY(!read.ok());
        QVERIFY2(read.error.startsWith(QStringLiteral("Il file oss.csv")), qPrintable(read.error));
        QVERIFY2(read.error.contains(message), qPrintable(read.error));
    }

    // Bands of equal width whose edges read as plain numbers, covering every compared pair
    // once: the sums are the compared totals.
    void tripLengthDistribution_data()
    {
        QTest::addColumn<QList<double>>("distances");
        QTest::addColumn<QString>("survey");
        QTest::addColumn<QList<double>>("edges");
        QTest::addColumn<QList<double>>("observedByBand");
        const QList<double> published = {2, 5, 4, 5, 2, 3, 4, 3, 2};
        const QString all = QStringLiteral(",1,2,3\n1,80,5,15\n2,80,40,80\n3,40,5,55\n");
        // Nine pairs, five bands wanted over 2 to 5: width 1; the highest cost closes the last.
        QTest::newRow("published case")
            << published << all << QList<double>{2, 3, 4, 5} << QList<double>{175, 85, 140};
        QTest::newRow("pairs left out") << published << QStringLiteral("1,1,80\n1,2,5\n3,2,5\n")
                                        << QList<double>{2, 3, 4, 5} << QList<double>{80, 5, 5};
        // Fifths of a unit, the edges the decimals themselves; 0.4 opens its band.
        QTest::newRow("short distances")
            << QList<double>{0.1, 0.7, 0.3, 0.7, 0.1, 0.4, 0.3, 0.4, 0.15} << all
            << QList<double>{0, 0.2, 0.4, 0.6, 0.8} << QList<double>{175, 55, 85, 85};
        QTest::newRow("one cost") << QList<double>{4, 4, 4, 4, 4, 4, 4, 4, 4} << all
                                  << QList<double>{4, 4.5} << QList<double>{400};
    }
    void tripLengthDistribution()
    {
        QFETCH(QList<double>, distances);
        QFETCH(QString, survey);
        QFETCH(QList<double>, edges);
        QFETCH(QList<double>, observedByBand);
        auto state = makeState(1, {100, 200, 100}, {200, 50, 150}, distances);
        QVERIFY(calculateInteractions(*state).completed());
        const ObservedRead read =
            parseObservedInteractions(survey.toLatin1(), 3, QStringLiteral("x"));
        QVERIFY2(read.ok(), qPrintable(read.error));
        const TripLengthDistribution lengths =
            urbaflux::tripLengthDistribution(*state, *read.value);
        QCOMPARE(lengths.unplaced, 0);
        QCOMPARE(qsizetype(lengths.bands.size()), edges.size() - 1);
        double observed = 0, modelled = 0;
        int pairs = 0;
        for (size_t b = 0; b < lengths.bands.size(); ++b) {
            QCOMPARE(lengths.bands[b].from, edges[qsizetype(b)]);
            QCOMPARE(lengths.bands[b].to, edges[qsizetype(b) + 1]);
            QCOMPARE(lengths.bands[b].observed, observedByBand[qsizetype(b)]);
            observed += lengths.bands[b].observed;
            modelled += lengths.bands[b].modelled;
            pairs += lengths.bands[b].pairs;
        }
        const FitMeasures fit = measureFit(*state, *read.value);
        QCOMPARE(pairs, fit.pairs);
        QCOMPARE(observed, fit.observedTotal);
        QCOMPARE(modelled, fit.modelledTotal);
    }

    // The progress callback sees every trial, and a false answer ends the search at once.
    void cancelledSearch()
    {
        auto state = surveyArea(3, 1.7);
        QVERIFY(calculateInteractions(*state).completed());
        const ObservedInteractions observed = observedFrom(*state);
        QList<int> done;
        CalibrationOptions options;
        options.progress = [&](int trials, int expected) {
            done << trials;
            return trials < 25 && expected > trials;
        };
        const CalibrationResult result =
            calibrateAlpha(*state, observed, Criterion::MaximumLikelihood, options);
        QCOMPARE(result.status, Status::Cancelled);
        QVERIFY(!result.usable());
        QCOMPARE(result.evaluations, 25);
        QCOMPARE(done.size(), 25);
        QCOMPARE(done.back(), 25);
        QVERIFY(describeCalibration(result).contains(QStringLiteral("annullata")));
    }

    void pastedMatrix_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error"); // empty: read, pair 3 (area 2 to 1) holds 7
        QTest::newRow("bare, tabs") << QStringLiteral("1\t2\n7\t4\n") << QString();
        QTest::newRow("bare, first row like a header")
            << QStringLiteral("1\t2\r\n7\t4\r\n") << QString();
        QTest::newRow("header row with its corner")
            << QStringLiteral("\t1\t2\n5\t2\n7\t4\n") << QString();
        QTest::newRow("header row, no corner") << QStringLiteral("1\t2\n5\t2\n7\t4\n") << QString();
        QTest::newRow("header column") << QStringLiteral("1\t5\t2\n2\t7\t4\n") << QString();
        QTest::newRow("both headers") << QStringLiteral(" \t1\t2\n1\t5\t2\n2\t7\t4\n") << QString();
        QTest::newRow("long rows") << QStringLiteral("2;1;7\n") << QString();
        QTest::newRow("text, the line as pasted")
            << QStringLiteral("\n1\t2\nmolti\t4\n")
            << QStringLiteral("Il testo incollato, riga 3: \"molti\" non è un numero");
        QTest::newRow("a matrix of four areas for two")
            << QStringLiteral("1\t2\t3\t4\n1\t2\t3\t4\n1\t2\t3\t4\n1\t2\t3\t4\n")
            << QStringLiteral("Il testo incollato: la matrice ha 4 righe e 4 colonne, "
                              "l'elaborazione 2 aree.");
    }
    void pastedMatrix()
    {
        QFETCH(QString, text);
        QFETCH(QString, error);
        const ObservedRead read = parseObservedPaste(text, 2);
        if (!error.isEmpty()) {
            QVERIFY(!read.ok());
            QVERIFY2(read.error.startsWith(error), qPrintable(read.error));
            return;
        }
        QVERIFY2(read.ok(), qPrintable(read.error));
        QVERIFY(read.value->present[3]);
        QCOMPARE(read.value->value[3], 7.0);
    }

    void valuesFromAnotherSource_data()
    {
        QTest::addColumn<QList<double>>("values");
        QTest::addColumn<QString>("error");
        QTest::newRow("four pairs") << QList<double>{1, 2, 7, 0} << QString();
        QTest::newRow("three areas")
            << QList<double>{1, 1, 1, 1, 1, 1, 1, 1, 1}
            << QStringLiteral("Il file Urbaflux-int-a: ha le interazioni di 3 aree, "
                              "l'elaborazione 2 aree.");
        QTest::newRow("negative") << QList<double>{1, -2, 7, 0}
                                  << QStringLiteral("coppia n. 2 non è un numero positivo");
        QTest::newRow("nothing") << QList<double>{0, 0, 0, 0}
                                 << QStringLiteral("il totale delle interazioni osservate è zero");
    }
    void valuesFromAnotherSource()
    {
        QFETCH(QList<double>, values);
        QFETCH(QString, error);
        const ObservedRead read = observedFromValues(
            std::vector<double>(values.begin(), values.end()), 2, QStringLiteral("Urbaflux-int-a"));
        QCOMPARE(read.ok(), error.isEmpty());
        if (!read.ok()) {
            QVERIFY2(read.error.contains(error), qPrintable(read.error));
            return;
        }
        QCOMPARE(read.value->pairs, 4);
        QCOMPARE(read.value->value[3], 7.0);
    }
};

QTEST_GUILESS_MAIN(TestCalibration)
#include "tst_calibration.moc"
