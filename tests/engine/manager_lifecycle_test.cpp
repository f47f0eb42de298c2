#include "engine/joystick_manager.h"
#include "engine/mouse_state.h"
#include "preset/vantry_document.h"
#include "tests/support/bind_builders.h"
#include "tests/support/manual_seams.h"
#include "tests/support/virtual_joystick.h"

#include <gtest/gtest.h>

#include <vector>

namespace padloom::test {
namespace {

using Section = std::vector<VantryDocument::BindData>;

void setSections(VantryDocument& document, const std::vector<Section>& sections) {
    document.joysticks = std::make_unique<std::vector<VantryDocument::JoystickData>>();
    for (const Section& binds : sections) {
        document.joysticks->push_back({"pad", binds});
    }
}

bool queueIsEmpty() {
    SDL_PumpEvents();
    return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 0;
}

void pushUserEvent() {
    SDL_Event event{};
    event.type = SDL_USEREVENT;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

class ManagerLifecycle : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sdl.ok()) << SDL_GetError(); }

    // Attaches the test's devices; skips when the machine has joysticks of its own.
    void attachPads(int count) {
        for (int i = 0; i < count; ++i) {
            pads.push_back(std::make_unique<VirtualJoystick>(4, 12, 1));
            ASSERT_TRUE(pads.back()->attached()) << SDL_GetError();
        }
        if (SDL_NumJoysticks() != count) {
            GTEST_SKIP() << "a joystick other than the test's own is connected";
        }
    }

    SdlJoystickSession sdl;
    EngineSeams seams;
    RecordingSink& sink = seams.sink;
    std::vector<std::unique_ptr<VirtualJoystick>> pads;
    JoystickManager manager;
    VantryDocument document;
};

TEST_F(ManagerLifecycle, InitWithoutJoysticksFailsAndChangesNothing) {
    if (SDL_NumJoysticks() != 0) {
        GTEST_SKIP() << "a joystick is connected";
    }
    setSections(document, {{{axisIn(0, 1), {motionOut(0, 1, 6)}}}});
    EXPECT_FALSE(manager.init(&document));
    EXPECT_FALSE(manager.wasInit);
    EXPECT_TRUE(manager.joystickMap.empty());
    EXPECT_EQ(seams.timers.liveTimers(), 0);
}

TEST_F(ManagerLifecycle, SectionsDriveDevicesByPosition) {
    attachPads(2);
    // Two devices, three sections: the third section has no device.
    setSections(document,
                {{{buttonIn(0), {keyOut(4)}}}, {{buttonIn(0), {keyOut(5)}}}, {{buttonIn(0), {keyOut(6)}}}});
    ASSERT_TRUE(manager.init(&document));
    for (int i : {1, 0}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(manager.joystickMap[i]->deviceIndex, i);
        manager.handleEvent(buttonEvent(pads[static_cast<size_t>(i)]->instanceId(), 0, true));
    }
    sink.expectKey(11, true, 0); // key number 5 (B), section 1, device 1
    sink.expectKey(0, true, 0);  // key number 4 (A), section 0, device 0
    sink.expectNoEvents();
}

TEST_F(ManagerLifecycle, DevicesPastTheLastSectionAreOpenedWithoutBinds) {
    attachPads(2);
    setSections(document, {{{buttonIn(0), {keyOut(4)}}}});
    ASSERT_TRUE(manager.init(&document));
    EXPECT_NE(manager.joystickMap[1]->joystick, nullptr);
    EXPECT_EQ(manager.joystickMap[1]->buttonCount, 12);
    EXPECT_FLOAT_EQ(manager.joystickMap[1]->axisDeadZones[3], 0.15f);
    manager.handleEvent(buttonEvent(pads[1]->instanceId(), 0, true));
    manager.handleEvent(axisEvent(pads[1]->instanceId(), 0, 32767));
    sink.expectNoEvents();
}

struct TimerCase {
    const char* what;
    std::vector<Section> sections;
    bool timer;
};

