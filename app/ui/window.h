// SPDX-License-Identifier: GPL-3.0-or-later
// A top-level window of the application.
#pragma once

#include <string>

namespace padloom {

// A window's outer frame in screen points, origin at the bottom left, y growing upward.
struct WindowFrame {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
    bool operator==(const WindowFrame&) const = default;
};

class Window {
public:
    virtual ~Window() = default;
    virtual WindowFrame frame() const = 0;
    // Moves and resizes the window; animate asks for a smooth change where the desktop offers one.
    virtual void setFrame(const WindowFrame& frame, bool animate) = 0;
    virtual bool visible() const = 0;
    // Shows the window above the others and gives it the keyboard focus.
    virtual void bringToFront() = 0;
    virtual void setTitle(const std::string& title) = 0;
};

} // namespace padloom
