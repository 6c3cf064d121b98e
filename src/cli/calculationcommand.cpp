#include "calculationcommand.h"

#include "reportoption.h"

#include <archivefile.h>
#include <calculation.h>
#include <completearchive.h>
#include <projectstate.h>
#include <titlepage.h>

#include <QFileInfo>
#include <QJsonArray>

namespace urbaflux {

namespace {

const QString kMatrix = QStringLiteral("matrix");

QString usageText()
{
    return QStringLiteral(
        "Uso: urbaflux-calc ARCHIVIO [-o USCITA] [--matrix CSV] [--json]\n"
        "\n"
        "Ricalcola le interazioni di un archivio completo (Urbaflux-tot-) e scrive l'archivio\n"
        "con i nuovi risultati in USCITA, o sullo standard output.\n"
        "\n"
        "  -o USCITA       scrive l'archivio nel file USCITA\n"
        "  --matrix CSV    scrive anche la matrice delle interazioni non arrotondate\n"
        "  --json          stampa i risultati in JSON al posto dell'archivio\n"
        "  -h, --help      mostra questo aiuto\n"
        "\n"
        "Stato di uscita: 0 calcolo completato; 1 calcolo non completato; 2 archivio non\n"
        "valido; 64 uso errato; 73 file di uscita non scrivibile.\n");
}

QString check(const QCommandLineParser& args)
{
    QString input;
    if (const QString problem = singleArchiveArgument(args, &input); !problem.isEmpty())
        return problem;
    const QString output = args.value(QStringLiteral("o"));
    const QString matrix = args.value(kMatrix);
    for (const QString& name : {QStringLiteral("o"), kMatrix}) {
        if (args.isSet(name) && args.value(name).isEmpty())
            return QStringLiteral("il nome del file dopo %1 è vuoto").arg(optionText(name));
    }
    // The archive would replace the matrix just written.
    if (!output.isEmpty() && !matrix.isEmpty() && sameFile(output, matrix))
        return QStringLiteral("-o e --matrix indicano lo stesso file: %1")
            .arg(archiveDisplayName(output));
    QString error;
    const ReportOptions report = reportOptionsFrom(args, &error);
    if (!error.isEmpty())
        return error;
    // The report would replace the archive it is made from, or the files written before it.
    for (const QString& other : {input, output, matrix}) {
        if (!report.path.isEmpty() && !other.isEmpty() && sameFile(report.path, other))
            return QStringLiteral("--report indica un file già usato: %1")
                .arg(archiveDisplayName(report.path));
    }
    return QString();
}

QString statusName(CalculationOutcome::Status status)
{
    switch (status) {
    case CalculationOutcome::Status::Completed:
        return QStringLiteral("ok");
    case CalculationOutcome::Status::Stopped:
        return QStringLiteral("stopped");
    case CalculationOutcome::Status::NotConverged:
        return QStringLiteral("not-converged");
    }
    return QString();
}

QJsonObject jsonReport(const ProjectState& state, const CalculationOutcome& outcome)
{
    const int n = state.areas.count;
    const InteractionTable& results = state.interactions;
    QJsonArray interactions;
    for (int k = 1; k <= n * n; ++k)
        interactions.append(jsonNumber(results.interaction[k]));
    QJsonArray origins;
    QJsonArray destinations;
    for (int i = 1; i <= n; ++i) {
        origins.append(jsonNumber(results.estimatedOrigins[i]));
        destinations.append(jsonNumber(results.estimatedDestinations[i]));
    }
    return {
        {QStringLiteral("status"), statusName(outcome.status)},
        {QStringLiteral("reason"), describeOutcome(outcome)},
        {QStringLiteral("passes"), outcome.passes},
        {QStringLiteral("totalOrigins"), jsonNumber(state.areas.totalOrigins)},
        {QStringLiteral("totalDestinations"), jsonNumber(state.areas.totalDestinations)},
        {QStringLiteral("totalInteractions"), jsonNumber(results.totalInteractions)},
        {QStringLiteral("interactions"), interactions},
        {QStringLiteral("estimatedOrigins"), origins},
        {QStringLiteral("estimatedDestinations"), destinations},
    };
}

bool writeFile(Output& out, const QString& path, const QByteArray& bytes)
{
    if (out.file(path, bytes))
        return true;
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir())
        out.error(QStringLiteral("Senza -o l'archivio è scritto sullo standard output."));
    return false;
}

int run(const QCommandLineParser& args, Output& out)
{
    LoadedArchive archive;
    if (!loadCompleteArchive(args.positionalArguments().constFirst(), out, archive))
        return kExitRefused;
    ProjectState& state = *archive.state;
    const CalculationOutcome outcome = calculateInteractions(state);

    const bool json = args.isSet(QStringLiteral("json"));
    if (json && !out.json(jsonReport(state, outcome)))
        return kExitCannotWrite;
    if (!outcome.completed()) {
        out.error(QStringLiteral("Calcolo non completato: ") + describeOutcome(outcome) +
                  QLatin1Char('.'));
        return kExitNotCompleted;
    }

    const QString matrix = args.value(kMatrix);
    if (!matrix.isEmpty() &&
        !writeFile(out, matrix, matrixCsv(state.areas.count, [&state](int i, int j) {
                       return state.interactions.matrix(i, j);
                   })))
        return kExitCannotWrite;
    QString error;
    const ReportOptions report = reportOptionsFrom(args, &error);
    const QByteArray bytes = writeCompleteBytes(state, *archive.titlePage);
    if (const QString output = args.value(QStringLiteral("o")); !output.isEmpty()) {
        if (!writeFile(out, output, bytes))
            return kExitCannotWrite;
    } else if (!json && report.path.isEmpty()) {
        // What goes to standard output usually ends in a file: the readers' limit holds too.
        if (bytes.size() > kMaxArchiveBytes) {
            out.error(QStringLiteral("Archivio non scritto: supererebbe i %1 che il programma può "
                                     "rileggere.")
                          .arg(archiveSizeLimitText()));
            return kExitCannotWrite;
        }
        if (!out.bytes(bytes))
            return kExitCannotWrite;
    }
    if (!report.path.isEmpty() && !writeReportFile(report, state, *archive.titlePage, &error)) {
        out.error(error);
        return kExitReportNotWritten;
    }
    return kExitCompleted;
}

} // namespace

Command calculationCommand()
{
    Command command;
    command.title = QStringLiteral("il ricalcolo dell'archivio");
    command.options = {outputOption(), jsonOption(),
                       QCommandLineOption(kMatrix,
                                          QStringLiteral("la matrice delle interazioni in CSV"),
                                          QStringLiteral("CSV"))};
    command.options += reportOptions();
    command.drawingOptions = {kReportOptionName};
    command.usage = [] { return usageText() + reportUsageText(); };
    command.check = check;
    command.run = run;
    return command;
}

} // namespace urbaflux
