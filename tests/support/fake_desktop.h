// SPDX-License-Identifier: GPL-3.0-or-later
// Stand-ins for the desktop around the controller: the modal panels, answered at once, and the
// desktop's handlers for addresses and folders, both recording what they were given.
#pragma once

#include "app/ui/desktop_services.h"
#include "app/ui/dialogs.h"

#include <string>
#include <vector>

namespace padloom::test {

// Every question is answered with answer, yes unless a test says otherwise; open stands for a
// panel that waits for the user.
class FakeDialogs : public Dialogs {
public:
    void showAlert(const std::string& message) override { alerts.push_back(message); }
    bool confirm(const std::string& message) override { return confirms.push_back(message), answer; }
    bool panelOpen() const override { return open; }
    std::vector<std::string> alerts, confirms;
    bool answer = true;
    bool open = false;
};

class FakeDesktop : public DesktopServices {
public:
    void openUri(const std::string& uri, NothingOpened none) override { open("uri " + uri, none); }
    void revealFolder(const std::string& path, NothingOpened none) override { open("folder " + path, none); }
    std::vector<std::string> opened; // "uri ..." or "folder ..."
    bool nothingOpens = false;       // as on a system without a browser or file manager

private:
    void open(const std::string& place, const NothingOpened& nothingOpened) {
        opened.push_back(place);
        if (nothingOpens && nothingOpened) {
            nothingOpened();
        }
    }
};

} // namespace padloom::test
