// The polling task's wait between batches: on the pads' device nodes (a named pipe stands in for
// one), or, for pads without a node, in short sleeps.
#include "app/pad_wait.h"
#include "tests/support/stand_in_node.h"
#include "tests/support/virtual_joystick.h"

#include <gtest/gtest.h>

#include <optional>
#include <thread>

namespace padloom::test {
namespace {

constexpr uint32_t longWaitMs = 10000; // a wait that ends sooner was ended by what the case did
constexpr uint32_t shortWaitMs = 30;

enum class Pads { standInNode, withoutNode };
enum class Act { nothing, send, wake, hangUp, press, queueEvent };

struct WaitCase {
    const char* what;
    Pads pads;
    Act before;
    Act during; // on another thread, once the wait is under way
    WaitEnd end;
    WaitEnd next; // of a short wait right after
};

class PollingWait : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sdl.ok()) << SDL_GetError();
        ASSERT_TRUE(pad.attached()) << SDL_GetError();
        if (SDL_NumJoysticks() != 1) {
            GTEST_SKIP() << "a joystick other than the test's own is connected";
        }
        SDL_JoystickEventState(SDL_ENABLE);             // as JoystickManager::init leaves it
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT); // the pad's arrival
    }

    void act(Act what, PadWait& wait) {
        SDL_Event event = buttonEvent(pad.instanceId(), 2, true);
        switch (what) {
        case Act::nothing:
            break;
        case Act::send:
            node->send();
            break;
        case Act::wake:
            wait.wake();
            break;
        case Act::hangUp:
            node->hangUp();
            break;
        case Act::press:
            pad.setButton(1, true);
            break;
        case Act::queueEvent:
            SDL_PushEvent(&event);
            break;
        }
    }

    SdlJoystickSession sdl;
    VirtualJoystick pad{2, 4, 0};
    std::optional<StandInNode> node;
};

TEST_F(PollingWait, EndsOnInputStopOrTimeOutOnly) {
    const WaitCase cases[] = {
        {"still pads: the time-out ends it", Pads::standInNode, Act::nothing, Act::nothing, WaitEnd::timedOut,
         WaitEnd::timedOut},
        {"input on a node, which is read and dropped", Pads::standInNode, Act::nothing, Act::send,
         WaitEnd::input, WaitEnd::timedOut},
        {"a stop request from another thread", Pads::standInNode, Act::nothing, Act::wake, WaitEnd::woken,
         WaitEnd::timedOut},
        {"a stop request made before the wait", Pads::standInNode, Act::wake, Act::nothing, WaitEnd::woken,
         WaitEnd::timedOut},
        {"a node that hangs up wakes it once and is dropped", Pads::standInNode, Act::nothing, Act::hangUp,
         WaitEnd::input, WaitEnd::timedOut},
        {"a joystick event already queued, which stays for the task", Pads::standInNode, Act::queueEvent,
         Act::nothing, WaitEnd::input, WaitEnd::input},
        {"a pad without a node, read in short sleeps", Pads::withoutNode, Act::nothing, Act::press,
         WaitEnd::input, WaitEnd::input},
    };
    for (const WaitCase& c : cases) {
        SCOPED_TRACE(c.what);
        node.emplace();
        ASSERT_TRUE(node->ok());
        SDL_Joystick* opened = c.pads == Pads::withoutNode ? SDL_JoystickOpen(pad.deviceIndex()) : nullptr;
        PadWait wait(c.pads == Pads::withoutNode ? PadWait::NodeSource(openJoystickNodes)
                                                 : [this] { return node->nodes(); });
        act(c.before, wait);
        std::thread other([&] {
            SDL_Delay(50);
            act(c.during, wait);
        });
        const bool ended = c.before != Act::nothing || c.during != Act::nothing;
        EXPECT_EQ(wait.wait(ended ? longWaitMs : shortWaitMs), c.end);
        other.join();
        EXPECT_EQ(wait.wait(shortWaitMs), c.next);

        pad.setButton(1, false);
        SDL_JoystickUpdate();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        if (opened) {
            SDL_JoystickClose(opened);
        }
    }
}

} // namespace
} // namespace padloom::test
