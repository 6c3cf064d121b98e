#include "datiaree.h"

namespace urbaflux {

DatiAree::DatiAree(AppContext& context, QWidget* parent)
    : WindowFrame(WindowId::DatiAree, context, parent)
{
    setObjectName(QStringLiteral("datiaree"));
}

DatiAree::~DatiAree() = default;

} // namespace urbaflux
