#include "bench/live_measurements.h"

#include "app/running/preset_runner.h"
#include "bench/timestamp_sink.h"
#include "tests/support/stand_in_node.h"
#include "tests/support/virtual_joystick.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace padloom::bench {
namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

// Button 0 presses the space key; axis 0 moves the cursor, so the motion timer runs.
constexpr const char* livePreset = R"({"name": "Live measurements", "tag": "bench", "joysticks": [
    {"tag": "pad", "binds": {"btn 0": ["key 44"], "axi 0 +": ["mou 0 + 6"]}}]})";

std::string writePreset() {
    const auto path = std::filesystem::temp_directory_path() /
                      ("padloom-bench-live-" + std::to_string(::getpid()) + ".json");
    std::ofstream(path) << livePreset;
    return path.string();
}

// CPU seconds used so far by each thread of the process, by thread id, with the thread's name.
struct ThreadCpu {
    std::string name;
    double seconds = 0;
};

std::map<int, ThreadCpu> threadCpuSeconds() {
    std::map<int, ThreadCpu> threads;
    const double ticksPerSecond = static_cast<double>(sysconf(_SC_CLK_TCK));
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
        std::ifstream in(task.path() / "stat");
        std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const size_t open = stat.find('('), close = stat.rfind(')');
        if (open == std::string::npos || close == std::string::npos) {
            continue;
        }
        // After the name: state, then fields 4 to 13, then utime and stime (fields 14 and 15).
        std::istringstream rest(stat.substr(close + 2));
        std::string field;
        double utime = 0, stime = 0;
        for (int i = 3; i <= 15 && rest >> field; ++i) {
            if (i == 14) {
                utime = std::stod(field);
            } else if (i == 15) {
                stime = std::stod(field);
            }
        }
        threads[std::stoi(task.path().filename().string())] = {stat.substr(open + 1, close - open - 1),
                                                               (utime + stime) / ticksPerSecond};
    }
    return threads;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage); // every thread of the process
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Presses and releases button 0 at random intervals; each change is timed from just before the
// device changes to the sink's receipt of the key event that the polling task made of it.
// afterChange is what the pad's node does on input.
bool measureLatency(test::VirtualJoystick& pad, const std::function<void()>& afterChange, TimestampSink& sink,
                    int events, std::vector<double>& out) {
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> gapUs(1000, 20000);
    const size_t before = sink.keyEvents();
    for (int i = 0; i < events; ++i) {
        std::this_thread::sleep_for(std::chrono::microseconds(gapUs(random)));
        const Clock::time_point changed = Clock::now();
        pad.setButton(0, i % 2 == 0);
        afterChange();
        const auto received =
            sink.waitForKeyEvents(before + static_cast<size_t>(i) + 1, changed + std::chrono::seconds(2));
        if (!received) {
            return false;
        }
        out.push_back(Milliseconds(*received - changed).count());
    }
    return true;
}

// Stops the task while it waits (from 100 to 300 ms after its start), timing the request to the
// task's end, and starts it again.
bool measureStops(PresetRunner& runner, int stops, std::vector<double>& out) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> settleMs(100, 300);
    for (int i = 0; i < stops; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(settleMs(random)));
        const Clock::time_point requested = Clock::now();
        runner.stopPolling();
        while (runner.joystickPollingTaskRunning) {
            if (Clock::now() - requested > std::chrono::seconds(2)) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
        out.push_back(Milliseconds(Clock::now() - requested).count());
        runner.startPolling();
    }
    return true;
}

