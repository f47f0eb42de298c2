// The preset library: listing, example copies, new names, copies, editing and deleting.
#include "app/controller/tessel_app_delegate.h"
#include "app/pages/page_scripts.h"
#include "app/pages/shown_text.h"
#include "app/presets/folders.h"
#include "app/presets/preset_files.h"
#include "app/presets/preset_listing.h"
#include "preset/vantry_document.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

namespace padloom {
namespace {

constexpr int maxExampleCollisions = 100;

// Writes the document as a new preset file at path, never over an existing file or through a
// link; nothing is left behind when the document can't be written whole.
bool saveAsNewPreset(VantryDocument& document, const std::string& path, std::string& error) {
    if (!createNewFile(path, {}, error)) {
        return false;
    }
    if (!document.save(path.c_str())) {
        error = document.lastError();
        std::error_code ignored;
        fs::remove(path, ignored);
        return false;
    }
    return true;
}

// Copies the file at path aside as a new "<name>.unreadable" file beside it; its path, or none.
std::optional<std::string> keepUnreadablePreset(const std::string& path, std::string& error) {
    const fs::path original(path);
    const std::string folder = original.parent_path().string() + "/";
    const std::string backup = unusedFileName(folder, original.filename().string() + ".unreadable");
    std::string text;
    if (!readWholeFile(path, text, error)) {
        return std::nullopt;
    }
    if (backup.empty()) {
        error = "every name for the copy is taken";
        return std::nullopt;
    }
    if (!createNewFile(folder + backup, text, error)) {
        return std::nullopt;
    }
    return folder + backup;
}

// Whether some file in the chain of names an example is copied under holds exactly its text.
bool exampleAlreadyCopied(const std::string& folder, const std::string& relative, const std::string& text) {
    std::string candidate = folder + relative;
    for (int counter = 0; nameTaken(candidate) && counter <= maxExampleCollisions; ++counter) {
        std::string present;
        std::string ignored;
        if (readWholeFile(candidate, present, ignored) && present == text) {
            return true;
        }
        candidate = folder + relative + std::to_string(counter) + ".txt";
    }
    return false;
}

// Enough lines to show what kind of members they are; a file may hold thousands.
constexpr std::size_t listedDroppedMembers = 8;

// What saving from the editor would drop of a preset that loaded: every member its reader passed
// over, including those that later builds read, and the section members it reads but the editor's
// page does not write yet.
std::vector<VantryDocument::IgnoredMember> editorDrops(const VantryDocument& document) {
    std::vector<VantryDocument::IgnoredMember> members = document.ignoredMembers;
    if (!document.joysticks) {
        return members;
    }
    for (std::size_t i = 0; i < document.joysticks->size(); ++i) {
        const VantryDocument::JoystickData& section = (*document.joysticks)[i];
        const bool held[] = {!section.modes.empty(), !section.layers.empty(), !section.sequences.empty(),
                             !section.switches.empty()};
        for (std::size_t key = 0; key < std::size(sectionMemberKeys); ++key) {
            if (held[key]) {
                members.push_back({i + 1, sectionMemberKeys[key], true});
            }
        }
    }
    return members;
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
    if (std::any_of(members.begin(), members.end(), [](const auto& member) { return member.section != 0; })) {
        text += std::string("(In the file, ") + sectionReadingRule + ".)\n";
    }
    return text + "\nEdit it anyway?";
}

} // namespace

std::optional<std::string> TesselAppDelegate::presetFolder(std::string& problem) {
    return padloom::presetFolder(problem);
}

std::optional<std::string> TesselAppDelegate::presetFile(const std::string& fileName, std::string& problem) {
    const std::optional<std::string> folder = presetFolder(problem);
    return folder ? presetFilePath(*folder, fileName, problem) : std::nullopt;
}

void TesselAppDelegate::loadPresets() {
    focusFollowing.rules.clear();
    const std::optional<std::string> folder = presetFolder();
    std::vector<ListedPreset> list = folder ? readPresetFolder(*folder) : std::vector<ListedPreset>();
    sortPresetList(list);
    if (folder) {
        evaluateMain(main_page::showPresetFolder(*folder));
    }
    evaluateMain(main_page::fillPresetList(list));
    for (const ListedPreset& entry : list) {
        if (entry.readable) {
            focusFollowing.rules.set(entry.file, entry.activateFor);
        }
    }
    listedPresets.replace(std::move(list));
}

void TesselAppDelegate::reloadPresets() {
    loadPresets();
    updateMainWindowHeight();
}

void TesselAppDelegate::copyPresetExamples() {
    const std::optional<std::string> folder = presetFolder();
    if (!folder) {
        return;
    }
    const std::string examples = helpSites_.resourceFolder + "/presetexamples/";
    for (const std::string& relative : findFiles(examples, {".txt", ".vantry"})) {
        std::string text;
        std::string error;
        if (!readWholeFile(examples + relative, text, error) ||
            exampleAlreadyCopied(*folder, relative, text)) {
            continue;
        }
        std::string candidate = *folder + relative;
        int counter = 0;
        while (nameTaken(candidate)) {
            candidate = *folder + relative + std::to_string(counter) + ".txt";
            if (++counter > maxExampleCollisions) {
                return;
            }
        }
        std::error_code ignored;
        fs::create_directories(fs::path(candidate).parent_path(), ignored);
        createNewFile(candidate, text, error);
    }
    loadPresets();
    updateMainWindowHeight();
}

// The date-and-time name, numbered when a file of that name exists already.
std::string TesselAppDelegate::generateValidFilename() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::string name = generatedFileName(local);
    const std::optional<std::string> folder = presetFolder();
    return folder ? unusedFileName(*folder, name) : name;
}

