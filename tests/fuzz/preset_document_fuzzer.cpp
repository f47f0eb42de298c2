// Feeds arbitrary bytes to the preset reader and interpreter as a preset file's text, and saves
// and loads again what interprets.
#include "tests/fuzz/preset_round_trip.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string savePath = "/tmp/padloom-fuzz-" + std::to_string(::getpid()) + ".json";
    const std::string fault =
        padloom::fuzz::presetTextFault({reinterpret_cast<const char*>(data), size}, savePath);
    if (!fault.empty()) {
        std::fprintf(stderr, "preset text: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
