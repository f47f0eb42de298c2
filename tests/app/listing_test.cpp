// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pads/joystick_listing.h"
#include "app/pages/page_scripts.h"
#include "app/pages/script_text.h"
#include "tests/app/app_fixture.h"

namespace padloom::test {
namespace {

// The label's count text is pinned where the controller shows it (activation and listing tests).
TEST(JoystickTexts, FollowTheCountAndEncodeNames) {
    const std::tuple<std::vector<std::string>, std::string, std::string> cases[] = {
        {{}, "[]", "There are no Joysticks Connected.\n"},
        {{"Pad"}, "['Pad']", "There is 1 Joystick Connected.\n\n#1 : Pad\n"},
        {{"A", "B"}, "['A','B']", "There are 2 Joysticks Connected.\n\n#1 : A\n#2 : B\n"},
        {{"Bob's \\pad"}, "['Bob\\'s \\\\pad']", "There is 1 Joystick Connected.\n\n#1 : Bob's \\pad\n"},
    };
    for (const auto& [names, script, message] : cases) {
        EXPECT_EQ(config_page::setJoystickNames(names), "joystickNames = " + script + "\n");
        EXPECT_EQ(connectedJoysticksMessage(names), message);
    }
}

TEST(ScriptLiterals, CannotBeBrokenOutOfByTheirText) {
    const std::tuple<std::string, char, std::string> cases[] = {
        {"plain", '"', "\"plain\""},
        {"say \"hi\"", '"', "\"say \\\"hi\\\"\""},
        {"it's", '\'', "'it\\'s'"},
        {"back\\slash", '"', "\"back\\\\slash\""},
        {"two\nlines\r\t", '\'', "'two\\nlines\\r\\t'"},
        {"</script><b>", '"', "\"<\\/script><b>\""},
        {"sep\xE2\x80\xA8par\xE2\x80\xA9", '"', "\"sep\\u2028par\\u2029\""},
        {std::string("nul\0bell\x07\x1f", 10), '"', "\"nul\\u0000bell\\u0007\\u001f\""},
        {"caf\xC3\xA9", '"', "\"caf\xC3\xA9\""},
        {"caf\xE9 \xED\xA0\x80", '\'', "'caf\xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD'"},
    };
    for (const auto& [text, quote, literal] : cases) {
        EXPECT_EQ(scriptString(text, quote), literal);
    }
    EXPECT_EQ(scriptCall("showNotice", {"a", "b\"", "c/d.txt"}), "showNotice(\"a\",\"b\\\"\",\"c/d.txt\")");
}

using Listing = JoystickAppTest;

struct WatchStep {
    const char* what;
    std::function<void()> change;
    const char* label;
};

// Listing the pads by hand leaves the joystick subsystem as it found it.
TEST_F(Listing, LabelAlertAndEditorNamesFollowPadsThatComeAndGoWhetherOrNotAPresetIsActive) {
    writePreset("space.txt", presetText("Space"));
    addPad();
    addPad();
    controller().showConnectedJoysticks();
    EXPECT_EQ(label.text, "2 Joysticks Connected");
    ASSERT_EQ(dialogs.alerts.size(), 1u);
    EXPECT_TRUE(dialogs.alerts[0].starts_with("There are 2 Joysticks Connected.\n\n#1 : "))
        << dialogs.alerts[0];
    EXPECT_EQ(configPage.scripts.back(), "$('joysticks > groups > itemgroup').each(updateRelatedJoystick)");
    EXPECT_EQ(connectedJoystickNames().size(), 2u);
    controller().applicationDidFinishLaunching();
    loop.runQueued(); // the first look shows what is connected
    EXPECT_EQ(loop.tasks.size(), 0u) << "idle, the watch looks again on a timer";
    const WatchStep steps[] = {
        {"idle, a pad comes", [&] { addPad(); }, "3 Joysticks Connected"},
        {"a preset is active, a pad comes",
         [&] {
             ASSERT_TRUE(controller().activatePreset("space.txt"));
             addPad();
         },
         "4 Joysticks Connected"},
        {"a preset is active, a pad goes", [&] { pads.erase(pads.begin()); }, "3 Joysticks Connected"},
        {"idle again, the pads go",
         [&] {
             controller().deactivatePreset();
             pads.clear();
         },
         "No Joysticks Connected"},
    };
    for (const WatchStep& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        label.text.clear();
        configPage.scripts.clear();
        loop.runQueued();
        EXPECT_EQ(label.text, step.label);
        EXPECT_EQ(configPage.startingWith("joystickNames = ").size(), 1u);
    }
    label.text.clear();
    loop.runQueued();
    EXPECT_EQ(label.text, "") << "nothing changed, nothing shown";
    EXPECT_EQ(loop.tasks.size(), 0u) << "idle again, the watch looks again on a timer";
}

// The pages are ready (and list no pad) before the watch first looks; a pad that comes in between
// is shown by that first look.
TEST_F(Listing, APadThatComesBeforeTheWatchsFirstLookIsShown) {
    controller().applicationDidFinishLaunching();
    mainPage.answers["document.body.offsetHeight"] = ScriptValue(700.0);
    controller().webViewDocumentReady();
    ASSERT_EQ(label.text, "No Joysticks Connected");
    addPad();
    configPage.scripts.clear();
    loop.runQueued();
    EXPECT_EQ(label.text, "1 Joystick Connected");
    EXPECT_EQ(configPage.startingWith("joystickNames = ['").size(), 1u);
}

// The watch's look waits for the operation in progress (which may be serving the main loop while
// it waits for a page or a panel) and runs right after it.
TEST_F(Listing, TheWatchLooksBetweenOperations) {
    controller().applicationDidFinishLaunching();
    addPad();
    controller().operations().run([&] {
        loop.runQueued();
        EXPECT_EQ(label.text, "") << "looked inside an operation";
    });
    EXPECT_EQ(label.text, "1 Joystick Connected");
}

// The editor's live view shows a held button, whether or not a preset ran before it was opened.
TEST_F(Listing, LiveViewShowsAHeldButtonAfterAPresetRan) {
    writePreset("space.txt", presetText("Space"));
    VirtualJoystick& pad = addPad();
    configPage.answers["generatePresetString()"] = ScriptValue(presetText("Space"));
    controller().applicationDidFinishLaunching();
    const std::pair<const char*, bool> cases[] = {{"no preset ran", false}, {"a preset ran", true}};
    for (const auto& [what, activate] : cases) {
        SCOPED_TRACE(what);
        if (activate) {
            ASSERT_TRUE(controller().activatePreset("space.txt"));
            loop.runQueued(); // the watch rests
            controller().deactivatePreset();
        }
        controller().createOrEditPreset("space.txt");
        loop.runQueued(); // the live view opens the pad
        configPage.scripts.clear();
        pad.setButton(0, true);
        loop.runQueued();
        EXPECT_EQ(configPage.startingWith("showLiveInputs("),
                  std::vector<std::string>{"showLiveInputs([[0,1,0,1]])"});
        pad.setButton(0, false);
        controller().windowWillClose(&configWindow);
        loop.runQueued();
    }
}

// SDL reports an opened pad's axes where they rest, an Xbox pad's triggers at one end: the live
// view shows no move (and finds no control) until one moves.
TEST_F(Listing, LiveViewTakesWhereAnOpenedPadRestsForNoMove) {
    writePreset("space.txt", presetText("Space"));
    pads.push_back(std::make_unique<VirtualJoystick>(6, 11, 1, 0x045e, 0x028e)); // triggers: axes 4, 5
    controller().applicationDidFinishLaunching();
    controller().createOrEditPreset("space.txt");
    for (int look = 0; look < 3; ++look) {
        loop.runQueued();
    }
    EXPECT_EQ(configPage.startingWith("showLiveInputs("), std::vector<std::string>{});
    pads[0]->setAxis(5, 32767);
    loop.runQueued();
    EXPECT_EQ(configPage.startingWith("showLiveInputs("),
              std::vector<std::string>{"showLiveInputs([[0,2,5,1]])"});
}

} // namespace
} // namespace padloom::test
