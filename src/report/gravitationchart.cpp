#include "gravitationchart.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QHorizontalBarSeries>
#include <QLegend>
#include <QLegendMarker>
#include <QLocale>
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
constexpr int kRowPixels = 13; // the largest size of twenty rows one above the other
constexpr int kLegendMinPixels = 9;
constexpr int kLegendMaxPixels = 16;
constexpr double kLegendLineFactor = 1.2;
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

// Numbers on the chart are written as an Italian reader writes them: decimal comma, and no
// grouping, as the program writes every number.
QLocale chartLocale()
{
    QLocale locale(QLocale::Italian, QLocale::Italy);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
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
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
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
    setLocalizeNumbers(true);
    setLocale(chartLocale());

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
    for (int r = 0; r < kChartSlots; ++r) {
        auto* mark = new QGraphicsRectItem(this);
        mark->setBrush(kSliceColours[r]);
        mark->setPen(Qt::NoPen);
        mark->setZValue(10);
        mark->hide();
        m_legendMarks.push_back(mark);
        auto* text = new QGraphicsSimpleTextItem(this);
        text->setBrush(kInk);
        text->setZValue(10);
        text->hide();
        m_legendTexts.push_back(text);
    }
    m_share = new QGraphicsSimpleTextItem(this);
    m_share->setFont(chartFont(kTextPixels, true));
    m_share->setBrush(kInk);
    m_share->setZValue(10);
    m_share->hide();
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
    m_share->setText(kind == ChartKind::Pie ? pieShareText(slots) : QString());
    if (kind != ChartKind::Pie)
        setMarginsFor(16, 0);
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
        m_rowLabels << (slot.pair != 0 ? pieLegendLabel(slot) : QString());
        // The slice carries its percent; the legend beside it names the relation.
        QPieSlice* slice = series->append(QString::number(slot.percent) + QLatin1Char('%'),
                                          slot.pair != 0 ? std::max(0.0, slot.value) : 0);
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
    // The chart's own legend lays its rows out with room it cannot be told to keep, and leaves
    // rows out when they do not fit: this one names all twenty, in a size the height allows.
    legend()->setVisible(false);
    for (QGraphicsSimpleTextItem* label : m_valueLabels)
        label->hide();
}

QStringList GravitationChart::legendTexts() const
{
    QStringList texts;
    for (const QGraphicsSimpleTextItem* text : m_legendTexts)
        if (text->isVisible())
            texts << text->text();
    return texts;
}

QList<QRectF> GravitationChart::legendRects() const
{
    QList<QRectF> rects;
    for (const QGraphicsSimpleTextItem* text : m_legendTexts)
        if (text->isVisible())
            rects << text->mapRectToParent(text->boundingRect());
    return rects;
}

QString GravitationChart::shareText() const
{
    return m_share->text();
}

void GravitationChart::setMarginsFor(double rightRoom, double bottomRoom)
{
    const double footnoteHeight = QFontMetricsF(m_footnote->font()).height();
    const QMargins wanted(12, 8, int(std::ceil(rightRoom)),
                          int(std::ceil(footnoteHeight + bottomRoom)) + 2 * kFootnoteGap);
    if (margins() != wanted)
        setMargins(wanted);
}

void GravitationChart::placePieLegend()
{
    const QRectF whole = rect();
    const double titleHeight = QFontMetricsF(titleFont()).height();
    const double footnoteTop = m_footnote->pos().y();
    const double shareHeight = m_share->text().isEmpty() ? 0 : m_share->boundingRect().height();
    const double top = whole.top() + 8 + titleHeight + 6;
    const double bottom = footnoteTop - shareHeight - 2 * kFootnoteGap;

    int rows = 0;
    for (const ChartSlot& slot : m_slots.slots)
        rows += slot.pair != 0;
    // The largest size whose rows, one font height apart at least, fill no more than the
    // height there is (fewer rows are no larger than ten would be).
    const double room = bottom - top;
    auto lineFor = [](int size) {
        return std::max(size * kLegendLineFactor, QFontMetricsF(chartFont(size)).height());
    };
    int pixels = kLegendMaxPixels;
    while (pixels > kLegendMinPixels && std::max(rows, 10) * lineFor(pixels) > room)
        --pixels;
    m_legendPixels = rows > 0 ? pixels : 0;
    const QFont font = chartFont(pixels);
    const QFontMetricsF metrics(font);
    const double lineHeight = lineFor(pixels);
    const double mark = std::round(pixels * 0.8);

    // As wide as the longest row, up to half the chart; longer names are shortened in the
    // middle, the percent always whole.
    const double widthRoom = whole.width() * 0.5;
    double widest = 0;
    QStringList texts;
    for (int r = 0; r < kChartSlots; ++r) {
        const ChartSlot& slot = m_slots.slots[static_cast<size_t>(r)];
        if (slot.pair == 0) {
            texts << QString();
            continue;
        }
        QString text = m_rowLabels.value(r);
        const QString percent =
            QStringLiteral("  ") + QString::number(slot.percent) + QLatin1Char('%');
        if (mark + 6 + metrics.horizontalAdvance(text) > widthRoom) {
            const QString relation = text.left(text.size() - percent.size());
            text = metrics.elidedText(relation, Qt::ElideMiddle,
                                      widthRoom - mark - 6 - metrics.horizontalAdvance(percent)) +
                   percent;
        }
        texts << text;
        widest = std::max(widest, mark + 6 + metrics.horizontalAdvance(text));
    }
    const double left = whole.right() - 12 - widest;
    const double height = rows * lineHeight;
    double y = top + std::max(0.0, (bottom - top - height) / 2);
    for (int r = 0; r < kChartSlots; ++r) {
        QGraphicsRectItem* box = m_legendMarks[static_cast<size_t>(r)];
        QGraphicsSimpleTextItem* text = m_legendTexts[static_cast<size_t>(r)];
        if (texts[r].isEmpty()) {
            box->hide();
            text->hide();
            continue;
        }
        if (text->font() != font)
            text->setFont(font);
        text->setText(texts[r]);
        box->setRect(left, y + (lineHeight - mark) / 2, mark, mark);
        text->setPos(left + mark + 6, y + (lineHeight - metrics.height()) / 2);
        box->show();
        text->show();
        y += lineHeight;
    }
    const QRectF shareBox = m_share->boundingRect();
    m_share->setPos(whole.left() + (whole.width() - shareBox.width()) / 2,
                    footnoteTop - shareBox.height() - kFootnoteGap);
    m_share->setVisible(!m_share->text().isEmpty());
    setMarginsFor(widest + 24, shareHeight + kFootnoteGap);
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
    const bool pie = m_kind == ChartKind::Pie;
    if (!pie) {
        for (QGraphicsRectItem* box : m_legendMarks)
            box->hide();
        for (QGraphicsSimpleTextItem* label : m_legendTexts)
            label->hide();
        m_share->hide();
    } else if (!m_placing) {
        // New margins lay the chart out again, which calls back here.
        m_placing = true;
        placePieLegend();
        m_placing = false;
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
    const int pixels = std::clamp(int(plot.height() / kChartSlots * 0.8), 9, kRowPixels);
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
