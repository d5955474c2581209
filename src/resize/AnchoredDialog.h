#pragma once

#include "framework/Dialog.h"
#include "resize/Resizer.h"

// A dialog from a fixed template made resizable by its resizer: the owner registers
// the anchored children and asks for the placement to be remembered during its
// initialisation.
class CAnchoredDialog : public CDialog {
public:
    explicit CAnchoredDialog(UINT templateId, CWnd* parent = nullptr);
    ~CAnchoredDialog() override;

    CResizer& Resizer() { return m_resizer; }

protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }

    int OnCreate(CREATESTRUCTA& create);
    void OnSize(UINT type, int cx, int cy);
    void OnGetMinMaxInfo(MINMAXINFO& limits);
    bool OnEraseBkgnd(HDC hdc);
    void OnDestroy();
    void OnDpiChanged(UINT dpi, const RECT& suggested);

    static const MessageEntry kMessageEntries[];
    static const MessageMap kMessageMap;

private:
    CResizer m_resizer{*this};
};
