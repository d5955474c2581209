#include "ui/RampwiseDlg.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/File.h"
#include "base/TextWin32.h"
#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "lut/DisplayAccess.h"
#include "lut/LutFile.h"
#include "lut/RampOperations.h"
#include "res/resource.h"
#include "ui/AboutDlg.h"

namespace {

constexpr char kPlacementSection[] = "RampwiseDlg";
constexpr char kSourceFilter[] =
    "Supported files (*.icm; *.icc; *.lut; *.cal)|*.icm; *.icc; *.lut; *.cal|LUT Files (*.lut)|*.lut|"
    "Calibration files (*.cal)|*.cal|Color profiles (*.icm; *.icc)|*.icm; *.icc|All Files (*.*)|*.*||";
// A name typed without an ending gets the one of the filter shown, ".lut" under "All Files".
constexpr char kLutFilter[] = "LUT Files (*.lut)|*.lut|Argyll calibration (*.cal)|*.cal|All Files (*.*)|*.*||";

void ShowItemState(CCmdUI& ui, StartupItemState state)
{
    ui.SetCheck(state.checked);
    ui.Enable(state.enabled);
}

} // namespace

const MessageEntry CRampwiseDlg::kMessageEntries[] = {
    On<WM_SYSCOMMAND, &CRampwiseDlg::OnSysCommand>(),
    On<WM_PAINT, &CRampwiseDlg::OnPaint>(),
    On<WM_QUERYDRAGICON, &CRampwiseDlg::OnQueryDragIcon>(),
    On<WM_INITMENUPOPUP, &CRampwiseDlg::OnInitMenuPopup>(),
    On<WM_DPICHANGED, &CRampwiseDlg::OnDpiChanged>(),
};
const MessageMap CRampwiseDlg::kMessageMap{&CAnchoredDialog::kMessageMap, kMessageEntries};

const CommandEntry CRampwiseDlg::kCommandEntries[] = {
    Command<ID_FILE_LOADLUT, &CRampwiseDlg::OnLoadFromFile>(),
    Command<ID_FILE_SAVELUT, &CRampwiseDlg::SaveRamp>(),
    Command<ID_LUT_RELOAD, &CRampwiseDlg::OnReload>(),
    Command<ID_LUT_LOADDEFAULT, &CRampwiseDlg::OnLoadDefault>(),
    Command<ID_LUT_SETLINEAR, &CRampwiseDlg::ApplyLinear>(),
    Command<ID_LUT_SMOOTH, &CRampwiseDlg::ApplySmooth>(),
    Command<ID_STARTUP_FILE_ALL, &CRampwiseDlg::OnSetStartup<StartupEntryKind::File, StartupScope::AllUsers>,
            &CRampwiseDlg::OnUpdateStartupItem<StartupItem::SetFile, StartupScope::AllUsers>>(),
    Command<ID_STARTUP_DEFAULT_ALL, &CRampwiseDlg::OnSetStartup<StartupEntryKind::Default, StartupScope::AllUsers>,
            &CRampwiseDlg::OnUpdateStartupItem<StartupItem::SetDefault, StartupScope::AllUsers>>(),
    Command<ID_STARTUP_DELETE_ALL, &CRampwiseDlg::OnDeleteStartup<StartupScope::AllUsers>,
            &CRampwiseDlg::OnUpdateStartupItem<StartupItem::Delete, StartupScope::AllUsers>>(),
    Command<ID_STARTUP_FILE_USER, &CRampwiseDlg::OnSetStartup<StartupEntryKind::File, StartupScope::CurrentUser>,
            &CRampwiseDlg::OnUpdateStartupItem<StartupItem::SetFile, StartupScope::CurrentUser>>(),
    Command<ID_STARTUP_DEFAULT_USER, &CRampwiseDlg::OnSetStartup<StartupEntryKind::Default, StartupScope::CurrentUser>,
            &CRampwiseDlg::OnUpdateStartupItem<StartupItem::SetDefault, StartupScope::CurrentUser>>(),
    Command<ID_STARTUP_DELETE_USER, &CRampwiseDlg::OnDeleteStartup<StartupScope::CurrentUser>,
            &CRampwiseDlg::OnUpdateStartupItem<StartupItem::Delete, StartupScope::CurrentUser>>(),
    Command<ID_STARTUP_KEEP, &CRampwiseDlg::ToggleKeepLoaded, &CRampwiseDlg::OnUpdateKeepLoaded>(),
    Command<ID_HELP_ABOUT, &CRampwiseDlg::OnAbout>(),
    Command<IDC_REFRESH, &CRampwiseDlg::OnRefreshDisplays>(),
    Notify<IDC_DISPLAYS, CBN_SELCHANGE, &CRampwiseDlg::ReloadRamp>(),
};
const CommandMap CRampwiseDlg::kCommandMap{&CAnchoredDialog::kCommandMap, kCommandEntries};

