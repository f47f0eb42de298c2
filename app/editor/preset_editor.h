// SPDX-License-Identifier: GPL-3.0-or-later
// The preset editor: fills the configuration page with a preset, and saves what the page makes of
// it when the editor closes. Nothing the user had is lost on the way: a preset that does not read
// is kept aside before it is edited, and an edit that can't be saved is kept beside its preset.
#pragma once

#include "app/ui/dialogs.h"
#include "app/ui/script_page.h"
#include "app/ui/window.h"
#include "preset/vantry_document.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace padloom {

class PresetEditor {
public:
    struct Hooks {
        // Fills the page's programs block with the programs that switch the preset on.
        std::function<void(const std::vector<std::string>& programs)> showPrograms;
        // Gives the page the presets that a switch of a section may switch to.
        std::function<void()> showPresetChoices;
        // The edit was saved to the preset at path; name and tag as the page's fields show them,
        // saved as the file now reads.
        std::function<void(const std::string& path, const std::string& name, const std::string& tag,
                           const VantryDocument& saved)>
            saved;
    };

    PresetEditor(ScriptPage& configPage, Window& configWindow, Dialogs& dialogs, Hooks hooks);
    PresetEditor(const PresetEditor&) = delete;
    PresetEditor& operator=(const PresetEditor&) = delete;

    // Fills the page with the preset of fileName (relative to the preset folder) and opens the
    // edit. A missing file is created at once as a new preset. False, after an alert saying why
    // (or the user's "No" to losing what the editor can't keep), when it can't be edited.
    bool prepareConfigWindow(const std::string& fileName);
    // Saves the page's preset when an edit is open, and ends the edit.
    void finishEditingPreset();

    // The document last loaded for the page; null before the first edit.
    const VantryDocument* editingPreset() const { return editingPreset_.get(); }
    // The edited preset's path while an edit is open.
    const std::optional<std::string>& editingPresetPath() const { return editingPresetPath_; }
    // Whether the preset of fileName (relative to the preset folder) is open in the editor.
    bool beingEdited(const std::string& fileName) const;

private:
    bool editAsNewPreset(VantryDocument& document, const std::string& fileName, const std::string& path);
    void fillConfigPage(const VantryDocument& document);
    void saveEditedPreset(const std::string& path);
    void keepEditedText(const std::string& path, const std::string& text, const std::string& why);

    ScriptPage& configPage_;
    Window& configWindow_;
    Dialogs& dialogs_;
    Hooks hooks_;
    std::unique_ptr<VantryDocument> editingPreset_;
    std::optional<std::string> editingPresetPath_;
};

} // namespace padloom
