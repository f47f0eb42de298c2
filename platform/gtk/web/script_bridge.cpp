// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/web/script_bridge.h"

#include "platform/gtk/web/script_values.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <webkit2/webkit2.h>

namespace padloom {

namespace {

// %GLOBAL% and %OPS% are filled in by bridgeUserScript. The channel is taken once, before the
// page's own scripts run, so a page that later replaces window.webkit cannot redirect the calls.
constexpr std::string_view kUserScript = R"JS((() => {
  'use strict';
  const channel = window.webkit.messageHandlers['%GLOBAL%'];
  const post = channel.postMessage.bind(channel);
  const operation = (op) => function (...args) {
    try {
      return post({ op, args });
    } catch (error) {
      return Promise.reject(error);
    }
  };
  const api = Object.create(null);
  for (const op of [%OPS%]) {
    api[op] = operation(op);
  }
  Object.defineProperty(window, '%GLOBAL%', { value: Object.freeze(api), enumerable: true });
})();
)JS";

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

bool offers(const BridgeSpec& spec, const std::string& op) {
    return std::find(spec.operations.begin(), spec.operations.end(), op) != spec.operations.end();
}

// A call the page waits for. Its Promise is settled once: fulfilled with the result, rejected
// with why the call was refused, or rejected when the call is dropped unanswered (the
// application is closing).
class PendingReply {
public:
    PendingReply(WebKitScriptMessageReply* reply, JSCContext* context)
        : reply_(webkit_script_message_reply_ref(reply)), context_(JSC_CONTEXT(g_object_ref(context))) {}
    ~PendingReply() {
        if (reply_) {
            answer(Problem{"padloom: the call was dropped"});
        }
        g_object_unref(context_);
    }
    PendingReply(const PendingReply&) = delete;
    PendingReply& operator=(const PendingReply&) = delete;

    void answer(const BridgeReply& answer) {
        if (!reply_) {
            return;
        }
        if (!answer) {
            webkit_script_message_reply_return_error_message(reply_, answer.problem().c_str());
        } else {
            JSCValue* value = scriptValueToScript(context_, *answer);
            webkit_script_message_reply_return_value(reply_, value);
            g_object_unref(value);
        }
        webkit_script_message_reply_unref(std::exchange(reply_, nullptr));
    }

private:
    WebKitScriptMessageReply* reply_;
    JSCContext* context_;
};

gboolean onMessage(WebKitUserContentManager*, JSCValue* message, WebKitScriptMessageReply* reply,
                   gpointer userData) {
    auto* spec = static_cast<BridgeSpec*>(userData);
    Outcome<BridgeCall> call = bridgeCallFromScript(message);
    if (call && !offers(*spec, call->op)) {
        call = Problem{"padloom: '" + call->op + "' is not an operation of this page"};
    }
    if (!call) {
        webkit_script_message_reply_return_error_message(reply, call.problem().c_str());
        return TRUE;
    }
    auto pending = std::make_shared<PendingReply>(reply, jsc_value_get_context(message));
    spec->dispatch(call->op, call->args, [pending](const BridgeReply& answer) { pending->answer(answer); });
    return TRUE;
}

} // namespace

std::string bridgeUserScript(const BridgeSpec& spec) {
    std::string ops;
    for (const std::string& op : spec.operations) {
        if (!ops.empty()) {
            ops += ", ";
        }
        ops += "'" + op + "'";
    }
    std::string script(kUserScript);
    replaceAll(script, "%OPS%", ops);
    replaceAll(script, "%GLOBAL%", spec.globalName);
    return script;
}

void installScriptBridge(WebKitUserContentManager* manager, BridgeSpec spec) {
    std::string signal = "script-message-with-reply-received::" + spec.globalName;
    std::string source = bridgeUserScript(spec);
    std::string name = spec.globalName;
    g_signal_connect_data(
        manager, signal.c_str(), G_CALLBACK(onMessage), new BridgeSpec(std::move(spec)),
        [](gpointer data, GClosure*) { delete static_cast<BridgeSpec*>(data); }, GConnectFlags(0));
    webkit_user_content_manager_register_script_message_handler_with_reply(manager, name.c_str(), nullptr);

    WebKitUserScript* script =
        webkit_user_script_new(source.c_str(), WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                               WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
    webkit_user_content_manager_add_script(manager, script);
    webkit_user_script_unref(script);
}

} // namespace padloom
