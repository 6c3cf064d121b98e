#pragma once

// The full report, run from the title-page window.

namespace urbaflux {

class WindowFrame;
struct TitlePage;

// Runs the full report from the title-page window: preconditions, document, save, hint.
void printReport(WindowFrame& titleWindow, const TitlePage& texts);

} // namespace urbaflux
