#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "TestResourceIds.h"
#include "framework/CmdUI.h"
#include "framework/Dialog.h"

namespace {

constexpr INT_PTR kUnhandled = 77, kOwnOk = 78, kOwnCancel = 79;
constexpr UINT kOwnCommand = 300, kNoHandler = 301;

// Sends `command` from its list box while it initialises, then ends with the code of
// the handler that ran.
class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(IDD_TEST_DIALOG) {}

    WPARAM command = IDOK;
    INT_PTR handledBy = kUnhandled;
    CWnd list;
    std::string events;  // NcCreate, DoDataExchange, InitDialog
    bool attachedAtNcCreate = false, ownTableFirst = false, managerAnswered = false;

protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    const CommandMap* GetCommandMap() const override { return &kCommandMap; }

    bool OnNcCreate(CREATESTRUCTA&)
    {
        events += 'N';
        attachedAtNcCreate = FromHandle(m_hWnd) == this;
        return Default() != 0;
    }
    // The base table has an entry for this message too.
    bool OnDrawItem(int, DRAWITEMSTRUCT&) { return true; }
    void DoDataExchange(CDataExchange& dx) override
    {
        events += 'D';
        DDX_Control(dx, IDC_TEST_LIST, list);
    }
    bool OnInitDialog() override
    {
        events += 'I';
        DRAWITEMSTRUCT item{};
        ownTableFirst = SendMessageA(m_hWnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)) == TRUE;
        managerAnswered = SendMessageA(m_hWnd, DM_GETDEFID, 0, 0) == MAKELONG(IDOK, DC_HASDEFID);
        SendMessageA(m_hWnd, WM_COMMAND, command, reinterpret_cast<LPARAM>(list.m_hWnd));
        EndDialog(std::exchange(handledBy, kUnhandled));
        return true;
    }
    void OnCancel() override { handledBy = kOwnCancel; }
    void OnOwnOk() { handledBy = kOwnOk; }
    void OnOwnCommand() { handledBy = kOwnCommand; }
    void OnUpdateOwnCommand(CCmdUI& ui) { ui.SetCheck(); }

    static const MessageEntry kMessageEntries[];
    static const MessageMap kMessageMap;
    static const CommandEntry kCommandEntries[];
    static const CommandMap kCommandMap;
};

const MessageEntry TestDialog::kMessageEntries[] = {
    On<WM_NCCREATE, &TestDialog::OnNcCreate>(),
    On<WM_DRAWITEM, &TestDialog::OnDrawItem>(),
};
const MessageMap TestDialog::kMessageMap{&CDialog::kMessageMap, kMessageEntries};
const CommandEntry TestDialog::kCommandEntries[] = {
    Command<IDOK, &TestDialog::OnOwnOk>(),
    Command<kOwnCommand, &TestDialog::OnOwnCommand, &TestDialog::OnUpdateOwnCommand>(),
    Notify<IDC_TEST_LIST, LBN_SELCHANGE, &TestDialog::OnOwnCommand>(),
};
const CommandMap TestDialog::kCommandMap{&CDialog::kCommandMap, kCommandEntries};

} // namespace

TEST(FrameworkDialog, CreationReachesTheTablesAndEachCommandFindsItsHandler)
{
    const std::pair<WPARAM, INT_PTR> cases[] = {
        {IDOK, kOwnOk},                                           // the class's entry before the base's
        {MAKEWPARAM(IDCANCEL, BN_CLICKED), kOwnCancel},           // the base's entry runs the override
        {kOwnCommand, kOwnCommand},                               // a click is a command
        {MAKEWPARAM(IDC_TEST_LIST, LBN_SELCHANGE), kOwnCommand},
        {MAKEWPARAM(IDC_TEST_LIST, LBN_DBLCLK), kUnhandled},      // a notification matches by its code
        {kNoHandler, kUnhandled},
    };
    TestDialog dialog;  // one object, run again and again
    for (const auto& [command, result] : cases) {
        SCOPED_TRACE(command);
        dialog.command = command;
        dialog.events.clear();
        EXPECT_EQ(dialog.DoModal(), result);
        EXPECT_EQ(dialog.events, "NDI");
        EXPECT_TRUE(dialog.attachedAtNcCreate) << "attached before its first message";
        EXPECT_TRUE(dialog.ownTableFirst && dialog.managerAnswered) << "own table, base tables, dialog manager";
        EXPECT_TRUE(!dialog.m_hWnd && !dialog.list.m_hWnd) << "the window and its bound item are detached";
    }
}

TEST(FrameworkDialog, PopupItemsTakeTheirStateFromTheUpdateHandlers)
{
    TestDialog dialog;  // the tables answer without a window
    HMENU popup = CreatePopupMenu(), nested = CreatePopupMenu();
    AppendMenuA(nested, MF_STRING, kNoHandler, "x");
    AppendMenuA(popup, MF_STRING, kOwnCommand, "update handler: checked");
    AppendMenuA(popup, MF_STRING | MF_GRAYED, IDCANCEL, "no update handler: kept");
    AppendMenuA(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(nested), "first item unhandled: greyed");
    UpdateMenuPopup(dialog, popup);
    const UINT expected[] = {MF_CHECKED, MF_GRAYED, MF_GRAYED};
    for (UINT i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(GetMenuState(popup, i, MF_BYPOSITION) & (MF_CHECKED | MF_GRAYED), expected[i]) << i;
    DestroyMenu(popup);
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
