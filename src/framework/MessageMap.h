#pragma once

#include <windows.h>

#include <span>

#include "framework/MemberOf.h"

class CWnd;

// One line of a class's message table: a window message and the thunk that unpacks
// its parameters for the class's handler. A registered message (a number known only
// at run time) is named by the variable that holds it.
using MessageThunk = LRESULT (*)(CWnd& window, WPARAM wParam, LPARAM lParam);

struct MessageEntry {
    UINT message;
    const UINT* registeredMessage;
    MessageThunk thunk;

    bool Matches(UINT msg) const
    {
        return registeredMessage ? (*registeredMessage != 0 && *registeredMessage == msg) : message == msg;
    }
};

// A class's table and the table of its base class, which is asked next.
struct MessageMap {
    const MessageMap* base;
    std::span<const MessageEntry> entries;
};

namespace message_map_detail {

inline int LowWordSigned(LPARAM value)
{
    return static_cast<short>(LOWORD(static_cast<DWORD_PTR>(value)));
}
inline int HighWordSigned(LPARAM value)
{
    return static_cast<short>(HIWORD(static_cast<DWORD_PTR>(value)));
}

// How a message's parameters reach its handler. Messages without a cracker of their
// own take a handler LRESULT (WPARAM, LPARAM).
template <UINT Message>
struct Cracker {
    template <class C, auto Handler>
    static LRESULT Call(C& self, WPARAM w, LPARAM l)
    {
        return (self.*Handler)(w, l);
    }
};

// int OnCreate(CREATESTRUCTA&): 0 to go on, -1 to refuse the window.
template <>
struct Cracker<WM_CREATE> {
    template <class C, auto Handler>
    static LRESULT Call(C& self, WPARAM, LPARAM l)
    {
        return (self.*Handler)(*reinterpret_cast<CREATESTRUCTA*>(l));
    }
};

// bool OnNcCreate(CREATESTRUCTA&): false refuses the window.
template <>
struct Cracker<WM_NCCREATE> {
    template <class C, auto Handler>
    static LRESULT Call(C& self, WPARAM, LPARAM l)
    {
        return (self.*Handler)(*reinterpret_cast<CREATESTRUCTA*>(l)) ? TRUE : FALSE;
    }
};

// void OnSize(UINT type, int cx, int cy)
template <>
struct Cracker<WM_SIZE> {
    template <class C, auto Handler>
    static LRESULT Call(C& self, WPARAM w, LPARAM l)
    {
        (self.*Handler)(static_cast<UINT>(w), LowWordSigned(l), HighWordSigned(l));
        return 0;
    }
};

// bool OnDrawItem(int controlId, DRAWITEMSTRUCT&): true when the item was drawn.
template <>
struct Cracker<WM_DRAWITEM> {
    template <class C, auto Handler>
    static LRESULT Call(C& self, WPARAM w, LPARAM l)
    {
        return (self.*Handler)(static_cast<int>(w), *reinterpret_cast<DRAWITEMSTRUCT*>(l)) ? TRUE : FALSE;
    }
};

// bool OnEraseBkgnd(HDC): true when the background was erased.
template <>
struct Cracker<WM_ERASEBKGND> {
    template <class C, auto Handler>
    static LRESULT Call(C& self, WPARAM w, LPARAM)
    {
        return (self.*Handler)(reinterpret_cast<HDC>(w)) ? TRUE : FALSE;
    }
};

// void OnGetMinMaxInfo(MINMAXINFO&)
template <>
struct Cracker<WM_GETMINMAXINFO> {
    template <class C, auto Handler>
    static LRESULT Call(C& self, WPARAM, LPARAM l)
    {
        (self.*Handler)(*reinterpret_cast<MINMAXINFO*>(l));
        return 0;
    }
};

// void OnDestroy()
template <>
struct Cracker<WM_DESTROY> {
    template <class C, auto Handler>
    static LRESULT Call(C& self, WPARAM, LPARAM)
    {
        (self.*Handler)();
        return 0;
    }
};

// void OnDpiChanged(UINT dpi, const RECT& suggested): the window's new DPI and the
// rectangle the system proposes for it there, in screen coordinates.
template <>
struct Cracker<WM_DPICHANGED> {
    template <class C, auto Handler>
    static LRESULT Call(C& self, WPARAM w, LPARAM l)
    {
        (self.*Handler)(static_cast<UINT>(HIWORD(w)), *reinterpret_cast<const RECT*>(l));
        return 0;
    }
};

// LRESULT OnNcHitTest(POINT screenPoint)
template <>
struct Cracker<WM_NCHITTEST> {
    template <class C, auto Handler>
    static LRESULT Call(C& self, WPARAM, LPARAM l)
    {
        return (self.*Handler)(POINT{LowWordSigned(l), HighWordSigned(l)});
    }
};

template <auto Handler>
using HandlerClass = typename framework_detail::MemberOf<decltype(Handler)>::type;

} // namespace message_map_detail

// A table line for a window message, with typed parameters where the message has a
// cracker: On<WM_SIZE, &CLUTDiagram::OnSize>().
template <UINT Message, auto Handler>
constexpr MessageEntry On()
{
    using Class = message_map_detail::HandlerClass<Handler>;
    return {Message, nullptr, [](CWnd& window, WPARAM w, LPARAM l) -> LRESULT {
                return message_map_detail::Cracker<Message>::template Call<Class, Handler>(
                    static_cast<Class&>(window), w, l);
            }};
}

// A table line for a registered message, whose handler takes the raw parameters.
template <const UINT* RegisteredMessage, auto Handler>
constexpr MessageEntry OnRegistered()
{
    using Class = message_map_detail::HandlerClass<Handler>;
    return {0, RegisteredMessage, [](CWnd& window, WPARAM w, LPARAM l) -> LRESULT {
                return (static_cast<Class&>(window).*Handler)(w, l);
            }};
}
