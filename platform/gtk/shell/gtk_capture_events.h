// SPDX-License-Identifier: GPL-3.0-or-later
// SDL's queue and clock for binding capture, with the window system served during every wait,
// so the windows repaint, menus work and the configuration window's Escape reaches the capture.
#pragma once

#include "app/capture/capture_events.h"

namespace padloom {

class GtkCaptureEvents : public SdlCaptureEvents {
protected:
    void serviceWindowSystem() override;
};

} // namespace padloom
