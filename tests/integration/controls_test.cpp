// The editor names the controls of a pad that SDL maps as a game controller and shows it live.
#include "tests/integration/shell_harness.h"
#include "tests/integration/test_presets.h"
#include "tests/support/virtual_joystick.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

namespace padloom::test {
namespace {

TEST(ControlsTest, TheEditorNamesThePadsControlsLightsThemUpAndFindsThem) {
    if (!ShellHarness::displayAvailable())
        GTEST_SKIP() << "no display";
    ShellHarness harness;
    harness.writePreset("Pad.txt", presetText("Pad", "A on button 0"));
    JoystickSubsystemHold hold;
    VirtualJoystick pad(4, 12, 1); // SDL maps it by its counts: button 0 is A, axis 1 the left stick
    harness.start();
    ASSERT_EQ(harness.main("$('.preset .edit').first().click().length"), ScriptValue(1.0));
    const auto pageShows = [&](const std::string& expression, const std::string& text) {
        return pumpUntil([&] { return harness.config(expression).text() == text; })
                   ? text
                   : harness.config(expression).text();
    };
    EXPECT_EQ(pageShows("$('.bind .control-name').first().text()", "· A"), "· A");

    pad.setButton(0, true);
    EXPECT_EQ(pageShows("$('.bind.live-on').length + ' ' + $('.live-control').text()", "1 Button 0 · A"),
              "1 Button 0 · A");
    pad.setButton(0, false);
    EXPECT_EQ(pageShows("String($('.bind.live-on').length)", "0"), "0");

    // A control without binds: the editor offers one, which the offer adds, lit while it is held.
    pad.setButton(3, true);
    EXPECT_EQ(pageShows("$('.add-found:visible').text()", "Add a bind for Button 3 · Y"),
              "Add a bind for Button 3 · Y");
    harness.config("$('.add-found').click(); true");
    EXPECT_EQ(harness.config("$('.bind').length + ' ' + $('.bind.live-on').length"), ScriptValue("2 1"));

    // An axis row's meter follows the stick half (the new bind's input switched to axis 1 -).
    harness.config("$('.bind').last().find('select.input-kind').val('axi').trigger('change');"
                   "$('.bind').last().find('input.index').val('1').trigger('change');"
                   "$('.bind').last().find('select.direction').val('-').trigger('change'); true");
    EXPECT_EQ(harness.config("$('.bind').last().find('.control-name').text()"),
              ScriptValue("· Left stick up"));
    pad.setAxis(1, -32767);
    EXPECT_EQ(pageShows("$('.bind').last().find('.live-meter .fill')[0].style.width + ' ' + "
                        "$('.bind').last().hasClass('live-on')",
                        "100% true"),
              "100% true");

    // A capture owns the joystick events: the live view rests and clears what it showed.
    harness.controller().scanJoystickInput(0, 0);
    EXPECT_EQ(pageShows("String($('.bind.live-on').length)", "0"), "0");
    harness.controller().escapeCapture();
    ASSERT_TRUE(pumpUntil([&] { return !harness.controller().captureRunning(); }));
}

} // namespace
} // namespace padloom::test
