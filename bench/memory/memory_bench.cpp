// padloom_memory_bench: what the desktop app costs in memory, as the sum of the proportional set
// size (PSS) of the app and every process it started (WebKit's network and web processes), with
// the main window shown and then hidden in the tray, a preset active both times. It runs the
// app's own shell in this process, with a virtual pad, a stand-in tray host and fresh XDG
// folders; run it under Xvfb and dbus-run-session (make bench does).
#include "app/desktop/remote_control.h"
#include "platform/gtk/shell/shell.h"
#include "platform/gtk/web/software_drawing.h"
#include "platform/gtk/web/web_sandbox.h"
#include "tests/support/fake_tray_host.h"
#include "tests/support/virtual_joystick.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtk/gtk.h>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Process {
    int pid;
    std::string name;
    double pssMB;
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// PSS in MB from /proc/<pid>/smaps_rollup; 0 when the process is gone.
double pssMB(int pid) {
    std::istringstream rollup(readFile("/proc/" + std::to_string(pid) + "/smaps_rollup"));
    for (std::string line; std::getline(rollup, line);) {
        if (line.rfind("Pss:", 0) == 0) {
            return std::strtod(line.c_str() + 4, nullptr) / 1024.0;
        }
    }
    return 0;
}

// This process and all its descendants.
std::vector<Process> processTree() {
    std::multimap<int, int> children; // parent, child
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const std::string stat = readFile(entry.path() / "stat");
        const size_t close = stat.rfind(')');
        if (close == std::string::npos) {
            continue;
        }
        char state = 0;
        int parent = 0;
        if (std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &parent) == 2) {
            children.emplace(parent, std::stoi(name));
        }
    }
    std::vector<Process> tree;
    std::vector<int> pending{static_cast<int>(getpid())};
    while (!pending.empty()) {
        const int pid = pending.back();
        pending.pop_back();
        std::string comm = readFile("/proc/" + std::to_string(pid) + "/comm");
        comm.erase(comm.find_last_not_of('\n') + 1);
        tree.push_back({pid, comm, pssMB(pid)});
        for (auto [it, end] = children.equal_range(pid); it != end; ++it) {
            pending.push_back(it->second);
        }
    }
    return tree;
}

void serve(std::chrono::seconds length) {
    const auto end = std::chrono::steady_clock::now() + length;
    while (std::chrono::steady_clock::now() < end) {
        g_main_context_iteration(nullptr, FALSE);
        g_usleep(10000);
    }
}

// The process's largest holders by PSS: each file mapped, the heap, and anonymous memory.
void reportMappings(int pid) {
    std::istringstream smaps(readFile("/proc/" + std::to_string(pid) + "/smaps"));
    std::map<std::string, double> byName;
    std::string name;
    for (std::string line; std::getline(smaps, line);) {
        if (line.rfind("Pss:", 0) == 0) {
            byName[name] += std::strtod(line.c_str() + 4, nullptr) / 1024.0;
        } else if (!line.empty() && std::isxdigit(static_cast<unsigned char>(line[0])) &&
                   line.find(' ') < line.find(':')) {
            const size_t path = line.find_first_of("/[");
            name = path == std::string::npos ? "[anonymous]" : line.substr(path);
            name = name.substr(name.rfind('/') + 1);
        }
    }
    std::vector<std::pair<double, std::string>> largest;
    for (const auto& [mapping, pss] : byName) {
        largest.emplace_back(pss, mapping);
    }
    std::sort(largest.rbegin(), largest.rend());
    largest.resize(std::min<size_t>(largest.size(), 12));
    std::string parts;
    for (const auto& [pss, mapping] : largest) {
        char part[128];
        std::snprintf(part, sizeof part, "%s%s %.1f", parts.empty() ? "" : ", ", mapping.c_str(), pss);
        parts += part;
    }
    std::printf("      largest in %d: %s\n", pid, parts.c_str());
}

