#include "distancesprintout.h"

#include "documentwriter.h"
#include "printoutheading.h"

#include <numbertext.h>
#include <projectstate.h>

namespace urbaflux {

void writeDistancesPrintout(DocumentWriter& writer, const ProjectState& state,
                            const QString& unitCaption)
{
    writePrintoutHeading(writer, state, QStringLiteral("Distanze tra le aree"));

    // An archive may have left a count the pair tables cannot hold; print what they hold.
    const int n = qBound(0, state.areas.count, kMaxAreas);
    const int pairs = n * n;
    writer.AppendParagraph();
    writer.AppendTable(pairs + 1, 6);
    writer.SetTableFontSize(8);
    writer.SetCell(1, 1, QStringLiteral("n."));
    writer.SetCell(1, 2, QStringLiteral("n.-n."));
    writer.SetCell(1, 3, QStringLiteral("nomi delle aree (origini-destinazioni)"));
    writer.SetCell(1, 4, QStringLiteral("distanze in ") + unitCaption);
    writer.SetCell(1, 5, QStringLiteral("peso in %"));
    writer.SetCell(1, 6, QStringLiteral("interazioni"));
    const DistanceTable& d = state.distances;
    for (int k = 1; k <= pairs; ++k) {
        const auto at = static_cast<size_t>(k);
        writer.SetCell(k + 1, 1, numberText(k));
        writer.SetCell(k + 1, 2, d.pairNumbers[at]);
        writer.SetCell(k + 1, 3, d.pairNames[at]);
        writer.SetCell(k + 1, 4, d.distance[at]);
        writer.SetCell(k + 1, 5, d.weight[at].displayText());
        writer.SetCell(k + 1, 6, shortestText(state.interactions.interaction[at]));
    }
    writer.FormatTable();
    writer.AlignColumnRight(1, 4);
    writer.AlignColumnRight(1, 5);
    writer.AlignColumnRight(1, 6);
}

std::unique_ptr<Document> printDistances(const ProjectState& state, const QString& unitCaption)
{
    DocumentWriter writer;
    writeDistancesPrintout(writer, state, unitCaption);
    return writer.takeDocument();
}

} // namespace urbaflux
