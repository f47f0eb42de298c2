#include "tests/app/app_fixture.h"

#include "app/folders.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace padloom::test {

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) {
        old_ = old;
    }
    setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (old_) {
        setenv(name_.c_str(), old_->c_str(), 1);
    } else {
        unsetenv(name_.c_str());
    }
}

std::string readFile(const std::string& path) {
    return readBytes(path);
}

void writeFile(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

bool fileExists(const std::string& path) {
    return std::filesystem::exists(path);
}

std::string presetText(const std::string& name, const std::string& tag) {
    return "{\n\t\"name\" : \"" + name + "\",\n\t\"tag\" : \"" + tag +
           "\",\n\t\"joysticks\" : [\n\t\t{\n\t\t\t\"tag\" : \"Pad\",\n\t\t\t\"binds\" : {\n"
           "\t\t\t\t\"btn 0\" : [\n\t\t\t\t\t\"key 44\"\n\t\t\t\t]\n\t\t\t}\n\t\t}\n\t]\n}\n";
}

MenuOutlets fakeMenu(std::vector<std::unique_ptr<FakeMenuItem>>& items) {
    MenuOutlets outlets;
    for (const MenuEntry& entry : menuEntries()) {
        if (entry.outlet != nullptr) {
            items.push_back(std::make_unique<FakeMenuItem>(entry.title, entry.firstStart));
            outlets.*entry.outlet = items.back().get();
        }
    }
    return outlets;
}

AppTest::AppTest() {
    TesselAppDelegate::Outlets o;
    o.menu = menu;
    o.mainwindow = &mainWindow;
    o.mainScriptObject = &mainPage;
    o.lblJoysticksConnected = &label;
    o.configwindow = &configWindow;
    o.configScriptObject = &configPage;
    o.dialogs = &dialogs;
    o.settings = &settings;
    o.desktop = &desktop;
    o.mainLoop = &loop;
    o.presentationMonitor = &monitor;
    o.captureEvents = &captureEvents;
    app = std::make_unique<TesselAppDelegate>(o, HelpSites{"", "", resources});
}

std::string AppTest::presets() {
    return presetFolder().value_or("");
}

void AppTest::writePreset(const std::string& fileName, const std::string& text) {
    writeFile(presets() + fileName, text);
}

bool AppTest::menuShowsActive() const {
    return !refreshJoysticks.enabled() && !reloadPresetList.enabled() && !loadExamples.enabled() &&
           !whichJoysticks.enabled() && deactivatePreset.enabled();
}

bool AppTest::menuShowsIdle() const {
    return refreshJoysticks.enabled() && reloadPresetList.enabled() && loadExamples.enabled() &&
           whichJoysticks.enabled() && !deactivatePreset.enabled();
}

} // namespace padloom::test
