#include "engine/screen_geometry.h"
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

void compute(ScreenGeometry& g, Mode mode, bool corners) {
    if (mode == Mode::mainDisplay) {
        g.computeMainDisplay(corners);
    } else {
        g.computeAllDisplays(corners);
    }
}

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
    const FixedDisplays source(c.displays);
    ScreenGeometry g;
    compute(g, c.mode, c.corners);
    EXPECT_EQ(g.bounds(), c.box);
    EXPECT_EQ(blockedOf(g), c.blocked);
}

INSTANTIATE_TEST_SUITE_P(
    ScreenGeometry, ScreenLayout,
    ::testing::Values(
        LayoutCase{"OneDisplayIsTheBox", {fullHd}, Mode::allDisplays, false, fullHd, {}},
        LayoutCase{"OneDisplayWithCornerZones",
                   {fullHd},
                   Mode::allDisplays,
                   true,
                   fullHd,
                   {{0, 0, 3, 3}, {0, 1077, 3, 3}, {1917, 0, 3, 3}, {1917, 1077, 3, 3}}},
        LayoutCase{
            "LockModeKeepsOnlyTheMainDisplay", {fullHd, shorterRight}, Mode::mainDisplay, false, fullHd, {}},
        LayoutCase{"LockModeCornerZonesSitOnTheMainDisplay",
                   {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}},
                   Mode::mainDisplay,
                   true,
                   {0, 0, 1280, 1024},
                   {{0, 0, 3, 3}, {0, 1021, 3, 3}, {1277, 0, 3, 3}, {1277, 1021, 3, 3}}},
        LayoutCase{"ShorterRightDisplayLeavesOneMergedGapBelowIt",
                   {fullHd, shorterRight},
                   Mode::allDisplays,
                   false,
                   {0, 0, 3200, 1080},
                   {{1920, 1024, 1280, 56}}},
        LayoutCase{"DisplayLeftOfTheMainOneWidensTheBoxToTheLeft",
                   {fullHd, {-1280, 0, 1280, 1024}},
                   Mode::allDisplays,
                   false,
                   {-1280, 0, 3200, 1080},
                   {{-1280, 1024, 1280, 56}}},
        LayoutCase{"EqualHeightsSideBySideLeaveNoGap",
                   {fullHd, rightOfFullHd},
                   Mode::allDisplays,
                   false,
                   {0, 0, 3840, 1080},
                   {}},
        LayoutCase{"NarrowerDisplayBelowLeavesAGapToItsRight",
                   {fullHd, {0, 1080, 1280, 1024}},
                   Mode::allDisplays,
                   false,
                   {0, 0, 1920, 2104},
                   {{1280, 1080, 640, 1024}}},
        LayoutCase{"LShapeBlocksTheColumnsNoDisplayCovers",
                   {fullHd, rightOfFullHd, belowFullHd},
                   Mode::allDisplays,
                   false,
                   {0, 0, 5760, 2160},
                   {{3840, 0, 1920, 1080}, {1920, 1080, 3840, 1080}}},
        LayoutCase{"CornerZonesFollowTheGapsInLeftToRightDisplayOrder",
                   {fullHd, {-1280, 0, 1280, 1024}},
                   Mode::allDisplays,
                   true,
                   {-1280, 0, 3200, 1080},
                   {{-1280, 1024, 1280, 56},
                    {-1280, 0, 3, 3},
                    {-1280, 1021, 3, 3},
                    {-3, 0, 3, 3},
                    {-3, 1021, 3, 3},
                    {0, 0, 3, 3},
                    {0, 1077, 3, 3},
                    {1917, 0, 3, 3},
                    {1917, 1077, 3, 3}}},
        LayoutCase{"NoDisplaysGiveAnEmptyBox", {}, Mode::allDisplays, true, {0, 0, 0, 0}, {}}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });

TEST(ScreenGeometry, DisplayCountComesFromTheLastAllDisplaysComputation) {
    ScreenGeometry g;
    EXPECT_EQ(g.displayCount(), 1);
    {
        const FixedDisplays source{fullHd, shorterRight};
        g.computeAllDisplays(true);
        EXPECT_EQ(g.displayCount(), 2);
        g.computeMainDisplay(false);
        EXPECT_EQ(g.displayCount(), 2);
    }
    const FixedDisplays none(std::vector<SDL_Rect>{});
    g.computeAllDisplays(false);
    EXPECT_EQ(g.displayCount(), 0);
    EXPECT_TRUE(blockedOf(g).empty()) << "the earlier picture's rectangles are gone";
}

TEST(ScreenGeometry, BlockedRectsCopiesNoMoreThanAsked) {
    const FixedDisplays source{fullHd};
    ScreenGeometry g;
    g.computeAllDisplays(true);
    SDL_Rect out[2] = {{-7, -7, -7, -7}, {-7, -7, -7, -7}};
    EXPECT_EQ(g.blockedRects(out, 1), 4);
    EXPECT_EQ(out[0], (SDL_Rect{0, 0, 3, 3}));
    EXPECT_EQ(out[1], (SDL_Rect{-7, -7, -7, -7}));
}

