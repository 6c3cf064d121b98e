#include "changechart.h"

#include "chartpicture.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace urbaflux {

namespace {

const QColor kGain(200, 55, 40);
const QColor kLoss(33, 102, 172);
const QColor kText(40, 40, 40);

QFont pixelFont(double pixels, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(1, int(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

} // namespace

std::vector<AreaChange> changeChartBars(const ScenarioComparison& comparison)
{
    return largestAreaChanges(comparison, kChangeChartBars);
}

QString changeChartTitle()
{
    return QStringLiteral("Variazioni principali delle origini stimate (progetto meno base)");
}

QString italianChange(double value, bool sign)
{
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    const double magnitude = std::abs(value);
    const int decimals = magnitude >= 100 ? 0 : magnitude >= 1 ? 1 : 2;
    QString text = italian.toString(value, 'f', decimals);
    if (sign && value > 0)
        text.prepend(QLatin1Char('+'));
    return text;
}

void paintChangeChart(QPainter& painter, const QRectF& target, const std::vector<AreaChange>& bars)
{
    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.fillRect(target, Qt::white);
    const double unit = std::min(target.width() / 600.0, 1.6);
    const QFont titleFont = pixelFont(14 * unit, true);
    const QFont textFont = pixelFont(10 * unit);
    const QFontMetricsF titleMetrics(titleFont, painter.device());
    const QFontMetricsF metrics(textFont, painter.device());
    const double margin = 8 * unit;
    painter.setPen(kText);
    painter.setFont(titleFont);
    painter.drawText(
        QRectF(target.left(), target.top() + margin / 2, target.width(), titleMetrics.height()),
        Qt::AlignHCenter | Qt::AlignTop, changeChartTitle());
    painter.setFont(textFont);
    const double top = target.top() + titleMetrics.height() + margin;
    if (bars.empty()) {
        painter.drawText(QRectF(target.left(), top, target.width(), target.height() - top),
                         Qt::AlignCenter, QStringLiteral("Nessuna variazione delle origini"));
        painter.restore();
        return;
    }
    // Names on the left, bars from a zero line in the middle of the rest, values at the ends.
    double nameWidth = 0;
    double largest = 0;
    for (const AreaChange& bar : bars) {
        nameWidth = std::max(nameWidth, metrics.horizontalAdvance(bar.name));
        largest = std::max(largest, std::abs(bar.origins.difference));
    }
    nameWidth = std::min(nameWidth + margin, target.width() * 0.3);
    const double valueRoom = metrics.horizontalAdvance(QStringLiteral("+000.000,0")) + margin;
    const double plotLeft = target.left() + margin + nameWidth + valueRoom;
    const double plotRight = target.right() - margin - valueRoom;
    const double zero = (plotLeft + plotRight) / 2;
    const double half = (plotRight - plotLeft) / 2;
    const double rowHeight = (target.bottom() - margin - top) / double(bars.size());
    const double barHeight = std::max(1.0, rowHeight * 0.7);
    for (size_t r = 0; r < bars.size(); ++r) {
        const AreaChange& bar = bars[r];
        const double value = bar.origins.difference;
        const double y = top + r * rowHeight;
        const double length = largest > 0 ? half * std::abs(value) / largest : 0;
        const QRectF box =
            value >= 0 ? QRectF(zero, y + (rowHeight - barHeight) / 2, length, barHeight)
                       : QRectF(zero - length, y + (rowHeight - barHeight) / 2, length, barHeight);
        painter.fillRect(box, value >= 0 ? kGain : kLoss);
        painter.setPen(kText);
        const QString name = metrics.elidedText(bar.name, Qt::ElideRight, nameWidth - margin);
        painter.drawText(QRectF(target.left() + margin, y, nameWidth - margin, rowHeight),
                         Qt::AlignRight | Qt::AlignVCenter, name);
        const QString label = italianChange(value);
        if (value >= 0)
            painter.drawText(QRectF(box.right() + 3 * unit, y, valueRoom, rowHeight),
                             Qt::AlignLeft | Qt::AlignVCenter, label);
        else
            painter.drawText(QRectF(box.left() - 3 * unit - valueRoom, y, valueRoom, rowHeight),
                             Qt::AlignRight | Qt::AlignVCenter, label);
    }
    painter.setPen(QPen(kText, std::max(0.5, unit)));
    painter.drawLine(QPointF(zero, top), QPointF(zero, target.bottom() - margin));
    painter.restore();
}

QImage renderChangeChartImage(const std::vector<AreaChange>& bars, double scale)
{
    const int width = chartPrintLayoutSize().width();
    const int height = int(60 + 18 * std::max<size_t>(bars.size(), 3));
    const QSize pixels(int(std::lround(width * scale)), int(std::lround(height * scale)));
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.scale(scale, scale);
        paintChangeChart(painter, QRectF(0, 0, width, height), bars);
    }
    const int dotsPerMeter = int(std::lround(96.0 * scale / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

} // namespace urbaflux
