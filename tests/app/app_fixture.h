// SPDX-License-Identifier: GPL-3.0-or-later
// A controller wired to stand-ins for the desktop shell, with its data and config folders in a
// fresh temporary folder (XDG_DATA_HOME, XDG_CONFIG_HOME) and its resources in another; and the
// same with SDL's joystick subsystem, virtual pads and the engine's recording sink.
#pragma once

#include "app/controller/tessel_app_delegate.h"
#include "app/ui/notifier.h"
#include "tests/support/eventually.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/manual_seams.h"
#include "tests/support/preset_text.h"
#include "tests/support/temp_folder.h"
#include "tests/support/virtual_joystick.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <poll.h>
#include <string>
#include <vector>

namespace padloom::test {

// Records every script and answers from a table.
class FakePage : public ScriptPage {
public:
    ScriptValue evaluate(const std::string& script) override {
        scripts.push_back(script);
        const auto answer = answers.find(script);
        return answer == answers.end() ? ScriptValue() : answer->second;
    }
    std::vector<std::string> startingWith(const std::string& prefix) const {
        std::vector<std::string> found;
        std::copy_if(scripts.begin(), scripts.end(), std::back_inserter(found),
                     [&](const std::string& s) { return s.starts_with(prefix); });
        return found;
    }
    bool evaluated(const std::string& script) const {
        return std::find(scripts.begin(), scripts.end(), script) != scripts.end();
    }
    std::map<std::string, ScriptValue> answers;
    std::vector<std::string> scripts;
};

class FakeMenuItem : public MenuItem {
public:
    explicit FakeMenuItem(std::string title, bool state = false) : title_(std::move(title)), state_(state) {}
    std::string title() const override { return title_; }
    bool state() const override { return state_; }
    void setState(bool on) override { state_ = on; }
    bool enabled() const override { return enabled_; }
    void setEnabled(bool enabled) override { enabled_ = enabled; }

private:
    std::string title_;
    bool state_;
    bool enabled_ = true;
};

class FakeWindow : public Window {
public:
    WindowFrame frame() const override { return frame_; }
    void setFrame(const WindowFrame& frame, bool) override { frame_ = frame; }
    bool visible() const override { return broughtToFront > 0; }
    void bringToFront() override { ++broughtToFront; }
    void setTitle(const std::string&) override {}
    WindowFrame frame_{100, 200, 400, 500};
    int broughtToFront = 0;
};

class FakeLabel : public Label {
public:
    void setText(const std::string& t) override { text = t; }
    std::string text;
};

class MemorySettings : public SettingsStore {
public:
    bool has(const std::string& key) const override { return values.count(key) != 0; }
    bool getBool(const std::string& key) const override { return has(key) && values.at(key); }
    void setBool(const std::string& key, bool value) override { values[key] = value; }
    std::map<std::string, bool> values;
};

// Delayed tasks wait until the test runs them.
class FakeMainLoop : public MainLoop {
public:
    void runLater(uint32_t delayMs, std::function<void()> task) override {
        const std::lock_guard<std::mutex> lock(mutex);
        delays.push_back(delayMs);
        tasks.push_back(std::move(task));
    }
    void requestTerminate() override {}
    unsigned watchReadable(int fd, std::function<void()> ready) override {
        watches[++lastWatch] = {fd, std::move(ready)};
        return lastWatch;
    }
    void stopWatching(unsigned id) override { watches.erase(id); }
    // Runs the tasks queued so far (not those they queue), then the watches whose files are
    // readable; returns how many ran.
    int runQueued() {
        std::deque<std::function<void()>> now;
        {
            const std::lock_guard<std::mutex> lock(mutex);
            now.swap(tasks);
        }
        for (auto& task : now) {
            task();
        }
        return static_cast<int>(now.size()) + runReadable();
    }
    int runReadable() {
        std::vector<std::function<void()>> ready;
        for (const auto& [id, watch] : watches) {
            pollfd readable{watch.first, POLLIN, 0};
            if (poll(&readable, 1, 0) == 1) {
                ready.push_back(watch.second);
            }
        }
        for (auto& run : ready) {
            run();
        }
        return static_cast<int>(ready.size());
    }
    std::mutex mutex; // the polling thread queues switches
    std::deque<std::function<void()>> tasks;
    std::vector<uint32_t> delays;
    std::map<unsigned, std::pair<int, std::function<void()>>> watches;
    unsigned lastWatch = 0;
};

class FakeNotifier : public Notifier {
public:
    void notify(const std::string& title, const std::string& body) override {
        shown.push_back(title + ": " + body);
    }
    std::vector<std::string> shown; // "title: body"
};

class FakePresentationMonitor : public PresentationMonitor {
public:
    void install(std::function<void()> onChange) override {
        handler = std::move(onChange);
        ++installs;
    }
    void remove() override {
        removals += handler ? 1 : 0;
        handler = nullptr;
    }
    std::function<void()> handler;
    int installs = 0;
    int removals = 0;
};

// SDL's real queue on a clock that moves only when the capture waits or sleeps. Actions run when
// the clock reaches their time (changing a virtual joystick, pressing Escape), so a five-second
// capture takes no real time.
class ScriptedCaptureEvents : public SdlCaptureEvents {
public:
    void at(uint32_t timeMs, std::function<void()> action) { actions.emplace(timeMs, std::move(action)); }
    bool waitForEvent(uint32_t timeoutMs) override {
        for (const uint32_t deadline = now + timeoutMs;; now = std::min(deadline, nextAction())) {
            runDue();
            if (sdlEventPending()) {
                return true;
            }
            if (now >= deadline) {
                return false;
            }
        }
    }
    uint32_t nowMs() override { return now; }
    void sleepMs(uint32_t ms) override {
        now += ms;
        runDue();
    }
    uint32_t now = 0;

private:
    uint32_t nextAction() const { return actions.empty() ? UINT32_MAX : actions.begin()->first; }
    void runDue() {
        while (!actions.empty() && actions.begin()->first <= now) {
            const auto run = std::move(actions.begin()->second);
            actions.erase(actions.begin());
            run();
        }
    }
    std::multimap<uint32_t, std::function<void()>> actions;
};

// Sets an environment variable for its lifetime and restores the earlier value.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() { old_ ? setenv(name_.c_str(), old_->c_str(), 1) : unsetenv(name_.c_str()); }

private:
    std::string name_;
    std::optional<std::string> old_;
};

