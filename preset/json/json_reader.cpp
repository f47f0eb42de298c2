#include "preset/json/json_reader.h"

#include <cmath>
#include <cstring>

namespace padloom {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
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

// The parser is lenient about punctuation and strict about tokens. It keeps no stack: the current
// container and the parent links stand in for one, so nesting is limited only by memory.
class Parser {
public:
    Parser(char* text, block_allocator* allocator) : text_(text), it_(text), allocator_(allocator) {}

    json_value* run();

    char* errorPos = nullptr;
    const char* errorDesc = nullptr;
    int errorLine = 0;

private:
    bool step();
    bool openContainer(json_kind kind);
    bool closeContainer(json_kind kind);
    bool punctuation(bool needsObject);
    bool string();
    bool scanString(char** result);
    bool scanEscape(char** in, char** out, char* start, int newlinesBefore);
    bool number();
    bool integerValue(char* start, char* end, json_value* node);
    bool floatValue(char* start, char* end, json_value* node);
    bool literal();
    json_value* newNode(json_kind kind);
    void appendNamed(json_value* node);
    bool fail(char* at, const char* message);

    char* text_;
    char* it_;
    block_allocator* allocator_;
    json_value* container_ = nullptr;
    json_value* root_ = nullptr;
    char* pendingKey_ = nullptr;
    int decodedNewlines_ = 0;
};

json_value* Parser::run() {
    while (*it_ != '\0') {
        if (!step()) {
            return nullptr;
        }
        while (isSpace(*it_)) {
            ++it_;
        }
    }
    if (container_ != nullptr) {
        fail(it_, "Not all objects/arrays have been properly closed");
        return nullptr;
    }
    return root_;
}

bool Parser::step() {
    switch (*it_) {
    case '{':
        return openContainer(json_object);
    case '[':
        return openContainer(json_array);
    case '}':
        return closeContainer(json_object);
    case ']':
        return closeContainer(json_array);
    case ':':
        return punctuation(true);
    case ',':
        return punctuation(false);
    case '"':
        return string();
    case 't':
    case 'f':
    case 'n':
        return literal();
    default:
        if (*it_ == '-' || isDigit(*it_)) {
            return number();
        }
        return fail(it_, "Unexpected character");
    }
}

json_value* Parser::newNode(json_kind kind) {
    json_value* node = new_json_value(allocator_);
    node->kind = kind;
    return node;
}

// Names a scalar with the pending key and appends it to the current container.
void Parser::appendNamed(json_value* node) {
    node->name = pendingKey_;
    pendingKey_ = nullptr;
    append_child(container_, node);
}

bool Parser::openContainer(json_kind kind) {
    json_value* node = newNode(kind);
    node->name = pendingKey_;
    pendingKey_ = nullptr;
    ++it_;
    if (container_ != nullptr) {
        append_child(container_, node);
    } else if (root_ == nullptr) {
        root_ = node;
    } else {
        return fail(it_, "Second root. Only one root allowed");
    }
    container_ = node;
    return true;
}

bool Parser::closeContainer(json_kind kind) {
    if (container_ == nullptr || container_->kind != kind) {
        return fail(it_, "Mismatch closing brace/bracket");
    }
    container_ = container_->parent;
    ++it_;
    return true;
}

// A colon is accepted inside an object, a comma inside any container; neither is checked further.
bool Parser::punctuation(bool needsObject) {
    if (container_ == nullptr || (needsObject && container_->kind != json_object)) {
        return fail(it_, "Unexpected character");
    }
    ++it_;
    return true;
}

bool Parser::string() {
    if (container_ == nullptr) {
        return fail(it_, "Unexpected character");
    }
    char* text = nullptr;
    if (!scanString(&text)) {
        return false;
    }
    if (pendingKey_ == nullptr && container_->kind == json_object) {
        pendingKey_ = text;
        return true;
    }
    json_value* node = newNode(json_string);
    node->string_value = text;
    appendNamed(node);
    return true;
}

// Decodes the string after the opening quote in place, copying bytes towards its start as escapes
// shrink them. A string cut off by the end of the text ends there without a terminator of its own.
bool Parser::scanString(char** result) {
    char* start = it_ + 1;
    char* in = start;
    char* out = start;
    *result = start;
    // Errors reported at the start of the string lie before every line feed decoded inside it.
    const int newlinesBefore = decodedNewlines_;
    for (;;) {
        const unsigned char c = static_cast<unsigned char>(*in);
        if (c == '\0') {
            it_ = in;
            return true;
        }
        if (c < 0x20) {
            decodedNewlines_ = newlinesBefore;
            return fail(start, "Control characters not allowed in strings");
        }
        if (c == '"') {
            *out = '\0';
            it_ = in + 1;
            return true;
        }
        if (c == '\\') {
            if (!scanEscape(&in, &out, start, newlinesBefore)) {
                return false;
            }
        } else {
            *out++ = *in++;
        }
    }
}

bool Parser::scanEscape(char** in, char** out, char* start, int newlinesBefore) {
    char* escape = *in;
    char decoded = 0;
    switch (escape[1]) {
    case '"':
    case '\\':
    case '/':
        decoded = escape[1];
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
    case 'u': {
        unsigned codepoint = 0;
        for (int i = 2; i < 6; ++i) {
            const int digit = hexDigit(escape[i]);
            if (digit < 0) {
                return fail(escape, "Bad unicode codepoint");
            }
            codepoint = codepoint * 16 + static_cast<unsigned>(digit);
        }
        char*& o = *out;
        if (codepoint <= 0x7F) {
            *o++ = static_cast<char>(codepoint);
        } else if (codepoint <= 0x7FF) {
            *o++ = static_cast<char>(0xC0 + (codepoint >> 6));
            *o++ = static_cast<char>(0x80 + (codepoint & 0x3F));
        } else {
            *o++ = static_cast<char>(0xE0 + (codepoint >> 12));
            *o++ = static_cast<char>(0x80 + ((codepoint >> 6) & 0x3F));
            *o++ = static_cast<char>(0x80 + (codepoint & 0x3F));
        }
        // A decoded line feed was not in the file; the error line must not count it.
        if (codepoint == '\n') {
            ++decodedNewlines_;
        }
        *in += 6;
        return true;
    }
    default:
        decodedNewlines_ = newlinesBefore;
        return fail(start, "Unrecognized escape sequence");
    }
    if (decoded == '\n') {
        ++decodedNewlines_;
    }
    *(*out)++ = decoded;
    *in += 2;
    return true;
}

// A number token runs up to whitespace, a comma, a closing bracket or the end of the text. It is a
// float when it holds ".", "e" or "E" anywhere, otherwise an integer.
bool Parser::number() {
    if (container_ == nullptr) {
        return fail(it_, "Unexpected character");
    }
    char* start = it_;
    char* end = start;
    bool isFloat = false;
    while (!endsNumber(*end)) {
        isFloat = isFloat || *end == '.' || *end == 'e' || *end == 'E';
        ++end;
    }
    json_value* node = newNode(isFloat ? json_float : json_int);
    if (!(isFloat ? floatValue(start, end, node) : integerValue(start, end, node))) {
        return false;
    }
    it_ = end;
    appendNamed(node);
    return true;
}

// Signed 32-bit arithmetic that wraps on overflow; a lone "-" is 0 and leading zeros are accepted.
bool Parser::integerValue(char* start, char* end, json_value* node) {
    char* p = start;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') {
        ++p;
    }
    uint32_t value = 0;
    for (; p < end; ++p) {
        if (!isDigit(*p)) {
            return fail(start, "Bad integer number");
        }
        value = value * 10 + static_cast<uint32_t>(*p - '0');
    }
    node->int_value = static_cast<int32_t>(negative ? 0u - value : value);
    return true;
}

