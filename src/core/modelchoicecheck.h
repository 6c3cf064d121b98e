#pragma once

// When the model choice is complete: one rule for the model-choice window's hint, its "Avanti"
// check, its save and its printout.

#include <QString>

namespace urbaflux {

struct ModelChoice;

enum class ModelField
{
    None, // every field entered
    Kind,
    OriginType,
    DestinationType,
    InteractionType,
    Alpha,
    Tolerance,
    Unit
};

// The first field not entered, in the order the window asks for them: the model, the three
// typologies, alpha, the tolerance, the unit. The state keeps the tolerance as the number it
// reads as, so whether it was entered is the caller's (the text of its box). The printout
// prints empty typologies of the origins and destinations as they are (originAndDestination
// false skips them).
ModelField firstMissingModelField(const ModelChoice& model, bool toleranceEntered,
                                  bool originAndDestination = true);

} // namespace urbaflux
