#pragma once

// The report's optional parts built from what the elaboration has beyond its tables: the flow
// map figure after the chart when the zones have geometry, and the section comparing the
// elaboration with a base scenario. Each writes through DocumentWriter and renders its picture
// into a fixed file beside the chart's, which the document keeps a copy of.

#include <QString>

namespace urbaflux {

class DocumentWriter;
struct ProjectState;
struct ScenarioComparison;

// The map of the `flows` largest interactions between areas with its caption; nothing without
// geometry or without a graphical interface to draw with. True when the figure was written.
bool writeFlowMapFigure(DocumentWriter& writer, const ProjectState& state, int flows);

// "Confronto con lo scenario di base": the sentence naming the base's file, model and alpha,
// the per-area table and the chart of the largest changes. Nothing when the two could not be
// compared.
void writeComparisonSection(DocumentWriter& writer, const ScenarioComparison& comparison,
                            const QString& baseFileName);

QString comparisonSectionHeading();

// The pictures' fixed files, beside the chart's.
QString changeChartPicturePath();

} // namespace urbaflux
