#pragma once

// Whether the display at the index (numbered as the display access numbers them) is
// in HDR mode now; false when Windows cannot tell (before Windows 10, under Wine).
// Asks afresh on every call and logs nothing.
bool DisplayInHdrMode(int displayIndex);
