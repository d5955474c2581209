#pragma once

#include <windows.h>

#include "framework/CommandMap.h"
#include "framework/MessageMap.h"

// A window object: the C++ side of one window handle. The object is attached before
// the window's first creation message (WM_NCCREATE), or later by subclassing an
// existing window such as a dialog item. Messages are dispatched through the class's
// message table, then its base classes' tables, then the window's own procedure.
class CWnd {
public:
    CWnd() = default;
    // Destroys the window if it still exists.
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The object attached to a window, or null.
    static CWnd* FromHandle(HWND hwnd);

    // Creates a window of a registered class (RegisterWindowClass for plain ones)
    // with this object attached from its first message on.
    bool CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                  int width, int height, HWND parent, HMENU menuOrId);
    // Binds this object to an existing window: its messages reach this object first.
    bool SubclassWindow(HWND hwnd);
    bool SubclassDlgItem(int id, CWnd& parent);
    bool DestroyWindow();

    HWND GetSafeHwnd() const { return m_hWnd; }
    RECT GetClientRect() const;
    void Invalidate(bool erase = true) const;

    // Called for an owner-drawn control when its parent receives WM_DRAWITEM for it.
    virtual void DrawItem(DRAWITEMSTRUCT& item);

    // The handlers of a command in this class's command tables, the class's own first.
    CommandLookup FindCommand(UINT id, UINT notifyCode) const;

    // A window class whose procedure is the default one; the object supplies the rest.
    static const char* RegisterWindowClass();

    HWND m_hWnd = nullptr;

protected:
    virtual const MessageMap* GetMessageMap() const { return &kMessageMap; }
    virtual const CommandMap* GetCommandMap() const { return nullptr; }
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called by CreateEx before the window is created; may change the creation
    // parameters. False cancels the creation.
    virtual bool PreCreateWindow(CREATESTRUCTA& create);
    // Passes the message being handled to the window's own procedure.
    LRESULT Default();
    // Called after the window is gone (WM_NCDESTROY); the object is detached.
    virtual void PostNcDestroy() {}

    bool OnDrawItem(int controlId, DRAWITEMSTRUCT& item);
    LRESULT RouteCommand(WPARAM wParam, LPARAM lParam);

    static const MessageEntry kMessageEntries[];
    static const MessageMap kMessageMap;

private:
    struct CurrentMessage {
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };

    friend class WindowCreationScope;
    void Attach(HWND hwnd);
    void Detach();
    static LRESULT CALLBACK StdWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    WNDPROC m_superProc = nullptr;
    CurrentMessage m_current;
};

// While it exists, the next window created on this thread is attached to the given
// object before it receives any creation message. Used by window and dialog creation.
class WindowCreationScope {
public:
    explicit WindowCreationScope(CWnd& window);
    ~WindowCreationScope();
    WindowCreationScope(const WindowCreationScope&) = delete;
    WindowCreationScope& operator=(const WindowCreationScope&) = delete;

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);

    CWnd* m_previousPending;
    HHOOK m_hook;
};

// Reports an error that a message handler let escape, so that it never unwinds
// through the window system.
void ReportHandlerException(const char* what);
