#pragma once

// The full report ("RELAZIONE") of an elaboration: the cover with the title-page texts and the
// technical office, sections A to D, the chart picture, tables E to H and the closing block with
// the page count and the signature. A function of what it is given: the title-page window and
// urbaflux-calc both build it here, and only saving and showing it are theirs.
//
// The page count is a page-count field holding the finished document's own count, so that the
// viewer, the PDF and the word processors state the same number; the number columns are
// right-aligned before the document is saved, so that the saved file is the document shown.

#include "technicaloffice.h"

#include <flowselection.h>
#include <titlepage.h>

#include <QString>

namespace urbaflux {

class DocumentWriter;
struct ProjectState;
struct ScenarioComparison;

// Why a report cannot be made, in the order the checks run.
enum class ReportBlocker
{
    None,
    NoAreas,       // count is 0 (or was never set)
    NoInteractions // areas, but no interactions computed
};

ReportBlocker reportBlocker(const ProjectState& state);

// The message box of a blocker (critical icon): title and text.
struct ReportMessage
{
    QString title;
    QString text;
};
ReportMessage reportBlockerMessage(ReportBlocker blocker, const ProjectState& state);

// The two totals the area window shows under its columns.
struct AreaTotalTexts
{
    QString origins;
    QString destinations;
};
// What the area window shows once its rows are filled: the sums of the typed values' leading
// numbers, written with the user's decimal separator.
AreaTotalTexts areaTotalTexts(const ProjectState& state);

struct FullReportInput
{
    const ProjectState& state;
    TitlePage texts;
    TechnicalOffice office;
    AreaTotalTexts totals;
    QString chartPicture; // the chart's picture file; empty or unreadable: no picture
    // With geometry, the flow map of this many flows follows the chart as a figure.
    int mapFlows = kDefaultMapFlows;
    // When given, the section comparing with a base scenario follows the tables.
    const ScenarioComparison* comparison = nullptr;
    QString baseFileName = QString();
};

// Writes the whole report into `writer`, starting a new document, up to and including the
// justification, the right-aligned columns and the final page count. Returns that count.
int writeFullReport(DocumentWriter& writer, const FullReportInput& input);

// A number as the report writes it: as the program writes numbers elsewhere, with the user's
// decimal separator and minus sign, no grouping.
QString regionalText(double value);
QString regionalText(float value);

// "RelazioneUrbaflux-" + committente + ".docx", with what a file name cannot hold (path
// separators, the characters Windows refuses, control characters) replaced by "_", blanks
// around it trimmed and the name cut, between two characters, to a length every file system
// takes. When that changed the committente, "-" and 8 hex digits of its digest follow, so that
// different committenti never share a report; no committente gives
// "RelazioneUrbaflux-senza-committente.docx".
QString reportFileName(const QString& committente);
// The report's place: that name in the user's documents folder.
QString reportSavePath(const QString& committente);

} // namespace urbaflux