// Computed in 32-bit floating point throughout, digit by digit.
bool Parser::floatValue(char* start, char* end, json_value* node) {
    char* p = start;
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
    if (p != end) {
        return fail(start, "Bad float number");
    }
    node->float_value = value;
    return true;
}

// Only the letters of the literal are compared: in "trueX" the literal is read and the "X" is
// then an unexpected character.
bool Parser::literal() {
    if (container_ == nullptr) {
        return fail(it_, "Unexpected character");
    }
    json_value* node = nullptr;
    if (std::strncmp(it_, "true", 4) == 0) {
        node = newNode(json_bool);
        node->int_value = 1;
        it_ += 4;
    } else if (std::strncmp(it_, "false", 5) == 0) {
        node = newNode(json_bool);
        it_ += 5;
    } else if (std::strncmp(it_, "null", 4) == 0) {
        node = newNode(json_null);
        it_ += 4;
    } else {
        return fail(it_, "Unknown identifier");
    }
    appendNamed(node);
    return true;
}

// The line counts the line feeds from the error position back to the second byte of the text, less
// those that decoded escapes wrote into the text.
bool Parser::fail(char* at, const char* message) {
    errorPos = at;
    errorDesc = message;
    errorLine = 1 - decodedNewlines_;
    for (char* p = at; p > text_; --p) {
        if (*p == '\n') {
            ++errorLine;
        }
    }
    return false;
}

} // namespace

json_value* parse_json_in_place(char* source, char** error_pos, const char** error_desc, int* error_line,
                                block_allocator* allocator) {
    Parser parser(source, allocator);
    json_value* root = parser.run();
    if (root == nullptr && parser.errorDesc != nullptr) {
        *error_pos = parser.errorPos;
        *error_desc = parser.errorDesc;
        *error_line = parser.errorLine;
    }
    return root;
}

} // namespace padloom