// A copy of the named preset, or a new one when the page names none (or a file that does not
// load). Empty, after an alert saying why, when nothing could be written.
std::string TesselAppDelegate::generateValidFilenameWithName(const std::string& sourceName) {
    std::string problem;
    const std::optional<std::string> folder = presetFolder(problem);
    const std::optional<std::string> source =
        !folder || sourceName.empty() ? std::nullopt : presetFilePath(*folder, sourceName, problem);
    if (!folder || (!sourceName.empty() && !source)) {
        showAlert("No preset was made. " + problem);
        return {};
    }
    VantryDocument document;
    if (source && document.load(source->c_str())) {
        std::vector<std::string> names;
        for (const ListedPreset& entry : readPresetFolder(*folder)) {
            names.push_back(entry.name);
        }
        document.name = copyName(document.name, names);
    } else {
        document.name = "New Preset";
        document.tag = "No tag";
    }
    const std::string fileName = generateValidFilename();
    std::string error = "every name for it is taken";
    if (fileName.empty() || !saveAsNewPreset(document, *folder + fileName, error)) {
        showAlert("No preset was made: a new file could not be written in the preset folder (" + error +
                  ").");
        return {};
    }
    return fileName;
}

void TesselAppDelegate::createOrEditPreset(const std::string& fileName) {
    updateMainWindowHeight();
    reloadPresetList_mi->setEnabled(false);
    loadExamples_mi->setEnabled(false);
    if (!prepareConfigWindow(fileName)) {
        evaluateMain(main_page::stopModal());
        restoreMenuState();
        return;
    }
    configwindow->bringToFront();
    updateConfigWindowHeight();
}

bool TesselAppDelegate::prepareConfigWindow(const std::string& fileName) {
    std::string problem;
    const std::optional<std::string> path = presetFile(fileName, problem);
    if (!path) {
        showAlert("The preset editor was not opened. " + problem);
        return false;
    }
    auto document = std::make_unique<VantryDocument>();
    const bool loaded = document->load(path->c_str());
    if (!loaded && !editAsNewPreset(*document, fileName, *path)) {
        return false;
    }
    // "No" leaves the file as it is and the editor closed.
    const std::vector<VantryDocument::IgnoredMember> dropped =
        loaded ? editorDrops(*document) : std::vector<VantryDocument::IgnoredMember>{};
    if (!dropped.empty() && !dialogs_->confirm(dropQuestion(*document, dropped))) {
        return false;
    }
    editingPreset = std::move(document);
    editingPresetPath = *path;
    configwindow->setTitle("Edit “" + editingPreset->name + "”");
    fillConfigPage(*editingPreset);
    return true;
}

// A preset that did not load is edited as a new one. A missing file is created at once; the text
// of one that does not read is first copied aside, and when that can't be done the edit is
// refused, since saving would replace the only copy.
bool TesselAppDelegate::editAsNewPreset(VantryDocument& document, const std::string& fileName,
                                        const std::string& path) {
    const std::string reason = document.lastError();
    document.name = "New Preset";
    document.tag = "No tag";
    std::string error;
    if (!nameTaken(path)) {
        if (saveAsNewPreset(document, path, error)) {
            return true;
        }
        showAlert("The preset \"" + fileName + "\" could not be created (" + error + ").");
        return false;
    }
    const std::optional<std::string> backup = keepUnreadablePreset(path, error);
    if (!backup) {
        showAlert("The preset \"" + fileName + "\" can't be read (" + reason +
                  "), and its text could not be kept aside (" + error +
                  "), so it was not opened for editing.");
        return false;
    }
    showAlert("The preset \"" + fileName + "\" could not be read (" + reason + ").\nIts text was kept in \"" +
              *backup + "\".");
    return true;
}