TEST_F(ManagerLifecycle, MotionTimerRunsOnlyForMotionOrWheelOutputs) {
    attachPads(1);
    const TimerCase cases[] = {
        {"keys, mouse buttons and wheel steps",
         {{{buttonIn(0), {keyOut(4), mouseButtonOut(1)}}, {axisIn(0, 1), {wheelStepOut(1, 1)}}}},
         false},
        {"mouse motion", {{{axisIn(0, 1), {motionOut(0, 1, 6)}}}}, true},
        {"wheel on a hat", {{{hatIn(0, 1), {wheelOut(1, 1, 3)}}}}, true},
        {"motion on an axis the device lacks", {{{axisIn(9, 1), {motionOut(0, 1, 6)}}}}, true},
        {"motion in a section without a device", {{}, {{buttonIn(0), {motionOut(0, 1, 6)}}}}, false},
        {"no sections", {}, false},
    };
    for (const TimerCase& c : cases) {
        SCOPED_TRACE(c.what);
        setSections(document, c.sections);
        ASSERT_TRUE(manager.init(&document));
        EXPECT_EQ(seams.timers.liveTimers(), c.timer ? 1 : 0);
        EXPECT_EQ(manager.mouseTimerEnabled, c.timer);
        manager.deinit();
        EXPECT_EQ(seams.timers.liveTimers(), 0);
    }
    ASSERT_TRUE(manager.init(nullptr)) << "a null document opens the devices";
    EXPECT_EQ(seams.timers.liveTimers(), 0);
}

TEST_F(ManagerLifecycle, InitTwiceReplacesMapsAndKeepsOneTimer) {
    attachPads(1);
    setSections(document, {{{buttonIn(0), {motionOut(0, 1, 6)}}}});
    ASSERT_TRUE(manager.init(&document));
    manager.handleEvent(buttonEvent(pads[0]->instanceId(), 0, true));
    ASSERT_EQ(mouseState.motionX.load(), 6.0f);
    ASSERT_TRUE(manager.init(&document));
    EXPECT_EQ(seams.timers.liveTimers(), 1);
    EXPECT_EQ(mouseState.motionX.load(), 0.0f); // the first set's deinit reset it
    EXPECT_EQ(manager.joystickMap[0]->buttonBinds[0].size(), 1u);
}

TEST_F(ManagerLifecycle, StartingTheTimerAgainStopsTheOldOne) {
    manager.startMouseTimer(10);
    manager.startMouseTimer(10);
    EXPECT_EQ(seams.timers.liveTimers(), 1);
    manager.stopMouseTimer();
    manager.stopMouseTimer();
    EXPECT_EQ(seams.timers.liveTimers(), 0);
}

TEST_F(ManagerLifecycle, DeinitOnAFreshManagerDrainsTheQueue) {
    pushUserEvent();
    manager.deinit();
    EXPECT_TRUE(queueIsEmpty());
    EXPECT_FALSE(manager.wasInit);
    EXPECT_EQ(SDL_JoystickEventState(SDL_QUERY), SDL_IGNORE);
    sink.expectNoEvents();
}

TEST_F(ManagerLifecycle, InputQueuedDuringInitIsDiscarded) {
    attachPads(1);
    setSections(document, {{{buttonIn(2), {keyOut(4)}}}});
    pushUserEvent();
    pads[0]->setButton(2, true);
    ASSERT_TRUE(manager.init(&document));
    EXPECT_TRUE(queueIsEmpty());
    sink.expectNoEvents();
}

TEST_F(ManagerLifecycle, DeinitReleasesHeldOutputsThenStopsTheTimerResetsMouseStateAndClosesDevices) {
    attachPads(1);
    setSections(document, {{{buttonIn(0), {motionOut(1, -1, 4), mouseButtonOut(2), keyOut(4)}}}});
    ASSERT_TRUE(manager.init(&document));
    manager.handleEvent(buttonEvent(pads[0]->instanceId(), 0, true));
    ASSERT_EQ(mouseState.motionY.load(), -4.0f);
    ASSERT_EQ(mouseState.buttonDown[2].load(), 1);
    pushUserEvent();
    manager.deinit();
    EXPECT_EQ(seams.timers.liveTimers(), 0);
    EXPECT_EQ(mouseState.motionY.load(), 0.0f);
    EXPECT_EQ(mouseState.buttonDown[2].load(), 0);
    EXPECT_EQ(mouseState.clickCount[2], 0);
    EXPECT_TRUE(manager.joystickMap.empty());
    EXPECT_FALSE(manager.wasInit);
    EXPECT_TRUE(queueIsEmpty());
    // The held button is let go of: its outputs go up, the mouse button with its click state.
    sink.expectMouse(MouseEventType::otherMouseDown, 0, 0, 2, 1);
    sink.expectKey(0, true, 0);
    sink.expectMouse(MouseEventType::otherMouseUp, 0, 0, 2, 1);
    sink.expectKey(0, false, 0);
    sink.expectNoEvents();
    // Later events of the closed device find no map.
    manager.handleEvent(buttonEvent(pads[0]->instanceId(), 0, false));
    sink.expectNoEvents();
}

} // namespace
} // namespace padloom::test
