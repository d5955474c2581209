#pragma once

#include "framework/Wnd.h"

// Saves a window's placement (normal rectangle, show command, flags) as one line of
// text in the application's per-user profile, and brings it back.
class CPlacementStore {
public:
    virtual ~CPlacementStore() = default;

    // True if the text was written.
    bool SavePlacement(const char* section);
    // True if a stored placement was applied. A stored show command other than
    // normal, minimised or maximised is not applied, and a normal rectangle that lies
    // outside every monitor's work area is moved onto the nearest one.
    bool RestorePlacement(const char* section);

protected:
    virtual CWnd& GetHostWindow() = 0;
};
