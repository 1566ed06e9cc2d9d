#include "mbhost/storage/staged_write.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <set>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "mbhost/storage/commit_point.h"
#include "mbhost/storage/file_system_calls.h"
#include "mbhost/storage/gdal_errors.h"
#include "mbhost/storage/read_only.h"
#include "mbhost/storage/table_file_format.h"
#include "mbhost/storage/unfinished_commits.h"
#include "mbhost/storage/write_interruption.h"

namespace mbhost::gdal {
namespace fs = std::filesystem;

namespace {

constexpr const char* kKept = "kept";  // the old pieces, in the working folder

bool present(const fs::path& path, struct stat& status) {
    return fileSystem().lstat(path.c_str(), &status) == 0;
}

// Moves from to to; without replace, to must not exist (renameat2, or a link where the file
// system has no such rename). Raises with the reason, naming to as shown.
void moveFile(const fs::path& from, const fs::path& to, bool replace, const fs::path& shown) {
    FileSystemCalls& calls = fileSystem();
    int result = 0;
    if (replace) {
        result = calls.rename(from.c_str(), to.c_str());
    } else {
        result = calls.renameNoReplace(from.c_str(), to.c_str());
        if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
            result = calls.link(from.c_str(), to.c_str());
            if (result == 0) calls.unlink(from.c_str());
        }
    }
    if (result == 0) return;
    if (errno == EEXIST) {
        throw std::runtime_error(shown.string() + " was made while the table was written");
    }
    throw std::runtime_error("cannot move " + to.filename().string() +
                             " into place: " + std::strerror(errno));
}

// Gives the new file at staged the mode and owner of like, when like exists.
void keepModeAndOwner(const fs::path& staged, const fs::path& like) {
    struct stat old {};
    if (fileSystem().stat(like.c_str(), &old) != 0) return;
    fileSystem().chmod(staged.c_str(), old.st_mode & 07777);
    // Only root may give a file away; anyone else keeps the new files as their own.
    if (fileSystem().chown(staged.c_str(), old.st_uid, old.st_gid) != 0) return;
}

}  // namespace

StagedWrite::StagedWrite(const std::string& target)
    : StagedWrite(target, fs::absolute(target).string()) {}

StagedWrite::StagedWrite(const std::string& target, const std::string& shownAs)
    : target_(fs::absolute(target)), shown_(shownAs) {
    if (target_.filename().string().find('\n') != std::string::npos) {
        throw writeError(shown_, "a file name cannot hold a line break");
    }
    refuseReadOnly(target_, existingTablePieces(target_), shown_);
    try {
        lock_ = TableLock::take(target_.string(), "write");
    } catch (const StorageError& e) {
        throw writeError(shown_, e.reason());
    }
    if (!lock_) throw writeError(shown_, "cannot make its lock file beside it");
    try {
        settleUnfinishedCommits(target_);
    } catch (const std::runtime_error& e) {
        throw writeError(shown_, e.what());
    }
    // Only this user may change it: the roll-forward trusts nothing else (commit_point.h).
    for (int attempt = 0;; ++attempt) {
        folder_ = workingFolderFor(target_, attempt);
        if (fileSystem().mkdir(folder_.c_str(), 0700) == 0) break;
        if (errno != EEXIST || attempt > 100) {
            const std::string reason =
                errno != EEXIST ? std::strerror(errno) : "too many left behind";
            folder_.clear();
            throw writeError(shown_, "cannot make a working folder beside it: " + reason);
        }
    }
    noteUndecidedWrite(folder_, lock_->path());
}

StagedWrite::~StagedWrite() {
    if (folder_.empty()) return;
    forgetWrite(folder_);
    std::error_code ignored;
    if (!unsettled_) fs::remove_all(folder_, ignored);
}

std::string StagedWrite::stagedPath() const {
    return (folder_ / target_.filename()).string();
}

