#pragma once

#include "framework/Wnd.h"

// A scroll-bar control, the size-grip kind included.
class CScrollBar : public CWnd {
};
