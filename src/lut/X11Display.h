#pragma once

#include <xcb/randr.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

struct XcbFree {
    void operator()(void* p) const { std::free(p); }
};
// A reply of the X server, freed when the holder goes away.
template <typename Reply>
using XcbReply = std::unique_ptr<Reply, XcbFree>;

// A connection to the X server that DISPLAY names, closed when the holder goes away.
// The errors that the server answers to its requests are recorded for TakeError;
// none of them ends the process. The server has kAnswerSeconds from the start of the
// connection for everything it is asked: a server that accepts the connection and
// then stays silent makes the connection fail rather than wait for ever.
class X11Connection {
public:
    static constexpr int kAnswerSeconds = 10;

    X11Connection();
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    bool IsOpen() const { return m_open; }
    // True once the server has let the time pass without answering; every wait of the
    // connection then ends at once, without a reply.
    bool TimedOut() const;
    xcb_connection_t* Get() const { return m_connection; }
    // Lifts the time limit for good. Has no effect once the time has run out.
    void StopClock();
    // For a connection that waits for events as long as the program runs: paused, the
    // server has no time limit; resumed, it has kAnswerSeconds from then on again.
    void PauseClock(bool paused);

    // Waits for the reply to a request; an error answer is recorded and gives none.
    template <typename Reply, typename Cookie>
    XcbReply<Reply> Wait(Reply* (*reply)(xcb_connection_t*, Cookie, xcb_generic_error_t**), Cookie cookie)
    {
        xcb_generic_error_t* error = nullptr;
        XcbReply<Reply> answer(reply(m_connection, cookie, &error));
        Record(error);
        return answer;
    }
    // Waits until the server has handled a checked request that has no reply.
    void Check(xcb_void_cookie_t cookie) { Record(xcb_request_check(m_connection, cookie)); }

    // The code of the first error recorded since the last call, or 0; forgets it.
    int TakeError();

private:
    struct Watch;

    void Record(xcb_generic_error_t* error);

    std::shared_ptr<Watch> m_watch;
    std::thread m_watcher;
    xcb_connection_t* m_connection = nullptr;
    bool m_open = false;
    int m_firstErrorCode = 0;
};

// The server that DISPLAY names, as lines about it name it: "DISPLAY=:0", or "DISPLAY
// is not set".
std::string X11ServerName();

// An output that shows a picture: connected and driving a CRTC.
struct X11Output {
    xcb_randr_output_t output;
    xcb_randr_crtc_t crtc;
    xcb_window_t root;  // root window of the output's screen
    std::string name;
};

// Calls visit for each connected output that has a CRTC, screen by screen in RandR's
// order, until it returns true. Nothing when the server lacks RandR 1.2.
void VisitX11Outputs(X11Connection& connection, const std::function<bool(X11Output&&)>& visit);

// The output at the display index among those VisitX11Outputs visits.
std::optional<X11Output> FindX11Output(X11Connection& connection, int displayIndex);

// An 8-bit property of an output or of a window. A property that is missing, empty or
// of another format counts as absent; one of more than maxBytes is not fetched whole.
struct X11PropertyBytes {
    enum class Status { Absent, TooLarge, Read };
    Status status = Status::Absent;
    std::vector<std::uint8_t> bytes;  // when Read
};
X11PropertyBytes ReadOutputProperty8(X11Connection& connection, xcb_randr_output_t output, const char* name,
                                     std::size_t maxBytes);
X11PropertyBytes ReadWindowProperty8(X11Connection& connection, xcb_window_t window, const char* name,
                                     std::size_t maxBytes);

// The atom of a name the server knows; none for a name it has never heard of, which
// nothing can carry.
xcb_atom_t ExistingX11Atom(X11Connection& connection, const char* name);

// ReadOutputProperty8 in two steps, so that the questions about many outputs go out
// together: the question is sent when made (none for the atom none), and Receive
// waits for its answer once.
class X11OutputPropertyQuestion {
public:
    X11OutputPropertyQuestion(X11Connection& connection, xcb_randr_output_t output, xcb_atom_t atom,
                              std::size_t maxBytes);
    X11PropertyBytes Receive(X11Connection& connection);

private:
    std::optional<xcb_randr_get_output_property_cookie_t> m_cookie;
    std::size_t m_maxBytes;
};
