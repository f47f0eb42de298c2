#include "app/desktop/pad_switching.h"

#include "app/controller/tessel_app_delegate.h"
#include "app/pages/page_scripts.h"
#include "app/presets/active_preset.h"
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

PadSwitching::PadSwitching(TesselAppDelegate& controller, MainLoop& loop, Notifier* notifier)
    : controller_(controller), loop_(loop), notifier_(notifier),
      self_(std::make_shared<PadSwitching*>(this)) {
    std::weak_ptr<PadSwitching*> self = self_;
    controller_.runner.joyManager.switchListener = [self, &loop](const std::string& to) {
        loop.runLater(0, [self, to] {
            if (const std::shared_ptr<PadSwitching*> alive = self.lock()) {
                PadSwitching* switching = *alive;
                switching->controller_.operations.run([switching, to] { switching->switchTo(to); });
            }
        });
    };
}

PadSwitching::~PadSwitching() {
    controller_.runner.joyManager.switchListener = nullptr;
}

void PadSwitching::switchTo(const std::string& to) {
    if (!controller_.runner.active()) {
        return; // switched off meanwhile
    }
    const std::vector<ListedPreset>& list = controller_.listedPresets.entries();
    const std::string running = activePresetFile(controller_.runner);
    const SwitchTarget target = switchTarget(list, running, to);
    std::string problem = target.problem;
    const bool on = !target.file.empty() && controller_.activatePreset(target.file, &problem);
    ScriptPage& page = *controller_.mainScriptObject;
    page.evaluate(main_page::markActivePreset(activePresetFile(controller_.runner)));
    if (on) {
        if (notifier_ != nullptr) {
            notifier_->notify("Preset switched", shownName(list, target.file) + " is on.");
        }
        return;
    }
    page.evaluate(main_page::hideBlockLayer());
    const std::string why = "The pad asked to switch to \"" + to + "\". " + problem + " " +
                            shownName(list, running) + " stays on.";
    std::fprintf(stderr, "Padloom: %s\n", why.c_str());
    if (notifier_ != nullptr) {
        notifier_->notify("Preset not switched", why);
    }
}

} // namespace padloom
