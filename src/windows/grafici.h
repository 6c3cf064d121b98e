#pragma once

#include "chartpicture.h"
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

    // MINIMAL STAND-IN until the charts work lands: the bar chart of the current results.
    ChartKind currentKind() const { return ChartKind::Bars; }
    // Renders the chart as shown to chartPicturePath().
    bool writeChartPicture(QString* error);

protected:
    void onLoad() override;
};

} // namespace urbaflux
