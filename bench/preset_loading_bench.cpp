// SPDX-License-Identifier: GPL-3.0-or-later
// Preset loading throughput on the generated preset: the whole load (read, parse, interpret), the
// in-place parse alone, and two general JSON parsers on the same text. The in-place parsers
// destroy their input, so each iteration first restores a copy of the text, outside the timing.
#include "bench/generated_preset.h"
#include "preset/json/json_reader.h"
#include "preset/vantry_document.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>
#include <rapidjson/document.h>
#include <vector>

namespace padloom::bench {
namespace {

void setBytes(benchmark::State& state, size_t bytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

void BM_Load_VantryDocument(benchmark::State& state) {
    const GeneratedPreset& preset = generatedPreset();
    for (auto _ : state) {
        VantryDocument document;
        if (!document.load(preset.path.c_str())) {
            state.SkipWithError("the generated preset did not load");
            return;
        }
        benchmark::DoNotOptimize(document.joysticks);
    }
    setBytes(state, preset.text.size());
}

// Restores the text for an in-place parser, outside the timing.
class Scratch {
public:
    explicit Scratch(const std::string& text) : text_(text), buffer_(text.size() + 1) {}
    char* fresh(benchmark::State& state) {
        state.PauseTiming();
        std::copy(text_.begin(), text_.end(), buffer_.begin());
        buffer_.back() = '\0';
        state.ResumeTiming();
        return buffer_.data();
    }

private:
    const std::string& text_;
    std::vector<char> buffer_;
};

void BM_Parse_InPlace(benchmark::State& state) {
    const GeneratedPreset& preset = generatedPreset();
    Scratch scratch(preset.text);
    block_allocator allocator(1024);
    for (auto _ : state) {
        char* text = scratch.fresh(state);
        allocator.release_all();
        char* errorPos = nullptr;
        const char* errorDesc = nullptr;
        int errorLine = 0;
        json_value* root = parse_json_in_place(text, &errorPos, &errorDesc, &errorLine, &allocator);
        if (root == nullptr) {
            state.SkipWithError("the generated preset did not parse");
            return;
        }
        benchmark::DoNotOptimize(root);
    }
    setBytes(state, preset.text.size());
}

void BM_Parse_NlohmannJson(benchmark::State& state) {
    const GeneratedPreset& preset = generatedPreset();
    for (auto _ : state) {
        nlohmann::json tree = nlohmann::json::parse(preset.text);
        benchmark::DoNotOptimize(tree);
    }
    setBytes(state, preset.text.size());
}

void BM_Parse_RapidJsonInsitu(benchmark::State& state) {
    const GeneratedPreset& preset = generatedPreset();
    Scratch scratch(preset.text);
    for (auto _ : state) {
        char* text = scratch.fresh(state);
        rapidjson::Document tree;
        tree.ParseInsitu(text);
        if (tree.HasParseError()) {
            state.SkipWithError("RapidJSON did not parse the generated preset");
            return;
        }
        benchmark::DoNotOptimize(tree);
    }
    setBytes(state, preset.text.size());
}

} // namespace

BENCHMARK(BM_Load_VantryDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse_InPlace)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse_NlohmannJson)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse_RapidJsonInsitu)->Unit(benchmark::kMillisecond);

} // namespace padloom::bench
