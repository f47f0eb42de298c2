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

AppTest::AppTest() {
    TesselAppDelegate::Outlets o;
    o.shouldLock_mi = &shouldLock;
    o.shouldAvoidCorners_mi = &shouldAvoidCorners;
    o.shouldShowWarnings_mi = &shouldShowWarnings;
    o.refreshJoysticks_mi = &refreshJoysticks;
    o.reloadPresetList_mi = &reloadPresetList;
    o.loadExamples_mi = &loadExamples;
    o.deactivatePreset_mi = &deactivatePreset;
    o.whichJoysticks_mi = &whichJoysticks;
    o.shouldCompactList_mi = &shouldCompactList;
    o.minecraftFix_mi = &minecraftFixItem;
    o.fullscreenFix_mi = &fullscreenFix;
    o.keyRepeat_mi = &keyRepeat;
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
    deactivatePreset.setEnabled(false); // the idle menu, as the shell builds it
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
