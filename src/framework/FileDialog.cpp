#include "framework/FileDialog.h"

#include <commdlg.h>

#include <vector>

namespace {

// "a|b|c|d||" becomes "a\0b\0c\0d\0\0", the form the dialog reads.
std::vector<char> DialogFilter(const char* filter)
{
    std::vector<char> converted;
    for (const char* p = filter ? filter : ""; *p; ++p)
        converted.push_back(*p == '|' ? '\0' : *p);
    converted.push_back('\0');
    converted.push_back('\0');
    return converted;
}

} // namespace

CFileDialog::CFileDialog(const FileRequest& request, CWnd* owner) : m_request(request), m_owner(owner)
{
}

INT_PTR CFileDialog::DoModal()
{
    std::vector<char> filter = DialogFilter(m_request.filter);
    char path[MAX_PATH * 4] = {};
    if (m_request.initialName)
        lstrcpynA(path, m_request.initialName, sizeof(path));

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = m_owner ? m_owner->m_hWnd : nullptr;
    dialog.lpstrFilter = filter.data();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof(path);
    dialog.lpstrDefExt = m_request.defaultExtension;
    dialog.Flags = m_request.flags | OFN_EXPLORER;
    const BOOL confirmed = m_request.open ? GetOpenFileNameA(&dialog) : GetSaveFileNameA(&dialog);
    if (!confirmed)
        return IDCANCEL;
    m_path = path;
    return IDOK;
}

std::optional<std::string> ChooseFileWithDialog(const FileRequest& request, CWnd& owner)
{
    CFileDialog dialog(request, &owner);
    if (dialog.DoModal() != IDOK)
        return std::nullopt;
    return dialog.GetPathName();
}
