#pragma once

#include <windows.h>

#include <string>

#include "framework/Wnd.h"

// A drop-down or list combo box bound to a dialog item.
class CComboBox : public CWnd {
public:
    void ResetContent() { SendMessageA(m_hWnd, CB_RESETCONTENT, 0, 0); }
    // The new entry's position (sorted boxes insert in order), or negative on error.
    int AddString(const char* text)
    {
        return static_cast<int>(SendMessageA(m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    void SetItemData(int index, DWORD_PTR data) { SendMessageA(m_hWnd, CB_SETITEMDATA, index, static_cast<LPARAM>(data)); }
    DWORD_PTR GetItemData(int index) const
    {
        return static_cast<DWORD_PTR>(SendMessageA(m_hWnd, CB_GETITEMDATA, index, 0));
    }
    int GetCount() const { return static_cast<int>(SendMessageA(m_hWnd, CB_GETCOUNT, 0, 0)); }
    // Negative when nothing is selected.
    int GetCurSel() const { return static_cast<int>(SendMessageA(m_hWnd, CB_GETCURSEL, 0, 0)); }
    // -1 when the position does not exist.
    int SetCurSel(int index) { return static_cast<int>(SendMessageA(m_hWnd, CB_SETCURSEL, index, 0)); }
    std::string WindowText() const;
};

// A list box bound to a dialog item.
class CListBox : public CWnd {
public:
    // Position of the new line, or negative on error.
    int AddString(const char* text)
    {
        return static_cast<int>(SendMessageA(m_hWnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int GetCount() const { return static_cast<int>(SendMessageA(m_hWnd, LB_GETCOUNT, 0, 0)); }
    std::string GetText(int index) const;
    // Scrolls the list so that the line is in view.
    void ShowLine(int index) { SendMessageA(m_hWnd, LB_SETTOPINDEX, index, 0); }
};
