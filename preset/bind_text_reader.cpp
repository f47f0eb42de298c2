// SPDX-License-Identifier: GPL-3.0-or-later
// Reading bind texts: the scan of their fields, exactly as the C library scans "%3c %d %c" and
// "%3c %d %c %f" in the "C" locale, and the two readers built on it. Both readers go by the number of
// fields converted, so the word, the number and the direction or sign may be run together ("axi1+")
// and anything after the last field is ignored. The scan and the readers share this file so that the
// quick path of the scan is compiled into each reader.
#include "preset/bind_text_scan.h"
#include "preset/output_kinds.h"
#include "preset/vantry_document.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

namespace padloom {
namespace {

// The "C" locale's white space: space, tab, line feed, vertical tab, form feed, carriage return.
bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c) {
    const char lower = static_cast<char>(c | 0x20);
    return isDigit(c) || (lower >= 'a' && lower <= 'f');
}

// Case-insensitive match of a lower-case ASCII word at p.
bool startsWithWord(const char* p, const char* word) {
    for (; *word != '\0'; ++p, ++word) {
        if ((*p | 0x20) != *word) {
            return false;
        }
    }
    return true;
}

const char* skipSpace(const char* p) {
    if (*p == ' ') {
        ++p; // the usual single space
    }
    while (isSpace(*p)) {
        ++p;
    }
    return p;
}

// "%d": an optional sign and at least one digit. The scanner converts through strtol, so a number
// beyond the range of a 64-bit long is clamped to it, and the long is then cut to its low 32 bits
// ("2147483648" gives -2147483648, "99999999999999999999" gives -1, "-99999999999999999999" 0).
bool scanNumber(const char*& p, int32_t& number) {
    const char* q = p;
    const bool negative = *q == '-';
    if (*q == '+' || *q == '-') {
        ++q;
    }
    if (!isDigit(*q)) {
        return false;
    }
    // Eighteen digits cannot reach the clamp; only longer numbers need the check.
    uint64_t magnitude = 0;
    for (const char* quick = q + 18; q < quick && isDigit(*q); ++q) {
        magnitude = magnitude * 10 + static_cast<uint64_t>(*q - '0');
    }
    const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
    for (; isDigit(*q); ++q) {
        const auto digit = static_cast<uint64_t>(*q - '0');
        magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
    }
    number = static_cast<int32_t>(static_cast<uint32_t>(negative ? 0 - magnitude : magnitude));
    p = q;
    return true;
}

// The common amount, such as "6", "0.5" or "2.25": at most seven digits, one point among them or
// after them, and no exponent or hexadecimal prefix. Its digits make an integer below 2^24 and its scale a
// power of ten up to 10^7, both exact in a float, so one division gives the correctly rounded value strtof
// gives. False, with nothing changed, for every other form.
bool plainAmount(const char* p, float& value) {
    static constexpr float powersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f};
    uint32_t digits = 0;
    int count = 0;
    int decimals = 0;
    bool point = false;
    for (;; ++p) {
        if (isDigit(*p)) {
            digits = digits * 10 + static_cast<uint32_t>(*p - '0');
            ++count;
            decimals += point ? 1 : 0;
        } else if (*p == '.' && !point) {
            point = true;
        } else {
            break;
        }
        if (count > 7) {
            return false;
        }
    }
    // An exponent, or the x of a hexadecimal "0x", continues the number.
    if (count == 0 || (*p | 0x20) == 'e' || (*p | 0x20) == 'x') {
        return false;
    }
    value = static_cast<float>(digits) / powersOfTen[decimals];
    return true;
}

