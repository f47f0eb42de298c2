// SPDX-License-Identifier: GPL-3.0-or-later
// The order of the preset list and the names given to copies.
//
// Names are compared without regard to ASCII case and with runs of digits read as numbers, so
// "racing" sits beside "Racing" and "Racing copy 10" follows "Racing copy 9". The order does not
// depend on the user's locale: the list looks the same in every language and in every test.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace padloom {

// One file of the preset folder as the list shows it. A file that does not read is listed by its
// file name, with the reader's message.
struct ListedPreset {
    std::string file; // relative to the preset folder
    bool readable = true;
    std::string name, tag;                // readable
    std::vector<std::string> activateFor; // readable
    std::string problem;                  // not readable
};

// The presets as the main page lists them, in its order, kept for what lists them too (the tray
// menu, requests by name), so that nothing but a reload reads the folder. The listener hears of
// every change.
class ListedPresets {
public:
    const std::vector<ListedPreset>& entries() const { return entries_; }
    void replace(std::vector<ListedPreset> entries);
    // A listed preset saved anew; it keeps its place, as its entry in the page does.
    void saved(ListedPreset entry);
    void removed(const std::string& file);
    void setChangeListener(std::function<void()> listener) { listener_ = std::move(listener); }

private:
    void changed();

    std::vector<ListedPreset> entries_;
    std::function<void()> listener_;
};

// Every preset file of the folder (a path ending in "/"), read, in walk order.
std::vector<ListedPreset> readPresetFolder(const std::string& folder);
// Negative, zero or positive as a sorts before, with or after b.
int comparePresetNames(std::string_view a, std::string_view b);
// Readable presets by name, then file name; after them the unreadable ones by file name.
void sortPresetList(std::vector<ListedPreset>& list);
// "Racing copy" for "Racing", and "Racing copy 2", "Racing copy 3", ... when that name is listed
// already; a copy of "Racing copy" or "Racing copy 2" is numbered in the same series.
std::string copyName(const std::string& sourceName, const std::vector<std::string>& listedNames);

} // namespace padloom
