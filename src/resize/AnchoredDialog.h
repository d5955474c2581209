#pragma once

#include <cstdint>
#include <string>

#include "framework/Dialog.h"
#include "resize/AnchorLayout.h"
#include "resize/GripHost.h"
#include "resize/PlacementStore.h"
#include "resize/TrackLimits.h"

// A dialog from a fixed template made resizable: a sizing frame, anchored children,
// a size grip, the template's size as the minimum, and optionally the placement
// remembered between runs.
class CAnchoredDialog : public CDialog,
                        public CAnchorLayout,
                        public CGripHost,
                        public CTrackLimits,
                        public CPlacementStore {
public:
    explicit CAnchoredDialog(UINT templateId, CWnd* parent = nullptr);
    ~CAnchoredDialog() override;

    // Saves the placement under this section when the dialog is destroyed, and
    // restores what was saved there now.
    void RememberPlacement(const char* section);

    std::uint32_t GripReasons() const { return m_gripReasons; }

protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    CWnd& GetHostWindow() override { return *this; }

    int OnCreate(CREATESTRUCTA& create);
    void OnSize(UINT type, int cx, int cy);
    void OnGetMinMaxInfo(MINMAXINFO& limits);
    bool OnEraseBkgnd(HDC hdc);
    void OnDestroy();

    static const MessageEntry kMessageEntries[];
    static const MessageMap kMessageMap;

private:
    // Bit 1: the dialog is not maximised, a reason to show the grip.
    std::uint32_t m_gripReasons = 1;
    bool m_rememberPlacement = false;
    std::string m_placementSection;
};
