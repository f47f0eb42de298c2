// SPDX-License-Identifier: GPL-3.0-or-later
// The per-user option store: one boolean per key, kept across runs.
#pragma once

#include <string>

namespace padloom {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual bool has(const std::string& key) const = 0;
    // False when nothing is stored under key.
    virtual bool getBool(const std::string& key) const = 0;
    // Stores and makes the value durable before returning.
    virtual void setBool(const std::string& key, bool value) = 0;
};

} // namespace padloom
