// SPDX-License-Identifier: GPL-3.0-or-later
// The polling task on real threads: its wait between batches, on the pads' device nodes (a named
// pipe stands in for one) or, for pads without a node, in short sleeps; and the whole task, with
// the motion timer resting and waking under it. Run under ThreadSanitizer by `make test-threads`.
#include "app/running/pad_wait.h"
#include "app/running/preset_runner.h"
#include "tests/support/eventually.h"
#include "tests/support/recording_sink.h"
#include "tests/support/stand_in_node.h"
#include "tests/support/virtual_joystick.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace padloom::test {
namespace {

constexpr uint32_t longWaitMs = 10000; // a wait that ends sooner was ended by what the case did
constexpr uint32_t shortWaitMs = 30;

class Polling : public VirtualPadTest {
protected:
    Polling() : VirtualPadTest({2, 4, 0}, SDL_INIT_TIMER) {}
    void SetUp() override {
        VirtualPadTest::SetUp();
        ASSERT_TRUE(node->ok());
        SDL_JoystickEventState(SDL_ENABLE);             // as JoystickManager::init leaves it
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT); // the pad's arrival
    }

    // A preset of one section with these binds, in a folder of the fixture's.
    std::string presetWithBinds(const std::string& binds) {
        return folder.write("p.json", R"({"name": "P", "tag": "t", "joysticks": [{"tag": "pad", "binds": {)" +
                                          binds + "}}]}");
    }

    std::optional<StandInNode> node{std::in_place};
    TempFolder folder;
};

const PadWait::ChangeSource noDeviceChanges = [] { return std::unique_ptr<DeviceChanges>(); };

struct WaitCase {
    const char* what;
    bool withoutNode;             // the pad's own (none) rather than the stand-in node
    std::function<void()> before; // before the wait
    std::function<void()> during; // on another thread, once the wait is under way
    WaitEnd end;
    WaitEnd next; // of a short wait right after
};

TEST_F(Polling, TheWaitEndsOnInputStopOrTimeOutOnly) {
    PadWait* wait = nullptr;
    const auto send = [&] { node->send(); };
    const auto wake = [&] { wait->wake(); };
    const auto queue = [&] {
        SDL_Event event = buttonEvent(pad.instanceId(), 2, true);
        SDL_PushEvent(&event);
    };
    const auto hangUp = [&] { node->hangUp(); };
    const auto press = [&] { pad.setButton(1, true); };
    using enum WaitEnd;
    const WaitCase cases[] = {
        {"still pads: the time-out ends it", false, {}, {}, timedOut, timedOut},
        {"input on a node, which is read and dropped", false, {}, send, input, timedOut},
        {"a stop request from another thread", false, {}, wake, woken, timedOut},
        {"a stop request made before the wait", false, wake, {}, woken, timedOut},
        {"a node that hangs up wakes it once, then is dropped", false, {}, hangUp, input, timedOut},
        {"a joystick event already queued stays for the task", false, queue, {}, input, input},
        {"a pad without a node, read in short sleeps", true, {}, press, input, input},
    };
    for (const WaitCase& c : cases) {
        SCOPED_TRACE(c.what);
        node.emplace();
        SDL_Joystick* opened = c.withoutNode ? SDL_JoystickOpen(pad.deviceIndex()) : nullptr;
        PadWait padWait(c.withoutNode ? PadWait::NodeSource(openJoystickNodes)
                                      : [&] { return node->nodes(); });
        wait = &padWait;
        if (c.before) {
            c.before();
        }
        std::thread other([&] {
            SDL_Delay(50);
            if (c.during) {
                c.during();
            }
        });
        EXPECT_EQ(padWait.wait(c.before || c.during ? longWaitMs : shortWaitMs), c.end);
        other.join();
        EXPECT_EQ(padWait.wait(shortWaitMs), c.next);

        pad.setButton(1, false);
        SDL_JoystickUpdate();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        SDL_JoystickClose(opened);
    }
}

// With device changes heard, a still pad on a node is waited for without a time-out; a change
// ends the wait, and for a while after it the task looks again, asking for the nodes anew.
TEST_F(Polling, ADeviceChangeEndsAWaitWithoutTimeOutAndTheTaskLooksAgain) {
    StandInNode changes;
    ASSERT_TRUE(changes.ok());
    int asked = 0;
    PadWait padWait(
        [&] {
            ++asked;
            return node->nodes();
        },
        changes.changeSource());
    EXPECT_EQ(padWait.wait(shortWaitMs), WaitEnd::timedOut);
    EXPECT_EQ(padWait.stillWaitMs(500), PadWait::noTimeOut) << "device changes are heard";
    changes.send();
    EXPECT_EQ(padWait.wait(longWaitMs), WaitEnd::devicesChanged);
    EXPECT_EQ(padWait.stillWaitMs(500), 500U) << "for a while after a change, the task looks again";
    const int before = asked;
    EXPECT_EQ(padWait.wait(shortWaitMs), WaitEnd::timedOut) << "the change was taken";
    EXPECT_EQ(asked, before + 1) << "the nodes are asked for anew after a change";
}

