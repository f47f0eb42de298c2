// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/editor/preset_editor.h"

#include "app/pages/page_scripts.h"
#include "app/pages/shown_text.h"
#include "app/presets/folders.h"
#include "app/presets/preset_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace padloom {
namespace {

// Copies the file at path aside as a new "<name>.unreadable" file beside it; its path.
Outcome<std::string> keepUnreadablePreset(const std::string& path) {
    const fs::path original(path);
    const std::string folder = original.parent_path().string() + "/";
    const std::string backup = unusedFileName(folder, original.filename().string() + ".unreadable");
    const Outcome<std::string> text = readWholeFile(path);
    if (!text) {
        return text;
    }
    if (backup.empty()) {
        return Problem{"every name for the copy is taken"};
    }
    if (Outcome<> kept = createNewFile(folder + backup, *text); !kept) {
        return problemOf(kept);
    }
    return folder + backup;
}

// Enough lines to show what kind of members they are; a file may hold thousands.
constexpr std::size_t listedDroppedMembers = 8;

bool holdsSectionMembers(const VantryDocument::JoystickData& section) {
    return !section.modes.empty() || !section.layers.empty() || !section.sequences.empty() ||
           !section.switches.empty();
}

std::string dropQuestion(const VantryDocument& document,
                         const std::vector<VantryDocument::IgnoredMember>& members) {
    std::string text = "The preset \"" + document.name +
                       "\" holds members that this version of Padloom does not read, and saving it from the "
                       "editor will drop them:\n";
    for (std::size_t i = 0; i < members.size() && i < listedDroppedMembers; ++i) {
        text += "• " + describeIgnoredMember(members[i]) + "\n";
    }
    if (members.size() > listedDroppedMembers) {
        text += "• and " + std::to_string(members.size() - listedDroppedMembers) + " more\n";
    }
    if (std::any_of(members.begin(), members.end(),
                    [](const auto& member) { return member.section != 0 && !member.extension; })) {
        text += std::string("(In the file, ") + sectionReadingRule + ".)\n";
    }
    return text + "\nEdit it anyway?";
}

} // namespace

PresetEditor::PresetEditor(ScriptPage& configPage, Window& configWindow, Dialogs& dialogs, Hooks hooks)
    : configPage_(configPage), configWindow_(configWindow), dialogs_(dialogs), hooks_(std::move(hooks)) {}

bool PresetEditor::prepareConfigWindow(const std::string& fileName) {
    const Outcome<std::string> path = presetFile(fileName);
    if (!path) {
        dialogs_.showAlert("The preset editor was not opened. " + path.problem());
        return false;
    }
    auto document = std::make_unique<VantryDocument>();
    const bool loaded = static_cast<bool>(loadPreset(*document, *path));
    if (!loaded && !editAsNewPreset(*document, fileName, *path)) {
        return false;
    }
    // Saving from the editor drops every member the reader passed over, including those that later
    // builds read. "No" leaves the file as it is and the editor closed.
    const std::vector<VantryDocument::IgnoredMember> dropped =
        loaded ? document->ignoredMembers : std::vector<VantryDocument::IgnoredMember>{};
    if (!dropped.empty() && !dialogs_.confirm(dropQuestion(*document, dropped))) {
        return false;
    }
    editingPreset_ = std::move(document);
    editingPresetPath_ = *path;
    configWindow_.setTitle("Edit “" + editingPreset_->name + "”");
    fillConfigPage(*editingPreset_);
    return true;
}

// A preset that did not load is edited as a new one. A missing file is created at once; the text
// of one that does not read is first copied aside, and when that can't be done the edit is
// refused, since saving would replace the only copy.
bool PresetEditor::editAsNewPreset(VantryDocument& document, const std::string& fileName,
                                   const std::string& path) {
    const std::string reason = document.lastError();
    document.name = "New Preset";
    document.tag = "No tag";
    if (!nameTaken(path)) {
        const Outcome<> created = saveAsNewPreset(document, path);
        if (!created) {
            dialogs_.showAlert("The preset \"" + fileName + "\" could not be created (" + created.problem() +
                               ").");
        }
        return static_cast<bool>(created);
    }
    const Outcome<std::string> backup = keepUnreadablePreset(path);
    if (!backup) {
        dialogs_.showAlert("The preset \"" + fileName + "\" can't be read (" + reason +
                           "), and its text could not be kept aside (" + backup.problem() +
                           "), so it was not opened for editing.");
        return false;
    }
    dialogs_.showAlert("The preset \"" + fileName + "\" could not be read (" + reason +
                       ").\nIts text was kept in \"" + *backup + "\".");
    return true;
}

