#include "grafici.h"

namespace urbaflux {

Grafici::Grafici(AppContext& context, QWidget* parent)
    : WindowFrame(WindowId::Grafici, context, parent)
{
}

Grafici::~Grafici() = default;

bool Grafici::writeChartPicture(QString* error)
{
    return renderChartPicture(selectChartSlots(state()), currentKind(), chartPicturePath(), error);
}

void Grafici::onLoad()
{
    captureLayout();
}

} // namespace urbaflux
