#include "app/preset_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace padloom {
namespace {

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

bool exists(const std::string& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

std::string numberedName(const std::string& name, int number) {
    const size_t dot = name.rfind('.');
    const size_t split = dot == std::string::npos || dot == 0 ? name.size() : dot;
    return name.substr(0, split) + "-" + std::to_string(number) + name.substr(split);
}

// Opens a new temporary file beside path; returns its descriptor and sets tempPath.
int openTemporaryBeside(const std::string& path, std::string& tempPath) {
    std::string pattern = path + ".saving-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd >= 0) {
        tempPath = pattern;
    }
    return fd;
}

bool writeAll(int fd, std::string_view text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        done += static_cast<size_t>(written);
    }
    return true;
}

} // namespace

std::vector<std::string> findFiles(const std::string& folder,
                                   std::initializer_list<std::string_view> suffixes) {
    std::vector<std::string> found;
    std::error_code error;
    fs::recursive_directory_iterator walk(folder, fs::directory_options::skip_permission_denied, error);
    for (; !error && walk != fs::recursive_directory_iterator(); walk.increment(error)) {
        if (!walk->is_regular_file(error)) {
            continue;
        }
        const std::string relative = fs::relative(walk->path(), folder, error).generic_string();
        for (std::string_view suffix : suffixes) {
            if (endsWith(relative, suffix)) {
                found.push_back(relative);
                break;
            }
        }
    }
    return found;
}

std::string generatedFileName(const std::tm& t) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d_%02d-%02d-%02d.txt", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return buffer;
}

std::string unusedFileName(const std::string& folder, const std::string& name) {
    if (!exists(folder + name)) {
        return name;
    }
    for (int number = 2; number <= 1000; ++number) {
        const std::string candidate = numberedName(name, number);
        if (!exists(folder + candidate)) {
            return candidate;
        }
    }
    return {};
}

bool canWriteBeside(const std::string& path) {
    std::string tempPath;
    const int fd = openTemporaryBeside(path, tempPath);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    ::unlink(tempPath.c_str());
    return true;
}

bool replaceFileContents(const std::string& path, std::string_view text, std::string& error) {
    std::string tempPath;
    const int fd = openTemporaryBeside(path, tempPath);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    struct stat old {};
    ::fchmod(fd, ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    bool ok = writeAll(fd, text) && ::fsync(fd) == 0;
    if (!ok) {
        error = std::strerror(errno);
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = std::strerror(errno);
    }
    if (ok && ::rename(tempPath.c_str(), path.c_str()) != 0) {
        ok = false;
        error = std::strerror(errno);
    }
    if (!ok) {
        ::unlink(tempPath.c_str());
    }
    return ok;
}

} // namespace padloom
