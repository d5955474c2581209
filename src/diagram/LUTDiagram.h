#pragma once

#include "framework/Static.h"
#include "lut/GammaRamp.h"

// The owner-drawn control that shows a ramp as three curves over a grid, with a grey
// bar at its right edge. It keeps nothing but the ramp it shows, which its owner
// changes and then invalidates the control; every paint measures and draws afresh.
class CLUTDiagram : public CStatic {
public:
    explicit CLUTDiagram(const GammaRamp* ramp) : m_ramp(ramp) {}

    void DrawItem(DRAWITEMSTRUCT& item) override;

protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }

    void OnSize(UINT type, int cx, int cy);

    static const MessageEntry kMessageEntries[];
    static const MessageMap kMessageMap;

private:
    const GammaRamp* const m_ramp;
};
