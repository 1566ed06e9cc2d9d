// One mbhost at a time reads or commits a table file: an flock on ".NAME.lock" beside it. The
// lock file is removed again when the lock is released, so it is seen only while one is held.
#pragma once

#include <optional>
#include <string>

namespace mbhost::gdal {

class TableLock {
public:
    // Waits up to a minute for another mbhost to finish with target. Nothing when the lock
    // file cannot be made (a read-only folder); raises std::runtime_error
    // "cannot <verb> <target>: another mbhost ..." when the wait runs out.
    static std::optional<TableLock> take(const std::string& target, const std::string& verb);

    ~TableLock();
    TableLock(TableLock&& other) noexcept;
    TableLock(const TableLock&) = delete;
    TableLock& operator=(const TableLock&) = delete;
    TableLock& operator=(TableLock&& other) noexcept;

    const std::string& path() const { return path_; }  // the lock file

private:
    TableLock(std::string path, int descriptor) : path_(std::move(path)), descriptor_(descriptor) {}
    std::string path_;
    int descriptor_ = -1;
};

}  // namespace mbhost::gdal
