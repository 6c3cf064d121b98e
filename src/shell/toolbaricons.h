#pragma once

#include <QIcon>

namespace urbaflux {

// The picture of a toolbar position (1 to 22) of the working windows, drawn here so that the
// set is consistent and sharp at any scale; a null icon for separators.
QIcon toolbarIcon(int position);

} // namespace urbaflux
