// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/generated_preset.h"

#include "preset/vantry_document.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

namespace padloom::bench {
namespace {

constexpr size_t targetBytes = 1 << 20;

// One section of a busy gamepad: every button, both halves of every axis and the four directions
// of every hat, with one to three outputs of every kind.
VantryDocument::JoystickData section(int number) {
    VantryDocument::JoystickData pad{"Gamepad " + std::to_string(number), {}};
    const auto add = [&](const BindInput& input, VantryDocument::BindOutputs outputs) {
        pad.binds.push_back({input, std::move(outputs)});
    };
    for (uint32_t button = 0; button < 32; ++button) {
        add({InputKind::button, button, 0, 0},
            {{OutputKind::key, button + 4, 0, 0}, {OutputKind::mouseButton, button % 8, 0, 0}});
    }
    for (uint32_t axis = 0; axis < 16; ++axis) {
        for (int32_t direction : {1, -1}) {
            add({InputKind::axis, axis, direction, 0.42f},
                {{OutputKind::mouseMotion, axis % 2, direction, 6.5f},
                 {OutputKind::wheel, 1, -direction, 2.25f},
                 {OutputKind::key, axis + 60, 0, 0}});
        }
    }
    for (uint32_t hat = 0; hat < 4; ++hat) {
        for (int32_t direction : {1, 2, 4, 8}) {
            add({InputKind::hat, hat, direction, 0}, {{OutputKind::wheelStep, hat % 2, 1, 6}});
        }
    }
    return pad;
}

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string temporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "padloom-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("padloom_bench: mkdtemp");
        std::exit(1);
    }
    return pattern;
}

std::string save(int sections, const std::string& path) {
    VantryDocument document;
    document.name = "Generated benchmark preset";
    document.tag = "bench";
    document.joysticks = std::make_unique<std::vector<VantryDocument::JoystickData>>();
    for (int i = 0; i < sections; ++i) {
        document.joysticks->push_back(section(i));
    }
    if (!document.save(path.c_str())) {
        std::fprintf(stderr, "padloom_bench: could not write %s\n", path.c_str());
        std::exit(1);
    }
    return readWhole(path);
}

GeneratedPreset make() {
    static const std::string folder = temporaryFolder();
    std::atexit([] { std::filesystem::remove_all(folder); });
    GeneratedPreset preset{folder + "/generated.json", {}};
    const size_t oneSection = save(1, preset.path).size();
    const int sections = static_cast<int>((targetBytes + oneSection - 1) / oneSection);
    preset.text = save(sections, preset.path);
    return preset;
}

} // namespace

const GeneratedPreset& generatedPreset() {
    static const GeneratedPreset preset = make();
    return preset;
}

} // namespace padloom::bench
