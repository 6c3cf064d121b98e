#pragma once

// The printout of the distances window: the common heading, then one table of every pair of
// the elaboration with its numbers, names, distance, weight and interaction.

#include <QString>
#include <memory>

namespace urbaflux {

class Document;
class DocumentWriter;
struct ProjectState;

// Writes the printout into `writer`, starting a new document. `unitCaption` is what the
// window's unit label shows; it ends the heading of the distance column.
void writeDistancesPrintout(DocumentWriter& writer, const ProjectState& state,
                            const QString& unitCaption);

// The same printout as a finished document.
std::unique_ptr<Document> printDistances(const ProjectState& state, const QString& unitCaption);

} // namespace urbaflux
