#include "helppageprintout.h"

#include "documentwriter.h"
#include "projectstate.h"

namespace urbaflux {

void writeHelpPagePrintout(DocumentWriter& writer, const ProjectState& state, const QString& title,
                           const QString& text)
{
    const QChar cr(13);
    writer.StartDocument();
    writer.SetFont(QStringLiteral("Century Gothic"));
    writer.SetFontSize(20);
    writer.TypeText(state.run.programName + cr);
    writer.SetFontSize(16);
    writer.TypeText(state.run.programDescription + cr + cr + cr);
    writer.TypeText(QStringLiteral("Guida: ") + title + cr + cr);
    writer.SetFontSize(12);
    writer.TypeText(text + cr);
    writer.JustifyAll();
}

std::unique_ptr<Document> printHelpPage(const ProjectState& state, const QString& title,
                                        const QString& text)
{
    DocumentWriter writer;
    writeHelpPagePrintout(writer, state, title, text);
    return writer.takeDocument();
}

} // namespace urbaflux
