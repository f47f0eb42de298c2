// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/summary_table.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

namespace padloom::bench {
namespace {

std::string cpuModel() {
    std::ifstream in("/proc/cpuinfo");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("model name", 0) == 0) {
            const size_t colon = line.find(':');
            return colon == std::string::npos ? line : line.substr(colon + 2);
        }
    }
    return "unknown CPU";
}

void row(const char* what, const std::string& figure, const std::string& note = "") {
    std::printf("  %-44s %18s  %s\n", what, figure.c_str(), note.c_str());
}

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

void evaluationRows(const CollectingReporter& r) {
    std::printf("Evaluation: JoystickManager::handleEvent, null sink\n");
    const auto line = [&](const char* what, const char* name) {
        const auto result = r.find(name);
        if (!result) {
            row(what, "not measured");
            return;
        }
        row(what, format("%.1f ns/event", result->nsPerIteration),
            format("%.3f allocations/event",
                   result->counters.count("allocs/event") ? result->counters.at("allocs/event") : -1));
    };
    line("button, one key bind", "BM_HandleEvent_Button");
    line("axis, both halves bound", "BM_HandleEvent_AxisBothHalves");
    line("hat, four directions", "BM_HandleEvent_HatFourDirections");
    line("axis, both halves to the cursor", "BM_HandleEvent_AxisCursor");
    line("stick, round dead zone and curve", "BM_HandleEvent_StickRoundCurve");
    line("button with a mode (toggle)", "BM_HandleEvent_ButtonWithMode");
    line("button inside a layer", "BM_HandleEvent_ButtonInLayer");
    const auto turbo = r.find("BM_MotionTick_Turbo50");
    const bool rests = turbo && turbo->counters.count("rests") && turbo->counters.at("rests") > 0;
    row("motion tick, turbo 50 held", turbo ? format("%.1f ns/tick", turbo->nsPerIteration) : "not measured",
        rests ? "the timer rests once it is let go" : "the timer did not rest once it was let go");
}

void loadingRows(const CollectingReporter& r, size_t presetBytes) {
    std::printf("Preset loading: generated preset of %.2f MB\n", static_cast<double>(presetBytes) / 1e6);
    const auto mbPerSecond = [&](const char* name) -> double {
        const auto result = r.find(name);
        return result ? static_cast<double>(presetBytes) / (result->nsPerIteration * 1e-9) / 1e6 : 0;
    };
    const double load = mbPerSecond("BM_Load_VantryDocument");
    const double inPlace = mbPerSecond("BM_Parse_InPlace");
    const double nlohmann = mbPerSecond("BM_Parse_NlohmannJson");
    const double rapid = mbPerSecond("BM_Parse_RapidJsonInsitu");
    const auto ratios = [&](double mine) {
        if (mine <= 0 || nlohmann <= 0 || rapid <= 0) {
            return std::string();
        }
        return format("x%.2f nlohmann::json, ", mine / nlohmann) +
               format("x%.2f RapidJSON in situ", mine / rapid);
    };
    row("VantryDocument::load (read+parse+interpret)", format("%.1f MB/s", load), ratios(load));
    row("parse_json_in_place", format("%.1f MB/s", inPlace), ratios(inPlace));
    row("nlohmann::json::parse", format("%.1f MB/s", nlohmann));
    row("RapidJSON Document::ParseInsitu", format("%.1f MB/s", rapid));
}

void geometryRows(const CollectingReporter& r) {
    std::printf("Screen geometry: three 4K displays in an L shape\n");
    const auto compute = r.find("BM_ComputeAllDisplays_ThreeFourKInL");
    const auto confine = r.find("BM_ConfinePoint_CornerZones");
    row("computeAllDisplays (corner zones on)",
        compute ? format("%.2f ms", compute->nsPerIteration / 1e6) : "not measured");
    row("confinePoint (corner zones on)",
        confine ? format("%.1f ns", confine->nsPerIteration) : "not measured");
}

void latencyRow(const char* what, const Percentiles& l) {
    row(what, format("p50 %.2f ms", l.p50),
        format("p99 %.2f ms, ", l.p99) + format("max %.2f ms, ", l.max) + format("mean %.2f ms", l.mean));
}

void waitPathRows(const WaitPathResults& r) {
    latencyRow(format("button to key event, %.0f events", r.latencyMs.samples).c_str(), r.latencyMs);
    const MovingStickResults& moving = r.movingStick;
    latencyRow("button to key while a stick moves", moving.buttonMs);
    latencyRow("axis to key while a stick moves", moving.axisMs);
    row("stick moving at 1 kHz", format("%.3f %% of a core", moving.cpu.mapperPercent()),
        format("polling task %.3f %%, ", moving.cpu.pollingPercent) +
            format("motion timer %.3f %%; ", moving.cpu.timerPercent) +
            format("%.0f moves/s", moving.stepsPerSecond));
    row(format("stop request to the task's end, %.0f stops", r.stopMs.samples).c_str(),
        format("p50 %.2f ms", r.stopMs.p50), format("max %.2f ms", r.stopMs.max));
    row(format("idle, active preset, %.0f s", r.idle.seconds).c_str(),
        format("%.3f %% of a core", r.idle.mapperPercent()),
        format("polling task %.3f %%, ", r.idle.pollingPercent) +
            format("motion timer %.3f %%; ", r.idle.timerPercent) +
            format("process %.3f %%", r.idle.corePercent));
}

void liveRows(const LiveResults& live) {
    if (!live.ok) {
        std::printf("Through the real polling loop and the engine's timer\n");
        row("live measurements", "not measured", live.failure);
        return;
    }
    std::printf("Polling task waiting on a device node (named pipes stand in for the pad's and for udev's "
                "monitor)\n");
    waitPathRows(live.nodeWait);
    std::printf("Polling task with a pad without a node (SDL's virtual joystick): short sleeps\n");
    waitPathRows(live.fallback);
    std::printf("Motion timer on the engine's timer thread\n");
    const Percentiles& t = live.tickPeriodMs;
    row(format("motion tick period, %.0f ticks", t.samples).c_str(), format("mean %.3f ms", t.mean),
        format("p99 deviation from 10 ms %.3f ms", live.tickDeviationMs.p99) +
            format(", max %.3f ms", live.tickDeviationMs.max));
}

} // namespace

void printSummary(const CollectingReporter& benchmarks, const LiveResults& live, size_t presetBytes) {
    std::printf("\n==== Padloom benchmark summary (%u cores, %s; CPU time per operation) ====\n",
                std::thread::hardware_concurrency(), cpuModel().c_str());
    evaluationRows(benchmarks);
    loadingRows(benchmarks, presetBytes);
    geometryRows(benchmarks);
    liveRows(live);
}

} // namespace padloom::bench
