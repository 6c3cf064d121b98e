#include "zonecommand.h"

#include <archivefile.h>
#include <calculation.h>
#include <completearchive.h>
#include <distancematrix.h>
#include <modelkind.h>
#include <numbertext.h>
#include <projectstate.h>
#include <titlepage.h>
#include <zonepackage.h>
#include <zonestudy.h>

#include <QHash>
#include <cstdio>
#include <memory>

namespace urbaflux {

namespace {

const QString kZone = QStringLiteral("--zone");
const QString kDistances = QStringLiteral("--distanze");

// The options that take a value, and what each one sets.
const QStringList kValueOptions = {
    QStringLiteral("--zone"),
    QStringLiteral("--strato"),
    QStringLiteral("--campo-nome"),
    QStringLiteral("--campo-origine"),
    QStringLiteral("--campo-destinazione"),
    QStringLiteral("--campo-codice"),
    QStringLiteral("--filtro"),
    QStringLiteral("--punto"),
    QStringLiteral("--tortuosita"),
    QStringLiteral("--intrazonale"),
    QStringLiteral("--unita"),
    QStringLiteral("--modello"),
    QStringLiteral("--srs"),
    QStringLiteral("--codifica"),
    QStringLiteral("--distanze"),
    QStringLiteral("-o"),
};

void printError(const QString& text)
{
    const QByteArray bytes = (text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

struct Arguments
{
    QHash<QString, QString> values;
    QString input; // the archive of --distanze
};

// The options as the parser read them, under the names the steps below use.
Arguments argumentsFrom(const QCommandLineParser& parser)
{
    Arguments out;
    for (const QString& option : kValueOptions) {
        const QString name = option.mid(option.startsWith(u"--") ? 2 : 1);
        if (parser.isSet(name))
            out.values.insert(option, parser.value(name));
    }
    const QStringList positional = parser.positionalArguments();
    if (!positional.isEmpty())
        out.input = positional.first();
    return out;
}

QString checkArguments(const QCommandLineParser& parser)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return QStringLiteral("un solo archivio alla volta: %1 è di troppo")
            .arg(archiveDisplayName(positional.at(1)));
    if (!parser.isSet(QStringLiteral("o")) || parser.value(QStringLiteral("o")).isEmpty())
        return QStringLiteral("manca -o con il nome dell'archivio da scrivere");
    return QString();
}

QList<QCommandLineOption> valueOptions(bool zones)
{
    QList<QCommandLineOption> options;
    for (const QString& option : kValueOptions) {
        if (option == u"-o" || (option == kDistances) == zones)
            continue;
        options.append(QCommandLineOption(option.mid(2), QString(), QStringLiteral("VALORE")));
    }
    options.append(outputOption());
    return options;
}

int usageError(const QString& problem)
{
    printError(QStringLiteral("urbaflux-calc: ") + problem + QLatin1Char('\n'));
    printError(zoneUsageText());
    return kExitUsage;
}

// The archive and its companion, written so that a failure leaves both previous files.
int writeArchive(const QString& path, const ProjectState& state, const TitlePage& titlePage)
{
    const SaveResult saved = writeArchiveWithZones(path, state, [&](const QString& target) {
        return saveArchiveBytes(target, writeCompleteBytes(state, titlePage));
    });
    if (!saved.ok) {
        printError(saved.error);
        return kExitCannotWrite;
    }
    return kExitCompleted;
}

int runImport(const Arguments& args)
{
    const auto value = [&](const char* option) {
        return args.values.value(QString::fromLatin1(option));
    };
    if (!args.input.isEmpty())
        return usageError(QStringLiteral("con --zone non si indica un archivio da leggere"));
    ZoneQuery query;
    query.source.path = value("--zone");
    query.source.layer = value("--strato");
    query.source.srs = value("--srs");
    query.source.encoding = value("--codifica");
    if (!query.source.encoding.isEmpty() && !zoneEncodings().contains(query.source.encoding)) {
        return usageError(QStringLiteral("--codifica vuole UTF-8, ISO-8859-1 o Windows-1252"));
    }
    query.nameField = value("--campo-nome");
    if (query.nameField.isEmpty())
        return usageError(QStringLiteral("manca --campo-nome"));
    query.originField = value("--campo-origine");
    query.destinationField = value("--campo-destinazione");
    query.codeField = value("--campo-codice");
    query.filter = value("--filtro");
    // A batch cannot be asked: names that repeat stay as they are, as the window keeps them when
    // told to.
    query.keepDuplicateNames = true;
    const QString point = value("--punto");
    if (point == u"centroide")
        query.point = PointRule::Centroid;
    else if (!point.isEmpty() && point != u"superficie")
        return usageError(QStringLiteral("--punto vuole superficie o centroide"));

    DistanceOptions options;
    if (const QString factor = value("--tortuosita"); !factor.isEmpty()) {
        const std::optional<double> number = parseStrictNumber(factor);
        if (!number)
            return usageError(QStringLiteral("--tortuosita vuole un numero: %1").arg(factor));
        options.detourFactor = *number;
    }
    if (const QString intrazonal = value("--intrazonale"); intrazonal == u"raggio") {
        options.intrazonal = IntrazonalRule::EqualAreaRadius;
    } else if (!intrazonal.isEmpty() && intrazonal != u"vicino") {
        const std::optional<double> number = parseStrictNumber(intrazonal);
        if (!number)
            return usageError(QStringLiteral("--intrazonale vuole vicino, raggio o un numero"));
        options.intrazonal = IntrazonalRule::Typed;
        options.typedIntrazonal = *number;
    }
    const QString unit = value("--unita");
    if (!unit.isEmpty() && unit != u"chilometri" && unit != u"metri")
        return usageError(QStringLiteral("--unita vuole chilometri o metri"));
    const QString model = value("--modello");
    if (!model.isEmpty() && (model.size() != 1 || !isModelKindCode(model.toInt())))
        return usageError(QStringLiteral("--modello vuole 1, 2 o 3"));

    auto state = std::make_unique<ProjectState>();
    applyDefaults(*state);
    if (!unit.isEmpty())
        state->model.unit = unit;
    options.unit = distanceUnitOf(state->model.unit);
    // A complete archive always names its model (one without is refused on reading): the
    // doubly constrained one unless told otherwise, to be changed in the program.
    const int kind = model.isEmpty() ? 1 : model.toInt();
    state->model.kind = static_cast<qint16>(kind);
    state->model.kindLabel = modelKindLabel(kind);

    const GeoResult<ZoneLayer> layer = readZoneLayer(query);
    if (!layer.ok()) {
        printError(layer.error);
        return kExitRefused;
    }
    for (const QString& notice : layer.value->notices)
        printError(notice);
    const GeoResult<ZoneStudy> study = buildZoneStudy(*layer.value, options);
    if (!study.ok()) {
        printError(study.error);
        return kExitRefused;
    }
    applyZoneStudy(*study.value, *state);
    // With a model and the data it needs the archive carries its results; otherwise it holds
    // the data only, to be completed in the program.
    if (!model.isEmpty() && !query.originField.isEmpty() && !query.destinationField.isEmpty()) {
        const CalculationOutcome outcome = calculateInteractions(*state);
        if (!outcome.completed())
            printError(QStringLiteral("Calcolo non completato: ") + describeOutcome(outcome) +
                       QLatin1Char('.'));
    }
    return writeArchive(value("-o"), *state, TitlePage());
}

int runMatrix(const Arguments& args)
{
    if (args.input.isEmpty())
        return usageError(QStringLiteral("manca l'archivio a cui dare le distanze"));
    const Parsed<CompleteRecord> archive = readCompleteFile(args.input);
    if (!archive.ok()) {
        printError(archive.error);
        return kExitRefused;
    }
    auto state = std::make_unique<ProjectState>();
    applyDefaults(*state);
    TitlePage titlePage;
    applyComplete(*archive.value, *state, titlePage);
    computeAreaTotals(*state);
    const Parsed<ZoneSet> zones =
        readZonePackage(companionPackagePath(args.input), state->areas.count);
    if (!zones.ok()) {
        printError(zones.error);
        return kExitRefused;
    }
    state->zones = *zones.value;
    const Parsed<DistanceMatrixImport> matrix =
        readDistanceMatrix(args.values.value(kDistances), *state);
    if (!matrix.ok()) {
        printError(matrix.error);
        return kExitRefused;
    }
    applyDistanceMatrix(*matrix.value, *state);
    if (const QString missing = missingPairsText(*matrix.value); !missing.isEmpty())
        printError(missing);
    return writeArchive(args.values.value(QStringLiteral("-o")), *state, titlePage);
}

} // namespace

// The help text holds both commands; each prints its own part, the exit statuses go with the
// second so the whole help says them once.
static QString usagePart(bool zones)
{
    const QString text = zoneUsageText();
    const qsizetype split =
        text.indexOf(QStringLiteral("\nUso: urbaflux-calc ARCHIVIO --distanze"));
    return zones ? text.left(split) : text.mid(split);
}

Command zoneCommand()
{
    Command command;
    command.selectors = {kZone.mid(2)};
    command.title = kZone;
    command.options = valueOptions(true);
    command.usage = [] { return usagePart(true); };
    command.check = checkArguments;
    command.run = [](const QCommandLineParser& parser, Output&) {
        return runImport(argumentsFrom(parser));
    };
    return command;
}

Command distanceMatrixCommand()
{
    Command command;
    command.selectors = {kDistances.mid(2)};
    command.title = kDistances;
    command.options = valueOptions(false);
    command.usage = [] { return usagePart(false); };
    command.check = checkArguments;
    command.run = [](const QCommandLineParser& parser, Output&) {
        return runMatrix(argumentsFrom(parser));
    };
    return command;
}

QString zoneUsageText()
{
    return QStringLiteral(
        "\n"
        "Uso: urbaflux-calc --zone FILE [--strato STRATO] --campo-nome CAMPO\n"
        "                   [--campo-origine CAMPO] [--campo-destinazione CAMPO]\n"
        "                   [--campo-codice CAMPO] [--filtro \"CONDIZIONE\"]\n"
        "                   [--punto superficie|centroide] [--tortuosita 1.2]\n"
        "                   [--intrazonale vicino|raggio|NUMERO] [--unita chilometri|metri]\n"
        "                   [--modello 1|2|3] [--srs EPSG:N] [--codifica CODIFICA] -o ARCHIVIO\n"
        "\n"
        "Legge le zone da uno strato GIS (GeoPackage, Shapefile anche compresso in .zip,\n"
        "GeoJSON, CSV con le colonne lon e lat, longitudine e latitudine o x e y), calcola le\n"
        "distanze geodetiche tra i punti rappresentativi per il coefficiente di tortuosità e\n"
        "scrive l'archivio completo ARCHIVIO con le zone in ARCHIVIO.gpkg.\n"
        "\n"
        "  --strato STRATO        lo strato del GeoPackage (il primo se manca)\n"
        "  --campo-nome CAMPO     il campo dei nomi delle aree\n"
        "  --campo-origine CAMPO  il campo numerico delle origini\n"
        "  --campo-destinazione CAMPO  il campo numerico delle destinazioni\n"
        "  --campo-codice CAMPO   il campo dei codici delle zone (se manca, il numero\n"
        "                         dell'elemento), per abbinare le matrici di distanze\n"
        "  --filtro CONDIZIONE    sceglie gli elementi (SQL di OGR, es. \"COD_PROV = 1\")\n"
        "  --punto                punto sulla superficie (predefinito) o centroide\n"
        "  --tortuosita N         coefficiente di tortuosità (predefinito 1.2)\n"
        "  --intrazonale          metà della distanza dalla zona più vicina (vicino,\n"
        "                         predefinito), 2/3 del raggio del cerchio di uguale superficie\n"
        "                         per il coefficiente (raggio), o un valore nell'unità scelta\n"
        "  --unita                chilometri (3 decimali, predefinito) o metri (interi)\n"
        "  --modello 1|2|3        origine e destinazione vincolate (predefinito), destinazione\n"
        "                         vincolata, origine vincolata; indicato, con origini e\n"
        "                         destinazioni, l'archivio contiene anche le interazioni\n"
        "  --srs EPSG:N           il sistema di riferimento di uno strato che non lo dichiara\n"
        "                         (un CSV senza --srs è in WGS84)\n"
        "  --codifica CODIFICA    UTF-8, ISO-8859-1 o Windows-1252 al posto di quella letta\n"
        "                         dal file .cpg o dal file DBF\n"
        "\n"
        "Uso: urbaflux-calc ARCHIVIO --distanze MATRICE.csv -o USCITA\n"
        "\n"
        "Riempie le distanze dell'archivio completo da una matrice CSV (\",\" o \";\"),\n"
        "quadrata (riga e colonna di intestazione) o in colonne origine;destinazione;valore,\n"
        "con le aree indicate per numero, per nome o per codice della zona. Le coppie che il\n"
        "file non indica restano come erano e sono elencate sullo standard error.\n"
        "\n"
        "Per questi comandi lo stato di uscita 2 indica dati non validi (il messaggio nomina\n"
        "file, elemento e campo); un'importazione non valida non tocca il file di -o.\n");
}

} // namespace urbaflux
