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
    // A ShowWindow position shows the working window of this place in the sequence (1 to 5);
    // its tip is the window's own, from the window registry.
    int windowPlace = 0;
};

inline constexpr int kToolbarPositions = 22;

// Position 1 to 22 (a separator outside that range).
const ToolbarPosition& toolbarPosition(int position);
// Its picture; a null icon for separators and the blank.
QIcon toolbarIcon(int position);

} // namespace urbaflux
