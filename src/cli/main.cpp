// urbaflux-calc INPUT [-o OUTPUT] [--matrix CSV] [--json] [--report FILE [--studio NOME]
//               [--indirizzo TESTO]]
//
// Reads a complete archive, recalculates it as the distances window would right after
// start-up (fresh balancing factors), and writes the complete archive with the new results,
// byte for byte as the program saves it. For batch work and scripts.
//
// Exit status: 0 the calculation completed; 1 it did not (the reason on standard error);
// 2 the archive was refused; 64 wrong usage; 73 an output file could not be written; 74 the
// report could not be written.

#include "calibrationcommand.h"

#include <archivefile.h>
#include <calculation.h>
#include <completearchive.h>
#include <numbertext.h>
#include <projectstate.h>
#include <titlepage.h>

#include "reportoption.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace urbaflux;

namespace {

constexpr int kExitCompleted = 0;
constexpr int kExitNotCompleted = 1;
constexpr int kExitRefused = 2;
constexpr int kExitUsage = 64;
constexpr int kExitCannotWrite = 73;

struct Options
{
    QString input;
    QString output;
    QString matrix;
    bool json = false;
    bool help = false;
    ReportOptions report;
};

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

void printError(const QString& text)
{
    const QByteArray bytes = (text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

// Writes to standard output; a failure (a full disk, a closed output) is told on standard
// error, since the exit status alone says nothing of why.
bool writeStdout(const QByteArray& bytes)
{
    errno = 0;
    const size_t written =
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    if (written == static_cast<size_t>(bytes.size()) && std::fflush(stdout) == 0)
        return true;
    const int error = errno;
    printError(QStringLiteral("urbaflux-calc: impossibile scrivere sullo standard output: %1.")
                   .arg(error == EBADF ? QStringLiteral("lo standard output è chiuso")
                                       : fileErrorReason(error)));
    return false;
}

// A standard descriptor closed at start would be taken by the next file opened, and what is
// meant for the output would land in it. /dev/null read-only holds the number instead, so
// that writes to it still fail and are told.
void holdClosedStandardDescriptors()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        const int opened = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
}

// Whether two output names reach the same file (the same name, through a link, or a
// different spelling of the folder).
bool sameFile(const QString& a, const QString& b)
{
    struct stat first = {};
    struct stat second = {};
    if (::stat(QFile::encodeName(a).constData(), &first) == 0 &&
        ::stat(QFile::encodeName(b).constData(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    const auto normal = [](const QString& path) {
        const QFileInfo info(path);
        QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
        if (folder.isEmpty())
            folder = info.absolutePath();
        return QDir::cleanPath(QDir(folder).filePath(info.fileName()));
    };
    return normal(a) == normal(b);
}

// Returns the error text, empty when the arguments are usable.
QString parseArguments(const QStringList& args, Options& options)
{
    QString reportError;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == u"-h" || arg == u"--help") {
            options.help = true;
        } else if (arg == u"--json") {
            options.json = true;
        } else if (arg == u"-o" || arg == u"--matrix") {
            if (i + 1 >= args.size())
                return QStringLiteral("manca il nome del file dopo %1").arg(arg);
            QString& target = arg == u"-o" ? options.output : options.matrix;
            if (!target.isEmpty())
                return QStringLiteral("%1 è indicato due volte").arg(arg);
            target = args[++i];
            if (target.isEmpty())
                return QStringLiteral("il nome del file dopo %1 è vuoto").arg(arg);
        } else if (const OptionTaken taken =
                       takeReportOption(args, i, options.report, &reportError);
                   taken != OptionTaken::No) {
            if (taken == OptionTaken::Error)
                return reportError;
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            return QStringLiteral("opzione sconosciuta: %1").arg(printableExcerpt(arg));
        } else if (options.input.isEmpty()) {
            options.input = arg;
            if (options.input.isEmpty())
                return QStringLiteral("il nome dell'archivio è vuoto");
        } else {
            return QStringLiteral("un solo archivio alla volta: %1 è di troppo")
                .arg(archiveDisplayName(arg));
        }
    }
    // The archive would replace the matrix just written.
    if (!options.output.isEmpty() && !options.matrix.isEmpty() &&
        sameFile(options.output, options.matrix))
        return QStringLiteral("-o e --matrix indicano lo stesso file: %1")
            .arg(archiveDisplayName(options.output));
    // The report would replace the archive it is made from, or the files written before it.
    for (const QString& other : {options.input, options.output, options.matrix}) {
        if (!options.report.path.isEmpty() && !other.isEmpty() &&
            sameFile(options.report.path, other))
            return QStringLiteral("--report indica un file già usato: %1")
                .arg(archiveDisplayName(options.report.path));
    }
    if (!options.help && options.input.isEmpty())
        return QStringLiteral("manca l'archivio da calcolare");
    return QString();
}

// JSON has no NaN or infinity; no completed calculation gives them, but an archive may.
QString jsonNumber(double value)
{
    return std::isfinite(value) ? shortestText(value) : QStringLiteral("null");
}
QString jsonNumber(float value)
{
    return std::isfinite(value) ? shortestText(value) : QStringLiteral("null");
}

QString jsonString(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            out += QStringLiteral("\\\"");
            break;
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + QLatin1Char('"');
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

QByteArray jsonReport(const ProjectState& state, const CalculationOutcome& outcome)
{
    const int n = state.areas.count;
    const InteractionTable& results = state.interactions;
    QStringList interactions;
    for (int k = 1; k <= n * n; ++k)
        interactions << jsonNumber(results.interaction[k]);
    QStringList origins;
    QStringList destinations;
    for (int i = 1; i <= n; ++i) {
        origins << jsonNumber(results.estimatedOrigins[i]);
        destinations << jsonNumber(results.estimatedDestinations[i]);
    }
    const QString comma = QStringLiteral(", ");
    const QString json =
        QStringLiteral("{\"status\": %1, \"reason\": %2, \"passes\": %3, \"totalOrigins\": %4, "
                       "\"totalDestinations\": %5, \"totalInteractions\": %6, "
                       "\"interactions\": [%7], \"estimatedOrigins\": [%8], "
                       "\"estimatedDestinations\": [%9]}\n")
            .arg(jsonString(statusName(outcome.status)), jsonString(describeOutcome(outcome)),
                 QString::number(outcome.passes), jsonNumber(state.areas.totalOrigins),
                 jsonNumber(state.areas.totalDestinations), jsonNumber(results.totalInteractions),
                 interactions.join(comma), origins.join(comma), destinations.join(comma));
    return json.toUtf8();
}

QByteArray matrixCsv(const ProjectState& state)
{
    const int n = state.areas.count;
    QString csv;
    for (int j = 1; j <= n; ++j)
        csv += QLatin1Char(',') + QString::number(j);
    csv += QStringLiteral("\r\n");
    for (int i = 1; i <= n; ++i) {
        csv += QString::number(i);
        for (int j = 1; j <= n; ++j)
            csv += QLatin1Char(',') + QString::number(state.interactions.matrix(i, j), 'g', 17);
        csv += QStringLiteral("\r\n");
    }
    return csv.toUtf8();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    const SaveResult saved = saveArchiveBytes(path, bytes);
    if (saved.ok)
        return true;
    printError(saved.error);
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir())
        printError(QStringLiteral("Senza -o l'archivio è scritto sullo standard output."));
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    holdClosedStandardDescriptors();
    ignoreFileSizeSignal();
    const auto app = makeCalcApplication(argc, argv);
    if (isCalibrationCommand(QCoreApplication::arguments()))
        return runCalibrationCommand(QCoreApplication::arguments());
    Options options;
    const QString problem = parseArguments(QCoreApplication::arguments(), options);
    if (!problem.isEmpty()) {
        printError(QStringLiteral("urbaflux-calc: ") + problem + QLatin1Char('\n'));
        printError(usageText() + reportUsageText() + calibrationUsageText());
        return kExitUsage;
    }
    if (options.help)
        return writeStdout((usageText() + reportUsageText() + calibrationUsageText()).toLocal8Bit())
                   ? kExitCompleted
                   : kExitCannotWrite;

    // Pipes and devices too: "urbaflux-calc /dev/stdin" and process substitution are for scripts.
    const Parsed<CompleteRecord> archive = readCompleteFile(options.input, ArchiveSource::AnyFile);
    if (!archive.ok()) {
        printError(archive.error);
        return kExitRefused;
    }

    // As right after start-up: defaults, then everything the archive holds.
    auto state = std::make_unique<ProjectState>();
    applyDefaults(*state);
    TitlePage titlePage;
    applyComplete(*archive.value, *state, titlePage);
    computeAreaTotals(*state);
    const CalculationOutcome outcome = calculateInteractions(*state);

    if (options.json && !writeStdout(jsonReport(*state, outcome)))
        return kExitCannotWrite;
    if (!outcome.completed()) {
        printError(QStringLiteral("Calcolo non completato: ") + describeOutcome(outcome) +
                   QLatin1Char('.'));
        return kExitNotCompleted;
    }

    if (!options.matrix.isEmpty() && !writeFile(options.matrix, matrixCsv(*state)))
        return kExitCannotWrite;
    const QByteArray bytes = writeCompleteBytes(*state, titlePage);
    if (!options.output.isEmpty()) {
        if (!writeFile(options.output, bytes))
            return kExitCannotWrite;
    } else if (!options.json && options.report.path.isEmpty()) {
        // What goes to standard output usually ends in a file: the readers' limit holds too.
        if (bytes.size() > kMaxArchiveBytes) {
            printError(QStringLiteral("Archivio non scritto: supererebbe i %1 che il programma può "
                                      "rileggere.")
                           .arg(archiveSizeLimitText()));
            return kExitCannotWrite;
        }
        if (!writeStdout(bytes))
            return kExitCannotWrite;
    }
    if (!options.report.path.isEmpty()) {
        QString error;
        if (!writeReportFile(options.report, *state, titlePage, &error)) {
            printError(error);
            return kExitReportNotWritten;
        }
    }
    return kExitCompleted;
}
