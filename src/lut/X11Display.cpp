#include "lut/X11Display.h"

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <utility>

#include <sys/socket.h>

namespace {

using ResourcesCookie = xcb_randr_get_screen_resources_current_cookie_t;

// The screens' output lists: RandR's version and every screen's list are asked for
// together, and the lists are used only when the version is 1.2 or later.
std::vector<ResourcesCookie> AskForScreenResources(X11Connection& connection)
{
    xcb_connection_t* c = connection.Get();
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_randr_id);
    if (!extension || !extension->present)
        return {};
    const xcb_randr_query_version_cookie_t versionCookie =
        xcb_randr_query_version(c, XCB_RANDR_MAJOR_VERSION, XCB_RANDR_MINOR_VERSION);
    std::vector<ResourcesCookie> cookies;
    for (xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(c)); screen.rem;
         xcb_screen_next(&screen))
        cookies.push_back(xcb_randr_get_screen_resources_current(c, screen.data->root));
    const auto version = connection.Wait(xcb_randr_query_version_reply, versionCookie);
    if (version && (version->major_version > 1 || (version->major_version == 1 && version->minor_version >= 2)))
        return cookies;
    for (const ResourcesCookie& cookie : cookies)
        xcb_discard_reply(c, cookie.sequence);
    return {};
}

// A property reply read from the start: its bytes when it is 8-bit and no larger than
// maxBytes.
X11PropertyBytes Bytes8(std::uint32_t type, std::uint8_t format, std::uint32_t bytesAfter, std::uint32_t itemCount,
                        const void* data, std::size_t maxBytes)
{
    using Status = X11PropertyBytes::Status;
    if (type == XCB_NONE || format != 8 || (itemCount == 0 && bytesAfter == 0))
        return {};
    if (bytesAfter != 0 || itemCount > maxBytes)
        return {Status::TooLarge, {}};
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return {Status::Read, std::vector<std::uint8_t>(bytes, bytes + itemCount)};
}

// Property reads ask for this many 32-bit units from the start.
std::uint32_t UnitsFor(std::size_t maxBytes)
{
    return static_cast<std::uint32_t>(maxBytes / 4 + 1);
}

} // namespace

// What the connection shares with the thread that connects and then keeps the time.
// xcb has no time limit of its own: it waits for the server in blocking calls, both
// while connecting and for every reply.
struct X11Connection::Watch {
    std::mutex mutex;
    std::condition_variable changed;
    xcb_connection_t* connection = nullptr;  // set once xcb_connect has returned
    bool released = false;                   // the owner waits no longer
    bool timedOut = false;
    bool paused = false;                     // between the questions of a lasting connection
    std::chrono::steady_clock::time_point deadline;

    // Runs on its own thread. Once the time is up, shutting the socket down ends
    // every wait of xcb: the connection reports an error and gives no more replies.
    // When the owner gave up before the server answered the connection, the thread
    // is left behind in xcb_connect and closes what it gets, if it ever returns.
    static void Run(const std::shared_ptr<Watch>& watch)
    {
        xcb_connection_t* c = xcb_connect(nullptr, nullptr);
        std::unique_lock lock(watch->mutex);
        if (watch->released) {
            lock.unlock();
            xcb_disconnect(c);
            return;
        }
        watch->connection = c;
        watch->changed.notify_all();
        if (xcb_connection_has_error(c) != 0)
            return;
        // Pausing and resuming the clock wakes nobody, so that a lasting connection's
        // questions cost no switch to this thread: paused, it looks again every
        // kAnswerSeconds, and a deadline set meanwhile is kept from then on.
        while (!watch->released) {
            if (watch->paused) {
                watch->changed.wait_for(lock, std::chrono::seconds(kAnswerSeconds));
                continue;
            }
            const auto deadline = watch->deadline;
            if (!watch->changed.wait_until(lock, deadline, [&] {
                    return watch->released || watch->paused || watch->deadline != deadline;
                })) {
                watch->timedOut = true;
                shutdown(xcb_get_file_descriptor(c), SHUT_RDWR);
                return;
            }
        }
    }
};

X11Connection::X11Connection() : m_watch(std::make_shared<Watch>())
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kAnswerSeconds);
    m_watch->deadline = deadline;
    m_watcher = std::thread(Watch::Run, m_watch);
    std::unique_lock lock(m_watch->mutex);
    if (!m_watch->changed.wait_until(lock, deadline, [&] { return m_watch->connection != nullptr; })) {
        m_watch->released = true;
        m_watch->timedOut = true;
        lock.unlock();
        m_watcher.detach();
        return;
    }
    m_connection = m_watch->connection;
    lock.unlock();
    m_open = xcb_connection_has_error(m_connection) == 0;
    // Every use starts with RandR: the question about it is on its way at once.
    if (m_open)
        xcb_prefetch_extension_data(m_connection, &xcb_randr_id);
}

X11Connection::~X11Connection()
{
    StopClock();
    // A connection that failed still has to be released.
    if (m_connection)
        xcb_disconnect(m_connection);
}

void X11Connection::StopClock()
{
    if (!m_watcher.joinable())
        return;
    {
        const std::lock_guard lock(m_watch->mutex);
        m_watch->released = true;
    }
    m_watch->changed.notify_all();
    m_watcher.join();
}

