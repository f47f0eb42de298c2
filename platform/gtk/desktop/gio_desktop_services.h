// SPDX-License-Identifier: GPL-3.0-or-later
// Opening addresses and revealing folders through the desktop's handlers.
#pragma once

#include "app/ui/desktop_services.h"

namespace padloom {

class GioDesktopServices : public DesktopServices {
public:
    // The default handler of the URI's scheme (a browser for http, the file manager for a folder).
    void openUri(const std::string& uri, NothingOpened nothingOpened) override;
    // The file manager's ShowItems over the session bus, which opens the parent folder with this
    // item selected; where no file manager answers it, the folder itself (or a file's folder) is
    // opened.
    void revealFolder(const std::string& path, NothingOpened nothingOpened) override;
};

} // namespace padloom
