// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/web/library_pageout.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <sys/mman.h>

namespace padloom {

namespace {

bool startsWithAny(std::string_view name, std::initializer_list<std::string_view> prefixes) {
    for (std::string_view prefix : prefixes) {
        if (name.starts_with(prefix)) {
            return true;
        }
    }
    return false;
}

} // namespace

size_t pageOutLibraries(std::initializer_list<std::string_view> fileNamePrefixes) {
    std::ifstream maps("/proc/self/maps");
    size_t handedOver = 0;
    for (std::string line; std::getline(maps, line);) {
        unsigned long start = 0;
        unsigned long end = 0;
        char permissions[5] = {};
        int pathStart = 0;
        // start-end perms offset dev inode path
        if (std::sscanf(line.c_str(), "%lx-%lx %4s %*s %*s %*s %n", &start, &end, permissions, &pathStart) <
                3 ||
            pathStart == 0 || permissions[1] == 'w') {
            continue;
        }
        const std::string_view path = std::string_view(line).substr(static_cast<size_t>(pathStart));
        const std::string_view fileName = path.substr(path.rfind('/') + 1);
        if (path.empty() || path[0] != '/' || !startsWithAny(fileName, fileNamePrefixes)) {
            continue;
        }
        if (madvise(reinterpret_cast<void*>(start), end - start, MADV_PAGEOUT) == 0) {
            handedOver += end - start;
        }
    }
    return handedOver;
}

} // namespace padloom
