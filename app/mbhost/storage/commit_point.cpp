#include "commit_point.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace mbhost::gdal {
namespace fs = std::filesystem;
namespace {

constexpr const char* kManifest = "commit-manifest";
constexpr const char* kHeader = "mbhost commit 1";
constexpr const char* kEnd = "end";

}  // namespace

void syncPath(const fs::path& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool synced = descriptor >= 0 && ::fsync(descriptor) == 0;
    const int error = errno;
    if (descriptor >= 0) ::close(descriptor);
    if (!synced) {
        throw std::runtime_error("cannot flush " + path.filename().string() +
                                 " to the disk: " + std::strerror(error));
    }
}

void writeManifest(const fs::path& folder, const CommitManifest& manifest) {
    const fs::path partial = folder / (std::string(kManifest) + ".partial");
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << kHeader << "\n";
        for (const auto& name : manifest.moves) out << "move " << name << "\n";
        for (const auto& name : manifest.removes) out << "remove " << name << "\n";
        out << kEnd << "\n";
        out.flush();
        // A stream keeps no errno of its own: one read now may be stale.
        if (!out) throw std::runtime_error("cannot record the commit: the disk took no more");
    }
    syncPath(partial);
    std::error_code error;
    fs::rename(partial, folder / kManifest, error);
    if (error) throw std::runtime_error("cannot record the commit: " + error.message());
    syncPath(folder);
}

std::optional<CommitManifest> readManifest(const fs::path& folder) {
    std::ifstream in(folder / kManifest, std::ios::binary);
    std::string line;
    if (!std::getline(in, line) || line != kHeader) return std::nullopt;
    CommitManifest manifest;
    while (std::getline(in, line)) {
        if (line == kEnd) return manifest;
        if (line.rfind("move ", 0) == 0) {
            manifest.moves.push_back(line.substr(5));
        } else if (line.rfind("remove ", 0) == 0) {
            manifest.removes.push_back(line.substr(7));
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

void finishCommit(const fs::path& folder, const fs::path& directory,
                  const CommitManifest& manifest) {
    std::error_code error;
    int step = 4;
    for (const auto& name : manifest.moves) {
        if (!fs::exists(folder / name, error)) continue;  // moved before an interruption
        fs::rename(folder / name, directory / name, error);
        if (error) {
            throw std::runtime_error("cannot move " + name + " into place: " + error.message());
        }
        commitStep(step++);
    }
    for (const auto& name : manifest.removes) fs::remove(directory / name, error);
    syncPath(directory);
    fs::remove_all(folder, error);
}

void commitStep(int step) {
    const char* exitAt = std::getenv("MBHOST_COMMIT_EXIT_AT");
    if (exitAt && std::atoi(exitAt) == step) ::_exit(86);
}

}  // namespace mbhost::gdal
