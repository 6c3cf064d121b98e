#pragma once

// The OpenDocument (ODT) rendering of a Document: LibreOffice's own format, which it opens
// faster than DOCX, and the open format public administrations ask for.
//
// Same geometry and the same pages as the DOCX (packagewriter.h walks the document for both):
// exact line heights, cells broken into lines by the program, rows of exact height that never
// split, a page break wherever the pager begins a page, long tables cut into one table per page,
// each later one opening its page with the heading row. content.xml is streamed into its entry.

#include "documentwriter.h"

class QIODevice;

namespace urbaflux {

// Writes the package to an open, seekable device. False (with an Italian reason) on failure.
bool writeOdt(const Document& document, QIODevice* device, QString* error = nullptr);

// Writes the file at path, replacing an existing one only once the new one is complete.
DocumentSaveResult saveOdt(const Document& document, const QString& path);

} // namespace urbaflux