void PresetEditor::fillConfigPage(const VantryDocument& document) {
    configPage_.evaluate(config_page::clearJoysticks());
    configPage_.evaluate(config_page::setName(document.name));
    configPage_.evaluate(config_page::setTag(document.tag));
    hooks_.showPrograms(document.activateFor);
    hooks_.showPresetChoices();
    if (!document.joysticks) {
        return;
    }
    int j = 0;
    for (const VantryDocument::JoystickData& joystick : *document.joysticks) {
        configPage_.evaluate(config_page::addJoystick(joystick.name));
        for (const StickSettings& stick : joystick.sticks) {
            configPage_.evaluate(config_page::addStick(j, stickSettingTexts(stick)));
        }
        for (const VantryDocument::BindData& bind : joystick.binds) {
            const std::string input = inputToText(bind.input);
            for (const BindOutput& output : bind.outputs) {
                configPage_.evaluate(config_page::addBind(j, input, outputToText(output)));
            }
        }
        if (holdsSectionMembers(joystick)) {
            configPage_.evaluate(config_page::setSectionMembers(j, joystick));
        }
        ++j;
    }
}

void PresetEditor::finishEditingPreset() {
    if (editingPresetPath_) {
        saveEditedPreset(*editingPresetPath_);
        editingPresetPath_.reset();
    }
}

// Saves the page's text only when the preset reader accepts it, and replaces the file (a link's
// target) in one step; otherwise the file keeps its old text and the user learns why.
void PresetEditor::saveEditedPreset(const std::string& path) {
    configPage_.evaluate(config_page::commitTextFields());
    const std::string text = configPage_.evaluate(config_page::generatePresetString()).text();
    VantryDocument check;
    if (const Outcome<> read = readPresetText(check, text); !read) {
        dialogs_.showAlert(
            "The preset could not be saved, because the editor produced text that does not read back:\n" +
            read.problem() + "\nThe file keeps its earlier content.");
        return;
    }
    Outcome<> written = replaceable(path);
    if (written) {
        written = replaceFileContents(path, text);
    }
    if (!written) {
        std::fprintf(stderr, "Can't open %s\n", terminalText(path).c_str());
        keepEditedText(path, text, written.problem());
        return;
    }
    const std::string name = configPage_.evaluate(config_page::getName()).text();
    const std::string tag = configPage_.evaluate(config_page::getTag()).text();
    hooks_.saved(path, name, tag, check);
    std::fprintf(stderr, "File '%s' saved.\n", terminalText(path).c_str());
}

// An edit that can't replace its preset is kept beside it as "<name>.edited", or shown in the
// alert when even that can't be written.
void PresetEditor::keepEditedText(const std::string& path, const std::string& text, const std::string& why) {
    const fs::path preset(path);
    const std::string folder = preset.parent_path().string() + "/";
    const std::string name = unusedFileName(folder, preset.filename().string() + ".edited");
    const std::string message = "The preset \"" + path + "\" was not changed: " + why + ".\n";
    if (!name.empty() && createNewFile(folder + name, text)) {
        dialogs_.showAlert(message + "Your edit was kept in \"" + folder + name + "\".");
    } else {
        dialogs_.showAlert(message + "Your edit could not be kept in a file either; here is its text:\n\n" +
                           text);
    }
}

bool PresetEditor::beingEdited(const std::string& fileName) const {
    if (!editingPresetPath_) {
        return false;
    }
    const Outcome<std::string> folder = presetFolder();
    return folder && *folder + fileName == *editingPresetPath_;
}

} // namespace padloom
