#include "menu.h"

namespace urbaflux {

Menu::Menu(AppContext& context, QWidget* parent) : WindowFrame(WindowId::Menu, context, parent)
{
    setObjectName(QStringLiteral("menu"));
}

Menu::~Menu() = default;

} // namespace urbaflux
