// File work of the preset library: walking a folder, naming new presets without replacing any
// file, and replacing a preset's file in one step.
#pragma once

#include <ctime>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace padloom {

// Paths relative to folder of every regular file below it (recursively, in walk order) whose
// name ends in one of the suffixes (case-sensitive). Unreadable subfolders are skipped.
std::vector<std::string> findFiles(const std::string& folder,
                                   std::initializer_list<std::string_view> suffixes);

// "20261205_15-38-01.txt" for 5 December 2026, 15:38:01 (local time as given).
std::string generatedFileName(const std::tm& localTime);
// The first of name, then name with "-2", "-3", ... before its extension, that no file in folder
// (ending in "/") has; empty when a thousand names are taken.
std::string unusedFileName(const std::string& folder, const std::string& name);

// Writes text to a new file beside path, flushes it to disk and renames it over path, so path
// holds either the old or the new text, never a part. False (and error set) when that fails.
bool replaceFileContents(const std::string& path, std::string_view text, std::string& error);
// Whether a temporary file can be created beside path (the folder is writable).
bool canWriteBeside(const std::string& path);

} // namespace padloom
