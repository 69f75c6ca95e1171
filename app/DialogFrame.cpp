#include "app/DialogFrame.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>

namespace {

// The window manager hints of the Motif toolkit, which every current X11 window manager reads.
enum : std::uint32_t { kHintFunctions = 1u << 0, kHintDecorations = 1u << 1 };
enum : std::uint32_t { kFunctionMove = 1u << 2 };
enum : std::uint32_t { kDecorationBorder = 1u << 1, kDecorationTitle = 1u << 3 };

} // namespace

void UseDialogFrameWithoutButtons(QWidget& window)
{
    // The offscreen platform answers for X11 too, without a usable connection.
    if (QGuiApplication::platformName() != u"xcb" || !window.isWindow())
        return;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    static const char kName[] = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr);
    if (!atom)
        return;
    const std::uint32_t hints[5] = {kHintFunctions | kHintDecorations, kFunctionMove,
                                    kDecorationBorder | kDecorationTitle, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()), atom->atom,
                        atom->atom, 32, 5, hints);
    xcb_flush(connection);
    std::free(atom);
}
