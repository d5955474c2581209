#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestResourceIds.h"
#include "framework/Dialog.h"
#include "framework/Static.h"

namespace {

constexpr INT_PTR kTimedOut = 77;

// Posts `command` from OnInitDialog; a guard timer ends a dialog that ignores it.
class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(IDD_TEST_DIALOG) {}

    int command = IDOK;
    CWnd list;
    CStatic diagram;
    std::vector<std::string> events;
    bool attachedAtNcCreate = false;
    bool boundAtInit = false;
    LRESULT defaultId = 0;

protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }

    bool OnNcCreate(CREATESTRUCTA&)
    {
        events.push_back("NcCreate");
        attachedAtNcCreate = FromHandle(m_hWnd) == this;
        return Default() != 0;
    }
    int OnCreate(CREATESTRUCTA&)
    {
        events.push_back("Create");
        return static_cast<int>(Default());
    }
    LRESULT OnTimer(WPARAM, LPARAM)
    {
        EndDialog(kTimedOut);
        return 0;
    }

    void DoDataExchange(CDataExchange& dx) override
    {
        events.push_back("DoDataExchange");
        DDX_Control(dx, IDC_TEST_LIST, list);
        DDX_Control(dx, IDC_TEST_DIAGRAM, diagram);
    }

    bool OnInitDialog() override
    {
        events.push_back("OnInitDialog");
        SetTimer(m_hWnd, 1, 5000, nullptr);
        boundAtInit = list.m_hWnd && list.m_hWnd == GetDlgItem(m_hWnd, IDC_TEST_LIST) && diagram.m_hWnd &&
                      diagram.m_hWnd == GetDlgItem(m_hWnd, IDC_TEST_DIAGRAM);
        defaultId = SendMessageA(m_hWnd, DM_GETDEFID, 0, 0);
        PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
        return true;
    }

    static const MessageEntry kMessageEntries[];
    static const MessageMap kMessageMap;
};

const MessageEntry TestDialog::kMessageEntries[] = {
    On<WM_NCCREATE, &TestDialog::OnNcCreate>(),
    On<WM_CREATE, &TestDialog::OnCreate>(),
    On<WM_TIMER, &TestDialog::OnTimer>(),
};
const MessageMap TestDialog::kMessageMap{&CDialog::kMessageMap, kMessageEntries};

} // namespace

TEST(FrameworkDialog, CreationReachesTheTableControlsBindBeforeInitAndCommandsEndTheDialog)
{
    TestDialog dialog;  // one object, run twice
    for (int command : {IDCANCEL, IDOK}) {
        SCOPED_TRACE(command);
        dialog.command = command;
        dialog.events.clear();
        EXPECT_EQ(dialog.DoModal(), command);
        EXPECT_TRUE(dialog.attachedAtNcCreate);
        EXPECT_EQ(dialog.events, (std::vector<std::string>{"NcCreate", "Create", "DoDataExchange", "OnInitDialog"}));
        EXPECT_TRUE(dialog.boundAtInit);
        EXPECT_EQ(dialog.defaultId, MAKELONG(IDOK, DC_HASDEFID)) << "the dialog manager answers the rest";
        EXPECT_EQ(dialog.m_hWnd, nullptr);
        EXPECT_EQ(dialog.diagram.m_hWnd, nullptr);
    }
}
