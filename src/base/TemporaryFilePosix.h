#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

#include "base/FileDescriptor.h"

// A new file under a fresh temporary name (see TemporaryFileName) in the folder of its
// target, there to be written whole and then put in the target's place, so that the
// target shows either its old content or the new. Removed when the holder goes away
// unless it has taken the target's place.
class TemporaryFile {
public:
    // target is a path relative to folder, a descriptor of an open folder or
    // AT_FDCWD. The file gets mode less the umask. A name that exists in any form, a
    // symbolic link planted by someone else included, is never opened.
    TemporaryFile(int folder, std::string target, mode_t mode);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // False (errno says why) when no new file could be made.
    explicit operator bool() const { return static_cast<bool>(m_file); }
    int Descriptor() const { return m_file.Get(); }
    // See WriteWholeFile.
    bool Write(const void* data, std::size_t size, const std::string& userName);
    // Moves the written file over the target. False (errno says why) when it cannot.
    bool MoveOverTarget();

private:
    int m_folder;
    std::string m_target;
    std::string m_name;
    FileDescriptor m_file;
};

// Writes the bytes through the open file from where it stands, puts them on the disk
// and closes it. A write error raises CFileException naming userName, the name the
// user knows. False (errno says why) when no stream could be made for the file.
bool WriteWholeFile(FileDescriptor file, const std::string& userName, const void* data, std::size_t size);
