// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between script values of a page and the controller's ScriptValue.
#pragma once

#include "app/ui/script_page.h"

#include <optional>
#include <string>
#include <vector>

typedef struct _JSCValue JSCValue;
typedef struct _JSCContext JSCContext;

namespace padloom {

// Strings, numbers and booleans keep their type; undefined and null are undefined; objects and
// arrays become their string form.
ScriptValue scriptValueFromScript(JSCValue* value);
// A new reference in context.
JSCValue* scriptValueToScript(JSCContext* context, const ScriptValue& value);

// One call from a page, as it arrived.
struct BridgeCall {
    std::string op;
    std::vector<ScriptValue> args;
};

// A message {op: string, args: array}; the problem says what else it is.
Outcome<BridgeCall> bridgeCallFromScript(JSCValue* message);

} // namespace padloom
