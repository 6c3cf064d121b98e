#pragma once

// MINIMAL STAND-IN for the charts work, written to its agreed interface so that the report
// builds before that work lands; the charts branch replaces this file whole.

#include <chartslots.h>

#include <QString>

namespace urbaflux {

enum class ChartKind
{
    Bars,
    Pie
};

// The one chart picture file, shared by the chart printout and the report; its folder is
// created.
QString chartPicturePath();

// Renders the chart of `slots` to `path` without a window.
bool renderChartPicture(const ChartSlots& slots, ChartKind kind, const QString& path,
                        QString* error = nullptr);

} // namespace urbaflux
