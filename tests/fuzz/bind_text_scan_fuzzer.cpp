// Differential target: the bind-text scan against sscanf in the "C" locale, on arbitrary texts.
#include "tests/fuzz/bind_text_scan_agreement.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Both read C strings: the text ends at the first zero byte.
    std::string text(reinterpret_cast<const char*>(data), size);
    text.resize(std::char_traits<char>::length(text.c_str()));
    const std::string fault = padloom::fuzz::scanDisagreement(text);
    if (!fault.empty()) {
        std::fprintf(stderr, "%s", fault.c_str());
        std::abort();
    }
    return 0;
}
