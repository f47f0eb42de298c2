// SPDX-License-Identifier: GPL-3.0-or-later
// The page script bridge: the operations the pages may call, and page-ready handling.
#include "app/controller/tessel_app_delegate.h"
#include "app/pages/page_scripts.h"
#include "app/pages/shown_text.h"

#include <cmath>
#include <limits>

namespace padloom {
namespace {

enum class ArgKind { text, integer };

struct PageOperation {
    const char* name;
    std::vector<ArgKind> args;
    ScriptValue (*run)(TesselAppDelegate& app, const std::vector<ScriptValue>& args);
};

// A preset file, by the key the main page knows it by.
std::string fileArg(const std::vector<ScriptValue>& args, size_t i) {
    return fileFromPageKey(args[i].string());
}

int intArg(const std::vector<ScriptValue>& args, size_t i) {
    return static_cast<int>(args[i].number());
}

// The page shows the reason when it is not true.
ScriptValue done(const Outcome<>& outcome) {
    return outcome ? ScriptValue(true) : ScriptValue(outcome.problem());
}

const std::vector<PageOperation>& operationTable() {
    static const std::vector<PageOperation> table = {
        {"activatePreset_",
         {ArgKind::text},
         [](TesselAppDelegate& app, const std::vector<ScriptValue>& a) {
             return done(app.activatePreset(fileArg(a, 0)));
         }},
        {"deactivatePreset",
         {},
         [](TesselAppDelegate& app, const std::vector<ScriptValue>&) {
             return ScriptValue(app.deactivatePreset());
         }},
        {"createOrEditPreset_",
         {ArgKind::text},
         [](TesselAppDelegate& app, const std::vector<ScriptValue>& a) {
             app.createOrEditPreset(fileArg(a, 0));
             return ScriptValue();
         }},
        {"deletePreset_",
         {ArgKind::text},
         [](TesselAppDelegate& app, const std::vector<ScriptValue>& a) {
             return done(app.deletePreset(fileArg(a, 0)));
         }},
        {"showPresetFile_",
         {ArgKind::text},
         [](TesselAppDelegate& app, const std::vector<ScriptValue>& a) {
             app.showPresetFile(fileArg(a, 0));
             return ScriptValue();
         }},
        {"generateValidFilename",
         {},
         [](TesselAppDelegate& app, const std::vector<ScriptValue>&) {
             return ScriptValue(app.generateValidFilename());
         }},
        {"generateValidFilenameWithName_",
         {ArgKind::text},
         [](TesselAppDelegate& app, const std::vector<ScriptValue>& a) {
             return ScriptValue(app.generateValidFilenameWithName(fileArg(a, 0)));
         }},
        {"updateConfigWindowHeight",
         {},
         [](TesselAppDelegate& app, const std::vector<ScriptValue>&) {
             app.updateConfigWindowHeight();
             return ScriptValue();
         }},
        {"scanJoystickInput_inBindNo_",
         {ArgKind::integer, ArgKind::integer},
         [](TesselAppDelegate& app, const std::vector<ScriptValue>& a) {
             app.scanJoystickInput(intArg(a, 0), intArg(a, 1));
             return ScriptValue();
         }},
        {"enableFocusHelper",
         {},
         [](TesselAppDelegate& app, const std::vector<ScriptValue>&) {
             app.enableFocusHelper();
             return ScriptValue();
         }},
        {"webViewDocumentReady",
         {},
         [](TesselAppDelegate& app, const std::vector<ScriptValue>&) {
             app.webViewDocumentReady();
             return ScriptValue();
         }},
    };
    return table;
}

bool isInt32(const ScriptValue& value) {
    if (!value.isNumber()) {
        return false;
    }
    const double n = value.number();
    return std::isfinite(n) && n == std::trunc(n) && n >= std::numeric_limits<int32_t>::min() &&
           n <= std::numeric_limits<int32_t>::max();
}

// Whether the arguments fit the operation.
Outcome<> argumentsFit(const PageOperation& op, const std::vector<ScriptValue>& args) {
    if (args.size() != op.args.size()) {
        return Problem{std::string(op.name) + " takes " + std::to_string(op.args.size()) +
                       " argument(s), not " + std::to_string(args.size())};
    }
    for (size_t i = 0; i < args.size(); ++i) {
        const bool fits = op.args[i] == ArgKind::text ? args[i].isString() : isInt32(args[i]);
        if (!fits) {
            return Problem{std::string(op.name) + ": argument " + std::to_string(i + 1) + " must be " +
                           (op.args[i] == ArgKind::text ? "a string" : "an integer")};
        }
    }
    return {};
}

} // namespace

const std::vector<std::string>& TesselAppDelegate::pageOperations() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const PageOperation& op : operationTable()) {
            list.emplace_back(op.name);
        }
        return list;
    }();
    return names;
}

BridgeReply TesselAppDelegate::callFromPage(const std::string& operation,
                                            const std::vector<ScriptValue>& args) {
    for (const PageOperation& op : operationTable()) {
        if (operation != op.name) {
            continue;
        }
        if (const Outcome<> fit = argumentsFit(op, args); !fit) {
            return problemOf(fit);
        }
        return op.run(*this, args);
    }
    return Problem{"no such operation: " + operation};
}

void TesselAppDelegate::webViewDocumentReady() {
    if (mainScriptObject_->evaluate(main_page::bodyHeight()).isUndefined()) {
        mainLoop_->runLater(1000, [this] { operations_.run([this] { webViewDocumentReady(); }); });
        return;
    }
    evaluateMain(main_page::setCompactList(menu_.shouldCompactList_mi->state()));
    loadPresets();
    evaluateMain(main_page::markActivePreset(activePresetFile()));
    updateMainWindowHeight();
    refreshJoysticks();
    ++mainPageFills_;
}

void TesselAppDelegate::enableFocusHelper() {
    focusFollowing_.enableHelper(
        [this](const FollowerState& state) { evaluateConfig(config_page::showFollowing(state)); });
}

} // namespace padloom
