// What the desktop does for the application outside its own windows.
#pragma once

#include <string>

namespace padloom {

class DesktopServices {
public:
    virtual ~DesktopServices() = default;
    // Opens a web address or file URI in the user's default handler; failures are not reported.
    virtual void openUri(const std::string& uri) = 0;
    // Shows the folder selected in the file manager; failures are not reported.
    virtual void revealFolder(const std::string& path) = 0;
};

} // namespace padloom
