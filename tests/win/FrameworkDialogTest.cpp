#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestResourceIds.h"
#include "framework/Dialog.h"
#include "framework/Static.h"

namespace {

constexpr UINT_PTR kGuardTimer = 1;
constexpr UINT kGuardMilliseconds = 5000;
constexpr INT_PTR kTimedOut = 77;
constexpr UINT kTableMessage = WM_APP + 1;

// How the dialog ends itself once initialised.
enum class Script {
    KeysThenEnter,  // Escape and the close box (counted, not closing), then Enter
    PostCancel,     // a posted IDCANCEL with the default OnCancel
    PostOk,         // a posted IDOK with the default OnOK
};

class TestDialog : public CDialog {
public:
    explicit TestDialog(Script script) : CDialog(IDD_TEST_DIALOG), script(script) {}

    Script script;
    CWnd list;
    CWnd combo;
    CStatic diagram;

    std::vector<std::string> events;
    bool attachedAtNcCreate = false;
    int exchanges = 0;
    int cancels = 0;
    // What OnInitDialog saw.
    HWND diagramItem = nullptr;
    HWND boundDiagram = nullptr;
    bool listAndComboBound = false;
    char className[32] = {};
    LRESULT defaultId = 0;
    LRESULT tableResult = 0;

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
    LRESULT OnTimer(WPARAM id, LPARAM)
    {
        if (id == kGuardTimer)
            EndDialog(kTimedOut);
        return 0;
    }
    LRESULT OnTableMessage(WPARAM w, LPARAM) { return static_cast<LRESULT>(w) * 6; }

    void DoDataExchange(CDataExchange& dx) override
    {
        events.push_back("DoDataExchange");
        ++exchanges;
        DDX_Control(dx, IDC_TEST_LIST, list);
        DDX_Control(dx, IDC_TEST_COMBO, combo);
        DDX_Control(dx, IDC_TEST_DIAGRAM, diagram);
    }

    bool OnInitDialog() override
    {
        events.push_back("OnInitDialog");
        SetTimer(m_hWnd, kGuardTimer, kGuardMilliseconds, nullptr);
        diagramItem = GetDlgItem(m_hWnd, IDC_TEST_DIAGRAM);
        boundDiagram = diagram.m_hWnd;
        listAndComboBound = list.m_hWnd == GetDlgItem(m_hWnd, IDC_TEST_LIST) &&
                            combo.m_hWnd == GetDlgItem(m_hWnd, IDC_TEST_COMBO) && list.m_hWnd && combo.m_hWnd;
        GetClassNameA(m_hWnd, className, sizeof(className));
        defaultId = SendMessageA(m_hWnd, DM_GETDEFID, 0, 0);
        tableResult = SendMessageA(m_hWnd, kTableMessage, 7, 0);

        switch (script) {
        case Script::KeysThenEnter:
            PostMessageA(list.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
            break;
        case Script::PostCancel:
            PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            break;
        case Script::PostOk:
            PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            break;
        }
        return true;
    }

    // Each Cancel of the key script posts the next step, so the steps never overtake
    // one another (the close box's IDCANCEL is itself posted by the dialog manager).
    void OnCancel() override
    {
        if (script != Script::KeysThenEnter) {
            CDialog::OnCancel();
            return;
        }
        ++cancels;
        if (cancels == 1)
            PostMessageA(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        else
            PostMessageA(list.m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
    }

    static const MessageEntry kMessageEntries[];
    static const MessageMap kMessageMap;
};

const MessageEntry TestDialog::kMessageEntries[] = {
    On<WM_NCCREATE, &TestDialog::OnNcCreate>(),
    On<WM_CREATE, &TestDialog::OnCreate>(),
    On<WM_TIMER, &TestDialog::OnTimer>(),
    On<kTableMessage, &TestDialog::OnTableMessage>(),
};
const MessageMap TestDialog::kMessageMap{&CDialog::kMessageMap, kMessageEntries};

} // namespace

TEST(FrameworkDialog, CreationReachesTheTableAndInitialisationFindsBoundControls)
{
    TestDialog dialog(Script::KeysThenEnter);
    EXPECT_EQ(dialog.DoModal(), IDOK);

    // The dialog manager's own window is caught by the creation hook.
    EXPECT_TRUE(dialog.attachedAtNcCreate);
    EXPECT_STREQ(dialog.className, "#32770");
    EXPECT_EQ(dialog.events,
              (std::vector<std::string>{"NcCreate", "Create", "DoDataExchange", "OnInitDialog"}));
    ASSERT_NE(dialog.diagramItem, nullptr);
    EXPECT_EQ(dialog.boundDiagram, dialog.diagramItem);
    EXPECT_TRUE(dialog.listAndComboBound);

    // Unhandled messages get the dialog manager's processing; handled ones return
    // the handler's result to the sender.
    EXPECT_EQ(dialog.defaultId, MAKELONG(IDOK, DC_HASDEFID));
    EXPECT_EQ(dialog.tableResult, 42);

    // Escape and the close box reach OnCancel, Enter reaches the default OnOK.
    EXPECT_EQ(dialog.cancels, 2);

    // The window and its bound controls are gone and detached.
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(dialog.diagram.m_hWnd, nullptr);
    EXPECT_FALSE(IsWindow(dialog.diagramItem));
}

TEST(FrameworkDialog, PostedCommandsEndTheDialogWithTheirCodeAndTheObjectRunsAgain)
{
    TestDialog dialog(Script::PostCancel);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    HWND firstDiagram = dialog.boundDiagram;

    dialog.script = Script::PostOk;
    dialog.events.clear();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.exchanges, 2) << "one data exchange per run";
    EXPECT_EQ(dialog.events.back(), "OnInitDialog");
    ASSERT_NE(dialog.boundDiagram, nullptr);
    EXPECT_EQ(dialog.boundDiagram, dialog.diagramItem);
    EXPECT_NE(firstDiagram, nullptr);
}
