#include "titledataprintout.h"

#include "documentwriter.h"
#include "printoutheading.h"
#include "technicaloffice.h"

#include <titlepage.h>

#include <array>

namespace urbaflux {

void writeTitleDataPrintout(DocumentWriter& writer, const ProjectState& state,
                            const TitlePage& page, const TechnicalOffice& office)
{
    writePrintoutHeading(writer, state, QStringLiteral("Dati generali"));

    const std::array<std::array<QString, 2>, 11> rows = {{
        {QStringLiteral("tipologia"), QStringLiteral("dati")},
        {QStringLiteral("progetto"), page.progetto},
        {QStringLiteral("località"), page.localita},
        {QStringLiteral("tipologia di studio"), page.tipostudio},
        {QStringLiteral("fornitura dati"), page.fornituradati},
        {QStringLiteral("committente"), page.committente},
        {QStringLiteral("luogo di elaborazione"), page.luogo},
        {QStringLiteral("data di elaborazione"), page.data},
        {QStringLiteral("allegati alla relazione"), page.allegati},
        {QStringLiteral("studio tecnico"), office.name},
        {QStringLiteral("indirizzo dello studio"), office.address},
    }};
    writer.AppendParagraph();
    writer.AppendTable(static_cast<int>(rows.size()), 2);
    writer.SetTableFontSize(10);
    for (size_t row = 0; row < rows.size(); ++row) {
        writer.SetCell(static_cast<int>(row) + 1, 1, rows[row][0]);
        writer.SetCell(static_cast<int>(row) + 1, 2, rows[row][1]);
    }
    writer.FormatTable();
}

std::unique_ptr<Document> printTitleData(const ProjectState& state, const TitlePage& page,
                                         const TechnicalOffice& office)
{
    DocumentWriter writer;
    writeTitleDataPrintout(writer, state, page, office);
    return writer.takeDocument();
}

} // namespace urbaflux
