// The application controller: one object that answers the pages, the menu and the windows,
// activates presets, edits them, captures joystick inputs and keeps the quick options.
// Everything here runs on the main thread; the polling task of PresetRunner is the one other
// thread. The shell (see app/controller/shell_interfaces.h) provides the UI objects.
#pragma once

#include "app/controller/help_links.h"
#include "app/controller/menu_entries.h"
#include "app/controller/operation_queue.h"
#include "app/controller/shell_interfaces.h"
#include "app/desktop/focus_following.h"
#include "app/pads/control_names.h"
#include "app/pads/joystick_watch.h"
#include "app/presets/preset_listing.h"
#include "app/running/preset_runner.h"
#include "preset/bind_records.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace padloom {

class VantryDocument;
class PadSwitching;
class Notifier;

// The answer to a page's call: refused (unknown operation or bad arguments) or a value.
struct BridgeReply {
    bool refused = false;
    std::string error;
    ScriptValue value; // undefined for the operations without result
};

// The menu items (MenuOutlets) are the controller's first fields; the shell owns them.
class TesselAppDelegate : public MenuOutlets {
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
    ~TesselAppDelegate();
    TesselAppDelegate(const TesselAppDelegate&) = delete;
    TesselAppDelegate& operator=(const TesselAppDelegate&) = delete;

    // --- shared operations
    void showAlert(const std::string& message);
    // True while an alert or a question, the controller's or a page's, waits for the user.
    bool panelOpen() const;
    // What fitting the main window adds to its page's content height, for the window's other parts.
    static const int mainWindowChrome;
    void updateMainWindowHeight();
    void updateConfigWindowHeight();
    std::optional<std::string> applicationSupportFolder();
    std::optional<std::string> presetFolder();
    // The same, with a sentence for the user in problem when there is none.
    std::optional<std::string> presetFolder(std::string& problem);
    void initJoystickSubSystem();
    void deinitJoystickSubSystem();
    void enableDangerousOptions();
    void disableDangerousOptions();
    // The menu state that matches what runs: active while a preset is active, idle otherwise.
    void restoreMenuState();
    bool loadMenuOption(MenuItem* item);
    bool toggleMenuOption(MenuItem* item);

    // --- joystick listing
    void updatelblJoysticksConnected();
    std::vector<std::string> getJoystickNames();
    void updateConfigWindowJoysticks();
    void configPageDidLoad();
    void refreshJoysticks();
    void showConnectedJoysticks();
    // Keeps the label and the editor's joystick names in step with pads that come and go, from
    // now until stopJoystickWatch (or the controller goes).
    void watchJoysticks();
    void stopJoystickWatch();

    // --- activation
    // False when the preset was not switched on; whyNot (if given) then says why, for the page.
    bool activatePreset(const std::string& fileName, std::string* whyNot = nullptr);
    bool deactivatePreset();
    void panicDeactivate();
    void startJoystickPolling();
    void stopJoystickPolling();

    // --- preset library
    void loadPresets();
    void reloadPresets();
    void copyPresetExamples();
    std::string generateValidFilename();
    std::string generateValidFilenameWithName(const std::string& name);
    void createOrEditPreset(const std::string& fileName);
    // False, after an alert saying why, when the preset can't be edited.
    bool prepareConfigWindow(const std::string& fileName);
    void finishEditingPreset();
    // False when the file is still there; whyNot (if given) then says why, for the page.
    bool deletePreset(const std::string& fileName, std::string* whyNot = nullptr);
    void openPresetFolder();
    // Selects the preset's file in the file manager.
    void showPresetFile(const std::string& fileName);

    // --- binding capture
    void scanJoystickInput(int index, int bindNo);
    void scanJoystickInputTask(int index, int bindNo);
    // Escape in either window: ends a running or queued capture (no effect otherwise).
    void escapeCapture();
    bool captureRunning() const { return captureRunning_; }

    // --- quick options
    void LockCursor();
    void toggleWarnings();
    void toggleAvoidCorners();
    void compactList();
    void toggleMinecraftFix();
    void toggleFullScreenFix();
    void toggleKeyRepeat();
    void toggleKeepInTray();
    void toggleIncompatibilityWarnings() {}
    void enableLRFullscreenFix();
    void disableLRFullscreenFix();

    // --- lifecycle and windows
    void awakeFromNib();
    void applicationDidFinishLaunching();
    void applicationDidChangeScreenParameters();
    bool applicationShouldTerminate();
    void applicationWillTerminate();
    bool windowShouldClose(Window* window);
    void windowWillClose(Window* window);
    bool askBeforeQuit();
    // Closing the main window hides it to the tray instead of quitting: the option is on and a
    // tray shows the icon (the item is enabled only then).
    bool keepsRunningWhenClosed() const;
    void showHelp(HelpTopic topic);
    static std::string quitQuestion();

    // --- page script bridge
    void webViewDocumentReady();
    // Runs one of the operations the pages may call, by its script name; refuses the rest.
    BridgeReply callFromPage(const std::string& operation, const std::vector<ScriptValue>& args);
    static const std::vector<std::string>& pageOperations();
    // How often page-ready handling has filled the main page.
    int mainPageFills() const { return mainPageFills_; }

    // Fields after the menu items (outlets are the shell's; the controller does not own them).
    Window* mainwindow;
    ScriptPage* mainScriptObject;
    Label* lblJoysticksConnected;
    Window* configwindow;
    ScriptPage* configScriptObject;
    std::unique_ptr<VantryDocument> editingPreset;
    std::optional<std::string> editingPresetPath;
    PresetRunner runner; // the engine, joyManager, the two polling flags and activationLock
    // Every entry into the controller from the shell (menu, pages, windows, timers) goes through
    // this queue, so no operation starts inside another.
    OperationQueue operations;
    // Switches presets as the focus moves between programs; the shell starts it.
    FocusFollowing focusFollowing{*this};
    // The presets the main page lists, as loadPresets read them, with the changes made since.
    ListedPresets listedPresets;
    // Switches presets when a pad completes a combination of the running preset's "switches".
    std::unique_ptr<PadSwitching> padSwitching;
    bool shouldAvoidCorners = false;
    bool quitConfirmed = false;

private:
    struct CaptureState;
    void fitWindow(Window* window, ScriptPage* page, const std::string& contentHeight, int extra);
    void recomputeGeometry();
    std::optional<std::string> presetFile(const std::string& fileName, std::string& problem);
    bool editAsNewPreset(VantryDocument& document, const std::string& fileName, const std::string& path);
    void fillConfigPage(const VantryDocument& document);
    bool saveEditedPreset(const std::string& path);
    void keepEditedText(const std::string& path, const std::string& text, const std::string& why);
    void runCapture(CaptureState& capture);
    void readCaptureEvents(CaptureState& capture);
    void endCapture(CaptureState& capture);
    void closeCapture();
    void evaluateMain(const std::string& script);
    void evaluateConfig(const std::string& script);

    Dialogs* dialogs_;
    SettingsStore* settings_;
    DesktopServices* desktop_;
    MainLoop* mainLoop_;
    PresentationMonitor* presentationMonitor_;
    CaptureEvents* captureEvents_;
    std::unique_ptr<SdlCaptureEvents> ownCaptureEvents_;
    HelpSites helpSites_;
    bool captureRunning_ = false;
    std::unique_ptr<JoystickWatch> joystickWatch_;
    // The joysticks' names and their named controls, as last sent to the editor.
    std::pair<std::vector<std::string>, std::vector<ControlNames>> namedControls_;
    bool fullscreenFixInstalled_ = false;
    int mainPageFills_ = 0;
};

} // namespace padloom
