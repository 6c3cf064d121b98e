#pragma once

// The printout of the title-page window alone ("solo dati finestra"): the common heading with
// the subject "Dati generali", then a table of two columns and eleven rows, the heading row
// "tipologia" / "dati" and one row for each title-page text and for the technical office. It
// prints what the boxes hold, empty ones included, and leaves the paragraphs as typed.

#include <memory>

namespace urbaflux {

class Document;
class DocumentWriter;
struct ProjectState;
struct TechnicalOffice;
struct TitlePage;

void writeTitleDataPrintout(DocumentWriter& writer, const ProjectState& state,
                            const TitlePage& page, const TechnicalOffice& office);

std::unique_ptr<Document> printTitleData(const ProjectState& state, const TitlePage& page,
                                         const TechnicalOffice& office);

} // namespace urbaflux
