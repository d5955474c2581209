#include "base/FileReplace.h"

#include <windows.h>

bool ReplaceFileWith(const std::string& finishedPath, const std::string& targetPath)
{
    // A plain rename refuses an existing target on Windows.
    return MoveFileExA(finishedPath.c_str(), targetPath.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
