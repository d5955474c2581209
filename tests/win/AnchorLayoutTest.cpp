#include <gtest/gtest.h>

#include <vector>

#include "resize/AnchorLayout.h"

namespace {

// A child control that answers the layout's query message with fixed traits and
// records every question it is asked.
class AnsweringChild : public CWnd {
public:
    explicit AnsweringChild(ChildTraits answer) : m_answer(answer) {}

    std::vector<WPARAM> questions;
    std::int32_t repaintAnswer = 1;

protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }

    LRESULT OnResizeSupport(WPARAM code, LPARAM record)
    {
        questions.push_back(code);
        if (code == RS_QUERY_TRAITS)
            *reinterpret_cast<ChildTraits*>(record) = m_answer;
        else if (code == RS_QUERY_REPAINT)
            reinterpret_cast<RepaintQuery*>(record)->answer = repaintAnswer;
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
    HWND AddChild(const char* className, DWORD style, RECT r)
    {
        return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, m_hWnd, nullptr, nullptr, nullptr);
    }
    void Resize(int width, int height)
    {
        SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
        RepositionChildren();
    }

protected:
    CWnd& GetHostWindow() override { return *this; }
};

RECT RectOf(HWND child)
{
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

ChildTraits Traits(bool askClipping, bool cachedClipping, bool askRepaint, bool cachedRepaint)
{
    return ChildTraits{askClipping, askRepaint, cachedClipping, cachedRepaint};
}

} // namespace

TEST(AnchorLayout, ChildrenLandWhereTheArithmeticSays)
{
    LayoutHost host;
    HWND log = host.AddChild("ListBox", LBS_NOINTEGRALHEIGHT, RECT{11, 300, 489, 390});
    HWND fixed = host.AddChild("Button", BS_PUSHBUTTON, RECT{20, 20, 80, 40});
    host.AnchorWindow(log, ANCHOR_SW, ANCHOR_SE);
    host.AnchorWindow(fixed, ANCHOR_NW, ANCHOR_NW);
    ASSERT_EQ(host.Anchors().size(), 2u);
    EXPECT_EQ(host.Anchors()[0].className, "ListBox");

    host.Resize(640, 480);
    const RECT placed = RectOf(log);
    EXPECT_EQ(placed.left, 11);
    EXPECT_EQ(placed.top, 380);
    EXPECT_EQ(placed.right, 629);
    EXPECT_EQ(placed.bottom, 470);
    EXPECT_EQ(RectOf(fixed).left, 20);
}

TEST(AnchorLayout, AnsweringChildIsAskedAndObeyed)
{
    LayoutHost host;
    // Clipping answered once and for all; repaint asked at every pass.
    AnsweringChild clipped(Traits(false, true, true, false));
    ASSERT_TRUE(clipped.CreateEx(0, CWnd::RegisterWindowClass(), "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 50,
                                 host.m_hWnd, nullptr));
    // Repaint answered once and for all; clipping asked at every erase, and refused.
    AnsweringChild kept(Traits(true, false, false, true));
    ASSERT_TRUE(kept.CreateEx(0, CWnd::RegisterWindowClass(), "", WS_CHILD | WS_VISIBLE, 10, 100, 100, 150,
                              host.m_hWnd, nullptr));
    // A list box would be clipped by its class; this one does not answer at all.
    HWND plain = host.AddChild("ListBox", 0, RECT{200, 10, 300, 60});

    host.AnchorWindow(clipped.m_hWnd, ANCHOR_NW, ANCHOR_SE);
    host.AnchorWindow(kept.m_hWnd, ANCHOR_NW, ANCHOR_SE);
    host.AnchorWindow(plain, ANCHOR_NW, ANCHOR_NW);
    EXPECT_TRUE(host.Anchors()[0].answersQueries);
    EXPECT_FALSE(host.Anchors()[2].answersQueries);

    host.Resize(600, 450);
    const Region erase = host.BuildEraseRegion();
    EXPECT_FALSE(PtInRegion(erase.Get(), 20, 20)) << "left out, as the child said";
    EXPECT_TRUE(PtInRegion(erase.Get(), 20, 110)) << "kept in, as the child said";
    EXPECT_FALSE(PtInRegion(erase.Get(), 210, 20)) << "left out by its class";

    EXPECT_EQ(clipped.questions, (std::vector<WPARAM>{RS_QUERY_TRAITS, RS_QUERY_REPAINT}));
    EXPECT_EQ(kept.questions, (std::vector<WPARAM>{RS_QUERY_TRAITS, RS_QUERY_CLIP}));
}

TEST(AnchorLayout, EraseRegionCoversTheClientWithoutChildrenAndShiftsForRightToLeft)
{
    LayoutHost host;
    const RECT client = host.GetClientRect();
    const Region empty = host.BuildEraseRegion();
    RECT box{};
    GetRgnBox(empty.Get(), &box);
    EXPECT_TRUE(EqualRect(&box, &client));

    HWND hidden = host.AddChild("ListBox", 0, RECT{10, 10, 60, 60});
    ShowWindow(hidden, SW_HIDE);
    host.AnchorWindow(hidden, ANCHOR_NW, ANCHOR_NW);
    EXPECT_TRUE(PtInRegion(host.BuildEraseRegion().Get(), 20, 20)) << "an invisible child changes nothing";

    LayoutHost rightToLeft(WS_EX_LAYOUTRTL);
    const Region shifted = rightToLeft.BuildEraseRegion();
    GetRgnBox(shifted.Get(), &box);
    EXPECT_EQ(box.left, -1);
    EXPECT_EQ(box.right, rightToLeft.GetClientRect().right - 1);
}
