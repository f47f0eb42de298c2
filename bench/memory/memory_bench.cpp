// SPDX-License-Identifier: GPL-3.0-or-later
// padloom_memory_bench: what the desktop app costs while it sits there, for the app and every
// process it started (WebKit's network and web processes): the time from exec until the main
// window's content is final; the sum of their proportional set sizes (PSS) with the main window
// shown, with the editor open too, and hidden in the tray; and, idle for 60 s shown and hidden,
// the share of a core they used and how often their threads woke. It runs the app's own shell
// in this process, with a virtual pad, a stand-in tray host and fresh XDG folders; run it under
// Xvfb and dbus-run-session (make bench does).
#include "app/desktop/remote_control.h"
#include "platform/gtk/shell/shell.h"
#include "platform/gtk/web/software_drawing.h"
#include "platform/gtk/web/web_context.h"
#include "platform/gtk/web/web_sandbox.h"
#include "tests/support/fake_tray_host.h"
#include "tests/support/virtual_joystick.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <gtk/gtk.h>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>
#include <webkit2/webkit2.h>

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

// A field of /proc/<pid>/smaps_rollup in MB; 0 when the process is gone.
double rollupMB(int pid, const std::string& field) {
    std::istringstream rollup(readFile("/proc/" + std::to_string(pid) + "/smaps_rollup"));
    for (std::string line; std::getline(rollup, line);) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::strtod(line.c_str() + field.size() + 1, nullptr) / 1024.0;
        }
    }
    return 0;
}

double pssMB(int pid) {
    return rollupMB(pid, "Pss");
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

// Runs the main loop as the app does (sleeping until a source is due) for length.
void serve(std::chrono::seconds length) {
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    g_timeout_add_seconds(
        static_cast<guint>(length.count()),
        [](gpointer loop) -> gboolean {
            g_main_loop_quit(static_cast<GMainLoop*>(loop));
            return G_SOURCE_REMOVE;
        },
        loop);
    g_main_loop_run(loop);
    g_main_loop_unref(loop);
}

struct Activity {
    double cpuSeconds = 0;
    long long switches = 0; // voluntary and involuntary: each is a wakeup
};

long long statusField(const std::string& status, const std::string& field) {
    const size_t at = status.find(field + ":");
    return at == std::string::npos ? 0 : std::atoll(status.c_str() + at + field.size() + 1);
}

// A thread's CPU time in seconds: from schedstat, to the nanosecond, where the kernel keeps it;
// else user and system time from stat, to a clock tick (10 ms: a 60 s run could tell only steps of
// 0.017 % of a core).
double threadCpuSeconds(const fs::path& task) {
    const std::string schedstat = readFile(task / "schedstat");
    if (!schedstat.empty()) {
        return static_cast<double>(std::stoull(schedstat)) / 1e9;
    }
    const std::string stat = readFile(task / "stat");
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) {
        return 0;
    }
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    unsigned long long ticks = 0;
    for (int index = 3; fields >> field && index <= 15; ++index) { // 3: state; 14, 15: user, system
        if (index >= 14) {
            ticks += std::stoull(field);
        }
    }
    return static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The CPU time and context switches of each thread of pid, by thread id.
std::map<int, Activity> threadActivity(int pid) {
    std::map<int, Activity> threads;
    const fs::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    for (const fs::directory_entry& task : fs::directory_iterator(tasks, error)) {
        const std::string status = readFile(task.path() / "status");
        if (status.empty()) {
            continue;
        }
        threads[std::stoi(task.path().filename())] = {threadCpuSeconds(task.path()),
                                                      statusField(status, "voluntary_ctxt_switches") +
                                                          statusField(status, "nonvoluntary_ctxt_switches")};
    }
    return threads;
}

// PADLOOM_IDLE_THREADS=1: each thread of pid that woke in the measured time, by name.
void reportThreads(int pid, const std::map<int, Activity>& spent, double seconds) {
    if (std::getenv("PADLOOM_IDLE_THREADS") == nullptr) {
        return;
    }
    for (const auto& [thread, activity] : spent) {
        std::string name =
            readFile("/proc/" + std::to_string(pid) + "/task/" + std::to_string(thread) + "/comm");
        if (activity.switches > 0 && !name.empty()) {
            name.erase(name.find_last_not_of('\n') + 1);
            std::printf("      %d %-16s %6.1f ms CPU %5lld wakeups in %.0f s\n", pid, name.c_str(),
                        activity.cpuSeconds * 1000, activity.switches, seconds);
        }
    }
}

// The activity of every thread of the tree; this process's own threads are read last before the
// measured time and first after it, so that reading the others (and /proc) is not counted.
std::map<int, Activity> treeActivity(const std::vector<Process>& tree, bool ownFirst) {
    std::map<int, Activity> threads;
    if (ownFirst) {
        threads.merge(threadActivity(getpid()));
    }
    for (const Process& process : tree) {
        if (process.pid != getpid()) {
            threads.merge(threadActivity(process.pid));
        }
    }
    if (!ownFirst) {
        threads.merge(threadActivity(getpid()));
    }
    return threads;
}

// Serves the main loop for length with nothing happening; prints the share of a core and the
// wakeups a second of the whole tree, and of each process. Only the readings before and after
// run in this process, outside the measured main loop. A thread that came during the time counts
// from nothing; one that went before its end is not counted.
void reportIdle(const char* what, std::chrono::seconds length) {
    std::map<int, Activity> before = treeActivity(processTree(), false);
    const auto start = std::chrono::steady_clock::now();
    serve(length);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::map<int, Activity> after = treeActivity({}, true);
    const std::vector<Process> tree = processTree();
    after.merge(treeActivity(tree, false));
    double cpu = 0;
    double wakeups = 0;
    std::string parts;
    for (const Process& process : tree) {
        Activity total;
        std::map<int, Activity> spent;
        for (const auto& [thread, unused] : threadActivity(process.pid)) {
            const Activity earlier = before.count(thread) > 0 ? before[thread] : Activity{};
            const Activity now = after.count(thread) > 0 ? after[thread] : earlier;
            spent[thread] = {now.cpuSeconds - earlier.cpuSeconds, now.switches - earlier.switches};
            total.cpuSeconds += spent[thread].cpuSeconds;
            total.switches += spent[thread].switches;
        }
        reportThreads(process.pid, spent, seconds);
        const double share = total.cpuSeconds / seconds * 100;
        const double rate = static_cast<double>(total.switches) / seconds;
        cpu += share;
        wakeups += rate;
        if (rate >= 0.005) {
            char part[96];
            std::snprintf(part, sizeof part, "%s%s %.3f %%, %.2f/s", parts.empty() ? "" : "; ",
                          process.name.c_str(), share, rate);
            parts += part;
        }
    }
    char title[64];
    std::snprintf(title, sizeof title, "%s, %.0f s", what, seconds);
    std::printf("  %-36s %6.3f %% of a core %6.2f wakeups/s  (%s)\n", title, cpu, wakeups, parts.c_str());
    std::fflush(stdout);
}

// 60 s; PADLOOM_IDLE_SECONDS sets another length for a quick look.
std::chrono::seconds idleLength() {
    const char* seconds = std::getenv("PADLOOM_IDLE_SECONDS");
    return std::chrono::seconds(seconds != nullptr ? std::atoi(seconds) : 60);
}

double secondsSinceBoot() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// When this process was started, in seconds since boot (to a clock tick).
double execSecondsSinceBoot() {
    const std::string stat = readFile("/proc/self/stat");
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int index = 3; fields >> field; ++index) {
        if (index == 22) {
            return static_cast<double>(std::stoull(field)) / static_cast<double>(sysconf(_SC_CLK_TCK));
        }
    }
    return 0;
}

