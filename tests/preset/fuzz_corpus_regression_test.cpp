// Every file the fuzz targets start from (and every input they ever crashed on, kept beside them)
// goes through the preset document as a preset file: it loads, or it is refused with a message;
// one that loads saves and loads again to the same fields. Bind-text inputs also go through the
// bind-text readers and writers.
#include "tests/fuzz/bind_text_round_trip.h"
#include "tests/fuzz/preset_round_trip.h"
#include "tests/preset/temp_folder.h"

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
            files.push_back(entry.path().filename().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string testName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

// Loads the file as the app does, then saves and loads it again.
void expectLoadsOrFailsWithMessage(const std::string& path) {
    VantryDocument document;
    if (!document.load(path.c_str())) {
        EXPECT_FALSE(document.lastError().empty()) << path << " was refused without a message";
        return;
    }
    EXPECT_FALSE(document.name.empty());
    if (fuzz::fitsTheFormat(document)) {
        const TempFolder folder;
        EXPECT_EQ(fuzz::saveAndLoadFault(document, folder.file("saved.json")), "") << path;
    }
}

class PresetCorpus : public ::testing::TestWithParam<std::string> {};

TEST_P(PresetCorpus, LoadsOrIsRefusedWithAMessage) {
    expectLoadsOrFailsWithMessage((corpus / "preset_document" / GetParam()).string());
}

INSTANTIATE_TEST_SUITE_P(FuzzSeeds, PresetCorpus, ::testing::ValuesIn(filesOf("preset_document")), testName);

class BindTextCorpus : public ::testing::TestWithParam<std::string> {};

TEST_P(BindTextCorpus, ReadsBackWhatItWrites) {
    const std::string path = (corpus / "bind_text" / GetParam()).string();
    std::string text = readBytes(path);
    text.resize(std::char_traits<char>::length(text.c_str()));
    EXPECT_EQ(fuzz::inputRoundTripFault(text), "");
    EXPECT_EQ(fuzz::outputRoundTripFault(text), "");
}

TEST_P(BindTextCorpus, IsRefusedAsAPresetWithAMessage) {
    expectLoadsOrFailsWithMessage((corpus / "bind_text" / GetParam()).string());
}

INSTANTIATE_TEST_SUITE_P(FuzzSeeds, BindTextCorpus, ::testing::ValuesIn(filesOf("bind_text")), testName);

} // namespace
} // namespace padloom::test