// The characters the scanner gathers for a float before it converts them: digits (hexadecimal
// ones before the exponent of a hexadecimal number), one point, an exponent mark once a digit was
// seen, and a sign right after that mark. Returns the end of what it gathered.
const char* gatherFloat(const char* p, bool hexadecimal) {
    const char exponentMark = hexadecimal ? 'p' : 'e';
    bool digit = false;
    bool point = false;
    bool exponent = false;
    for (;; ++p) {
        const char c = *p;
        if (isDigit(c) || (hexadecimal && !exponent && isHexDigit(c))) {
            digit = true;
        } else if (exponent && (c == '+' || c == '-') && (p[-1] | 0x20) == exponentMark) {
        } else if (digit && !exponent && (c | 0x20) == exponentMark) {
            exponent = point = true;
        } else if (!point && c == '.') {
            point = true;
        } else {
            return p;
        }
    }
}

// std::from_chars leaves the value alone when it is out of a float's range, where strtof gives
// infinity for a magnitude too large and zero for one too small. Such a magnitude is beyond 1e38
// or below 1e-38, so the place of the first significant digit, moved by the exponent, tells which.
float beyondRange(const char* begin, const char* end, bool hexadecimal) {
    const int64_t digitScale = hexadecimal ? 4 : 1;
    const char exponentMark = hexadecimal ? 'p' : 'e';
    const int64_t cap = int64_t{1} << 40;
    int64_t place = 0; // digits from the first significant one to the point, or minus the zeros before it
    bool significant = false;
    bool point = false;
    const char* p = begin;
    for (; p < end && (*p | 0x20) != exponentMark; ++p) {
        if (*p == '.') {
            point = true;
        } else if (!significant && *p != '0') {
            significant = true;
            place = point ? place : 1;
        } else if (significant != point && place < cap) {
            place += significant ? 1 : -1;
        }
    }
    int64_t exponent = 0;
    if (p < end) {
        const bool negative = p + 1 < end && p[1] == '-';
        for (++p; p < end; ++p) {
            if (isDigit(*p) && exponent < cap) {
                exponent = exponent * 10 + (*p - '0');
            }
        }
        exponent = negative ? -exponent : exponent;
    }
    const bool large = place * digitScale + exponent > 0;
    return large ? std::numeric_limits<float>::infinity() : 0.0f;
}

// Converts [begin, end), which must read whole as a number without a sign; false when it does not.
bool convertFloat(const char* begin, const char* end, bool hexadecimal, float& value) {
    const auto format = hexadecimal ? std::chars_format::hex : std::chars_format::general;
    const std::from_chars_result result = std::from_chars(begin, end, value, format);
    if (result.ec == std::errc::result_out_of_range) {
        value = beyondRange(begin, result.ptr, hexadecimal);
        return true;
    }
    return result.ec == std::errc{};
}

// "%f": an optional sign, then "nan", "inf", "infinity" (in any case), a hexadecimal number after
// "0x", or a decimal number; rounded to float as strtof rounds. The scanner reads "nan" without a
// following "(...)", and refuses a text that begins "infinity" but breaks off after "inf".
bool scanAmount(const char* p, float& amount) {
    if (*p == '\0') {
        return false;
    }
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') {
        ++p;
    }
    float value = 0;
    if ((*p | 0x20) == 'n') {
        if (!startsWithWord(p, "nan")) {
            return false;
        }
        value = std::numeric_limits<float>::quiet_NaN();
    } else if ((*p | 0x20) == 'i') {
        if (!startsWithWord(p, "inf") || ((p[3] | 0x20) == 'i' && !startsWithWord(p + 3, "inity"))) {
            return false;
        }
        value = std::numeric_limits<float>::infinity();
    } else if (*p == '0' && (p[1] | 0x20) == 'x') {
        // "0x" alone is refused; "0x." reads as the zero before the x.
        const char* digits = p + 2;
        const char* end = gatherFloat(digits, true);
        if (end == digits) {
            return false;
        }
        if (!convertFloat(digits, end, true, value)) {
            value = 0;
        }
    } else if (!plainAmount(p, value) && !convertFloat(p, gatherFloat(p, false), false, value)) {
        return false;
    }
    amount = negative ? -value : value;
    return true;
}

