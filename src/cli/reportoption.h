#pragma once

// The report options of urbaflux-calc: --report FILE (.docx, .odt or .pdf, or a folder), --studio
// NOME and
// --indirizzo TESTO. With them the calculator writes the full report of the recomputed
// archive, the chart drawn without a display, the office taken from the program's settings
// unless given here.

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>

namespace urbaflux {

struct ProjectState;
struct TitlePage;

struct ReportOptions
{
    QString path; // empty: no report
    QString officeName;
    QString officeAddress;
    bool officeNameGiven = false;
    bool officeAddressGiven = false;
};

// The options to declare in a command that writes the report; --report draws the chart.
QList<QCommandLineOption> reportOptions();
inline const QString kReportOptionName = QStringLiteral("report");

// What the parsed arguments ask of the report; the reason in *error when --report names no
// file.
ReportOptions reportOptionsFrom(const QCommandLineParser& args, QString* error);

// Lines for the usage text.
QString reportUsageText();

// Where the report goes: path itself, or in an existing folder the report's name after the
// committente (reportFileName).
QString reportTarget(const QString& path, const TitlePage& texts);

// Writes the report; false with the reason (Italian, naming the file) when it cannot.
bool writeReportFile(const ReportOptions& options, const ProjectState& state,
                     const TitlePage& texts, QString* error);

} // namespace urbaflux
