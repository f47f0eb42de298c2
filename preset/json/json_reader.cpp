// SPDX-License-Identifier: GPL-3.0-or-later
#include "preset/json/json_reader.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace padloom {
namespace {

// Byte classes by table: one load and one test per byte in the two hottest loops, the runs of
// white space between tokens and the plain runs inside strings.
struct ByteClasses {
    enum : uint8_t { space = 1, endsPlainRun = 2 };
    uint8_t of[256] = {};
    constexpr ByteClasses() {
        for (const char c : {' ', '\t', '\n', '\r'}) {
            of[static_cast<unsigned char>(c)] |= space;
        }
        // The closing quote, a backslash, a control character and the end of the text; every other
        // byte, 0x80 and up included, stays in a string as it is.
        for (int c = 0; c < 0x20; ++c) {
            of[c] |= endsPlainRun;
        }
        of[static_cast<unsigned char>('"')] |= endsPlainRun;
        of[static_cast<unsigned char>('\\')] |= endsPlainRun;
    }
    bool is(char c, uint8_t byteClass) const { return (of[static_cast<unsigned char>(c)] & byteClass) != 0; }
};
constexpr ByteClasses byteClasses;

bool isSpace(char c) {
    return byteClasses.is(c, ByteClasses::space);
}
bool endsPlainRun(char c) {
    return byteClasses.is(c, ByteClasses::endsPlainRun);
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool endsNumber(char c) {
    return c == '\0' || isSpace(c) || c == ',' || c == ']' || c == '}';
}

int hexDigit(char c) {
    if (isDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Four hexadecimal digits at p; false when they are not there.
bool hexQuad(const char* p, unsigned& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = hexDigit(p[i]);
        if (digit < 0) {
            return false;
        }
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return true;
}

// Signed 32-bit arithmetic that wraps on overflow; a lone "-" is 0 and leading zeros are accepted.
bool integerValue(const char* start, const char* end, int32_t& result) {
    const char* p = start;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') {
        ++p;
    }
    uint32_t value = 0;
    for (; p < end; ++p) {
        if (!isDigit(*p)) {
            return false;
        }
        value = value * 10 + static_cast<uint32_t>(*p - '0');
    }
    result = static_cast<int32_t>(negative ? 0u - value : value);
    return true;
}

// Computed in 32-bit floating point throughout, digit by digit.
bool floatValue(const char* start, const char* end, float& result) {
    const char* p = start;
    const float sign = *p == '-' ? -1.0f : 1.0f;
    if (*p == '+' || *p == '-') {
        ++p;
    }
    float value = 0;
    for (; p < end && isDigit(*p); ++p) {
        value = value * 10.0f + static_cast<float>(*p - '0');
    }
    if (p < end && *p == '.') {
        float weight = 0.1f;
        for (++p; p < end && isDigit(*p); ++p) {
            value += static_cast<float>(*p - '0') * weight;
            weight *= 0.1f;
        }
    }
    value *= sign;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        const bool negativeExponent = p < end && *p == '-';
        if (p < end && (*p == '+' || *p == '-')) {
            ++p;
        }
        unsigned exponent = 0;
        for (; p < end && isDigit(*p); ++p) {
            exponent = exponent * 10 + static_cast<unsigned>(*p - '0');
        }
        if (exponent != 0) {
            // Once the power is infinite it stays so; stopping there keeps a huge exponent from
            // spinning for billions of rounds.
            float power = 10.0f;
            for (unsigned i = 1; i < exponent && std::isfinite(power); ++i) {
                power *= 10.0f;
            }
            value = negativeExponent ? value / power : value * power;
        }
    }
    result = value;
    return p == end;
}

constexpr const char* unrecognizedEscape = "Unrecognized escape sequence";

// The parser is lenient about punctuation and strict about tokens. It keeps no stack: the current
// container and the parent links stand in for one, so nesting is limited only by memory. Each step
// takes the position of its token and returns the position after it, or null after reporting an error.
class Parser {
public:
    Parser(char* text, block_allocator* allocator, std::vector<const char*>* decodedLineFeeds)
        : text_(text), end_(text + std::strlen(text)), allocator_(allocator),
          decodedLineFeeds_(decodedLineFeeds) {}

    json_value* run();

    char* errorPos = nullptr;
    const char* errorDesc = nullptr;
    int errorLine = 0;

private:
    char* step(char* p);
    char* openContainer(char* p, json_kind kind);
    char* closeContainer(char* p, json_kind kind);
    char* punctuation(char* p, bool needsObject);
    char* string(char* p);
    char* decodeString(char* start, char* in);
    const char* decodeEscape(char*& in, char*& out);
    const char* decodeCodepoint(char*& in, char*& out);
    char* number(char* p);
    char* literal(char* p);
    json_value* appendNamed(json_kind kind);
    char* fail(char* at, const char* message);

    char* skipSpace(char* p) const;
    char* plainRunEnd(char* p) const;

    char* text_;
    char* end_; // the terminating zero byte: whole chunks of 16 bytes before it may be read at once
    block_allocator* allocator_;
    json_value* container_ = nullptr;
    json_value* root_ = nullptr;
    char* pendingKey_ = nullptr;
    int decodedNewlines_ = 0;
    std::vector<const char*>* decodedLineFeeds_;

    void noteDecodedLineFeed(const char* at) {
        ++decodedNewlines_;
        if (decodedLineFeeds_ != nullptr) {
            decodedLineFeeds_->push_back(at);
        }
    }
};

#if defined(__SSE2__)
// Bit i is set when byte i of the 16 at p ends a plain run of a string.
unsigned plainRunStopMask(const char* p) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(bytes, _mm_set1_epi8(0x1F)), bytes);
    const __m128i stops = _mm_or_si128(control, _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('"')),
                                                             _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\\'))));
    return static_cast<unsigned>(_mm_movemask_epi8(stops));
}
#endif

