#include "staged_write.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <map>
#include <set>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "commit_point.h"
#include "read_only.h"
#include "unfinished_commits.h"

namespace mbhost::gdal {
namespace fs = std::filesystem;

namespace {

std::runtime_error writeError(const fs::path& target, const std::string& reason) {
    return std::runtime_error("cannot write " + target.string() + ": " + reason);
}

std::string lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Whether name is a piece of the table file target: roads.dat beside roads.tab, roads.dbf
// beside roads.shp. A file of the same stem in another format (roads.geojson) is not.
bool isCompanion(const fs::path& name, const fs::path& target) {
    static const std::map<std::string, std::set<std::string>> kPieces = {
        {".tab", {".dat", ".map", ".id", ".ind"}},
        {".mif", {".mid"}},
        {".shp", {".shx", ".dbf", ".prj", ".cpg", ".qix", ".sbn", ".sbx"}},
    };
    if (name.stem() != target.stem()) return false;
    const auto pieces = kPieces.find(lowered(target.extension().string()));
    return pieces != kPieces.end() && pieces->second.count(lowered(name.extension().string()));
}

// The target and its pieces now in its folder.
std::vector<fs::path> existingPieces(const fs::path& target) {
    std::vector<fs::path> pieces;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(target.parent_path(), error)) {
        const fs::path name = entry.path().filename();
        if (entry.is_regular_file(error) &&
            (name == target.filename() || isCompanion(name, target.filename()))) {
            pieces.push_back(entry.path());
        }
    }
    return pieces;
}

// Gives the new file at staged the mode and owner of like, when like exists.
void keepModeAndOwner(const fs::path& staged, const fs::path& like) {
    struct stat old {};
    if (::stat(like.c_str(), &old) != 0) return;
    ::chmod(staged.c_str(), old.st_mode & 07777);
    // Only root may give a file away; anyone else keeps the new files as their own.
    if (::chown(staged.c_str(), old.st_uid, old.st_gid) != 0) return;
}

}  // namespace

StagedWrite::StagedWrite(const std::string& target) : target_(fs::absolute(target)) {
    if (target_.filename().string().find('\n') != std::string::npos) {
        throw writeError(target_, "a file name cannot hold a line break");
    }
    refuseReadOnly(target_, existingPieces(target_));
    lock_ = TableLock::take(target_.string(), "write");
    if (!lock_) throw writeError(target_, "cannot make its lock file beside it");
    try {
        settleUnfinishedCommits(target_);
    } catch (const std::runtime_error& e) {
        throw writeError(target_, e.what());
    }
    std::error_code error;
    for (int attempt = 0;; ++attempt) {
        folder_ = workingFolderFor(target_, attempt);
        if (fs::create_directory(folder_, error)) return;
        if (error || attempt > 100) {
            folder_.clear();
            throw writeError(target_, "cannot make a working folder beside it: " +
                                          (error ? error.message() : "too many left behind"));
        }
    }
}

StagedWrite::~StagedWrite() {
    std::error_code ignored;
    if (!folder_.empty() && !decided_) fs::remove_all(folder_, ignored);
}

std::string StagedWrite::stagedPath() const {
    return (folder_ / target_.filename()).string();
}

std::string StagedWrite::spaceShortage() const {
    rlimit limit{};
    std::error_code ignored;
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        for (const auto& entry : fs::directory_iterator(folder_, ignored)) {
            if (entry.file_size(ignored) >= limit.rlim_cur) return std::strerror(EFBIG);
        }
    }
    const fs::path probe = folder_ / "space-probe";
    const int descriptor = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (descriptor < 0) return std::strerror(errno);
    const std::vector<char> block(64 * 1024, 0);
    const ssize_t wrote = ::write(descriptor, block.data(), block.size());
    const int error = errno;
    ::close(descriptor);
    ::unlink(probe.c_str());
    if (wrote == static_cast<ssize_t>(block.size())) return {};
    return std::strerror(wrote < 0 ? error : ENOSPC);
}

void StagedWrite::commit() {
    commitStep(1);
    const fs::path directory = target_.parent_path();
    CommitManifest manifest;
    std::set<std::string> written;
    for (const auto& entry : fs::directory_iterator(folder_)) {
        written.insert(entry.path().filename().string());
    }
    for (const fs::path& piece : existingPieces(target_)) {
        if (!written.count(piece.filename().string())) {
            manifest.removes.push_back(piece.filename().string());
        }
    }
    try {
        for (const std::string& name : written) {
            const fs::path old = directory / name;
            keepModeAndOwner(folder_ / name, fs::exists(old) ? old : target_);
            syncPath(folder_ / name);
            manifest.moves.push_back(name);
        }
        commitStep(2);
        writeManifest(folder_, manifest);
    } catch (const std::runtime_error& e) {
        throw writeError(target_, e.what());
    }
    decided_ = true;
    commitStep(3);
    try {
        finishCommit(folder_, directory, manifest);
    } catch (const std::runtime_error& e) {
        throw writeError(target_, std::string(e.what()) +
                                      "; the commit is finished when the table is next opened");
    }
}

}  // namespace mbhost::gdal
