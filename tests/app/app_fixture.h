// A controller wired to the doubles of app_doubles.h, with its data and config folders in a
// fresh temporary folder (XDG_DATA_HOME, XDG_CONFIG_HOME) and its resources in another.
#pragma once

#include "app/tessel_app_delegate.h"
#include "tests/app/app_doubles.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace padloom::test {

// Sets an environment variable for its lifetime and restores the earlier value.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& text);
bool fileExists(const std::string& path);

// Names a table row by its `what` in test output. It lives in the unnamed namespace, where the
// tests keep their rows, so that the printer finds it beside them.
namespace {
template <class Row> auto operator<<(std::ostream& os, const Row& row) -> decltype(void(row.what), os) {
    return os << row.what;
}
} // namespace

// Fills the outlets with new items, one per menu row that has an outlet.
MenuOutlets fakeMenu(std::vector<std::unique_ptr<FakeMenuItem>>& items);

// A small preset whose first joystick binds button 0 to the space key (key 44).
std::string presetText(const std::string& name, const std::string& tag = "tag");

class AppTest : public ::testing::Test {
protected:
    AppTest();

    TesselAppDelegate& controller() { return *app; }
    std::string presets(); // the preset folder, ending in "/"
    void writePreset(const std::string& fileName, const std::string& text);
    bool menuShowsActive() const;
    bool menuShowsIdle() const;

    TempFolder temp;
    ScopedEnv dataHome{"XDG_DATA_HOME", temp.path().string() + "/data"};
    ScopedEnv configHome{"XDG_CONFIG_HOME", temp.path().string() + "/config"};
    std::string resources = temp.path().string() + "/resources";

    // One item per menu row with an outlet, showing its first-start state.
    std::vector<std::unique_ptr<FakeMenuItem>> menuItems;
    MenuOutlets menu = fakeMenu(menuItems);
    FakeMenuItem& item(MenuOutlet outlet) { return static_cast<FakeMenuItem&>(*(menu.*outlet)); }
    FakeMenuItem& shouldLock = item(&MenuOutlets::shouldLock_mi);
    FakeMenuItem& shouldShowWarnings = item(&MenuOutlets::shouldShowWarnings_mi);
    FakeMenuItem& shouldCompactList = item(&MenuOutlets::shouldCompactList_mi);
    FakeMenuItem& keyRepeat = item(&MenuOutlets::keyRepeat_mi);
    FakeMenuItem& refreshJoysticks = item(&MenuOutlets::refreshJoysticks_mi);
    FakeMenuItem& reloadPresetList = item(&MenuOutlets::reloadPresetList_mi);
    FakeMenuItem& loadExamples = item(&MenuOutlets::loadExamples_mi);
    FakeMenuItem& deactivatePreset = item(&MenuOutlets::deactivatePreset_mi);
    FakeMenuItem& whichJoysticks = item(&MenuOutlets::whichJoysticks_mi);
    FakeWindow mainWindow;
    FakeWindow configWindow;
    FakePage mainPage;
    FakePage configPage;
    FakeLabel label;
    FakeDialogs dialogs;
    MemorySettings settings;
    FakeDesktop desktop;
    FakeMainLoop loop;
    FakePresentationMonitor monitor;
    ScriptedCaptureEvents captureEvents;
    std::unique_ptr<TesselAppDelegate> app;
};

} // namespace padloom::test
