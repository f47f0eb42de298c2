// Every file the fuzz targets start from (and every input they ever crashed on, kept beside them)
// goes through the preset document as a preset file: it loads, or it is refused with a message;
// one that loads saves and loads again to the same fields. Bind-text inputs also go through the
// bind-text readers and writers, and are scanned as sscanf scans them. Each failure names its file.
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

// Loads the file as the app does, then saves and loads it again.
void expectLoadsOrFailsWithMessage(const std::string& path, const TempFolder& folder) {
    VantryDocument document;
    if (!document.load(path.c_str())) {
        EXPECT_FALSE(document.lastError().empty()) << path << " was refused without a message";
        return;
    }
    EXPECT_FALSE(document.name.empty()) << path;
    if (fuzz::fitsTheFormat(document)) {
        EXPECT_EQ(fuzz::saveAndLoadFault(document, folder.file("saved.json")), "") << path;
    }
}

struct CorpusCase {
    const char* target;
    size_t fewestFiles; // the seeds written by hand
};

class FuzzCorpus : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(FuzzCorpus, EveryFileLoadsOrIsRefusedWithAMessage) {
    const std::vector<std::string> files = filesOf(GetParam().target);
    ASSERT_GE(files.size(), GetParam().fewestFiles) << "the corpus of " << GetParam().target << " is missing";
    const TempFolder folder;
    for (const std::string& path : files) {
        expectLoadsOrFailsWithMessage(path, folder);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzCorpus,
                         ::testing::Values(CorpusCase{"preset_document", 20}, CorpusCase{"bind_text", 20},
                                           CorpusCase{"bind_text_scan", 20}),
                         [](const auto& info) { return std::string(info.param.target); });

TEST(FuzzCorpusBindText, EveryTextScansAsSscanfAndWhatReadsWritesBackTheSameRecord) {
    for (const char* target : {"bind_text", "bind_text_scan"}) {
        for (const std::string& path : filesOf(target)) {
            std::string text = readBytes(path);
            text.resize(std::char_traits<char>::length(text.c_str()));
            EXPECT_EQ(fuzz::scanDisagreement(text), "") << path;
            EXPECT_EQ(fuzz::inputRoundTripFault(text), "") << path;
            EXPECT_EQ(fuzz::outputRoundTripFault(text), "") << path;
        }
    }
}

} // namespace
} // namespace padloom::test
