#pragma once

#include "windowframe.h"

namespace urbaflux {

// Window 4 of 5: bar and pie charts of the 20 largest interactions, and the interactions
// archive. The frame is in place; the chart and its commands come with the charts work.
class Grafici : public WindowFrame
{
    Q_OBJECT

public:
    // What the frame needs to know of this window.
    static WindowFacts facts();

    explicit Grafici(AppContext& context, QWidget* parent = nullptr);
    ~Grafici() override;

    // The bar and the pie chart of the current results (virtual: tests stand in for the charts).
    virtual void cmdbarre_Click();
    virtual void cmdtorta_Click();

protected:
    void onLoad() override;
};

} // namespace urbaflux
