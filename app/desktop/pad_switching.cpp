// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/pad_switching.h"

#include "app/presets/switch_target.h"

#include <algorithm>
#include <cstdio>

namespace padloom {
namespace {

std::string shownName(const std::vector<ListedPreset>& list, const std::string& file) {
    const auto entry = std::find_if(list.begin(), list.end(),
                                    [&file](const ListedPreset& listed) { return listed.file == file; });
    return entry != list.end() && entry->readable && !entry->name.empty() ? entry->name : file;
}

} // namespace

PadSwitching::PadSwitching(PresetSwitching& switching, PresetRunner& runner, MainLoop& loop,
                           Notifier* notifier)
    : switching_(switching), runner_(runner), notifier_(notifier),
      self_(std::make_shared<PadSwitching*>(this)) {
    std::weak_ptr<PadSwitching*> self = self_;
    runner_.joyManager.switchListener = [self, &loop](const std::string& to) {
        loop.runLater(0, [self, to] {
            if (const std::shared_ptr<PadSwitching*> alive = self.lock()) {
                PadSwitching* switching = *alive;
                switching->switching_.runOperation([switching, to] { switching->switchTo(to); });
            }
        });
    };
}

PadSwitching::~PadSwitching() {
    runner_.joyManager.switchListener = nullptr;
}

void PadSwitching::switchTo(const std::string& to) {
    if (!runner_.active()) {
        return; // switched off meanwhile
    }
    const std::vector<ListedPreset>& list = switching_.listedPresets();
    const std::string running = switching_.activePresetFile();
    const SwitchTarget target = switchTarget(list, running, to);
    const Outcome<> on = target.file.empty()
                             ? Outcome<>(Problem{target.problem})
                             : switching_.switchOn(target.file, PresetSwitching::Cause::byHand);
    if (on) {
        if (notifier_ != nullptr) {
            notifier_->notify("Preset switched", shownName(list, target.file) + " is on.");
        }
        return;
    }
    const std::string why = "The pad asked to switch to \"" + to + "\". " + on.problem() + " " +
                            shownName(list, running) + " stays on.";
    std::fprintf(stderr, "Padloom: %s\n", why.c_str());
    if (notifier_ != nullptr) {
        notifier_->notify("Preset not switched", why);
    }
}

} // namespace padloom
