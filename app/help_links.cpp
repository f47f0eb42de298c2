#include "app/help_links.h"

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

} // namespace

std::string localHelpUri(const std::string& resourceFolder, const std::string& anchor) {
    return "file://" + withoutTrailingSlash(resourceFolder) + "/help/index.html#" + anchor;
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
