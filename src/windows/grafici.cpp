#include "grafici.h"

namespace urbaflux {

Grafici::Grafici(AppContext& context, QWidget* parent)
    : WindowFrame(WindowId::Grafici, context, parent)
{
}

Grafici::~Grafici() = default;

void Grafici::onLoad()
{
    captureLayout();
}

} // namespace urbaflux
