// MINIMAL STAND-IN: plain bars with their labels, enough for the report to hold a picture.

#include "chartpicture.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <algorithm>

namespace urbaflux {

QString chartPicturePath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return folder + QStringLiteral("/graficoGravitazioni.png");
}

bool renderChartPicture(const ChartSlots& slots, ChartKind kind, const QString& path,
                        QString* error)
{
    Q_UNUSED(kind);
    QImage image(1600, 1000, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font = painter.font();
    font.setPixelSize(28);
    painter.setFont(font);
    painter.drawText(QRect(0, 10, 1600, 60), Qt::AlignCenter,
                     QStringLiteral("Gravitazioni principali"));
    double largest = 0;
    for (const ChartSlot& slot : slots.slots)
        largest = std::max(largest, slot.value);
    for (int r = 0; r < 20; ++r) {
        const ChartSlot& slot = slots.slots[static_cast<size_t>(r)];
        const int height = largest > 0 ? static_cast<int>(slot.value / largest * 760) : 0;
        painter.fillRect(60 + r * 75, 880 - height, 50, height, QColor(0x33, 0x66, 0xcc));
        painter.drawText(QRect(40 + r * 75, 890, 90, 40), Qt::AlignCenter, slot.label);
    }
    painter.drawText(QRect(0, 940, 1600, 50), Qt::AlignCenter,
                     QStringLiteral("Valori delle interazioni tra le aree in ordine decrescente "
                                    "(massimo 20 aree)"));
    painter.end();
    if (image.save(path, "PNG"))
        return true;
    if (error)
        *error = QStringLiteral("Impossibile scrivere il grafico \"%1\".")
                     .arg(QDir::toNativeSeparators(path));
    return false;
}

} // namespace urbaflux
