#include "scenariocommands.h"

#include <archivefile.h>
#include <calculation.h>
#include <completearchive.h>
#include <flowmap.h>
#include <numbertext.h>
#include <projectstate.h>
#include <scenariocomparison.h>
#include <titlepage.h>
#include <zonepackage.h>

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <cstdio>
#include <memory>

namespace urbaflux {

namespace {

const QString kMappa = QStringLiteral("--mappa");
const QString kPrimi = QStringLiteral("--primi");
const QString kConfronta = QStringLiteral("--confronta");

void printError(const QString& text)
{
    const QByteArray bytes = (text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

struct Options
{
    QString input;
    QString map;
    QString base;
    QString matrix;
    int flows = kDefaultMapFlows;
    bool json = false;
};

// The options as the parser read them; the reason when they cannot be used.
QString optionsFrom(const QCommandLineParser& args, Options& options)
{
    if (const QString problem = singleArchiveArgument(args, &options.input); !problem.isEmpty())
        return problem;
    options.map = args.value(kMappa.mid(2));
    options.base = args.value(kConfronta.mid(2));
    options.matrix = args.value(QStringLiteral("matrix"));
    options.json = args.isSet(QStringLiteral("json"));
    if (args.isSet(kMappa.mid(2)) && options.map.isEmpty())
        return QStringLiteral("manca il valore dopo %1").arg(kMappa);
    if (args.isSet(kConfronta.mid(2)) && options.base.isEmpty())
        return QStringLiteral("manca il valore dopo %1").arg(kConfronta);
    if (args.isSet(kPrimi.mid(2))) {
        const QString value = args.value(kPrimi.mid(2));
        bool ok = false;
        options.flows = value.toInt(&ok);
        if (!ok || options.flows < kMinMapFlows || options.flows > kMaxMapFlows)
            return QStringLiteral("--primi vuole un numero intero da %1 a %2: %3")
                .arg(kMinMapFlows)
                .arg(kMaxMapFlows)
                .arg(printableExcerpt(value));
    }
    return QString();
}

QString checkOptions(const QCommandLineParser& args)
{
    Options options;
    return optionsFrom(args, options);
}

// Reads and computes a complete archive as right after start-up. Null, with the exit status in
// `status`, when the archive is refused or its calculation does not complete.
std::unique_ptr<ProjectState> computedArchive(const QString& path, int& status)
{
    const Parsed<CompleteRecord> archive = readCompleteFile(path, ArchiveSource::AnyFile);
    if (!archive.ok()) {
        printError(archive.error);
        status = kExitRefused;
        return nullptr;
    }
    auto state = std::make_unique<ProjectState>();
    applyDefaults(*state);
    TitlePage titlePage;
    applyComplete(*archive.value, *state, titlePage);
    // Not the live state of a window: nothing listens to it.
    state->notifier = nullptr;
    computeAreaTotals(*state);
    const CalculationOutcome outcome = calculateInteractions(*state);
    if (!outcome.completed()) {
        printError(QStringLiteral("%1: calcolo non completato: %2.")
                       .arg(archiveDisplayName(path), describeOutcome(outcome)));
        status = kExitNotCompleted;
        return nullptr;
    }
    return state;
}

QString percentText(const std::optional<double>& percent)
{
    return percent ? QString::number(*percent, 'f', 2) + QLatin1Char('%') : QStringLiteral("-");
}

int runMap(const Options& options)
{
    int status = kExitCompleted;
    auto state = computedArchive(options.input, status);
    if (!state)
        return status;
    QString error;
    if (!loadCompanionZones(options.input, *state, &error)) {
        printError(error);
        return kExitRefused;
    }
    if (!writeFlowMapFile(*state, options.map, options.flows, &error)) {
        printError(error);
        return kExitCannotWrite;
    }
    return kExitCompleted;
}

int runCompare(const Options& options, Output& output)
{
    int status = kExitCompleted;
    auto project = computedArchive(options.input, status);
    if (!project)
        return status;
    auto base = computedArchive(options.base, status);
    if (!base)
        return status;
    const ScenarioComparison comparison = compareScenarios(*base, *project);
    if (!comparison.comparable()) {
        printError(QStringLiteral("Gli archivi %1 e %2 hanno aree diverse: nessun confronto.")
                       .arg(archiveDisplayName(options.input), archiveDisplayName(options.base)));
        for (const QString& line : comparison.refusal)
            printError(QStringLiteral("- ") + line);
        return kExitRefused;
    }
    if (!options.matrix.isEmpty()) {
        const SaveResult saved = saveArchiveBytes(options.matrix, differenceMatrixCsv(comparison));
        if (!saved.ok) {
            printError(saved.error);
            return kExitCannotWrite;
        }
    }
    const QByteArray out = options.json
                               ? comparisonJson(comparison)
                               : comparisonText(comparison, archiveDisplayName(options.input),
                                                archiveDisplayName(options.base));
    return output.bytes(out) ? kExitCompleted : kExitCannotWrite;
}

} // namespace

Command mapCommand()
{
    Command command;
    command.selectors = {kMappa.mid(2)};
    command.title = kMappa;
    command.options = {
        {kMappa.mid(2), QStringLiteral("disegna la mappa delle gravitazioni in FILE"),
         QStringLiteral("FILE")},
        {kPrimi.mid(2), QStringLiteral("le relazioni mostrate"), QStringLiteral("N")},
    };
    // The names on the map need fonts, hence a widget application.
    command.drawingOptions = {kMappa.mid(2)};
    command.usage = scenarioUsageText;
    command.check = checkOptions;
    command.run = [](const QCommandLineParser& args, Output&) {
        Options options;
        optionsFrom(args, options);
        return runMap(options);
    };
    return command;
}

Command comparisonCommand()
{
    Command command;
    command.selectors = {kConfronta.mid(2)};
    command.title = kConfronta;
    command.options = {
        {kConfronta.mid(2), QStringLiteral("confronta con lo scenario di base BASE"),
         QStringLiteral("BASE")},
        {QStringLiteral("matrix"), QStringLiteral("la matrice delle differenze in CSV"),
         QStringLiteral("CSV")},
        jsonOption(),
    };
    // The help text of both commands is one; the map's command prints it.
    command.usage = [] { return QString(); };
    command.check = checkOptions;
    command.run = [](const QCommandLineParser& args, Output& out) {
        Options options;
        optionsFrom(args, options);
        return runCompare(options, out);
    };
    return command;
}

QString scenarioUsageText()
{
    return QStringLiteral(
        "\n"
        "Mappa delle gravitazioni e confronto di scenari:\n"
        "  ARCHIVIO --mappa FILE [--primi N]\n"
        "                  disegna la mappa delle N relazioni maggiori (20; da 5 a 200) in\n"
        "                  FILE (.png, .svg o .pdf); le zone vengono da ARCHIVIO.gpkg\n"
        "  PROGETTO --confronta BASE [--json] [--matrix DIFF]\n"
        "                  ricalcola i due archivi e mostra le variazioni del progetto rispetto\n"
        "                  alla base, per area e per coppia; --matrix scrive la matrice delle\n"
        "                  differenze; aree diverse: stato di uscita 2\n");
}

bool loadCompanionZones(const QString& archivePath, ProjectState& state, QString* error)
{
    if (state.zones.hasGeometry())
        return true;
    const Parsed<ZoneSet> zones =
        readZonePackage(companionPackagePath(archivePath), state.areas.count);
    if (!zones.ok()) {
        if (error)
            *error = zones.error;
        return false;
    }
    if (zones.value->hasGeometry()) {
        state.zones = *zones.value;
        markInputsChanged(state);
        return true;
    }
    if (error)
        *error = QStringLiteral("L'archivio %1 non ha le zone: manca il file %2 con la loro "
                                "geometria.")
                     .arg(archiveDisplayName(archivePath),
                          archiveDisplayName(archivePath + QStringLiteral(".gpkg")));
    return false;
}

bool writeFlowMapFile(const ProjectState& state, const QString& path, int flows, QString* error)
{
    FlowMapOptions options;
    options.flows = flows;
    const FlowMapData data = flowMapData(state, options);
    if (!data.hasGeometry()) {
        if (error)
            *error = QStringLiteral("Mappa %1 non disegnata: le aree non hanno geometria.")
                         .arg(archiveDisplayName(path));
        return false;
    }
    return saveFlowMapImage(data, path, error);
}

QByteArray comparisonJson(const ScenarioComparison& comparison)
{
    const auto percent = [](const std::optional<double>& value) {
        return value ? jsonNumber(*value) : QJsonValue(QJsonValue::Null);
    };
    QJsonArray pairs;
    for (const PairChange& p : comparison.pairs) {
        QJsonObject pair;
        pair.insert(QStringLiteral("origine"), p.origin);
        pair.insert(QStringLiteral("destinazione"), p.destination);
        pair.insert(QStringLiteral("base"), jsonNumber(p.interaction.base));
        pair.insert(QStringLiteral("progetto"), jsonNumber(p.interaction.project));
        pair.insert(QStringLiteral("differenza"), jsonNumber(p.interaction.difference));
        pair.insert(QStringLiteral("variazione_percentuale"), percent(p.interaction.percent));
        pairs.append(pair);
    }
    QJsonArray areas;
    for (const AreaChange& a : comparison.areas) {
        QJsonObject area;
        area.insert(QStringLiteral("numero"), a.number);
        area.insert(QStringLiteral("nome"), a.name);
        area.insert(QStringLiteral("origini_base"), jsonNumber(a.origins.base));
        area.insert(QStringLiteral("origini_progetto"), jsonNumber(a.origins.project));
        area.insert(QStringLiteral("destinazioni_base"), jsonNumber(a.destinations.base));
        area.insert(QStringLiteral("destinazioni_progetto"), jsonNumber(a.destinations.project));
        areas.append(area);
    }
    QJsonObject root;
    root.insert(QStringLiteral("modello_base"), comparison.baseModel);
    root.insert(QStringLiteral("alfa_base"), comparison.baseAlpha);
    root.insert(QStringLiteral("nota"), comparison.baseNote);
    root.insert(QStringLiteral("coppie"), pairs);
    root.insert(QStringLiteral("aree"), areas);
    return QJsonDocument(root).toJson(QJsonDocument::Compact) + '\n';
}

QByteArray comparisonText(const ScenarioComparison& comparison, const QString& projectName,
                          const QString& baseName)
{
    QString out =
        QStringLiteral("Confronto del progetto %1 con la base %2\n").arg(projectName, baseName);
    if (!comparison.baseNote.isEmpty())
        out += comparison.baseNote + QLatin1Char('\n');
    out += QStringLiteral("\nAree (n., nome, origini base, progetto, variazione %, destinazioni "
                          "base, progetto, variazione %)\n");
    for (const AreaChange& a : comparison.areas)
        out += QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8\n")
                   .arg(a.number)
                   .arg(a.name, shortestText(a.origins.base), shortestText(a.origins.project),
                        percentText(a.origins.percent), shortestText(a.destinations.base),
                        shortestText(a.destinations.project), percentText(a.destinations.percent));
    out += QStringLiteral("\nCoppie cambiate (origine, destinazione, base, progetto, differenza, "
                          "variazione %)\n");
    for (const PairChange& p : comparison.pairs)
        if (p.interaction.difference != 0)
            out += QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\n")
                       .arg(p.origin)
                       .arg(p.destination)
                       .arg(shortestText(p.interaction.base), shortestText(p.interaction.project),
                            shortestText(p.interaction.difference),
                            percentText(p.interaction.percent));
    return out.toUtf8();
}

QByteArray differenceMatrixCsv(const ScenarioComparison& comparison)
{
    const int n = int(comparison.areas.size());
    return matrixCsv(n, [&comparison, n](int i, int j) {
        return comparison.pairs[size_t((i - 1) * n + j - 1)].interaction.difference;
    });
}

} // namespace urbaflux
