#include "gravitationchart.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QHorizontalBarSeries>
#include <QLegend>
#include <QLegendMarker>
#include <QPen>
#include <QPieSeries>
#include <QPieSlice>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace urbaflux {

namespace {

// Pixel sizes at 96 per inch: 9 points for the rows, 13 for the title.
constexpr int kTitlePixels = 17;
constexpr int kTextPixels = 12;
constexpr int kSmallPixels = 11;
constexpr int kRowPixels = 10; // twenty rows one above the other, none left out
constexpr int kFootnoteGap = 4;

const QColor kBarColour(46, 94, 150);
const QColor kInk(40, 40, 40);
const QColor kGridColour(222, 222, 222);

// Twenty colours that stay apart on screen and in print, in the order of the slices.
const QColor kSliceColours[kChartSlots] = {
    {31, 119, 180},  {255, 127, 14},  {44, 160, 44},   {214, 39, 40},   {148, 103, 189},
    {140, 86, 75},   {227, 119, 194}, {127, 127, 127}, {188, 189, 34},  {23, 190, 207},
    {174, 199, 232}, {255, 187, 120}, {152, 223, 138}, {255, 152, 150}, {197, 176, 213},
    {196, 156, 148}, {247, 182, 210}, {199, 199, 199}, {219, 219, 141}, {158, 218, 229}};

QFont chartFont(int pixels, bool bold = false, bool italic = false)
{
    // The documents are in Century Gothic; URW Gothic is its metric twin where it is missing.
    QFont font;
    font.setFamilies({QStringLiteral("Century Gothic"), QStringLiteral("URW Gothic"),
                      QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

// A value as the bar shows it: whole numbers from 100 up, two significant decimals below.
QString valueText(double value)
{
    const double magnitude = std::fabs(value);
    const int decimals = magnitude >= 100 ? 0 : magnitude >= 10 ? 1 : 2;
    QString text = QString::number(value, 'f', decimals);
    if (decimals > 0) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}

// The end of a value axis from 0: a round number a little above the largest value, leaving
// room for the value written after the longest bar.
double axisEnd(double largest)
{
    if (!(largest > 0) || !std::isfinite(largest))
        return 1;
    const double target = largest * 1.12;
    const double step = std::pow(10.0, std::floor(std::log10(target)));
    for (double multiple : {1.0, 1.2, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 8.0, 10.0}) {
        if (multiple * step >= target)
            return multiple * step;
    }
    return 10 * step;
}

} // namespace

GravitationChart::GravitationChart(QGraphicsItem* parent) : QChart(parent)
{
    setAnimationOptions(QChart::NoAnimation);
    setBackgroundRoundness(0);
    setDropShadowEnabled(false);
    setBackgroundBrush(Qt::white);
    setBackgroundPen(Qt::NoPen);
    setTitleFont(chartFont(kTitlePixels, true));
    setTitleBrush(kInk);
    legend()->setFont(chartFont(kTextPixels));
    legend()->setLabelColor(kInk);

    m_footnote = new QGraphicsSimpleTextItem(footnote(), this);
    m_footnote->setFont(chartFont(kSmallPixels, false, true));
    m_footnote->setBrush(QColor(90, 90, 90));
    m_footnote->setZValue(10);
    const double footnoteHeight = QFontMetricsF(m_footnote->font()).height();
    setMargins(QMargins(12, 8, 16, int(std::ceil(footnoteHeight)) + 2 * kFootnoteGap));

    for (int r = 0; r < kChartSlots; ++r) {
        auto* label = new QGraphicsSimpleTextItem(this);
        label->setFont(chartFont(kSmallPixels));
        label->setBrush(kInk);
        label->setZValue(10);
        label->hide();
        m_valueLabels.push_back(label);
        auto* row = new QGraphicsSimpleTextItem(this);
        row->setFont(chartFont(kRowPixels));
        row->setBrush(kInk);
        row->setZValue(10);
        row->hide();
        m_rowLabelItems.push_back(row);
    }
    connect(this, &QChart::plotAreaChanged, this, [this] { placeDecorations(); });
    // Empty until the first showSlots: a chart drawn twice before it is painted offscreen would
    // keep the replaced axes on screen until the event loop deletes them.
    setTitle(titleFor(m_kind));
}

GravitationChart::~GravitationChart() = default;

QString GravitationChart::titleFor(ChartKind kind)
{
    return kind == ChartKind::Pie ? QStringLiteral("Gravitazioni principali in %")
                                  : QStringLiteral("Gravitazioni principali");
}

QString GravitationChart::footnote()
{
    return QStringLiteral(
        "Valori delle interazioni tra le aree in ordine decrescente (massimo 20 aree)");
}

void GravitationChart::showSlots(const ChartSlots& slots, ChartKind kind)
{
    m_slots = slots;
    m_kind = kind;
    removeAllSeries();
    for (QAbstractAxis* axis : axes()) {
        // Hidden first: its drawing goes only when the event loop deletes it.
        axis->setVisible(false);
        removeAxis(axis);
        delete axis;
    }
    setTitle(titleFor(kind));
    m_rowLabels.clear();
    if (kind == ChartKind::Pie)
        drawPie();
    else
        drawBars();
    placeDecorations();
}

void GravitationChart::drawBars()
{
    // One series whose column is labelled with a blank in the old chart; the legend names
    // what the bars measure instead.
    auto* set = new QBarSet(QStringLiteral("interazioni"));
    set->setColor(kBarColour);
    set->setBorderColor(kBarColour);
    // Horizontal bars run from the bottom up: the rows go in from slot 20, so that slot 1, the
    // largest, stands on top.
    QStringList categories;
    double largest = 0;
    for (int r = 0; r < kChartSlots; ++r) {
        const ChartSlot& slot = m_slots.slots[static_cast<size_t>(r)];
        m_rowLabels << (slot.pair != 0 ? slot.label : QString());
        largest = std::max(largest, slot.pair != 0 ? slot.value : 0.0);
    }
    for (int r = kChartSlots - 1; r >= 0; --r) {
        const ChartSlot& slot = m_slots.slots[static_cast<size_t>(r)];
        set->append(slot.pair != 0 ? slot.value : 0.0);
        // The axis keeps one category per distinct text: rows whose labels are equal (empty
        // slots, pairs without numbers) are told apart by invisible marks.
        categories << m_rowLabels[r] + QString(r, QChar(0x200B));
    }
    auto* series = new QHorizontalBarSeries;
    series->setBarWidth(0.72);
    series->append(set);
    addSeries(series);

    auto* rows = new QBarCategoryAxis;
    rows->append(categories);
    rows->setLabelsFont(chartFont(kRowPixels));
    // Room for the labels the chart writes itself (see placeDecorations).
    rows->setLabelsColor(Qt::transparent);
    rows->setGridLineVisible(false);
    rows->setTruncateLabels(false);
    rows->setLinePen(QPen(QColor(150, 150, 150)));
    rows->setTitleText(QStringLiteral("aree (origine-destinazione)"));
    rows->setTitleFont(chartFont(kSmallPixels));
    rows->setTitleBrush(kInk);
    addAxis(rows, Qt::AlignLeft);
    series->attachAxis(rows);

    auto* values = new QValueAxis;
    values->setRange(0, axisEnd(largest));
    values->setTickCount(6);
    values->setLabelFormat(axisEnd(largest) >= 10 ? QStringLiteral("%.0f")
                                                  : QStringLiteral("%.2f"));
    values->setLabelsFont(chartFont(kSmallPixels));
    values->setLabelsColor(kInk);
    values->setGridLinePen(QPen(kGridColour));
    values->setLinePen(QPen(QColor(150, 150, 150)));
    addAxis(values, Qt::AlignBottom);
    series->attachAxis(values);

    legend()->setVisible(true);
    legend()->setAlignment(Qt::AlignBottom);
    legend()->setContentsMargins(0, 0, 0, 0);
    legend()->setFont(chartFont(kTextPixels));
    for (int r = 0; r < kChartSlots; ++r) {
        const ChartSlot& slot = m_slots.slots[static_cast<size_t>(r)];
        m_valueLabels[static_cast<size_t>(r)]->setText(slot.pair != 0 ? valueText(slot.value)
                                                                      : QString());
        m_rowLabelItems[static_cast<size_t>(r)]->setText(m_rowLabels[r].trimmed());
    }
}

void GravitationChart::drawPie()
{
    auto* series = new QPieSeries;
    series->setPieSize(0.78);
    series->setHorizontalPosition(0.5);
    for (int r = 0; r < kChartSlots; ++r) {
        const ChartSlot& slot = m_slots.slots[static_cast<size_t>(r)];
        const QString label = pieSlotLabel(slot);
        m_rowLabels << label;
        QPieSlice* slice = series->append(label, slot.pair != 0 ? std::max(0.0, slot.value) : 0);
        slice->setColor(kSliceColours[r]);
        slice->setBorderColor(Qt::white);
        slice->setBorderWidth(1);
        slice->setLabelFont(chartFont(kSmallPixels));
        slice->setLabelColor(kInk);
        // Only slices wide enough to carry their text are labelled; the legend names them all.
        slice->setLabelVisible(false);
    }
    addSeries(series);
    double shown = 0;
    for (QPieSlice* slice : series->slices())
        shown += slice->value();
    for (QPieSlice* slice : series->slices()) {
        if (shown > 0 && slice->value() / shown >= 0.035) {
            slice->setLabelVisible(true);
            slice->setLabelPosition(QPieSlice::LabelOutside);
            slice->setLabelArmLengthFactor(0.08);
        }
    }
    legend()->setVisible(true);
    legend()->setAlignment(Qt::AlignRight);
    legend()->setFont(chartFont(kRowPixels));
    // Empty slots are no slices: their "0%" rows are kept out of the legend.
    const QList<QLegendMarker*> markers = legend()->markers(series);
    for (int r = 0; r < markers.size() && r < kChartSlots; ++r)
        markers[r]->setVisible(m_slots.slots[static_cast<size_t>(r)].pair != 0);
    for (QGraphicsSimpleTextItem* label : m_valueLabels)
        label->hide();
}

QStringList GravitationChart::rowLabels() const
{
    return m_rowLabels;
}

QList<double> GravitationChart::rowValues() const
{
    QList<double> values;
    for (const ChartSlot& slot : m_slots.slots)
        values << (slot.pair != 0 ? slot.value : 0.0);
    return values;
}

QString GravitationChart::footnoteText() const
{
    return m_footnote->text();
}

void GravitationChart::layOutNow()
{
    if (QGraphicsLayout* own = layout())
        own->activate();
    QCoreApplication::sendPostedEvents(this, QEvent::LayoutRequest);
    placeDecorations();
}

void GravitationChart::resizeEvent(QGraphicsSceneResizeEvent* event)
{
    QChart::resizeEvent(event);
    placeDecorations();
}

void GravitationChart::placeDecorations()
{
    const QRectF whole = rect();
    const QRectF text = m_footnote->boundingRect();
    m_footnote->setPos(whole.left() + (whole.width() - text.width()) / 2,
                       whole.bottom() - text.height() - kFootnoteGap);

    const QList<QAbstractSeries*> all = series();
    if (m_kind == ChartKind::Pie) {
        // Twenty legend rows in the height there is, down to a small font in a small window.
        const int pixels =
            std::clamp(int((whole.height() - 90) / kChartSlots / 1.75), 6, kRowPixels - 1);
        if (legend()->font().pixelSize() != pixels)
            legend()->setFont(chartFont(pixels));
    }
    if (m_kind != ChartKind::Bars || all.isEmpty()) {
        for (QGraphicsSimpleTextItem* label : m_valueLabels)
            label->hide();
        for (QGraphicsSimpleTextItem* label : m_rowLabelItems)
            label->hide();
        return;
    }
    QAbstractSeries* bars = all.first();
    const QRectF plot = plotArea();
    // The axis would leave out labels that touch one another; the chart writes the pair
    // numbers itself, in a font that fits the rows of a small window too.
    const int pixels = std::clamp(int(plot.height() / kChartSlots * 0.8), 7, kRowPixels);
    for (int r = 0; r < kChartSlots; ++r) {
        QGraphicsSimpleTextItem* label = m_valueLabels[static_cast<size_t>(r)];
        QGraphicsSimpleTextItem* row = m_rowLabelItems[static_cast<size_t>(r)];
        const ChartSlot& slot = m_slots.slots[static_cast<size_t>(r)];
        if (slot.pair == 0 || plot.isEmpty()) {
            label->hide();
            row->hide();
            continue;
        }
        const QPointF start = mapToPosition(QPointF(0, kChartSlots - 1 - r), bars);
        if (row->font().pixelSize() != pixels) {
            row->setFont(chartFont(pixels));
            label->setFont(chartFont(pixels + 1));
        }
        const QRectF rowBox = row->boundingRect();
        row->setPos(plot.left() - rowBox.width() - 5, start.y() - rowBox.height() / 2);
        row->show();
        const QPointF end = mapToPosition(QPointF(slot.value, kChartSlots - 1 - r), bars);
        const QRectF box = label->boundingRect();
        double x = end.x() + 4;
        if (x + box.width() > plot.right())
            x = std::max(plot.left(), plot.right() - box.width());
        label->setPos(x, end.y() - box.height() / 2);
        label->show();
    }
}

} // namespace urbaflux
