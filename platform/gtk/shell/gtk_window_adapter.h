// SPDX-License-Identifier: GPL-3.0-or-later
// A GTK top-level window as the controller sees it. Frames are converted between GTK's
// top-left origin and the controller's bottom-left origin through the height of the screen.
#pragma once

#include "app/ui/window.h"

#include <functional>

typedef struct _GtkWindow GtkWindow;

namespace padloom {

class GtkWindowAdapter : public Window {
public:
    // How much taller the window's parts around its page are than the controller reckons when it
    // fits the window to the page; frames are converted by it, so that the page gets exactly the
    // height the controller meant for it whatever the theme makes of the menu bar and label.
    using ChromeExcess = std::function<int()>;

    explicit GtkWindowAdapter(GtkWindow* window, ChromeExcess chromeExcess = {});
    ~GtkWindowAdapter() override;
    GtkWindowAdapter(const GtkWindowAdapter&) = delete;
    GtkWindowAdapter& operator=(const GtkWindowAdapter&) = delete;

    WindowFrame frame() const override;
    void setFrame(const WindowFrame& frame, bool animate) override;
    bool visible() const override;
    void bringToFront() override;
    void setTitle(const std::string& title) override;

private:
    int chromeExcess() const { return chromeExcess_ ? chromeExcess_() : 0; }

    GtkWindow* window_;
    ChromeExcess chromeExcess_;
    // Until the window is first shown, the window manager places it: frames change only its size.
    bool placed_ = false;
};

// Converts between a top-left frame (x, top, width, height) and the controller's bottom-left
// frame on a screen screenHeight pixels high; the conversion is its own inverse.
WindowFrame flipFrame(const WindowFrame& frame, float screenHeight);

} // namespace padloom
