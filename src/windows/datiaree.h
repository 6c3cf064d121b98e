#pragma once

#include "windowframe.h"

namespace urbaflux {

// Window 2 of 5: names, origins and destinations of the areas.
class DatiAree : public WindowFrame
{
    Q_OBJECT

public:
    explicit DatiAree(AppContext& context, QWidget* parent = nullptr);
    ~DatiAree() override;
};

} // namespace urbaflux
