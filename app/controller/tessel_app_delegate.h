// SPDX-License-Identifier: GPL-3.0-or-later
// The application controller: answers the pages, the menu and the windows with the operations
// they call, under their names, and hands the work to its rooms: the preset runner (activation and
// polling), the preset editor, the binding capture, focus following and the joystick watch.
// Everything here runs on the main thread; the polling task of PresetRunner is the one other
// thread. The shell (see app/controller/shell_interfaces.h) provides the UI objects.
//
// Focus following, remote requests and the tray reach the controller through PresetSwitching.
#pragma once

#include "app/capture/binding_capture.h"
#include "app/controller/help_links.h"
#include "app/controller/menu_entries.h"
#include "app/controller/operation_queue.h"
#include "app/controller/shell_interfaces.h"
#include "app/desktop/focus_following.h"
#include "app/desktop/pad_switching.h"
#include "app/desktop/preset_switching.h"
#include "app/editor/preset_editor.h"
#include "app/pads/control_names.h"
#include "app/pads/joystick_watch.h"
#include "app/presets/preset_listing.h"
#include "app/running/preset_runner.h"

#include <memory>
#include <string>
#include <vector>

namespace padloom {

// The menu's actions, the pages' operations and the shell's events are public; PresetSwitching is
// implemented privately, for those given the controller as one.
class TesselAppDelegate : public PresetSwitching {
public:
    // The objects the shell connects; all are required except the presentation monitor and the
    // capture events (default: SDL's queue and clock).
    struct Outlets {
        MenuOutlets menu;
        Window* mainwindow = nullptr;
        ScriptPage* mainScriptObject = nullptr;
        Label* lblJoysticksConnected = nullptr;
        Window* configwindow = nullptr;
        ScriptPage* configScriptObject = nullptr;
        Dialogs* dialogs = nullptr;
        SettingsStore* settings = nullptr;
        DesktopServices* desktop = nullptr;
        MainLoop* mainLoop = nullptr;
        PresentationMonitor* presentationMonitor = nullptr;
        CaptureEvents* captureEvents = nullptr;
        Notifier* notifier = nullptr; // optional: switches from the pad say so on standard error only
    };

    TesselAppDelegate(const Outlets& outlets, HelpSites helpSites);
    ~TesselAppDelegate() override;
    TesselAppDelegate(const TesselAppDelegate&) = delete;
    TesselAppDelegate& operator=(const TesselAppDelegate&) = delete;

    // What fitting the main window adds to its page's content height, for the window's other parts.
    static const int mainWindowChrome;
    void updateMainWindowHeight();
    void updateConfigWindowHeight();

    // --- joystick listing
    void configPageDidLoad();
    void refreshJoysticks();
    void showConnectedJoysticks();

    // --- activation: the main page's switch and the menu
    // On success the main page is left to mark the preset (its switch did).
    Outcome<> activatePreset(const std::string& fileName);
    bool deactivatePreset();
    void panicDeactivate();

    // --- preset library
    void reloadPresets();
    void copyPresetExamples();
    std::string generateValidFilename();
    std::string generateValidFilenameWithName(const std::string& name);
    void createOrEditPreset(const std::string& fileName);
    // The file stays only when it could not be deleted.
    Outcome<> deletePreset(const std::string& fileName);
    void openPresetFolder();
    // Selects the preset's file in the file manager.
    void showPresetFile(const std::string& fileName);

    // --- binding capture
    void scanJoystickInput(int index, int bindNo) { capture_.scanJoystickInput(index, bindNo); }
    // Escape in either window: ends a running or queued capture (no effect otherwise).
    void escapeCapture() { capture_.escapeCapture(); }
    bool captureRunning() const override { return capture_.running(); }
    bool captureListening() const { return capture_.listening(); }

    // --- quick options
    void LockCursor();
    void toggleWarnings();
    void toggleAvoidCorners();
    void compactList();
    void toggleMinecraftFix();
    void toggleFullScreenFix();
    void toggleKeyRepeat();
    void toggleKeepInTray();

