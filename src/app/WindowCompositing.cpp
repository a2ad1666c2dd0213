#include "WindowCompositing.h"

#include <QByteArray>
#include <QGuiApplication>

#ifdef ORVALINDE_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#endif

namespace windowcompositing {
namespace {

std::optional<bool> g_forced;

#ifdef ORVALINDE_HAVE_XCB

// The X screen of the connection: DISPLAY's ":n.s" names it, ":n" means 0.
int defaultScreen()
{
    const QByteArray display = qgetenv("DISPLAY");
    const int dot = display.lastIndexOf('.');
    const int colon = display.lastIndexOf(':');
    return dot > colon && colon >= 0 ? std::atoi(display.constData() + dot + 1) : 0;
}

// An X compositing manager owns the selection "_NET_WM_CM_S<screen>".
bool x11Compositing(xcb_connection_t *connection)
{
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(defaultScreen());
    const xcb_intern_atom_cookie_t atomCookie =
        xcb_intern_atom(connection, 0, uint16_t(name.size()), name.constData());
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(connection, atomCookie, nullptr), &std::free);
    if (!atom)
        return false;
    const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr),
        &std::free);
    return owner && owner->owner != XCB_NONE;
}
#endif

} // namespace

bool translucentWindows()
{
    if (g_forced)
        return *g_forced;
    auto *app = qGuiApp;
    if (!app)
        return true;
#ifdef ORVALINDE_HAVE_XCB
    if (auto *x11 = app->nativeInterface<QNativeInterface::QX11Application>()) {
        if (xcb_connection_t *connection = x11->connection())
            return x11Compositing(connection);
    }
#endif
    // Wayland composes every window; the offscreen platform paints into
    // images that keep their alpha. A build without xcb cannot ask an X
    // server and keeps the translucent corners there too.
    return true;
}

void setTranslucentWindowsForTesting(std::optional<bool> translucent)
{
    g_forced = translucent;
}

} // namespace windowcompositing
