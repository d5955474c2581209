#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Makes the bytes the whole content of the file at path (in the process code page).
// The old content is replaced only once the new one is complete, through a
// temporary file beside it; a symbolic link keeps pointing where it did and the file
// there gets the content; the old file's permissions are kept. Where only the file,
// not its folder, may be written, the file is written in place instead. False, with
// nothing changed and no file left behind, when the file is read-only, not a plain
// file, or cannot be created; a write error raises CFileException naming path.
bool ReplaceFileContent(const std::string& path, const void* data, std::size_t size);

// A short name, unlikely to exist, for the temporary file beside a target: ".~rw" and
// eight hexadecimal digits. It does not grow with the target's name, so it fits
// wherever that name does.
std::string TemporaryFileName();
// Whether the name is one that TemporaryFileName makes.
bool IsTemporaryFileName(std::string_view name);
