// Lets the program that embeds the store stop a long table write: the check is asked now and
// then while rows are written, and a write it stops fails as any other does, leaving the old
// file and no working folder. Where GDAL cannot be asked (a GeoPackage's index being built),
// the program may abandon the writes instead: their working folders go, and it ends at once.
#pragma once

#include <filesystem>

namespace mbhost::gdal {

using StopCheck = bool (*)();

// While it lives, the writes ask check (safe to call from the writing thread at any time);
// the check in force before comes back after it.
class WriteStopCheck {
public:
    explicit WriteStopCheck(StopCheck check);
    ~WriteStopCheck();
    WriteStopCheck(const WriteStopCheck&) = delete;
    WriteStopCheck& operator=(const WriteStopCheck&) = delete;

private:
    StopCheck previous_;
};

bool writeStopRequested();

// A staged write's working folder and lock file, noted while its commit is undecided.
void noteUndecidedWrite(const std::filesystem::path& folder, const std::filesystem::path& lock);
void forgetWrite(const std::filesystem::path& folder);

// Called before a commit's point: false when the writes were abandoned (the commit must not
// happen); once it returned true, abandoning is refused for the rest of the process.
bool claimCommit();

// From any thread: removes the working folders and lock files of the writes not decided, and
// refuses every later commit; the caller then ends the process. False, and nothing removed,
// once a commit was claimed.
bool abandonUndecidedWrites();

}  // namespace mbhost::gdal
