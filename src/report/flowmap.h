#pragma once

// The flow map: the study region's zones with the main interactions drawn as arrows, painted
// with QPainter from plain values, so the charts window, its printout, the report, the
// comparison and the batch tool share one picture.
//
// flowMapData() reads the state once: it projects the zones (MapProjection: conformal, centred
// on the region), picks the N largest flows between different areas (selectLargestFlows) and
// the circle values. paintFlowMap() lays the map out in any rectangle, in layout pixels at 96
// per inch, and can report what it drew, so tests check arrows, widths and names without
// looking at pixels.
//
// The cartographic rules, and where they come from:
// - Width proportional to the value, the N largest flows only, so that the pattern is not lost
//   in thousands of small flows (Tobler 1987, "Experiments in migration mapping by computer",
//   The American Cartographer 14(2)).
// - Curved flows, each bending the same way so that the two directions of a pair never lie on
//   each other; larger flows above smaller ones; arrowheads that end short of the destination
//   symbol; flows that start and end at their nodes' edge (Jenny, Stephen, Muehlenhaus et al.
//   2017, "Design principles for origin-destination flow maps", Cartography and Geographic
//   Information Science 45(1)).
// - Circles whose area, not radius, is proportional to the value (Dent, Torguson and Hodler,
//   "Cartography: Thematic Map Design", proportional symbols), drawn largest first so that small
//   ones stay visible.
// - Names placed where they do not collide, more important features first, the others left out
//   (Imhof 1975, "Positioning names on maps", The American Cartographer 2(2)).
// - A legend with reference widths, a scale bar in round lengths, a north arrow to true north
//   (which in a transverse Mercator departs from grid north by the meridian convergence).

#include <flowselection.h>

#include <QImage>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <vector>

class QPainter;

namespace urbaflux {

struct ProjectState;
struct ScenarioComparison;

enum class CircleMeasure
{
    Origins,    // the estimated origin total of the area
    Intrazonal, // the interaction of the area with itself
};

struct FlowMapOptions
{
    int flows = kDefaultMapFlows; // kept within 5 to 200
    CircleMeasure circles = CircleMeasure::Origins;
};

// Everything the map is painted from, projected to metres (east, north).
struct FlowMapData
{
    std::vector<std::vector<QPolygonF>> zoneRings; // zone i-1: outer rings and holes
    std::vector<QPointF> anchors;                  // zone i-1: its representative point
    std::vector<QString> names;                    // area i-1
    std::vector<double> circleValues;              // area i-1; signed in a map of differences
    FlowSelection selection;
    bool differences = false; // gains and losses in two colours
    QString title;
    QString caption;
    QString circleNote;
    QString projectionName;
    QRectF bounds;           // of zones and anchors, metres
    double northAngle = 0.0; // true north at the centre, radians clockwise from grid north

    bool hasGeometry() const { return !anchors.empty(); }
};

FlowMapData flowMapData(const ProjectState& state, const FlowMapOptions& options = {});

// The map of the changes from a base: arrows for the largest changes of pair interactions,
// red gains and blue losses, circles for the change of each area's estimated origins.
FlowMapData differenceMapData(const ProjectState& project, const ScenarioComparison& comparison,
                              int flows = kDefaultMapFlows);

// What a painting drew, in layout pixels.
struct DrawnArrow
{
    int pair = 0;
    double value = 0.0;
    double width = 0.0;
    QPointF tip;    // the arrowhead's point
    QPointF base;   // the middle of the arrowhead's base
    QPointF target; // the destination's centre
    double targetRadius = 0.0;
};

struct FlowMapDrawing
{
    std::vector<DrawnArrow> arrows;  // in painting order
    std::vector<double> circleRadii; // area i-1
    QStringList shownNames;
    QStringList hiddenNames;
    std::vector<QRectF> nameRects; // of the shown names
    std::vector<double> legendValues;
    std::vector<double> legendWidths;
    double scaleBarMetres = 0.0;
    QString caption;
};

// Paints the map into `target` (layout pixels). Without geometry it paints nothing but the
// ground.
void paintFlowMap(QPainter& painter, const QRectF& target, const FlowMapData& data,
                  FlowMapDrawing* drawn = nullptr);

// --- Pictures ---

// The print layout in pixels at 96 per inch: the report's text column wide.
QSize flowMapPrintLayoutSize();
inline constexpr int kFlowMapPrintDpi = 300;

// The map laid out at `layoutSize` and painted `scale` times as many pixels each way.
QImage renderFlowMapImage(const FlowMapData& data, const QSize& layoutSize, double scale);

// Saves the map as PNG (at print resolution), SVG or PDF, by the file's extension (any case;
// PNG for any other). False, with an Italian sentence naming the file, on failure.
bool saveFlowMapImage(const FlowMapData& data, const QString& path, QString* error = nullptr);

// The fixed picture file of the map for the report: beside the chart's picture.
QString flowMapPicturePath();

} // namespace urbaflux
