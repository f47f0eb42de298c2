// SPDX-License-Identifier: GPL-3.0-or-later
// Switching presets from the pad: where "next", "previous" and a file name lead, and the desktop
// app doing the switch on its main loop, with a notification either way.
#include "app/pages/page_scripts.h"
#include "app/presets/switch_target.h"
#include "tests/app/app_fixture.h"

namespace padloom::test {
namespace {

struct TargetRow {
    const char* what;
    std::string current;
    std::string to;
    std::string file;    // empty: no switch
    std::string problem; // part of it
};

ListedPreset listed(const std::string& file, const std::string& problem = "") {
    ListedPreset entry;
    entry.file = file;
    entry.readable = problem.empty();
    entry.problem = problem;
    return entry;
}

TEST(SwitchTarget, FollowsTheListOrderAndSaysWhyNot) {
    const std::vector<ListedPreset> list = {listed("a.json"), listed("broken.json", "line 3"),
                                            listed("b.json"), listed("sub/c.json"),
                                            listed("bad.json", "line 1")};
    const TargetRow rows[] = {
        {"next", "a.json", "next", "b.json", ""},
        {"next wraps round", "sub/c.json", "next", "a.json", ""},
        {"previous wraps round", "a.json", "previous", "sub/c.json", ""},
        {"previous passes over unreadable", "b.json", "previous", "a.json", ""},
        {"not listed: next is the first", "elsewhere.json", "next", "a.json", ""},
        {"not listed: previous is the last", "elsewhere.json", "previous", "sub/c.json", ""},
        {"by file name", "a.json", "sub/c.json", "sub/c.json", ""},
        {"a name not in the folder", "a.json", "gone.json", "", "No preset file \"gone.json\""},
        {"a file that does not read", "a.json", "bad.json", "", "does not read: line 1"},
        {"a preset name is not a file name", "a.json", "Next", "", "No preset file \"Next\""},
    };
    for (const TargetRow& row : rows) {
        SCOPED_TRACE(row.what);
        const SwitchTarget target = switchTarget(list, row.current, row.to);
        EXPECT_EQ(target.file, row.file);
        EXPECT_NE(target.problem.find(row.problem), std::string::npos) << target.problem;
        EXPECT_EQ(target.problem.empty(), !row.file.empty());
    }
    const std::vector<ListedPreset> alone = {listed("a.json"), listed("x.json", "line 2")};
    EXPECT_EQ(switchTarget(alone, "a.json", "next").problem,
              "The preset list holds no other preset that reads.");
}

using PadSwitches = JoystickAppTest;

// Decided on the polling thread, done on the main loop: the preset after it in the list comes on,
// the list marks it and a notification names it. A target that is not there leaves the running
// preset on and says why.
TEST_F(PadSwitches, SwitchOnTheMainLoopAndNotify) {
    writePreset("a.txt", R"({"name":"Alpha","joysticks":[{"tag":"P","switches":[{"press":["btn 1","btn 2"],
        "to":"next"},{"press":["btn 3"],"to":"gone.txt"}],"binds":{"btn 1":["key 4"]}}]})");
    writePreset("b.txt", presetText("Bravo"));
    controller().reloadPresets();
    VirtualJoystick& pad = addPad();
    ASSERT_TRUE(controller().activatePreset("a.txt"));

    pad.setButton(1, true);
    pad.setButton(2, true);
    ASSERT_TRUE(eventually([&] {
        loop.runQueued();
        return controller().switching().activePresetFile() == "b.txt";
    }));
    EXPECT_EQ(notifier.shown, std::vector<std::string>{"Preset switched: Bravo is on."});
    EXPECT_EQ(mainPage.scripts.back(), main_page::markActivePreset("b.txt"));
    seams.sink.expectKey(0, true, 0);
    seams.sink.expectKey(0, false, 0); // released by the switch, before the pads close
    seams.sink.expectNoEvents();

    pad.setButton(1, false);
    pad.setButton(2, false);
    ASSERT_TRUE(controller().activatePreset("a.txt"));
    pad.setButton(3, true);
    ASSERT_TRUE(eventually([&] {
        loop.runQueued();
        return notifier.shown.size() == 2;
    }));
    EXPECT_EQ(notifier.shown[1],
              "Preset not switched: The pad asked to switch to \"gone.txt\". No preset file "
              "\"gone.txt\" is in the preset folder. Alpha stays on.");
    EXPECT_EQ(controller().switching().activePresetFile(), "a.txt");
}

} // namespace
} // namespace padloom::test
