// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/presets/preset_files.h"

#include "app/presets/folders.h"
#include "preset/vantry_document.h"

#include <algorithm>
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

std::string numberedName(const std::string& name, int number) {
    const size_t dot = name.rfind('.');
    const size_t split = dot == std::string::npos || dot == 0 ? name.size() : dot;
    return name.substr(0, split) + "-" + std::to_string(number) + name.substr(split);
}

// The path with every link resolved, or the path itself when it leads nowhere.
std::string resolved(const std::string& path) {
    std::error_code error;
    const fs::path target = fs::canonical(path, error);
    return error ? path : target.string();
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

// Whether path lies in folder or below it; both are canonical.
bool isWithin(const fs::path& path, const fs::path& folder) {
    return std::mismatch(folder.begin(), folder.end(), path.begin(), path.end()).first == folder.end();
}

// What errno says, as a problem.
Problem lastSystemError() {
    return Problem{std::strerror(errno)};
}

bool hasUnsafePart(std::string_view name) {
    size_t start = 0;
    for (;;) {
        const size_t end = std::min(name.find('/', start), name.size());
        const std::string_view part = name.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") {
            return true;
        }
        if (end == name.size()) {
            return false;
        }
        start = end + 1;
    }
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

Outcome<std::string> presetFilePath(const std::string& folder, std::string_view name) {
    const std::string quoted = "\"" + std::string(name) + "\"";
    if (name.empty()) {
        return Problem{"No preset file was named."};
    }
    if (name.find('\0') != std::string_view::npos || name.front() == '/' || hasUnsafePart(name)) {
        return Problem{quoted + " is not a preset file name: it must be a path inside the preset folder, "
                                "without empty, \".\" or \"..\" parts."};
    }
    const std::string path = folder + std::string(name);
    std::error_code error;
    const fs::path base = fs::weakly_canonical(fs::path(folder).parent_path(), error);
    const fs::path parent = error ? fs::path() : fs::weakly_canonical(fs::path(path).parent_path(), error);
    if (error || !isWithin(parent, base)) {
        return Problem{quoted + " leads outside the preset folder."};
    }
    return path;
}

Outcome<std::string> presetFile(std::string_view name) {
    const Outcome<std::string> folder = presetFolder();
    return folder ? presetFilePath(*folder, name) : folder;
}

std::string generatedFileName(const std::tm& t) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d_%02d-%02d-%02d.txt", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return buffer;
}

bool nameTaken(const std::string& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

std::string unusedFileName(const std::string& folder, const std::string& name) {
    if (!nameTaken(folder + name)) {
        return name;
    }
    for (int number = 2; number <= 1000; ++number) {
        const std::string candidate = numberedName(name, number);
        if (!nameTaken(folder + candidate)) {
            return candidate;
        }
    }
    return {};
}

Outcome<> createNewFile(const std::string& path, std::string_view text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        return lastSystemError();
    }
    bool ok = writeAll(fd, text);
    Problem error = lastSystemError();
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = lastSystemError();
    }
    if (!ok) {
        ::unlink(path.c_str());
        return error;
    }
    return {};
}

Outcome<std::string> readWholeFile(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return lastSystemError();
    }
    std::string text;
    char buffer[8192];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, got);
    }
    const Problem error = lastSystemError();
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    if (!ok) {
        return error;
    }
    return text;
}

Outcome<> replaceable(const std::string& path) {
    const std::string target = resolved(path);
    struct stat status {};
    if (::stat(target.c_str(), &status) == 0 &&
        ((status.st_mode & S_IWUSR) == 0 || ::access(target.c_str(), W_OK) != 0)) {
        return Problem{"the file is read-only"};
    }
    std::string tempPath;
    const int fd = openTemporaryBeside(target, tempPath);
    if (fd < 0) {
        return Problem{"its folder can't be written (" + lastSystemError().text + ")"};
    }
    ::close(fd);
    ::unlink(tempPath.c_str());
    return {};
}

Outcome<> replaceFileContents(const std::string& path, std::string_view text) {
    const std::string target = resolved(path);
    std::string tempPath;
    const int fd = openTemporaryBeside(target, tempPath);
    if (fd < 0) {
        return lastSystemError();
    }
    struct stat old {};
    const mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    ::fchmod(fd, mode | S_IRUSR);
    bool ok = writeAll(fd, text) && ::fsync(fd) == 0;
    Problem error = lastSystemError();
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = lastSystemError();
    }
    if (ok && ::rename(tempPath.c_str(), target.c_str()) != 0) {
        ok = false;
        error = lastSystemError();
    }
    if (!ok) {
        ::unlink(tempPath.c_str());
        return error;
    }
    return {};
}

Outcome<> loadPreset(VantryDocument& document, const std::string& path) {
    return document.load(path.c_str()) ? Outcome<>() : Problem{document.lastError()};
}

Outcome<> readPresetText(VantryDocument& document, std::string_view text) {
    return document.readText(text) && document.interpret() ? Outcome<>() : Problem{document.lastError()};
}

Outcome<> savePreset(VantryDocument& document, const std::string& path) {
    return document.save(path.c_str()) ? Outcome<>() : Problem{document.lastError()};
}

Outcome<> saveAsNewPreset(VantryDocument& document, const std::string& path) {
    if (Outcome<> created = createNewFile(path, {}); !created) {
        return created;
    }
    Outcome<> saved = savePreset(document, path);
    if (!saved) {
        std::error_code ignored;
        fs::remove(path, ignored);
    }
    return saved;
}

} // namespace padloom
