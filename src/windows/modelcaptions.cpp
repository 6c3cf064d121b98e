#include "modelcaptions.h"

#include "appcontext.h"
#include "helptexts.h"
#include "projectstate.h"
#include "windowmanager.h"

namespace urbaflux {

void applyDefaults(AppContext& context)
{
    context.windows.applyDefaults();
}

QString modelExplanation(int kind)
{
    // The explanation box and the model's help page share one text.
    if (!isModelKindCode(kind))
        return QString();
    return helpPageText(modelHelpPage(kind));
}

} // namespace urbaflux
