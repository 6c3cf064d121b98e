#pragma once

// The chart of the largest changes from a base scenario: diverging horizontal bars, increases
// to the right in red and decreases to the left in blue from one zero line, each bar named by
// its area and labelled with its value (decimal comma). Painted with QPainter from plain values
// for the comparison window, its pictures and the report alike.

#include <scenariocomparison.h>

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>
#include <vector>

class QPainter;

namespace urbaflux {

inline constexpr int kChangeChartBars = 20; // increases and decreases each

// The bars the chart draws: the 20 largest increases and decreases of estimated origins.
std::vector<AreaChange> changeChartBars(const ScenarioComparison& comparison);

QString changeChartTitle();

// A number with a decimal comma and Italian grouping, signed when `sign`: "+1.234,5".
QString italianChange(double value, bool sign = true);

void paintChangeChart(QPainter& painter, const QRectF& target, const std::vector<AreaChange>& bars);

// The chart laid out at the report's text width for print, `bars` rows high.
QImage renderChangeChartImage(const std::vector<AreaChange>& bars, double scale);

} // namespace urbaflux
