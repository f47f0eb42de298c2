// File work of the preset library: walking a folder, resolving the names the pages send,
// naming and creating new presets without replacing any file, and replacing a preset's file in
// one step.
#pragma once

#include <ctime>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace padloom {

// Paths relative to folder of every regular file below it (recursively, in walk order) whose
// name ends in one of the suffixes (case-sensitive). Unreadable subfolders are skipped.
std::vector<std::string> findFiles(const std::string& folder,
                                   std::initializer_list<std::string_view> suffixes);

// The file that name stands for: folder (ending in "/") followed by name, a path relative to the
// folder as findFiles gives it. None, with a sentence for the user in problem, when name is
// empty, absolute, has an empty, "." or ".." part, or leads outside the folder through a linked
// subfolder. The file itself may be a link to anywhere.
std::optional<std::string> presetFilePath(const std::string& folder, std::string_view name,
                                          std::string& problem);

// "20261205_15-38-01.txt" for 5 December 2026, 15:38:01 (local time as given).
std::string generatedFileName(const std::tm& localTime);
// The first of name, then name with "-2", "-3", ... before its extension, that no file in folder
// (ending in "/") has; empty when a thousand names are taken.
std::string unusedFileName(const std::string& folder, const std::string& name);
// Whether anything has this path: a file, a folder, or a link, even one that leads nowhere.
bool nameTaken(const std::string& path);

// Creates path as a new file holding text. It never replaces anything and never follows a link
// (O_EXCL | O_NOFOLLOW); when the text can't be written whole, the new file is removed again.
// False (and error set) when that fails.
bool createNewFile(const std::string& path, std::string_view text, std::string& error);
// The whole content of a file; false (and error set) when it can't be read.
bool readWholeFile(const std::string& path, std::string& text, std::string& error);

// Writes text to a new file beside the file path leads to (through links), flushes it to disk
// and renames it over that file, so it holds either the old or the new text, never a part, and a
// link stays a link. The file keeps its mode, with read access for its owner added. False (and
// error set) when that fails.
bool replaceFileContents(const std::string& path, std::string_view text, std::string& error);
// Why the file at path (through links) must not be replaced: its mode gives its owner no write
// access (this holds for root too), this user may not write it, or no file can be created beside
// it. Empty when it may be replaced.
std::string replaceProblem(const std::string& path);

} // namespace padloom
