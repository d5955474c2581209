#include <gtest/gtest.h>

#include <vector>

#include "framework/Static.h"

namespace {

class BaseWindow : public CWnd {
public:
    std::vector<UINT> creationMessages;
    bool attachedAtNcCreate = false;
    HWND childOfCreate = nullptr;

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
        childOfCreate = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, m_hWnd, nullptr, nullptr, nullptr);
        return 0;
    }
    LRESULT OnBaseOnly(WPARAM, LPARAM) { return 1; }
    LRESULT OnOverridden(WPARAM, LPARAM) { return 2; }

    static const MessageEntry kMessageEntries[];
    static const MessageMap kMessageMap;
};

const MessageEntry BaseWindow::kMessageEntries[] = {
    On<WM_NCCREATE, &BaseWindow::OnNcCreate>(),
    On<WM_CREATE, &BaseWindow::OnCreate>(),
    On<WM_APP + 1, &BaseWindow::OnBaseOnly>(),
    On<WM_APP + 2, &BaseWindow::OnOverridden>(),
};
const MessageMap BaseWindow::kMessageMap{&CWnd::kMessageMap, kMessageEntries};

class DerivedWindow : public BaseWindow {
protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    LRESULT OnOverridden(WPARAM, LPARAM) { return 3; }

    static const MessageEntry kMessageEntries[];
    static const MessageMap kMessageMap;
};

const MessageEntry DerivedWindow::kMessageEntries[] = {On<WM_APP + 2, &DerivedWindow::OnOverridden>()};
const MessageMap DerivedWindow::kMessageMap{&BaseWindow::kMessageMap, kMessageEntries};

class RecordingStatic : public CStatic {
public:
    int draws = 0;
    void DrawItem(DRAWITEMSTRUCT& item) override { draws += item.hDC != nullptr; }
};

bool CreateTopLevel(CWnd& window, DWORD visible = 0)
{
    return window.CreateEx(0, CWnd::RegisterWindowClass(), "test", WS_POPUP | visible, 0, 0, 200, 100, nullptr,
                           nullptr);
}

} // namespace

TEST(FrameworkWindow, AttachedBeforeCreationTablesFallBackAndTheObjectOwnsItsWindow)
{
    HWND handle = nullptr;
    {
        DerivedWindow window;
        ASSERT_TRUE(CreateTopLevel(window));
        handle = window.m_hWnd;
        EXPECT_TRUE(window.attachedAtNcCreate);
        EXPECT_EQ(window.creationMessages, (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
        ASSERT_NE(window.childOfCreate, nullptr);
        EXPECT_EQ(CWnd::FromHandle(window.childOfCreate), nullptr) << "a child of OnCreate is not the object's";

        EXPECT_EQ(SendMessageA(handle, WM_APP + 1, 0, 0), 1);  // base table
        EXPECT_EQ(SendMessageA(handle, WM_APP + 2, 0, 0), 3);  // derived table first
        SetWindowTextA(handle, "caption");  // the window procedure's own processing
        EXPECT_EQ(GetWindowTextLengthA(handle), 7);
    }
    EXPECT_FALSE(IsWindow(handle)) << "the object going away destroys its window";
}

TEST(FrameworkWindow, DrawItemReachesTheSubclassedControlAndDestroyDetachesBoth)
{
    BaseWindow parent;
    ASSERT_TRUE(CreateTopLevel(parent, WS_VISIBLE));
    HWND item = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 10, 10, 50, 30,
                                parent.m_hWnd, reinterpret_cast<HMENU>(7), nullptr, nullptr);
    RecordingStatic control;
    ASSERT_TRUE(control.SubclassDlgItem(7, parent));
    EXPECT_EQ(control.m_hWnd, item);
    EXPECT_FALSE(RecordingStatic().SubclassWindow(item)) << "a window belongs to one object";
    RedrawWindow(item, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GE(control.draws, 1);

    ASSERT_TRUE(parent.DestroyWindow());
    EXPECT_EQ(parent.m_hWnd, nullptr);
    EXPECT_EQ(control.m_hWnd, nullptr);
    EXPECT_FALSE(IsWindow(item));
}