    // --- lifecycle and windows
    void awakeFromNib();
    void applicationDidFinishLaunching();
    void applicationDidChangeScreenParameters();
    bool applicationShouldTerminate();
    void applicationWillTerminate();
    bool windowShouldClose(Window* window);
    void windowWillClose(Window* window);
    // Closing the main window hides it to the tray instead of quitting: the option is on and a
    // tray shows the icon (the item is enabled only then).
    bool keepsRunningWhenClosed() const;
    void showHelp(HelpTopic topic);
    static std::string quitQuestion();

    // --- page script bridge
    void webViewDocumentReady();
    // The editor's button: sets up the desktop's part of following the focus, then shows its state.
    void enableFocusHelper();
    // Runs one of the operations the pages may call, by its script name; refuses the rest.
    BridgeReply callFromPage(const std::string& operation, const std::vector<ScriptValue>& args);
    static const std::vector<std::string>& pageOperations();
    // How often page-ready handling has filled the main page.
    int mainPageFills() const { return mainPageFills_; }

    // --- the rooms, for the shell and the tests
    // Every entry into the controller from the shell (menu, pages, windows, timers) goes through
    // this queue, so no operation starts inside another.
    OperationQueue& operations() { return operations_; }
    // The engine, joyManager, the two polling flags and activationLock.
    PresetRunner& runner() { return runner_; }
    const PresetEditor& editor() const { return editor_; }
    // Switches presets as the focus moves between programs; the shell starts it.
    FocusFollowing& focusFollowing() { return focusFollowing_; }
    PresetSwitching& switching() { return *this; }

private:
    // PresetSwitching
    void runOperation(std::function<void()> op) override { operations_.run(std::move(op)); }
    Outcome<> switchOn(const std::string& fileName, Cause cause) override;
    void switchOff(Cause cause) override;
    std::string activePresetFile() const override;
    void watchActivePreset(const void* owner, std::function<void()> listener) override;
    const std::vector<ListedPreset>& listedPresets() const override { return listedPresets_.entries(); }
    bool presetListShown() const override { return mainPageFills_ > 0; }
    void watchPresetList(std::function<void()> listener) override;
    bool panelOpen() const override;
    bool beingEdited(const std::string& fileName) const override { return editor_.beingEdited(fileName); }
    void showNotice(const std::string& title, const std::string& text) override;

    Outcome<> activate(const std::string& fileName, Cause cause);
    void deactivate(Cause cause);
    void showAlert(const std::string& message);
    void fitWindow(Window* window, ScriptPage* page, const std::string& contentHeight, int extra);
    void restoreMenuState();
    void recomputeGeometry();
    bool askBeforeQuit();
    void loadPresets();
    void finishEditingPreset();
    void editSaved(const std::string& path, const std::string& name, const std::string& tag,
                   const VantryDocument& saved);
    void updatelblJoysticksConnected();
    void updateConfigWindowJoysticks();
    void watchJoysticks();
    void enableLRFullscreenFix();
    void disableLRFullscreenFix();
    void evaluateMain(const std::string& script);
    void evaluateConfig(const std::string& script);

    // The outlets are the shell's; the controller does not own them.
    MenuOutlets menu_;
    Window* mainwindow_;
    ScriptPage* mainScriptObject_;
    Label* lblJoysticksConnected_;
    Window* configwindow_;
    ScriptPage* configScriptObject_;
    Dialogs* dialogs_;
    SettingsStore* settings_;
    DesktopServices* desktop_;
    MainLoop* mainLoop_;
    PresentationMonitor* presentationMonitor_;
    HelpSites helpSites_;

    PresetRunner runner_;
    OperationQueue operations_;
    PresetEditor editor_;
    BindingCapture capture_;
    FocusFollowing focusFollowing_;
    // Switches presets when a pad completes a combination of the running preset's "switches".
    PadSwitching padSwitching_;
    // The presets the main page lists, as loadPresets read them, with the changes made since.
    ListedPresets listedPresets_;
    std::unique_ptr<JoystickWatch> joystickWatch_;
    // The joysticks' names and their named controls, as last sent to the editor.
    std::pair<std::vector<std::string>, std::vector<ControlNames>> namedControls_;
    bool shouldAvoidCorners_ = false;
    bool quitConfirmed_ = false;
    bool fullscreenFixInstalled_ = false;
    int mainPageFills_ = 0;
};

} // namespace padloom
