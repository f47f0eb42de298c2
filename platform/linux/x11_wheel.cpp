// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/x11_wheel.h"

#include <algorithm>

namespace padloom {

WheelClicks X11WheelAccumulator::add(ScrollUnits units, int32_t vertical, int32_t horizontal) {
    WheelClicks clicks;
    addAxis(vertical_, units, vertical, clicks.verticalButton, clicks.verticalCount);
    addAxis(horizontal_, units, horizontal, clicks.horizontalButton, clicks.horizontalCount);
    return clicks;
}

void X11WheelAccumulator::addAxis(Axis& axis, ScrollUnits units, int32_t amount, unsigned& button,
                                  int& count) {
    int64_t clicks = amount;
    if (units == ScrollUnits::pixels) {
        // Pending pixels are capped at what one event may click; a runaway rate loses the excess.
        const int64_t limit = int64_t{maxClicksPerEvent} * pixelsPerClick;
        axis.pendingPixels = std::clamp<int64_t>(axis.pendingPixels + amount, -limit - pixelsPerClick + 1,
                                                 limit + pixelsPerClick - 1);
        clicks = axis.pendingPixels / pixelsPerClick;
        axis.pendingPixels -= clicks * pixelsPerClick;
    }
    if (clicks == 0) {
        return;
    }
    button = clicks > 0 ? axis.positiveButton : axis.negativeButton;
    count = static_cast<int>(std::min<int64_t>(clicks > 0 ? clicks : -clicks, maxClicksPerEvent));
}

} // namespace padloom
