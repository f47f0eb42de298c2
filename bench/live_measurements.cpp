// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/live_measurements.h"

#include "app/running/preset_runner.h"
#include "bench/timestamp_sink.h"
#include "engine/timer_source.h"
#include "tests/support/stand_in_node.h"
#include "tests/support/virtual_joystick.h"

#include <algorithm>
#include <atomic>
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
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace padloom::bench {
namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

// Button 0 and axis 2 (past its switch threshold) press keys; axis 0 moves the cursor, so the
// motion timer runs, and so does axis 1, the stick that moves while presses are timed.
constexpr const char* livePreset = R"({"name": "Live measurements", "tag": "bench", "joysticks": [
    {"tag": "pad", "binds": {"btn 0": ["key 44"], "axi 0 +": ["mou 0 + 6"], "axi 1 +": ["mou 1 + 4"],
    "axi 1 -": ["mou 1 - 4"], "axi 2 +": ["key 45"]}}]})";
constexpr int movingAxis = 1;
constexpr int thresholdAxis = 2;

std::string writePreset() {
    const auto path = std::filesystem::temp_directory_path() /
                      ("padloom-bench-live-" + std::to_string(::getpid()) + ".json");
    std::ofstream(path) << livePreset;
    return path.string();
}

// CPU time used so far by each thread of the process, by thread id, with the thread's name.
struct ThreadCpu {
    std::string name;
    double seconds = 0;
};

