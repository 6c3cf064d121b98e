#pragma once

// Every window's printout opens the same way: a new document in Century Gothic with the
// program's name, its description and the subject of the printout, each on its own line.

#include <QString>

namespace urbaflux {

class DocumentWriter;
struct ProjectState;

// Starts the document; text typed afterwards is 12 points.
void writePrintoutHeading(DocumentWriter& writer, const ProjectState& state,
                          const QString& subject);

} // namespace urbaflux
