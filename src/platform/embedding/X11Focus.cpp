#include "platform/embedding/X11Focus.h"

#include <xcb/xcb.h>
#include <QGuiApplication>
#include <QWindow>

namespace kelvane::embedding {

void TakeKeyboardFocus(QWindow& window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return;
    // Back to the container's window when ours goes.
    xcb_set_input_focus(x11->connection(), XCB_INPUT_FOCUS_PARENT,
                        static_cast<xcb_window_t>(window.winId()), XCB_CURRENT_TIME);
    xcb_flush(x11->connection());
}

}  // namespace kelvane::embedding