// ---- confining a motion step ----

struct ConfineCase {
    std::string name;
    std::vector<SDL_Rect> displays;
    Mode mode;
    bool corners;
    float cx, cy, dx, dy;
    float nx, ny;
};

class ConfinePoint : public ::testing::TestWithParam<ConfineCase> {};

TEST_P(ConfinePoint, LandsWhereTheCursorMayBe) {
    const ConfineCase& c = GetParam();
    const FixedDisplays source(c.displays);
    ScreenGeometry g;
    compute(g, c.mode, c.corners);
    const CursorPoint p = g.confinePoint(c.cx, c.cy, c.dx, c.dy);
    EXPECT_EQ(p.x, c.nx);
    EXPECT_EQ(p.y, c.ny);
}

const std::vector<SDL_Rect> twoUnequal{fullHd, shorterRight};
const std::vector<SDL_Rect> shorterLeft{{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}};
const std::vector<SDL_Rect> lShape{fullHd, rightOfFullHd, belowFullHd};
const auto all = Mode::allDisplays;
const float nan = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    ScreenGeometry, ConfinePoint,
    ::testing::Values(
        ConfineCase{"FreeMoveKeepsFractions", {fullHd}, all, false, 10.5f, 20, 0.25f, -2.5f, 10.75f, 17.5f},
        ConfineCase{"StopsOnTheLastColumn", {fullHd}, all, false, 1915, 500, 6, 0, 1919, 500},
        ConfineCase{"StopsOnTheLastRow", {fullHd}, all, false, 500, 1075, 0, 9, 500, 1079},
        ConfineCase{"StopsAtTheOrigin", {fullHd}, all, false, 4, 4, -20, -20, 0, 0},
        ConfineCase{"LockModeCannotLeaveTheMainDisplay", twoUnequal, Mode::mainDisplay, false, 1910, 500, 50,
                    0, 1919, 500},
        ConfineCase{"RoamingCrossesToTheNextDisplay", twoUnequal, all, false, 1910, 500, 50, 0, 1960, 500},
        ConfineCase{"GapEnteredFromTheLeftStopsOnItsLeftNeighbourColumn", twoUnequal, all, false, 1900, 1050,
                    40, 0, 1919, 1050},
        ConfineCase{"GapEnteredFromAboveStopsOnTheRowAboveIt", twoUnequal, all, false, 2000, 1000, 0, 40,
                    2000, 1023},
        ConfineCase{"GapEnteredFromTheRightStopsOnTheColumnRightOfIt", shorterLeft, all, false, 1300, 1050,
                    -40, 0, 1280, 1050},
        ConfineCase{"GapEnteredDiagonallyIsPushedBackOnBothAxes", twoUnequal, all, false, 1900, 1000, 40, 40,
                    1919, 1023},
        ConfineCase{"CornerZoneEnteredDiagonally", {fullHd}, all, true, 5, 5, -4, -4, 3, 3},
        ConfineCase{"CornerZoneEnteredFromBelow", {fullHd}, all, true, 1, 5, 0, -4, 1, 3},
        ConfineCase{"CornerZoneEnteredFromTheRight", {fullHd}, all, true, 5, 1, -4, 0, 3, 1},
        ConfineCase{"CornerZoneEnteredFromTheLeft", {fullHd}, all, true, 1910, 1, 8, 0, 1916, 1},
        ConfineCase{"CornerZoneEnteredFromAbove", {fullHd}, all, true, 1, 1070, 0, 8, 1, 1076},
        ConfineCase{"CursorInsideAZoneIsNotPushedOut", {fullHd}, all, true, 1, 1, 1, 0, 2, 1},
        ConfineCase{"LShapeExcessColumnsStayBlocked", lShape, all, false, 3830, 500, 20, 0, 3839, 500},
        // The gap below the shorter display pushes the step back to column 1919, into the main
        // display's corner zone, which comes later in the list and pushes it out again.
        ConfineCase{"RectanglesApplyInTurnToTheAdjustedPoint", twoUnequal, all, true, 1910, 1070, 20, 8, 1916,
                    1076},
        // The box's last column and row are -1: every position lands on the origin's upper-left neighbour.
        ConfineCase{"NoDisplaysLeaveNoRoomAtAll", {}, all, false, 500, 300, 10, 10, -1, -1},
        ConfineCase{"StepThatIsNotANumberLandsInsideTheBox", {fullHd}, all, true, 100, 100, nan, nan, 3, 3},
        ConfineCase{"CursorFarOutsideIsStillConfined", twoUnequal, all, false, 3e9f, -3e9f, 1, 1, 3199, 0}),
    [](const ::testing::TestParamInfo<ConfineCase>& info) { return info.param.name; });

} // namespace
} // namespace padloom
