#include "commandline.h"

#include <archivefile.h>
#include <completearchive.h>
#include <numbertext.h>
#include <projectstate.h>
#include <titlepage.h>
#include <zonepackage.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTranslator>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace urbaflux {

namespace {

void printError(const QString& text)
{
    const QByteArray bytes = (text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
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

// The parser's own messages, in the language of the rest; those on unknown options are written
// from the names the parser gives.
class ParserTexts : public QTranslator
{
public:
    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override
    {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (std::strcmp(context, "QCommandLineParser") != 0 || sourceText == nullptr)
            return QString();
        static const struct
        {
            const char* english;
            const char* italian;
        } texts[] = {
            {"Missing value after '%1'.", "manca il valore dopo %1"},
            {"Unexpected value after '%1'.", "%1 non vuole un valore"},
        };
        for (const auto& text : texts) {
            if (std::strcmp(sourceText, text.english) == 0)
                return QString::fromUtf8(text.italian);
        }
        return QString();
    }
};

bool takesValue(const QCommandLineOption& option)
{
    return !option.valueName().isEmpty();
}

bool declares(const Command& command, const QString& name)
{
    for (const QCommandLineOption& option : command.options) {
        if (option.names().contains(name))
            return true;
    }
    return false;
}

const Command& defaultCommand(const std::vector<Command>& commands)
{
    for (const Command& command : commands) {
        if (command.selectors.isEmpty())
            return command;
    }
    qFatal("urbaflux-calc: no default command");
}

QString fullUsage(const std::vector<Command>& commands)
{
    const Command& first = defaultCommand(commands);
    QString text = first.usage();
    for (const Command& command : commands) {
        if (&command != &first)
            text += command.usage();
    }
    return text;
}

bool wantsPictures(int argc, char** argv, const std::vector<Command>& commands)
{
    for (const Command& command : commands) {
        for (const QString& name : command.drawingOptions) {
            const QByteArray written = optionText(name).toLatin1();
            for (int i = 1; i < argc; ++i) {
                if (std::strcmp(argv[i], written.constData()) == 0 ||
                    (std::strncmp(argv[i], written.constData(), size_t(written.size())) == 0 &&
                     argv[i][written.size()] == '='))
                    return true;
            }
        }
    }
    return false;
}

std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv, bool pictures)
{
    if (!pictures)
        return std::make_unique<QCoreApplication>(argc, argv);
    // A batch run has no screen to draw on.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
}

// The reason the command cannot take what was given; empty when it can.
QString misplacedOption(const QCommandLineParser& args, const Command& chosen,
                        const std::vector<Command>& commands)
{
    for (const QString& name : args.optionNames()) {
        if (declares(chosen, name))
            continue;
        if (!chosen.selectors.isEmpty())
            return QStringLiteral("%1 non si usa con %2").arg(optionText(name), chosen.title);
        QStringList owners;
        for (const Command& command : commands) {
            if (declares(command, name))
                owners << command.title;
        }
        return QStringLiteral("%1 si usa solo con %2")
            .arg(optionText(name), owners.join(QStringLiteral(" o ")));
    }
    for (const QCommandLineOption& option : chosen.options) {
        if (takesValue(option) && !chosen.repeatable.contains(option.names().constFirst()) &&
            args.values(option.names().constFirst()).size() > 1)
            return QStringLiteral("%1 è indicato due volte")
                .arg(optionText(option.names().constFirst()));
    }
    return QString();
}

} // namespace

bool Output::text(const QString& text)
{
    return bytes(text.toLocal8Bit());
}

bool Output::json(const QJsonObject& object)
{
    return bytes(QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
}

// A failure (a full disk, a closed output) is told on standard error, since the exit status
// alone says nothing of why.
bool Output::bytes(const QByteArray& bytes)
{
    errno = 0;
    const size_t written =
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    if (written == static_cast<size_t>(bytes.size()) && std::fflush(stdout) == 0)
        return true;
    const int reason = errno;
    error(QStringLiteral("urbaflux-calc: impossibile scrivere sullo standard output: %1.")
              .arg(reason == EBADF ? QStringLiteral("lo standard output è chiuso")
                                   : fileErrorReason(reason)));
    return false;
}

bool Output::file(const QString& path, const QByteArray& bytes)
{
    const SaveResult saved = saveArchiveBytes(path, bytes);
    if (!saved.ok)
        error(saved.error);
    return saved.ok;
}

void Output::error(const QString& text)
{
    printError(text);
}

QJsonValue jsonNumber(double value)
{
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

QJsonValue jsonNumber(float value)
{
    return std::isfinite(value) ? QJsonValue(shortestText(value).toDouble())
                                : QJsonValue(QJsonValue::Null);
}

QCommandLineOption outputOption()
{
    return QCommandLineOption(QStringLiteral("o"), QStringLiteral("scrive l'archivio in USCITA"),
                              QStringLiteral("USCITA"));
}

QCommandLineOption jsonOption()
{
    return QCommandLineOption(QStringLiteral("json"), QStringLiteral("stampa i risultati in JSON"));
}

QString optionText(const QString& name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + printableExcerpt(name);
}

QString singleArchiveArgument(const QCommandLineParser& args, QString* path)
{
    const QStringList given = args.positionalArguments();
    if (given.isEmpty())
        return QStringLiteral("manca l'archivio da calcolare");
    if (given.size() > 1)
        return QStringLiteral("un solo archivio alla volta: %1 è di troppo")
            .arg(archiveDisplayName(given[1]));
    if (given[0].isEmpty())
        return QStringLiteral("il nome dell'archivio è vuoto");
    *path = given[0];
    return QString();
}

bool loadCompleteArchive(const QString& path, Output& out, LoadedArchive& loaded)
{
    const Parsed<CompleteRecord> archive = readCompleteFile(path, ArchiveSource::AnyFile);
    if (!archive.ok()) {
        out.error(archive.error);
        return false;
    }
    loaded.state = std::make_unique<ProjectState>();
    loaded.titlePage = std::make_unique<TitlePage>();
    applyDefaults(*loaded.state);
    applyComplete(*archive.value, *loaded.state, *loaded.titlePage);
    computeAreaTotals(*loaded.state);
    // The zones beside the archive, for the map of the report; a companion that does not fit
    // is told and left out, as the archive itself is sound.
    const Parsed<ZoneSet> zones =
        readZonePackage(companionPackagePath(path), loaded.state->areas.count);
    if (zones.ok())
        loaded.state->zones = *zones.value;
    else
        out.error(zones.error);
    return true;
}

QByteArray matrixCsv(int count, const std::function<double(int, int)>& cell)
{
    QString csv;
    for (int j = 1; j <= count; ++j)
        csv += QLatin1Char(',') + QString::number(j);
    csv += QStringLiteral("\r\n");
    for (int i = 1; i <= count; ++i) {
        csv += QString::number(i);
        for (int j = 1; j <= count; ++j)
            csv += QLatin1Char(',') + QString::number(cell(i, j), 'g', 17);
        csv += QStringLiteral("\r\n");
    }
    return csv.toUtf8();
}

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

int runCommandLine(int& argc, char** argv, const std::vector<Command>& commands)
{
    holdClosedStandardDescriptors();
    ignoreFileSizeSignal();
    const auto app = makeApplication(argc, argv, wantsPictures(argc, argv, commands));
    ParserTexts texts;
    QCoreApplication::installTranslator(&texts);
    Output out;

    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("mostra questo aiuto"));
    parser.addOption(help);
    QList<QCommandLineOption> known{help};
    for (const Command& command : commands) {
        for (const QCommandLineOption& option : command.options) {
            const auto same = std::find_if(known.cbegin(), known.cend(), [&](const auto& other) {
                return other.names() == option.names();
            });
            if (same != known.cend()) {
                if (takesValue(*same) != takesValue(option))
                    qFatal("urbaflux-calc: option %s declared with and without a value",
                           qPrintable(option.names().constFirst()));
                continue;
            }
            if (!parser.addOption(option))
                qFatal("urbaflux-calc: option %s clashes with another",
                       qPrintable(option.names().constFirst()));
            known << option;
        }
    }

    const auto usageError = [&](const QString& problem, const Command* command) {
        out.error(QStringLiteral("urbaflux-calc: ") + problem + QLatin1Char('\n'));
        out.error(command == nullptr || command->selectors.isEmpty()
                      ? fullUsage(commands)
                      : command->usage().mid(command->usage().startsWith(u'\n') ? 1 : 0));
        return kExitUsage;
    };

    if (!parser.parse(QCoreApplication::arguments())) {
        // The parser names unknown options without their dashes.
        QStringList unknown = parser.unknownOptionNames();
        if (unknown.isEmpty())
            return usageError(parser.errorText(), nullptr);
        for (QString& name : unknown)
            name = optionText(name);
        return usageError((unknown.size() == 1 ? QStringLiteral("opzione sconosciuta: ")
                                               : QStringLiteral("opzioni sconosciute: ")) +
                              unknown.join(QStringLiteral(", ")),
                          nullptr);
    }
    if (parser.isSet(help))
        return out.text(fullUsage(commands)) ? kExitCompleted : kExitCannotWrite;

    const Command* chosen = nullptr;
    for (const Command& command : commands) {
        const bool selected = std::any_of(command.selectors.cbegin(), command.selectors.cend(),
                                          [&](const QString& name) { return parser.isSet(name); });
        if (!selected)
            continue;
        if (chosen != nullptr)
            return usageError(
                QStringLiteral("%1 e %2 non si usano insieme").arg(chosen->title, command.title),
                chosen);
        chosen = &command;
    }
    if (chosen == nullptr)
        chosen = &defaultCommand(commands);

    QString problem = misplacedOption(parser, *chosen, commands);
    if (problem.isEmpty() && chosen->check)
        problem = chosen->check(parser);
    if (!problem.isEmpty())
        return usageError(problem, chosen);
    return chosen->run(parser, out);
}

} // namespace urbaflux
