#include <gtest/gtest.h>

#include <vector>

#include "framework/Gdi.h"
#include "framework/Static.h"

namespace {

UINT g_testRegisteredMessage = RegisterWindowMessageA("RampwiseFrameworkTest");

class BaseWindow : public CWnd {
public:
    std::vector<UINT> creationMessages;
    bool attachedAtNcCreate = false;
    HWND childCreatedDuringCreate = nullptr;

protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }

    bool OnNcCreate(CREATESTRUCTA&)
    {
        creationMessages.push_back(WM_NCCREATE);
        attachedAtNcCreate = FromHandle(m_hWnd) == this;
        return Default() != 0;
    }
    int OnCreate(CREATESTRUCTA&)
    {
        creationMessages.push_back(WM_CREATE);
        childCreatedDuringCreate =
            CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, m_hWnd, nullptr, nullptr, nullptr);
        return 0;
    }
    LRESULT OnBaseOnly(WPARAM, LPARAM) { return 1; }
    LRESULT OnOverridden(WPARAM, LPARAM) { return 2; }
    LRESULT OnTestMessage(WPARAM w, LPARAM) { return static_cast<LRESULT>(w) + 100; }

    static const MessageEntry kMessageEntries[];
    static const MessageMap kMessageMap;
};

const MessageEntry BaseWindow::kMessageEntries[] = {
    On<WM_NCCREATE, &BaseWindow::OnNcCreate>(),
    On<WM_CREATE, &BaseWindow::OnCreate>(),
    On<WM_APP + 1, &BaseWindow::OnBaseOnly>(),
    On<WM_APP + 2, &BaseWindow::OnOverridden>(),
    OnRegistered<&g_testRegisteredMessage, &BaseWindow::OnTestMessage>(),
};
const MessageMap BaseWindow::kMessageMap{&CWnd::kMessageMap, kMessageEntries};

class DerivedWindow : public BaseWindow {
protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }

    LRESULT OnOverridden(WPARAM, LPARAM) { return 3; }
    LRESULT OnDerivedOnly(WPARAM, LPARAM) { return 4; }

    static const MessageEntry kMessageEntries[];
    static const MessageMap kMessageMap;
};

const MessageEntry DerivedWindow::kMessageEntries[] = {
    On<WM_APP + 2, &DerivedWindow::OnOverridden>(),
    On<WM_APP + 3, &DerivedWindow::OnDerivedOnly>(),
};
const MessageMap DerivedWindow::kMessageMap{&BaseWindow::kMessageMap, kMessageEntries};

class RecordingStatic : public CStatic {
public:
    int drawCount = 0;
    HDC lastDC = nullptr;
    void DrawItem(DRAWITEMSTRUCT& item) override
    {
        ++drawCount;
        lastDC = item.hDC;
    }
};

template <class Window>
bool CreateTopLevel(Window& window, bool visible = false)
{
    return window.CreateEx(0, CWnd::RegisterWindowClass(), "test", WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0, 200, 100,
                           nullptr, nullptr);
}

} // namespace

TEST(FrameworkWindow, ObjectIsAttachedBeforeTheFirstCreationMessage)
{
    DerivedWindow window;
    ASSERT_TRUE(CreateTopLevel(window));
    EXPECT_TRUE(window.attachedAtNcCreate);
    EXPECT_EQ(window.creationMessages, (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
    EXPECT_EQ(CWnd::FromHandle(window.m_hWnd), &window);
    // A window created by a creation handler is not mistaken for the object's own.
    ASSERT_NE(window.childCreatedDuringCreate, nullptr);
    EXPECT_EQ(CWnd::FromHandle(window.childCreatedDuringCreate), nullptr);
}

TEST(FrameworkWindow, MessageTablesFallBackToTheBaseClassThenTheWindowProcedure)
{
    DerivedWindow window;
    ASSERT_TRUE(CreateTopLevel(window));
    EXPECT_EQ(SendMessageA(window.m_hWnd, WM_APP + 1, 0, 0), 1);  // base table only
    EXPECT_EQ(SendMessageA(window.m_hWnd, WM_APP + 2, 0, 0), 3);  // derived table wins
    EXPECT_EQ(SendMessageA(window.m_hWnd, WM_APP + 3, 0, 0), 4);
    EXPECT_EQ(SendMessageA(window.m_hWnd, WM_APP + 4, 0, 0), 0);  // default procedure
    EXPECT_EQ(SendMessageA(window.m_hWnd, g_testRegisteredMessage, 5, 0), 105);

    // Default processing still reaches the window's own procedure.
    SetWindowTextA(window.m_hWnd, "caption");
    char text[32] = {};
    GetWindowTextA(window.m_hWnd, text, sizeof(text));
    EXPECT_STREQ(text, "caption");
}

TEST(FrameworkWindow, ParentHandsDrawItemToTheSubclassedOwnerDrawnControl)
{
    BaseWindow parent;
    ASSERT_TRUE(CreateTopLevel(parent, true));
    HWND item = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 10, 10, 50, 30,
                                parent.m_hWnd, reinterpret_cast<HMENU>(1002), nullptr, nullptr);
    ASSERT_NE(item, nullptr);

    RecordingStatic control;
    ASSERT_TRUE(control.SubclassDlgItem(1002, parent));
    EXPECT_EQ(control.m_hWnd, item);
    EXPECT_FALSE(RecordingStatic().SubclassWindow(item)) << "a window belongs to one object";

    RedrawWindow(item, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GE(control.drawCount, 1);
    EXPECT_NE(control.lastDC, nullptr);
}

TEST(FrameworkWindow, DestroyedWindowDetachesItsObjects)
{
    BaseWindow parent;
    ASSERT_TRUE(CreateTopLevel(parent));
    HWND item = CreateWindowExA(0, "STATIC", "", WS_CHILD | SS_OWNERDRAW, 0, 0, 5, 5, parent.m_hWnd,
                                reinterpret_cast<HMENU>(7), nullptr, nullptr);
    RecordingStatic control;
    ASSERT_TRUE(control.SubclassDlgItem(7, parent));

    HWND parentHandle = parent.m_hWnd;
    ASSERT_TRUE(parent.DestroyWindow());
    EXPECT_EQ(parent.m_hWnd, nullptr);
    EXPECT_EQ(control.m_hWnd, nullptr);
    EXPECT_FALSE(IsWindow(parentHandle));
    EXPECT_FALSE(IsWindow(item));
}

TEST(FrameworkWindow, ObjectGoingAwayDestroysItsWindow)
{
    HWND handle = nullptr;
    {
        BaseWindow window;
        ASSERT_TRUE(CreateTopLevel(window));
        handle = window.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(handle));
}

TEST(FrameworkGdi, HoldersDeleteOnceAndRestoreTheSelection)
{
    MemoryDC dc;
    HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_PEN);
    HPEN handle = nullptr;
    {
        Pen pen(CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
        handle = pen.Get();
        Pen moved(std::move(pen));
        EXPECT_EQ(pen.Get(), nullptr);
        SelectGuard select(dc.Get(), moved.Get());
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), handle);
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), original);
    EXPECT_EQ(GetObjectType(handle), 0u) << "the pen was not deleted";
}
