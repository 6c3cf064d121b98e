#pragma once

#include "windowframe.h"

namespace urbaflux {

// Window 5 of 5: the title page of the report, the complete archive and the full report.
// The frame is in place; the fields and their commands come with the title-page work.
class Frontespizio : public WindowFrame
{
    Q_OBJECT

public:
    // What the frame needs to know of this window.
    static WindowFacts facts();

    explicit Frontespizio(AppContext& context, QWidget* parent = nullptr);
    ~Frontespizio() override;

protected:
    void onLoad() override;
};

} // namespace urbaflux
