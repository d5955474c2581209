// The Startup menu of the main dialog: autostart entries that apply a LUT to the
// selected display at every log-on.

#include "ui/RampwiseDlg.h"

#include "base/LaunchArguments.h"
#include "lut/DisplayAccess.h"
#include "lut/LutFile.h"
#include "ui/StartupRegistry.h"

namespace {

StartupScope ScopeOf(bool allUsers)
{
    return allUsers ? StartupScope::AllUsers : StartupScope::CurrentUser;
}

} // namespace

std::string CRampwiseDlg::GetStartupValueName() const
{
    return StartupValueName(GetSelectedDisplay());
}

// Applies the source to the selected display now and stores it for every log-on. A
// default entry applies the display's profile now, but stores the keyword. A command
// that could not be stored unharmed is refused before anything is applied.
void CRampwiseDlg::SetStartupEntry(bool useDefault, bool allUsers)
{
    const int display = GetSelectedDisplay();
    const std::optional<std::string> chosen = ChooseSource(useDefault);
    if (!chosen)
        return;
    const std::string& source = *chosen;
    const StartupScope scope = ScopeOf(allUsers);
    const std::optional<std::string> program = ProgramPathForStartupEntry();
    const std::optional<std::string> command =
        program ? FormatStartupCommand(*program, useDefault ? std::string(kDefaultProfileKeyword) : source, display)
                : std::nullopt;
    if (!command) {
        AddLogLine("%s", StartupSetError(scope, kStartupPathNotRepresentable).c_str());
        return;
    }
    if (!LoadLutSource(m_ramp, source) || !WriteDisplayRamp(display, m_ramp)) {
        AddLogLine("ERROR: Startup LUT could not be loaded from file:");
        AddLogLine("   %s", source.c_str());
        return;
    }
    m_diagram.Invalidate(true);

    const LONG status = WriteStartupEntry(scope, GetStartupValueName(), *command);
    if (status != ERROR_SUCCESS) {
        AddLogLine("%s", StartupSetError(scope, status).c_str());
        return;
    }
    AddLogLine("%s", StartupSetHeading(scope).c_str());
    AddLogLine("   %s", GetSelectedDisplayText().c_str());
    AddLogLine("   %s", source.c_str());
}

void CRampwiseDlg::DeleteStartupEntry(bool allUsers)
{
    const StartupScope scope = ScopeOf(allUsers);
    const LONG status = ::DeleteStartupEntry(scope, GetStartupValueName());
    if (status != ERROR_SUCCESS) {
        AddLogLine("%s", StartupDeleteError(scope, status).c_str());
        return;
    }
    AddLogLine("%s", StartupDeletedHeading(scope).c_str());
    AddLogLine("   %s", GetSelectedDisplayText().c_str());
}

// The Startup items show which kind of entry each scope holds for the selected
// display; the all-users items are usable only when that key can be written.
void CRampwiseDlg::OnUpdateSetFileAllUsers(CCmdUI& ui)
{
    ui.SetCheck(ReadStartupEntryKind(StartupScope::AllUsers, GetStartupValueName()) == StartupEntryKind::File);
    ui.Enable(CanWriteStartupEntries(StartupScope::AllUsers));
}

void CRampwiseDlg::OnUpdateSetDefaultAllUsers(CCmdUI& ui)
{
    ui.SetCheck(ReadStartupEntryKind(StartupScope::AllUsers, GetStartupValueName()) == StartupEntryKind::Default);
    ui.Enable(CanWriteStartupEntries(StartupScope::AllUsers));
}

void CRampwiseDlg::OnUpdateDeleteAllUsers(CCmdUI& ui)
{
    ui.Enable(CanWriteStartupEntries(StartupScope::AllUsers));
}

void CRampwiseDlg::OnUpdateSetFileCurrentUser(CCmdUI& ui)
{
    ui.SetCheck(ReadStartupEntryKind(StartupScope::CurrentUser, GetStartupValueName()) == StartupEntryKind::File);
}

void CRampwiseDlg::OnUpdateSetDefaultCurrentUser(CCmdUI& ui)
{
    ui.SetCheck(ReadStartupEntryKind(StartupScope::CurrentUser, GetStartupValueName()) == StartupEntryKind::Default);
}
