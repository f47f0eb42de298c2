// SPDX-License-Identifier: GPL-3.0-or-later
// The two pages: what they can reach of the application, how their alert() and confirm() are
// answered, what evaluating a script yields, and how they come back after their process dies
// without costing the user an edit; the main page's list when an operation or a switch is refused,
// copies made in one place, and files that do not read.
#include "app/pages/page_scripts.h"
#include "tests/integration/shell_harness.h"

#include <csignal>
#include <fstream>
#include <map>
#include <unistd.h>

namespace padloom::test {
namespace {

using Page = PadTest;

// No prototype, so nothing inherited (toString, constructor, __proto__ tricks) is reachable; the
// page can neither add to the global nor replace it.
TEST_F(Page, GlobalsOfferThePageOperationsOnly) {
    const std::string script =
        "try { g.showAlert = () => 1; } catch (e) {} try { window[name] = {}; } catch (e) {}"
        "g = window[name]; return [Reflect.ownKeys(g).map(String).sort(), Object.isFrozen(g), "
        "Object.values(g).every((f) => typeof f === 'function'), "
        "Object.getPrototypeOf(g) === null, typeof g.showAlert].join(' ')";
    const ScriptValue offered("activatePreset_,createOrEditPreset_,deactivatePreset,deletePreset_,"
                              "enableFocusHelper,generateValidFilename,"
                              "generateValidFilenameWithName_,scanJoystickInput_inBindNo_,showPresetFile_,"
                              "updateConfigWindowHeight,webViewDocumentReady true true true undefined");
    EXPECT_EQ(harness.main("(() => { let name = 'app', g = app; " + script + " })()"), offered);
    EXPECT_EQ(harness.config("(() => { let name = 'appconfig', g = appconfig; " + script + " })()"), offered);
}

// Each script the controller evaluates runs in its page: every function and global it names is
// there (strict, so that assigning a global the page lacks fails too).
TEST_F(Page, EveryScriptOfTheControllerRunsInItsPage) {
    namespace m = main_page;
    namespace c = config_page;
    // clang-format off
    const std::vector<std::string> mainScripts = {
        m::fillPresetList({}), m::showPresetFolder("/p"), m::showEditedPreset("n", "t"), m::stopModal(),
        m::getContentHeight(), m::showBlockLayer(), m::fadeOutBlockLayer(), m::hideBlockLayer(),
        m::unmarkActivePreset(), m::markActivePreset("Pad.txt"), m::setCompactList(true), m::bodyHeight(),
        m::showNotice("t", "x")};
    const std::vector<std::string> configScripts = {
        c::clearJoysticks(), c::setName("n"), c::setTag("t"), c::addJoystick("j"), c::addBind(0, "btn 0", "k"),
        c::addStick(0, {{"axes", "0 1"}}),
        c::setSectionMembers(0, {}), c::setPresetChoices({}),
        c::commitTextFields(), c::generatePresetString(), c::getName(), c::getTag(), c::getContentHeight(),
        c::setJoystickNames({}), c::updateRelatedJoysticks(),
        c::showCountdown(5), c::showInputReceived(), c::resetInputReceived(), c::selectInputInBind(0, 0, ""),
        c::stopModal(), c::setActivateFor({}, {}), c::showFollowing({}),
        c::setControlNames({}), c::setSwitchPoint(0.5f), c::showLiveInputs({}), c::clearLiveInputs()};
    // clang-format on
    for (const auto& [page, scripts] : {std::pair(&harness.shell().mainPage(), mainScripts),
                                        std::pair(&harness.shell().configPage(), configScripts)}) {
        for (const std::string& script : scripts) {
            EXPECT_EQ(page->evaluate("(() => { 'use strict'; " + script + "\n; return true; })()"),
                      ScriptValue(true))
                << script;
        }
    }
}

TEST_F(Page, MessagesPostedAroundTheGlobalAreRefused) {
    for (const char* message :
         {"{op: 'showAlert', args: ['from the page']}",              // not offered
          "{op: 'editingPresetPath', args: []}",                     // a property of the controller
          "{args: []}",                                              // no operation
          "{op: 'deletePreset_', args: 'Pad.txt'}",                  // arguments not an array
          "'deletePreset_'",                                         // not an object
          "{op: 'scanJoystickInput_inBindNo_', args: ['x', {}]}"}) { // wrong argument types
        const PageResult result =
            harness.awaitMain(std::string("window.webkit.messageHandlers.app.postMessage(") + message + ")");
        EXPECT_TRUE(result.settled && result.rejected) << message;
    }
    EXPECT_TRUE(harness.dialogs.alerts.empty());
    EXPECT_TRUE(std::filesystem::exists(harness.presetFolder() / "Pad.txt"));
}

TEST_F(Page, AlertsAndConfirmsShowTheMessageUnchanged) {
    const std::tuple<bool, const char*, bool, const char*> cases[] = {
        // in the main page, the call, the answer, the message
        {true, "confirm", true, "Delete 100% of \"First\"? %s %d <b>not bold</b>"},
        {true, "confirm", false, "Second line follows\nhere"},
        {true, "alert", false, "from the list"},
        {false, "alert", false, "from the editor"},
    };
    for (const auto& [inMain, call, answer, message] : cases) {
        SCOPED_TRACE(message);
        harness.dialogs = {};
        harness.dialogs.answer = answer;
        const std::string script = std::string(call) + "(" + scriptString(message) + ")";
        const PageResult result = inMain ? harness.awaitMain(script) : harness.awaitConfig(script);
        const bool confirm = std::string(call) == "confirm";
        EXPECT_EQ(result.value, confirm ? ScriptValue(answer) : ScriptValue());
        EXPECT_EQ(confirm ? harness.dialogs.confirms : harness.dialogs.alerts,
                  std::vector<std::string>{message});
    }
}

TEST_F(Page, LinksLeavingItOpenInTheDesktopsHandler) {
    harness.main("const a = document.createElement('a'); a.href = 'https://example.org/x'; "
                 "document.body.appendChild(a); a.click(); true");
    ASSERT_TRUE(pumpUntil([&] { return !harness.desktop.opened.empty(); }));
    EXPECT_EQ(harness.desktop.opened[0], "uri https://example.org/x");
    EXPECT_EQ(harness.main("typeof cleanPresetList"), ScriptValue("function")); // the page stays
}

// A script that fails, or runs past the time limit, reads as undefined; the page recovers.
TEST_F(Page, EvaluationYieldsTheLastExpressionsValue) {
    const std::pair<const char*, ScriptValue> cases[] = {
        {"1 + 2", ScriptValue(3.0)},          {"'a' + \"b\"", ScriptValue("ab")},
        {"1 < 2", ScriptValue(true)},         {"[1, 'x']", ScriptValue("1,x")},
        {"undefined", ScriptValue()},         {"null", ScriptValue()},
        {"noSuchFunction()", ScriptValue()},  {"throw new Error('x')", ScriptValue()},
        {"syntax error here", ScriptValue()},
    };
    for (const auto& [script, expected] : cases) {
        EXPECT_EQ(harness.main(script), expected) << script;
    }
    WebPage& page = harness.shell().mainPage();
    page.setTimeLimit(std::chrono::milliseconds(200));
    EXPECT_TRUE(page.evaluate("const end = Date.now() + 1500; while (Date.now() < end) {} 42").isUndefined());
    page.setTimeLimit(std::chrono::milliseconds(5000));
    EXPECT_EQ(page.evaluate("6 * 7"), ScriptValue(42.0));
}

// Kills this process's WebKit page processes (children, or grandchildren under the sandbox), as a
// crash would end them.
int killPageProcesses() {
    std::map<int, int> parentOf;
    std::vector<int> pages;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        int pid = 0, parent = 0;
        std::string comm, state;
        if (stat >> pid >> comm >> state >> parent) {
            parentOf[pid] = parent;
            if (comm == "(WebKitWebProces)") { // the name, cut to 15 characters
                pages.push_back(pid);
            }
        }
    }
    int killed = 0;
    for (int page : pages) {
        int up = parentOf[page];
        while (up > 1 && up != getpid()) {
            up = parentOf[up];
        }
        killed += up == getpid() && kill(page, SIGKILL) == 0;
    }
    return killed;
}

// Killed first with the editor closed, then with it open: an edit whose page died is not saved.
// The third time within a minute the page is given up.
TEST_F(Page, ComesBackAfterItsProcessDies) {
    harness.plug(2, 8, 1);
    for (const bool editing : {false, true}) {
        SCOPED_TRACE(editing ? "editing" : "idle");
        ASSERT_TRUE(!editing || harness.openEditor());
        const int fills = harness.shell().mainPageFills();
        ASSERT_GT(killPageProcesses(), 0);
        ASSERT_TRUE(pumpUntil([&] { return harness.shell().mainPageFills() > fills; }));
        EXPECT_EQ(harness.listedPresetNames(), std::vector<std::string>{"Pad"});
        ASSERT_TRUE(!editing || harness.closeEditor());
        // The configuration page is loaded again and learns the joystick names.
        EXPECT_TRUE(pumpUntil([&] { return harness.config("joystickNames.length") == ScriptValue(1.0); }));
    }
    EXPECT_EQ(harness.presetFileText("Pad.txt"), presetText("Pad"));
    // A third end within the minute: a process that keeps ending is not started again and again.
    const int fills = harness.shell().mainPageFills();
    ASSERT_GT(killPageProcesses(), 0);
    EXPECT_FALSE(pumpUntil([&] { return harness.shell().mainPageFills() > fills; }, std::chrono::seconds(3)));
}

class Switch : public HarnessTest {
protected:
    Switch() : HarnessTest({{"Pad.txt", presetText("Pad")}, {"Other.txt", presetText("Other")}}) {}

