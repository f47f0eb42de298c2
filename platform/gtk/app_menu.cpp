#include "platform/gtk/app_menu.h"

#include "app/option_keys.h"
#include "app/tessel_app_delegate.h"
#include "platform/gtk/i18n.h"

#include <gtk/gtk.h>

namespace padloom {

namespace {

struct HelpEntry {
    HelpTopic topic;
    const char* title;
    bool separatorBefore;
};

constexpr HelpEntry kHelpEntries[] = {
    {HelpTopic::help, "Padloom Help", false},
    {HelpTopic::gettingStarted, "Getting Started", false},
    {HelpTopic::getNewPresets, "Get New Presets", false},
    {HelpTopic::faq, "Frequently Asked Questions", false},
    {HelpTopic::xboxController, "Xbox 360 Controller", true},
    {HelpTopic::ps3Controller, "PS3 Controller", false},
    {HelpTopic::logitechController, "Logitech Controller", false},
    {HelpTopic::tempFixes, "What Are the Temporary Fixes?", true},
    {HelpTopic::keyCombination, "How to Bind a Key Combination", false},
    {HelpTopic::website, "Padloom Website", true},
    {HelpTopic::gaugeview, "Gaugeview", false},
    {HelpTopic::makerWebsite, "The Maker's Website", false},
};

GtkWidget* addMenu(GtkWidget* bar, const char* title) {
    GtkWidget* top = gtk_menu_item_new_with_mnemonic(title);
    GtkWidget* menu = gtk_menu_new();
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(top), menu);
    gtk_menu_shell_append(GTK_MENU_SHELL(bar), top);
    return menu;
}

void append(GtkWidget* menu, const GtkMenuItemAdapter& item) {
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), item.widget());
}

void separator(GtkWidget* menu) {
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), gtk_separator_menu_item_new());
}

} // namespace

AppMenu::AppMenu(GtkAccelGroup* accelerators)
    : shouldLock_mi(_(options::lockCursorTitle), true, nullptr),
      shouldAvoidCorners_mi(options::avoidCornersTitle, true, nullptr),
      shouldShowWarnings_mi(_(options::showWarningsTitle), true, nullptr),
      shouldCompactList_mi(options::compactListTitle, true, nullptr),
      minecraftFix_mi(options::minecraftFixTitle, true, nullptr),
      fullscreenFix_mi(options::fullscreenFixTitle, true, nullptr),
      keyRepeat_mi(options::keyRepeatTitle, true, nullptr),
      refreshJoysticks_mi(_("Refresh Joysticks"), false, nullptr),
      whichJoysticks_mi(_("Which Joysticks Are Connected?"), false, nullptr),
      reloadPresetList_mi(_("Reload Preset List"), false, nullptr),
      loadExamples_mi(_("Load Example Presets"), false, nullptr),
      openPresetFolder(_("Open Preset Folder"), false, nullptr),
      deactivatePreset_mi(_("Deactivate Preset"), false, nullptr), quit(_("Quit"), false, nullptr),
      bar_(gtk_menu_bar_new()) {
    g_object_ref_sink(bar_);
    shouldLock_mi.setState(options::lockCursorInitial);
    shouldAvoidCorners_mi.setState(options::avoidCornersInitial);
    shouldShowWarnings_mi.setState(options::showWarningsInitial);
    shouldCompactList_mi.setState(options::compactListInitial);
    minecraftFix_mi.setState(options::minecraftFixInitial);
    fullscreenFix_mi.setState(options::fullscreenFixInitial);
    keyRepeat_mi.setState(options::keyRepeatInitial);
    deactivatePreset_mi.setEnabled(false);

    GtkWidget* presets = addMenu(bar_, _("_Presets"));
    append(presets, reloadPresetList_mi);
    append(presets, loadExamples_mi);
    append(presets, openPresetFolder);
    separator(presets);
    append(presets, deactivatePreset_mi);
    separator(presets);
    append(presets, quit);
    gtk_widget_add_accelerator(quit.widget(), "activate", accelerators, GDK_KEY_q, GDK_CONTROL_MASK,
                               GTK_ACCEL_VISIBLE);
    gtk_widget_add_accelerator(deactivatePreset_mi.widget(), "activate", accelerators, GDK_KEY_d,
                               GdkModifierType(GDK_CONTROL_MASK | GDK_SHIFT_MASK), GTK_ACCEL_VISIBLE);

    GtkWidget* joysticks = addMenu(bar_, _("_Joysticks"));
    append(joysticks, refreshJoysticks_mi);
    append(joysticks, whichJoysticks_mi);

    GtkWidget* quick = addMenu(bar_, _("_Quick Options"));
    for (const GtkMenuItemAdapter* option :
         {&shouldLock_mi, &shouldAvoidCorners_mi, &shouldShowWarnings_mi, &shouldCompactList_mi,
          &minecraftFix_mi, &fullscreenFix_mi, &keyRepeat_mi})
        append(quick, *option);

    GtkWidget* helpMenu = addMenu(bar_, _("_Help"));
    for (const HelpEntry& entry : kHelpEntries) {
        if (entry.separatorBefore)
            separator(helpMenu);
        help.push_back({entry.topic, std::make_unique<GtkMenuItemAdapter>(_(entry.title), false, nullptr)});
        append(helpMenu, *help.back().item);
    }
}

