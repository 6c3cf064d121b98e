#pragma once

// The OpenDocument (ODT) rendering of a Document: LibreOffice's own format, which it opens
// faster than DOCX, and the open format public administrations ask for.
//
// Same geometry as the DOCX: exact line heights, rows that never split and are as high as the
// pager makes them, long tables cut into one table per page, each later one opening its page
// with the heading row. content.xml is streamed into its zip entry.

#include "documentwriter.h"

class QIODevice;

namespace urbaflux {

// Writes the package to an open, seekable device. False (with an Italian reason) on failure.
bool writeOdt(const Document& document, QIODevice* device, QString* error = nullptr);

// Writes the file at path, replacing an existing one only once the new one is complete.
DocumentSaveResult saveOdt(const Document& document, const QString& path);

} // namespace urbaflux
