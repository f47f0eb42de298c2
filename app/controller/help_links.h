// SPDX-License-Identifier: GPL-3.0-or-later
// The help menu's addresses: a path on the product's or the maker's web site, or, when the
// build names no site, the matching section of the help page shipped in the resources.
#pragma once

#include <string>

namespace padloom {

enum class HelpTopic {
    help,
    website,
    gettingStarted,
    getNewPresets,
    faq,
    xboxController,
    ps3Controller,
    logitechController,
    gaugeview,
    tempFixes,
    keyCombination,
    makerWebsite,
};

struct HelpSites {
    std::string product;        // e.g. "padloom.example.org" or "https://padloom.example.org"; may be empty
    std::string maker;          // likewise for the maker's site
    std::string resourceFolder; // the application's resources, holding help/index.html
};

// "http://" + site + path, or "file://<resources>/help/index.html#<anchor>" when the site is empty.
std::string helpUri(HelpTopic topic, const HelpSites& sites);
// The local help page at an anchor (also used for "uinput", the output-permission section).
std::string localHelpUri(const std::string& resourceFolder, const std::string& anchor);

} // namespace padloom