CRampwiseDlg::CRampwiseDlg(CWnd* parent)
    : CAnchoredDialog(IDD_RAMPWISE_DIALOG, parent),
      m_icon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      m_diagram(&m_ramp),
      m_chooseFile(&ChooseFileWithDialog),
      m_startup(m_startupStore, m_startupApplier, [this](const std::string& line) { AddLogLine("%s", line.c_str()); })
{
    // Shown until the first read of the selected display replaces it.
    SetLinearRamp(m_ramp);
    SetAccelerators(LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME)));
}

CRampwiseDlg::~CRampwiseDlg() = default;

void CRampwiseDlg::DoDataExchange(CDataExchange& dx)
{
    CAnchoredDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_DISPLAYS, m_displays);
    DDX_Control(dx, IDC_DIAGRAM, m_diagram);
    DDX_Control(dx, IDC_LOG, m_log);
}

bool CRampwiseDlg::OnInitDialog()
{
    CAnchoredDialog::OnInitDialog();
    HINSTANCE instance = GetModuleHandleA(nullptr);

    if (HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE)) {
        char about[128] = {};
        if (LoadStringA(instance, IDS_ABOUTBOX, about, sizeof(about)) > 0) {
            AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
            AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
    LoadRefreshIcon(WindowDpi(m_hWnd));

    Resizer().AnchorControl(IDC_DISPLAYS, ANCHOR_NW, ANCHOR_NE);
    Resizer().AnchorControl(IDC_REFRESH, ANCHOR_NE, ANCHOR_NONE);
    Resizer().AnchorControl(IDC_DIAGRAM, ANCHOR_NW, ANCHOR_SE);
    Resizer().AnchorControl(IDC_LOG, ANCHOR_SW, ANCHOR_SE);
    Resizer().RememberPlacement(kPlacementSection);

    AddLogLine("Rampwise 1.0 ready!");
    FillDisplayList();
    ReloadRamp();
    ReportKeepers();
    return true;
}

// Lists every adapter that reports a monitor, by its enumeration index. The list is
// sorted as text; the item data keeps the true index.
bool CRampwiseDlg::FillDisplayList()
{
    const int selected = m_displays.GetCurSel();
    m_displays.ResetContent();
    m_displayTexts.clear();
    for (const DisplayListing& display : ListDisplays()) {
        const std::string text =
            std::to_string(display.index) + ". " + display.adapter + " -> " + display.monitor;
        m_displayTexts[display.index] = text;
        const int position = m_displays.AddString(text.c_str());
        if (position >= 0)
            m_displays.SetItemData(position, static_cast<DWORD_PTR>(display.index));
    }
    if (m_displays.SetCurSel(selected) < 0)
        m_displays.SetCurSel(0);
    return true;
}

int CRampwiseDlg::GetSelectedDisplay() const
{
    const int selected = m_displays.GetCurSel();
    return selected < 0 ? 0 : static_cast<int>(m_displays.GetItemData(selected));
}

std::string CRampwiseDlg::GetSelectedDisplayText() const
{
    return m_displays.WindowText();
}

void CRampwiseDlg::ReloadRamp()
{
    ReadDisplayRamp(GetSelectedDisplay(), m_ramp);
    AddLogLine("* Reloading LUT values from %s.", GetSelectedDisplayText().c_str());
    m_diagram.Invalidate(true);
}

void CRampwiseDlg::OnReload()
{
    ReloadRamp();
    ReportKeepers();
}

// Names each display that a keeper keeps, and what it keeps it on: a command of the
// window hands its ramp to that keeper instead of being undone by it.
void CRampwiseDlg::ReportKeepers()
{
    if (!m_keptSources)
        return;
    for (const auto& [display, source] : m_keptSources()) {
        const auto named = m_displayTexts.find(display);
        const std::string text = named != m_displayTexts.end() ? named->second : std::to_string(display);
        AddLogLine("* %s is kept on %s.", text.c_str(), source.c_str());
    }
}

void CRampwiseDlg::LoadRamp(bool fromProfile)
{
    const int display = GetSelectedDisplay();
    const std::optional<std::string> source = ChooseSource(fromProfile);
    if (!source)
        return;
    const std::string& path = *source;

    SetLinearRamp(m_ramp);
    WriteDisplayRamp(display, m_ramp);
    const char* kind = fromProfile ? "default " : "";
    if (!LoadLutSource(m_ramp, path) || !WriteDisplayRamp(display, m_ramp)) {
        // The display runs on the linear ramp now: show that, and say why.
        SetLinearRamp(m_ramp);
        AddLogLine("ERROR: LUT values could not be loaded from %sfile:", kind);
        AddLogLine("   %s", path.c_str());
        m_diagram.Invalidate(true);
        AfterWrite(display);
        return;
    }
    AddLogLine("* LUT values loaded from %sfile:", kind);
    AddLogLine("   %s", path.c_str());
    m_diagram.Invalidate(true);
    AfterWrite(display);
}

// Called after every command that writes the ramp to a display: says when the display
// did not take it as written, and hands it to the display's keeper, which would
// otherwise soon write its own ramp back.
void CRampwiseDlg::AfterWrite(int display)
{
    const std::optional<RampDifference> difference = CompareDisplayRamp(display, m_ramp);
    if (difference && !difference->Holds())
        AddLogLine("WARNING: %s does not hold the ramp that was written (largest difference %i)",
                   GetSelectedDisplayText().c_str(), difference->largest);
    if (m_handToKeeper && m_handToKeeper(display, m_ramp))
        AddLogLine("* %s is kept on this ramp.", GetSelectedDisplayText().c_str());
}

// The LUT source of the load and startup commands: the selected display's profile
// (empty when it has none), or a LUT file or profile that the user picks; nothing
// when the user cancels.
std::optional<std::string> CRampwiseDlg::ChooseSource(bool displayProfile)
{
    if (displayProfile)
        return GetDisplayProfilePath(GetSelectedDisplay());
    return m_chooseFile(FileRequest{true, nullptr, nullptr, OFN_FILEMUSTEXIST, kSourceFilter}, *this);
}

// Applies the chosen source to the selected display and stores it for every log-on.
// The display has the ramp once it was applied, whether or not the entry could then be
// stored: the diagram shows it, and the after-write steps hand it to the display's
// keeper, which would otherwise put its own back.
void CRampwiseDlg::SetStartupEntry(StartupEntryKind kind, StartupScope scope)
{
    const std::optional<std::string> source = ChooseSource(kind == StartupEntryKind::Default);
    if (!source)
        return;
    const StartupSetResult result = m_startup.Set(scope, kind, SelectedForStartup(), *source, m_ramp);
    if (result == StartupSetResult::NotStored || result == StartupSetResult::Stored) {
        m_diagram.Invalidate(true);
        AfterWrite(GetSelectedDisplay());
    }
}

// The log-on entries keep the display loaded from now on, and so does a keeper
// started at once; unchecked, the display's keeper ends.
void CRampwiseDlg::ToggleKeepLoaded()
{
    const std::optional<KeepToggle> toggled = m_startup.ToggleKeep(SelectedForStartup());
    if (!toggled || !m_switchKeeper || m_switchKeeper(*toggled))
        return;
    AddLogLine(toggled->keeps ? "ERROR: The keeper of %s could not be started." : "ERROR: The keeper of %s did not end.",
               GetSelectedDisplayText().c_str());
}

// Called while the Startup menu opens, for each item of a scope.
void CRampwiseDlg::UpdateStartupItem(CCmdUI& ui, StartupItem item, StartupScope scope)
{
    ShowItemState(ui, m_startup.ItemState(item, scope, GetSelectedDisplay()));
}

// Checked when an entry of the display keeps it loaded; greyed when it has none.
void CRampwiseDlg::OnUpdateKeepLoaded(CCmdUI& ui)
{
    ShowItemState(ui, m_startup.KeepItemState(GetSelectedDisplay()));
}

void CRampwiseDlg::SaveRamp()
{
    // The user may type a new name, and is asked before a file is replaced.
    const std::optional<std::string> chosen = m_chooseFile(
        FileRequest{false, "lut", "*.lut", OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY, kLutFilter},
        *this);
    if (!chosen)
        return;
    bool saved = false;
    try {
        saved = SaveLutFile(m_ramp, *chosen);
    } catch (const CFileException&) {
        // A full disk, say: the log says so like any other failed save.
    }
    AddLogLine(saved ? "* LUT values saved to file:" : "ERROR: LUT values could not be saved to file:");
    AddLogLine("   %s", chosen->c_str());
}

void CRampwiseDlg::ApplyLinear()
{
    SetLinearRamp(m_ramp);
    WriteDisplayRamp(GetSelectedDisplay(), m_ramp);
    AddLogLine("* Setting linear LUT values.");
    m_diagram.Invalidate(true);
    AfterWrite(GetSelectedDisplay());
}

void CRampwiseDlg::ApplySmooth()
{
    SmoothRamp(m_ramp);
    WriteDisplayRamp(GetSelectedDisplay(), m_ramp);
    AddLogLine("* Smoothing LUT values.");
    m_diagram.Invalidate(true);
    AfterWrite(GetSelectedDisplay());
}

void CRampwiseDlg::AddLogLine(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    AddLogLineV(format, args);
    va_end(args);
}

void CRampwiseDlg::AddLogLineV(const char* format, std::va_list args)
{
    if (!m_log.m_hWnd)
        return;
    std::va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0)
        return;
    std::vector<char> line(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(line.data(), line.size(), format, args);
    const int position = m_log.AddString(line.data());
    if (position < 0)
        return;
    m_log.ShowLine(position);
    WidenLog(position);
}

// The log scrolls sideways as far as its widest line reaches, a blank beyond it for the
// margin. From 0 the lines are measured anew (the font changed).
void CRampwiseDlg::WidenLog(int from)
{
    const DeviceContext dc(CreateCompatibleDC(nullptr));
    if (!dc)
        return;
    const SelectGuard font(dc.Get(), reinterpret_cast<HFONT>(SendMessageA(m_log.m_hWnd, WM_GETFONT, 0, 0)));
    m_logExtent = from == 0 ? 0 : m_logExtent;
    for (int i = from; i < m_log.GetCount(); ++i) {
        const std::wstring text = WideFromAnsi(m_log.GetText(i) + ' ');
        SIZE size{};
        if (GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size))
            m_logExtent = std::max(m_logExtent, static_cast<int>(size.cx));
    }
    SendMessageA(m_log.m_hWnd, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(m_logExtent), 0);
}

