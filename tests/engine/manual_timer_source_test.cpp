#include "engine/manual_timer_source.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace padloom {
namespace {

// Counts its calls and answers the interval in its param's `answer`.
struct Probe {
    uint32_t answer;
    int calls = 0;
};

uint32_t probeTick(uint32_t, void* param) {
    Probe* probe = static_cast<Probe*>(param);
    ++probe->calls;
    return probe->answer;
}

TEST(ManualTimerSource, TimerThatAnswersZeroRunsNoMore) {
    struct Case {
        uint32_t answer;
        int callsAfterTwoTicks;
        int liveAfter;
    };
    const Case cases[] = {{10, 2, 1}, {0, 1, 0}};
    for (const Case& c : cases) {
        ManualTimerSource timers;
        Probe probe{c.answer};
        timers.add(10, probeTick, &probe);
        timers.tick();
        timers.tick();
        EXPECT_EQ(probe.calls, c.callsAfterTwoTicks) << "answer " << c.answer;
        EXPECT_EQ(timers.liveTimers(), c.liveAfter) << "answer " << c.answer;
    }
}

TEST(ManualTimerSource, RemovedTimerDoesNotRunAndUnknownIdsAreIgnored) {
    ManualTimerSource timers;
    Probe first{10};
    Probe second{10};
    const int a = timers.add(10, probeTick, &first);
    timers.add(10, probeTick, &second);
    timers.remove(a);
    timers.remove(0);
    timers.remove(99);
    EXPECT_EQ(timers.tick(), 1);
    EXPECT_EQ(first.calls, 0);
    EXPECT_EQ(second.calls, 1);
}

} // namespace
} // namespace padloom
