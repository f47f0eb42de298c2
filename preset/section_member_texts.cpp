// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of modes and sequence steps: "toggle", "turbo 12.5", "key 44", "wait 250".
#include "preset/output_kinds.h"
#include "preset/section_members.h"
#include "preset/vantry_document.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace padloom {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t';
}

// The text after word and a run of blanks, or null when the text does not begin so.
const char* afterWord(const char* text, const char* word) {
    const std::size_t length = std::strlen(word);
    if (std::strncmp(text, word, length) != 0 || !isSpace(text[length])) {
        return nullptr;
    }
    const char* p = text + length;
    while (isSpace(*p)) {
        ++p;
    }
    return p;
}

// True when only blanks follow p.
bool endsAt(const char* p) {
    while (isSpace(*p)) {
        ++p;
    }
    return *p == '\0';
}

std::optional<float> numberAt(const char* p) {
    const char* end = p + std::strlen(p);
    float value = 0;
    const auto [rest, error] = std::from_chars(p, end, value, std::chars_format::general);
    if (error != std::errc{} || !endsAt(rest)) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::string modeToText(const BindMode& mode) {
    switch (mode.kind) {
    case ModeKind::toggle:
        return "toggle";
    case ModeKind::turbo:
        return "turbo " + amountText(mode.rate);
    case ModeKind::normal:
        break;
    }
    return {};
}

std::optional<BindMode> modeFromText(const char* text) {
    if (std::strcmp(text, "toggle") == 0) {
        return BindMode{ModeKind::toggle, 0};
    }
    const char* rate = afterWord(text, "turbo");
    const std::optional<float> value = rate ? numberAt(rate) : std::nullopt;
    // Written the other way round, a rate that is no number would pass.
    if (!value || !(*value >= slowestTurbo && *value <= fastestTurbo)) {
        return std::nullopt;
    }
    return BindMode{ModeKind::turbo, *value};
}

std::string stepToText(const SequenceStep& step) {
    if (step.output.kind == OutputKind::none) {
        return "wait " + std::to_string(step.waitMs);
    }
    return outputToText(step.output);
}

// A step presses its output at one motion tick and lets go at the next, so outputs that set a rate
// (cursor motion, the wheel) are no steps.
std::optional<SequenceStep> stepFromText(const char* text) {
    if (const char* ms = afterWord(text, "wait")) {
        uint32_t value = 0;
        const char* end = ms + std::strlen(ms);
        const auto [rest, error] = std::from_chars(ms, end, value);
        if (error != std::errc{} || rest == ms || !endsAt(rest) || value > longestWaitMs) {
            return std::nullopt;
        }
        return SequenceStep{{}, value};
    }
    const BindOutput output = outputFromText(text);
    if (output.kind == OutputKind::none || isRate(output.kind)) {
        return std::nullopt;
    }
    return SequenceStep{output, 0};
}

} // namespace padloom
