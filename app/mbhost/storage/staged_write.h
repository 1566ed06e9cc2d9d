// Writing a table's files so that a failure or a crash at any point leaves the old version or
// the new one whole, never a mix: the new files are written into a working folder beside the
// target, flushed, decided by a manifest (commit_point.h), then moved over the old ones.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "table_lock.h"

namespace mbhost::gdal {

class StagedWrite {
public:
    // Takes the table's lock, settles what a crashed commit left (unfinished_commits.h) and
    // makes the working folder beside target. Raises std::runtime_error
    // "cannot write <target>: <reason>" when the folder, the target or one of its pieces is
    // read-only (judged by the mode bits too, which root would override) or the folder
    // cannot be made.
    explicit StagedWrite(const std::string& target);
    ~StagedWrite();  // removes the working folder unless the commit was decided
    StagedWrite(const StagedWrite&) = delete;
    StagedWrite& operator=(const StagedWrite&) = delete;

    // Where the new file is to be written (the target's name, in the working folder).
    std::string stagedPath() const;
    // Why the working folder's disk takes no more: "No space left on device", "File too
    // large"; empty when it still does.
    std::string spaceShortage() const;
    // Gives the new files the old ones' mode and owner, flushes them, records the commit and
    // moves every file written into the target's folder; the old pieces the new write did
    // not produce (a .prj, an .ind) are removed. Raises as the constructor does.
    void commit();

private:
    std::filesystem::path target_;
    std::optional<TableLock> lock_;
    std::filesystem::path folder_;
    bool decided_ = false;
};

}  // namespace mbhost::gdal
