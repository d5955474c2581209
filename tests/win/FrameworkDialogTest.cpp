#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "TestResourceIds.h"
#include "framework/Dialog.h"

namespace {

constexpr INT_PTR kUnhandled = 77, kOwnOk = 78, kOwnCancel = 79, kOwnNotify = 80;

// Sends `command` from its list box while it initialises, then ends with the code of
// the handler that ran.
class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(IDD_TEST_DIALOG) {}

    WPARAM command = IDOK;
    INT_PTR handledBy = kUnhandled;
    CWnd list;
    // NcCreate ('N' when the object is attached by then, else 'n'), DoDataExchange, InitDialog.
    std::string events;

protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    const CommandMap* GetCommandMap() const override { return &kCommandMap; }

    bool OnNcCreate(CREATESTRUCTA&)
    {
        events += FromHandle(m_hWnd) == this ? 'N' : 'n';
        return Default() != 0;
    }
    void DoDataExchange(CDataExchange& dx) override
    {
        events += 'D';
        DDX_Control(dx, IDC_TEST_LIST, list);
    }
    bool OnInitDialog() override
    {
        events += 'I';
        SendMessageA(m_hWnd, WM_COMMAND, command, reinterpret_cast<LPARAM>(list.m_hWnd));
        EndDialog(std::exchange(handledBy, kUnhandled));
        return true;
    }
    void OnCancel() override { handledBy = kOwnCancel; }
    void OnOwnOk() { handledBy = kOwnOk; }
    void OnOwnNotify() { handledBy = kOwnNotify; }

    static const MessageEntry kMessageEntries[];
    static const MessageMap kMessageMap;
    static const CommandEntry kCommandEntries[];
    static const CommandMap kCommandMap;
};

const MessageEntry TestDialog::kMessageEntries[] = {On<WM_NCCREATE, &TestDialog::OnNcCreate>()};
const MessageMap TestDialog::kMessageMap{&CDialog::kMessageMap, kMessageEntries};
const CommandEntry TestDialog::kCommandEntries[] = {
    Command<IDOK, &TestDialog::OnOwnOk>(),
    Notify<IDC_TEST_LIST, LBN_SELCHANGE, &TestDialog::OnOwnNotify>(),
};
const CommandMap TestDialog::kCommandMap{&CDialog::kCommandMap, kCommandEntries};

} // namespace

// The main dialog's tests prove the rest: its own WM_DPICHANGED entry runs before its
// base's, unhandled messages reach the dialog manager, and its menu items take their
// state from its update handlers.
TEST(FrameworkDialog, CreationReachesTheTablesAndEachCommandFindsItsHandler)
{
    const std::pair<WPARAM, INT_PTR> cases[] = {
        {IDOK, kOwnOk},                                           // the class's entry before the base's
        {MAKEWPARAM(IDCANCEL, BN_CLICKED), kOwnCancel},           // the base's entry runs the override
        {MAKEWPARAM(IDC_TEST_LIST, LBN_SELCHANGE), kOwnNotify},
        {MAKEWPARAM(IDC_TEST_LIST, LBN_DBLCLK), kUnhandled},      // a notification matches by its code
    };
    TestDialog dialog;  // one object, run again and again
    for (const auto& [command, result] : cases) {
        SCOPED_TRACE(command);
        dialog.command = command;
        dialog.events.clear();
        EXPECT_EQ(dialog.DoModal(), result);
        EXPECT_EQ(dialog.events, "NDI") << "attached before its first message, bound, initialised";
        EXPECT_TRUE(!dialog.m_hWnd && !dialog.list.m_hWnd) << "the window and its bound item are detached";
    }
}

TEST(FrameworkWindow, BelongsToOneObjectAndGoesWithIt)
{
    HWND handle = nullptr;
    {
        CWnd window;
        ASSERT_TRUE(window.CreateEx(0, CWnd::RegisterWindowClass(), "test", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr));
        handle = window.m_hWnd;
        EXPECT_FALSE(CWnd().SubclassWindow(handle));
    }
    EXPECT_FALSE(IsWindow(handle));
}
