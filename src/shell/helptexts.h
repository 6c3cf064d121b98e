#pragma once

// The twelve help pages: their exact titles, and their texts, which live in one text file per
// page (resources/help/<page>.txt, embedded in the program) so that they can be reworded
// without touching the code. The three model pages are also the explanation box of the area
// window: both read them here.
//
// A text file is UTF-8. Its lines are joined with one blank into a paragraph, so that an editor
// may wrap them freely; an empty line keeps a line break (CR LF) in the text.

#include "windowid.h"

#include <QList>
#include <QString>

namespace urbaflux {

// The twelve pages in the order of the contents window.
QList<WindowId> helpPages();
bool isHelpPage(WindowId id);

// The page's window name ("manuale", "guidascelta", ...): also the name of its text file.
QString helpPageName(WindowId id);
// The title (Label1) exactly as the page shows and prints it, leading blanks included.
QString helpPageTitle(WindowId id);
// The text (Label2); empty for an id that is not a page.
QString helpPageText(WindowId id);

// The page of a model: 1 guidavincolate, 2 guidadestinazione, 3 guidaorigine; the contents
// window for any other kind (no model chosen yet).
WindowId modelHelpPage(int kind);

// The text of a help file as the pages show it (see the file format above).
QString helpTextFromFile(const QByteArray& utf8);

} // namespace urbaflux
