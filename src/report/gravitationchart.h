#pragma once

// The chart of the 20 main gravitations as the charts window shows it and the pictures render
// it: horizontal bars (largest on top, pair numbers legible at the left) or a pie of the 20
// slots, with the title, a legend and the fixed footnote under the plot. Fonts are set in pixels,
// so the layout is the same on any screen and in an offscreen picture.

#include "chartpicture.h"

#include <QChart>
#include <QList>
#include <QStringList>
#include <vector>

class QGraphicsRectItem;
class QGraphicsSimpleTextItem;

namespace urbaflux {

class GravitationChart : public QChart
{
    Q_OBJECT

public:
    explicit GravitationChart(QGraphicsItem* parent = nullptr);
    ~GravitationChart() override;

    static QString titleFor(ChartKind kind);
    static QString footnote();

    // Replaces whatever the chart showed by the slots drawn as `kind`.
    void showSlots(const ChartSlots& slots, ChartKind kind);

    ChartKind kind() const { return m_kind; }
    const ChartSlots& shownSlots() const { return m_slots; }
    // What the 20 rows show, as drawn: the labels of the bars or of the slices, and the values.
    QStringList rowLabels() const;
    QList<double> rowValues() const;
    QString footnoteText() const;
    // The pie's line on the share of the total its slices make; empty for the bars.
    QString shareText() const;
    // The pixel size of the pie's legend rows as last laid out.
    int legendPixels() const { return m_legendPixels; }
    // The pie's legend rows as drawn: their texts and where they stand in the chart.
    QStringList legendTexts() const;
    QList<QRectF> legendRects() const;

    // Lays out everything now, as the event loop would: needed before painting a chart that
    // is not in a view.
    void layOutNow();

protected:
    void resizeEvent(QGraphicsSceneResizeEvent* event) override;

private:
    void drawBars();
    void drawPie();
    void placeDecorations();
    void placePieLegend();
    void setMarginsFor(double rightRoom, double bottomRoom);

    ChartSlots m_slots;
    ChartKind m_kind = ChartKind::Bars;
    QGraphicsSimpleTextItem* m_footnote = nullptr;
    std::vector<QGraphicsSimpleTextItem*> m_valueLabels;   // one per bar, bars only
    std::vector<QGraphicsSimpleTextItem*> m_rowLabelItems; // the pair numbers beside the bars
    QStringList m_rowLabels;
    // The pie's own legend: every relation by name, in a size the height allows.
    std::vector<QGraphicsRectItem*> m_legendMarks;
    std::vector<QGraphicsSimpleTextItem*> m_legendTexts;
    QGraphicsSimpleTextItem* m_share = nullptr;
    int m_legendPixels = 0;
    bool m_placing = false;
};

} // namespace urbaflux
