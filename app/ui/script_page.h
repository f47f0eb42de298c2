// SPDX-License-Identifier: GPL-3.0-or-later
// A page shown in a web view, seen from the controller: it evaluates a script text and answers
// with the value of the last expression.
#pragma once

#include "app/outcome.h"

#include <iosfwd>
#include <string>
#include <variant>

namespace padloom {

// The value a script evaluation yields. Undefined covers a missing function, an exception, a
// page that is not ready and a time-out; objects and arrays come back as their string form.
class ScriptValue {
public:
    ScriptValue() = default; // undefined
    ScriptValue(std::string text) : value_(std::move(text)) {}
    ScriptValue(const char* text) : value_(std::string(text)) {}
    ScriptValue(double number) : value_(number) {}
    ScriptValue(bool flag) : value_(flag) {}

    bool isUndefined() const { return std::holds_alternative<std::monostate>(value_); }
    bool isString() const { return std::holds_alternative<std::string>(value_); }
    bool isNumber() const { return std::holds_alternative<double>(value_); }
    bool isBool() const { return std::holds_alternative<bool>(value_); }

    const std::string& string() const { return std::get<std::string>(value_); }
    double number() const { return std::get<double>(value_); }
    bool flag() const { return std::get<bool>(value_); }
    // The string form: a string as it is, a number as the script would print it, a bool as
    // "true"/"false", undefined as the empty text.
    std::string text() const;

    bool operator==(const ScriptValue&) const = default;

private:
    std::variant<std::monostate, std::string, double, bool> value_;
};

// As a script would write it: undefined, "a string" (quoted), 1.5, true; for test messages and logs.
std::ostream& operator<<(std::ostream& out, const ScriptValue& value);

// The answer to a page's call of an operation: its value (undefined for the operations without
// result), or why the call was refused (no such operation, or arguments that do not fit).
using BridgeReply = Outcome<ScriptValue>;

class ScriptPage {
public:
    virtual ~ScriptPage() = default;
    // Runs the text in the page's window scope on the main thread and returns its value; waits
    // for the value (with a time limit after which the result is undefined).
    virtual ScriptValue evaluate(const std::string& script) = 0;
};

} // namespace padloom
