#include "mbhost/storage/commit_point.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <stdexcept>

#include "mbhost/storage/file_system_calls.h"
#include "mbhost/storage/table_file_format.h"

namespace mbhost::gdal {
namespace fs = std::filesystem;
namespace {

constexpr const char* kManifest = "commit-manifest";
constexpr const char* kHeader = "mbhost commit 1";
constexpr const char* kEnd = "end";
constexpr std::size_t kLongestManifest = 64 * 1024;

std::runtime_error recordError(const std::string& reason) {
    return std::runtime_error("cannot record the commit: " + reason);
}

void writeAll(int descriptor, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t wrote =
            fileSystem().write(descriptor, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) throw recordError(std::strerror(wrote < 0 ? errno : ENOSPC));
        done += static_cast<std::size_t>(wrote);
    }
}

// Why a file or folder of this status may have been made or changed by someone else.
std::string distrustOf(const struct stat& status, const std::string& what) {
    if (status.st_uid != ::geteuid()) {
        return what + " belongs to user " + std::to_string(status.st_uid);
    }
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0) return what + " is writable by others";
    return {};
}

// The manifest's text, read through no link, when this user alone could have written it.
std::optional<std::string> trustedManifestText(const fs::path& folder) {
    const fs::path path = folder / kManifest;
    const int descriptor = fileSystem().open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    if (descriptor < 0 && errno == ENOENT) return std::nullopt;
    if (descriptor < 0)
        throw std::runtime_error("its manifest: " + std::string(std::strerror(errno)));
    struct stat status {};
    std::string text, doubt;
    if (fileSystem().fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        doubt = "its manifest is not a plain file";
    } else {
        doubt = distrustOf(status, "its manifest");
    }
    char buffer[4096];
    for (ssize_t got;
         doubt.empty() && (got = fileSystem().read(descriptor, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(got));
        if (text.size() > kLongestManifest) doubt = "its manifest is too long";
    }
    fileSystem().close(descriptor);
    if (!doubt.empty()) throw std::runtime_error(doubt);
    return text;
}

// Raises unless name is a piece of target, in the folder itself: no path, no link followed.
void checkName(const std::string& name, const fs::path& target) {
    const bool plain = !name.empty() && name != "." && name != ".." &&
                       name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
    if (!plain || !isTablePiece(name, target)) {
        throw std::runtime_error("its manifest names \"" + name + "\", not a file of " +
                                 target.filename().string());
    }
}

// The pieces may carry the old files' owner: the folder, this user's alone, vouches for them.
void checkPieceToMove(const fs::path& folder, const std::string& name) {
    struct stat status {};
    if (fileSystem().lstat((folder / name).c_str(), &status) != 0) return;  // moved before a crash
    if (!S_ISREG(status.st_mode)) throw std::runtime_error("its " + name + " is not a plain file");
}

}  // namespace

void syncPath(const fs::path& path) {
    const int descriptor = fileSystem().open(path.c_str(), O_RDONLY);
    const bool synced = descriptor >= 0 && fileSystem().fsync(descriptor) == 0;
    const int error = errno;
    if (descriptor >= 0) fileSystem().close(descriptor);
    if (!synced) {
        throw std::runtime_error("cannot flush " + path.filename().string() +
                                 " to the disk: " + std::strerror(error));
    }
}

void writeManifest(const fs::path& folder, const CommitManifest& manifest) {
    const fs::path partial = folder / (std::string(kManifest) + ".partial");
    std::ostringstream text;
    text << kHeader << "\n";
    for (const auto& name : manifest.moves) text << "move " << name << "\n";
    for (const auto& name : manifest.removes) text << "remove " << name << "\n";
    text << kEnd << "\n";
    const int descriptor =
        fileSystem().open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
    if (descriptor < 0) throw recordError(std::strerror(errno));
    try {
        writeAll(descriptor, text.str());
    } catch (...) {
        fileSystem().close(descriptor);
        throw;
    }
    fileSystem().close(descriptor);
    syncPath(partial);
    if (fileSystem().rename(partial.c_str(), (folder / kManifest).c_str()) != 0) {
        throw recordError(std::strerror(errno));
    }
    syncPath(folder);
}

void withdrawManifest(const fs::path& folder) {
    fileSystem().unlink((folder / kManifest).c_str());
    syncPath(folder);
}

std::optional<CommitManifest> readManifest(const fs::path& folder, const fs::path& target) {
    const std::optional<std::string> text = trustedManifestText(folder);
    if (!text) return std::nullopt;
    std::istringstream in(*text);
    std::string line;
    CommitManifest manifest;
    bool whole = std::getline(in, line) && line == kHeader;
    while (whole && std::getline(in, line) && line != kEnd) {
        if (line.rfind("move ", 0) == 0) {
            manifest.moves.push_back(line.substr(5));
        } else if (line.rfind("remove ", 0) == 0) {
            manifest.removes.push_back(line.substr(7));
        } else {
            whole = false;
        }
    }
    if (!whole || line != kEnd) throw std::runtime_error("its manifest is not whole");
    for (const auto& name : manifest.moves) {
        checkName(name, target);
        checkPieceToMove(folder, name);
    }
    for (const auto& name : manifest.removes) checkName(name, target);
    return manifest;
}

std::string distrustOfFolder(const fs::path& folder) {
    struct stat status {};
    if (fileSystem().lstat(folder.c_str(), &status) != 0) return std::strerror(errno);
    if (!S_ISDIR(status.st_mode)) return "it is not a folder";
    return distrustOf(status, "it");
}

void finishCommit(const fs::path& folder, const fs::path& directory,
                  const CommitManifest& manifest) {
    for (const auto& name : manifest.moves) {
        struct stat status {};
        const std::string from = folder / name;
        if (fileSystem().lstat(from.c_str(), &status) != 0) continue;  // moved already
        if (fileSystem().rename(from.c_str(), (directory / name).c_str()) != 0) {
            throw std::runtime_error("cannot move " + name +
                                     " into place: " + std::strerror(errno));
        }
    }
    for (const auto& name : manifest.removes) fileSystem().unlink((directory / name).c_str());
    syncPath(directory);
    std::error_code error;
    fs::remove_all(folder, error);
}

}  // namespace mbhost::gdal
