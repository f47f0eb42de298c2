// SPDX-License-Identifier: GPL-3.0-or-later
// padloomctl run's session on real threads: a pad unplugged and replugged while the polling task
// runs, and each stop signal ending the run with what is held released first. Run under
// ThreadSanitizer by `make test-threads`.
#include "app/running/headless_session.h"
#include "app/running/stop_signals.h"
#include "tests/support/eventually.h"
#include "tests/support/fixed_displays.h"
#include "tests/support/manual_seams.h"
#include "tests/support/preset_text.h"
#include "tests/support/temp_folder.h"
#include "tests/support/virtual_joystick.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <memory>

namespace padloom::test {
namespace {

TEST(RunSession, KeepsMappingAcrossAnUnplugAndAReplugAndReleasesBeforeEachStopSignalEndsIt) {
    SdlJoystickSession sdl;
    sdl.requireOwnPadsOnly();
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    FixedDisplays displays{{0, 0, 800, 600}, {800, 0, 800, 600}};
    TempFolder folder;
    const std::string preset = folder.write("space.json", presetText("Space"));
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        std::signal(signal, SIG_DFL); // nohup, or a shell's background job, may have left it ignored
        PresetRunner runner;
        runner.engine.displaySource.set(&displays);
        EngineSeams seams(runner.engine);
        auto pad = std::make_unique<VirtualJoystick>(4, 12, 1);
        StopSignals stop;
        std::vector<std::string> notes; // written by the polling thread, read once the run is over
        std::atomic<size_t> noted{0};
        HeadlessHooks hooks;
        hooks.loaded = [&](int joysticks) {
            EXPECT_EQ(joysticks, 1);
            stop.arm();
        };
        hooks.padChanged = [&](const PadChange& change) {
            notes.push_back(padChangeText(change));
            noted.store(notes.size());
        };
        hooks.waitForStop = [&] {
            EXPECT_EQ(runner.engine.screenGeometry.bounds().w, 800)
                << "the stored options: the cursor locked to display 0";
            EXPECT_TRUE(runner.engine.minecraftFix.load());
            pad->setButton(0, true);
            ASSERT_TRUE(eventually([&] { return seams.sink.count() == 1; }));
            pad.reset(); // unplugged while held
            ASSERT_TRUE(eventually([&] { return noted.load() == 1; }));
            pad = std::make_unique<VirtualJoystick>(4, 12, 1); // the same kind of pad: the same GUID
            ASSERT_TRUE(eventually([&] { return noted.load() == 2; }));
            pad->setButton(0, true);
            ASSERT_TRUE(eventually([&] { return seams.sink.count() == 3; }));
            raise(signal);
            EXPECT_EQ(stop.wait(), signal);
        };
        ASSERT_TRUE(runPresetUntilStopped(runner, preset, {true, false, true}, hooks));
        for (bool down : {true, false, true, false}) {
            seams.sink.expectKey(49, down, 0);
        }
        seams.sink.expectNoEvents();
        EXPECT_EQ(notes, (std::vector<std::string>{"pad 1 disconnected", "pad 1 reconnected"}));
    }
}

} // namespace
} // namespace padloom::test
