// Reading bind texts. Both readers go by the number of fields converted by the scan of
// "%3c %d %c" or "%3c %d %c %f", so the word, the number and the direction or sign may be run
// together ("axi1+") and anything after the last field is ignored.
#include "preset/bind_text_scan.h"
#include "preset/vantry_document.h"

#include <cmath>
#include <cstring>

namespace padloom {
namespace {

constexpr float axisThreshold = 0.42f;
constexpr float defaultAmount = 6.0f;

bool isWord(const char* word, const char* expected) {
    return std::memcmp(word, expected, 3) == 0;
}

int hatDirection(char c) {
    switch (c) {
    case 'U':
        return 1;
    case 'R':
        return 2;
    case 'D':
        return 4;
    case 'L':
        return 8;
    default:
        return 0;
    }
}

int signOf(char c) {
    return c == '+' ? 1 : c == '-' ? -1 : 0;
}

BindInput directedInput(const char* word, uint32_t index, char direction) {
    if (isWord(word, "axi") && signOf(direction) != 0) {
        return {InputKind::axis, index, signOf(direction), axisThreshold};
    }
    if (isWord(word, "hat") && hatDirection(direction) != 0) {
        return {InputKind::hat, index, hatDirection(direction), 0};
    }
    return {};
}

BindOutput signedOutput(const char* word, uint32_t code, char sign, float amount) {
    if (signOf(sign) == 0) {
        return {};
    }
    if (isWord(word, "whs")) {
        return {OutputKind::wheelStep, code, signOf(sign), defaultAmount};
    }
    // An amount that is not a number or infinite would carry on into every cursor position the
    // motion timer computes; such a text is refused.
    if (!std::isfinite(amount)) {
        return {};
    }
    if (isWord(word, "mou")) {
        return {OutputKind::mouseMotion, code, signOf(sign), amount};
    }
    if (isWord(word, "whe")) {
        return {OutputKind::wheel, code, signOf(sign), amount};
    }
    return {};
}

} // namespace

BindInput inputFromText(const char* text) {
    if (text == nullptr) {
        return {};
    }
    BindTextFields fields{};
    const int converted = scanBindText(text, fields, false);
    const auto index = static_cast<uint32_t>(fields.number);
    if (converted == 2) {
        return isWord(fields.word, "btn") ? BindInput{InputKind::button, index, 0, 0} : BindInput{};
    }
    return converted == 3 ? directedInput(fields.word, index, fields.mark) : BindInput{};
}

BindOutput outputFromText(const char* text) {
    if (text == nullptr) {
        return {};
    }
    BindTextFields fields{};
    fields.amount = defaultAmount;
    const int converted = scanBindText(text, fields, true);
    const auto code = static_cast<uint32_t>(fields.number);
    if (converted == 2) {
        if (isWord(fields.word, "key")) {
            return {OutputKind::key, code, 0, 0};
        }
        return isWord(fields.word, "mbt") ? BindOutput{OutputKind::mouseButton, code, 0, 0} : BindOutput{};
    }
    return converted == 3 || converted == 4 ? signedOutput(fields.word, code, fields.mark, fields.amount)
                                            : BindOutput{};
}

} // namespace padloom
