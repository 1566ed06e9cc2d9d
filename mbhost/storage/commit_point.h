// The commit point of a staged write and what follows it. A manifest, written and synced last
// into the working folder, names the pieces to move into place and the stale pieces to remove;
// once it exists the commit is decided, and finishing it (now, or after a crash by whoever
// opens the table next) only repeats moves that have not happened yet. A manifest is trusted
// only as this user wrote it: anyone who could have changed it could name any file.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace mbhost::gdal {

struct CommitManifest {
    std::vector<std::string> moves;    // file names in the working folder
    std::vector<std::string> removes;  // file names in the target's folder
};

// Writes the manifest into folder durably, readable by this user only. Raises
// std::runtime_error with the reason.
void writeManifest(const std::filesystem::path& folder, const CommitManifest& manifest);

// Removes folder's manifest durably: the commit is undecided again.
void withdrawManifest(const std::filesystem::path& folder);

// The manifest of folder, nothing when it has none (an attempt that ended before its commit
// point). Raises std::runtime_error with why it is not to be acted on: a manifest that is not
// a plain file of this user that only they may change, or not whole, a piece to move that is
// not a plain file, a name that is not a piece (table_file_format.h) of target.
std::optional<CommitManifest> readManifest(const std::filesystem::path& folder,
                                           const std::filesystem::path& target);

// Why folder, a working folder found beside a table, is not to be acted on; empty when it is
// a folder of this user that only they may change.
std::string distrustOfFolder(const std::filesystem::path& folder);

// Moves the pieces from folder into directory, removes the stale ones, syncs directory and
// deletes folder. Raises std::runtime_error with the reason and keeps folder when a move fails.
void finishCommit(const std::filesystem::path& folder, const std::filesystem::path& directory,
                  const CommitManifest& manifest);

// Flushes a file or folder to the disk. Raises std::runtime_error with the reason.
void syncPath(const std::filesystem::path& path);

}  // namespace mbhost::gdal
