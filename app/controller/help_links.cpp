// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/controller/help_links.h"

namespace padloom {
namespace {

struct HelpLink {
    HelpTopic topic;
    bool onMakerSite;
    const char* path;
    const char* anchor;
};

constexpr HelpLink helpLinks[] = {
    {HelpTopic::help, false, "/help/", "help"},
    {HelpTopic::website, false, "/", "website"},
    {HelpTopic::gettingStarted, false, "/getting-started/", "getting-started"},
    {HelpTopic::getNewPresets, false, "/get-new-presets/", "get-new-presets"},
    {HelpTopic::faq, false, "/faq/", "faq"},
    {HelpTopic::xboxController, false, "/faq/#xbox360controller", "xbox360controller"},
    {HelpTopic::ps3Controller, false, "/faq/#PS3controller", "PS3controller"},
    {HelpTopic::logitechController, false, "/faq/#LogitechController", "LogitechController"},
    {HelpTopic::gaugeview, true, "/app/gaugeview/", "gaugeview"},
    {HelpTopic::tempFixes, false, "/faq/#tempfixes", "tempfixes"},
    {HelpTopic::keyCombination, false, "/faq/#keycombination", "keycombination"},
    {HelpTopic::makerWebsite, true, "/", "maker"},
};

std::string withoutTrailingSlash(std::string site) {
    while (!site.empty() && site.back() == '/') {
        site.pop_back();
    }
    return site;
}

// A file path as the path of a file URI: every byte but the unreserved ones and "/" is
// percent-encoded, so spaces, "#" and "%" in the install folder keep the link whole.
std::string percentEncodedPath(const std::string& path) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : path) {
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                                c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
        if (unreserved) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0xF];
        }
    }
    return out;
}

} // namespace

std::string localHelpUri(const std::string& resourceFolder, const std::string& anchor) {
    return "file://" + percentEncodedPath(withoutTrailingSlash(resourceFolder)) + "/help/index.html#" +
           anchor;
}

std::string helpUri(HelpTopic topic, const HelpSites& sites) {
    for (const HelpLink& link : helpLinks) {
        if (link.topic != topic) {
            continue;
        }
        const std::string site = withoutTrailingSlash(link.onMakerSite ? sites.maker : sites.product);
        if (site.empty()) {
            return localHelpUri(sites.resourceFolder, link.anchor);
        }
        const bool hasScheme = site.find("://") != std::string::npos;
        return (hasScheme ? "" : "http://") + site + link.path;
    }
    return localHelpUri(sites.resourceFolder, "help");
}

} // namespace padloom
