#pragma once

// The printout of the area window: the common heading, a table of the areas with the totals
// the window shows and, as closing paragraph, the window's explanation of the model.

#include <QString>
#include <memory>

namespace urbaflux {

class Document;
class DocumentWriter;
struct ProjectState;

// What the printout takes from the window rather than from the state.
struct AreasScreen
{
    QString originsTotal;      // caption of `totorig`
    QString destinationsTotal; // caption of `totdest`
    QString explanation;       // text of `spiega`
};

void writeAreasPrintout(DocumentWriter& writer, const ProjectState& state,
                        const AreasScreen& screen);

std::unique_ptr<Document> printAreas(const ProjectState& state, const AreasScreen& screen);

} // namespace urbaflux
