#pragma once

#include "windowframe.h"

namespace urbaflux {

// Window 3 of 5: distances and weights of every ordered pair of areas, and the interactions
// the calculation gives for them.
class Distanze : public WindowFrame
{
    Q_OBJECT

public:
    explicit Distanze(AppContext& context, QWidget* parent = nullptr);
    ~Distanze() override;

    // The caption of the unit label beside the distance heading.
    void setUnitCaption(const QString& unit);
    // Fills the 15 rows from the pairs, starting at the scroll bar's position.
    void refreshGrid();
    // Sets the step hint to what the user should do next.
    void updateDistanceHint();
};

} // namespace urbaflux
