#pragma once

// The printout of the model-choice window: the common heading, a table of the eight values of
// the model choice and, as closing paragraph, the memo of the chosen model.

#include <QString>
#include <memory>

namespace urbaflux {

class Document;
class DocumentWriter;
struct ProjectState;

// What the window shows and the printout takes from the screen rather than from the state.
struct ModelChoiceScreen
{
    QString alpha;     // box `al`
    QString tolerance; // box `sc`
    QString unit;      // box `unitamisura`
    QString memo;      // memo of the chosen option
};

void writeModelChoicePrintout(DocumentWriter& writer, const ProjectState& state,
                              const ModelChoiceScreen& screen);

std::unique_ptr<Document> printModelChoice(const ProjectState& state,
                                           const ModelChoiceScreen& screen);

} // namespace urbaflux
