#include "chartpicture.h"

#include "document.h"
#include "gravitationchart.h"

#include <archivefile.h>
#include <safefile.h>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QStandardPaths>
#include <QSvgGenerator>
#include <cmath>
#include <memory>

namespace urbaflux {

namespace {

constexpr double kLayoutDpi = 96.0;
// Height of the printed chart against its width: room for 20 legible rows.
constexpr double kPrintAspect = 0.78;

bool widgetsAvailable(const QString& path, QString* error)
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        return true;
    if (error)
        *error = QStringLiteral("Impossibile disegnare il grafico %1: il programma non ha "
                                "un'interfaccia grafica.")
                     .arg(archiveDisplayName(path));
    return false;
}

QString writeFailure(const QString& path, const QString& reason)
{
    return QStringLiteral("Impossibile scrivere l'immagine del grafico %1: %2.")
        .arg(archiveDisplayName(path), reason);
}

// A chart in a scene of its own, laid out at `size`; the scene owns the chart.
struct StagedChart
{
    QGraphicsScene scene;
    GravitationChart* chart = nullptr;

    StagedChart(const ChartSlots& slots, ChartKind kind, const QSize& size)
    {
        chart = new GravitationChart;
        scene.addItem(chart);
        chart->setGeometry(QRectF(QPointF(0, 0), QSizeF(size)));
        chart->showSlots(slots, kind);
        chart->layOutNow();
        scene.setSceneRect(chart->geometry());
    }

    void paint(QPainter& painter, const QRectF& target)
    {
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                               QPainter::SmoothPixmapTransform);
        scene.render(&painter, target, scene.sceneRect(), Qt::KeepAspectRatio);
    }
};

bool saveBytes(const QString& path, const QByteArray& bytes, QString* error)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        if (error)
            *error = writeFailure(path, QStringLiteral("la cartella non può essere creata"));
        return false;
    }
    SafeFile file(path);
    if (file.open()) {
        file.write(bytes);
        if (file.commit())
            return true;
    }
    if (error)
        *error = writeFailure(path, file.reason()) + QLatin1Char(' ') +
                 untouchedSentence(file.hadPreviousFile());
    return false;
}

QByteArray pngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // Light compression (for PNG a higher quality compresses less): the file is rewritten at
    // every printout and report, and the document keeps its own copy of the bytes.
    image.save(&buffer, "PNG", 80);
    return bytes;
}

} // namespace

QString chartPicturePath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return folder + QStringLiteral("/graficoGravitazioni.png");
}

QSize chartPrintLayoutSize()
{
    const double widthPoints = PageSetup{}.textWidth();
    const int width = int(std::lround(widthPoints / 72.0 * kLayoutDpi));
    return QSize(width, int(std::lround(width * kPrintAspect)));
}

QImage renderChartImage(const ChartSlots& slots, ChartKind kind, const QSize& layoutSize,
                        double scale)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()) || layoutSize.isEmpty())
        return {};
    StagedChart staged(slots, kind, layoutSize);
    const QSize pixels(int(std::lround(layoutSize.width() * scale)),
                       int(std::lround(layoutSize.height() * scale)));
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        staged.paint(painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    }
    // Set only now: while painting, the picture counts as the layout's 96 dots per inch.
    const int dotsPerMeter = int(std::lround(kLayoutDpi * scale / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

bool renderChartPicture(const ChartSlots& slots, ChartKind kind, const QString& path,
                        QString* error)
{
    if (!widgetsAvailable(path, error))
        return false;
    const QImage image =
        renderChartImage(slots, kind, chartPrintLayoutSize(), kChartPrintDpi / kLayoutDpi);
    if (image.isNull()) {
        if (error)
            *error = writeFailure(path, QStringLiteral("il disegno non è riuscito"));
        return false;
    }
    return saveBytes(path, pngBytes(image), error);
}

bool saveChartImage(const ChartSlots& slots, ChartKind kind, const QString& path, QString* error)
{
    if (!widgetsAvailable(path, error))
        return false;
    const QString suffix = QFileInfo(path).suffix().toLower();
    const QSize layout = chartPrintLayoutSize();
    if (suffix == QLatin1String("svg") || suffix == QLatin1String("pdf")) {
        StagedChart staged(slots, kind, layout);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        bool painted = false;
        if (suffix == QLatin1String("svg")) {
            QSvgGenerator svg;
            svg.setOutputDevice(&buffer);
            svg.setSize(layout);
            svg.setViewBox(QRect(QPoint(0, 0), layout));
            svg.setResolution(int(kLayoutDpi));
            svg.setTitle(GravitationChart::titleFor(kind));
            svg.setDescription(GravitationChart::footnote());
            QPainter painter;
            if ((painted = painter.begin(&svg)))
                staged.paint(painter, QRectF(QPointF(0, 0), QSizeF(layout)));
        } else {
            QPdfWriter pdf(&buffer);
            pdf.setTitle(GravitationChart::titleFor(kind));
            pdf.setCreator(QStringLiteral("Urbaflux"));
            const QSizeF points(layout.width() * 72.0 / kLayoutDpi,
                                layout.height() * 72.0 / kLayoutDpi);
            pdf.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point),
                                          QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
            pdf.setResolution(kChartPrintDpi);
            QPainter painter;
            if ((painted = painter.begin(&pdf)))
                staged.paint(painter, QRectF(QPointF(0, 0), QSizeF(pdf.width(), pdf.height())));
        }
        if (!painted) {
            if (error)
                *error = writeFailure(path, QStringLiteral("il disegno non è riuscito"));
            return false;
        }
        return saveBytes(path, bytes, error);
    }
    const QImage image = renderChartImage(slots, kind, layout, kChartPrintDpi / kLayoutDpi);
    if (image.isNull()) {
        if (error)
            *error = writeFailure(path, QStringLiteral("il disegno non è riuscito"));
        return false;
    }
    return saveBytes(path, pngBytes(image), error);
}

} // namespace urbaflux
