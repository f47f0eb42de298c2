// Reading bind texts. Both readers go by the number of fields the C library's scanner converts,
// so the word, the number and the direction or sign may be run together ("axi1+") and anything after
// the last field is ignored.
#include "preset/json/scoped_c_locale.h"
#include "preset/vantry_document.h"

#include <cmath>
#include <cstdio>
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
    char word[3] = {};
    int number = 0;
    char direction = 0;
    const int fields = [&] {
        const scoped_c_locale numbersWithPoint;
        return std::sscanf(text, "%3c %d %c", word, &number, &direction);
    }();
    const auto index = static_cast<uint32_t>(number);
    if (fields == 2) {
        return isWord(word, "btn") ? BindInput{InputKind::button, index, 0, 0} : BindInput{};
    }
    return fields == 3 ? directedInput(word, index, direction) : BindInput{};
}

BindOutput outputFromText(const char* text) {
    if (text == nullptr) {
        return {};
    }
    char word[3] = {};
    int code = 0;
    char sign = 0;
    float amount = defaultAmount;
    const int fields = [&] {
        const scoped_c_locale numbersWithPoint;
        return std::sscanf(text, "%3c %d %c %f", word, &code, &sign, &amount);
    }();
    const auto number = static_cast<uint32_t>(code);
    if (fields == 2) {
        if (isWord(word, "key")) {
            return {OutputKind::key, number, 0, 0};
        }
        return isWord(word, "mbt") ? BindOutput{OutputKind::mouseButton, number, 0, 0} : BindOutput{};
    }
    return fields == 3 || fields == 4 ? signedOutput(word, number, sign, amount) : BindOutput{};
}

} // namespace padloom
