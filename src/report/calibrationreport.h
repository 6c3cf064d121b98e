#pragma once

// The report's account of a calibration of alpha: when the alpha of the elaboration is the one
// a calibration wrote (currentCalibration), the model section says with which observed data and
// criterion it was found and gives the measures of fit of the results and the two charts.

namespace urbaflux {

class DocumentWriter;
struct ProjectState;

// Writes nothing when no calibration applies. The charts need a QApplication; without one the
// text is written alone.
void writeCalibrationBlock(DocumentWriter& writer, const ProjectState& state);

} // namespace urbaflux
