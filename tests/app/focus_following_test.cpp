// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/app/app_fixture.h"

#include <filesystem>

namespace padloom::test {
namespace {

class FakeFocusMonitor : public FocusMonitor {
public:
    bool available() const override { return true; }
    void install(std::function<void(const FocusedWindow&)> onFocus) override { handler = std::move(onFocus); }
    void remove() override { handler = nullptr; }
    std::function<void(const FocusedWindow&)> handler;
};

// "focus NAME" (a window of that class; "focus" alone: none), "own" (one of the app's windows),
// "hand FILE" / "off" (switched on or off by hand), "edit FILE" (opened in the editor), "delete FILE",
// "press" (the pad's button 0, held from then on), "held" (nothing was posted since the press: what
// runs was not stopped in between).
struct Step {
    std::string action;
    std::string active; // the preset that runs afterwards; "" for none
};

struct Scenario {
    const char* what;
    std::vector<Step> steps;
};

class FocusFollowingTest : public JoystickAppTest, public ::testing::WithParamInterface<Scenario> {
protected:
    void run(const std::string& action) {
        const std::string verb = action.substr(0, action.find(' '));
        const std::string arg = action.size() > verb.size() ? action.substr(verb.size() + 1) : "";
        if (verb == "focus" || verb == "own") {
            monitor.handler({arg, arg, verb == "own"});
            loop.runQueued();
        } else if (verb == "hand") {
            EXPECT_TRUE(controller().activatePreset(arg));
        } else if (verb == "off") {
            controller().deactivatePreset();
        } else if (verb == "edit") {
            controller().createOrEditPreset(arg);
            EXPECT_TRUE(controller().editor().editingPresetPath());
        } else if (verb == "delete") {
            std::filesystem::remove(presets() + arg);
        } else if (verb == "press") {
            const size_t before = seams.sink.count();
            pads[0]->setButton(0, true);
            ASSERT_TRUE(eventually([&] { return seams.sink.count() > before; }));
            posted = seams.sink.count();
        } else if (verb == "held") {
            EXPECT_EQ(seams.sink.count(), posted);
        }
    }
    FakeFocusMonitor monitor;
    size_t posted = 0;
};

TEST_P(FocusFollowingTest, SwitchesPresetsAsTheFocusMoves) {
    addPad();
    writePreset("hand.txt", presetText("Hand"));
    writePreset("game.txt",
                R"({"name":"Game","activateFor":["game*"],"joysticks":[{"binds":{"btn 0":[]}}]})");
    writePreset("tool.txt", R"({"name":"Tool","activateFor":["tool"]})");
    controller().reloadPresets();
    controller().focusFollowing().start(&monitor, loop);
    for (const Step& step : GetParam().steps) {
        run(step.action);
        EXPECT_EQ(controller().focusFollowing().currentPreset().value_or(""), step.active) << step.action;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, FocusFollowingTest,
    ::testing::Values(
        Scenario{"returns_to_none_and_ignores_its_own_windows",
                 {{"focus game_1", "game.txt"}, {"own", "game.txt"}, {"focus", ""}}},
        Scenario{"a_change_by_hand_holds_while_the_same_preset_names_the_focused_program",
                 {{"focus game_1", "game.txt"},
                  {"off", ""},
                  {"focus game_2", ""},
                  {"focus other", ""},
                  {"focus game_1", "game.txt"},
                  {"hand hand.txt", "hand.txt"},
                  {"focus game_3", "hand.txt"},
                  {"focus tool", "tool.txt"},
                  {"focus other", "hand.txt"}}},
        Scenario{"a_preset_open_in_the_editor_is_left_out", {{"edit game.txt", ""}, {"focus game_1", ""}}},
        Scenario{
            "a_preset_that_fails_falls_back_to_the_one_switched_on_by_hand",
            {{"hand hand.txt", "hand.txt"}, {"delete game.txt", "hand.txt"}, {"focus game_1", "hand.txt"}}}),
    [](const auto& info) { return std::string(info.param.what); });

// The preset it falls back to still runs: it is not stopped and started again.
INSTANTIATE_TEST_SUITE_P(Fallback, FocusFollowingTest,
                         ::testing::Values(Scenario{"keeps_what_runs",
                                                    {{"hand hand.txt", "hand.txt"},
                                                     {"press", "hand.txt"},
                                                     {"delete game.txt", "hand.txt"},
                                                     {"focus game_1", "hand.txt"},
                                                     {"held", "hand.txt"}}}),
                         [](const auto& info) { return std::string(info.param.what); });

} // namespace
} // namespace padloom::test
