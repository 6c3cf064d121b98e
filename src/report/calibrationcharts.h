#pragma once

// The two pictures of a calibration of alpha, as the calibration window shows them and the report
// prints them: the observed against the calculated interactions of the compared pairs with the
// line of equality, and the trip-length distribution, observed and calculated, in the bands of
// tripLengthDistribution.

#include <calibration.h>

#include <QImage>
#include <QSize>
#include <QString>
#include <utility>
#include <vector>

class QChart;

namespace urbaflux {

struct CalibrationChartSeries
{
    QString name;                                  // "alfa 1.38178"
    std::vector<std::pair<double, double>> points; // (observed, calculated) of the compared pairs
    std::vector<double> byBand;                    // calculated interactions by trip-length band
};

struct CalibrationChartData
{
    std::vector<TripLengthBand> bands;          // edges and observed interactions
    std::vector<CalibrationChartSeries> series; // the alpha as it stands, then the calibrated one
};

// The series of one alpha's assessment against the observed values.
CalibrationChartSeries chartSeries(const QString& name, const AlphaAssessment& assessment,
                                   const ObservedInteractions& observed);

// The charts, new and owned by the caller. On logarithmic axes the pairs with a zero value are
// left out (a logarithm has no place for them).
QChart* makeFitScatterChart(const CalibrationChartData& data, bool logarithmic);
QChart* makeTripLengthChart(const CalibrationChartData& data);

// A chart laid out at layoutSize (pixels at 96 per inch), painted scale times as many pixels
// each way on white; the chart is consumed. A null image without a QApplication.
QImage renderCalibrationChart(QChart* chart, const QSize& layoutSize, double scale);

// Both charts as PNG files for print; false with an Italian sentence naming the file.
bool saveCalibrationCharts(const CalibrationChartData& data, const QString& scatterPath,
                           const QString& lengthsPath, QString* error);

} // namespace urbaflux
