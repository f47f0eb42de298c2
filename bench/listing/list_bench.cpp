// SPDX-License-Identifier: GPL-3.0-or-later
// padloom_list_bench: how long the desktop app takes to list a large preset folder, and what a
// switch costs beside it. For each folder (the five examples plus generated presets), it runs the
// app's own shell in a process of its own, with a virtual pad and fresh XDG folders, and measures
// the wall time and the CPU time of the app and its WebKit processes:
//   - from start until the main page is filled;
//   - a reload of the list (read, sort, fill the page);
//   - a switch on and off from the list, and by name as padloomctl asks for it (median of 20).
// With --tray a stand-in tray host is on the session bus, so the tray icon shows its menu. Run it
// under Xvfb and dbus-run-session (make bench does).
#include "app/desktop/remote_control.h"
#include "platform/gtk/shell/shell.h"
#include "platform/gtk/web/software_drawing.h"
#include "platform/gtk/web/web_context.h"
#include "platform/gtk/web/web_sandbox.h"
#include "tests/support/fake_tray_host.h"
#include "tests/support/virtual_joystick.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtk/gtk.h>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int switchesMeasured = 20;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// CPU time of this process and every process it started (WebKit's among them), in ms: on a busy
// machine it says more than the wall time.
double treeCpuMs() {
    std::multimap<int, int> children; // parent, child
    std::map<int, double> cpu;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::ifstream in(entry.path() / "stat");
        std::string stat;
        std::getline(in, stat);
        const size_t close = stat.rfind(')');
        if (close == std::string::npos) {
            continue;
        }
        std::istringstream fields(stat.substr(close + 2));
        std::vector<std::string> field{std::istream_iterator<std::string>(fields), {}};
        if (field.size() > 12) {
            children.emplace(std::stoi(field[1]), std::stoi(name));
            cpu[std::stoi(name)] = (std::stod(field[11]) + std::stod(field[12])) * 1000.0 /
                                   static_cast<double>(sysconf(_SC_CLK_TCK));
        }
    }
    double total = 0;
    std::vector<int> pending{static_cast<int>(getpid())};
    while (!pending.empty()) {
        const int pid = pending.back();
        pending.pop_back();
        total += cpu[pid];
        for (auto [it, end] = children.equal_range(pid); it != end; ++it) {
            pending.push_back(it->second);
        }
    }
    return total;
}

struct Cost {
    double wallMs = 0, cpuMs = 0;
};

Cost costOf(const std::function<void()>& work) {
    const double cpu = treeCpuMs();
    const Clock::time_point start = Clock::now();
    work();
    return {msSince(start), treeCpuMs() - cpu};
}

