#pragma once

class QWindow;

namespace kelvane::embedding {

// Gives the keyboard to `window` of this process that lives inside another process's window:
// no window manager does that for a child window, and the container's toolkit does not speak
// XEmbed's focus messages. Nothing happens off X11.
void TakeKeyboardFocus(QWindow& window);

}  // namespace kelvane::embedding
