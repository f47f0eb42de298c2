// The preset library: listing, example copies, new names, copies, editing and deleting.
#include "app/preset_files.h"
#include "app/script_text.h"
#include "app/tessel_app_delegate.h"
#include "preset/vantry_document.h"

#include <cstdio>
#include <ctime>
#include <filesystem>

namespace fs = std::filesystem;

namespace padloom {
namespace {

constexpr int maxExampleCollisions = 100;

// The file a page's name stands for, directly inside the preset folder; none for names that
// would address the folder itself or its parent.
std::optional<std::string> presetPath(const std::optional<std::string>& folder, const std::string& fileName) {
    const std::string name = withoutSlashes(fileName);
    if (!folder || name.empty() || name == "." || name == "..") {
        return std::nullopt;
    }
    return *folder + name;
}

bool fileExists(const std::string& path) {
    std::error_code error;
    return fs::exists(path, error);
}

} // namespace

void TesselAppDelegate::loadPresets() {
    evaluateMain("cleanPresetList()");
    const std::optional<std::string> folder = presetFolder();
    if (!folder) {
        return;
    }
    for (const std::string& relative : findFiles(*folder, {".txt", ".json", ".vantry"})) {
        VantryDocument document;
        if (!document.load((*folder + relative).c_str())) {
            continue;
        }
        evaluateMain(scriptCall("addPresetUI", {document.name, document.tag, relative}));
    }
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
        std::string candidate = *folder + relative;
        int counter = 0;
        while (fileExists(candidate)) {
            candidate = *folder + relative + std::to_string(counter) + ".txt";
            if (++counter > maxExampleCollisions) {
                return;
            }
        }
        std::error_code error;
        fs::create_directories(fs::path(candidate).parent_path(), error);
        fs::copy_file(examples + relative, candidate, error);
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

std::string TesselAppDelegate::generateValidFilenameWithName(const std::string& sourceName) {
    const std::optional<std::string> folder = presetFolder();
    if (!folder) {
        return {};
    }
    const std::optional<std::string> source = presetPath(folder, sourceName);
    VantryDocument document;
    if (source && document.load(source->c_str())) {
        document.name += " copy";
    } else {
        document.name = "New Preset";
        document.tag = "No tag";
    }
    const std::string fileName = generateValidFilename();
    if (fileName.empty() || !document.save((*folder + fileName).c_str())) {
        return {};
    }
    return fileName;
}

void TesselAppDelegate::createOrEditPreset(const std::string& fileName) {
    updateMainWindowHeight();
    reloadPresetList_mi->setEnabled(false);
    loadExamples_mi->setEnabled(false);
    prepareConfigWindow(fileName);
    configwindow->bringToFront();
    updateConfigWindowHeight();
}

// A preset file that exists but does not read is copied aside before the editor can replace
// it, and the user is told where its text went.
std::optional<std::string> TesselAppDelegate::keepUnreadablePreset(const std::string& path) {
    const fs::path original(path);
    const std::string folder = original.parent_path().string() + "/";
    const std::string backup = unusedFileName(folder, original.filename().string() + ".unreadable");
    std::error_code error;
    if (backup.empty() || !fs::copy_file(original, folder + backup, error)) {
        return std::nullopt;
    }
    return folder + backup;
}

void TesselAppDelegate::prepareConfigWindow(const std::string& fileName) {
    const std::optional<std::string> found = presetPath(presetFolder(), fileName);
    if (!found) {
        return;
    }
    const std::string& path = *found;
    editingPreset = std::make_unique<VantryDocument>();
    if (!editingPreset->load(path.c_str())) {
        const std::string reason = editingPreset->lastError();
        editingPreset->name = "New Preset";
        editingPreset->tag = "No tag";
        if (!fileExists(path)) {
            editingPreset->save(path.c_str());
        } else if (std::optional<std::string> backup = keepUnreadablePreset(path)) {
            showAlert("The preset \"" + withoutSlashes(fileName) + "\" could not be read (" + reason +
                      ").\nIts text was kept in \"" + *backup + "\".");
        }
    }
    editingPresetPath = path;
    fillConfigPage(*editingPreset);
}

void TesselAppDelegate::fillConfigPage(const VantryDocument& document) {
    evaluateConfig("clearJoysticks()");
    evaluateConfig("$('#name').val(" + scriptString(document.name) + ")");
    evaluateConfig("$('#tag').val(" + scriptString(document.tag) + ")");
    if (!document.joysticks) {
        return;
    }
    int j = 0;
    for (const VantryDocument::JoystickData& joystick : *document.joysticks) {
        evaluateConfig(scriptCall("addJoystick", {joystick.name}));
        for (const VantryDocument::BindData& bind : joystick.binds) {
            const std::string input = scriptString(inputToText(bind.input), '\'');
            for (const BindOutput& output : bind.outputs) {
                evaluateConfig("addBind(" + std::to_string(j) + ", " + input + ", " +
                               scriptString(outputToText(output), '\'') + ")");
            }
        }
        ++j;
    }
}

// Saves the page's text only when the preset reader accepts it, and replaces the file in one
// step; otherwise the file keeps its old text and the user learns why.
bool TesselAppDelegate::saveEditedPreset(const std::string& path) {
    if (!canWriteBeside(path)) {
        std::fprintf(stderr, "Can't open %s\n", path.c_str());
        showAlert("The preset could not be saved: \"" + path + "\" can't be written.");
        return false;
    }
    evaluateConfig("$('input[type=text]').blur()");
    const std::string text = configScriptObject->evaluate("generatePresetString()").text();
    VantryDocument check;
    if (!check.readText(text) || !check.interpret()) {
        showAlert(
            "The preset could not be saved, because the editor produced text that does not read back:\n" +
            check.lastError() + "\nThe file keeps its earlier content.");
        return false;
    }
    std::string error;
    if (!replaceFileContents(path, text, error)) {
        std::fprintf(stderr, "Can't open %s\n", path.c_str());
        showAlert("The preset could not be saved: " + error + ".\nThe file keeps its earlier content.");
        return false;
    }
    const std::string name = configScriptObject->evaluate("$('#name').val()").text();
    const std::string tag = configScriptObject->evaluate("$('#tag').val()").text();
    evaluateMain("$('.editing > text').find('h2').text(" + scriptString(name) + ").end().find('p').text(" +
                 scriptString(tag) + ")");
    std::fprintf(stderr, "File '%s' saved.\n", path.c_str());
    return true;
}

void TesselAppDelegate::finishEditingPreset() {
    if (editingPresetPath) {
        saveEditedPreset(*editingPresetPath);
        editingPresetPath.reset();
    }
    evaluateMain("stopModal()");
    restoreMenuState();
}

void TesselAppDelegate::deletePreset(const std::string& fileName) {
    if (const std::optional<std::string> path = presetPath(presetFolder(), fileName)) {
        std::error_code error;
        fs::remove(*path, error);
    }
    updateMainWindowHeight();
}

void TesselAppDelegate::openPresetFolder() {
    const std::optional<std::string> folder = presetFolder();
    if (folder) {
        desktop_->revealFolder(*folder);
    }
}

} // namespace padloom
