// SPDX-License-Identifier: GPL-3.0-or-later
// Motion steps confine the cursor on the timer thread while the main thread recomputes the screen
// geometry (display changes, option toggles). Every step must see one whole picture: a box and the
// blocked rectangles computed with it, never a box half summed or a list being rebuilt. Run under
// ThreadSanitizer, this also proves that no snapshot is freed while a step still reads it.
#include "engine/screen_geometry.h"
#include "tests/support/fixed_displays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

namespace padloom {
namespace {

using test::FixedDisplays;

struct Step {
    float cx, cy, dx, dy;
};

// Each step lands differently depending on which picture it meets.
const Step steps[] = {
    {2500, 500, 10, 10}, // on the second display, or clamped to the main one
    {1, 5, 0, -4},       // into the top-left corner zone, when there is one
    {1900, 1050, 40, 0}, // towards the gap below the shorter display
};

struct Picture {
    DisplaySource* source;
    bool lock;
    bool corners;
};

void computePicture(ScreenGeometry& g, const Picture& p) {
    if (p.lock) {
        g.computeMainDisplay(*p.source, p.corners);
    } else {
        g.computeAllDisplays(*p.source, p.corners);
    }
}

TEST(GeometryThreads, MotionStepsSeeOnlyWholePicturesWhileTheGeometryIsRecomputed) {
    FixedDisplays one{{0, 0, 1920, 1080}};
    FixedDisplays two{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
    const Picture pictures[] = {
        {&one, false, false},
        {&two, false, true},
        {&two, true, false},
        {&two, false, false},
    };

    // What each step and the box look like under each picture, worked out on one thread first.
    ScreenGeometry geometry;
    std::vector<SDL_Rect> boxes;
    std::vector<std::vector<CursorPoint>> landings(std::size(steps));
    for (const Picture& p : pictures) {
        computePicture(geometry, p);
        boxes.push_back(geometry.bounds());
        for (size_t i = 0; i < std::size(steps); ++i) {
            const Step& s = steps[i];
            landings[i].push_back(geometry.confinePoint(s.cx, s.cy, s.dx, s.dy));
        }
    }

    std::atomic<bool> readerStarted{false};
    std::atomic<bool> recomputing{true};
    int unexpected = 0;
    int reads = 0;
    std::thread reader([&] {
        readerStarted.store(true);
        while (recomputing.load() || reads == 0) {
            for (size_t i = 0; i < std::size(steps); ++i) {
                const Step& s = steps[i];
                const CursorPoint at = geometry.confinePoint(s.cx, s.cy, s.dx, s.dy);
                const auto& expected = landings[i];
                unexpected += std::none_of(expected.begin(), expected.end(),
                                           [&](const CursorPoint& e) { return e.x == at.x && e.y == at.y; });
            }
            const SDL_Rect box = geometry.bounds();
            unexpected += std::none_of(boxes.begin(), boxes.end(),
                                       [&](const SDL_Rect& e) { return SDL_RectEquals(&e, &box); });
            ++reads;
        }
    });

    while (!readerStarted.load()) {
        std::this_thread::yield();
    }
    for (int round = 0; round < 400; ++round) {
        computePicture(geometry, pictures[round % std::size(pictures)]);
    }
    recomputing.store(false);
    reader.join();

    EXPECT_EQ(unexpected, 0) << "of " << reads << " reads";
    EXPECT_GT(reads, 0);
}

} // namespace
} // namespace padloom
