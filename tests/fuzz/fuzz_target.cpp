// SPDX-License-Identifier: GPL-3.0-or-later
// The libFuzzer entry point of every target: the build compiles this file once per target, with
// PADLOOM_FUZZ_PRESET_DOCUMENT, PADLOOM_FUZZ_BIND_TEXT or PADLOOM_FUZZ_BIND_TEXT_SCAN defined.
//   preset_document  arbitrary bytes as a preset file's text; what interprets saves and loads again
//   bind_text        what the bind-text readers read writes back to the same record
//   bind_text_scan   the bind-text scan against sscanf in the "C" locale
#include "tests/fuzz/bind_text_scan_agreement.h"
#include "tests/fuzz/preset_round_trip.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    [[maybe_unused]] const std::string text = bytes.c_str(); // the bind-text readers take C strings
#if defined(PADLOOM_FUZZ_PRESET_DOCUMENT)
    static const std::string savePath = "/tmp/padloom-fuzz-" + std::to_string(::getpid()) + ".json";
    const std::string fault = padloom::fuzz::presetTextFault(bytes, savePath);
#elif defined(PADLOOM_FUZZ_BIND_TEXT)
    const std::string fault = padloom::fuzz::bindTextRoundTripFault(text);
#else
    const std::string fault = padloom::fuzz::scanDisagreement(text);
#endif
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
