// Switching from one preset to another with the main page's switches: the application switches,
// and a preset that can't be switched on leaves the active one running and marked.
#include "tests/integration/shell_harness.h"

namespace padloom::test {
namespace {

class Switch : public HarnessTest {
protected:
    Switch()
        : HarnessTest({{"Pad.txt", presetText("Pad", "first")}, {"Other.txt", presetText("Other", "b")}}) {}

    // A click on the entry's text, as on its switch.
    void click(const std::string& file) {
        harness.main("hideNotice(); $('.preset').filter((i, e) => $(e).data('file') === '" + file +
                     "').find('text').click(); true");
    }
    std::string marked() {
        return harness.main("$('.preset.selected').map((i, e) => $(e).data('file')).get().join()").text();
    }
    bool settled() { return harness.main("!busy && !$('#blockLayer').is(':visible')") == ScriptValue(true); }
};

TEST_F(Switch, APresetThatNoLongerReadsLeavesTheActiveOneRunning) {
    HeldJoystick pad(2, 4, 1);
    click("Pad.txt");
    ASSERT_TRUE(pumpUntil([&] { return settled() && marked() == "Pad.txt"; }));
    pad.setButton(0, true);
    ASSERT_TRUE(pumpUntil([&] { return harness.sink.count() == 1; }));

    harness.writePreset("Other.txt", "{ nope");
    click("Other.txt");
    ASSERT_TRUE(
        pumpUntil([&] { return harness.main("$('#notice').hasClass('open')") == ScriptValue(true); }));
    EXPECT_TRUE(pumpUntil([&] { return settled(); }));
    EXPECT_NE(harness.main("$('#noticeText').text()").text().find("could not be read"), std::string::npos);
    EXPECT_EQ(marked(), "Pad.txt");
    EXPECT_EQ(harness.controller().runner().activePath(), (harness.presetFolder() / "Pad.txt").string());
    EXPECT_EQ(harness.sink.count(), 1u) << "the held key was let go";

    harness.writePreset("Other.txt", presetText("Other", "b"));
    click("Other.txt");
    ASSERT_TRUE(pumpUntil([&] { return settled() && marked() == "Other.txt"; }));
    EXPECT_EQ(harness.controller().runner().activePath(), (harness.presetFolder() / "Other.txt").string());
    harness.sink.expectKey(0, true, 0);
    harness.sink.expectKey(0, false, 0);
    harness.sink.expectNoEvents();
}

} // namespace
} // namespace padloom::test
