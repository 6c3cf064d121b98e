#pragma once

// Qt's own texts (file dialog labels and buttons, the colour and printer dialogs, the edit menu of
// a text box) in Italian, like every other text of the program, whatever the desktop's language.

class QCoreApplication;

namespace urbaflux {

// Installs Qt's Italian translations on the application. False when they are not installed on
// this machine: the program then works with Qt's English texts in those dialogs.
bool installItalianQtTexts(QCoreApplication& application);

} // namespace urbaflux