// What the X server holds of the window's pixels, as one number; 0 while it is not shown.
size_t windowPixels(GtkWindow* window) {
    GdkWindow* drawn =
        gtk_widget_get_mapped(GTK_WIDGET(window)) ? gtk_widget_get_window(GTK_WIDGET(window)) : nullptr;
    if (drawn == nullptr) {
        return 0;
    }
    GdkPixbuf* pixels =
        gdk_pixbuf_get_from_window(drawn, 0, 0, gdk_window_get_width(drawn), gdk_window_get_height(drawn));
    if (pixels == nullptr) {
        return 0;
    }
    guint length = 0;
    const guint8* bytes = gdk_pixbuf_get_pixels_with_length(pixels, &length);
    const size_t sum =
        std::hash<std::string_view>{}(std::string_view(reinterpret_cast<const char*>(bytes), length));
    static size_t saved = 0;
    const char* folder = std::getenv("PADLOOM_FRAMES_DIR"); // keeps each content seen, as PNG
    if (folder != nullptr && sum != saved) {
        saved = sum;
        static int number = 0;
        const std::string file = std::string(folder) + "/content-" + std::to_string(++number) + ".png";
        gdk_pixbuf_save(pixels, file.c_str(), "png", nullptr, nullptr);
    }
    g_object_unref(pixels);
    return sum == 0 ? 1 : sum;
}