inline void writeFile(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Names a table row by its `what` in test output. It lives in the unnamed namespace, where the
// tests keep their rows, so that the printer finds it beside them.
namespace {
template <class Row> auto operator<<(std::ostream& os, const Row& row) -> decltype(void(row.what), os) {
    return os << row.what;
}
} // namespace

class AppTest : public ::testing::Test {
protected:
    AppTest();

    TesselAppDelegate& controller() { return *app; }
    std::string presets(); // the preset folder, ending in "/"
    void writePreset(const std::string& fileName, const std::string& text);
    // The menu's items for work that needs no preset running are enabled, and Deactivate is not;
    // or the other way round while a preset is active.
    bool menuShows(bool active) const;

    TempFolder temp;
    ScopedEnv dataHome{"XDG_DATA_HOME", temp.path().string() + "/data"};
    ScopedEnv configHome{"XDG_CONFIG_HOME", temp.path().string() + "/config"};
    std::string resources = temp.path().string() + "/resources";

    // One item per menu row with an outlet, showing its first-start state.
    std::vector<std::unique_ptr<FakeMenuItem>> menuItems;
    static MenuOutlets fakeMenu(std::vector<std::unique_ptr<FakeMenuItem>>& items);
    MenuOutlets menu = fakeMenu(menuItems);
    FakeMenuItem& item(MenuOutlet outlet) const { return static_cast<FakeMenuItem&>(*(menu.*outlet)); }
    FakeMenuItem& shouldLock = item(&MenuOutlets::shouldLock_mi);
    FakeMenuItem& shouldShowWarnings = item(&MenuOutlets::shouldShowWarnings_mi);
    FakeMenuItem& shouldCompactList = item(&MenuOutlets::shouldCompactList_mi);
    FakeMenuItem& keyRepeat = item(&MenuOutlets::keyRepeat_mi);
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
    FakeNotifier notifier;
    std::unique_ptr<TesselAppDelegate> app;
};

// The fixture holds one extra reference on the joystick subsystem, so the controller's own start
// and stop of it (which it pairs) never takes the test's virtual devices away.
class JoystickAppTest : public AppTest {
protected:
    void SetUp() override;
    void TearDown() override;
    VirtualJoystick& addPad(); // 4 axes, 12 buttons, 1 hat

    SdlJoystickSession sdl;
    EngineSeams seams{app->runner().engine};
    std::vector<std::unique_ptr<VirtualJoystick>> pads;
};

} // namespace padloom::test
