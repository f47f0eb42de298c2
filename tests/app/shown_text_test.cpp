// Names from files as the pages, menus, D-Bus and terminals get them.
#include "app/pages/shown_text.h"

#include <gtest/gtest.h>

namespace padloom::test {
namespace {

constexpr char replacement[] = "\xEF\xBF\xBD";

TEST(ShownText, RepairsWhatIsNotUtf8AndEscapesControlsForTerminals) {
    const struct {
        const char* what;
        std::string text, valid, terminal;
    } rows[] = {
        {"plain", "Racing.txt", "Racing.txt", "Racing.txt"},
        {"UTF-8 of every length", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80",
         "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"a raw byte", "caf\xE9.txt", "caf" + std::string(replacement) + ".txt", "caf\\xe9.txt"},
        {"an encoded surrogate", "\xED\xA0\x80!", std::string(replacement) + replacement + replacement + "!",
         "\\xed\\xa0\\x80!"},
        {"a cut sequence is one mark", "\xE2\x82x", std::string(replacement) + "x", "\\xe2\\x82x"},
        {"overlong and beyond U+10FFFF", "\xC0\xAF\xF4\x90\x80\x80",
         std::string(replacement) + replacement + replacement + replacement + replacement + replacement,
         "\\xc0\\xaf\\xf4\\x90\\x80\\x80"},
        {"a cut sequence at the end", "a\xF0\x9F\x98", "a" + std::string(replacement), "a\\xf0\\x9f\\x98"},
        {"control characters", "\x1b]0;pwned\x07\x1b[2J\x7f.txt", "\x1b]0;pwned\x07\x1b[2J\x7f.txt",
         "\\x1b]0;pwned\\x07\\x1b[2J\\x7f.txt"},
        {"C1 controls, not the characters after them", "\xC2\x9B[2J\xC2\xA0", "\xC2\x9B[2J\xC2\xA0",
         "\\xc2\\x9b[2J\xC2\xA0"},
        {"line breaks and tabs", "a\nb\tc", "a\nb\tc", "a\\x0ab\\x09c"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(validUtf8(row.text), row.valid);
        EXPECT_EQ(terminalText(row.text), row.terminal);
    }
    EXPECT_EQ(terminalText("line one\nline\ttwo\r", true), "line one\nline\\x09two\\x0d");
}

TEST(ShownText, PageKeysFindTheirFilesAgain) {
    const struct {
        std::string file, key;
    } rows[] = {
        {"Racing.txt", "Racing.txt"},
        {"sub/caf\xC3\xA9 100%.txt", "sub/caf\xC3\xA9 100%.txt"},
        {"caf\xE9.txt", "/caf%E9.txt"},
        {"100%\xFF\xC3\xA9.txt", "/100%25%FF\xC3\xA9.txt"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(pageKey(row.file), row.key);
        EXPECT_EQ(fileFromPageKey(row.key), row.file);
        EXPECT_EQ(validUtf8(row.key), row.key) << "a page takes only UTF-8";
    }
    for (const std::string bad : {"/%", "/a%4", "/%zz", "/%-1"}) {
        EXPECT_EQ(fileFromPageKey(bad), bad); // the preset folder refuses names that start with "/"
    }
}

} // namespace
} // namespace padloom::test
