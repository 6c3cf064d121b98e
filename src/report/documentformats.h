#pragma once

// The formats a document is saved in, in one table: what the viewer's "Salva come" offers, how
// a file name's ending chooses the writer, and what the batch tool accepts. DOCX comes first:
// it is the default, taken for a name with no known ending.

#include "documentwriter.h"

#include <QString>
#include <vector>

namespace urbaflux {

struct DocumentFormat
{
    QString name;      // "Documento Word"
    QString extension; // without the dot: "docx"
    DocumentSaveResult (*save)(const Document& document, const QString& path);

    // "Documento Word (*.docx)|*.docx": one entry of a file dialog's filter list.
    QString filter() const;
};

const std::vector<DocumentFormat>& documentFormats();
// The format a file name's ending (any case) names; DOCX for any other name.
const DocumentFormat& documentFormatFor(const QString& path);
// Whether the name ends in the extension of one of the formats (any case).
bool hasDocumentExtension(const QString& path);
// Every format's filter, in the table's order, as a file dialog's filter list.
QString documentFilters();
// The extensions as a sentence reads them: ".docx, .odt o .pdf".
QString documentExtensionsText();

} // namespace urbaflux
