// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/engine.h"
#include "tests/support/fixed_displays.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>
#include <vector>

// SDL_Rect lives in the global namespace, so its comparison and printing must too.
inline bool operator==(const SDL_Rect& a, const SDL_Rect& b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}
inline std::ostream& operator<<(std::ostream& out, const SDL_Rect& r) {
    return out << "{" << r.x << ", " << r.y << ", " << r.w << ", " << r.h << "}";
}

namespace padloom {
namespace {

using test::FixedDisplays;

constexpr SDL_Rect fullHd{0, 0, 1920, 1080};
constexpr SDL_Rect rightOfFullHd{1920, 0, 1920, 1080};
constexpr SDL_Rect belowFullHd{0, 1080, 1920, 1080};
constexpr SDL_Rect shorterRight{1920, 0, 1280, 1024};

enum class Mode { allDisplays, mainDisplay };

std::vector<SDL_Rect> blockedOf(const ScreenGeometry& g) {
    std::vector<SDL_Rect> out(static_cast<size_t>(g.blockedRects(nullptr, 0)));
    g.blockedRects(out.data(), static_cast<int>(out.size()));
    return out;
}

// ---- computing the box and the blocked rectangles ----

struct LayoutCase {
    std::string name;
    std::vector<SDL_Rect> displays;
    Mode mode;
    bool corners;
    SDL_Rect box;
    std::vector<SDL_Rect> blocked;
};

class ScreenLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ScreenLayout, BoxAndBlockedRectanglesFollowTheDisplays) {
    const LayoutCase& c = GetParam();
    FixedDisplays source(c.displays);
    Engine engine;
    engine.displaySource.set(&source);
    engine.computeScreenGeometry(c.mode == Mode::mainDisplay, c.corners);
    EXPECT_EQ(engine.screenGeometry.bounds(), c.box);
    EXPECT_EQ(blockedOf(engine.screenGeometry), c.blocked);
}

constexpr Mode all = Mode::allDisplays;
constexpr Mode lock = Mode::mainDisplay;

// clang-format off
INSTANTIATE_TEST_SUITE_P(ScreenGeometry, ScreenLayout, ::testing::Values(
    LayoutCase{"OneDisplayIsTheBox", {fullHd}, all, false, fullHd, {}},
    LayoutCase{"OneDisplayWithCornerZones", {fullHd}, all, true, fullHd,
               {{0, 0, 3, 3}, {0, 1077, 3, 3}, {1917, 0, 3, 3}, {1917, 1077, 3, 3}}},
    LayoutCase{"LockModeKeepsOnlyTheMainDisplay", {fullHd, shorterRight}, lock, false, fullHd, {}},
    LayoutCase{"LockModeCornerZonesSitOnTheMainDisplay", {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}}, lock,
               true, {0, 0, 1280, 1024},
               {{0, 0, 3, 3}, {0, 1021, 3, 3}, {1277, 0, 3, 3}, {1277, 1021, 3, 3}}},
    LayoutCase{"ShorterRightDisplayLeavesOneMergedGapBelowIt", {fullHd, shorterRight}, all, false,
               {0, 0, 3200, 1080}, {{1920, 1024, 1280, 56}}},
    LayoutCase{"DisplayLeftOfTheMainOneWidensTheBoxToTheLeft", {fullHd, {-1280, 0, 1280, 1024}}, all, false,
               {-1280, 0, 3200, 1080}, {{-1280, 1024, 1280, 56}}},
    LayoutCase{"EqualHeightsSideBySideLeaveNoGap", {fullHd, rightOfFullHd}, all, false,
               {0, 0, 3840, 1080}, {}},
    LayoutCase{"NarrowerDisplayBelowLeavesAGapToItsRight", {fullHd, {0, 1080, 1280, 1024}}, all, false,
               {0, 0, 1920, 2104}, {{1280, 1080, 640, 1024}}},
    LayoutCase{"LShapeBlocksTheColumnsNoDisplayCovers", {fullHd, rightOfFullHd, belowFullHd}, all, false,
               {0, 0, 5760, 2160}, {{3840, 0, 1920, 1080}, {1920, 1080, 3840, 1080}}},
    LayoutCase{"CornerZonesFollowTheGapsInLeftToRightDisplayOrder", {fullHd, {-1280, 0, 1280, 1024}}, all,
               true, {-1280, 0, 3200, 1080},
               {{-1280, 1024, 1280, 56}, {-1280, 0, 3, 3}, {-1280, 1021, 3, 3}, {-3, 0, 3, 3},
                {-3, 1021, 3, 3}, {0, 0, 3, 3}, {0, 1077, 3, 3}, {1917, 0, 3, 3}, {1917, 1077, 3, 3}}},
    LayoutCase{"NoDisplaysGiveAnEmptyBox", {}, all, true, {0, 0, 0, 0}, {}}),
    [](const auto& info) { return info.param.name; });
// clang-format on

TEST(ScreenGeometry, DisplayCountComesFromTheLastAllDisplaysComputation) {
    ScreenGeometry g;
    EXPECT_EQ(g.displayCount(), 1);
    FixedDisplays two{fullHd, shorterRight};
    g.computeAllDisplays(two, true);
    EXPECT_EQ(g.displayCount(), 2);
    g.computeMainDisplay(two, false);
    EXPECT_EQ(g.displayCount(), 2);
    FixedDisplays none(std::vector<SDL_Rect>{});
    g.computeAllDisplays(none, false);
    EXPECT_EQ(g.displayCount(), 0);
    EXPECT_TRUE(blockedOf(g).empty()) << "the earlier picture's rectangles are gone";
}

TEST(ScreenGeometry, BlockedRectsCopiesNoMoreThanAsked) {
    FixedDisplays source{fullHd};
    ScreenGeometry g;
    g.computeAllDisplays(source, true);
    SDL_Rect out[2] = {{-7, -7, -7, -7}, {-7, -7, -7, -7}};
    EXPECT_EQ(g.blockedRects(out, 1), 4);
    EXPECT_EQ(out[0], (SDL_Rect{0, 0, 3, 3}));
    EXPECT_EQ(out[1], (SDL_Rect{-7, -7, -7, -7}));
}

// Steps no script can make; the others are pinned by the replay fixture "confinement".
TEST(ScreenGeometry, ConfinesStepsThatAreNotANumberOrFindNoDisplay) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    FixedDisplays one{fullHd};
    ScreenGeometry g;
    g.computeAllDisplays(one, true);
    const CursorPoint p = g.confinePoint(100, 100, nan, nan);
    EXPECT_EQ(p.x, 3);
    EXPECT_EQ(p.y, 3);
    FixedDisplays none(std::vector<SDL_Rect>{});
    g.computeAllDisplays(none, false);
    // The box's last column and row are -1: every position lands on the origin's upper-left neighbour.
    const CursorPoint q = g.confinePoint(500, 300, 10, 10);
    EXPECT_EQ(q.x, -1);
    EXPECT_EQ(q.y, -1);
}

} // namespace
} // namespace padloom
