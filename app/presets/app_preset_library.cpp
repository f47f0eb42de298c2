// SPDX-License-Identifier: GPL-3.0-or-later
// The preset library: listing, example copies, new names and copies, deleting and revealing, and
// the editor's opening and closing.
#include "app/controller/tessel_app_delegate.h"
#include "app/pages/page_scripts.h"
#include "app/presets/folders.h"
#include "app/presets/preset_files.h"
#include "app/presets/preset_listing.h"
#include "preset/vantry_document.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace padloom {
namespace {

constexpr int maxExampleCollisions = 100;

// Whether some file in the chain of names an example is copied under holds exactly its text.
bool exampleAlreadyCopied(const std::string& folder, const std::string& relative, const std::string& text) {
    std::string candidate = folder + relative;
    for (int counter = 0; nameTaken(candidate) && counter <= maxExampleCollisions; ++counter) {
        if (readWholeFile(candidate).value_or({}) == text) {
            return true;
        }
        candidate = folder + relative + std::to_string(counter) + ".txt";
    }
    return false;
}

// unlink, not remove: a preset is a file, never a folder. One that is gone already is deleted.
Outcome<> removePresetFile(const std::string& path, const std::string& fileName) {
    if (::unlink(path.c_str()) == 0 || errno == ENOENT) {
        return {};
    }
    return Problem{"\"" + fileName + "\" could not be deleted: " + std::strerror(errno) + "."};
}

} // namespace

void TesselAppDelegate::loadPresets() {
    focusFollowing_.rules.clear();
    const Outcome<std::string> folder = presetFolder();
    std::vector<ListedPreset> list = folder ? readPresetFolder(*folder) : std::vector<ListedPreset>();
    sortPresetList(list);
    if (folder) {
        evaluateMain(main_page::showPresetFolder(*folder));
    }
    evaluateMain(main_page::fillPresetList(list));
    for (const ListedPreset& entry : list) {
        if (entry.readable) {
            focusFollowing_.rules.set(entry.file, entry.activateFor);
        }
    }
    listedPresets_.replace(std::move(list));
}

void TesselAppDelegate::reloadPresets() {
    loadPresets();
    updateMainWindowHeight();
}

void TesselAppDelegate::watchPresetList(std::function<void()> listener) {
    listedPresets_.setChangeListener(std::move(listener));
}

void TesselAppDelegate::copyPresetExamples() {
    const Outcome<std::string> folder = presetFolder();
    if (!folder) {
        return;
    }
    const std::string examples = helpSites_.resourceFolder + "/presetexamples/";
    for (const std::string& relative : findFiles(examples, {".txt", ".vantry"})) {
        const Outcome<std::string> text = readWholeFile(examples + relative);
        if (!text || exampleAlreadyCopied(*folder, relative, *text)) {
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
        (void)createNewFile(candidate, *text);
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
    const Outcome<std::string> folder = presetFolder();
    return folder ? unusedFileName(*folder, name) : name;
}

// A copy of the named preset, or a new one when the page names none (or a file that does not
// load). Empty, after an alert saying why, when nothing could be written.
std::string TesselAppDelegate::generateValidFilenameWithName(const std::string& sourceName) {
    const Outcome<std::string> folder = presetFolder();
    const Outcome<std::string> source =
        sourceName.empty() || !folder ? folder : presetFilePath(*folder, sourceName);
    if (!source) {
        showAlert("No preset was made. " + source.problem());
        return {};
    }
    VantryDocument document;
    if (!sourceName.empty() && loadPreset(document, *source)) {
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
    const Outcome<> saved = fileName.empty() ? Problem{"every name for it is taken"}
                                             : saveAsNewPreset(document, *folder + fileName);
    if (!saved) {
        showAlert("No preset was made: a new file could not be written in the preset folder (" +
                  saved.problem() + ").");
        return {};
    }
    return fileName;
}

void TesselAppDelegate::createOrEditPreset(const std::string& fileName) {
    updateMainWindowHeight();
    menu_.reloadPresetList_mi->setEnabled(false);
    menu_.loadExamples_mi->setEnabled(false);
    if (!editor_.prepareConfigWindow(fileName)) {
        evaluateMain(main_page::stopModal());
        restoreMenuState();
        return;
    }
    configwindow_->bringToFront();
    updateConfigWindowHeight();
    if (joystickWatch_) {
        joystickWatch_->look(); // the live view starts
    }
}

void TesselAppDelegate::finishEditingPreset() {
    editor_.finishEditingPreset();
    evaluateMain(main_page::stopModal());
    restoreMenuState();
}

// The list's entry shows the name and tag as the editor's fields had them; what follows the
// focus and what lists the presets learn the preset as its file now reads.
void TesselAppDelegate::editSaved(const std::string& path, const std::string& name, const std::string& tag,
                                  const VantryDocument& saved) {
    evaluateMain(main_page::showEditedPreset(name, tag));
    const Outcome<std::string> folder = presetFolder();
    if (folder && path.starts_with(*folder)) {
        const std::string file = path.substr(folder->size());
        focusFollowing_.rules.set(file, saved.activateFor);
        listedPresets_.saved({file, true, saved.name, saved.tag, saved.activateFor, {}});
    }
}

Outcome<> TesselAppDelegate::deletePreset(const std::string& fileName) {
    const Outcome<std::string> path = presetFile(fileName);
    const Outcome<> deleted = path ? removePresetFile(*path, fileName) : problemOf(path);
    if (deleted) {
        focusFollowing_.rules.set(fileName, {});
        listedPresets_.removed(fileName);
    }
    updateMainWindowHeight();
    return deleted;
}

void TesselAppDelegate::showPresetFile(const std::string& fileName) {
    if (const Outcome<std::string> path = presetFile(fileName)) {
        desktop_->revealFolder(*path, [this, file = *path] {
            showAlert("Nothing on this system could show the file. Open it by hand:\n" + file);
        });
    } else {
        showAlert("The file could not be shown. " + path.problem());
    }
}

void TesselAppDelegate::openPresetFolder() {
    if (const Outcome<std::string> folder = presetFolder()) {
        desktop_->revealFolder(*folder, [this, path = *folder] {
            showAlert("Nothing on this system could show the preset folder. Open it by hand:\n" + path);
        });
    }
}

} // namespace padloom
