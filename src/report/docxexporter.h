#pragma once

// The DOCX (Office Open XML) rendering of a Document, the format users open and edit.
//
// The main part is streamed with QXmlStreamWriter straight into its zip entry, so a report of
// 32,401 rows never exists as one string. Elements follow the schema order Word insists on.
// Tables are laid out fixed, with explicit column widths, and long tables are cut into blocks
// of at most kDocxTableBlockRows rows (each repeating the heading row) separated by a tiny
// empty paragraph: one table of thousands of rows takes word processors minutes to open.
// LibreOffice 7.4 lays out the 32,401-row report in 80 s of processor time with blocks of 250
// rows, against 158 s with blocks of 1,000 (blocks of 100 gain nothing more).

#include "documentwriter.h"

class QIODevice;

namespace urbaflux {

inline constexpr int kDocxTableBlockRows = 250;

// Writes the package to an open, seekable device. False (with an Italian reason) on failure.
bool writeDocx(const Document& document, QIODevice* device, QString* error = nullptr);

// Writes the file at path, replacing an existing one only once the new one is complete.
DocumentSaveResult saveDocx(const Document& document, const QString& path);

} // namespace urbaflux
