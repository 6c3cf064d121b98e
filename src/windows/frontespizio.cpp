#include "frontespizio.h"

namespace urbaflux {

Frontespizio::Frontespizio(AppContext& context, QWidget* parent)
    : WindowFrame(facts(), context, parent)
{
}

Frontespizio::~Frontespizio() = default;

void Frontespizio::onLoad()
{
    captureLayout();
}

} // namespace urbaflux
