#pragma once

// The report options of urbaflux-calc: --report FILE (.docx, .odt or .pdf, or a folder), --studio
// NOME and
// --indirizzo TESTO. With them the calculator writes the full report of the recomputed
// archive, the chart drawn without a display, the office taken from the program's settings
// unless given here.

#include <QString>
#include <QStringList>
#include <memory>

class QCoreApplication;

namespace urbaflux {

struct ProjectState;
struct TitlePage;

inline constexpr int kExitReportNotWritten = 74;

struct ReportOptions
{
    QString path; // empty: no report
    QString officeName;
    QString officeAddress;
    bool officeNameGiven = false;
    bool officeAddressGiven = false;
};

enum class OptionTaken
{
    No,
    Yes,
    Error
};

// Takes args[i] when it is a report option, with its value (i then points at the value).
OptionTaken takeReportOption(const QStringList& args, qsizetype& i, ReportOptions& options,
                             QString* error);

// Lines for the usage text.
QString reportUsageText();

// The application object: a widget application drawing offscreen when a report is asked for
// (the chart needs one), a plain core application otherwise.
std::unique_ptr<QCoreApplication> makeCalcApplication(int& argc, char** argv);

// Where the report goes: path itself, or in an existing folder the report's name after the
// committente (reportFileName).
QString reportTarget(const QString& path, const TitlePage& texts);

// Writes the report; false with the reason (Italian, naming the file) when it cannot.
bool writeReportFile(const ReportOptions& options, const ProjectState& state,
                     const TitlePage& texts, QString* error);

} // namespace urbaflux
