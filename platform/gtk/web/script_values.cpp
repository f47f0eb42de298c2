// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/web/script_values.h"

#include <jsc/jsc.h>

namespace padloom {

namespace {

std::string takeString(char* text) {
    std::string result = text ? text : "";
    g_free(text);
    return result;
}

JSCValue* property(JSCValue* object, const char* name) {
    return jsc_value_object_get_property(object, name);
}

} // namespace

ScriptValue scriptValueFromScript(JSCValue* value) {
    if (!value || jsc_value_is_undefined(value) || jsc_value_is_null(value)) {
        return {};
    }
    if (jsc_value_is_boolean(value)) {
        return ScriptValue(static_cast<bool>(jsc_value_to_boolean(value)));
    }
    if (jsc_value_is_number(value)) {
        return ScriptValue(jsc_value_to_double(value));
    }
    return ScriptValue(takeString(jsc_value_to_string(value)));
}

JSCValue* scriptValueToScript(JSCContext* context, const ScriptValue& value) {
    if (value.isBool()) {
        return jsc_value_new_boolean(context, value.flag());
    }
    if (value.isNumber()) {
        return jsc_value_new_number(context, value.number());
    }
    if (value.isString()) {
        return jsc_value_new_string(context, value.string().c_str());
    }
    return jsc_value_new_undefined(context);
}

static std::vector<ScriptValue> argumentsFromScript(JSCValue* args) {
    std::vector<ScriptValue> values;
    JSCValue* length = property(args, "length");
    int count = jsc_value_to_int32(length);
    g_object_unref(length);
    for (int i = 0; i < count; ++i) {
        JSCValue* arg = jsc_value_object_get_property_at_index(args, static_cast<guint>(i));
        values.push_back(scriptValueFromScript(arg));
        g_object_unref(arg);
    }
    return values;
}

Outcome<BridgeCall> bridgeCallFromScript(JSCValue* message) {
    if (!message || !jsc_value_is_object(message) || jsc_value_is_array(message)) {
        return Problem{"padloom: a call must be an object {op, args}"};
    }
    JSCValue* op = property(message, "op");
    JSCValue* args = property(message, "args");
    Outcome<BridgeCall> call = BridgeCall{};
    if (!jsc_value_is_string(op)) {
        call = Problem{"padloom: a call needs the name of its operation"};
    } else if (!jsc_value_is_undefined(args) && !jsc_value_is_array(args)) {
        call = Problem{"padloom: the arguments of a call must be an array"};
    } else {
        call->op = takeString(jsc_value_to_string(op));
        if (jsc_value_is_array(args)) {
            call->args = argumentsFromScript(args);
        }
    }
    g_object_unref(op);
    g_object_unref(args);
    return call;
}

} // namespace padloom
