#pragma once

#include <cstdarg>
#include <string>

#include "base/Log.h"
#include "diagram/LUTDiagram.h"
#include "framework/CmdUI.h"
#include "framework/Controls.h"
#include "framework/FileDialog.h"
#include "framework/Handles.h"
#include "lut/GammaRamp.h"
#include "resize/AnchoredDialog.h"

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

    void SetStartupEntry(bool useDefault, bool allUsers);
    void DeleteStartupEntry(bool allUsers);
    // Adds "/keep" to the selected display's entries, or removes it when one has it.
    void ToggleKeepLoaded();
    std::string GetStartupValueName() const;

    void AddLogLine(const char* format, ...) RAMPWISE_PRINTF_FORMAT(2, 3);
    void AddLogLineV(const char* format, std::va_list args);

    // Who answers the file dialogs: the platform's dialog, or a test.
    void SetFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }
    // Who takes a ramp that a command wrote to a display, so that it is not undone:
    // the display's keeper, when it has one (true then).
    using KeeperHandoff = bool (*)(int displayIndex, const GammaRamp& ramp);
    void SetKeeperHandoff(KeeperHandoff handoff) { m_handToKeeper = handoff; }
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
    void OnRefreshDisplays();
    void OnAbout();
    void OnSetFileAllUsers() { SetStartupEntry(false, true); }
    void OnSetDefaultAllUsers() { SetStartupEntry(true, true); }
    void OnDeleteAllUsers() { DeleteStartupEntry(true); }
    void OnSetFileCurrentUser() { SetStartupEntry(false, false); }
    void OnSetDefaultCurrentUser() { SetStartupEntry(true, false); }
    void OnDeleteCurrentUser() { DeleteStartupEntry(false); }

    void OnUpdateSetFileAllUsers(CCmdUI& ui);
    void OnUpdateSetDefaultAllUsers(CCmdUI& ui);
    void OnUpdateDeleteAllUsers(CCmdUI& ui);
    void OnUpdateSetFileCurrentUser(CCmdUI& ui);
    void OnUpdateSetDefaultCurrentUser(CCmdUI& ui);
    void OnUpdateKeepLoaded(CCmdUI& ui);

    static const MessageEntry kMessageEntries[];
    static const MessageMap kMessageMap;
    static const CommandEntry kCommandEntries[];
    static const CommandMap kCommandMap;

private:
    std::optional<std::string> ChooseSource(bool displayProfile);
    void AfterWrite(int display);
    void LoadRefreshIcon(UINT dpi);

    HICON m_icon;
    Icon m_refreshIcon;
    CListBox m_log;
    CLUTDiagram m_diagram;
    CComboBox m_displays;
    GammaRamp m_ramp;
    FileChooser m_chooseFile;
    KeeperHandoff m_handToKeeper = nullptr;
};
