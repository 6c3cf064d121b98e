#include "calibrationcommand.h"

#include <calculation.h>
#include <calibration.h>
#include <completearchive.h>
#include <numbertext.h>
#include <projectstate.h>
#include <titlepage.h>

#include <QJsonArray>
#include <QJsonObject>
#include <cmath>

namespace urbaflux {

namespace {

const QString kValuta = QStringLiteral("valuta");
const QString kCalibra = QStringLiteral("calibra");
const QString kCriterio = QStringLiteral("criterio");

QString check(const QCommandLineParser& args)
{
    QString input;
    if (const QString problem = singleArchiveArgument(args, &input); !problem.isEmpty())
        return problem;
    if (args.isSet(kValuta) && args.isSet(kCalibra))
        return QStringLiteral("si usa una sola volta --valuta o --calibra");
    const QString observed = args.value(args.isSet(kCalibra) ? kCalibra : kValuta);
    for (const QString& name : {kValuta, kCalibra, kCriterio, QStringLiteral("o")}) {
        if (args.isSet(name) && args.value(name).isEmpty())
            return QStringLiteral("manca il valore dopo %1").arg(optionText(name));
    }
    if (args.isSet(kCriterio)) {
        const QString value = args.value(kCriterio);
        if (value != u"verosimiglianza" && value != u"sae")
            return QStringLiteral("criterio sconosciuto: %1 (verosimiglianza o sae)")
                .arg(printableExcerpt(value));
    }
    if (!args.isSet(kCalibra)) {
        for (const QString& name : {kCriterio, QStringLiteral("o")}) {
            if (args.isSet(name) && args.isSet(kValuta))
                return QStringLiteral("%1 si usa solo con --calibra").arg(optionText(name));
        }
    }
    if (observed.isEmpty())
        return QStringLiteral("manca il file delle interazioni osservate");
    return QString();
}

QString number(double value)
{
    return std::isfinite(value) ? QString::number(value, 'g', 6) : QStringLiteral("n.d.");
}

QString fitText(const FitMeasures& fit, int n)
{
    QString text;
    for (const FitLine& line : fitLines(fit, n))
        text += line.label + QStringLiteral(": ") + line.value + QLatin1Char('\n');
    return text;
}

// The table of the trip-length distribution, for people.
QString lengthsText(const TripLengthDistribution& lengths)
{
    QString text = QStringLiteral("Distribuzione delle lunghezze (distanza × peso / 100):\n"
                                  "%1 %2 %3 %4\n")
                       .arg(QStringLiteral("da"), 12)
                       .arg(QStringLiteral("a"), 12)
                       .arg(QStringLiteral("osservate"), 12)
                       .arg(QStringLiteral("calcolate"), 12);
    for (const TripLengthBand& band : lengths.bands)
        text += QStringLiteral("%1 %2 %3 %4\n")
                    .arg(number(band.from), 12)
                    .arg(number(band.to), 12)
                    .arg(number(band.observed), 12)
                    .arg(number(band.modelled), 12);
    if (lengths.unplaced > 0)
        text += QStringLiteral("Coppie senza distanza × peso positivo: %1\n").arg(lengths.unplaced);
    return text;
}

QJsonArray lengthsJson(const TripLengthDistribution& lengths)
{
    QJsonArray bands;
    for (const TripLengthBand& band : lengths.bands)
        bands.append(QJsonObject{{QStringLiteral("da"), jsonNumber(band.from)},
                                 {QStringLiteral("a"), jsonNumber(band.to)},
                                 {QStringLiteral("osservate"), jsonNumber(band.observed)},
                                 {QStringLiteral("calcolate"), jsonNumber(band.modelled)}});
    return bands;
}

QJsonObject fitJson(const FitMeasures& fit)
{
    return {
        {QStringLiteral("pairs"), fit.pairs},
        {QStringLiteral("rSquared"), jsonNumber(fit.rSquared)},
        {QStringLiteral("srmse"), jsonNumber(fit.srmse)},
        {QStringLiteral("absoluteErrors"), jsonNumber(fit.absoluteErrors)},
        {QStringLiteral("observedMeanLogCost"), jsonNumber(fit.observedMeanLogCost)},
        {QStringLiteral("modelledMeanLogCost"), jsonNumber(fit.modelledMeanLogCost)},
        {QStringLiteral("observedTotal"), jsonNumber(fit.observedTotal)},
        {QStringLiteral("modelledTotal"), jsonNumber(fit.modelledTotal)},
        {QStringLiteral("reproducedShare"), jsonNumber(fit.reproducedShare)},
    };
}

QString statusName(CalibrationResult::Status status)
{
    switch (status) {
    case CalibrationResult::Status::Found:
        return QStringLiteral("ok");
    case CalibrationResult::Status::AtLowerEnd:
        return QStringLiteral("lower-end");
    case CalibrationResult::Status::AtUpperEnd:
        return QStringLiteral("upper-end");
    case CalibrationResult::Status::NotConverged:
        return QStringLiteral("not-converged");
    case CalibrationResult::Status::Stopped:
        return QStringLiteral("stopped");
    case CalibrationResult::Status::Cancelled:
        return QStringLiteral("cancelled");
    }
    return QString();
}

int notCompleted(Output& out, const CalculationOutcome& outcome)
{
    out.error(QStringLiteral("Calcolo non completato: ") + describeOutcome(outcome) +
              QLatin1Char('.'));
    return kExitNotCompleted;
}

int evaluate(Output& out, ProjectState& state, const ObservedInteractions& observed, bool json)
{
    const CalculationOutcome outcome = calculateInteractions(state);
    if (!outcome.completed())
        return notCompleted(out, outcome);
    const FitMeasures fit = measureFit(state, observed);
    const TripLengthDistribution lengths = tripLengthDistribution(state, observed);
    const QString alpha = state.model.alpha.displayText();
    const bool written =
        json ? out.json({{QStringLiteral("alpha"), alpha},
                         {QStringLiteral("fit"), fitJson(fit)},
                         {QStringLiteral("distribuzione_lunghezze"), lengthsJson(lengths)}})
             : out.text(
                   QStringLiteral("Adattamento alle interazioni osservate (alfa %1)\n").arg(alpha) +
                   fitText(fit, state.areas.count) + lengthsText(lengths));
    return written ? kExitCompleted : kExitCannotWrite;
}

int calibrate(Output& out, ProjectState& state, const TitlePage& titlePage,
              const ObservedInteractions& observed, const QCommandLineParser& args)
{
    const bool likelihood = args.value(kCriterio) != u"sae";
    const CalibrationResult result =
        calibrateAlpha(state, observed,
                       likelihood ? CalibrationCriterion::MaximumLikelihood
                                  : CalibrationCriterion::LeastAbsoluteErrors);
    const QString note = describeCalibration(result);
    const QString criterion =
        likelihood ? QStringLiteral("verosimiglianza") : QStringLiteral("sae");
    const bool json = args.isSet(QStringLiteral("json"));
    if (!result.usable()) {
        if (json && !out.json({{QStringLiteral("status"), statusName(result.status)},
                               {QStringLiteral("message"), note},
                               {QStringLiteral("criterion"), criterion},
                               {QStringLiteral("evaluations"), result.evaluations}}))
            return kExitCannotWrite;
        out.error(QStringLiteral("Taratura non riuscita: ") + note + QLatin1Char('.'));
        return kExitNotCompleted;
    }

    // The archive takes alpha as a typed text; the results shown are those of that text.
    const QString alphaText = calibratedAlphaText(result.alpha);
    state.model.alpha = FieldValue::fromText(alphaText);
    const CalculationOutcome outcome = calculateInteractions(state);
    if (!outcome.completed())
        return notCompleted(out, outcome);
    const FitMeasures fit = measureFit(state, observed);
    if (!note.isEmpty())
        out.error(QStringLiteral("Attenzione: ") + note + QLatin1Char('.'));

    bool written = false;
    if (json) {
        written = out.json({{QStringLiteral("status"), statusName(result.status)},
                            {QStringLiteral("message"), note},
                            {QStringLiteral("criterion"), criterion},
                            {QStringLiteral("alpha"), jsonNumber(result.alpha)},
                            {QStringLiteral("alphaText"), alphaText},
                            {QStringLiteral("evaluations"), result.evaluations},
                            {QStringLiteral("fit"), fitJson(fit)}});
    } else {
        QString text =
            QStringLiteral("Taratura di alfa per %1 (modello %2)\n"
                           "Alfa tarato: %3\n"
                           "Valutazioni del modello: %4\n")
                .arg(criterionName(likelihood ? CalibrationCriterion::MaximumLikelihood
                                              : CalibrationCriterion::LeastAbsoluteErrors),
                     modelKindLabel(state.model.kind), alphaText,
                     QString::number(result.evaluations));
        if (!note.isEmpty())
            text += QStringLiteral("Attenzione: ") + note + QStringLiteral(".\n");
        written = out.text(text + fitText(fit, state.areas.count));
    }
    if (!written)
        return kExitCannotWrite;
    if (const QString output = args.value(QStringLiteral("o"));
        !output.isEmpty() && !out.file(output, writeCompleteBytes(state, titlePage)))
        return kExitCannotWrite;
    return kExitCompleted;
}

int run(const QCommandLineParser& args, Output& out)
{
    LoadedArchive archive;
    if (!loadCompleteArchive(args.positionalArguments().constFirst(), out, archive))
        return kExitRefused;
    ProjectState& state = *archive.state;
    const bool calibrating = args.isSet(kCalibra);
    const ObservedRead observed =
        readObservedInteractions(args.value(calibrating ? kCalibra : kValuta), state.areas.count);
    if (!observed.ok()) {
        out.error(observed.error);
        return kExitRefused;
    }
    return calibrating ? calibrate(out, state, *archive.titlePage, *observed.value, args)
                       : evaluate(out, state, *observed.value, args.isSet(QStringLiteral("json")));
}

} // namespace

QString calibrationUsageText()
{
    return QStringLiteral(
        "\n"
        "Confronto con le interazioni osservate e taratura di alfa:\n"
        "\n"
        "Uso: urbaflux-calc ARCHIVIO --valuta OSSERVATE [--json]\n"
        "     urbaflux-calc ARCHIVIO --calibra OSSERVATE [--criterio CRITERIO] [-o USCITA]\n"
        "                   [--json]\n"
        "\n"
        "  --valuta OSSERVATE   calcola l'archivio con il suo alfa e lo confronta con le\n"
        "                       interazioni osservate: R², SRMSE, somma degli errori\n"
        "                       assoluti, media di ln(distanza × peso / 100) pesata con le\n"
        "                       osservate e con le calcolate, quota del totale osservato\n"
        "                       riprodotta\n"
        "  --calibra OSSERVATE  cerca tra 0 e 10 il valore alfa che meglio riproduce le\n"
        "                       interazioni osservate e ne stampa l'adattamento; con -o\n"
        "                       scrive l'archivio con l'alfa tarato (6 cifre significative)\n"
        "                       e i risultati ricalcolati\n"
        "  --criterio CRITERIO  verosimiglianza (predefinito: massima verosimiglianza, cioè\n"
        "                       le due medie di ln(distanza × peso / 100) coincidono)\n"
        "                       oppure sae (minima somma degli errori assoluti)\n"
        "  --json               stampa i risultati in JSON\n"
        "\n"
        "OSSERVATE è un file CSV: la matrice quadrata con le intestazioni 1..N, come la\n"
        "scrive --matrix, oppure righe origine,destinazione,valore (numeri delle aree da 1,\n"
        "riga di intestazione facoltativa). Separatore \",\" o \";\", punto decimale \".\".\n"
        "Le coppie assenti o vuote restano fuori dal confronto.\n"
        "\n"
        "Stato di uscita: 0 fatto (un avviso se l'alfa migliore è a un estremo di 0-10);\n"
        "1 calcolo o taratura non completati; 2 archivio o file delle osservate non valido;\n"
        "64 uso errato; 73 file di uscita non scrivibile.\n");
}

Command calibrationCommand()
{
    Command command;
    command.selectors = {kValuta, kCalibra, kCriterio};
    command.title = QStringLiteral("--valuta o --calibra");
    command.options = {
        {kValuta, QStringLiteral("confronta con le interazioni osservate"),
         QStringLiteral("OSSERVATE")},
        {kCalibra, QStringLiteral("tara alfa sulle interazioni osservate"),
         QStringLiteral("OSSERVATE")},
        {kCriterio, QStringLiteral("verosimiglianza o sae"), QStringLiteral("CRITERIO")},
        outputOption(),
        jsonOption(),
    };
    command.usage = calibrationUsageText;
    command.check = check;
    command.run = run;
    return command;
}

} // namespace urbaflux
