// Switches the process to a locale that writes and reads numbers with a decimal comma (German),
// built into a temporary folder with localedef, as the desktop toolkit's start-up would set it.
#pragma once

#include "tests/support/temp_folder.h"

#include <clocale>
#include <cstdlib>
#include <string>

namespace padloom::test {

class CommaLocale {
public:
    CommaLocale() {
        static TempFolder folder;
        static const bool built =
            std::system(("localedef -i de_DE -f UTF-8 '" + folder.file("de_DE.UTF-8") + "' >/dev/null 2>&1")
                            .c_str()) == 0;
        if (!built) {
            return;
        }
        setenv("LOCPATH", folder.path().c_str(), 1);
        active_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    }
    ~CommaLocale() { std::setlocale(LC_ALL, "C"); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    bool active() const { return active_; }

private:
    bool active_ = false;
};

} // namespace padloom::test
