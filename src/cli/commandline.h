#pragma once

// The front of urbaflux-calc: one parser (QCommandLineParser) for every command, one output
// that checks every write, and the exit codes every command shares.
//
// Adding a command, in its own file (src/cli/mycommand.cpp and .h):
//
//   Command myCommand()
//   {
//       Command command;
//       command.selectors = {QStringLiteral("mappa")};       // what chooses it
//       command.title = QStringLiteral("--mappa");           // how messages name it
//       command.options = {
//           {QStringLiteral("mappa"), QStringLiteral("la mappa in FILE"), QStringLiteral("FILE")},
//           outputOption(), jsonOption()};                    // shared ones: declare them again
//       command.drawingOptions = {QStringLiteral("mappa")};  // needs a widget application
//       command.usage = [] { return QStringLiteral("\nUso: urbaflux-calc ARCHIVIO --mappa..."); };
//       command.check = checkMyArguments;                 // optional: a reason, or empty
//       command.run = runMyCommand;                       // int (const QCommandLineParser&,
//       return command;                                   //      Output&)
//   }
//
// then add `myCommand(),` to the list in main.cpp, before calculationCommand(), and the file
// to CMakeLists.txt. The front then:
// - parses every command's options at once; an option may be declared by several commands (the
//   first declaration is parsed, so they must agree on whether it takes a value);
// - picks the command whose selector was given (the calculation when none was), and refuses
//   with exit 64 two commands at once, an option the chosen command does not declare, and an
//   option with a value given twice (unless listed in `repeatable`);
// - prints the help (-h, --help): every command's usage, the calculation's first;
// - on a usage error prints the reason and the chosen command's usage (all of it for the
//   calculation), and returns 64.
// A command reads its values with args.value(name) and args.positionalArguments(), writes through
// Output (text, JSON, files: each failure is told on standard error and makes the command return
// kExitCannotWrite), and returns its exit status.

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace urbaflux {

struct ProjectState;
struct TitlePage;

inline constexpr int kExitCompleted = 0;
inline constexpr int kExitNotCompleted = 1;
inline constexpr int kExitRefused = 2;
inline constexpr int kExitUsage = 64;
inline constexpr int kExitCannotWrite = 73;
inline constexpr int kExitReportNotWritten = 74;

// Everything a command writes goes through here.
class Output
{
public:
    // Standard output, in the system's encoding (texts for people).
    bool text(const QString& text);
    // Standard output, UTF-8, one line ended by a line feed.
    bool json(const QJsonObject& object);
    // Standard output as given (an archive).
    bool bytes(const QByteArray& bytes);
    // A file replaced whole or left as it was (see saveArchiveBytes); the reason is told.
    bool file(const QString& path, const QByteArray& bytes);
    // Standard error; nothing can tell a failure of it.
    void error(const QString& text);
};

// A JSON number for a value: null where JSON has none (NaN, infinity). A float goes out as its
// shortest decimal text, as the archive writes it.
QJsonValue jsonNumber(double value);
QJsonValue jsonNumber(float value);

struct Command
{
    // Options (names without dashes) whose presence chooses the command; empty for the
    // calculation, which runs when no other command is chosen.
    QStringList selectors;
    // How messages name the command, e.g. "--valuta o --calibra".
    QString title;
    // Every option the command reads, its selectors included.
    QList<QCommandLineOption> options;
    // Options that may be given more than once.
    QStringList repeatable;
    // Options that make the command draw pictures: the run then has a widget application
    // drawing offscreen.
    QStringList drawingOptions;
    // The command's section of the help text.
    std::function<QString()> usage;
    // The reason the arguments cannot be used, empty when they can; may be left unset.
    std::function<QString(const QCommandLineParser&)> check;
    std::function<int(const QCommandLineParser&, Output&)> run;
};

// Options several commands share.
QCommandLineOption outputOption(); // -o USCITA
QCommandLineOption jsonOption();   // --json

// A square matrix of count areas as CSV: a heading row of destination numbers, then a row per
// origin, every value unrounded (17 significant digits).
QByteArray matrixCsv(int count, const std::function<double(int origin, int destination)>& cell);

// How an option is written on the command line: "-o", "--json".
QString optionText(const QString& name);

// The one archive of the positional arguments; the reason when there is none, more than one, or
// an empty name.
QString singleArchiveArgument(const QCommandLineParser& args, QString* path);

// A complete archive read as right after start-up: defaults, then everything the archive holds,
// with the area totals computed.
struct LoadedArchive
{
    std::unique_ptr<ProjectState> state;
    std::unique_ptr<TitlePage> titlePage;
};
// False after telling the reason; pipes and devices are read too, for scripts.
bool loadCompleteArchive(const QString& path, Output& out, LoadedArchive& loaded);

// Whether two names reach the same file (the same name, through a link, or a different
// spelling of the folder).
bool sameFile(const QString& a, const QString& b);

// Parses the arguments, runs the chosen command and returns the exit status. The first command
// without selectors is the default; commands with selectors come before it.
int runCommandLine(int& argc, char** argv, const std::vector<Command>& commands);

} // namespace urbaflux
