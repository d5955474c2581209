#include "diagram/LUTDiagram.h"

#include "diagram/DiagramGeometry.h"
#include "diagram/DrawDiagram.h"

const MessageEntry CLUTDiagram::kMessageEntries[] = {
    On<WM_SIZE, &CLUTDiagram::OnSize>(),
};
const MessageMap CLUTDiagram::kMessageMap{&CStatic::kMessageMap, kMessageEntries};

// Called by the parent's WM_DRAWITEM. Only the device context of the request is used,
// and it stays the caller's; the control measures its own client area.
void CLUTDiagram::DrawItem(DRAWITEMSTRUCT& item)
{
    const RECT client = GetClientRect();
    DrawDiagram(item.hDC, ComputeDiagramGeometry(client.right - client.left, client.bottom - client.top, *m_ramp));
}

// Called on every size change: the whole picture depends on the size.
void CLUTDiagram::OnSize(UINT, int, int)
{
    Invalidate(true);
}
