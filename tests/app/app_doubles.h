// Stand-ins for the desktop shell: pages that record every script and answer from a table,
// menu items, windows, a label, dialogs, a settings map, desktop services, a main loop whose
// delayed tasks the test runs by hand, and capture events on a scripted clock.
#pragma once

#include "app/shell_interfaces.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace padloom::test {

class FakePage : public ScriptPage {
public:
    ScriptValue evaluate(const std::string& script) override {
        scripts.push_back(script);
        const auto answer = answers.find(script);
        return answer == answers.end() ? ScriptValue() : answer->second;
    }
    // Scripts evaluated so far that start with prefix.
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
    bool visible() const override { return shown; }
    void bringToFront() override {
        shown = true;
        ++broughtToFront;
    }
    void setTitle(const std::string&) override {}

    WindowFrame frame_{100, 200, 400, 500};
    bool shown = false;
    int broughtToFront = 0;
};

class FakeLabel : public Label {
public:
    void setText(const std::string& t) override { text = t; }
    std::string text;
};

class FakeDialogs : public Dialogs {
public:
    void showAlert(const std::string& message) override { alerts.push_back(message); }
    bool confirm(const std::string& message) override {
        confirms.push_back(message);
        return true;
    }
    std::vector<std::string> alerts;
    std::vector<std::string> confirms;
};

class MemorySettings : public SettingsStore {
public:
    bool has(const std::string& key) const override { return values.count(key) != 0; }
    bool getBool(const std::string& key) const override {
        const auto found = values.find(key);
        return found != values.end() && found->second;
    }
    void setBool(const std::string& key, bool value) override { values[key] = value; }
    std::map<std::string, bool> values;
};

class FakeDesktop : public DesktopServices {
public:
    void openUri(const std::string& uri, NothingOpened nothingOpened) override {
        uris.push_back(uri);
        answer(nothingOpened);
    }
    void revealFolder(const std::string& path, NothingOpened nothingOpened) override {
        folders.push_back(path);
        answer(nothingOpened);
    }
    std::vector<std::string> uris;
    std::vector<std::string> folders;
    bool nothingOpens = false; // as on a system without a browser or file manager

private:
    void answer(const NothingOpened& nothingOpened) const {
        if (nothingOpens && nothingOpened) {
            nothingOpened();
        }
    }
};

class FakeMainLoop : public MainLoop {
public:
    void runLater(uint32_t delayMs, std::function<void()> task) override {
        delays.push_back(delayMs);
        tasks.push_back(std::move(task));
    }
    void requestTerminate() override { ++terminateRequests; }
    // Runs the tasks queued so far (not those they queue); returns how many ran.
    int runQueued() {
        std::deque<std::function<void()>> now;
        now.swap(tasks);
        for (auto& task : now) {
            task();
        }
        return static_cast<int>(now.size());
    }
    std::deque<std::function<void()>> tasks;
    std::vector<uint32_t> delays;
    int terminateRequests = 0;
};

class FakePresentationMonitor : public PresentationMonitor {
public:
    void install(std::function<void()> onChange) override {
        handler = std::move(onChange);
        ++installs;
    }
    void remove() override {
        if (handler) {
            ++removals;
        }
        handler = nullptr;
    }
    std::function<void()> handler;
    int installs = 0;
    int removals = 0;
};

// SDL's real queue on a clock that moves only when the capture waits or sleeps. Actions run when
// the clock reaches their time (changing a virtual joystick, pressing Escape), so a five-second
// capture takes no real time.
class ScriptedCaptureEvents : public CaptureEvents {
public:
    void at(uint32_t timeMs, std::function<void()> action) {
        actions.emplace_back(timeMs, std::move(action));
    }

    bool waitForEvent(uint32_t timeoutMs) override;
    bool pollEvent(SDL_Event& event) override { return SDL_PollEvent(&event) != 0; }
    uint32_t nowMs() override { return now; }
    void sleepMs(uint32_t ms) override {
        now += ms;
        runDue();
    }

    uint32_t now = 0;

private:
    void runDue();
    std::vector<std::pair<uint32_t, std::function<void()>>> actions;
};

} // namespace padloom::test
