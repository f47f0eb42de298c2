// SPDX-License-Identifier: GPL-3.0-or-later
#include "preset/vantry_document.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

namespace padloom {
namespace {

struct InputCase {
    std::string text;
    BindInput expected; // kind none: the text does not parse
};

class InputText : public ::testing::TestWithParam<InputCase> {};

TEST_P(InputText, ReadsByTheFieldsConverted) {
    EXPECT_EQ(inputFromText(GetParam().text.c_str()), GetParam().expected);
}

constexpr BindInput refused{};

INSTANTIATE_TEST_SUITE_P(
    Texts, InputText,
    ::testing::Values(
        InputCase{"btn 3", {InputKind::button, 3, 0, 0}}, InputCase{"btn 7 ", {InputKind::button, 7, 0, 0}},
        InputCase{"btn7", {InputKind::button, 7, 0, 0}},
        InputCase{"btn -1", {InputKind::button, 4294967295u, 0, 0}},
        InputCase{"btn 4294967296", {InputKind::button, 0, 0, 0}},
        InputCase{"btn 99999999999999999999", {InputKind::button, 4294967295u, 0, 0}},
        InputCase{"axi 3 -", {InputKind::axis, 3, -1, 0.42f}},
        InputCase{"axi 1 +", {InputKind::axis, 1, 1, 0.42f}},
        InputCase{"axi 1 +x", {InputKind::axis, 1, 1, 0.42f}},
        InputCase{"axi1+", {InputKind::axis, 1, 1, 0.42f}}, InputCase{"hat 0 U", {InputKind::hat, 0, 1, 0}},
        InputCase{"hat 2 R", {InputKind::hat, 2, 2, 0}}, InputCase{"hat 0 D", {InputKind::hat, 0, 4, 0}},
        InputCase{"hat 1 L", {InputKind::hat, 1, 8, 0}}, InputCase{"axi 2", refused},
        InputCase{"btn 2 +", refused}, InputCase{"hat 0 u", refused}, InputCase{"hat 0", refused},
        InputCase{"axi 1 *", refused}, InputCase{" btn 1", refused}, InputCase{"btn", refused},
        InputCase{"btn x", refused}, InputCase{"bt", refused}, InputCase{"", refused},
        InputCase{"key 4", refused}, InputCase{"BTN 1", refused}));

struct OutputCase {
    std::string text;
    BindOutput expected;
};

class OutputText : public ::testing::TestWithParam<OutputCase> {};

TEST_P(OutputText, ReadsByTheFieldsConverted) {
    EXPECT_EQ(outputFromText(GetParam().text.c_str()), GetParam().expected);
}

constexpr BindOutput notAnOutput{};

INSTANTIATE_TEST_SUITE_P(
    Texts, OutputText,
    ::testing::Values(OutputCase{"key 44", {OutputKind::key, 44, 0, 0}},
                      OutputCase{"mbt 1", {OutputKind::mouseButton, 1, 0, 0}},
                      OutputCase{"mou 0 + 6", {OutputKind::mouseMotion, 0, 1, 6}},
                      OutputCase{"mou 1 - 0.5", {OutputKind::mouseMotion, 1, -1, 0.5f}},
                      OutputCase{"mou 0 +", {OutputKind::mouseMotion, 0, 1, 6}},
                      OutputCase{"whe 1 - 2.25", {OutputKind::wheel, 1, -1, 2.25f}},
                      OutputCase{"whe 0 +1e-05", {OutputKind::wheel, 0, 1, 1e-05f}},
                      OutputCase{"whs 1 +", {OutputKind::wheelStep, 1, 1, 6}},
                      OutputCase{"whs 1 - 2.5", {OutputKind::wheelStep, 1, -1, 6}},
                      OutputCase{"mou 0 + 0x1.8p1", {OutputKind::mouseMotion, 0, 1, 3}},
                      OutputCase{"mou 0 -1E1", {OutputKind::mouseMotion, 0, -1, 10}},
                      // an amount that breaks off is no amount: the default stays
                      OutputCase{"mou 0 + infinit", {OutputKind::mouseMotion, 0, 1, 6}},
                      OutputCase{"whe 0 + 0x", {OutputKind::wheel, 0, 1, 6}},
                      OutputCase{"key 5 +", notAnOutput}, OutputCase{"mbt 0 -", notAnOutput},
                      OutputCase{"mou 0 6", notAnOutput}, OutputCase{"whs 1", notAnOutput},
                      OutputCase{"whe 1 x 2", notAnOutput}, OutputCase{"abc 1", notAnOutput},
                      OutputCase{"key", notAnOutput}, OutputCase{"", notAnOutput},
                      // an amount that is not a finite number would poison every cursor position
                      OutputCase{"mou 0 + nan", notAnOutput}, OutputCase{"whe 1 - inf", notAnOutput}));

struct WrittenCase {
    BindOutput output;
    std::string text;
};

class OutputWritten : public ::testing::TestWithParam<WrittenCase> {};

TEST_P(OutputWritten, AmountsHaveSixSignificantDigits) {
    EXPECT_EQ(outputToText(GetParam().output), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Records, OutputWritten,
    ::testing::Values(WrittenCase{{OutputKind::mouseMotion, 0, 1, 6}, "mou 0 + 6"},
                      WrittenCase{{OutputKind::mouseMotion, 0, 1, 0.5f}, "mou 0 + 0.5"},
                      WrittenCase{{OutputKind::wheel, 1, -1, 0.0001f}, "whe 1 - 0.0001"},
                      WrittenCase{{OutputKind::wheel, 1, -1, 0.00001f}, "whe 1 - 1e-05"},
                      WrittenCase{{OutputKind::mouseMotion, 1, 1, 1234567}, "mou 1 + 1.23457e+06"},
                      WrittenCase{{OutputKind::mouseMotion, 1, 1, 0.123456789f}, "mou 1 + 0.123457"},
                      WrittenCase{{OutputKind::mouseMotion, 1, 0, 3}, "mou 1 3"},
                      WrittenCase{{OutputKind::wheelStep, 1, -1, 2}, "whs 1 -"},
                      WrittenCase{{OutputKind::key, 4, 1, 2}, "key 4"},
                      WrittenCase{{OutputKind::mouseButton, 4294967295u, 0, 0}, "mbt 4294967295"},
                      WrittenCase{{OutputKind::none, 1, 1, 1}, ""}));

TEST(InputWritten, DirectionsOutsideTheGrammarWriteNothingAndNoTextReadsNothing) {
    EXPECT_EQ(inputFromText(nullptr).kind, InputKind::none);
    EXPECT_EQ(inputToText({InputKind::axis, 2, 0, 0.42f}), "axi 2");
    EXPECT_EQ(inputToText({InputKind::hat, 0, 3, 0}), "hat 0");
    EXPECT_EQ(inputToText({InputKind::none, 1, 1, 0}), "");
}

// The desktop toolkit sets the user's locale at start-up. A German one reads and writes numbers with
// a decimal comma; bind texts keep the point. scripts/bootstrap installs the locale; where it is
// missing, the test builds it into a temporary folder (about a second).
TEST(BindTextLocale, AmountsUseADecimalPointInACommaLocale) {
    const char* const comma = "de_DE.ISO-8859-1";
    if (std::setlocale(LC_ALL, comma) == nullptr) {
        static const test::TempFolder built;
        const std::string build =
            "localedef -i de_DE -f ISO-8859-1 '" + built.file(comma) + "' >/dev/null 2>&1";
        if (std::system(build.c_str()) == 0) {
            setenv("LOCPATH", built.path().c_str(), 1);
        }
    }
    if (std::setlocale(LC_ALL, comma) == nullptr) {
        GTEST_SKIP() << "localedef could not build " << comma;
    }
    const BindOutput read = outputFromText("mou 0 + 0.5");
    const std::string written = outputToText({OutputKind::wheel, 1, 1, 2.5f});
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(read.amount, 0.5f);
    EXPECT_EQ(written, "whe 1 + 2.5");
}

} // namespace
} // namespace padloom
