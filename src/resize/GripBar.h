#pragma once

#include "framework/ScrollBar.h"

// The size grip in a resizable window's lower-right corner: the platform's size-grip
// scroll bar, sized by the scroll-bar metrics at its window's DPI, cut to its lower-right triangle, and
// answering hit tests as the corner of a sizing border.
class CGripBar : public CScrollBar {
public:
    // Gives the grip the triangular window region for its current size.
    void ShapeAsTriangle();
    // Resizes the grip for a new DPI of its window.
    void FitDpi(UINT dpi);

    SIZE Size() const { return m_size; }

protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    bool PreCreateWindow(CREATESTRUCTA& create) override;

    LRESULT OnNcHitTest(POINT screenPoint);
    LRESULT OnGetDlgCode(WPARAM, LPARAM);
    LRESULT OnSettingChange(WPARAM, LPARAM);

    static const MessageEntry kMessageEntries[];
    static const MessageMap kMessageMap;

private:
    SIZE m_size{};
    UINT m_dpi = 96;
};
