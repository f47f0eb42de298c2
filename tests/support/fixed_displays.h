// SPDX-License-Identifier: GPL-3.0-or-later
// A DisplaySource with a fixed display list.
#pragma once

#include "engine/display_source.h"

#include <initializer_list>
#include <utility>
#include <vector>

namespace padloom::test {

class FixedDisplays : public DisplaySource {
public:
    FixedDisplays(std::initializer_list<SDL_Rect> displays)
        : FixedDisplays(std::vector<SDL_Rect>(displays)) {}
    explicit FixedDisplays(std::vector<SDL_Rect> displays) : displays_(std::move(displays)) {}

    int displayCount() override { return static_cast<int>(displays_.size()); }
    bool displayBounds(int index, SDL_Rect* bounds) override {
        if (index < 0 || index >= displayCount() || !bounds) {
            return false;
        }
        *bounds = displays_[static_cast<size_t>(index)];
        return true;
    }

private:
    std::vector<SDL_Rect> displays_;
};

} // namespace padloom::test
