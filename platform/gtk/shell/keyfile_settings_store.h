// SPDX-License-Identifier: GPL-3.0-or-later
// The per-user option store on Linux: a GLib key file, $XDG_CONFIG_HOME/padloom/settings.ini
// (default ~/.config/padloom/settings.ini), group "Options", saved after every write.
#pragma once

#include "app/ui/settings_store.h"

#include <optional>
#include <string>

typedef struct _GKeyFile GKeyFile;

namespace padloom {

class KeyfileSettingsStore : public SettingsStore {
public:
    // Reads the file at path; a missing file starts empty. A file that exists but does not read
    // also starts empty, and is never written over: see loadProblem and setAside.
    explicit KeyfileSettingsStore(std::string path = defaultPath());
    ~KeyfileSettingsStore() override;
    KeyfileSettingsStore(const KeyfileSettingsStore&) = delete;
    KeyfileSettingsStore& operator=(const KeyfileSettingsStore&) = delete;

    bool has(const std::string& key) const override;
    bool getBool(const std::string& key) const override;
    // Writes the whole file anew (atomically); a failure is reported on standard error. While
    // an unreadable file is still in place, the value is kept for this run only.
    void setBool(const std::string& key, bool value) override;

    // Why the file that exists could not be read; empty when it was read (or did not exist).
    const std::string& loadProblem() const { return loadProblem_; }
    // Renames an unreadable file to settings.ini.bad (.bad.1, .bad.2, ... when taken), so that
    // the next write starts a new file; returns the new path, or none when it could not be moved.
    std::optional<std::string> setAside();

    const std::string& path() const { return path_; }
    static std::string defaultPath();

private:
    std::string path_;
    GKeyFile* file_;
    std::string loadProblem_;
    bool keepFile_ = false; // an unreadable file is still at path_
};

// The alert that tells the user their settings file was unreadable and where it went, after
// moving it aside; empty when the file was read.
std::string setAsideUnreadableSettings(KeyfileSettingsStore& store);

} // namespace padloom
