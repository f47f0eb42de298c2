// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/output_events.h"
#include "preset/vantry_document.h"
#include "tests/engine/engine_fixture.h"

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

class ManagerLifecycle : public EngineTest {
protected:
    VantryDocument document;
};

struct TimerCase {
    const char* what;
    std::vector<Section> sections;
    bool timer;
};

TEST_F(ManagerLifecycle, MotionTimerRunsOnlyForMotionOrWheelOutputs) {
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
    // A second init replaces the first one's maps and timer.
    setSections(document, {{{buttonIn(0), {motionOut(0, 1, 6)}}}});
    ASSERT_TRUE(manager.init(&document));
    feed(buttonEvent(id(), 0, true));
    ASSERT_EQ(engine.mouseState.motionX.load(), 6.0f);
    ASSERT_TRUE(manager.init(&document));
    EXPECT_EQ(seams.timers.liveTimers(), 1);
    EXPECT_EQ(engine.mouseState.motionX.load(), 0.0f);
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

// The modifiers the engine believes held belong to the engine, not to one activation: they
// survive deinit and the next init, and another engine keeps its own.
TEST_F(ManagerLifecycle, ModifierFlagsLiveWithTheirEngine) {
    setSections(document, {{{buttonIn(0), {keyOut(4)}}}});
    ASSERT_TRUE(manager.init(&document));
    engine.modifierFlags = shiftFlag; // as if a shift key were still believed held
    manager.deinit();
    Engine other;
    EngineSeams otherSeams(other);
    JoystickManager second(other);
    for (JoystickManager* m : {&manager, &second}) {
        ASSERT_TRUE(m->init(&document));
        m->handleEvent(buttonEvent(id(), 0, true));
    }
    sink.expectKey(0, true, shiftFlag);
    otherSeams.sink.expectKey(0, true, 0);
}

TEST_F(ManagerLifecycle, InitAndDeinitDiscardWhatIsQueued) {
    JoystickManager fresh(engine);
    pushUserEvent();
    fresh.deinit();
    EXPECT_TRUE(queueIsEmpty());
    EXPECT_FALSE(fresh.wasInit);
    EXPECT_EQ(SDL_JoystickEventState(SDL_QUERY), SDL_IGNORE);
    setSections(document, {{{buttonIn(2), {keyOut(4)}}}});
    pushUserEvent();
    pad.setButton(2, true);
    ASSERT_TRUE(manager.init(&document));
    EXPECT_TRUE(queueIsEmpty());
    sink.expectNoEvents();
}

} // namespace
} // namespace padloom::test
