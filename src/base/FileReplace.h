#pragma once

#include <string>

// Moves a finished file over its target in one step, replacing the target if it
// exists. False when the platform refuses; the target is then unchanged.
bool ReplaceFileWith(const std::string& finishedPath, const std::string& targetPath);