// Serves the main loop until the main page has been filled more than fills times, for at most 30 s.
bool waitForFill(padloom::Shell& shell, int fills) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (shell.mainPageFills() <= fills && std::chrono::steady_clock::now() < limit) {
        g_main_context_iteration(nullptr, FALSE);
        g_usleep(1000);
    }
    return shell.mainPageFills() > fills;
}

void report(const char* what) {
    double total = 0;
    std::string parts;
    for (const Process& process : processTree()) {
        total += process.pssMB;
        if (process.pssMB >= 0.05) {
            char part[96];
            std::snprintf(part, sizeof part, "%s%s %.1f", parts.empty() ? "" : ", ", process.name.c_str(),
                          process.pssMB);
            parts += part;
        }
    }
    std::printf("  %-36s %7.1f MB PSS  (%s)\n", what, total, parts.c_str());
    if (std::getenv("PADLOOM_MEMORY_MAPPINGS") != nullptr) {
        for (const Process& process : processTree()) {
            if (process.pssMB >= 5) {
                reportMappings(process.pid);
            }
        }
    }
    std::fflush(stdout);
}

class QuietDialogs : public padloom::Dialogs {
public:
    void showAlert(const std::string& message) override {
        std::fprintf(stderr, "alert: %s\n", message.c_str());
    }
    bool confirm(const std::string&) override { return true; }
};

} // namespace

int main() {
    char dataTemplate[] = "/tmp/padloom-memory-XXXXXX";
    const fs::path home = mkdtemp(dataTemplate);
    setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    fs::create_directories(home / "data/Padloom/presets");
    fs::copy_file(PADLOOM_RESOURCES "/presetexamples/Desktop Navigation.txt",
                  home / "data/Padloom/presets/Desktop Navigation.txt");
    padloom::drawWithoutGpu();
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fprintf(stderr, "padloom_memory_bench: no display (run it under xvfb-run)\n");
        return 1;
    }
    padloom::test::FakeTrayHost host;
    padloom::test::SdlJoystickSession joysticks;
    padloom::test::VirtualJoystick pad(4, 12, 1);
    padloom::configureWebSandbox(PADLOOM_RESOURCES);
    QuietDialogs dialogs;
    int status = 0;
    {
        padloom::ShellOptions options;
        options.resourceDir = PADLOOM_RESOURCES;
        options.dialogs = &dialogs;
        padloom::Shell shell(std::move(options));
        shell.start();
        if (!waitForFill(shell, 0)) {
            std::fprintf(stderr, "padloom_memory_bench: the main page was not filled\n");
            status = 1;
        }
        const std::string problem =
            padloom::RemoteControl(shell.controller()).activate("Desktop Navigation.txt");
        if (!problem.empty()) {
            std::fprintf(stderr, "padloom_memory_bench: %s\n", problem.c_str());
            status = 1;
        }
        serve(std::chrono::seconds(10));
        std::printf("Memory of the desktop app and the processes it started, under Xvfb:\n");
        report("main window shown, preset active");
        padloom::GtkMenuItemAdapter& option = shell.menu().item(&padloom::MenuOutlets::keepInTray_mi);
        if (!option.state()) {
            option.activate();
        }
        gtk_window_close(shell.mainWindow());
        serve(std::chrono::seconds(10));
        if (gtk_widget_get_visible(GTK_WIDGET(shell.mainWindow()))) {
            std::fprintf(stderr, "padloom_memory_bench: the window did not go to the tray\n");
            status = 1;
        }
        report("hidden in the tray, preset active");
        // Shown again, the pages come back (their processes start anew) and are filled again.
        const int fills = shell.mainPageFills();
        shell.showMainWindow();
        if (!waitForFill(shell, fills)) {
            std::fprintf(stderr, "padloom_memory_bench: the main page did not come back\n");
            status = 1;
        }
        serve(std::chrono::seconds(10));
        report("shown again from the tray");
        shell.terminateNow();
    }
    fs::remove_all(home);
    return status;
}