// Runs of white space in a preset are short (a space, or a line feed and a few tabs): two bytes a
// round is quicker here than 16 at a time. The second byte is read only when the first is white
// space, so never past the end of the text.
char* Parser::skipSpace(char* p) const {
    while (isSpace(p[0]) && isSpace(p[1])) {
        p += 2;
    }
    return isSpace(*p) ? p + 1 : p;
}

// Sixteen bytes at a time where they lie before the end of the text, then byte by byte.
char* Parser::plainRunEnd(char* p) const {
#if defined(__SSE2__)
    while (end_ - p >= 16) {
        if (const unsigned stops = plainRunStopMask(p)) {
            return p + __builtin_ctz(stops);
        }
        p += 16;
    }
#endif
    while (!endsPlainRun(*p)) {
        ++p;
    }
    return p;
}

json_value* Parser::run() {
    char* p = text_;
    while (*p != '\0') {
        p = step(p);
        if (p == nullptr) {
            return nullptr;
        }
        p = skipSpace(p);
    }
    if (container_ != nullptr) {
        fail(p, "Not all objects/arrays have been properly closed");
        return nullptr;
    }
    return root_;
}

// Strings, commas, colons and the brackets of bind lists make most of the tokens of a preset;
// testing for them first, one by one, lets the processor's branch history follow the layout, where
// one jump through a table would not.
char* Parser::step(char* p) {
    if (*p == '"') {
        return string(p);
    }
    if (*p == ',') {
        return punctuation(p, false);
    }
    if (*p == ':') {
        return punctuation(p, true);
    }
    if (*p == '[') {
        return openContainer(p, json_array);
    }
    if (*p == ']') {
        return closeContainer(p, json_array);
    }
    switch (*p) {
    case '{':
        return openContainer(p, json_object);
    case '}':
        return closeContainer(p, json_object);
    case 't':
    case 'f':
    case 'n':
        return literal(p);
    case '-':
    case '0':
    case '1':
    case '2':
    case '3':
    case '4':
    case '5':
    case '6':
    case '7':
    case '8':
    case '9':
        return number(p);
    default:
        return fail(p, "Unexpected character");
    }
}

