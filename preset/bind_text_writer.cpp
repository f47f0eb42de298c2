// Writing bind texts: "btn 3", "axi 1 -", "hat 0 U", "key 44", "mou 0 + 6", "whs 1 -".
#include "preset/vantry_document.h"

#include <locale>
#include <sstream>

namespace padloom {
namespace {

const char* hatLetter(int32_t direction) {
    switch (direction) {
    case 1:
        return " U";
    case 2:
        return " R";
    case 4:
        return " D";
    case 8:
        return " L";
    default:
        return "";
    }
}

const char* signText(int32_t sign) {
    return sign == 1 ? " +" : sign == -1 ? " -" : "";
}

// Six significant digits, exponent notation below 1e-4 and from 1e6 up, no trailing zeros: the
// default format of a stream, with a decimal point in every locale.
std::string amountText(float amount) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << amount;
    return out.str();
}

const char* outputWord(OutputKind kind) {
    switch (kind) {
    case OutputKind::key:
        return "key ";
    case OutputKind::mouseButton:
        return "mbt ";
    case OutputKind::mouseMotion:
        return "mou ";
    case OutputKind::wheel:
        return "whe ";
    case OutputKind::wheelStep:
        return "whs ";
    default:
        return nullptr;
    }
}

} // namespace

std::string inputToText(const BindInput& input) {
    const std::string index = std::to_string(input.index);
    switch (input.kind) {
    case InputKind::button:
        return "btn " + index;
    case InputKind::axis:
        return "axi " + index + signText(input.direction);
    case InputKind::hat:
        return "hat " + index + hatLetter(input.direction);
    default:
        return {};
    }
}

std::string outputToText(const BindOutput& output) {
    const char* word = outputWord(output.kind);
    if (word == nullptr) {
        return {};
    }
    std::string text = word + std::to_string(output.code);
    if (output.kind == OutputKind::key || output.kind == OutputKind::mouseButton) {
        return text;
    }
    text += signText(output.sign);
    if (output.kind != OutputKind::wheelStep) {
        text += ' ' + amountText(output.amount);
    }
    return text;
}

} // namespace padloom
