// SPDX-License-Identifier: GPL-3.0-or-later
// Scroll amounts become X wheel clicks: a line is a click, ten pixels are a click.
#include "platform/linux/x11_wheel.h"

#include <gtest/gtest.h>

#include <vector>

namespace padloom {

void PrintTo(const WheelClicks& c, std::ostream* os) {
    *os << "v " << c.verticalButton << "x" << c.verticalCount << " h " << c.horizontalButton << "x"
        << c.horizontalCount;
}

namespace {

struct Post {
    ScrollUnits units;
    int32_t vertical;
    int32_t horizontal;
    WheelClicks expected;
};

struct Case {
    const char* name;
    std::vector<Post> posts;
};

constexpr auto lines = ScrollUnits::lines;
constexpr auto pixels = ScrollUnits::pixels;

TEST(X11Wheel, AmountsBecomeClicksOfTheRightButton) {
    constexpr int max = X11WheelAccumulator::maxClicksPerEvent;
    const Case cases[] = {
        {"a line up is button 4", {{lines, 1, 0, {4, 1, 0, 0}}}},
        {"three lines down are three clicks of button 5", {{lines, -3, 0, {5, 3, 0, 0}}}},
        {"a line left is button 6, right is 7", {{lines, 0, 1, {0, 0, 6, 1}}, {lines, 0, -2, {0, 0, 7, 2}}}},
        {"both axes in one event", {{lines, 1, -1, {4, 1, 7, 1}}}},
        {"pixels wait for ten", {{pixels, 6, 0, {}}, {pixels, 6, 0, {4, 1, 0, 0}}, {pixels, 6, 0, {}}}},
        {"the remainder carries over", {{pixels, 25, 0, {4, 2, 0, 0}}, {pixels, 5, 0, {4, 1, 0, 0}}}},
        {"opposite pixels cancel", {{pixels, 0, 8, {}}, {pixels, 0, -8, {}}, {pixels, 0, 2, {}}}},
        {"pixels down", {{pixels, -10, 0, {5, 1, 0, 0}}, {pixels, -9, 0, {}}}},
        {"lines leave pending pixels alone",
         {{pixels, 7, 0, {}}, {lines, 1, 0, {4, 1, 0, 0}}, {pixels, 3, 0, {4, 1, 0, 0}}}},
        {"nothing posts nothing", {{pixels, 0, 0, {}}, {lines, 0, 0, {}}}},
        // a runaway rate must not click for minutes, nor leave a backlog that keeps scrolling
        {"huge amounts are cut to a few clicks",
         {{lines, 2'000'000'000, 0, {4, max, 0, 0}},
          {lines, 0, -2'000'000'000, {0, 0, 7, max}},
          {pixels, 2'000'000'000, 0, {4, max, 0, 0}},
          {pixels, 2'000'000'000, 0, {4, max, 0, 0}},
          {pixels, 1, 0, {4, 1, 0, 0}}, // at most 9 pixels were left over
          {pixels, 0, 0, {}}}},
    };
    for (const Case& c : cases) {
        X11WheelAccumulator wheel;
        for (size_t i = 0; i < c.posts.size(); ++i) {
            const Post& post = c.posts[i];
            EXPECT_EQ(wheel.add(post.units, post.vertical, post.horizontal), post.expected)
                << c.name << ", post " << i;
        }
    }
}

} // namespace
} // namespace padloom