    // A click on the entry's part ("text" switches it on).
    void click(const std::string& file, const std::string& part) {
        harness.main("hideNotice(); $('.preset').filter((i, e) => $(e).data('file') === '" + file +
                     "').find('" + part + "').click(); true");
    }
    bool settled() { return harness.main("!busy && !$('#blockLayer').is(':visible')") == ScriptValue(true); }
};

// A refused operation leaves the list as it was and the active preset running, marked, its key
// still held; the page's notice gives the application's reason. Once the file reads, it switches.
TEST_F(Switch, ARefusedOperationKeepsTheListAndTheActivePresetAndShowsWhy) {
    VirtualJoystick& pad = harness.plug(2, 4, 1);
    click("Pad.txt", "text");
    ASSERT_TRUE(pumpUntil([&] { return settled() && harness.markedPresets() == "Pad.txt"; }));
    pad.setButton(0, true);
    ASSERT_TRUE(pumpUntil([&] { return harness.sink.count() == 1; }));
    // Listed as a file, now a folder: it can be neither read nor deleted.
    std::filesystem::remove(harness.presetFolder() / "Other.txt");
    std::filesystem::create_directories(harness.presetFolder() / "Other.txt" / "inner");
    const std::pair<const char*, const char*> cases[] = {
        // what is clicked in the entry, what the notice says
        {".delete", "could not be deleted: Is a directory"},
        {"text", "could not be read"},
    };
    for (const auto& [clicked, reason] : cases) {
        SCOPED_TRACE(clicked);
        click("Other.txt", clicked);
        ASSERT_TRUE(pumpUntil([&] { return settled() && !harness.notice().empty(); }));
        EXPECT_EQ(harness.listedPresetNames(), (std::vector<std::string>{"Other", "Pad"}));
        EXPECT_EQ(harness.markedPresets(), "Pad.txt");
        EXPECT_NE(harness.notice().find(reason), std::string::npos) << harness.notice();
    }
    EXPECT_EQ(harness.controller().runner().activePath(), (harness.presetFolder() / "Pad.txt").string());
    EXPECT_EQ(harness.sink.count(), 1u) << "the held key was let go";

    std::filesystem::remove_all(harness.presetFolder() / "Other.txt");
    harness.writePreset("Other.txt", presetText("Other"));
    click("Other.txt", "text");
    ASSERT_TRUE(pumpUntil([&] { return settled() && harness.markedPresets() == "Other.txt"; }));
    EXPECT_EQ(harness.controller().runner().activePath(), (harness.presetFolder() / "Other.txt").string());
    harness.sink.expectKey(49, true, 0);
    harness.sink.expectKey(49, false, 0);
    harness.sink.expectNoEvents();
}

using PresetList = HarnessTest;

// The pointer stays on one preset's Copy button for three clicks: three copies with distinct
// names, and the list never slides another preset under the pointer.
TEST_F(PresetList, CopyClickedThriceInOnePlaceSwitchesNothingOn) {
    for (const std::string name : {"Alpha", "Racing", "Zulu"}) {
        harness.writePreset(name + ".txt", presetText(name));
    }
    harness.start();
    harness.main("const r = $('.preset').eq(1).find('.copy')[0].getBoundingClientRect();"
                 "window.pointer = [r.left + r.width / 2, r.top + r.height / 2]");
    for (int copies = 1; copies <= 3; ++copies) {
        harness.main("document.elementFromPoint(pointer[0], pointer[1]).click()");
        ASSERT_TRUE(pumpUntil(
            [&] { return harness.main("!busy && $('.preset').length") == ScriptValue(3.0 + copies); }));
    }
    EXPECT_EQ(harness.listedPresetNames(),
              (std::vector<std::string>{"Alpha", "Racing", "Racing copy", "Racing copy 2", "Racing copy 3",
                                        "Zulu"}));
    EXPECT_EQ(harness.main("$('.preset.selected').length + $('#notice.open').length"), ScriptValue(0.0));
    EXPECT_TRUE(harness.dialogs.alerts.empty());
}

// The hint for an empty list never shows while presets are listed again, and shows once the
// folder holds none.
TEST_F(PresetList, TheEmptyHintShowsOnlyForAListWithoutEntries) {
    harness.writePreset("Pad.txt", presetText("Pad"));
    harness.start();
    harness.main(
        "window.hinted = false; new MutationObserver(() => { hinted = hinted || "
        "document.body.classList.contains('empty'); }).observe(document.body, {attributes: true}); true");
    GtkWidget* reload = harness.shell().menu().item(&MenuOutlets::reloadPresetList_mi).widget();
    const std::pair<bool, bool> cases[] = {{true, false}, {false, true}}; // presets in the folder, hinted
    for (const auto& [presets, hinted] : cases) {
        SCOPED_TRACE(presets ? "a preset" : "none");
        if (!presets) {
            std::filesystem::remove(harness.presetFolder() / "Pad.txt");
        }
        gtk_menu_item_activate(GTK_MENU_ITEM(reload));
        ASSERT_TRUE(pumpUntil([&] { return !harness.controller().operations().busy(); }));
        EXPECT_EQ(harness.listedPresetNames().size(), presets ? 1u : 0u);
        EXPECT_EQ(harness.main("hinted"), ScriptValue(hinted));
        EXPECT_EQ(harness.main("$('#emptyHint').is(':visible')"), ScriptValue(hinted));
    }
}

// A name and tag longer than the list is wide take its whole width, cut short at its end; the
// tooltip has them whole, with the file name.
TEST_F(PresetList, LongNamesUseTheListsWidthAndShowWholeInTheTooltip) {
    const std::string name = "Gamepad WASD and Mouse Look for the first-person shooters of the nineties";
    const std::string tag = "Left stick walks, right stick looks, triggers fire, bumpers switch weapons";
    harness.writePreset("Long.txt", presetText(name, tag));
    harness.start();
    for (const char* part : {"h2", "p"}) {
        const std::string gapAfter =
            "(() => { const e = $('.preset')[0], s = getComputedStyle(e), t = $(e).find('text > " +
            std::string(part) +
            "')[0]; return Math.round(e.getBoundingClientRect().right - parseFloat(s.paddingRight) - "
            "parseFloat(s.borderRightWidth) - t.getBoundingClientRect().right); })()";
        EXPECT_EQ(harness.main(gapAfter), ScriptValue(0.0)) << part;
        EXPECT_EQ(harness.main("(() => { const t = $('.preset text > " + std::string(part) +
                               "')[0]; return t.scrollWidth > t.clientWidth; })()"),
                  ScriptValue(true))
            << part << " is cut short";
    }
    EXPECT_EQ(harness.main("$('.preset').attr('title')"), ScriptValue(name + "\n" + tag + "\nLong.txt"));
}

// Names that are not UTF-8 are listed with U+FFFD in their place and switch on. A file that does
// not read is listed last, by file name, with the reader's message; it can be shown in the file
// manager and deleted, the confirmation naming it; neither switches anything. Nothing logs a
// critical on the way.
TEST_F(PresetList, OddNamesAndUnreadableFilesAreListedAndServed) {
    harness.plug(2, 4, 1);
    harness.writePreset("caf\xE9.txt", presetText("Cafe"));
    harness.writePreset("raw.txt", presetText("Raw \xE9", "\\ud800"));
    harness.writePreset("zz\xFF.txt", "{\n  \"name\": oops\n}");
    harness.start();
    static int criticals = 0;
    g_log_set_default_handler(
        [](const gchar* domain, GLogLevelFlags level, const gchar* message, gpointer) {
            criticals += (level & G_LOG_LEVEL_CRITICAL) != 0;
            g_log_default_handler(domain, level, message, nullptr);
        },
        nullptr);
    EXPECT_EQ(harness.listedPresetNames(),
              (std::vector<std::string>{"Cafe", "Raw \xEF\xBF\xBD", "zz\xEF\xBF\xBD.txt"}));
    EXPECT_EQ(harness.main("$('.preset p').eq(1).text()"), ScriptValue("\xEF\xBF\xBD"));
    EXPECT_EQ(harness.main("$('.unreadable p').text()"),
              ScriptValue("Does not read: Error at line 2: Unexpected character"));
    for (const char* file : {"caf\xE9.txt", "raw.txt"}) {
        harness.main("$('.preset:not(.selected):not(.unreadable) text').first().click()");
        ASSERT_TRUE(pumpUntil([&] {
            return harness.controller().runner().activePath().ends_with(file) &&
                   harness.main("busy") == ScriptValue(false);
        })) << file
            << ": " << harness.notice();
    }
    harness.main("$('.unreadable').click(); $('.unreadable .show').click()");
    ASSERT_TRUE(pumpUntil([&] { return !harness.desktop.opened.empty(); }));
    EXPECT_EQ(harness.desktop.opened[0], "folder " + (harness.presetFolder() / "zz\xFF.txt").string());
    harness.main("$('.unreadable .delete').click()");
    EXPECT_TRUE(pumpUntil([&] { return harness.listedPresetNames().size() == 2; }));
    EXPECT_FALSE(std::filesystem::exists(harness.presetFolder() / "zz\xFF.txt"));
    ASSERT_EQ(harness.dialogs.confirms.size(), 1u);
    EXPECT_NE(harness.dialogs.confirms[0].find("\u201czz\xEF\xBF\xBD.txt\u201d"), std::string::npos)
        << harness.dialogs.confirms[0];
    EXPECT_EQ(harness.main("$('#notice.open').length + ' ' + $('.preset.selected').data('file')"),
              ScriptValue("0 raw.txt"));
    EXPECT_EQ(criticals, 0);
}

} // namespace
} // namespace padloom::test
