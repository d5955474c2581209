#include "resize/AnchoredDialog.h"

namespace {

constexpr std::uint32_t kNotMaximised = 1;

} // namespace

const MessageEntry CAnchoredDialog::kMessageEntries[] = {
    On<WM_CREATE, &CAnchoredDialog::OnCreate>(),
    On<WM_SIZE, &CAnchoredDialog::OnSize>(),
    On<WM_GETMINMAXINFO, &CAnchoredDialog::OnGetMinMaxInfo>(),
    On<WM_ERASEBKGND, &CAnchoredDialog::OnEraseBkgnd>(),
    On<WM_DESTROY, &CAnchoredDialog::OnDestroy>(),
};
const MessageMap CAnchoredDialog::kMessageMap{&CDialog::kMessageMap, kMessageEntries};

CAnchoredDialog::CAnchoredDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent)
{
}

CAnchoredDialog::~CAnchoredDialog() = default;

void CAnchoredDialog::RememberPlacement(const char* section)
{
    m_placementSection = section;
    m_rememberPlacement = true;
    RestorePlacement(section);
}

// Called when the dialog window is created, before its controls: a top-level dialog
// gets a sizing frame around the template's client area, which becomes its minimum.
int CAnchoredDialog::OnCreate(CREATESTRUCTA&)
{
    if (Default() == -1)
        return -1;
    const auto style = static_cast<std::uint32_t>(GetWindowLongPtrA(m_hWnd, GWL_STYLE));
    const bool topLevel = !(style & WS_CHILD);
    if (topLevel) {
        RECT frame = GetClientRect();
        const std::uint32_t resizable = ResizableStyle(style);
        SetWindowLongPtrA(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(resizable));
        AdjustWindowRectEx(&frame, resizable, IsMenu(GetMenu(m_hWnd)),
                           static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)));
        const int width = frame.right - frame.left;
        const int height = frame.bottom - frame.top;
        SetWindowPos(m_hWnd, nullptr, 0, 0, width, height, kFrameChangeFlags);
        LimitMinimumSize(width, height);
    }
    return InstallGrip(topLevel, true) ? 0 : -1;
}

// Called on every size change: the grip follows the corner and is hidden while the
// dialog is maximised; the anchored children follow the client area.
void CAnchoredDialog::OnSize(UINT type, int, int)
{
    Default();
    const SizeResponse response = RespondToSize(type);
    if (response.grip == GripStep::Show)
        ShowGripFor(m_gripReasons, kNotMaximised);
    else if (response.grip == GripStep::Hide)
        HideGripFor(m_gripReasons, kNotMaximised);
    if (!response.placeAndLayout)
        return;
    PlaceGrip();
    RepositionChildren();
}

// Called when the platform asks for the size limits; only the minimum is ours.
void CAnchoredDialog::OnGetMinMaxInfo(MINMAXINFO& limits)
{
    ApplyTrackLimits(limits);
}

// Called to erase the background: only around the children, to avoid flicker.
bool CAnchoredDialog::OnEraseBkgnd(HDC hdc)
{
    EraseUncoveredBackground(hdc);
    return true;
}

// Called when the dialog is destroyed: the placement is saved before the anchors go.
void CAnchoredDialog::OnDestroy()
{
    if (m_rememberPlacement)
        SavePlacement(m_placementSection.c_str());
    ClearAnchors();
    Default();
}