AppMenu::~AppMenu() {
    help.clear();
    g_object_unref(bar_);
}

// Each action runs as an operation of the controller; quitAction queues itself.
void AppMenu::bind(TesselAppDelegate& controller, std::function<void()> quitAction) {
    TesselAppDelegate* c = &controller;
    auto action = [c](void (TesselAppDelegate::*method)()) {
        return [c, method] { c->operations.run([c, method] { (c->*method)(); }); };
    };
    shouldLock_mi.setAction(action(&TesselAppDelegate::LockCursor));
    shouldAvoidCorners_mi.setAction(action(&TesselAppDelegate::toggleAvoidCorners));
    shouldShowWarnings_mi.setAction(action(&TesselAppDelegate::toggleWarnings));
    shouldCompactList_mi.setAction(action(&TesselAppDelegate::compactList));
    minecraftFix_mi.setAction(action(&TesselAppDelegate::toggleMinecraftFix));
    fullscreenFix_mi.setAction(action(&TesselAppDelegate::toggleFullScreenFix));
    keyRepeat_mi.setAction(action(&TesselAppDelegate::toggleKeyRepeat));
    refreshJoysticks_mi.setAction(action(&TesselAppDelegate::refreshJoysticks));
    whichJoysticks_mi.setAction(action(&TesselAppDelegate::showConnectedJoysticks));
    reloadPresetList_mi.setAction(action(&TesselAppDelegate::reloadPresets));
    loadExamples_mi.setAction(action(&TesselAppDelegate::copyPresetExamples));
    openPresetFolder.setAction(action(&TesselAppDelegate::openPresetFolder));
    deactivatePreset_mi.setAction(action(&TesselAppDelegate::panicDeactivate));
    quit.setAction(std::move(quitAction));
    for (HelpItem& entry : help)
        entry.item->setAction(
            [c, topic = entry.topic] { c->operations.run([c, topic] { c->showHelp(topic); }); });
}

GtkMenuItemAdapter* AppMenu::item(const std::string& title) const {
    for (const GtkMenuItemAdapter* candidate :
         {&shouldLock_mi, &shouldAvoidCorners_mi, &shouldShowWarnings_mi, &shouldCompactList_mi,
          &minecraftFix_mi, &fullscreenFix_mi, &keyRepeat_mi, &refreshJoysticks_mi, &whichJoysticks_mi,
          &reloadPresetList_mi, &loadExamples_mi, &openPresetFolder, &deactivatePreset_mi, &quit})
        if (candidate->title() == title)
            return const_cast<GtkMenuItemAdapter*>(candidate);
    for (const HelpItem& entry : help)
        if (entry.item->title() == title)
            return entry.item.get();
    return nullptr;
}

} // namespace padloom
