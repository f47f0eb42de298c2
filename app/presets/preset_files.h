// SPDX-License-Identifier: GPL-3.0-or-later
// File work of the preset library: walking a folder, resolving the names the pages send,
// naming and creating new presets without replacing any file, and replacing a preset's file in
// one step.
#pragma once

#include "app/outcome.h"

#include <ctime>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace padloom {

class VantryDocument;

// Paths relative to folder of every regular file below it (recursively, in walk order) whose
// name ends in one of the suffixes (case-sensitive). Unreadable subfolders are skipped.
std::vector<std::string> findFiles(const std::string& folder,
                                   std::initializer_list<std::string_view> suffixes);

// The file that name stands for: folder (ending in "/") followed by name, a path relative to the
// folder as findFiles gives it. A sentence for the user when name is empty, absolute, has an
// empty, "." or ".." part, or leads outside the folder through a linked subfolder. The file
// itself may be a link to anywhere.
Outcome<std::string> presetFilePath(const std::string& folder, std::string_view name);
// The same in the preset folder (app/presets/folders.h).
Outcome<std::string> presetFile(std::string_view name);

// "20261205_15-38-01.txt" for 5 December 2026, 15:38:01 (local time as given).
std::string generatedFileName(const std::tm& localTime);
// The first of name, then name with "-2", "-3", ... before its extension, that no file in folder
// (ending in "/") has; empty when a thousand names are taken.
std::string unusedFileName(const std::string& folder, const std::string& name);
// Whether anything has this path: a file, a folder, or a link, even one that leads nowhere.
bool nameTaken(const std::string& path);

// Creates path as a new file holding text. It never replaces anything and never follows a link
// (O_EXCL | O_NOFOLLOW); when the text can't be written whole, the new file is removed again.
Outcome<> createNewFile(const std::string& path, std::string_view text);
// The whole content of a file.
Outcome<std::string> readWholeFile(const std::string& path);

// Writes text to a new file beside the file path leads to (through links), flushes it to disk
// and renames it over that file, so it holds either the old or the new text, never a part, and a
// link stays a link. The file keeps its mode, with read access for its owner added.
Outcome<> replaceFileContents(const std::string& path, std::string_view text);
// Whether the file at path (through links) may be replaced: not when its mode gives its owner no
// write access (this holds for root too), this user may not write it, or no file can be created
// beside it.
Outcome<> replaceable(const std::string& path);

// The document's own reports (its result and lastError) as Outcomes: the preset file at path
// loaded, the preset text read, the document written to path.
Outcome<> loadPreset(VantryDocument& document, const std::string& path);
Outcome<> readPresetText(VantryDocument& document, std::string_view text);
Outcome<> savePreset(VantryDocument& document, const std::string& path);
// Writes the document as a new preset file at path, never over an existing file or through a
// link; nothing is left behind when it can't be written whole.
Outcome<> saveAsNewPreset(VantryDocument& document, const std::string& path);

} // namespace padloom
