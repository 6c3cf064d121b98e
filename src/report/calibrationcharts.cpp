#include "calibrationcharts.h"

#include <archivefile.h>

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPainter>
#include <QSaveFile>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>

namespace urbaflux {

namespace {

// Observed in dark blue; the alpha as it stands in grey, the calibrated one in orange.
const QColor kObserved(31, 78, 121);
const QColor kSeries[] = {QColor(150, 150, 150), QColor(230, 120, 20)};

QColor seriesColour(const CalibrationChartData& data, size_t i)
{
    return data.series.size() == 1 ? kSeries[1] : kSeries[std::min<size_t>(i, 1)];
}

QString edgeText(double value)
{
    return QString::number(value, 'g', 6);
}

void styleChart(QChart* chart, const QString& title)
{
    chart->setTitle(title);
    QFont titleFont = chart->titleFont();
    titleFont.setPointSizeF(11);
    titleFont.setBold(true);
    chart->setTitleFont(titleFont);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(6, 6, 6, 6));
    chart->setAnimationOptions(QChart::NoAnimation);
}

QAbstractAxis* valueAxis(bool logarithmic, double lowest, double highest, const QString& title)
{
    if (logarithmic) {
        auto* axis = new QLogValueAxis;
        axis->setBase(10);
        axis->setLabelFormat(QStringLiteral("%g"));
        axis->setMinorTickCount(8);
        axis->setMinorGridLineColor(QColor(238, 238, 238));
        axis->setRange(std::pow(10.0, std::floor(std::log10(lowest))),
                       std::pow(10.0, std::ceil(std::log10(highest))));
        axis->setTitleText(title);
        return axis;
    }
    auto* axis = new QValueAxis;
    axis->setRange(0, highest > 0 ? highest * 1.05 : 1);
    axis->applyNiceNumbers();
    axis->setLabelFormat(QStringLiteral("%g"));
    axis->setTitleText(title);
    return axis;
}

} // namespace

CalibrationChartSeries chartSeries(const QString& name, const AlphaAssessment& assessment,
                                   const ObservedInteractions& observed)
{
    CalibrationChartSeries series;
    series.name = name;
    for (size_t k = 1; k < observed.present.size() && k < assessment.modelled.size(); ++k)
        if (observed.present[k])
            series.points.emplace_back(observed.value[k], assessment.modelled[k]);
    for (const TripLengthBand& band : assessment.lengths.bands)
        series.byBand.push_back(band.modelled);
    return series;
}

