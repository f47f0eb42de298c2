#include "app/desktop/remote_control.h"

#include "app/controller/tessel_app_delegate.h"
#include "app/pages/page_scripts.h"
#include "app/pages/shown_text.h"
#include "app/presets/active_preset.h"
#include "app/presets/preset_listing.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace padloom {

std::optional<std::string> findPresetByName(const std::vector<ListedPreset>& listed, const std::string& name,
                                            std::string& problem) {
    if (name.empty()) {
        problem = "No preset was named.";
        return std::nullopt;
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
        problem = "No preset has the file name or the name \"" + name + "\".";
        return std::nullopt;
    }
    std::sort(named.begin(), named.end());
    problem = "Several presets are named \"" + name + "\" (";
    for (size_t i = 0; i < named.size(); ++i) {
        problem += (i == 0 ? "" : ", ") + named[i];
    }
    problem += "); name one by its file name.";
    return std::nullopt;
}

std::string RemoteControl::refusal() const {
    if (app_.panelOpen() || app_.captureRunning()) {
        return "Padloom is waiting for an answer in one of its windows (a message, a question or a "
               "joystick detection); finish that, then try again.";
    }
    return {};
}

std::string RemoteControl::take(std::function<std::string(RemoteControl&)> request) {
    std::string problem = refusal();
    if (!problem.empty()) {
        return problem;
    }
    auto result = std::make_shared<std::string>();
    TesselAppDelegate& app = app_; // this object may be gone when the request's turn comes
    app.operations.run([&app, request = std::move(request), result] {
        RemoteControl control(app);
        *result = request(control);
    });
    return *result;
}

std::string RemoteControl::activate(const std::string& name) {
    return take([name](RemoteControl& control) { return control.activateNow(name); });
}

std::string RemoteControl::deactivate() {
    return take([](RemoteControl& control) { return control.deactivateNow(); });
}

std::string RemoteControl::activateNow(const std::string& name) {
    std::string problem;
    const std::optional<std::string> file = findPresetByName(app_.listedPresets.entries(), name, problem);
    const bool done = file && app_.activatePreset(*file, &problem);
    showActivePreset();
    if (done) {
        return {};
    }
    app_.mainScriptObject->evaluate(main_page::hideBlockLayer());
    app_.mainScriptObject->evaluate(
        main_page::showNotice("\"" + name + "\" could not be switched on", problem));
    return problem;
}

std::string RemoteControl::deactivateNow() {
    app_.panicDeactivate();
    return {};
}

std::string RemoteControl::activePresetFile() const {
    return padloom::activePresetFile(app_.runner);
}

void RemoteControl::showActivePreset() {
    app_.mainScriptObject->evaluate(main_page::markActivePreset(activePresetFile()));
}

} // namespace padloom
