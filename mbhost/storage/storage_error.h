// A refusal of storage's as data: what it could not do, to which file, and why. Callers that
// name the file otherwise take the reason; everyone else shows the one text it forms.
#pragma once

#include <stdexcept>
#include <string>

namespace mbhost::gdal {

class StorageError : public std::runtime_error {
public:
    // operation: "write", "open"; path: the file as the caller named it.
    StorageError(const std::string& operation, const std::string& path, const std::string& reason)
        : std::runtime_error("cannot " + operation + " " + path + ": " + reason),
          path_(path),
          reason_(reason) {}

    const std::string& path() const noexcept { return path_; }
    const std::string& reason() const noexcept { return reason_; }

private:
    std::string path_;
    std::string reason_;
};

// The one form every write refusal takes.
inline StorageError writeError(const std::string& target, const std::string& reason) {
    return StorageError("write", target, reason);
}

// The reason of a failure that may or may not be storage's own.
inline std::string reasonOf(const std::exception& failure) {
    const auto* refusal = dynamic_cast<const StorageError*>(&failure);
    return refusal ? refusal->reason() : failure.what();
}

}  // namespace mbhost::gdal
