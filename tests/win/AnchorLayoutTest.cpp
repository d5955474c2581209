#include <gtest/gtest.h>

#include <vector>

#include "resize/AnchorLayout.h"

namespace {

// Answers the layout's query message with fixed traits and records each question.
class AnsweringChild : public CWnd {
public:
    explicit AnsweringChild(ChildTraits answer) : m_answer(answer) {}

    std::vector<WPARAM> questions;

protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }

    LRESULT OnResizeSupport(WPARAM code, LPARAM record)
    {
        questions.push_back(code);
        if (code == RS_QUERY_TRAITS)
            *reinterpret_cast<ChildTraits*>(record) = m_answer;
        else if (code == RS_QUERY_REPAINT)
            reinterpret_cast<RepaintQuery*>(record)->answer = 1;
        return 1;
    }

    static const MessageEntry kMessageEntries[];
    static const MessageMap kMessageMap;

private:
    ChildTraits m_answer;
};

const MessageEntry AnsweringChild::kMessageEntries[] = {
    OnRegistered<&WMU_RESIZESUPPORT, &AnsweringChild::OnResizeSupport>(),
};
const MessageMap AnsweringChild::kMessageMap{&CWnd::kMessageMap, kMessageEntries};

class LayoutHost : public CWnd, public CAnchorLayout {
public:
    explicit LayoutHost(DWORD exStyle = 0)
    {
        CreateEx(exStyle, CWnd::RegisterWindowClass(), "layout", WS_POPUP | WS_VISIBLE, 0, 0, 500, 400, nullptr,
                 nullptr);
    }
    HWND AddListBox(int x, int y)
    {
        return CreateWindowExA(0, "ListBox", "", WS_CHILD | WS_VISIBLE, x, y, 50, 50, m_hWnd, nullptr, nullptr,
                               nullptr);
    }

protected:
    CWnd& GetHostWindow() override { return *this; }
};

} // namespace

TEST(AnchorLayout, AnsweringChildIsAskedAndObeyedOthersFollowTheirClass)
{
    LayoutHost host;
    // Traits {askClipping, askRepaint, cachedClipping, cachedRepaint}.
    AnsweringChild clipped(ChildTraits{0, 1, 1, 0});  // clipped for good, repaint asked at each pass
    AnsweringChild kept(ChildTraits{1, 0, 0, 1});     // clipping asked at each erase, and refused
    ASSERT_TRUE(clipped.CreateEx(0, CWnd::RegisterWindowClass(), "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 50,
                                 host.m_hWnd, nullptr));
    ASSERT_TRUE(kept.CreateEx(0, CWnd::RegisterWindowClass(), "", WS_CHILD | WS_VISIBLE, 10, 100, 100, 150,
                              host.m_hWnd, nullptr));
    HWND list = host.AddListBox(200, 10);  // clipped by its class
    HWND hidden = host.AddListBox(300, 10);
    ShowWindow(hidden, SW_HIDE);
    host.AnchorWindow(clipped.m_hWnd, ANCHOR_NW, ANCHOR_SE);
    host.AnchorWindow(kept.m_hWnd, ANCHOR_NW, ANCHOR_SE);
    host.AnchorWindow(list, ANCHOR_NW, ANCHOR_NW);
    host.AnchorWindow(hidden, ANCHOR_NW, ANCHOR_NW);

    SetWindowPos(host.m_hWnd, nullptr, 0, 0, 600, 450, SWP_NOMOVE | SWP_NOZORDER);
    host.RepositionChildren();
    const Region erase = host.BuildEraseRegion();
    EXPECT_FALSE(PtInRegion(erase.Get(), 20, 20)) << "left out, as the child said";
    EXPECT_TRUE(PtInRegion(erase.Get(), 20, 110)) << "kept in, as the child said";
    EXPECT_FALSE(PtInRegion(erase.Get(), 210, 20)) << "left out by its class";
    EXPECT_TRUE(PtInRegion(erase.Get(), 310, 20)) << "an invisible child changes nothing";
    EXPECT_EQ(clipped.questions, (std::vector<WPARAM>{RS_QUERY_TRAITS, RS_QUERY_REPAINT}));
    EXPECT_EQ(kept.questions, (std::vector<WPARAM>{RS_QUERY_TRAITS, RS_QUERY_CLIP}));
}

TEST(AnchorLayout, EraseRegionCoversTheClientAndShiftsForRightToLeft)
{
    for (DWORD exStyle : {DWORD{0}, DWORD{WS_EX_LAYOUTRTL}}) {
        LayoutHost host(exStyle);
        RECT box{}, client = host.GetClientRect();
        GetRgnBox(host.BuildEraseRegion().Get(), &box);
        if (exStyle)
            OffsetRect(&client, -1, 0);
        EXPECT_TRUE(EqualRect(&box, &client)) << exStyle;
    }
}