// Holds the axis at full deflection and keeps the times of the motion events the ticks post.
bool measureTicks(test::VirtualJoystick& pad, const std::function<void()>& afterChange, TimestampSink& sink,
                  int samples, std::vector<double>& periods) {
    sink.recordMotion(true);
    pad.setAxis(0, 32767);
    afterChange();
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(samples * 20 + 2000);
    while (sink.motionTimes().size() < static_cast<size_t>(samples) + 2 && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    sink.recordMotion(false);
    pad.setAxis(0, 0);
    afterChange();
    const std::vector<SteadyTime> times = sink.motionTimes();
    // The first interval may start before the deflection reached the engine.
    for (size_t i = 2; i < times.size(); ++i) {
        periods.push_back(Milliseconds(times[i] - times[i - 1]).count());
    }
    return periods.size() >= static_cast<size_t>(samples);
}

// The CPU time of the whole process over an idle stretch, and its share by thread: SDL's timer
// thread, the measuring (main) thread, and the rest, which is the polling task.
IdleCost idleCost(double seconds) {
    const int mainThread = static_cast<int>(::getpid());
    const double cpuBefore = cpuSeconds();
    const auto threadsBefore = threadCpuSeconds();
    const Clock::time_point start = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const auto threadsAfter = threadCpuSeconds();
    IdleCost cost;
    cost.seconds = wall;
    cost.corePercent = 100.0 * (cpuSeconds() - cpuBefore) / wall;
    for (const auto& [tid, after] : threadsAfter) {
        const auto before = threadsBefore.find(tid);
        const double used = after.seconds - (before == threadsBefore.end() ? 0 : before->second.seconds);
        const double percent = 100.0 * used / wall;
        if (after.name.rfind("SDLTimer", 0) == 0) {
            cost.timerPercent += percent;
        } else if (tid != mainThread) {
            cost.pollingPercent += percent;
        }
    }
    return cost;
}

LiveResults failed(const char* why) {
    LiveResults results;
    results.failure = why;
    return results;
}

// What every measurement uses: the pad, the sink and the preset file.
struct LiveRig {
    test::VirtualJoystick& pad;
    TimestampSink& sink;
    std::string preset;
};

// One way of waiting: the nodes the task waits on, and what the pad's node does on input.
struct WaitPath {
    PadWait::NodeSource nodes;
    std::function<void()> onInput;
};

// Activates the measurement preset on a runner that waits on the path's nodes, and measures
// latency, stops and idle cost; with periods, also the motion tick's period.
const char* measureWaitPath(LiveRig& rig, const WaitPath& path, const LivePlan& plan,
                            WaitPathResults& results, std::vector<double>* periods) {
    // The runner's deactivation (at its end) quits the joystick subsystem; this reference keeps
    // the pad attached.
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    PresetRunner runner(path.nodes);
    runner.engine.eventSink.set(&rig.sink);
    if (!runner.activate(rig.preset)) {
        return "the measurement preset did not activate";
    }
    runner.startPolling();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));

    const char* failure = nullptr;
    std::vector<double> latencies, stops;
    if (!measureLatency(rig.pad, path.onInput, rig.sink, plan.latencyEvents, latencies)) {
        failure = "a button change never reached the sink";
    } else if (periods && !measureTicks(rig.pad, path.onInput, rig.sink, plan.tickSamples, *periods)) {
        failure = "the motion timer posted too few events";
    } else if (!measureStops(runner, plan.stops, stops)) {
        failure = "a stopped polling task did not end";
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(200)); // the axis returns to rest
        results.idle = idleCost(plan.idleSeconds);
    }
    results.latencyMs = percentiles(latencies);
    results.stopMs = percentiles(stops);
    return failure;
}

} // namespace

Percentiles percentiles(std::vector<double> values) {
    Percentiles result;
    if (values.empty()) {
        return result;
    }
    std::sort(values.begin(), values.end());
    const auto rank = [&](double p) {
        const auto index = static_cast<size_t>(std::ceil(p * static_cast<double>(values.size())));
        return values[std::clamp<size_t>(index, 1, values.size()) - 1];
    };
    result.samples = static_cast<int>(values.size());
    result.mean = std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
    result.p50 = rank(0.50);
    result.p99 = rank(0.99);
    result.max = values.back();
    return result;
}

LiveResults runLiveMeasurements(const LivePlan& plan) {
    TimestampSink sink;
    test::SdlJoystickSession sdl;
    auto pad = std::make_unique<test::VirtualJoystick>(2, 4, 1);
    test::StandInNode node;
    if (!sdl.ok() || !pad->attached()) {
        return failed("SDL's virtual joystick driver is not available");
    }
    if (!node.ok()) {
        return failed("no named pipe could stand in for a device node");
    }
    LiveRig rig{*pad, sink, writePreset()};

    LiveResults results;
    std::vector<double> periods;
    const WaitPath nodeWait{[&] { return node.nodes(); }, [&] { node.send(); }};
    const WaitPath fallback{openJoystickNodes, [] {}};
    const char* failure = measureWaitPath(rig, nodeWait, plan, results.nodeWait, &periods);
    if (failure == nullptr) {
        failure = measureWaitPath(rig, fallback, plan, results.fallback, nullptr);
    }
    std::filesystem::remove(rig.preset);
    results.ok = failure == nullptr;
    results.failure = failure ? failure : "";
    results.tickPeriodMs = percentiles(periods);
    std::vector<double> deviations;
    for (double period : periods) {
        deviations.push_back(std::fabs(period - 10.0));
    }
    results.tickDeviationMs = percentiles(deviations);
    return results;
}

} // namespace padloom::bench
