#pragma once

// The picture of the main gravitations, shared by the charts window's printout and the full
// report: one fixed file in the user's data folder, rewritten by each of them. The picture is
// rendered for print (300 dots per inch at the width of the report's text column) straight to
// the file, without a window and without the clipboard.
//
// Rendering draws the same GravitationChart the charts window shows, so the picture is the chart
// as drawn: title, rows, legend and footnote. It needs a QApplication (the chart is a graphics
// widget); without one it fails with a message instead of crashing.

#include <chartslots.h>

#include <QImage>
#include <QSize>
#include <QString>

namespace urbaflux {

enum class ChartKind
{
    Bars,
    Pie
};

// QStandardPaths::AppDataLocation + "/graficoGravitazioni.png"; the folder is created.
QString chartPicturePath();

// Renders the chart of `slots` with title, legend and footnote for print straight to `path`
// (PNG), replacing the file only once the whole picture is written. False, with an Italian
// sentence naming the file in `error`, when it could not be written.
bool renderChartPicture(const ChartSlots& slots, ChartKind kind, const QString& path,
                        QString* error = nullptr);

// --- For the charts window's own picture commands, tests and benchmarks ---

// The layout size of the printed chart in pixels at 96 per inch: the report's text column wide.
QSize chartPrintLayoutSize();
// Dots per inch of the printed picture.
inline constexpr int kChartPrintDpi = 300;

// The chart laid out at `layoutSize` (pixels at 96 per inch) and painted `scale` times as many
// pixels each way on a white ground. A null image without a QApplication.
QImage renderChartImage(const ChartSlots& slots, ChartKind kind, const QSize& layoutSize,
                        double scale);

// Saves the chart as PNG, SVG or PDF, by the file's extension (any case; PNG for any other),
// laid out at the print size. False, with an Italian sentence naming the file, on failure.
bool saveChartImage(const ChartSlots& slots, ChartKind kind, const QString& path,
                    QString* error = nullptr);

} // namespace urbaflux
