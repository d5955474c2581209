#include "resize/ChildClassRules.h"

#include <array>

namespace {

constexpr std::string_view kButtonClass = "Button";
constexpr std::string_view kStaticClass = "Static";
constexpr std::string_view kListBoxClass = "ListBox";
constexpr std::string_view kToolbarClass = "ToolbarWindow32";

enum class StaticClip : std::uint8_t {
    Allow,
    Deny,
    UnlessCentered,  // an image centred in a larger control leaves a gap that it doesn't paint
};

enum class StaticRepaint : std::uint8_t {
    Never,
    Always,
    Text,          // wrapped or aligned text reflows with the width, a centred image with both sizes
    EllipsisText,  // unwrapped text only reflows when it is cut with an ellipsis
};

struct StaticRule {
    StaticClip clip;
    StaticRepaint repaint;
};

// Indexed by the static type (style & SS_TYPEMASK).
constexpr std::array<StaticRule, 32> kStaticRules = [] {
    using C = StaticClip;
    using R = StaticRepaint;
    std::array<StaticRule, 32> rules{};
    rules.fill({C::Deny, R::Never});  // 19 to 31: the etched frame and unknown types
    rules[0x00] = {C::Allow, R::Text};           // SS_LEFT
    rules[0x01] = {C::Allow, R::Text};           // SS_CENTER
    rules[0x02] = {C::Allow, R::Text};           // SS_RIGHT
    rules[0x03] = {C::UnlessCentered, R::Always};  // SS_ICON
    rules[0x04] = {C::Allow, R::Never};          // SS_BLACKRECT
    rules[0x05] = {C::Allow, R::Never};          // SS_GRAYRECT
    rules[0x06] = {C::Allow, R::Never};          // SS_WHITERECT
    rules[0x07] = {C::Deny, R::Always};          // SS_BLACKFRAME
    rules[0x08] = {C::Deny, R::Always};          // SS_GRAYFRAME
    rules[0x09] = {C::Deny, R::Always};          // SS_WHITEFRAME
    rules[0x0A] = {C::Deny, R::Never};           // SS_USERITEM
    rules[0x0B] = {C::Allow, R::Never};          // SS_SIMPLE
    rules[0x0C] = {C::Allow, R::EllipsisText};   // SS_LEFTNOWORDWRAP
    rules[0x0D] = {C::Deny, R::Never};           // SS_OWNERDRAW
    rules[0x0E] = {C::Allow, R::Always};         // SS_BITMAP
    rules[0x0F] = {C::UnlessCentered, R::Always};  // SS_ENHMETAFILE
    rules[0x10] = {C::Allow, R::Never};          // SS_ETCHEDHORZ
    rules[0x11] = {C::Allow, R::Never};          // SS_ETCHEDVERT
    rules[0x12] = {C::Deny, R::Always};          // SS_ETCHEDFRAME
    return rules;
}();

const StaticRule& StaticRuleOf(std::uint32_t style)
{
    return kStaticRules[style & kStyleStaticTypeMask];
}

bool Has(std::uint32_t style, std::uint32_t bits)
{
    return (style & bits) != 0;
}

// 64 bits: the difference of two 32-bit sizes always fits.
std::int64_t WidthChange(const LayoutRect& oldRect, const LayoutRect& newRect)
{
    return std::int64_t{newRect.Width()} - oldRect.Width();
}

} // namespace

bool ClippingAsksHitTest(std::string_view className, std::uint32_t style)
{
    return className == kButtonClass && (style & kStyleButtonTypeMask) == kStyleOwnerDrawButton;
}

// Class names compare whole and case-sensitively: "STATIC" gets the answer of an
// unknown class.
bool ChildAllowsClipping(std::string_view className, std::uint32_t style, bool transparentToHitTest)
{
    if (className == kToolbarClass)
        return !Has(style, kStyleToolbarTransparent);
    if (className == kButtonClass) {
        const std::uint32_t type = style & kStyleButtonTypeMask;
        if (type == kStyleGroupBox)
            return false;
        if (type == kStyleOwnerDrawButton)
            return !transparentToHitTest;
        return true;
    }
    if (className == kStaticClass) {
        switch (StaticRuleOf(style).clip) {
        case StaticClip::Allow: return true;
        case StaticClip::Deny: return false;
        case StaticClip::UnlessCentered: return !Has(style, kStyleCenterImage);
        }
    }
    return true;
}

bool RepaintReadsScroll(std::string_view className, const LayoutRect& oldRect, const LayoutRect& newRect)
{
    return className == kListBoxClass && WidthChange(oldRect, newRect) > 0;
}

bool ChildNeedsRepaint(std::string_view className, std::uint32_t style, const LayoutRect& oldRect,
                       const LayoutRect& newRect, const std::optional<ListBoxScroll>& scroll)
{
    const std::int64_t dw = WidthChange(oldRect, newRect);
    const std::int64_t dh = std::int64_t{newRect.Height()} - oldRect.Height();
    if (dw == 0 && dh == 0)
        return false;

    bool result = false;
    if (className == kStaticClass) {
        const bool centered = Has(style, kStyleCenterImage);
        switch (StaticRuleOf(style).repaint) {
        case StaticRepaint::Never: break;
        case StaticRepaint::Always: result = true; break;
        case StaticRepaint::Text: result = dw != 0 || (centered && dh != 0); break;
        case StaticRepaint::EllipsisText:
            result = (Has(style, kStyleEllipsisMask) && dw != 0) || (centered && dh != 0);
            break;
        }
    }

    // A list box scrolled to the right that grows past the end of its horizontal range
    // scrolls its content back, so the pixels it had are stale.
    if (className == kListBoxClass && dw > 0 && scroll) {
        const auto m = static_cast<std::int32_t>(static_cast<std::uint32_t>(scroll->max) - scroll->page + 1u);
        if (m > 0 && scroll->pos + dw > m)
            result = true;
    }
    return result;
}
