#pragma once

// The 22 positions of the working windows' toolbar in one table: what each position does, its
// tooltip and its picture (drawn here so that the set is consistent and sharp at any scale).
// Positions 5, 7, 13, 15 and 19 are separators; 17 is a blank that does nothing.

#include "windowid.h"

#include <QIcon>
#include <QString>

namespace urbaflux {

enum class ToolbarCommand
{
    Separator,
    Blank,
    Open,
    Save,
    SaveAs,
    Delete,
    Print,
    ShowWindow,
    Colour,
    Guide,
    About,
    Check,
    Clear,
    Exit
};

struct ToolbarPosition
{
    ToolbarCommand command = ToolbarCommand::Separator;
    QString tip;
    WindowId window = WindowId::Menu; // the window a ShowWindow position shows
};

inline constexpr int kToolbarPositions = 22;

// Position 1 to 22 (a separator outside that range).
const ToolbarPosition& toolbarPosition(int position);
// Its picture; a null icon for separators and the blank.
QIcon toolbarIcon(int position);

} // namespace urbaflux