TEST_F(Polling, WithoutDeviceChangesAPadOnANodeOrOnceTheSourceFailsTheTaskWaitsWithATimeOut) {
    PadWait unheard([&] { return node->nodes(); }, noDeviceChanges);
    EXPECT_EQ(unheard.wait(shortWaitMs), WaitEnd::timedOut);
    EXPECT_EQ(unheard.stillWaitMs(500), 500U) << "no source";

    StandInNode heard;
    PadWait noPad([] { return PadNodes{}; }, heard.changeSource());
    EXPECT_EQ(noPad.wait(shortWaitMs), WaitEnd::timedOut);
    EXPECT_EQ(noPad.stillWaitMs(500), 500U) << "a pad that comes may have no node";

    StandInNode changes;
    PadWait padWait([&] { return node->nodes(); }, changes.changeSource());
    EXPECT_EQ(padWait.wait(shortWaitMs), WaitEnd::timedOut);
    changes.hangUp();
    EXPECT_EQ(padWait.wait(longWaitMs), WaitEnd::devicesChanged) << "the task looks once";
    EXPECT_EQ(padWait.wait(shortWaitMs), WaitEnd::timedOut) << "the failed source is dropped";
    EXPECT_EQ(padWait.stillWaitMs(500), 500U);
}

TEST_F(Polling, TheTaskMapsInputOnEitherWayOfWaitingAndStopsAtOnce) {
    const std::string preset = presetWithBinds(R"("btn 0": ["key 44"], "axi 0 +": ["mou 0 + 6"])");
    RecordingSink sink;
    for (const bool withoutNode : {false, true}) {
        SCOPED_TRACE(withoutNode ? "a pad without a node" : "a device node");
        const auto input = [&] {
            if (!withoutNode) {
                node->send();
            }
        };
        PresetRunner runner(withoutNode ? PadWait::NodeSource(openJoystickNodes)
                                        : [&] { return node->nodes(); });
        runner.engine.eventSink.set(&sink);
        ASSERT_TRUE(runner.activate(preset));
        for (int round = 0; round < 3; ++round) {
            runner.startPolling();
            sink.clear();
            pad.setButton(0, round % 2 == 0);
            pad.setAxis(0, 32767);
            input();
            EXPECT_TRUE(eventually([&] { return sink.count() >= 4; })) << "a key and motion, round " << round;
            pad.setAxis(0, 0);
            input();
            EXPECT_TRUE(eventually([&] { return runner.engine.motionTimer.resting(); }));
            runner.stopPolling();
            EXPECT_TRUE(eventually([&] { return !runner.joystickPollingTaskRunning; }));
        }
    }
}

TEST_F(Polling, TheNodesAreAskedForAgainOnlyWhenThePadsMayHaveChanged) {
    int asked = 0;
    PadWait padWait([&] {
        ++asked;
        return node->nodes();
    });
    for (int i = 0; i < 3; ++i) {
        node->send();
        EXPECT_EQ(padWait.wait(longWaitMs), WaitEnd::input);
    }
    EXPECT_EQ(asked, 1) << "input that flows";
    padWait.padsChanged();
    node->send();
    EXPECT_EQ(padWait.wait(longWaitMs), WaitEnd::input);
    EXPECT_EQ(asked, 2) << "a pad came or went";
    EXPECT_EQ(padWait.wait(shortWaitMs), WaitEnd::timedOut);
    EXPECT_EQ(padWait.wait(shortWaitMs), WaitEnd::timedOut);
    EXPECT_EQ(asked, 3) << "a still spell";
}

TEST_F(Polling, EventsThatComeTogetherAreMappedInTheOrderTheyCame) {
    const std::string preset = presetWithBinds(R"("btn 0": ["key 44"], "btn 1": ["key 45"])");
    RecordingSink sink;
    PresetRunner runner([&] { return node->nodes(); });
    runner.engine.eventSink.set(&sink);
    ASSERT_TRUE(runner.activate(preset));
    runner.startPolling();
    const std::pair<uint8_t, bool> changes[] = {{0, true}, {1, true}, {0, false}, {1, false},
                                                {1, true}, {0, true}, {1, false}, {0, false}};
    constexpr size_t rounds = 5; // more events than the task takes from SDL's queue at a time
    for (size_t round = 0; round < rounds; ++round) {
        for (const auto& [button, down] : changes) {
            SDL_Event event = buttonEvent(pad.instanceId(), button, down);
            SDL_PushEvent(&event);
        }
    }
    node->send();
    ASSERT_TRUE(eventually([&] { return sink.count() >= rounds * std::size(changes); }));
    const uint16_t keys[] = {49, 27}; // key 44 (space) and key 45 (minus)
    for (size_t round = 0; round < rounds; ++round) {
        for (const auto& [button, down] : changes) {
            sink.expectKey(keys[button], down, 0);
        }
    }
    sink.expectNoEvents();
    runner.stopPolling();
    EXPECT_TRUE(eventually([&] { return !runner.joystickPollingTaskRunning; }));
}

} // namespace
} // namespace padloom::test
