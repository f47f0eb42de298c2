// SPDX-License-Identifier: GPL-3.0-or-later
// How scroll amounts become X wheel clicks (buttons 4 up, 5 down, 6 left, 7 right): a line is
// one click; pixels add up, and every 10 pixels in one direction make a click.
#pragma once

#include "engine/event_sink.h"

#include <cstdint>

namespace padloom {

struct WheelClicks {
    unsigned verticalButton = 0; // 4 or 5; 0 when there is no vertical click
    int verticalCount = 0;
    unsigned horizontalButton = 0; // 6 or 7; 0 when there is no horizontal click
    int horizontalCount = 0;
    bool operator==(const WheelClicks&) const = default;
};

class X11WheelAccumulator {
public:
    static constexpr int32_t pixelsPerClick = 10;
    // No event clicks more often than this on one axis; a larger amount is cut to it, so a
    // runaway rate cannot keep the X server busy for minutes.
    static constexpr int maxClicksPerEvent = 100;

    // A positive vertical amount scrolls up, a positive horizontal amount scrolls left.
    WheelClicks add(ScrollUnits units, int32_t vertical, int32_t horizontal);

private:
    struct Axis {
        unsigned positiveButton;
        unsigned negativeButton;
        int64_t pendingPixels = 0;
    };
    static void addAxis(Axis& axis, ScrollUnits units, int32_t amount, unsigned& button, int& count);

    Axis vertical_{4, 5};
    Axis horizontal_{6, 7};
};

} // namespace padloom
