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

    // An entry that kept its display loaded goes on doing so with its new source.
    const bool keep = StartupEntryKeeps(ReadStartupEntry(scope, GetStartupValueName()));
    const LONG status = WriteStartupEntry(scope, GetStartupValueName(), WithKeepSwitch(*command, keep));
    if (status != ERROR_SUCCESS) {
        AddLogLine("%s", StartupSetError(scope, status).c_str());
        return;
    }
    AddLogLine("%s", StartupSetHeading(scope).c_str());
    AddLogLine("   %s", GetSelectedDisplayText().c_str());
    AddLogLine("   %s", source.c_str());
    AfterWrite(display);
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

// Both scopes' entries of the selected display follow the one check item: it is set
// when either entry keeps. An entry that does not exist is not made.
void CRampwiseDlg::ToggleKeepLoaded()
{
    const std::string name = GetStartupValueName();
    const StartupScope scopes[] = {StartupScope::AllUsers, StartupScope::CurrentUser};
    bool keeps = false;
    for (const StartupScope scope : scopes)
        keeps = keeps || StartupEntryKeeps(ReadStartupEntry(scope, name));
    for (const StartupScope scope : scopes) {
        const std::string entry = ReadStartupEntry(scope, name);
        if (entry.empty() || StartupEntryKeeps(entry) != keeps)
            continue;
        const LONG status = WriteStartupEntry(scope, name, WithKeepSwitch(entry, !keeps));
        if (status != ERROR_SUCCESS) {
            AddLogLine("%s", StartupSetError(scope, status).c_str());
            continue;
        }
        AddLogLine("%s", StartupKeepHeading(scope, !keeps).c_str());
        AddLogLine("   %s", GetSelectedDisplayText().c_str());
    }
}

void CRampwiseDlg::OnUpdateKeepLoaded(CCmdUI& ui)
{
    const std::string name = GetStartupValueName();
    const std::string all = ReadStartupEntry(StartupScope::AllUsers, name);
    const std::string user = ReadStartupEntry(StartupScope::CurrentUser, name);
    ui.SetCheck(StartupEntryKeeps(all) || StartupEntryKeeps(user));
    ui.Enable(!all.empty() || !user.empty());
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
