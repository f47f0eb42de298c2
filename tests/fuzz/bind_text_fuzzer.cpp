// Feeds arbitrary texts to the bind-text readers and checks that what reads writes back the same.
#include "tests/fuzz/bind_text_round_trip.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The readers take C strings: the text ends at the first zero byte.
    std::string text(reinterpret_cast<const char*>(data), size);
    text.resize(std::char_traits<char>::length(text.c_str()));
    for (const std::string& fault :
         {padloom::fuzz::inputRoundTripFault(text), padloom::fuzz::outputRoundTripFault(text)}) {
        if (!fault.empty()) {
            std::fprintf(stderr, "%s\n", fault.c_str());
            std::abort();
        }
    }
    return 0;
}
