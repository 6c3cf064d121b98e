#include "calibrationcommand.h"

#include <archivefile.h>
#include <calculation.h>
#include <calibration.h>
#include <completearchive.h>
#include <numbertext.h>
#include <projectstate.h>
#include <titlepage.h>

#include <cmath>
#include <cstdio>
#include <memory>

namespace urbaflux {

namespace {

constexpr int kExitCompleted = 0;
constexpr int kExitNotCompleted = 1;
constexpr int kExitRefused = 2;
constexpr int kExitUsage = 64;
constexpr int kExitCannotWrite = 73;

const QString kValuta = QStringLiteral("--valuta");
const QString kCalibra = QStringLiteral("--calibra");
const QString kCriterio = QStringLiteral("--criterio");

struct Options
{
    QString input;
    QString observed;
    QString output;
    bool calibrate = false;
    bool json = false;
    CalibrationCriterion criterion = CalibrationCriterion::MaximumLikelihood;
};

void printError(const QString& text)
{
    const QByteArray bytes = (text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

bool writeStdout(const QString& text, bool utf8)
{
    const QByteArray bytes = utf8 ? text.toUtf8() : text.toLocal8Bit();
    const size_t written =
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    return written == static_cast<size_t>(bytes.size()) && std::fflush(stdout) == 0;
}

QString parseArguments(const QStringList& args, Options& options)
{
    bool criterionGiven = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == u"--json") {
            options.json = true;
        } else if (arg == kValuta || arg == kCalibra || arg == kCriterio || arg == u"-o") {
            if (i + 1 >= args.size() || args[i + 1].isEmpty())
                return QStringLiteral("manca il valore dopo %1").arg(arg);
            const QString value = args[++i];
            if (arg == kCriterio) {
                if (criterionGiven)
                    return QStringLiteral("%1 è indicato due volte").arg(arg);
                criterionGiven = true;
                if (value == u"verosimiglianza")
                    options.criterion = CalibrationCriterion::MaximumLikelihood;
                else if (value == u"sae")
                    options.criterion = CalibrationCriterion::LeastAbsoluteErrors;
                else
                    return QStringLiteral("criterio sconosciuto: %1 (verosimiglianza o sae)")
                        .arg(value);
            } else if (arg == u"-o") {
                if (!options.output.isEmpty())
                    return QStringLiteral("%1 è indicato due volte").arg(arg);
                options.output = value;
            } else {
                if (!options.observed.isEmpty())
                    return QStringLiteral("si usa una sola volta --valuta o --calibra");
                options.observed = value;
                options.calibrate = arg == kCalibra;
            }
        } else if (arg == u"--matrix") {
            return QStringLiteral("--matrix non si usa con --valuta o --calibra");
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            return QStringLiteral("opzione sconosciuta: %1").arg(arg);
        } else if (options.input.isEmpty()) {
            options.input = arg;
        } else {
            return QStringLiteral("un solo archivio alla volta: %1 è di troppo").arg(arg);
        }
    }
    if (options.input.isEmpty())
        return QStringLiteral("manca l'archivio da calcolare");
    if (!options.calibrate && (criterionGiven || !options.output.isEmpty()))
        return QStringLiteral("%1 si usa solo con --calibra")
            .arg(criterionGiven ? kCriterio : QStringLiteral("-o"));
    return QString();
}

QString number(double value)
{
    return std::isfinite(value) ? QString::number(value, 'g', 6) : QStringLiteral("n.d.");
}

QString jsonNumber(double value)
{
    return std::isfinite(value) ? shortestText(value) : QStringLiteral("null");
}

QString jsonString(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\')
            out += QLatin1Char('\\') + c;
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

QString fitText(const FitMeasures& fit, int n)
{
    return QStringLiteral("Coppie confrontate: %1 su %2\n"
                          "R² (osservate e calcolate): %3\n"
                          "SRMSE: %4\n"
                          "Somma degli errori assoluti: %5\n"
                          "Media di ln(distanza × peso / 100) pesata con le osservate: %6\n"
                          "Media di ln(distanza × peso / 100) pesata con le calcolate: %7\n"
                          "Quota del totale osservato riprodotta: %8%\n")
        .arg(QString::number(fit.pairs), QString::number(n * n), number(fit.rSquared),
             number(fit.srmse), number(fit.absoluteErrors), number(fit.observedMeanLogCost),
             number(fit.modelledMeanLogCost), number(100 * fit.reproducedShare));
}

QString fitJson(const FitMeasures& fit)
{
    return QStringLiteral("{\"pairs\": %1, \"rSquared\": %2, \"srmse\": %3, "
                          "\"absoluteErrors\": %4, \"observedMeanLogCost\": %5, "
                          "\"modelledMeanLogCost\": %6, \"observedTotal\": %7, "
                          "\"modelledTotal\": %8, \"reproducedShare\": %9}")
        .arg(QString::number(fit.pairs), jsonNumber(fit.rSquared), jsonNumber(fit.srmse),
             jsonNumber(fit.absoluteErrors), jsonNumber(fit.observedMeanLogCost),
             jsonNumber(fit.modelledMeanLogCost), jsonNumber(fit.observedTotal),
             jsonNumber(fit.modelledTotal), jsonNumber(fit.reproducedShare));
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
    }
    return QString();
}

int notCompleted(const CalculationOutcome& outcome)
{
    printError(QStringLiteral("Calcolo non completato: ") + describeOutcome(outcome) +
               QLatin1Char('.'));
    return kExitNotCompleted;
}

int evaluate(ProjectState& state, const ObservedInteractions& observed, const Options& options)
{
    const CalculationOutcome outcome = calculateInteractions(state);
    if (!outcome.completed())
        return notCompleted(outcome);
    const FitMeasures fit = measureFit(state, observed);
    const QString alpha = state.model.alpha.displayText();
    const bool written =
        options.json
            ? writeStdout(QStringLiteral("{\"alpha\": %1, \"fit\": %2}\n")
                              .arg(jsonString(alpha), fitJson(fit)),
                          true)
            : writeStdout(
                  QStringLiteral("Adattamento alle interazioni osservate (alfa %1)\n").arg(alpha) +
                      fitText(fit, state.areas.count),
                  false);
    return written ? kExitCompleted : kExitCannotWrite;
}

int calibrate(ProjectState& state, const TitlePage& titlePage, const ObservedInteractions& observed,
              const Options& options)
{
    const CalibrationResult result = calibrateAlpha(state, observed, options.criterion);
    const QString note = describeCalibration(result);
    const bool likelihood = options.criterion == CalibrationCriterion::MaximumLikelihood;
    const QString criterion =
        likelihood ? QStringLiteral("verosimiglianza") : QStringLiteral("sae");
    if (!result.usable()) {
        if (options.json)
            writeStdout(QStringLiteral("{\"status\": %1, \"message\": %2, \"criterion\": %3, "
                                       "\"evaluations\": %4}\n")
                            .arg(jsonString(statusName(result.status)), jsonString(note),
                                 jsonString(criterion), QString::number(result.evaluations)),
                        true);
        printError(QStringLiteral("Taratura non riuscita: ") + note + QLatin1Char('.'));
        return kExitNotCompleted;
    }

    // The archive takes alpha as a typed text; the results shown are those of that text.
    const QString alphaText = calibratedAlphaText(result.alpha);
    state.model.alpha = FieldValue::fromText(alphaText);
    const CalculationOutcome outcome = calculateInteractions(state);
    if (!outcome.completed())
        return notCompleted(outcome);
    const FitMeasures fit = measureFit(state, observed);
    if (!note.isEmpty())
        printError(QStringLiteral("Attenzione: ") + note + QLatin1Char('.'));

    bool written = false;
    if (options.json) {
        written = writeStdout(
            QStringLiteral("{\"status\": %1, \"message\": %2, \"criterion\": %3, \"alpha\": %4, "
                           "\"alphaText\": %5, \"evaluations\": %6, \"fit\": %7}\n")
                .arg(jsonString(statusName(result.status)), jsonString(note), jsonString(criterion),
                     jsonNumber(result.alpha), jsonString(alphaText),
                     QString::number(result.evaluations), fitJson(fit)),
            true);
    } else {
        QString text = QStringLiteral("Taratura di alfa per %1 (modello %2)\n"
                                      "Alfa tarato: %3\n"
                                      "Valutazioni del modello: %4\n")
                           .arg(likelihood ? QStringLiteral("massima verosimiglianza")
                                           : QStringLiteral("minima somma degli errori assoluti"),
                                modelKindLabel(state.model.kind), alphaText,
                                QString::number(result.evaluations));
        if (!note.isEmpty())
            text += QStringLiteral("Attenzione: ") + note + QStringLiteral(".\n");
        written = writeStdout(text + fitText(fit, state.areas.count), false);
    }
    if (!written)
        return kExitCannotWrite;
    if (!options.output.isEmpty()) {
        const SaveResult saved =
            saveArchiveBytes(options.output, writeCompleteBytes(state, titlePage));
        if (!saved.ok) {
            printError(saved.error);
            return kExitCannotWrite;
        }
    }
    return kExitCompleted;
}

} // namespace

bool isCalibrationCommand(const QStringList& arguments)
{
    if (arguments.contains(QStringLiteral("-h")) || arguments.contains(QStringLiteral("--help")))
        return false;
    return arguments.contains(kValuta) || arguments.contains(kCalibra) ||
           arguments.contains(kCriterio);
}

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

int runCalibrationCommand(const QStringList& arguments)
{
    Options options;
    const QString problem = parseArguments(arguments, options);
    if (!problem.isEmpty()) {
        printError(QStringLiteral("urbaflux-calc: ") + problem + QLatin1Char('\n'));
        printError(calibrationUsageText().mid(1));
        return kExitUsage;
    }
    if (options.observed.isEmpty()) {
        printError(QStringLiteral("urbaflux-calc: manca il file delle interazioni osservate"));
        return kExitUsage;
    }

    const Parsed<CompleteRecord> archive = readCompleteFile(options.input, ArchiveSource::AnyFile);
    if (!archive.ok()) {
        printError(archive.error);
        return kExitRefused;
    }
    auto state = std::make_unique<ProjectState>();
    applyDefaults(*state);
    TitlePage titlePage;
    applyComplete(*archive.value, *state, titlePage);
    computeAreaTotals(*state);

    const ObservedRead observed = readObservedInteractions(options.observed, state->areas.count);
    if (!observed.ok()) {
        printError(observed.error);
        return kExitRefused;
    }
    return options.calibrate ? calibrate(*state, titlePage, *observed.value, options)
                             : evaluate(*state, *observed.value, options);
}

} // namespace urbaflux
