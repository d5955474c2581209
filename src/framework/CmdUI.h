#pragma once

#include <windows.h>

class CWnd;

// One menu item being asked for its state while its pop-up opens. Update handlers
// set the item's enabled and checked state through it.
class CCmdUI {
public:
    CCmdUI(HMENU menu, UINT index, UINT id) : m_menu(menu), m_index(index), m_id(id) {}

    void Enable(bool on = true);
    void SetCheck(bool checked = true);

    UINT Id() const { return m_id; }
    // Asks the target's command tables; with disableIfNoHandler an item that no
    // table knows is disabled, otherwise such an item keeps its state.
    void DoUpdate(CWnd& target, bool disableIfNoHandler);

private:
    HMENU m_menu;
    UINT m_index;
    UINT m_id;
    bool m_enableChanged = false;
};

// Routes an update request for every item of a pop-up menu that is about to open.
void UpdateMenuPopup(CWnd& target, HMENU popup);