// The median wall and CPU times of the costs.
Cost median(const std::vector<Cost>& costs) {
    std::vector<double> wall, cpu;
    for (const Cost& c : costs) {
        wall.push_back(c.wallMs);
        cpu.push_back(c.cpuMs);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return costs.empty() ? Cost{} : Cost{wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

std::string shown(const Cost& cost) {
    char text[64];
    std::snprintf(text, sizeof text, "%8.1f ms (CPU %7.1f ms)", cost.wallMs, cost.cpuMs);
    return text;
}

// A preset of the size users keep: one pad, a dozen binds.
std::string presetText(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "Generated %04d", number);
    std::string binds;
    for (int button = 0; button < 12; ++button) {
        binds += (button ? ",\n\t\t\t\t\"btn " : "\n\t\t\t\t\"btn ") + std::to_string(button) +
                 "\" : [\"key " + std::to_string(4 + button) + "\"]";
    }
    return std::string("{\n\t\"name\" : \"") + name +
           "\",\n\t\"tag\" : \"A generated preset\",\n\t\"joysticks\" : [\n\t\t{\n\t\t\t\"tag\" : \"Pad\","
           "\n\t\t\t\"binds\" : {" +
           binds + "\n\t\t\t}\n\t\t}\n\t]\n}\n";
}

void fillFolder(const fs::path& folder, int generated) {
    fs::create_directories(folder);
    for (const fs::directory_entry& example : fs::directory_iterator(PADLOOM_RESOURCES "/presetexamples")) {
        fs::copy_file(example.path(), folder / example.path().filename());
    }
    for (int i = 0; i < generated; ++i) {
        std::ofstream(folder / ("generated-" + std::to_string(i) + ".txt")) << presetText(i);
    }
}

// Serves the main loop until the main page has been filled more than fills times, for at most 10 min.
bool waitForFill(padloom::Shell& shell, int fills) {
    const Clock::time_point limit = Clock::now() + std::chrono::minutes(10);
    while (shell.mainPageFills() <= fills && Clock::now() < limit) {
        g_main_context_iteration(nullptr, FALSE);
        g_usleep(1000);
    }
    return shell.mainPageFills() > fills;
}

void serve(std::chrono::milliseconds length) {
    const Clock::time_point end = Clock::now() + length;
    while (Clock::now() < end) {
        g_main_context_iteration(nullptr, FALSE);
        g_usleep(1000);
    }
}

class QuietDialogs : public padloom::Dialogs {
public:
    void showAlert(const std::string& message) override {
        std::fprintf(stderr, "alert: %s\n", message.c_str());
    }
    bool confirm(const std::string&) override { return true; }
};

struct Figures {
    Cost ready, reload, switchByList, switchByName;
};

bool measureSwitches(padloom::Shell& shell, Figures& figures) {
    padloom::TesselAppDelegate& controller = shell.controller();
    std::vector<Cost> byList, byName;
    bool ok = true;
    for (int i = 0; i < switchesMeasured && ok; ++i) {
        byList.push_back(costOf([&] {
            controller.operations().run(
                [&] { ok = controller.activatePreset("Racing.txt") && controller.deactivatePreset() && ok; });
        }));
        byName.push_back(costOf([&] {
            padloom::RemoteControl remote(controller.switching());
            ok = remote.activate("Racing") && remote.deactivate() && ok;
        }));
        serve(std::chrono::milliseconds(20));
    }
    figures.switchByList = median(byList);
    figures.switchByName = median(byName);
    return ok;
}

// One folder, one shell; prints one line of figures.
int measure(int generated, bool tray) {
    char dataTemplate[] = "/tmp/padloom-list-XXXXXX";
    const fs::path home = mkdtemp(dataTemplate);
    setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    fillFolder(home / "data/Padloom/presets", generated);
    padloom::drawWithoutGpu();
    padloom::keepWebKitLight();
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fprintf(stderr, "padloom_list_bench: no display (run it under xvfb-run)\n");
        return 1;
    }
    std::unique_ptr<padloom::test::FakeTrayHost> host;
    if (tray) {
        host = std::make_unique<padloom::test::FakeTrayHost>();
    }
    padloom::test::SdlJoystickSession joysticks;
    padloom::test::VirtualJoystick pad(4, 12, 1);
    padloom::configureWebSandbox(PADLOOM_RESOURCES);
    QuietDialogs dialogs;
    Figures figures;
    bool ok = true;
    {
        padloom::ShellOptions options;
        options.resourceDir = PADLOOM_RESOURCES;
        options.dialogs = &dialogs;
        padloom::Shell shell(std::move(options));
        figures.ready = costOf([&] {
            shell.start();
            ok = waitForFill(shell, 0);
        });
        serve(std::chrono::milliseconds(500)); // the tray host is seen, the pads are counted
        padloom::TesselAppDelegate& controller = shell.controller();
        figures.reload = costOf([&] { controller.operations().run([&] { controller.reloadPresets(); }); });
        // WebKit finishes its work on the new list (a second or two) before switches are timed.
        serve(std::chrono::seconds(3));
        ok = ok && measureSwitches(shell, figures);
        shell.terminateNow();
    }
    fs::remove_all(home);
    std::printf("  %d presets, %s\n    ready after start  %s\n    reload             %s\n"
                "    switch on and off  %s from the list\n                       %s by name\n",
                generated + 5, tray ? "tray host" : "no tray host", shown(figures.ready).c_str(),
                shown(figures.reload).c_str(), shown(figures.switchByList).c_str(),
                shown(figures.switchByName).c_str());
    std::fflush(stdout);
    if (!ok) {
        std::fprintf(stderr, "padloom_list_bench: a step failed (%d presets)\n", generated + 5);
    }
    return ok ? 0 : 1;
}

} // namespace

// Without arguments: each folder size in a process of its own. With "GENERATED [--tray]": one.
int main(int argc, char** argv) {
    if (argc >= 2) {
        return measure(std::atoi(argv[1]), argc >= 3 && std::strcmp(argv[2], "--tray") == 0);
    }
    std::printf("Preset list of the desktop app under Xvfb (examples plus generated presets; switches: "
                "median of %d on and off):\n",
                switchesMeasured);
    std::fflush(stdout);
    const std::string self = fs::read_symlink("/proc/self/exe");
    int status = 0;
    for (const char* run : {"2", "2995", "2995 --tray"}) {
        if (std::system(("'" + self + "' " + run).c_str()) != 0) {
            status = 1;
        }
    }
    return status;
}
