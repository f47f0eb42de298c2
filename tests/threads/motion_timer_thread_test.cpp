// SPDX-License-Identifier: GPL-3.0-or-later
// The motion tick on the engine's timer thread while the polling side evaluates events and the main
// side tears the manager down. Run under ThreadSanitizer by `make test-threads`.
#include "engine/engine.h"
#include "engine/joystick_manager.h"
#include "tests/support/bind_builders.h"
#include "tests/support/eventually.h"
#include "tests/support/fixed_displays.h"
#include "tests/support/recording_sink.h"
#include "tests/support/virtual_joystick.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace padloom::test {
namespace {

// The real clock and timer source are in use.
class MotionTimerThreads : public VirtualPadTest {
protected:
    MotionTimerThreads() : VirtualPadTest({2, 4, 0}) {}
    void SetUp() override {
        VirtualPadTest::SetUp();
        engine.screenGeometry.computeAllDisplays(displays, false);
        sink.setCursor(500, 500);
        engine.eventSink.set(&sink);
    }

    FixedDisplays displays{{0, 0, 1920, 1080}};
    Engine engine;
    RecordingSink sink;
    JoystickManager manager{engine};
};

TEST_F(MotionTimerThreads, DeinitStopsTicksThatRunWhileEventsAreEvaluated) {
    ASSERT_TRUE(manager.init(nullptr));
    ASSERT_TRUE(manager.joystickMap[0]->attachBind(axisIn(0, 1), motionOut(0, 1, 3)));
    ASSERT_TRUE(manager.joystickMap[0]->attachBind(buttonIn(1), motionOut(1, -1, 2)));
    manager.startMouseTimer(1);
    ASSERT_TRUE(manager.mouseTimerEnabled);

    // The polling side: the activation lock keeps it apart from deinit, here the join does.
    std::thread polling([&] {
        for (int i = 0; i < 200; ++i) {
            // At 0 the timer rests, so the ticks race the wakes too.
            const int value = i % 4 == 3 ? 0 : 8000 + 100 * i;
            manager.handleEvent(axisEvent(pad.instanceId(), 0, static_cast<int16_t>(value)));
            manager.handleEvent(buttonEvent(pad.instanceId(), 1, i % 2 == 0));
        }
        manager.handleEvent(axisEvent(pad.instanceId(), 0, 32767));
    });
    polling.join();
    ASSERT_TRUE(eventually([&] { return sink.count() >= 3; })); // every bind posts motion

    manager.deinit();
    const size_t afterDeinit = sink.count();
    EXPECT_EQ(engine.mouseState.motionX.load(), 0.0f);
    SDL_Delay(30); // three periods of a timer that should be gone
    EXPECT_EQ(sink.count(), afterDeinit);
}

TEST_F(MotionTimerThreads, TimersAreOverOnceRemovedOrEndedAndEndedOnesFreeTheirPlace) {
    static std::atomic<int> running{0};
    static std::atomic<int> calls{0};
    const auto callback = [](uint32_t interval, void* endsItself) -> uint32_t {
        running.store(1);
        calls.fetch_add(1);
        SDL_Delay(2);
        running.store(0);
        return endsItself ? 0 : interval;
    };
    int spent = 0;
    for (int round = 0; round < 20; ++round) { // more timers that end themselves than the source holds
        const bool endsItself = round % 2 == 0;
        const int before = calls.load();
        const int id = engine.timerSource->add(1, callback, endsItself ? &calls : nullptr);
        ASSERT_NE(id, 0) << "round " << round;
        ASSERT_TRUE(eventually([&] { return calls.load() > before; }));
        if (endsItself) {
            spent = id;
        } else {
            engine.timerSource->remove(id);
            EXPECT_EQ(running.load(), 0) << "round " << round;
        }
    }
    const int kept = engine.timerSource->add(1, callback, nullptr);
    engine.timerSource->remove(spent);
    const int before = calls.load();
    EXPECT_TRUE(eventually([&] { return calls.load() > before + 2; }))
        << "removing a spent id stopped another";
    engine.timerSource->remove(kept);
}

TEST(SteadyTimers, NoCallBeginsSoonerThanTheRestAfterTheOneBefore) {
    constexpr uint32_t restMs = 5;
    constexpr int callCount = 6;
    static std::chrono::steady_clock::time_point begins[callCount];
    static std::atomic<int> calls{0};
    const auto callback = [](uint32_t interval, void*) -> uint32_t {
        const int call = calls.load();
        begins[call] = std::chrono::steady_clock::now();
        calls.store(call + 1);
        return call + 1 < callCount ? interval : 0;
    };
    SteadyTimerSource timers(restMs);
    timers.add(1, callback, nullptr);
    ASSERT_TRUE(eventually([] { return calls.load() == callCount; }));
    for (int i = 1; i < callCount; ++i) {
        EXPECT_GE(begins[i] - begins[i - 1], std::chrono::milliseconds(restMs)) << "call " << i;
    }
}

// The time slice of the calling thread as the scheduler reports it; 0 where the kernel keeps none
// for the fair scheduler.
uint64_t sliceOfThisThreadNs() {
    SchedAttributes attributes;
    return syscall(SYS_sched_getattr, 0, &attributes, sizeof attributes, 0) == 0 ? attributes.runtime : 0;
}

TEST(SteadyTimers, TheTimerThreadRunsWithAShortSlice) {
    static std::atomic<uint64_t> slice{UINT64_MAX};
    const auto callback = [](uint32_t, void*) -> uint32_t {
        slice.store(sliceOfThisThreadNs());
        return 0;
    };
    SteadyTimerSource timers;
    timers.add(1, callback, nullptr);
    ASSERT_TRUE(eventually([] { return slice.load() != UINT64_MAX; }));
    if (slice.load() == 0) {
        GTEST_SKIP() << "this kernel keeps no slice for the fair scheduler";
    }
    EXPECT_EQ(slice.load(), timerThreadSliceNs);
}

} // namespace
} // namespace padloom::test