QChart* makeFitScatterChart(const CalibrationChartData& data, bool logarithmic)
{
    auto* chart = new QChart;
    styleChart(chart, QStringLiteral("Interazioni osservate e calcolate"));
    double lowest = std::numeric_limits<double>::infinity();
    double highest = 0;
    int leftOut = 0;
    std::vector<QScatterSeries*> scatters;
    for (size_t i = 0; i < data.series.size(); ++i) {
        auto* scatter = new QScatterSeries;
        scatter->setName(data.series[i].name);
        scatter->setMarkerSize(data.series.size() > 1 && i == 0 ? 7 : 9);
        scatter->setColor(seriesColour(data, i));
        scatter->setBorderColor(seriesColour(data, i).darker(130));
        for (const auto& [o, m] : data.series[i].points) {
            if (logarithmic && (o <= 0 || m <= 0)) {
                leftOut += i == 0 ? 1 : 0; // pairs, not points
                continue;
            }
            scatter->append(o, m);
            highest = std::max({highest, o, m});
            if (o > 0)
                lowest = std::min(lowest, o);
            if (m > 0)
                lowest = std::min(lowest, m);
        }
        scatters.push_back(scatter);
    }
    if (!std::isfinite(lowest))
        lowest = highest > 0 ? highest / 10 : 1;
    if (highest <= 0)
        highest = 1;
    auto* equality = new QLineSeries;
    equality->setName(QStringLiteral("osservate = calcolate"));
    QPen pen(kObserved);
    pen.setWidthF(1.5);
    pen.setStyle(Qt::DashLine);
    equality->setPen(pen);
    chart->addSeries(equality);
    for (QScatterSeries* scatter : scatters)
        chart->addSeries(scatter);
    QAbstractAxis* x =
        valueAxis(logarithmic, lowest, highest,
                  leftOut > 0 ? QStringLiteral("osservate (%1 coppie con valore zero "
                                               "non compaiono)")
                                    .arg(leftOut)
                              : QStringLiteral("osservate"));
    QAbstractAxis* y = valueAxis(logarithmic, lowest, highest, QStringLiteral("calcolate"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    if (!logarithmic) {
        // The same scale both ways, so that the line of equality is the diagonal.
        auto* horizontal = static_cast<QValueAxis*>(x);
        auto* vertical = static_cast<QValueAxis*>(y);
        const double top = std::max(horizontal->max(), vertical->max());
        horizontal->setRange(0, top);
        vertical->setRange(0, top);
        horizontal->setTickCount(vertical->tickCount());
    }
    // Across the whole plot, with enough points that it stays straight on logarithmic axes.
    const double from = logarithmic ? static_cast<QLogValueAxis*>(x)->min() : 0.0;
    const double to =
        logarithmic ? static_cast<QLogValueAxis*>(x)->max() : static_cast<QValueAxis*>(x)->max();
    for (int i = 0; i <= 20; ++i) {
        const double v =
            logarithmic ? from * std::pow(to / from, i / 20.0) : from + (to - from) * i / 20.0;
        equality->append(v, v);
    }
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
    return chart;
}

QChart* makeTripLengthChart(const CalibrationChartData& data)
{
    auto* chart = new QChart;
    styleChart(chart, QStringLiteral("Distribuzione delle lunghezze (distanza × peso / 100)"));
    auto* bars = new QBarSeries;
    auto* observed = new QBarSet(QStringLiteral("osservate"));
    observed->setColor(kObserved);
    observed->setBorderColor(kObserved);
    double highest = 0;
    QStringList categories;
    for (const TripLengthBand& band : data.bands) {
        observed->append(band.observed);
        highest = std::max(highest, band.observed);
        categories << edgeText(band.from) + QStringLiteral("–") + edgeText(band.to);
    }
    bars->append(observed);
    for (size_t i = 0; i < data.series.size(); ++i) {
        auto* set = new QBarSet(QStringLiteral("calcolate, ") + data.series[i].name);
        set->setColor(seriesColour(data, i));
        set->setBorderColor(seriesColour(data, i));
        for (const double value : data.series[i].byBand) {
            set->append(value);
            highest = std::max(highest, value);
        }
        bars->append(set);
    }
    chart->addSeries(bars);
    auto* x = new QBarCategoryAxis;
    x->append(categories);
    x->setTitleText(QStringLiteral("distanza × peso / 100"));
    // Many bands: their names upright and smaller, so that each is read whole.
    if (categories.size() > 5) {
        x->setLabelsAngle(-90);
        QFont small = x->labelsFont();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        x->setLabelsFont(small);
    }
    auto* y = new QValueAxis;
    y->setRange(0, highest > 0 ? highest * 1.05 : 1);
    y->applyNiceNumbers();
    y->setLabelFormat(QStringLiteral("%g"));
    y->setTitleText(QStringLiteral("interazioni"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    bars->attachAxis(x);
    bars->attachAxis(y);
    return chart;
}

QImage renderCalibrationChart(QChart* chart, const QSize& layoutSize, double scale)
{
    QGraphicsScene scene;
    scene.addItem(chart); // the scene owns it now
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()) || layoutSize.isEmpty())
        return {};
    chart->setGeometry(QRectF(QPointF(0, 0), QSizeF(layoutSize)));
    chart->layout()->activate();
    scene.setSceneRect(chart->geometry());
    const QSize pixels(int(std::lround(layoutSize.width() * scale)),
                       int(std::lround(layoutSize.height() * scale)));
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        scene.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)), scene.sceneRect(),
                     Qt::KeepAspectRatio);
    }
    const int dotsPerMeter = int(std::lround(96.0 * scale / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

bool saveCalibrationCharts(const CalibrationChartData& data, const QString& scatterPath,
                           const QString& lengthsPath, QString* error)
{
    // Half the report's text column high each, at 300 dots per inch.
    const QSize layout(620, 400);
    const double scale = 300.0 / 96.0;
    const std::pair<QChart*, QString> charts[] = {{makeFitScatterChart(data, false), scatterPath},
                                                  {makeTripLengthChart(data), lengthsPath}};
    bool ok = true;
    for (const auto& [chart, path] : charts) {
        const QImage image = renderCalibrationChart(chart, layout, scale);
        if (!ok)
            continue;
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QSaveFile file(path);
        if (image.isNull() || !image.save(&buffer, "PNG", 80) ||
            !QDir().mkpath(QFileInfo(path).absolutePath()) || !file.open(QIODevice::WriteOnly) ||
            file.write(bytes) != bytes.size() || !file.commit()) {
            if (error)
                *error = QStringLiteral("Impossibile scrivere l'immagine del grafico %1.")
                             .arg(archiveDisplayName(path));
            ok = false;
        }
    }
    return ok;
}

} // namespace urbaflux
