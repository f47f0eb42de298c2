// SPDX-License-Identifier: GPL-3.0-or-later
// The bridge between a page's script and the controller. Each web view gets a user script that
// defines one global (`app` on the main page, `appconfig` on the configuration page): a frozen
// object without prototype whose only members are the operations the pages may call. A call
// posts {op, args} to the native side and returns a Promise of the result; the native side
// passes on only those names and rejects anything else, whoever posted it.
#pragma once

#include "app/ui/script_page.h"

#include <functional>
#include <string>
#include <vector>

typedef struct _WebKitUserContentManager WebKitUserContentManager;

namespace padloom {

// Settles the page's Promise (rejected when refused); may be called after the dispatcher has
// returned, once.
using BridgeAnswer = std::function<void(const BridgeReply&)>;
// Takes an accepted call; answers it now or later.
using BridgeDispatcher =
    std::function<void(const std::string& op, const std::vector<ScriptValue>& args, BridgeAnswer answer)>;

struct BridgeSpec {
    std::string globalName;              // "app" or "appconfig"; also the message handler's name
    std::vector<std::string> operations; // the script names the global offers
    BridgeDispatcher dispatch;
};

// The user script that defines the global.
std::string bridgeUserScript(const BridgeSpec& spec);

// Registers the message handler with reply on the manager, adds the user script at document
// start (top frame only) and routes accepted calls to spec.dispatch.
void installScriptBridge(WebKitUserContentManager* manager, BridgeSpec spec);

} // namespace padloom
