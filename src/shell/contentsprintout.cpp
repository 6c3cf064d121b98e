#include "contentsprintout.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

namespace urbaflux {

QList<PrintLine> contentsPrintLines(const QString& heading, const QStringList& entries)
{
    QList<PrintLine> lines;
    lines.append({7, 18, heading});
    lines.append({1, 12, QString()});
    lines.append({1, 12, QString()});
    for (const QString& entry : entries) {
        lines.append({1, 12, QString()});
        lines.append({10, 12, entry});
    }
    return lines;
}

bool printContents(QPagedPaintDevice& device, const QString& heading, const QStringList& entries)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    QFont courier(QStringLiteral("Courier"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setFixedPitch(true);
    const qreal pageHeight = device.pageLayout().paintRectPixels(device.logicalDpiY()).height();
    qreal y = 0;
    for (const PrintLine& line : contentsPrintLines(heading, entries)) {
        courier.setPointSize(line.points);
        painter.setFont(courier);
        const QFontMetricsF metrics(courier, &device);
        if (y > 0 && y + metrics.height() > pageHeight) {
            device.newPage();
            y = 0;
        }
        if (!line.text.isEmpty()) {
            const qreal cell = metrics.horizontalAdvance(QLatin1Char(' '));
            painter.drawText(QPointF((line.column - 1) * cell, y + metrics.ascent()), line.text);
        }
        y += metrics.lineSpacing();
    }
    return painter.end();
}

} // namespace urbaflux
