// A GTK top-level window as the controller sees it. Frames are converted between GTK's
// top-left origin and the controller's bottom-left origin through the height of the screen.
#pragma once

#include "app/ui/window.h"

typedef struct _GtkWindow GtkWindow;

namespace padloom {

class GtkWindowAdapter : public Window {
public:
    explicit GtkWindowAdapter(GtkWindow* window) : window_(window) {}

    WindowFrame frame() const override;
    void setFrame(const WindowFrame& frame, bool animate) override;
    bool visible() const override;
    void bringToFront() override;
    void setTitle(const std::string& title) override;

private:
    GtkWindow* window_;
};

// Converts between a top-left frame (x, top, width, height) and the controller's bottom-left
// frame on a screen screenHeight pixels high; the conversion is its own inverse.
WindowFrame flipFrame(const WindowFrame& frame, float screenHeight);

} // namespace padloom
