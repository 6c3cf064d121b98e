#pragma once

// The full report as the title-page window runs it: the two checks, the chart picture from the
// charts window, the document (shown in the viewer at once) and its save into the user's
// documents folder, told in the window's hint line.

namespace urbaflux {

class WindowFrame;
struct TitlePage;

// Runs the full report from the title-page window: preconditions, document, save, hint.
// The save runs on a worker thread; the hint line says where the report went, and a failed save
// is told in a message box naming the file (the document stays open in the viewer).
void printReport(WindowFrame& titleWindow, const TitlePage& texts);

} // namespace urbaflux
