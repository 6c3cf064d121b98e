#include "flowmap.h"

#include "chartpicture.h"
#include "mapprojection.h"

#include <archivefile.h>
#include <projectstate.h>
#include <scenariocomparison.h>

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

namespace urbaflux {

namespace {

constexpr double kLayoutDpi = 96.0;
// Height of the printed map against its width: room for the region and the legend beneath.
constexpr double kPrintAspect = 0.9;

const QColor kZoneFill(238, 234, 223);
const QColor kZoneBorder(150, 143, 128);
const QColor kFlowColour(31, 78, 140); // one hue for one quantity
const QColor kGainColour(200, 55, 40); // a diverging pair for signed changes
const QColor kLossColour(33, 102, 172);
const QColor kCircleFill(120, 120, 120, 150);
const QColor kText(40, 40, 40);

QString italianNumber(double value)
{
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    const double magnitude = std::abs(value);
    if (magnitude >= 100 || magnitude == std::floor(magnitude))
        return italian.toString(value, 'f', 0);
    return italian.toString(value, 'g', magnitude >= 10 ? 3 : 2);
}

// Two significant digits, downwards: a legend value the reader can take in at a glance.
double roundLegendValue(double value)
{
    if (!(value > 0))
        return 0;
    const double unit = std::pow(10.0, std::floor(std::log10(value)) - 1);
    return std::max(unit, std::floor(value / unit) * unit);
}

// The longest 1, 2 or 5 times a power of ten not beyond `metres`.
double roundScaleLength(double metres)
{
    if (!(metres > 0))
        return 0;
    const double power = std::pow(10.0, std::floor(std::log10(metres)));
    for (const double step : {5.0, 2.0, 1.0})
        if (step * power <= metres)
            return step * power;
    return power;
}

QString lengthText(double metres)
{
    if (metres >= 1000)
        return italianNumber(metres / 1000.0) + QStringLiteral(" km");
    return italianNumber(metres) + QStringLiteral(" m");
}

void fillCommon(FlowMapData& data, const ProjectState& state)
{
    const ZoneSet& zones = state.zones;
    const int n = std::min<int>(int(zones.zones.size()), qBound(0, state.areas.count, kMaxAreas));
    if (n <= 0)
        return;
    const MapProjection projection = MapProjection::forZones(zones);
    data.projectionName = projection.name();
    data.zoneRings.resize(static_cast<size_t>(n));
    data.anchors.resize(static_cast<size_t>(n));
    data.names.resize(static_cast<size_t>(n));
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    const auto grow = [&](const QPointF& p) {
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
            return;
        minX = std::min(minX, p.x());
        maxX = std::max(maxX, p.x());
        minY = std::min(minY, p.y());
        maxY = std::max(maxY, p.y());
    };
    std::vector<QPointF> projected;
    double lon = 0;
    double lat = 0;
    for (int i = 0; i < n; ++i) {
        const Zone& zone = zones.zones[static_cast<size_t>(i)];
        auto& rings = data.zoneRings[static_cast<size_t>(i)];
        const auto addRing = [&](const GeoRing& ring) {
            projection.project(ring, projected);
            QPolygonF polygon;
            polygon.reserve(qsizetype(projected.size()));
            for (const QPointF& p : projected) {
                polygon << p;
                grow(p);
            }
            rings.push_back(std::move(polygon));
        };
        for (const GeoPolygon& part : zone.parts) {
            addRing(part.outer);
            for (const GeoRing& hole : part.holes)
                addRing(hole);
        }
        data.anchors[static_cast<size_t>(i)] = projection.project(zone.point);
        grow(data.anchors[static_cast<size_t>(i)]);
        data.names[static_cast<size_t>(i)] = state.areas.name[static_cast<size_t>(i + 1)].trimmed();
        lon += zone.point.lon;
        lat += zone.point.lat;
    }
    if (minX > maxX) {
        data.anchors.clear();
        return;
    }
    data.bounds = QRectF(QPointF(minX, minY), QPointF(maxX, maxY));
    // True north at the centre: the direction a small step north takes on the projected plane.
    const GeoPoint centre{lon / n, lat / n};
    const QPointF here = projection.project(centre);
    const QPointF north = projection.project(GeoPoint{centre.lon, centre.lat + 0.01});
    const double dx = north.x() - here.x();
    const double dy = north.y() - here.y();
    if (std::isfinite(dx) && std::isfinite(dy) && (dx != 0 || dy != 0))
        data.northAngle = std::atan2(dx, dy);
}

QPointF quadratic(const QPointF& p0, const QPointF& c, const QPointF& p2, double t)
{
    const double u = 1 - t;
    return u * u * p0 + 2 * u * t * c + t * t * p2;
}

// The parameter between `inside` (a point within the circle of `radius` around `centre`) and
// `outside` where the curve leaves the circle; the distance grows monotonically along our gentle
// curves between the two. `outside` itself when it is within the circle too.
double leaveCircle(const QPointF& p0, const QPointF& c, const QPointF& p2, const QPointF& centre,
                   double radius, double inside, double outside)
{
    const auto distance = [&](double t) {
        const QPointF d = quadratic(p0, c, p2, t) - centre;
        return std::hypot(d.x(), d.y());
    };
    if (distance(outside) < radius)
        return outside;
    for (int step = 0; step < 30; ++step) {
        const double mid = (inside + outside) / 2;
        if (distance(mid) < radius)
            inside = mid;
        else
            outside = mid;
    }
    return outside;
}

// The control point of the part of a quadratic curve between t0 and t1 (its blossom).
QPointF subControl(const QPointF& p0, const QPointF& c, const QPointF& p2, double t0, double t1)
{
    return (1 - t0) * (1 - t1) * p0 + ((1 - t0) * t1 + t0 * (1 - t1)) * c + t0 * t1 * p2;
}

void drawHaloText(QPainter& painter, const QPointF& baseline, const QString& text,
                  const QFont& font, const QColor& colour)
{
    QPainterPath path;
    path.addText(baseline, font, text);
    painter.setPen(QPen(QColor(255, 255, 255, 220), std::max(1.5, font.pixelSize() / 4.0),
                        Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(path);
}

QFont pixelFont(double pixels, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(1, int(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

QString writeFailure(const QString& path, const QString& reason)
{
    return QStringLiteral("Impossibile scrivere l'immagine della mappa %1: %2.")
        .arg(archiveDisplayName(path), reason);
}

bool saveBytes(const QString& path, const QByteArray& bytes, QString* error)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        if (error)
            *error = writeFailure(path, QStringLiteral("la cartella non può essere creata"));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = writeFailure(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

FlowMapData flowMapData(const ProjectState& state, const FlowMapOptions& options)
{
    FlowMapData data;
    fillCommon(data, state);
    data.title = QStringLiteral("Mappa delle gravitazioni principali");
    const int n = int(data.anchors.size());
    data.selection = selectLargestFlows(state, boundedFlowLimit(options.flows));
    // Flows from or to an area without a zone cannot be drawn.
    std::erase_if(data.selection.flows,
                  [n](const Flow& f) { return f.origin > n || f.destination > n; });
    data.caption = flowMapCaption(data.selection);
    data.circleValues.resize(static_cast<size_t>(n));
    for (int i = 1; i <= n; ++i) {
        const auto at = static_cast<size_t>(i);
        data.circleValues[at - 1] =
            options.circles == CircleMeasure::Origins
                ? state.interactions.estimatedOrigins[at]
                : double(state.interactions
                             .interaction[static_cast<size_t>(pairIndex(i, i, state.areas.count))]);
    }
    data.circleNote = options.circles == CircleMeasure::Origins
                          ? QStringLiteral("Area dei cerchi proporzionale alle origini stimate")
                          : QStringLiteral("Area dei cerchi proporzionale all'interazione interna "
                                           "di ogni area");
    return data;
}

FlowMapData differenceMapData(const ProjectState& project, const ScenarioComparison& comparison,
                              int flows)
{
    FlowMapData data;
    if (!comparison.comparable())
        return data;
    fillCommon(data, project);
    data.differences = true;
    data.title = QStringLiteral("Variazioni delle interazioni rispetto allo scenario di base");
    const int n = int(data.anchors.size());
    data.selection = selectLargestFlows(pairDifferences(comparison), int(comparison.areas.size()),
                                        boundedFlowLimit(flows));
    std::erase_if(data.selection.flows,
                  [n](const Flow& f) { return f.origin > n || f.destination > n; });
    QString percent = QString::number(data.selection.sharePercent(), 'f', 1);
    percent.replace(QLatin1Char('.'), QLatin1Char(','));
    data.caption = QStringLiteral("Le %1 variazioni mostrate sono il %2% delle variazioni tra aree "
                                  "diverse")
                       .arg(data.selection.flows.size())
                       .arg(percent);
    data.circleValues.resize(static_cast<size_t>(n));
    for (int i = 0; i < n && i < int(comparison.areas.size()); ++i)
        data.circleValues[static_cast<size_t>(i)] =
            comparison.areas[static_cast<size_t>(i)].origins.difference;
    data.circleNote = QStringLiteral("Area dei cerchi proporzionale alla variazione delle origini");
    return data;
}

void paintFlowMap(QPainter& painter, const QRectF& target, const FlowMapData& data,
                  FlowMapDrawing* drawn)
{
    FlowMapDrawing local;
    FlowMapDrawing& out = drawn ? *drawn : local;
    out = FlowMapDrawing{};
    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.fillRect(target, Qt::white);
    if (!data.hasGeometry()) {
        painter.restore();
        return;
    }
    const double W = target.width();
    const double unit = std::min(W, target.height()) / 600.0; // sizes follow the picture
    const double margin = 12 * unit;

    // --- Title, legend band and caption ---
    const QFont titleFont = pixelFont(17 * unit, true);
    const QFont textFont = pixelFont(11 * unit);
    const QFont nameFont = pixelFont(10 * unit);
    const QFontMetricsF titleMetrics(titleFont, painter.device());
    const QFontMetricsF textMetrics(textFont, painter.device());
    const double titleHeight = titleMetrics.height() + margin;
    const double legendHeight = 5.4 * textMetrics.height() + margin;
    QRectF mapRect(target.left() + margin, target.top() + titleHeight, W - 2 * margin,
                   target.height() - titleHeight - legendHeight - margin);
    painter.setPen(kText);
    painter.setFont(titleFont);
    painter.drawText(QRectF(target.left(), target.top() + margin / 2, W, titleMetrics.height()),
                     Qt::AlignHCenter | Qt::AlignTop, data.title);

    // --- The plane: the region fitted into the frame at one scale both ways ---
    const int n = int(data.anchors.size());
    const double mapMin = std::min(mapRect.width(), mapRect.height());
    const double rMax = std::clamp(0.45 * std::sqrt(mapRect.width() * mapRect.height() / n),
                                   0.015 * mapMin, 0.06 * mapMin);
    const QRectF inner = mapRect.adjusted(rMax, rMax, -rMax, -rMax);
    const double bw = std::max(data.bounds.width(), 1.0);
    const double bh = std::max(data.bounds.height(), 1.0);
    const double scale = std::min(inner.width() / bw, inner.height() / bh); // pixels per metre
    const QPointF bc = data.bounds.center();
    const QPointF ic = inner.center();
    const auto toScreen = [&](const QPointF& p) {
        return QPointF(ic.x() + (p.x() - bc.x()) * scale, ic.y() - (p.y() - bc.y()) * scale);
    };

    // --- Zones, lightly filled, with their borders ---
    painter.setPen(QPen(kZoneBorder, std::max(0.5, 0.7 * unit)));
    painter.setBrush(kZoneFill);
    for (const auto& rings : data.zoneRings) {
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        for (const QPolygonF& ring : rings) {
            QPolygonF screen;
            screen.reserve(ring.size());
            for (const QPointF& p : ring)
                screen << toScreen(p);
            path.addPolygon(screen);
            path.closeSubpath();
        }
        painter.drawPath(path);
    }

    // --- Circles: area proportional to the value ---
    double circleMax = 0;
    for (const double v : data.circleValues)
        if (std::isfinite(v))
            circleMax = std::max(circleMax, std::abs(v));
    out.circleRadii.assign(static_cast<size_t>(n), 0.0);
    std::vector<QPointF> centres(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        centres[static_cast<size_t>(i)] = toScreen(data.anchors[static_cast<size_t>(i)]);
        const double v = i < int(data.circleValues.size()) ? data.circleValues[size_t(i)] : 0.0;
        if (circleMax > 0 && std::isfinite(v))
            out.circleRadii[size_t(i)] = rMax * std::sqrt(std::abs(v) / circleMax);
    }
    std::vector<int> byCircle(static_cast<size_t>(n));
    std::iota(byCircle.begin(), byCircle.end(), 0);
    std::stable_sort(byCircle.begin(), byCircle.end(), [&](int a, int b) {
        return out.circleRadii[size_t(a)] > out.circleRadii[size_t(b)];
    });
    painter.setPen(QPen(Qt::white, std::max(0.5, 0.8 * unit)));
    for (const int i : byCircle) {
        const double r = out.circleRadii[size_t(i)];
        if (r <= 0)
            continue;
        QColor fill = kCircleFill;
        if (data.differences)
            fill = data.circleValues[size_t(i)] > 0 ? kGainColour : kLossColour, fill.setAlpha(110);
        painter.setBrush(fill);
        painter.drawEllipse(centres[size_t(i)], r, r);
    }

    // --- Flows: proportional widths, curved, smallest first ---
    double flowMax = 0;
    for (const Flow& f : data.selection.flows)
        flowMax = std::max(flowMax, std::abs(f.value));
    const double widthMax = std::max(2.0, 0.022 * mapMin);
    const double gap = 1.5 * unit;
    for (const Flow& f : data.selection.flows) {
        const QPointF p0 = centres[size_t(f.origin - 1)];
        const QPointF p2 = centres[size_t(f.destination - 1)];
        const QPointF chord = p2 - p0;
        const double length = std::hypot(chord.x(), chord.y());
        if (!(length > 0) || !(flowMax > 0))
            continue;
        const double width = widthMax * std::abs(f.value) / flowMax;
        // Every flow bends to the same side of its direction (Jenny et al. 2017), so the two
        // flows of a pair of areas part instead of covering each other.
        const QPointF normal(-chord.y() / length, chord.x() / length);
        const QPointF control = (p0 + p2) / 2 + normal * (0.2 * length);
        const double rTarget = out.circleRadii[size_t(f.destination - 1)];
        const double rOrigin = out.circleRadii[size_t(f.origin - 1)];
        double t0 = leaveCircle(p0, control, p2, p0, rOrigin + gap, 0.0, 0.5);
        double t1 = leaveCircle(p0, control, p2, p2, rTarget + gap, 1.0, 0.5);
        if (t1 - t0 < 0.05) { // circles overlapping: from centre to centre
            t0 = 0;
            t1 = 1;
        }
        const QPointF tip = quadratic(p0, control, p2, t1);
        // The arrowhead grows with the flow, with a least size that stays legible.
        const double headLength = std::max(2.4 * width, 5.0 * unit);
        const double headHalf = std::max(1.3 * width, 2.6 * unit);
        // The head's base: where the curve, walked back from the tip, is a head's length away.
        const double tBase = leaveCircle(p0, control, p2, tip, headLength, t1, t0);
        const QPointF base = quadratic(p0, control, p2, tBase);
        // The shaft reaches a little into the head, so that no seam shows.
        const double tShaftEnd = std::min(t1, tBase + 0.25 * (t1 - tBase));
        QPainterPath shaft(quadratic(p0, control, p2, t0));
        shaft.quadTo(subControl(p0, control, p2, t0, tShaftEnd),
                     quadratic(p0, control, p2, tShaftEnd));
        QColor colour = data.differences ? (f.value > 0 ? kGainColour : kLossColour) : kFlowColour;
        colour.setAlpha(225);
        // A thin white casing parts a flow from those it crosses beneath it.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(
            QPen(QColor(255, 255, 255, 200), width + 1.4 * unit, Qt::SolidLine, Qt::FlatCap));
        painter.drawPath(shaft);
        painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
        painter.drawPath(shaft);
        QPointF along = tip - base;
        const double alongLength = std::hypot(along.x(), along.y());
        if (alongLength > 0)
            along /= alongLength;
        const QPointF side(-along.y() * headHalf, along.x() * headHalf);
        QPolygonF head;
        head << tip << base + side << base - side;
        painter.setPen(QPen(QColor(255, 255, 255, 200), 0.8 * unit));
        painter.setBrush(colour);
        painter.drawPolygon(head);
        out.arrows.push_back({f.pair, f.value, width, tip, base, p2, rTarget});
    }

    // --- Names: larger areas first, placed where they collide with no other ---
    const QFontMetricsF nameMetrics(nameFont, painter.device());
    std::vector<QRectF> placed;
    for (const int i : byCircle) {
        const QString& name = data.names[size_t(i)];
        if (name.isEmpty())
            continue;
        const QPointF c = centres[size_t(i)];
        const double r = out.circleRadii[size_t(i)] + 2 * unit;
        const QSizeF size(nameMetrics.horizontalAdvance(name), nameMetrics.height());
        const QRectF candidates[] = {
            QRectF(QPointF(c.x() + r, c.y() - size.height() / 2), size),
            QRectF(QPointF(c.x() - r - size.width(), c.y() - size.height() / 2), size),
            QRectF(QPointF(c.x() - size.width() / 2, c.y() - r - size.height()), size),
            QRectF(QPointF(c.x() - size.width() / 2, c.y() + r), size),
        };
        bool shown = false;
        for (const QRectF& rect : candidates) {
            if (!mapRect.contains(rect))
                continue;
            if (std::any_of(placed.begin(), placed.end(),
                            [&](const QRectF& other) { return other.intersects(rect); }))
                continue;
            // Nor over another area's circle, which would hide what the circle says.
            bool overCircle = false;
            for (int j = 0; j < n && !overCircle; ++j) {
                const double rj = out.circleRadii[size_t(j)];
                if (j == i || rj <= 0)
                    continue;
                const QPointF cj = centres[size_t(j)];
                const double dx = cj.x() - std::clamp(cj.x(), rect.left(), rect.right());
                const double dy = cj.y() - std::clamp(cj.y(), rect.top(), rect.bottom());
                overCircle = dx * dx + dy * dy < rj * rj;
            }
            if (overCircle)
                continue;
            placed.push_back(rect);
            drawHaloText(painter, QPointF(rect.left(), rect.top() + nameMetrics.ascent()), name,
                         nameFont, kText);
            out.shownNames << name;
            out.nameRects.push_back(rect);
            shown = true;
            break;
        }
        if (!shown)
            out.hiddenNames << name;
    }

    // --- North arrow, top right of the map ---
    {
        const double size = 22 * unit;
        const QPointF centre(mapRect.right() - size, mapRect.top() + size * 1.2);
        painter.save();
        painter.translate(centre);
        painter.rotate(data.northAngle * 180.0 / std::numbers::pi);
        QPolygonF left;
        left << QPointF(0, -size * 0.7) << QPointF(-size * 0.3, size * 0.45)
             << QPointF(0, size * 0.25);
        QPolygonF right;
        right << QPointF(0, -size * 0.7) << QPointF(size * 0.3, size * 0.45)
              << QPointF(0, size * 0.25);
        painter.setPen(QPen(kText, 0.8 * unit));
        painter.setBrush(kText);
        painter.drawPolygon(left);
        painter.setBrush(Qt::white);
        painter.drawPolygon(right);
        painter.setFont(pixelFont(11 * unit, true));
        painter.drawText(QRectF(-size, -size * 1.3, 2 * size, size * 0.55), Qt::AlignCenter,
                         QStringLiteral("N"));
        painter.restore();
    }

    // --- Legend: three reference widths, the circles, the scale bar; the caption ---
    const double lineHeight = textMetrics.height();
    double y = mapRect.bottom() + margin / 2;
    double x = mapRect.left();
    painter.setFont(textFont);
    painter.setPen(kText);
    if (flowMax > 0) {
        const double top = roundLegendValue(flowMax);
        const double values[] = {top, roundLegendValue(flowMax / 2), roundLegendValue(flowMax / 4)};
        const QString heading =
            data.differences ? QStringLiteral("Variazioni (±)") : QStringLiteral("Interazioni");
        painter.drawText(QPointF(x, y + textMetrics.ascent()), heading);
        for (int k = 0; k < 3; ++k) {
            const double width = widthMax * values[k] / flowMax;
            const double rowY = y + (k + 1) * lineHeight + lineHeight / 2;
            painter.setPen(
                QPen(data.differences ? kText : kFlowColour, width, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(QPointF(x, rowY), QPointF(x + 40 * unit, rowY));
            painter.setPen(kText);
            painter.drawText(QPointF(x + 46 * unit, rowY + textMetrics.ascent() / 2 - 1),
                             italianNumber(values[k]));
            out.legendValues.push_back(values[k]);
            out.legendWidths.push_back(width);
        }
    }
    x = mapRect.left() + mapRect.width() * 0.3;
    painter.setPen(kText);
    painter.drawText(QPointF(x, y + textMetrics.ascent()), data.circleNote);
    if (data.differences) {
        const double sw = 10 * unit;
        const double rowY = y + lineHeight * 1.2;
        painter.fillRect(QRectF(x, rowY, sw, sw), kGainColour);
        painter.drawText(QPointF(x + sw * 1.5, rowY + sw - 1), QStringLiteral("aumento"));
        const double x2 =
            x + sw * 2 + textMetrics.horizontalAdvance(QStringLiteral("aumento")) + 12 * unit;
        painter.fillRect(QRectF(x2, rowY, sw, sw), kLossColour);
        painter.drawText(QPointF(x2 + sw * 1.5, rowY + sw - 1), QStringLiteral("diminuzione"));
    }
    painter.drawText(QPointF(x, y + 3 * lineHeight + textMetrics.ascent()),
                     QStringLiteral("Proiezione: ") + data.projectionName);

    // Scale bar in a round length, about a fifth of the map wide.
    const double metres = roundScaleLength(0.22 * mapRect.width() / scale);
    if (metres > 0) {
        const double length = metres * scale;
        const double barX = mapRect.right() - length - 6 * unit;
        // Below the first legend row, which the circle note may run into.
        const double barY = y + lineHeight * 2.6;
        const double barH = 5 * unit;
        painter.setPen(QPen(kText, 0.8 * unit));
        painter.setBrush(kText);
        painter.drawRect(QRectF(barX, barY, length / 2, barH));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(barX + length / 2, barY, length / 2, barH));
        painter.drawText(QRectF(barX - 20 * unit, barY - lineHeight - 1, 40 * unit, lineHeight),
                         Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("0"));
        painter.drawText(
            QRectF(barX + length - 40 * unit, barY - lineHeight - 1, 80 * unit, lineHeight),
            Qt::AlignHCenter | Qt::AlignBottom, lengthText(metres));
        out.scaleBarMetres = metres;
    }

    painter.setFont(textFont);
    painter.setPen(kText);
    painter.drawText(QRectF(target.left() + margin, target.bottom() - margin - lineHeight * 1.2,
                            W - 2 * margin, lineHeight * 1.2),
                     Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap, data.caption);
    out.caption = data.caption;
    painter.restore();
}

QSize flowMapPrintLayoutSize()
{
    const int width = chartPrintLayoutSize().width();
    return QSize(width, int(std::lround(width * kPrintAspect)));
}

QImage renderFlowMapImage(const FlowMapData& data, const QSize& layoutSize, double scale)
{
    if (layoutSize.isEmpty() || !(scale > 0))
        return {};
    const QSize pixels(int(std::lround(layoutSize.width() * scale)),
                       int(std::lround(layoutSize.height() * scale)));
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.scale(scale, scale);
        paintFlowMap(painter, QRectF(QPointF(0, 0), QSizeF(layoutSize)), data);
    }
    const int dotsPerMeter = int(std::lround(kLayoutDpi * scale / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

bool saveFlowMapImage(const FlowMapData& data, const QString& path, QString* error)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    const QSize layout = flowMapPrintLayoutSize();
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
        svg.setTitle(data.title);
        svg.setDescription(data.caption);
        QPainter painter;
        if ((painted = painter.begin(&svg)))
            paintFlowMap(painter, QRectF(QPointF(0, 0), QSizeF(layout)), data);
    } else if (suffix == QLatin1String("pdf")) {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(data.title);
        pdf.setCreator(QStringLiteral("Urbaflux"));
        const QSizeF points(layout.width() * 72.0 / kLayoutDpi,
                            layout.height() * 72.0 / kLayoutDpi);
        pdf.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0)));
        pdf.setResolution(kFlowMapPrintDpi);
        QPainter painter;
        if ((painted = painter.begin(&pdf))) {
            const double s = pdf.width() / double(layout.width());
            painter.scale(s, s);
            paintFlowMap(painter, QRectF(QPointF(0, 0), QSizeF(layout)), data);
        }
    } else {
        const QImage image = renderFlowMapImage(data, layout, kFlowMapPrintDpi / kLayoutDpi);
        painted = !image.isNull() && image.save(&buffer, "PNG", 80);
    }
    if (!painted) {
        if (error)
            *error = writeFailure(path, QStringLiteral("il disegno non è riuscito"));
        return false;
    }
    return saveBytes(path, bytes, error);
}

QString flowMapPicturePath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return folder + QStringLiteral("/mappaGravitazioni.png");
}

} // namespace urbaflux
