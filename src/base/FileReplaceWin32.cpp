#include "base/FileReplace.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <optional>
#include <utility>

#include "base/File.h"
#include "base/TextWin32.h"
#include "base/WinHandles.h"

namespace {

constexpr int kNameAttempts = 100;

// The full path in the form without the MAX_PATH limit, so that the temporary file
// beside a target of almost that length can still be made. Empty for a device name.
std::wstring LongPathOf(const std::wstring& path)
{
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(needed, L'\0');
    const DWORD length = needed == 0 ? 0 : GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return {};
    full.resize(length);
    if (full.rfind(L"\\\\?\\", 0) == 0)
        return full;
    if (full.rfind(L"\\\\.\\", 0) == 0)
        return {};
    if (full.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// The file as the system finally finds it, past any link; empty when it cannot be found.
std::wstring FinalPathOf(const std::wstring& path)
{
    const FileHandle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {};
    std::wstring final(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file.Get(), final.data(), static_cast<DWORD>(final.size()), VOLUME_NAME_DOS);
    if (length >= final.size()) {
        final.resize(length);
        length = GetFinalPathNameByHandleW(file.Get(), final.data(), static_cast<DWORD>(final.size()), VOLUME_NAME_DOS);
    }
    final.resize(length < final.size() ? length : 0);
    return final;
}

// The temporary file beside the target, deleted when the object goes away unless it
// has taken the target's place. It must be closed by then.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile()
    {
        if (!m_path.empty())
            DeleteFileW(m_path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Creates a new file beside target; a name that exists in any form, a link
    // included, is never opened.
    FileHandle Create(const std::wstring& target)
    {
        const std::wstring folder = target.substr(0, target.rfind(L'\\') + 1);
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            const std::string name = TemporaryFileName();
            const std::wstring path = folder + std::wstring(name.begin(), name.end());
            FileHandle file(
                CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file) {
                m_path = path;
                return file;
            }
            if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
                break;
        }
        return {};
    }
    const std::wstring& Path() const { return m_path; }
    void Keep() { m_path.clear(); }

private:
    std::wstring m_path;
};

// Writes the bytes through a handle that the file takes over, by the C runtime so
// that errors carry the same codes as any other file error; raises with the name the
// user knows. False when no stream could be made.
bool WriteThrough(FileHandle handle, const std::string& userPath, const void* data, std::size_t size)
{
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle.Get()), _O_WRONLY | _O_BINARY);
    if (fd < 0)
        return false;
    handle.Release();  // the descriptor owns it now
    std::FILE* stream = _fdopen(fd, "wb");
    if (!stream) {
        _close(fd);
        return false;
    }
    CFile file;
    file.Attach(stream, userPath);
    file.Write(data, size);
    file.Close();
    return true;
}

} // namespace

bool ReplaceFileContent(const std::string& path, const void* data, std::size_t size)
{
    // The process code page, whichever it is; a name that is no text in it is refused.
    const std::optional<std::wstring> wide = ExactWideFromAnsi(path);
    std::wstring target = wide && !wide->empty() ? LongPathOf(*wide) : std::wstring();
    if (target.empty())
        return false;
    DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND)
        return false;
    if (exists) {
        // Replace the file a link leads to. Wine shows a Unix link as a plain file,
        // and replacing it by that name loses the file it leads to.
        const std::wstring final = FinalPathOf(target);
        if (final.empty() && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
            return false;
        if (!final.empty())
            target = final;
        attributes = GetFileAttributesW(target.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return false;
    }
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return false;

    {
        TemporaryFile temporary;
        if (FileHandle file = temporary.Create(target)) {
            if (!WriteThrough(std::move(file), path, data, size))
                return false;
            // Replacing keeps the old file's attributes and security descriptor.
            bool moved = exists && ReplaceFileW(target.c_str(), temporary.Path().c_str(), nullptr,
                                                REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0;
            // Replacing can fail after the old file has gone. A new file takes the
            // name here too; if that fails, the content lives on only in the
            // temporary file, which then stays.
            if (!moved && GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES) {
                moved = MoveFileExW(temporary.Path().c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
                if (!moved && exists) {
                    temporary.Keep();
                    return false;
                }
            }
            if (moved) {
                temporary.Keep();
                return true;
            }
        }
        if (!exists)
            return false;
    }
    // The folder takes no new file, or does not let this user replace the file, but
    // the file itself may be written: write it in place, as a plain save would. A
    // failed write then leaves it damaged.
    FileHandle file(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, TRUNCATE_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteThrough(std::move(file), path, data, size);
}
