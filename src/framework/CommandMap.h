#pragma once

#include <windows.h>

#include <cstddef>
#include <span>
#include <type_traits>

#include "framework/MemberOf.h"

class CWnd;
class CCmdUI;

// One line of a class's command table: a command id (menu item, accelerator or
// button click), or a control notification, with its handler and the update handler
// that sets the menu item's state.
using CommandThunk = void (*)(CWnd& window);
using UpdateThunk = void (*)(CWnd& window, CCmdUI& ui);

struct CommandEntry {
    UINT id;
    UINT notifyCode;  // 0 for commands; the notification code for control notifications
    CommandThunk command;
    UpdateThunk update;
};

struct CommandMap {
    const CommandMap* base;
    std::span<const CommandEntry> entries;
};

struct CommandLookup {
    CommandThunk command = nullptr;
    UpdateThunk update = nullptr;
};

namespace command_map_detail {

template <auto Handler>
constexpr CommandThunk MakeCommand()
{
    if constexpr (std::is_same_v<decltype(Handler), std::nullptr_t>) {
        return nullptr;
    } else {
        using Class = typename framework_detail::MemberOf<decltype(Handler)>::type;
        return [](CWnd& window) { (static_cast<Class&>(window).*Handler)(); };
    }
}

template <auto Handler>
constexpr UpdateThunk MakeUpdate()
{
    if constexpr (std::is_same_v<decltype(Handler), std::nullptr_t>) {
        return nullptr;
    } else {
        using Class = typename framework_detail::MemberOf<decltype(Handler)>::type;
        return [](CWnd& window, CCmdUI& ui) { (static_cast<Class&>(window).*Handler)(ui); };
    }
}

} // namespace command_map_detail

// A command with its handler and, optionally, its update handler:
// Command<ID_LUT_SMOOTH, &CRampwiseDlg::ApplySmooth>().
template <UINT Id, auto Handler, auto Update = nullptr>
constexpr CommandEntry Command()
{
    return {Id, 0, command_map_detail::MakeCommand<Handler>(), command_map_detail::MakeUpdate<Update>()};
}

// A notification that a control sends its parent: Notify<IDC_DISPLAYS, CBN_SELCHANGE, ...>().
template <UINT Id, UINT Code, auto Handler>
constexpr CommandEntry Notify()
{
    return {Id, Code, command_map_detail::MakeCommand<Handler>(), nullptr};
}
