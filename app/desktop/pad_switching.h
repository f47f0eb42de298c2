// SPDX-License-Identifier: GPL-3.0-or-later
// Switching presets from the pad: a combination that a section's "switches" names completes on
// the polling thread; the switch is done here, on the main thread, through the controller's own
// activation (which releases what the pads hold first). A desktop notification names the preset
// now on, or says why the running one stays on; the list and the tray menu follow the activation.
#pragma once

#include "app/desktop/preset_switching.h"
#include "app/running/preset_runner.h"
#include "app/ui/main_loop.h"
#include "app/ui/notifier.h"

#include <memory>
#include <string>

namespace padloom {

class PadSwitching {
public:
    // Listens to runner's pads; notifier may be null: the reasons still go to standard error.
    PadSwitching(PresetSwitching& switching, PresetRunner& runner, MainLoop& loop, Notifier* notifier);
    ~PadSwitching();
    PadSwitching(const PadSwitching&) = delete;
    PadSwitching& operator=(const PadSwitching&) = delete;

    // Switches the running preset to to ("next", "previous" or a file name of the preset folder).
    void switchTo(const std::string& to);

private:
    PresetSwitching& switching_;
    PresetRunner& runner_;
    Notifier* notifier_;
    std::shared_ptr<PadSwitching*> self_; // tasks still queued when this goes find it empty
};

} // namespace padloom