std::string StagedWrite::spaceShortage() const {
    rlimit limit{};
    std::error_code ignored;
    const bool capped = ::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY;
    if (capped) {
        for (const auto& entry : fs::directory_iterator(folder_, ignored)) {
            if (entry.file_size(ignored) >= limit.rlim_cur) return std::strerror(EFBIG);
        }
    }
    const fs::path probe = folder_ / "space-probe";
    FileSystemCalls& calls = fileSystem();
    const int descriptor = calls.open(probe.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (descriptor < 0) return std::strerror(errno);
    const std::vector<char> block(64 * 1024, 0);
    const ssize_t wrote = calls.write(descriptor, block.data(), block.size());
    const int error = errno;
    calls.close(descriptor);
    calls.unlink(probe.c_str());
    if (wrote == static_cast<ssize_t>(block.size())) return {};
    // A write cut short at the size limit is the limit, not the disk.
    if (capped && wrote >= 0 && static_cast<rlim_t>(wrote) >= limit.rlim_cur) {
        return std::strerror(EFBIG);
    }
    return std::strerror(wrote < 0 ? error : ENOSPC);
}

// Checked before the commit point, so that a commit decided is one that can be completed.
void StagedWrite::checkMovesCanSucceed(const std::vector<std::string>& moves,
                                       const std::vector<std::string>& stale, bool replace) const {
    for (const std::string& name : moves) {
        if (!isTablePiece(name, target_)) {
            throw std::runtime_error("the write made " + name + ", not a file of the table");
        }
        struct stat status {};
        if (!present(target_.parent_path() / name, status)) continue;
        if (S_ISDIR(status.st_mode)) throw std::runtime_error(shownPiece(name) + " is a folder");
        if (!replace) {
            throw std::runtime_error(shownPiece(name) + " was made while the table was written");
        }
    }
    if (!replace && !stale.empty()) {
        throw std::runtime_error(shownPiece(stale.front()) +
                                 " was made while the table was written");
    }
}

// Hard links to the old pieces in the working folder (copies where links are not allowed),
// so that a commit stopped midway can put them back.
void StagedWrite::keepOldPieces(const std::vector<std::string>& names) const {
    const fs::path kept = folder_ / kKept;
    if (fileSystem().mkdir(kept.c_str(), 0700) != 0) {
        throw std::runtime_error("cannot keep the old files: " + std::string(std::strerror(errno)));
    }
    for (const std::string& name : names) {
        const fs::path old = target_.parent_path() / name;
        struct stat status {};
        if (!present(old, status) || fileSystem().link(old.c_str(), (kept / name).c_str()) == 0) {
            continue;
        }
        std::error_code error;
        fs::copy(old, kept / name, fs::copy_options::copy_symlinks, error);
        if (error) throw std::runtime_error("cannot keep the old " + name + ": " + error.message());
    }
}

void StagedWrite::moveIntoPlace(const CommitManifest& manifest, bool replace) {
    const fs::path directory = target_.parent_path();
    for (const std::string& name : manifest.moves) {
        moveFile(folder_ / name, directory / name, replace, shownPiece(name));
        moved_.push_back(name);
    }
    for (const std::string& name : manifest.removes) {
        if (fileSystem().unlink((directory / name).c_str()) == 0) removed_.push_back(name);
    }
    syncPath(directory);
}

// Each new piece back into the working folder, then the old one into its place: a crash
// meanwhile leaves every new piece in one place or the other, for the roll-forward.
void StagedWrite::putBack() {
    const fs::path directory = target_.parent_path();
    const fs::path kept = folder_ / kKept;
    const auto moveBack = [&](const fs::path& from, const fs::path& to, const std::string& name) {
        if (fileSystem().rename(from.c_str(), to.c_str()) != 0) {
            throw std::runtime_error("cannot put the old " + name +
                                     " back: " + std::strerror(errno));
        }
    };
    for (auto name = moved_.rbegin(); name != moved_.rend(); ++name) {
        struct stat status {};
        moveBack(directory / *name, folder_ / *name, *name);
        if (present(kept / *name, status)) moveBack(kept / *name, directory / *name, *name);
    }
    moved_.clear();
    for (const std::string& name : removed_) moveBack(kept / name, directory / name, name);
    removed_.clear();
    withdrawManifest(folder_);
    syncPath(directory);
    unsettled_ = false;
    std::error_code error;
    fs::remove_all(folder_, error);
}

void StagedWrite::commit(bool replace) {
    CommitManifest manifest;
    std::set<std::string> written;
    for (const auto& entry : fs::directory_iterator(folder_)) {
        if (entry.is_regular_file()) written.insert(entry.path().filename().string());
    }
    for (const fs::path& piece : existingTablePieces(target_)) {
        if (!written.count(piece.filename().string())) {
            manifest.removes.push_back(piece.filename().string());
        }
    }
    try {
        manifest.moves.assign(written.begin(), written.end());
        checkMovesCanSucceed(manifest.moves, manifest.removes, replace);
        for (const std::string& name : written) {
            const fs::path old = target_.parent_path() / name;
            keepModeAndOwner(folder_ / name, fs::exists(old) ? old : target_);
            syncPath(folder_ / name);
        }
        std::vector<std::string> old = manifest.moves;
        old.insert(old.end(), manifest.removes.begin(), manifest.removes.end());
        keepOldPieces(old);
        if (!claimCommit()) throw std::runtime_error("interrupted");
        writeManifest(folder_, manifest);
    } catch (const std::runtime_error& e) {
        throw writeError(shown_, e.what());
    }
    unsettled_ = true;
    try {
        moveIntoPlace(manifest, replace);
        unsettled_ = false;
    } catch (const std::runtime_error& e) {
        try {
            putBack();
        } catch (const std::runtime_error& undone) {
            throw writeError(shown_, std::string(e.what()) +
                                         ", and the old files are not all back (" + undone.what() +
                                         ")");
        }
        throw writeError(shown_, std::string(e.what()) + "; the old files are back");
    }
}

void StagedWrite::undo() {
    unsettled_ = true;
    try {
        putBack();
    } catch (const std::runtime_error& e) {
        throw writeError(shown_, e.what());
    }
}

std::string StagedWrite::shownPiece(const std::string& name) const {
    return (fs::path(shown_).parent_path() / name).string();
}

}  // namespace mbhost::gdal