// A new node named with the pending key, appended to the current container.
inline json_value* Parser::appendNamed(json_kind kind) {
    json_value* node = new_json_value(allocator_);
    node->kind = kind;
    node->name = pendingKey_;
    pendingKey_ = nullptr;
    append_child(container_, node);
    return node;
}

char* Parser::openContainer(char* p, json_kind kind) {
    ++p;
    if (container_ != nullptr) {
        container_ = appendNamed(kind);
        return p;
    }
    if (root_ != nullptr) {
        return fail(p, "Second root. Only one root allowed");
    }
    root_ = new_json_value(allocator_);
    root_->kind = kind;
    root_->name = pendingKey_;
    pendingKey_ = nullptr;
    container_ = root_;
    return p;
}

char* Parser::closeContainer(char* p, json_kind kind) {
    if (container_ == nullptr || container_->kind != kind) {
        return fail(p, "Mismatch closing brace/bracket");
    }
    container_ = container_->parent;
    return p + 1;
}

// A colon is accepted inside an object, a comma inside any container; neither is checked further.
char* Parser::punctuation(char* p, bool needsObject) {
    if (container_ == nullptr || (needsObject && container_->kind != json_object)) {
        return fail(p, "Unexpected character");
    }
    return p + 1;
}

// The string is decoded where it stands; one without escapes is only given its terminator. A string
// cut off by the end of the text ends there without a terminator of its own.
char* Parser::string(char* p) {
    if (container_ == nullptr) {
        return fail(p, "Unexpected character");
    }
    char* start = p + 1;
    char* in = start;
    in = plainRunEnd(in);
    char* after = nullptr;
    if (*in == '"') {
        *in = '\0';
        after = in + 1;
    } else if (*in == '\0') {
        after = in;
    } else {
        after = decodeString(start, in);
        if (after == nullptr) {
            return nullptr;
        }
    }
    if (pendingKey_ == nullptr && container_->kind == json_object) {
        pendingKey_ = start;
    } else {
        appendNamed(json_string)->string_value = start;
    }
    return after;
}

// The rest of a string from its first escape or control character, copying bytes towards its start
// as escapes shrink them.
char* Parser::decodeString(char* start, char* in) {
    const int newlinesBefore = decodedNewlines_;
    char* out = in;
    for (;;) {
        const unsigned char c = static_cast<unsigned char>(*in);
        if (c == '"') {
            *out = '\0';
            return in + 1;
        }
        if (c == '\0') {
            return in;
        }
        if (c == '\\') {
            const char* message = decodeEscape(in, out);
            if (message == nullptr) {
                continue;
            }
            if (message != unrecognizedEscape) {
                return fail(in, message);
            }
        }
        if (c < 0x20 || c == '\\') {
            // Reported at the start of the string: of the line feeds this string decoded, only one
            // written at that very byte lies at or before the error position.
            decodedNewlines_ = newlinesBefore + (out > start && *start == '\n' ? 1 : 0);
            return fail(start, c == '\\' ? unrecognizedEscape : "Control characters not allowed in strings");
        }
        *out++ = *in++;
    }
}

// Decodes the escape at in (a backslash) to out and moves both past it. Returns null, or the error.
const char* Parser::decodeEscape(char*& in, char*& out) {
    char decoded = 0;
    switch (in[1]) {
    case '"':
    case '\\':
    case '/':
        decoded = in[1];
        break;
    case 'b':
        decoded = '\b';
        break;
    case 'f':
        decoded = '\f';
        break;
    case 'n':
        decoded = '\n';
        break;
    case 'r':
        decoded = '\r';
        break;
    case 't':
        decoded = '\t';
        break;
    case 'u':
        return decodeCodepoint(in, out);
    default:
        return unrecognizedEscape;
    }
    // A decoded line feed was not in the file; the error line must not count it.
    if (decoded == '\n') {
        noteDecodedLineFeed(out);
    }
    *out++ = decoded;
    in += 2;
    return nullptr;
}

