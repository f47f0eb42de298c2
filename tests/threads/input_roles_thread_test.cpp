// SPDX-License-Identifier: GPL-3.0-or-later
// Turbo and sequences post keys from the motion tick on SDL's timer thread while the polling side
// evaluates presses of the same pad: run under ThreadSanitizer by `make test-threads`. Whatever
// the interleaving, deactivation leaves no key down.
#include "engine/engine.h"
#include "engine/joystick_manager.h"
#include "preset/vantry_document.h"
#include "tests/support/eventually.h"
#include "tests/support/fixed_displays.h"
#include "tests/support/recording_sink.h"
#include "tests/support/virtual_joystick.h"

#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <thread>

namespace padloom::test {
namespace {

// Counts what is held: each key's presses less its releases, and the left button's; the tick and
// the polling side post into it at once.
class HeldCount : public RecordingSink {
public:
    void postKeyboard(uint16_t keyCode, bool down, std::optional<uint64_t> flags) override {
        RecordingSink::postKeyboard(keyCode, down, flags);
        const std::lock_guard<std::mutex> lock(mutex_);
        keys_[keyCode] += down ? 1 : -1;
    }
    void postMouse(MouseEventType type, float x, float y, int32_t button, int32_t clickState, int64_t dx,
                   int64_t dy) override {
        RecordingSink::postMouse(type, x, y, button, clickState, dx, dy);
        const std::lock_guard<std::mutex> lock(mutex_);
        buttons_ += type == MouseEventType::leftMouseDown ? 1 : type == MouseEventType::leftMouseUp ? -1 : 0;
    }
    std::map<uint16_t, int> keys() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return keys_;
    }
    int buttons() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return buttons_;
    }

private:
    std::mutex mutex_;
    std::map<uint16_t, int> keys_;
    int buttons_ = 0;
};

// Turbo on a modifier and on a letter, a toggle, and a sequence that presses a key and a button.
constexpr const char* preset = R"({"joysticks":[{"tag":"P",
    "modes":{"btn 0":"turbo 50","btn 1":"toggle","btn 3":"turbo 25"},
    "sequences":{"btn 2":["key 5","wait 10","mbt 0","key 6"]},
    "binds":{"btn 0":["key 225"],"btn 1":["key 4"],"btn 3":["key 7"]}}]})";

TEST(InputRolesThreads, TickAndPollingPostKeysTogetherAndDeinitLeavesNoneDown) {
    SdlJoystickSession sdl{SDL_INIT_JOYSTICK | SDL_INIT_TIMER};
    ASSERT_TRUE(sdl.ok()) << SDL_GetError();
    VirtualJoystick pad{2, 4, 0};
    ASSERT_TRUE(pad.attached()) << SDL_GetError();
    if (SDL_NumJoysticks() != 1) {
        GTEST_SKIP() << "a joystick other than the test's own is connected";
    }
    FixedDisplays displays{{0, 0, 1920, 1080}};
    Engine engine;
    HeldCount sink;
    engine.screenGeometry.computeAllDisplays(displays, false);
    engine.eventSink.set(&sink);
    VantryDocument document;
    ASSERT_TRUE(document.readText(preset) && document.interpret()) << document.lastError();
    JoystickManager manager{engine};
    ASSERT_TRUE(manager.init(&document));

    std::thread polling([&] {
        for (int i = 0; i < 300; ++i) {
            const auto button = static_cast<uint8_t>(i % 4);
            manager.handleEvent(buttonEvent(pad.instanceId(), button, (i / 4) % 2 == 0));
            if (i % 8 == 0) {
                SDL_Delay(1); // lets ticks fall between the presses
            }
        }
        manager.handleEvent(buttonEvent(pad.instanceId(), 0, true));
        manager.handleEvent(buttonEvent(pad.instanceId(), 2, true));
    });
    polling.join();
    const size_t held = sink.count();
    ASSERT_TRUE(eventually([&] { return sink.count() > held + 4; })) << "the tick pulses the held turbo";

    manager.deinit();
    for (const auto& [code, count] : sink.keys()) {
        EXPECT_EQ(count, 0) << "key code " << code;
    }
    EXPECT_EQ(sink.buttons(), 0);
    EXPECT_EQ(engine.modifierFlags, 0u);
    EXPECT_EQ(engine.roleTicks.load(), 0);
}

} // namespace
} // namespace padloom::test