std::string firstLine(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// schedstat's first field is the thread's time on a CPU, in nanoseconds.
std::map<int, ThreadCpu> threadCpuSeconds() {
    std::map<int, ThreadCpu> threads;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
        const std::string schedstat = firstLine(task.path() / "schedstat");
        if (schedstat.empty()) {
            continue;
        }
        threads[std::stoi(task.path().filename().string())] = {firstLine(task.path() / "comm"),
                                                               std::stod(schedstat) / 1e9};
    }
    return threads;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage); // every thread of the process
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Makes change(i), the i-th change of the pad, at random intervals; each is timed from just before
// the device changes to the sink's receipt of the key event that the polling task made of it.
// afterChange is what the pad's node does on input.
bool measureLatency(const std::function<void(int)>& change, const std::function<void()>& afterChange,
                    TimestampSink& sink, int events, std::vector<double>& out) {
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> gapUs(1000, 20000);
    const size_t before = sink.keyEvents();
    for (int i = 0; i < events; ++i) {
        std::this_thread::sleep_for(std::chrono::microseconds(gapUs(random)));
        const Clock::time_point changed = Clock::now();
        change(i);
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

// Moves axis 1 every millisecond, each step to a new value, on a thread of its own, and does what
// the pad's node does on input: a stick in a player's hand on a pad that reports at 1 kHz.
class StickMover {
public:
    StickMover(test::VirtualJoystick& pad, std::function<void()> onInput)
        : pad_(pad), onInput_(std::move(onInput)), thread_([this] { run(); }) {}
    ~StickMover() {
        moving_ = false;
        thread_.join();
        pad_.setAxis(movingAxis, 0);
        onInput_();
    }
    StickMover(const StickMover&) = delete;
    StickMover& operator=(const StickMover&) = delete;

    // Its thread, once it has started.
    int threadId() const { return threadId_.load(); }
    long steps() const { return steps_.load(); }

private:
    void run() {
        threadId_ = static_cast<int>(gettid());
        int value = 8000;
        int step = 150;
        for (Clock::time_point next = Clock::now(); moving_;) {
            // A thread held off for long starts afresh rather than catching up at once.
            next = std::max(next + std::chrono::milliseconds(1), Clock::now() - std::chrono::milliseconds(5));
            std::this_thread::sleep_until(next);
            if (value + step > 30000 || value + step < 8000) {
                step = -step;
            }
            value += step;
            pad_.setAxis(movingAxis, static_cast<int16_t>(value));
            onInput_();
            ++steps_;
        }
    }

    test::VirtualJoystick& pad_;
    std::function<void()> onInput_;
    std::atomic<bool> moving_{true};
    std::atomic<int> threadId_{0};
    std::atomic<long> steps_{0};
    std::thread thread_; // last: it starts once the rest is made
};

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

// The CPU time of the whole process over a stretch, and its share by thread: the motion timer's,
// and the polling task, which is every other thread but the bench's own (the measuring thread, and
// any that stands in for the pad).
CpuCost cpuCost(double seconds, const std::vector<int>& benchThreads) {
    // The thread times are read outside the process's stretch: reading them costs the bench.
    const auto threadsBefore = threadCpuSeconds();
    const double cpuBefore = cpuSeconds();
    const Clock::time_point start = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpuAfter = cpuSeconds();
    const auto threadsAfter = threadCpuSeconds();
    CpuCost cost;
    cost.seconds = wall;
    cost.corePercent = 100.0 * (cpuAfter - cpuBefore) / wall;
    for (const auto& [tid, after] : threadsAfter) {
        const auto before = threadsBefore.find(tid);
        const double used = after.seconds - (before == threadsBefore.end() ? 0 : before->second.seconds);
        const double percent = 100.0 * used / wall;
        if (after.name == timerThreadName) {
            cost.timerPercent += percent;
        } else if (std::find(benchThreads.begin(), benchThreads.end(), tid) == benchThreads.end()) {
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

// One way of waiting: the nodes the task waits on, and what the pad's node does on input; and
// what tells of device changes.
struct WaitPath {
    PadWait::NodeSource nodes;
    std::function<void()> onInput;
    PadWait::ChangeSource changes = kernelDeviceChanges;
};

const int measuringThread = static_cast<int>(::getpid());

// Presses of button 0 and of axis 2 while axis 1 moves at 1 kHz, and the CPU time that motion costs.
const char* measureMovingStick(LiveRig& rig, const WaitPath& path, const LivePlan& plan,
                               MovingStickResults& results) {
    const auto pressButton = [&](int i) { rig.pad.setButton(0, i % 2 == 0); };
    const auto crossThreshold = [&](int i) { rig.pad.setAxis(thresholdAxis, i % 2 == 0 ? 32767 : 0); };
    std::vector<double> buttons, axes;
    const char* failure = nullptr;
    {
        StickMover mover(rig.pad, path.onInput);
        if (!measureLatency(pressButton, path.onInput, rig.sink, plan.latencyEvents, buttons)) {
            failure = "a button change never reached the sink while the stick moved";
        } else if (!measureLatency(crossThreshold, path.onInput, rig.sink, plan.latencyEvents, axes)) {
            failure = "an axis change never reached the sink while the stick moved";
        } else {
            const long stepsBefore = mover.steps();
            results.cpu = cpuCost(plan.movingSeconds, {measuringThread, mover.threadId()});
            results.stepsPerSecond = static_cast<double>(mover.steps() - stepsBefore) / results.cpu.seconds;
        }
    }
    results.buttonMs = percentiles(buttons);
    results.axisMs = percentiles(axes);
    return failure;
}

// Activates the measurement preset on a runner that waits on the path's nodes, and measures
// latency (the pad still, then with a moving stick), stops and idle cost; with periods, also the
// motion tick's period.
const char* measureWaitPath(LiveRig& rig, const WaitPath& path, const LivePlan& plan,
                            WaitPathResults& results, std::vector<double>* periods) {
    // The runner's deactivation (at its end) quits the joystick subsystem; this reference keeps
    // the pad attached.
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    PresetRunner runner(path.nodes, path.changes);
    runner.engine.eventSink.set(&rig.sink);
    if (!runner.activate(rig.preset)) {
        return "the measurement preset did not activate";
    }
    runner.startPolling();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));

    std::vector<double> latencies, stops;
    const auto pressButton = [&](int i) { rig.pad.setButton(0, i % 2 == 0); };
    const char* failure = measureLatency(pressButton, path.onInput, rig.sink, plan.latencyEvents, latencies)
                              ? measureMovingStick(rig, path, plan, results.movingStick)
                              : "a button change never reached the sink";
    if (failure == nullptr && periods &&
        !measureTicks(rig.pad, path.onInput, rig.sink, plan.tickSamples, *periods)) {
        failure = "the motion timer posted too few events";
    }
    if (failure == nullptr && !measureStops(runner, plan.stops, stops)) {
        failure = "a stopped polling task did not end";
    }
    if (failure == nullptr) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200)); // the axis returns to rest
        results.idle = cpuCost(plan.idleSeconds, {measuringThread});
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
    auto pad = std::make_unique<test::VirtualJoystick>(3, 4, 1);
    test::StandInNode node;
    test::StandInNode deviceChanges; // as udev's monitor on a desktop: none come
    if (!sdl.ok() || !pad->attached()) {
        return failed("SDL's virtual joystick driver is not available");
    }
    if (!node.ok() || !deviceChanges.ok()) {
        return failed("no named pipe could stand in for a device node or device events");
    }
    LiveRig rig{*pad, sink, writePreset()};

    LiveResults results;
    std::vector<double> periods;
    const WaitPath nodeWait{[&] { return node.nodes(); }, [&] { node.send(); }, deviceChanges.changeSource()};
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