void TesselAppDelegate::fillConfigPage(const VantryDocument& document) {
    evaluateConfig(config_page::clearJoysticks());
    evaluateConfig(config_page::setName(document.name));
    evaluateConfig(config_page::setTag(document.tag));
    focusFollowing.showInEditor(document.activateFor);
    if (!document.joysticks) {
        return;
    }
    int j = 0;
    for (const VantryDocument::JoystickData& joystick : *document.joysticks) {
        evaluateConfig(config_page::addJoystick(joystick.name));
        for (const VantryDocument::BindData& bind : joystick.binds) {
            const std::string input = inputToText(bind.input);
            for (const BindOutput& output : bind.outputs) {
                evaluateConfig(config_page::addBind(j, input, outputToText(output)));
            }
        }
        ++j;
    }
}

// Saves the page's text only when the preset reader accepts it, and replaces the file (a link's
// target) in one step; otherwise the file keeps its old text and the user learns why.
bool TesselAppDelegate::saveEditedPreset(const std::string& path) {
    evaluateConfig(config_page::commitTextFields());
    const std::string text = configScriptObject->evaluate(config_page::generatePresetString()).text();
    VantryDocument check;
    if (!check.readText(text) || !check.interpret()) {
        showAlert(
            "The preset could not be saved, because the editor produced text that does not read back:\n" +
            check.lastError() + "\nThe file keeps its earlier content.");
        return false;
    }
    std::string error = replaceProblem(path);
    if (!error.empty() || !replaceFileContents(path, text, error)) {
        std::fprintf(stderr, "Can't open %s\n", terminalText(path).c_str());
        keepEditedText(path, text, error);
        return false;
    }
    const std::string name = configScriptObject->evaluate(config_page::getName()).text();
    const std::string tag = configScriptObject->evaluate(config_page::getTag()).text();
    evaluateMain(main_page::showEditedPreset(name, tag));
    focusFollowing.presetSaved(path, check.activateFor);
    if (const std::optional<std::string> folder = presetFolder(); folder && path.starts_with(*folder)) {
        listedPresets.saved(
            {path.substr(folder->size()), true, check.name, check.tag, check.activateFor, {}});
    }
    std::fprintf(stderr, "File '%s' saved.\n", terminalText(path).c_str());
    return true;
}

// An edit that can't replace its preset is kept beside it as "<name>.edited", or shown in the
// alert when even that can't be written.
void TesselAppDelegate::keepEditedText(const std::string& path, const std::string& text,
                                       const std::string& why) {
    const fs::path preset(path);
    const std::string folder = preset.parent_path().string() + "/";
    const std::string name = unusedFileName(folder, preset.filename().string() + ".edited");
    const std::string message = "The preset \"" + path + "\" was not changed: " + why + ".\n";
    std::string error;
    if (!name.empty() && createNewFile(folder + name, text, error)) {
        showAlert(message + "Your edit was kept in \"" + folder + name + "\".");
    } else {
        showAlert(message + "Your edit could not be kept in a file either; here is its text:\n\n" + text);
    }
}

void TesselAppDelegate::finishEditingPreset() {
    if (editingPresetPath) {
        saveEditedPreset(*editingPresetPath);
        editingPresetPath.reset();
    }
    evaluateMain(main_page::stopModal());
    restoreMenuState();
}

bool TesselAppDelegate::deletePreset(const std::string& fileName, std::string* whyNot) {
    std::string problem;
    // unlink, not remove: a preset is a file, never a folder. One that is gone already is deleted.
    if (const std::optional<std::string> path = presetFile(fileName, problem);
        path && ::unlink(path->c_str()) != 0 && errno != ENOENT) {
        problem = "\"" + fileName + "\" could not be deleted: " + std::strerror(errno) + ".";
    }
    if (problem.empty()) {
        focusFollowing.rules.set(fileName, {});
        listedPresets.removed(fileName);
    }
    updateMainWindowHeight();
    if (whyNot != nullptr) {
        *whyNot = problem;
    }
    return problem.empty();
}

void TesselAppDelegate::showPresetFile(const std::string& fileName) {
    std::string problem;
    if (const std::optional<std::string> path = presetFile(fileName, problem)) {
        desktop_->revealFolder(*path, [this, file = *path] {
            showAlert("Nothing on this system could show the file. Open it by hand:\n" + file);
        });
    } else {
        showAlert("The file could not be shown. " + problem);
    }
}

void TesselAppDelegate::openPresetFolder() {
    const std::optional<std::string> folder = presetFolder();
    if (folder) {
        desktop_->revealFolder(*folder, [this, path = *folder] {
            showAlert("Nothing on this system could show the preset folder. Open it by hand:\n" + path);
        });
    }
}

} // namespace padloom
