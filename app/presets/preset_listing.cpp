// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/presets/preset_listing.h"

#include "app/presets/preset_files.h"
#include "preset/vantry_document.h"

#include <algorithm>

namespace padloom {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

char folded(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The run of digits at the start of text, without its leading zeros.
std::string_view digitRun(std::string_view text, size_t& length) {
    length = 0;
    while (length < text.size() && isDigit(text[length])) {
        ++length;
    }
    std::string_view run = text.substr(0, length);
    while (run.size() > 1 && run.front() == '0') {
        run.remove_prefix(1);
    }
    return run;
}

int sign(int n) {
    return (n > 0) - (n < 0);
}

// "Racing copy 3" -> "Racing copy"; "Racing copy" stays; anything else gets " copy".
std::string copyBase(const std::string& name) {
    constexpr std::string_view suffix = " copy";
    size_t end = name.size();
    while (end > 0 && isDigit(name[end - 1])) {
        --end;
    }
    if (end < name.size() && end > 0 && name[end - 1] == ' ') {
        const std::string_view stem = std::string_view(name).substr(0, end - 1);
        if (stem.ends_with(suffix)) {
            return std::string(stem);
        }
    }
    return name.ends_with(suffix) ? name : name + std::string(suffix);
}

} // namespace

int comparePresetNames(std::string_view a, std::string_view b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            size_t lengthA = 0;
            size_t lengthB = 0;
            const std::string_view runA = digitRun(a.substr(i), lengthA);
            const std::string_view runB = digitRun(b.substr(j), lengthB);
            if (runA.size() != runB.size()) {
                return runA.size() < runB.size() ? -1 : 1;
            }
            if (const int c = runA.compare(runB); c != 0) {
                return sign(c);
            }
            i += lengthA;
            j += lengthB;
            continue;
        }
        const unsigned char ca = static_cast<unsigned char>(folded(a[i]));
        const unsigned char cb = static_cast<unsigned char>(folded(b[j]));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) {
        return i < a.size() ? 1 : -1;
    }
    // Equal but for case or leading zeros: a fixed order all the same.
    return sign(a.compare(b));
}

void sortPresetList(std::vector<ListedPreset>& list) {
    std::stable_sort(list.begin(), list.end(), [](const ListedPreset& x, const ListedPreset& y) {
        if (x.readable != y.readable) {
            return x.readable;
        }
        const int byName = x.readable ? comparePresetNames(x.name, y.name) : 0;
        return byName != 0 ? byName < 0 : comparePresetNames(x.file, y.file) < 0;
    });
}

std::string copyName(const std::string& sourceName, const std::vector<std::string>& listedNames) {
    const std::string base = copyBase(sourceName);
    const auto listed = [&](const std::string& name) {
        return std::find(listedNames.begin(), listedNames.end(), name) != listedNames.end();
    };
    if (!listed(base)) {
        return base;
    }
    for (size_t n = 2;; ++n) {
        const std::string name = base + " " + std::to_string(n);
        if (!listed(name)) {
            return name;
        }
    }
}

void ListedPresets::replace(std::vector<ListedPreset> entries) {
    entries_ = std::move(entries);
    changed();
}

void ListedPresets::saved(ListedPreset entry) {
    for (ListedPreset& listed : entries_) {
        if (listed.file == entry.file) {
            listed = std::move(entry);
            changed();
            return;
        }
    }
}

void ListedPresets::removed(const std::string& file) {
    if (std::erase_if(entries_, [&](const ListedPreset& entry) { return entry.file == file; }) > 0) {
        changed();
    }
}

void ListedPresets::changed() {
    if (listener_) {
        listener_();
    }
}

std::vector<ListedPreset> readPresetFolder(const std::string& folder) {
    std::vector<ListedPreset> list;
    for (const std::string& relative : findFiles(folder, {".txt", ".json", ".vantry"})) {
        VantryDocument document;
        ListedPreset entry;
        entry.file = relative;
        const Outcome<> loaded = loadPreset(document, folder + relative);
        entry.readable = static_cast<bool>(loaded);
        if (entry.readable) {
            entry.name = std::move(document.name);
            entry.tag = std::move(document.tag);
            entry.activateFor = std::move(document.activateFor);
        } else {
            entry.problem = loaded.problem();
        }
        list.push_back(std::move(entry));
    }
    return list;
}

} // namespace padloom
