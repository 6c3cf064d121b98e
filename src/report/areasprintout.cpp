#include "areasprintout.h"

#include "documentwriter.h"
#include "printoutheading.h"

#include <numbertext.h>
#include <projectstate.h>

namespace urbaflux {

void writeAreasPrintout(DocumentWriter& writer, const ProjectState& state,
                        const AreasScreen& screen)
{
    writePrintoutHeading(writer, state, QStringLiteral("Dati delle aree"));

    // An archive may have left a count the table cannot hold; print what it holds.
    const int n = qBound(0, state.areas.count, kMaxAreas);
    const AreaTable& areas = state.areas;
    writer.AppendParagraph();
    writer.AppendTable(n + 2, 4);
    writer.SetTableFontSize(10);
    writer.SetCell(1, 1, QStringLiteral("n."));
    writer.SetCell(1, 2, QStringLiteral("nome dell'area"));
    writer.SetCell(1, 3, QStringLiteral("origini"));
    writer.SetCell(1, 4, QStringLiteral("destinazioni"));
    for (int i = 1; i <= n; ++i) {
        const auto at = static_cast<size_t>(i);
        writer.SetCell(i + 1, 1, numberText(i));
        writer.SetCell(i + 1, 2, areas.name[at]);
        writer.SetCell(i + 1, 3, areas.origin[at]);
        writer.SetCell(i + 1, 4, areas.destination[at]);
    }
    writer.SetCell(n + 2, 2, QStringLiteral("totale delle origini e delle destinazioni"));
    writer.SetCell(n + 2, 3, screen.originsTotal);
    writer.SetCell(n + 2, 4, screen.destinationsTotal);
    writer.FormatTable();
    writer.AppendParagraph(12, QChar(13) + screen.explanation);
    writer.JustifyAll();
    writer.AlignColumnRight(1, 3);
    writer.AlignColumnRight(1, 4);
}

std::unique_ptr<Document> printAreas(const ProjectState& state, const AreasScreen& screen)
{
    DocumentWriter writer;
    writeAreasPrintout(writer, state, screen);
    return writer.takeDocument();
}

} // namespace urbaflux
