#pragma once

#include "framework/Wnd.h"

class CDialog;

// What data exchange works on: the dialog whose items are bound to its members.
class CDataExchange {
public:
    explicit CDataExchange(CDialog& dialog) : m_dialog(dialog) {}
    CDialog& Dialog() const { return m_dialog; }

private:
    CDialog& m_dialog;
};

// Binds the dialog item with this id to a member control, once.
void DDX_Control(CDataExchange& dx, int id, CWnd& control);

// A dialog built from a template resource, run modally. The object is attached
// to the dialog window before its first message, so WM_NCCREATE and WM_CREATE reach
// the class's message table like any other window's. Without a parent, the
// program's main window owns it.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Runs the dialog; the result is the code it ended with, or -1 when the
    // dialog could not be created.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result);
    // Keys of this table reach the dialog as commands while it runs modally.
    void SetAccelerators(HACCEL accelerators) { m_accelerators = accelerators; }

protected:
    const CommandMap* GetCommandMap() const override { return &kCommandMap; }

    // Called once, before OnInitDialog, to bind items to member controls.
    virtual void DoDataExchange(CDataExchange& dx);
    // Called when the dialog is about to be shown; true lets the dialog manager set
    // the focus to the first tab stop.
    virtual bool OnInitDialog();
    // Called for the OK command (Enter) and the Cancel command (Escape, close box),
    // unless a derived class's command table names its own handler for them.
    virtual void OnOK();
    virtual void OnCancel();

    static const CommandEntry kCommandEntries[];
    static const CommandMap kCommandMap;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool InitDialog();

    static LRESULT CALLBACK MessageFilterProc(int code, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    CWnd* m_parent;
    HACCEL m_accelerators = nullptr;
};
