#pragma once

#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <optional>
#include <string>

#include "framework/Wnd.h"

// What a command asks of the standard open or save dialog.
struct FileRequest {
    bool open = true;
    const char* defaultExtension = nullptr;  // none when null
    const char* initialName = nullptr;       // none when null
    DWORD flags = 0;                         // OFN_* flags
    const char* filter = "";                 // pairs of description and pattern, '|'-separated, ending "||"
};

// The platform's open or save dialog.
class CFileDialog {
public:
    CFileDialog(const FileRequest& request, CWnd* owner);

    // IDOK when the user confirmed a file, IDCANCEL otherwise.
    INT_PTR DoModal();
    const std::string& GetPathName() const { return m_path; }

private:
    FileRequest m_request;
    CWnd* m_owner;
    std::string m_path;
};

// Answers a file request: the chosen path, or nothing when the user cancelled. The
// program shows the dialog; tests answer for the user.
using FileChooser = std::function<std::optional<std::string>(const FileRequest& request, CWnd& owner)>;

std::optional<std::string> ChooseFileWithDialog(const FileRequest& request, CWnd& owner);
