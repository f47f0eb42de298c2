// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/running/headless_session.h"
#include "app/running/stop_signals.h"
#include "tests/app/app_fixture.h"

#include <array>
#include <csignal>

namespace padloom::test {
namespace {

// Columns: what is stored; lock cursor, avoid corners and Minecraft fix as read back. Titles of
// fixed-key items are not keys.
TEST(HeadlessOptions, ComeFromTheKeysTheDesktopMenuStores) {
    const std::pair<std::map<std::string, bool>, std::array<bool, 3>> cases[] = {
        {{}, {false, false, false}},
        {{{"shouldLock_mi", true}, {"Avoid Screen Corners", true}, {"Minecraft Fix", true}},
         {true, true, true}},
        {{{"Lock Cursor to Main Display", true}}, {false, false, false}},
        {{{"Avoid Screen Corners", true}, {"Key Repeat", true}}, {false, true, false}},
    };
    for (const auto& [stored, expected] : cases) {
        MemorySettings settings;
        settings.values = stored;
        const HeadlessOptions o = storedHeadlessOptions(settings);
        EXPECT_EQ((std::array{o.lockCursor, o.avoidCorners, o.minecraftFix}), expected) << stored.size();
    }
}

using HeadlessRun = JoystickAppTest;

TEST_F(HeadlessRun, ReportsWhyItCouldNotStart) {
    writePreset("space.txt", presetText("Space"));
    bool waited = false;
    HeadlessHooks hooks;
    hooks.waitForStop = [&] { waited = true; };
    PresetRunner runner;
    EXPECT_EQ(runPresetUntilStopped(runner, presets() + "space.txt", {}, hooks).problem(),
              "No joystick is connected. Connect one and try again.");
    addPad();
    EXPECT_TRUE(runPresetUntilStopped(runner, presets() + "missing.txt", {}, hooks)
                    .problem()
                    .starts_with("The preset file could not be read: Can't open"));
    EXPECT_FALSE(waited);
}

// As under nohup (SIGHUP) or in a shell's background job (SIGINT): the run leaves a signal that
// was ignored when it started ignored, and the next stop signal still ends it, releasing first.
TEST_F(HeadlessRun, ASignalIgnoredAtStartStaysIgnored) {
    writePreset("space.txt", presetText("Space"));
    VirtualJoystick& pad = addPad();
    for (const auto& [ignored, stopping] :
         {std::pair{SIGHUP, SIGTERM}, {SIGINT, SIGHUP}, {SIGTERM, SIGINT}}) {
        SCOPED_TRACE(ignored);
        // The stopping signal as a terminal's program gets it, whatever this test was started from.
        struct sigaction ignore = {}, usual = {}, before[2] = {};
        ignore.sa_handler = SIG_IGN;
        usual.sa_handler = SIG_DFL;
        sigaction(ignored, &ignore, &before[0]);
        sigaction(stopping, &usual, &before[1]);
        {
            PresetRunner runner;
            runner.engine.eventSink.set(&seams.sink);
            StopSignals stop;
            HeadlessHooks hooks;
            hooks.loaded = [&](int) { stop.arm(); };
            hooks.waitForStop = [&, before = seams.sink.count()] {
                pad.setButton(0, true);
                ASSERT_TRUE(eventually([&] { return seams.sink.count() == before + 1; }));
                raise(ignored);
                raise(stopping);
                EXPECT_EQ(stop.wait(), stopping);
            };
            ASSERT_TRUE(runPresetUntilStopped(runner, presets() + "space.txt", {}, hooks));
        }
        EXPECT_TRUE(signalIgnored(ignored));
        sigaction(ignored, &before[0], nullptr);
        sigaction(stopping, &before[1], nullptr);
        pad.setButton(0, false); // let go between runs, unheard
        SDL_JoystickUpdate();
        SDL_FlushEvents(SDL_JOYAXISMOTION, SDL_JOYBATTERYUPDATED);
        seams.sink.expectKey(49, true, 0);
        seams.sink.expectKey(49, false, 0);
        seams.sink.expectNoEvents();
    }
}

// A switch the pad asks for wakes the run's own loop, which activates the next preset of the
// folder; one to a preset that is not there leaves the running one on and says why. The stop
// signal that comes after still ends the run with its releases.
TEST_F(HeadlessRun, SwitchesWithinThePresetsFolderOnItsOwnLoop) {
    writePreset("a.txt",
                R"({"name":"Alpha","joysticks":[{"tag":"P","switches":[{"press":["btn 2"],"to":"gone.txt"},
        {"press":["btn 1"],"to":"next"}],"binds":{"btn 0":["key 4"]}}]})");
    writePreset("b.txt", presetText("Bravo"));
    VirtualJoystick& pad = addPad();
    PresetRunner runner;
    runner.engine.eventSink.set(&seams.sink);
    StopSignals stop;
    std::vector<std::string> switched;
    int waits = 0;
    HeadlessHooks hooks;
    hooks.loaded = [&](int) { stop.arm(); };
    hooks.wake = [&stop] { stop.wake(); };
    hooks.switched = [&](const std::string& path, const std::string& problem) {
        switched.push_back(path + problem);
    };
    hooks.waitForStop = [&] {
        if (++waits < 3) {
            pad.setButton(waits == 1 ? 2 : 1, true);
            EXPECT_EQ(stop.wait(), 0);
            return;
        }
        pad.setButton(0, true);
        ASSERT_TRUE(eventually([&] { return seams.sink.count() == 1; }));
        raise(SIGTERM);
        EXPECT_EQ(stop.wait(), SIGTERM);
    };
    ASSERT_TRUE(runPresetUntilStopped(runner, presets() + "a.txt", {}, hooks));
    EXPECT_EQ(switched,
              (std::vector<std::string>{
                  presets() + "a.txt\"gone.txt\": No preset file \"gone.txt\" is in the preset folder.",
                  presets() + "b.txt"}));
    EXPECT_EQ(waits, 3);
    seams.sink.expectKey(49, true, 0); // Bravo's space
    seams.sink.expectKey(49, false, 0);
    seams.sink.expectNoEvents();
}

} // namespace
} // namespace padloom::test