void X11Connection::PauseClock(bool paused)
{
    const std::lock_guard lock(m_watch->mutex);
    m_watch->paused = paused;
    m_watch->deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kAnswerSeconds);
}

bool X11Connection::TimedOut() const
{
    const std::lock_guard lock(m_watch->mutex);
    return m_watch->timedOut;
}

void X11Connection::Record(xcb_generic_error_t* error)
{
    if (!error)
        return;
    if (m_firstErrorCode == 0)
        m_firstErrorCode = error->error_code;
    std::free(error);
}

int X11Connection::TakeError()
{
    const int code = m_firstErrorCode;
    m_firstErrorCode = 0;
    return code;
}

std::string X11ServerName()
{
    const char* display = std::getenv("DISPLAY");
    return display && *display ? "DISPLAY=" + std::string(display) : std::string("DISPLAY is not set");
}

void VisitX11Outputs(X11Connection& connection, const std::function<bool(X11Output&&)>& visit)
{
    xcb_connection_t* c = connection.Get();
    const std::vector<ResourcesCookie> screens = AskForScreenResources(connection);
    xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(c));
    bool done = false;
    for (const ResourcesCookie& cookie : screens) {
        const xcb_window_t root = screen.data->root;
        xcb_screen_next(&screen);
        if (done) {
            xcb_discard_reply(c, cookie.sequence);
            continue;
        }
        const auto resources = connection.Wait(xcb_randr_get_screen_resources_current_reply, cookie);
        if (!resources)
            continue;
        const xcb_randr_output_t* outputs = xcb_randr_get_screen_resources_current_outputs(resources.get());
        const int outputCount = xcb_randr_get_screen_resources_current_outputs_length(resources.get());
        // Every output's question goes out at once: one wait instead of one per output.
        std::vector<xcb_randr_get_output_info_cookie_t> questions;
        for (int i = 0; i < outputCount; ++i)
            questions.push_back(xcb_randr_get_output_info(c, outputs[i], resources->config_timestamp));
        for (int i = 0; i < outputCount; ++i) {
            if (done) {
                xcb_discard_reply(c, questions[i].sequence);
                continue;
            }
            const auto info = connection.Wait(xcb_randr_get_output_info_reply, questions[i]);
            if (!info || info->connection != XCB_RANDR_CONNECTION_CONNECTED || info->crtc == XCB_NONE)
                continue;
            const char* name = reinterpret_cast<const char*>(xcb_randr_get_output_info_name(info.get()));
            const auto nameLength = static_cast<std::size_t>(xcb_randr_get_output_info_name_length(info.get()));
            done = visit(X11Output{outputs[i], info->crtc, root, std::string(name, nameLength)});
        }
    }
}

std::optional<X11Output> FindX11Output(X11Connection& connection, int displayIndex)
{
    std::optional<X11Output> found;
    int remaining = displayIndex;
    if (displayIndex >= 0) {
        VisitX11Outputs(connection, [&](X11Output&& output) {
            if (remaining-- > 0)
                return false;
            found = std::move(output);
            return true;
        });
    }
    return found;
}

xcb_atom_t ExistingX11Atom(X11Connection& connection, const char* name)
{
    const auto atom = connection.Wait(
        xcb_intern_atom_reply, xcb_intern_atom(connection.Get(), 1, static_cast<std::uint16_t>(std::strlen(name)), name));
    return atom ? atom->atom : static_cast<xcb_atom_t>(XCB_NONE);
}

X11OutputPropertyQuestion::X11OutputPropertyQuestion(X11Connection& connection, xcb_randr_output_t output,
                                                     xcb_atom_t atom, std::size_t maxBytes)
    : m_maxBytes(maxBytes)
{
    if (atom != XCB_NONE)
        m_cookie = xcb_randr_get_output_property(connection.Get(), output, atom, XCB_ATOM_ANY, 0, UnitsFor(maxBytes), 0, 0);
}

X11PropertyBytes X11OutputPropertyQuestion::Receive(X11Connection& connection)
{
    if (!m_cookie)
        return {};
    const auto reply = connection.Wait(xcb_randr_get_output_property_reply, *std::exchange(m_cookie, std::nullopt));
    if (!reply)
        return {};
    return Bytes8(reply->type, reply->format, reply->bytes_after, reply->num_items,
                  xcb_randr_get_output_property_data(reply.get()), m_maxBytes);
}

X11PropertyBytes ReadOutputProperty8(X11Connection& connection, xcb_randr_output_t output, const char* name,
                                     std::size_t maxBytes)
{
    return X11OutputPropertyQuestion(connection, output, ExistingX11Atom(connection, name), maxBytes).Receive(connection);
}

X11PropertyBytes ReadWindowProperty8(X11Connection& connection, xcb_window_t window, const char* name,
                                     std::size_t maxBytes)
{
    const xcb_atom_t atom = ExistingX11Atom(connection, name);
    if (atom == XCB_NONE)
        return {};
    const auto reply = connection.Wait(
        xcb_get_property_reply,
        xcb_get_property(connection.Get(), 0, window, atom, XCB_GET_PROPERTY_TYPE_ANY, 0, UnitsFor(maxBytes)));
    if (!reply)
        return {};
    return Bytes8(reply->type, reply->format, reply->bytes_after, reply->value_len, xcb_get_property_value(reply.get()),
                  maxBytes);
}
