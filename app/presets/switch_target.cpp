// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/presets/switch_target.h"

#include <algorithm>

namespace padloom {
namespace {

SwitchTarget stepped(const std::vector<ListedPreset>& list, const std::string& current, bool forward) {
    std::vector<const ListedPreset*> readable;
    for (const ListedPreset& entry : list) {
        if (entry.readable) {
            readable.push_back(&entry);
        }
    }
    const auto at = std::find_if(readable.begin(), readable.end(),
                                 [&current](const ListedPreset* entry) { return entry->file == current; });
    if (readable.empty() || (at != readable.end() && readable.size() == 1)) {
        return {{}, "The preset list holds no other preset that reads."};
    }
    const auto count = static_cast<long>(readable.size());
    // A running preset that is not listed (run from elsewhere) steps to the first or the last.
    const long from = at == readable.end() ? (forward ? -1 : count) : at - readable.begin();
    const long to = ((from + (forward ? 1 : -1)) % count + count) % count;
    return {readable[static_cast<size_t>(to)]->file, {}};
}

} // namespace

SwitchTarget switchTarget(const std::vector<ListedPreset>& list, const std::string& current,
                          const std::string& to) {
    if (to == "next" || to == "previous") {
        return stepped(list, current, to == "next");
    }
    const auto named =
        std::find_if(list.begin(), list.end(), [&to](const ListedPreset& entry) { return entry.file == to; });
    if (named == list.end()) {
        return {{}, "No preset file \"" + to + "\" is in the preset folder."};
    }
    if (!named->readable) {
        return {{}, "The preset file \"" + to + "\" does not read: " + named->problem + "."};
    }
    return {named->file, {}};
}

} // namespace padloom
