#pragma once

// What a change of the model or of the defaults does to windows other than the one where it
// happened: captions, column headings, the explanation box, the distances window's unit label.
// The windows concerned are touched (created hidden) when they do not exist yet.

#include <QString>

namespace urbaflux {

struct AppContext;
class DatiAree;

// The defaults of ModelChoice and the run titles (the core's applyDefaults), then the unit
// label of the distances window. While the model-choice window exists its boxes win: the
// values they show are put back into the state, so the calculation never uses a value that the
// screen does not show.
void applyDefaults(AppContext& context);

// Captions of windows 2 to 5, the column headings and the explanation box of the area window,
// after kind and kindLabel have changed.
void applyModelCaptions(AppContext& context);

// The column headings and the explanation box of the area window for a model label.
void showModelInAreaWindow(DatiAree& areas, const QString& kindLabel);

// The caption of the distances window's unit label.
void setDistancesUnitCaption(AppContext& context, const QString& unit);

// The explanation of a model (kind 1 to 3) that the area window shows: its help page's text.
QString modelExplanation(int kind);

} // namespace urbaflux
