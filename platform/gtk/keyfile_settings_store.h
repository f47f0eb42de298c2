// The per-user option store on Linux: a GLib key file, $XDG_CONFIG_HOME/padloom/settings.ini
// (default ~/.config/padloom/settings.ini), group "Options", saved after every write.
#pragma once

#include "app/ui/settings_store.h"

#include <string>

typedef struct _GKeyFile GKeyFile;

namespace padloom {

class KeyfileSettingsStore : public SettingsStore {
public:
    // Reads the file at path; a missing or unreadable file starts empty.
    explicit KeyfileSettingsStore(std::string path = defaultPath());
    ~KeyfileSettingsStore() override;
    KeyfileSettingsStore(const KeyfileSettingsStore&) = delete;
    KeyfileSettingsStore& operator=(const KeyfileSettingsStore&) = delete;

    bool has(const std::string& key) const override;
    bool getBool(const std::string& key) const override;
    // Writes the whole file anew (atomically); a failure is reported on standard error.
    void setBool(const std::string& key, bool value) override;

    const std::string& path() const { return path_; }
    static std::string defaultPath();

private:
    std::string path_;
    GKeyFile* file_;
};

} // namespace padloom
