#pragma once

#include <windows.h>

#include "diagram/DiagramGeometry.h"

// Draws the diagram's primitives into the device context in their order: plot
// background, grid, red, green and blue curves, shade bar. The background is filled
// with the context's current brush. Pens live for this one call; the pen selected on
// entry is selected again on return. Raises std::runtime_error when a pen cannot be
// created, after releasing the pens made so far.
void DrawDiagram(HDC hdc, const DiagramGeometry& geometry);