void setWord(BindTextFields& fields, const char* text) {
    fields.word[0] = text[0];
    fields.word[1] = text[1];
    fields.word[2] = text[2];
}

// The form every saved preset uses ("key 44", "axi 1 -", "mou 0 + 6.5"): three bytes, one space,
// an unsigned number of at most nine digits, then the end, or one space and the mark followed by
// the end, or (for outputs) by one space and a plain amount. Gives what the general reading gives,
// in fewer steps; false, with nothing changed, for every other form.
bool scanSavedForm(const char* text, BindTextFields& fields, bool withAmount, int& converted) {
    if (text[0] == '\0' || text[1] == '\0' || text[2] == '\0' || text[3] != ' ' || !isDigit(text[4])) {
        return false;
    }
    const char* p = text + 4;
    uint32_t number = 0;
    for (const char* last = p + 9; p < last && isDigit(*p); ++p) {
        number = number * 10 + static_cast<uint32_t>(*p - '0');
    }
    if (isDigit(*p) || (*p != '\0' && (*p != ' ' || p[1] == '\0' || isSpace(p[1])))) {
        return false;
    }
    float amount = 0;
    const bool amountFollows = *p != '\0' && withAmount && p[2] != '\0';
    if (amountFollows && (p[2] != ' ' || !plainAmount(p + 3, amount))) {
        return false;
    }
    setWord(fields, text);
    fields.number = static_cast<int32_t>(number);
    converted = 2;
    if (*p != '\0') {
        fields.mark = p[1];
        converted = 3;
    }
    if (amountFollows) {
        fields.amount = amount;
        converted = 4;
    }
    return true;
}

// Every form, step by step as the C library's scanner goes.
[[gnu::noinline]] int scanAnyForm(const char* text, BindTextFields& fields, bool withAmount) {
    if (*text == '\0') {
        return -1;
    }
    // "%3c": up to three bytes, nothing skipped; fewer at the end of the text still count.
    const char* p = text;
    for (int i = 0; i < 3 && *p != '\0'; ++i) {
        fields.word[i] = *p++;
    }
    p = skipSpace(p);
    if (!scanNumber(p, fields.number)) {
        return 1;
    }
    p = skipSpace(p);
    if (*p == '\0') {
        return 2;
    }
    fields.mark = *p++;
    if (!withAmount || !scanAmount(skipSpace(p), fields.amount)) {
        return 3;
    }
    return 4;
}

constexpr float axisThreshold = 0.42f;

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

// A kind without an amount keeps its default whatever the text carries after the sign.
BindOutput signedOutput(const OutputKindRow& row, uint32_t code, char sign, float amount) {
    if (signOf(sign) == 0 || !row.hasSign) {
        return {};
    }
    if (!row.hasAmount) {
        return {row.kind, code, signOf(sign), row.defaultAmount};
    }
    // An amount that is not a number or infinite would carry on into every cursor position the
    // motion timer computes; such a text is refused.
    if (!std::isfinite(amount)) {
        return {};
    }
    return {row.kind, code, signOf(sign), amount};
}

} // namespace

int scanBindText(const char* text, BindTextFields& fields, bool withAmount) {
    int converted = 0;
    if (scanSavedForm(text, fields, withAmount, converted)) {
        return converted;
    }
    return scanAnyForm(text, fields, withAmount);
}

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
    const int converted = scanBindText(text, fields, true);
    const OutputKindRow* row = outputKindRowOfWord(fields.word);
    if (row == nullptr) {
        return {};
    }
    const auto code = static_cast<uint32_t>(fields.number);
    if (converted == 2) {
        return row->hasSign ? BindOutput{} : BindOutput{row->kind, code, 0, row->defaultAmount};
    }
    const float amount = converted == 4 ? fields.amount : row->defaultAmount;
    return converted == 3 || converted == 4 ? signedOutput(*row, code, fields.mark, amount) : BindOutput{};
}

} // namespace padloom
