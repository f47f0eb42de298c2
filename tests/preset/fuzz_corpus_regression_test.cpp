// SPDX-License-Identifier: GPL-3.0-or-later
// Every file the fuzz targets start from (and every input they ever crashed on, kept beside them)
// goes through the preset document as a preset file: it loads, or it is refused with a message;
// one that loads saves and loads again to the same fields. Bind-text inputs also go through the
// bind-text readers and writers, and are scanned as sscanf scans them (the scan's seeds include the
// forms where its rules are easy to get wrong: signs, hexadecimal floats, overflow, infinities, NaN
// and broken exponents). Each failure names its file.
#include "tests/fuzz/bind_text_round_trip.h"
#include "tests/fuzz/bind_text_scan_agreement.h"
#include "tests/fuzz/preset_round_trip.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace padloom::test {
namespace {

const std::filesystem::path corpus = PADLOOM_SOURCE_DIR "/tests/fuzz/corpus";

std::vector<std::string> filesOf(const std::string& target) {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(corpus / target, error)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(FuzzCorpus, EveryFileKeepsTheReadersPromises) {
    const TempFolder folder;
    for (const std::string target : {"preset_document", "bind_text", "bind_text_scan"}) {
        const std::vector<std::string> files = filesOf(target);
        EXPECT_GE(files.size(), 20u) << "the seeds of " << target << " are missing";
        for (const std::string& path : files) {
            const std::string bytes = readBytes(path);
            EXPECT_EQ(fuzz::presetTextFault(bytes, folder.file("saved.json")), "") << path;
            if (target != "preset_document") {
                const std::string text = bytes.c_str(); // the bind-text readers take C strings
                EXPECT_EQ(fuzz::scanDisagreement(text) + fuzz::bindTextRoundTripFault(text), "") << path;
            }
        }
    }
}

} // namespace
} // namespace padloom::test
