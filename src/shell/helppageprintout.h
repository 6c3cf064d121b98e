#pragma once

// The printout of a help page: the program's name and description, the heading "Guida: " with
// the page title (its leading blanks kept), then the page text, all justified.

#include <QString>
#include <memory>

namespace urbaflux {

class Document;
class DocumentWriter;
struct ProjectState;

void writeHelpPagePrintout(DocumentWriter& writer, const ProjectState& state, const QString& title,
                           const QString& text);

std::unique_ptr<Document> printHelpPage(const ProjectState& state, const QString& title,
                                        const QString& text);

} // namespace urbaflux