// Called for the system menu's commands: the About item is ours.
LRESULT CRampwiseDlg::OnSysCommand(WPARAM command, LPARAM)
{
    if ((command & 0xFFF0) == IDM_ABOUTBOX) {
        OnAbout();
        return 0;
    }
    return Default();
}

// Called to paint the window: minimised, the icon is drawn centred.
LRESULT CRampwiseDlg::OnPaint(WPARAM, LPARAM)
{
    if (!IsIconic(m_hWnd))
        return Default();
    PaintScope paint(m_hWnd);
    SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Get()), 0);
    const int cx = GetSystemMetrics(SM_CXICON);
    const int cy = GetSystemMetrics(SM_CYICON);
    const RECT client = GetClientRect();
    const int x = (client.right - client.left - cx + 1) / 2;
    const int y = (client.bottom - client.top - cy + 1) / 2;
    DrawIcon(paint.Get(), x, y, m_icon);
    return 0;
}

// Called for the icon shown while the minimised window is dragged.
LRESULT CRampwiseDlg::OnQueryDragIcon(WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>(m_icon);
}

// Called when a pop-up menu is about to open: its items ask for their state.
LRESULT CRampwiseDlg::OnInitMenuPopup(WPARAM menu, LPARAM)
{
    UpdateMenuPopup(*this, reinterpret_cast<HMENU>(menu));
    return 0;
}

// Called when the window's DPI changes: the layout scales, and the refresh button's
// icon is loaded again at its size for the new DPI.
void CRampwiseDlg::OnDpiChanged(UINT dpi, const RECT& suggested)
{
    CAnchoredDialog::OnDpiChanged(dpi, suggested);
    LoadRefreshIcon(dpi);
    WidenLog(0);
}

// The refresh button is small: the icon at the small-icon size of this DPI, drawn from
// the icon's own image of that size where it has one.
void CRampwiseDlg::LoadRefreshIcon(UINT dpi)
{
    Icon icon(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_REFRESH), IMAGE_ICON,
                                            MetricForDpi(SM_CXSMICON, dpi), MetricForDpi(SM_CYSMICON, dpi), 0)));
    if (!icon)
        return;
    SendDlgItemMessageA(m_hWnd, IDC_REFRESH, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.Get()));
    m_refreshIcon = std::move(icon);  // the button no longer shows the previous one
}

void CRampwiseDlg::OnRefreshDisplays()
{
    FillDisplayList();
    OnReload();
}

void CRampwiseDlg::OnAbout()
{
    CAboutDlg about;
    about.DoModal();
}
