#include "modelchoiceprintout.h"

#include "documentwriter.h"
#include "printoutheading.h"

#include <projectstate.h>

namespace urbaflux {

void writeModelChoicePrintout(DocumentWriter& writer, const ProjectState& state,
                              const ModelChoiceScreen& screen)
{
    writePrintoutHeading(writer, state, QStringLiteral("Scelta del modello"));

    const ModelChoice& model = state.model;
    const QString rows[8][2] = {
        {QStringLiteral("dati"), QStringLiteral("valori")},
        {QStringLiteral("tipo di modello"), model.kindLabel},
        {QStringLiteral("tipologia delle origini"), model.originType},
        {QStringLiteral("tipologia delle destinazioni"), model.destinationType},
        {QStringLiteral("tipo di interazioni"), model.interactionType},
        {QStringLiteral("valore alfa (esponente della distanza)"), screen.alpha},
        {QStringLiteral("valore dello scarto nel calcolo"), screen.tolerance},
        {QStringLiteral("unità di misura della distanza"), screen.unit},
    };
    writer.AppendParagraph();
    writer.AppendTable(8, 2);
    writer.SetTableFontSize(10);
    for (int row = 0; row < 8; ++row) {
        writer.SetCell(row + 1, 1, rows[row][0]);
        writer.SetCell(row + 1, 2, rows[row][1]);
    }
    writer.FormatTable();
    writer.AppendParagraph(12, QChar(13) + screen.memo);
    writer.JustifyAll();
}

std::unique_ptr<Document> printModelChoice(const ProjectState& state,
                                           const ModelChoiceScreen& screen)
{
    DocumentWriter writer;
    writeModelChoicePrintout(writer, state, screen);
    return writer.takeDocument();
}

} // namespace urbaflux
