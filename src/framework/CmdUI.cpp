#include "framework/CmdUI.h"

#include "framework/Wnd.h"

void CCmdUI::Enable(bool on)
{
    EnableMenuItem(m_menu, m_index, MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    m_enableChanged = true;
}

void CCmdUI::SetCheck(bool checked)
{
    CheckMenuItem(m_menu, m_index, MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void CCmdUI::DoUpdate(CWnd& target, bool disableIfNoHandler)
{
    const CommandLookup found = target.FindCommand(m_id, 0);
    if (found.update) {
        found.update(target, *this);
        return;
    }
    if (disableIfNoHandler && !m_enableChanged)
        Enable(found.command != nullptr);
}

void UpdateMenuPopup(CWnd& target, HMENU popup)
{
    int count = GetMenuItemCount(popup);
    for (int index = 0; index < count; ++index) {
        const UINT id = GetMenuItemID(popup, index);
        if (id == 0)
            continue;  // separator
        if (id == static_cast<UINT>(-1)) {
            // A nested pop-up is enabled when its first item has a handler.
            HMENU nested = GetSubMenu(popup, index);
            const UINT first = nested ? GetMenuItemID(nested, 0) : 0;
            if (first == 0 || first == static_cast<UINT>(-1))
                continue;
            CCmdUI(popup, static_cast<UINT>(index), first).DoUpdate(target, true);
        } else {
            CCmdUI(popup, static_cast<UINT>(index), id).DoUpdate(target, false);
        }
        // An update handler may have removed items: step back over what went and
        // past the items that share this command.
        const int newCount = GetMenuItemCount(popup);
        if (newCount < count) {
            index -= count - newCount;
            while (index + 1 < newCount && GetMenuItemID(popup, index + 1) == id)
                ++index;
        }
        count = newCount;
    }
}
