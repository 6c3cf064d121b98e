#include "printoutheading.h"

#include "documentwriter.h"

#include <projectstate.h>

namespace urbaflux {

void writePrintoutHeading(DocumentWriter& writer, const ProjectState& state, const QString& subject)
{
    const QChar cr(13);
    writer.StartDocument();
    writer.SetFont(QStringLiteral("Century Gothic"));
    writer.SetFontSize(20);
    writer.TypeText(state.run.programName + cr);
    writer.SetFontSize(16);
    writer.TypeText(state.run.programDescription + cr + cr);
    writer.SetFontSize(12);
    writer.TypeText(subject + cr);
}

} // namespace urbaflux
