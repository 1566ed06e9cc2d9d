// Writing a table's files so that a failure or a crash at any point leaves the old version or
// the new one whole, never a mix: the new files are written into a working folder beside the
// target, flushed, decided by a manifest (commit_point.h), then moved over the old ones.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "mbhost/storage/commit_point.h"
#include "mbhost/storage/table_lock.h"

namespace mbhost::gdal {

class StagedWrite {
public:
    // Takes the table's lock, settles what a crashed commit left (unfinished_commits.h) and
    // makes the working folder beside target. Raises std::runtime_error
    // "cannot write <target>: <reason>" when the folder, the target or one of its pieces is
    // read-only (judged by the mode bits too, which root would override) or the folder
    // cannot be made: a StorageError, as every refusal below.
    explicit StagedWrite(const std::string& target);
    // The same, naming target in its messages as shownAs (the caller's own path for it) and
    // its pieces beside that, rather than by their absolute paths.
    StagedWrite(const std::string& target, const std::string& shownAs);
    ~StagedWrite();  // removes the working folder, unless a failed commit could not be undone
    StagedWrite(const StagedWrite&) = delete;
    StagedWrite& operator=(const StagedWrite&) = delete;

    // Where the new file is to be written (the target's name, in the working folder).
    std::string stagedPath() const;
    // Why the working folder's disk takes no more: "No space left on device", "File too
    // large"; empty when it still does.
    std::string spaceShortage() const;
    // Gives the new files the old ones' mode and owner, flushes them, records the commit and
    // moves every file written into the target's folder; the old pieces the new write did
    // not produce (a .prj, an .ind) are removed. Without replace, a piece of target there at
    // this point (made while the table was written) is kept and refuses the commit. Whatever
    // stops it before it is complete (a folder in a piece's place, a move refused) is undone
    // before it raises as the constructor does: the old files are back, no working folder.
    void commit(bool replace = true);
    // Puts back the old version after a complete commit(), for a write that stands or falls
    // with another. Raises std::runtime_error with the reason when it cannot.
    void undo();

private:
    void checkMovesCanSucceed(const std::vector<std::string>& moves,
                              const std::vector<std::string>& stale, bool replace) const;
    void keepOldPieces(const std::vector<std::string>& names) const;
    void moveIntoPlace(const CommitManifest& manifest, bool replace);
    void putBack();
    std::string shownPiece(const std::string& name) const;

    std::filesystem::path target_;
    std::string shown_;
    std::optional<TableLock> lock_;
    std::filesystem::path folder_;
    std::vector<std::string> moved_;    // pieces moved into place, the old ones kept aside
    std::vector<std::string> removed_;  // stale pieces removed, kept aside
    bool unsettled_ = false;            // decided, neither finished nor undone
};

}  // namespace mbhost::gdal
