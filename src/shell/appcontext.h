#pragma once

namespace urbaflux {

struct ProjectState;
class Prompts;
class WindowManager;
class DocumentSink;

// What every window is handed: the one project state, the prompts, the window manager (to show
// or touch other windows) and where finished printouts go. Owned by the application object.
struct AppContext
{
    ProjectState& state;
    Prompts& prompts;
    WindowManager& windows;
    DocumentSink& documents;
};

} // namespace urbaflux
