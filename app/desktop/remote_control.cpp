// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/remote_control.h"

#include "app/pages/shown_text.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace padloom {

Outcome<std::string> findPresetByName(const std::vector<ListedPreset>& listed, const std::string& name) {
    if (name.empty()) {
        return Problem{"No preset was named."};
    }
    std::vector<std::string> named;
    for (const ListedPreset& preset : listed) {
        if (preset.file == name) {
            return name;
        }
        if (validUtf8(preset.file) == name || (preset.readable && validUtf8(preset.name) == name)) {
            named.push_back(preset.file);
        }
    }
    if (named.size() == 1) {
        return named.front();
    }
    if (named.empty()) {
        return Problem{"No preset has the file name or the name \"" + name + "\"."};
    }
    std::sort(named.begin(), named.end());
    std::string problem = "Several presets are named \"" + name + "\" (";
    for (size_t i = 0; i < named.size(); ++i) {
        problem += (i == 0 ? "" : ", ") + named[i];
    }
    return Problem{problem + "); name one by its file name."};
}

Outcome<> RemoteControl::takesRequests() const {
    if (presets_.panelOpen() || presets_.captureRunning()) {
        return Problem{"Padloom is waiting for an answer in one of its windows (a message, a question or a "
                       "joystick detection); finish that, then try again."};
    }
    return {};
}

Outcome<> RemoteControl::take(std::function<Outcome<>(RemoteControl&)> request) {
    if (Outcome<> ready = takesRequests(); !ready) {
        return ready;
    }
    auto result = std::make_shared<Outcome<>>();
    PresetSwitching& presets = presets_; // this object may be gone when the request's turn comes
    presets.runOperation([&presets, request = std::move(request), result] {
        RemoteControl control(presets);
        *result = request(control);
    });
    return *result;
}

Outcome<> RemoteControl::activate(const std::string& name) {
    return take([name](RemoteControl& control) { return control.activateNow(name); });
}

Outcome<> RemoteControl::deactivate() {
    return take([](RemoteControl& control) { return control.deactivateNow(); });
}

Outcome<> RemoteControl::activateNow(const std::string& name) {
    const Outcome<std::string> file = findPresetByName(presets_.listedPresets(), name);
    const Outcome<> done = file ? presets_.switchOn(*file, PresetSwitching::Cause::byHand) : problemOf(file);
    if (!done) {
        presets_.showNotice("\"" + name + "\" could not be switched on", done.problem());
    }
    return done;
}

Outcome<> RemoteControl::deactivateNow() {
    presets_.switchOff(PresetSwitching::Cause::byHand);
    return {};
}

} // namespace padloom
