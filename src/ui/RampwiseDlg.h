#pragma once

#include <cstdarg>
#include <map>
#include <string>

#include "base/Log.h"
#include "diagram/LUTDiagram.h"
#include "framework/CmdUI.h"
#include "framework/Controls.h"
#include "framework/FileDialog.h"
#include "framework/Handles.h"
#include "lut/GammaRamp.h"
#include "resize/AnchoredDialog.h"
#include "ui/DisplayStartupApplier.h"
#include "ui/StartupCommands.h"
#include "ui/StartupRegistry.h"

// The main window: the display list, the diagram of the selected display's ramp, the
// message log, and the commands that change the ramp. Every change is written to the
// selected display at once.
class CRampwiseDlg : public CAnchoredDialog {
public:
    explicit CRampwiseDlg(CWnd* parent = nullptr);
    ~CRampwiseDlg() override;

    bool FillDisplayList();
    int GetSelectedDisplay() const;
    std::string GetSelectedDisplayText() const;

    void ReloadRamp();
    void LoadRamp(bool fromProfile);
    void SaveRamp();
    void ApplyLinear();
    void ApplySmooth();

    void SetStartupEntry(StartupEntryKind kind, StartupScope scope);
    void DeleteStartupEntry(StartupScope scope) { m_startup.Delete(scope, SelectedForStartup()); }
    void ToggleKeepLoaded();

    void AddLogLine(const char* format, ...) RAMPWISE_PRINTF_FORMAT(2, 3);
    void AddLogLineV(const char* format, std::va_list args);

    // Who answers the file dialogs: the platform's dialog, or a test.
    void SetFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }
    // Who takes a ramp that a command wrote to a display, so that it is not undone:
    // the display's keeper, when it has one (true then).
    using KeeperHandoff = bool (*)(int displayIndex, const GammaRamp& ramp);
    void SetKeeperHandoff(KeeperHandoff handoff) { m_handToKeeper = handoff; }
    // Who starts the keeper of a display with its entry's source when Keep loaded is
    // checked, and ends it when it is unchecked: true when done.
    using KeeperSwitch = bool (*)(const KeepToggle& toggle);
    void SetKeeperSwitch(KeeperSwitch keeperSwitch) { m_switchKeeper = keeperSwitch; }
    // Who tells, by display number, the source that the display's keeper keeps.
    using KeptSources = std::map<int, std::string> (*)();
    void SetKeptSources(KeptSources keptSources) { m_keptSources = keptSources; }
    const GammaRamp& Ramp() const { return m_ramp; }
    const CListBox& Log() const { return m_log; }

protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    const CommandMap* GetCommandMap() const override { return &kCommandMap; }
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;

    LRESULT OnSysCommand(WPARAM command, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    LRESULT OnInitMenuPopup(WPARAM menu, LPARAM);
    void OnDpiChanged(UINT dpi, const RECT& suggested);

    void OnLoadFromFile() { LoadRamp(false); }
    void OnLoadDefault() { LoadRamp(true); }
    void OnReload();
    void OnRefreshDisplays();
    void OnAbout();
    // The Startup items, each told its scope and kind by the command table.
    template <StartupEntryKind Kind, StartupScope Scope>
    void OnSetStartup() { SetStartupEntry(Kind, Scope); }
    template <StartupScope Scope>
    void OnDeleteStartup() { DeleteStartupEntry(Scope); }
    template <StartupItem Item, StartupScope Scope>
    void OnUpdateStartupItem(CCmdUI& ui) { UpdateStartupItem(ui, Item, Scope); }
    void OnUpdateKeepLoaded(CCmdUI& ui);

    static const MessageEntry kMessageEntries[];
    static const MessageMap kMessageMap;
    static const CommandEntry kCommandEntries[];
    static const CommandMap kCommandMap;

private:
    std::optional<std::string> ChooseSource(bool displayProfile);
    void AfterWrite(int display);
    void LoadRefreshIcon(UINT dpi);
    void ReportKeepers();
    void WidenLog(int from);
    StartupDisplay SelectedForStartup() const { return {GetSelectedDisplay(), GetSelectedDisplayText()}; }
    void UpdateStartupItem(CCmdUI& ui, StartupItem item, StartupScope scope);

    HICON m_icon;
    Icon m_refreshIcon;
    CListBox m_log;
    CLUTDiagram m_diagram;
    CComboBox m_displays;
    GammaRamp m_ramp;
    FileChooser m_chooseFile;
    KeeperHandoff m_handToKeeper = nullptr;
    KeeperSwitch m_switchKeeper = nullptr;
    KeptSources m_keptSources = nullptr;
    int m_logExtent = 0;
    std::map<int, std::string> m_displayTexts;  // as the list names each display
    RegistryStartupStore m_startupStore;
    DisplayStartupApplier m_startupApplier;
    StartupCommands m_startup;
};
