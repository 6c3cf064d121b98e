#pragma once

#include "windowframe.h"

namespace urbaflux {

// Window 4 of 5: bar and pie charts of the 20 largest interactions, and the interactions
// archive. The frame is in place; the chart and its commands come with the charts work.
class Grafici : public WindowFrame
{
    Q_OBJECT

public:
    explicit Grafici(AppContext& context, QWidget* parent = nullptr);
    ~Grafici() override;

protected:
    void onLoad() override;
};

} // namespace urbaflux
