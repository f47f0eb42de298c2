// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/script_page.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>

namespace padloom {

std::string ScriptValue::text() const {
    if (isString()) {
        return string();
    }
    if (isBool()) {
        return flag() ? "true" : "false";
    }
    if (isNumber()) {
        const double n = number();
        if (std::isnan(n)) {
            return "NaN";
        }
        if (std::isinf(n)) {
            return n > 0 ? "Infinity" : "-Infinity";
        }
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.17g", n);
        // Shortest text that reads back as the same number, as the page would print it.
        for (int precision = 1; precision <= 17; ++precision) {
            std::snprintf(buffer, sizeof buffer, "%.*g", precision, n);
            if (std::strtod(buffer, nullptr) == n) {
                break;
            }
        }
        return buffer;
    }
    return {};
}

std::ostream& operator<<(std::ostream& out, const ScriptValue& value) {
    if (value.isUndefined()) {
        return out << "undefined";
    }
    if (value.isString()) {
        out << '"';
        for (const char c : value.string()) {
            if (c == '"' || c == '\\') {
                out << '\\' << c;
            } else if (c == '\n') {
                out << "\\n";
            } else {
                out << c;
            }
        }
        return out << '"';
    }
    return out << value.text();
}

} // namespace padloom
