#pragma once

#include "windowframe.h"

namespace urbaflux {

// Window 1 of 5: the choice of the gravity model and its parameters.
class Menu : public WindowFrame
{
    Q_OBJECT

public:
    explicit Menu(AppContext& context, QWidget* parent = nullptr);
    ~Menu() override;
};

} // namespace urbaflux
