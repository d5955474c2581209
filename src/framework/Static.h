#pragma once

#include "framework/Wnd.h"

// A static text control; an owner-drawn one draws itself through DrawItem.
class CStatic : public CWnd {
};