// "\u" and exactly four hexadecimal digits, written as UTF-8. A high surrogate followed by the
// escape of a low one is the code point of the pair; any other surrogate half stands for no
// character and reads as U+FFFD, so that every decoded string is UTF-8 when the file's bytes are.
const char* Parser::decodeCodepoint(char*& in, char*& out) {
    unsigned codepoint = 0;
    if (!hexQuad(in + 2, codepoint)) {
        return "Bad unicode codepoint";
    }
    in += 6;
    unsigned low = 0;
    if (codepoint >= 0xD800 && codepoint <= 0xDBFF && in[0] == '\\' && in[1] == 'u' && hexQuad(in + 2, low) &&
        low >= 0xDC00 && low <= 0xDFFF) {
        codepoint = 0x10000 + ((codepoint - 0xD800) << 10) + (low - 0xDC00);
        in += 6;
    } else if (codepoint >= 0xD800 && codepoint <= 0xDFFF) {
        codepoint = 0xFFFD;
    }
    if (codepoint <= 0x7F) {
        *out++ = static_cast<char>(codepoint);
    } else if (codepoint <= 0x7FF) {
        *out++ = static_cast<char>(0xC0 + (codepoint >> 6));
        *out++ = static_cast<char>(0x80 + (codepoint & 0x3F));
    } else if (codepoint <= 0xFFFF) {
        *out++ = static_cast<char>(0xE0 + (codepoint >> 12));
        *out++ = static_cast<char>(0x80 + ((codepoint >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 + (codepoint & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 + (codepoint >> 18));
        *out++ = static_cast<char>(0x80 + ((codepoint >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 + ((codepoint >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 + (codepoint & 0x3F));
    }
    if (codepoint == '\n') {
        noteDecodedLineFeed(out - 1);
    }
    return nullptr;
}

// A number token runs up to whitespace, a comma, a closing bracket or the end of the text. It is a
// float when it holds ".", "e" or "E" anywhere, otherwise an integer.
char* Parser::number(char* p) {
    if (container_ == nullptr) {
        return fail(p, "Unexpected character");
    }
    char* end = p;
    bool isFloat = false;
    while (!endsNumber(*end)) {
        isFloat = isFloat || *end == '.' || *end == 'e' || *end == 'E';
        ++end;
    }
    if (isFloat) {
        float value = 0;
        if (!floatValue(p, end, value)) {
            return fail(p, "Bad float number");
        }
        appendNamed(json_float)->float_value = value;
    } else {
        int32_t value = 0;
        if (!integerValue(p, end, value)) {
            return fail(p, "Bad integer number");
        }
        appendNamed(json_int)->int_value = value;
    }
    return end;
}

// Only the letters of the literal are compared: in "trueX" the literal is read and the "X" is
// then an unexpected character.
char* Parser::literal(char* p) {
    if (container_ == nullptr) {
        return fail(p, "Unexpected character");
    }
    if (std::strncmp(p, "true", 4) == 0) {
        appendNamed(json_bool)->int_value = 1;
        return p + 4;
    }
    if (std::strncmp(p, "false", 5) == 0) {
        appendNamed(json_bool)->int_value = 0;
        return p + 5;
    }
    if (std::strncmp(p, "null", 4) == 0) {
        appendNamed(json_null);
        return p + 4;
    }
    return fail(p, "Unknown identifier");
}

// The line counts the line feeds from the error position back to the second byte of the text, less
// those that decoded escapes wrote into the text.
char* Parser::fail(char* at, const char* message) {
    errorPos = at;
    errorDesc = message;
    errorLine = 1 - decodedNewlines_;
    for (char* p = at; p > text_; --p) {
        if (*p == '\n') {
            ++errorLine;
        }
    }
    return nullptr;
}

} // namespace

json_value* parse_json_in_place(char* source, char** error_pos, const char** error_desc, int* error_line,
                                block_allocator* allocator, std::vector<const char*>* decoded_line_feeds) {
    Parser parser(source, allocator, decoded_line_feeds);
    json_value* root = parser.run();
    if (root == nullptr && parser.errorDesc != nullptr) {
        *error_pos = parser.errorPos;
        *error_desc = parser.errorDesc;
        *error_line = parser.errorLine;
    }
    return root;
}

} // namespace padloom
