#pragma once

// The defaults of the model choice as the windows apply them, and the texts that follow the
// chosen model in the area window. Captions, headings and the unit label follow the state by
// themselves: each window listens to the change notification and reads the state.

#include <QString>

namespace urbaflux {

struct AppContext;

// The defaults of ModelChoice and the run titles as the window manager applies them
// (WindowManager::applyDefaults): the model-choice window's boxes win, so that the calculation
// never uses a value that the screen does not show.
void applyDefaults(AppContext& context);

// The explanation of a model (kind 1 to 3) that the area window shows: its help page's text.
QString modelExplanation(int kind);

} // namespace urbaflux
