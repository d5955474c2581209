#include "base/FileReplace.h"

#include <cstdio>

bool ReplaceFileWith(const std::string& finishedPath, const std::string& targetPath)
{
    return std::rename(finishedPath.c_str(), targetPath.c_str()) == 0;
}
