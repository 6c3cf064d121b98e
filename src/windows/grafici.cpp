#include "grafici.h"

namespace urbaflux {

Grafici::Grafici(AppContext& context, QWidget* parent) : WindowFrame(facts(), context, parent) {}

Grafici::~Grafici() = default;

void Grafici::cmdbarre_Click() {}

void Grafici::cmdtorta_Click() {}

void Grafici::onLoad()
{
    captureLayout();
}

} // namespace urbaflux
