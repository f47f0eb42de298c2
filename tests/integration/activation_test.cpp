// Activating a preset from the main page drives the engine with a real (virtual) joystick.
#include "tests/integration/shell_harness.h"
#include "tests/integration/test_presets.h"
#include "tests/support/virtual_joystick.h"

#include <gtest/gtest.h>

namespace padloom::test {
namespace {

constexpr uint16_t kKeyA = 0; // virtual key code of key number 4

class ActivationTest : public HarnessTest {
protected:
    ActivationTest() : HarnessTest({{"Pad.txt", presetText("Pad", "A on button 0")}}) {}

    bool keyRecorded(bool down) {
        for (const RecordedEvent& event : harness.sink.events())
            if (event.kind == RecordedEvent::Kind::keyboard && event.keyCode == kKeyA && event.down == down)
                return true;
        return false;
    }
};

TEST_F(ActivationTest, ActivatingFromThePageMapsAButtonToAKeyAndThePanicItemStopsIt) {
    JoystickSubsystemHold hold;
    VirtualJoystick pad(2, 4, 1);
    ASSERT_TRUE(pad.attached());

    PageResult activated = harness.awaitMain("app.activatePreset_('Pad.txt')");
    ASSERT_TRUE(activated.settled);
    ASSERT_EQ(activated.value, ScriptValue(true)) << activated.error;
    EXPECT_EQ(harness.shell().joystickLabel().text(), "1 Joystick Connected");
    EXPECT_TRUE(harness.shell().menu().item(&MenuOutlets::deactivatePreset_mi).enabled());
    EXPECT_FALSE(harness.shell().menu().item(&MenuOutlets::refreshJoysticks_mi).enabled());

    pad.setButton(0, true);
    ASSERT_TRUE(pumpUntil([&] { return keyRecorded(true); }));
    pad.setButton(0, false);
    ASSERT_TRUE(pumpUntil([&] { return keyRecorded(false); }));

    harness.shell().menu().item(&MenuOutlets::deactivatePreset_mi).activate();
    EXPECT_FALSE(harness.controller().runner.joystickPollingEnabled);
    ASSERT_TRUE(pumpUntil([&] { return !harness.controller().runner.joystickPollingTaskRunning; }));
    EXPECT_EQ(harness.main("$('.selected').length"), ScriptValue(0.0));
    EXPECT_FALSE(harness.shell().menu().item(&MenuOutlets::deactivatePreset_mi).enabled());
    EXPECT_TRUE(harness.shell().menu().item(&MenuOutlets::refreshJoysticks_mi).enabled());

    // Nothing is left to turn joystick events into keys: the polling task has ended.
    harness.sink.clear();
    pad.setButton(0, true);
    SDL_PumpEvents();
    pad.setButton(0, false);
    SDL_PumpEvents();
    EXPECT_EQ(harness.sink.count(), 0u);
}

} // namespace
} // namespace padloom::test
