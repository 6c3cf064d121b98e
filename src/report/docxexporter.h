#pragma once

// The DOCX (Office Open XML) rendering of a Document, the format users open and edit.
//
// The main part is streamed with QXmlStreamWriter straight into its zip entry, so a report of
// 32,401 rows never exists as one string (packagewriter.h, shared with the ODT). Elements follow
// the schema order Word insists on. Tables are laid out fixed, with the geometry the pager uses
// (tablegeometry.h): column widths, exact line heights, cells broken into lines by the program,
// rows of exact height that never split. Every page the pager begins opens with a page break; a
// long table is cut into one table per page, each later one after a tiny page-breaking
// paragraph and opening with the heading row, so LibreOffice and Word show the program's pages
// whatever face draws the text (and open a 32,401-row table far sooner than as one table).

#include "documentwriter.h"

class QIODevice;

namespace urbaflux {

// Writes the package to an open, seekable device. False (with an Italian reason) on failure.
bool writeDocx(const Document& document, QIODevice* device, QString* error = nullptr);

// Writes the file at path, replacing an existing one only once the new one is complete.
DocumentSaveResult saveDocx(const Document& document, const QString& path);

} // namespace urbaflux