// Serves the main loop for watchFor from now, reading the window's pixels every 10 ms; prints when
// they were first shown and when they last changed, from exec.
void reportContentFinal(GtkWindow* window, std::chrono::seconds watchFor) {
    const double exec = execSecondsSinceBoot();
    const auto end = std::chrono::steady_clock::now() + watchFor;
    size_t last = 0;
    double firstShown = 0;
    double lastChange = 0;
    int frames = 0;
    while (std::chrono::steady_clock::now() < end) {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        const size_t pixels = windowPixels(window);
        if (pixels != last) {
            last = pixels;
            lastChange = secondsSinceBoot() - exec;
            if (pixels != 0) {
                ++frames;
                firstShown = firstShown == 0 ? lastChange : firstShown;
            }
        }
        g_usleep(10000);
    }
    std::printf(
        "  %-36s %7.0f ms from exec  (first shown at %.0f ms; %d different contents seen in %lld s)\n",
        "window content final", lastChange * 1000, firstShown * 1000, frames,
        static_cast<long long>(watchFor.count()));
    std::fflush(stdout);
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
    double anonymous = 0; // heaps and stacks: unlike PSS, not shared with other programs on the machine
    std::string parts;
    for (const Process& process : processTree()) {
        total += process.pssMB;
        anonymous += rollupMB(process.pid, "Anonymous");
        if (process.pssMB >= 0.05) {
            char part[96];
            std::snprintf(part, sizeof part, "%s%s %.1f", parts.empty() ? "" : ", ", process.name.c_str(),
                          process.pssMB);
            parts += part;
        }
    }
    std::printf("  %-36s %7.1f MB PSS  %5.1f MB anonymous  (%s)\n", what, total, anonymous, parts.c_str());
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

// The floor under the app's figures: one GTK window holding one web view with an empty page, made
// with the same settings as the app's pages (context, sandbox, drawing without the GPU, no JIT),
// measured as the app is. Nothing of Padloom runs.
int reportBareWindow() {
    padloom::configureWebSandbox(PADLOOM_RESOURCES);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), 460, 620);
    WebKitSettings* settings = WEBKIT_SETTINGS(g_object_new(
        WEBKIT_TYPE_SETTINGS, "hardware-acceleration-policy", WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER,
        "enable-webgl", FALSE, "enable-media", FALSE, "enable-page-cache", FALSE, nullptr));
    GtkWidget* view = GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "settings", settings, "web-context",
                                              padloom::appWebContext(), nullptr));
    g_object_unref(settings);
    gtk_container_add(GTK_CONTAINER(window), view);
    webkit_web_view_load_html(WEBKIT_WEB_VIEW(view), "<!DOCTYPE html><html><body></body></html>", nullptr);
    gtk_widget_show_all(window);
    serve(std::chrono::seconds(20));
    std::printf("A bare WebKitGTK window with an empty page, under Xvfb:\n");
    report("bare window shown");
    gtk_widget_destroy(window);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    char dataTemplate[] = "/tmp/padloom-memory-XXXXXX";
    const fs::path home = mkdtemp(dataTemplate);
    setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    fs::create_directories(home / "data/Padloom/presets");
    fs::copy_file(PADLOOM_RESOURCES "/presetexamples/Desktop Navigation.txt",
                  home / "data/Padloom/presets/Desktop Navigation.txt");
    padloom::drawWithoutGpu();
    padloom::keepWebKitLight();
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fprintf(stderr, "padloom_memory_bench: no display (run it under xvfb-run)\n");
        return 1;
    }
    if (argc > 1 && std::string(argv[1]) == "--bare") {
        return reportBareWindow();
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
        std::printf("The desktop app and the processes it started, under Xvfb:\n");
        reportContentFinal(shell.mainWindow(), std::chrono::seconds(6));
        if (shell.mainPageFills() == 0) {
            std::fprintf(stderr, "padloom_memory_bench: the main page was not filled\n");
            status = 1;
        }
        serve(std::chrono::seconds(14)); // start-up settles: the collectors have run once the pages are idle
        report("main window shown");
        reportIdle("idle, window shown", idleLength());
        if (shell.mainPage().evaluate("$('.preset .edit').first().click().length") !=
            padloom::ScriptValue(1.0)) {
            std::fprintf(stderr, "padloom_memory_bench: no preset to edit\n");
            status = 1;
        }
        serve(std::chrono::seconds(10));
        if (!gtk_widget_get_visible(GTK_WIDGET(shell.configWindow()))) {
            std::fprintf(stderr, "padloom_memory_bench: the editor did not open\n");
            status = 1;
        }
        report("main window and editor shown");
        gtk_window_close(shell.configWindow());
        const padloom::Outcome<> activated =
            padloom::RemoteControl(shell.controller()).activate("Desktop Navigation.txt");
        if (!activated) {
            std::fprintf(stderr, "padloom_memory_bench: %s\n", activated.problem().c_str());
            status = 1;
        }
        serve(std::chrono::seconds(10));
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
        padloom::RemoteControl(shell.controller()).deactivate();
        serve(std::chrono::seconds(2));
        report("hidden in the tray");
        reportIdle("idle, hidden in the tray", idleLength());
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
