#include "documentformats.h"

#include "docxexporter.h"
#include "odtexporter.h"
#include "pagelayout.h"

#include <QStringList>

namespace urbaflux {

QString DocumentFormat::filter() const
{
    return QStringLiteral("%1 (*.%2)|*.%2").arg(name, extension);
}

const std::vector<DocumentFormat>& documentFormats()
{
    static const std::vector<DocumentFormat> formats = {
        {QStringLiteral("Documento Word"), QStringLiteral("docx"), &saveDocx},
        {QStringLiteral("Documento OpenDocument"), QStringLiteral("odt"), &saveOdt},
        {QStringLiteral("Documento PDF"), QStringLiteral("pdf"), &savePdf},
    };
    return formats;
}

namespace {

const DocumentFormat* formatOf(const QString& path)
{
    for (const DocumentFormat& format : documentFormats()) {
        if (path.endsWith(QLatin1Char('.') + format.extension, Qt::CaseInsensitive))
            return &format;
    }
    return nullptr;
}

} // namespace

const DocumentFormat& documentFormatFor(const QString& path)
{
    const DocumentFormat* format = formatOf(path);
    return format ? *format : documentFormats().front();
}

bool hasDocumentExtension(const QString& path)
{
    return formatOf(path) != nullptr;
}

QString documentFilters()
{
    QStringList filters;
    for (const DocumentFormat& format : documentFormats())
        filters << format.filter();
    return filters.join(QLatin1Char('|'));
}

QString documentExtensionsText()
{
    QStringList extensions;
    for (const DocumentFormat& format : documentFormats())
        extensions << QLatin1Char('.') + format.extension;
    const QString last = extensions.takeLast();
    return extensions.isEmpty()
               ? last
               : extensions.join(QStringLiteral(", ")) + QStringLiteral(" o ") + last;
}

} // namespace urbaflux
