#pragma once

#include "lut/X11Display.h"

// A lasting connection that hears of RandR changes: a screen resized or rotated, a
// CRTC or an output switched, re-plugged or given another mode, an output's property
// (its EDID among them) changed.
class X11ChangeWatch {
public:
    // Connects (within the connection's time limit), selects the change events on
    // every screen; from then on the server has the time limit for each question only.
    X11ChangeWatch();

    bool IsOpen() const { return m_open; }
    // The connection's socket: readable when an event, or the server's end, is there.
    int FileDescriptor() const { return xcb_get_file_descriptor(m_connection.Get()); }
    // True once the server has gone (or never answered).
    bool Broken() const { return !m_open || xcb_connection_has_error(m_connection.Get()) != 0; }
    // The cause of the next change that has come in, for the keeper's log ("display
    // change" for a screen, "output change" for a CRTC or an output), or null when none
    // is waiting. Other events are dropped.
    const char* TakeChange();
    // Asks the server over this connection what `ask` asks of it, with the
    // connection's time limit: a keeper needs no connection of its own for a check.
    template <typename Ask>
    auto AskOver(Ask ask)
    {
        m_connection.PauseClock(false);
        auto answer = ask(m_connection);
        m_connection.PauseClock(true);
        return answer;
    }

private:
    X11Connection m_connection;
    bool m_open = false;
    std::uint8_t m_firstEvent = 0;
};
