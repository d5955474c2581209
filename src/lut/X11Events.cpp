#include "lut/X11Events.h"

#include <utility>

X11ChangeWatch::X11ChangeWatch()
{
    xcb_connection_t* c = m_connection.Get();
    if (!m_connection.IsOpen())
        return;
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_randr_id);
    if (!extension || !extension->present)
        return;
    m_firstEvent = extension->first_event;
    // The server sends CRTC and output events only to clients that announced 1.2.
    const auto version = m_connection.Wait(xcb_randr_query_version_reply, xcb_randr_query_version(c, 1, 2));
    if (!version)
        return;
    constexpr std::uint16_t kChanges = XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE | XCB_RANDR_NOTIFY_MASK_CRTC_CHANGE |
                                       XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE | XCB_RANDR_NOTIFY_MASK_OUTPUT_PROPERTY;
    for (xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(c)); screen.rem;
         xcb_screen_next(&screen))
        m_connection.Check(xcb_randr_select_input_checked(c, screen.data->root, kChanges));
    m_open = m_connection.TakeError() == 0 && xcb_connection_has_error(c) == 0;
    m_connection.PauseClock(true);
}

const char* X11ChangeWatch::TakeChange()
{
    if (!m_open)
        return nullptr;
    while (const XcbReply<xcb_generic_event_t> event{xcb_poll_for_event(m_connection.Get())}) {
        const int type = event->response_type & 0x7F;
        if (type == m_firstEvent + XCB_RANDR_SCREEN_CHANGE_NOTIFY)
            return "display change";
        if (type != m_firstEvent + XCB_RANDR_NOTIFY)
            continue;
        const auto subCode = reinterpret_cast<const xcb_randr_notify_event_t*>(event.get())->subCode;
        // A changed output property may be a new EDID: another monitor on the output.
        if (subCode == XCB_RANDR_NOTIFY_CRTC_CHANGE || subCode == XCB_RANDR_NOTIFY_OUTPUT_CHANGE ||
            subCode == XCB_RANDR_NOTIFY_OUTPUT_PROPERTY)
            return "output change";
    }
    return nullptr;
}

