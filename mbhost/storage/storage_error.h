// A refusal of storage's as data: what it could not do, to which file, and why. Callers that
// name the file otherwise take the reason; everyone else shows the one text it forms.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

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

// A file of several layers opened without naming one. How to name one is the caller's to say:
// the host names its Layer clause, a command line its option.
class SeveralLayers : public StorageError {
public:
    // layers: the count and the names, as "the file holds 2 layers ("a", "b")".
    SeveralLayers(const std::string& path, std::string layers, const std::string& choosing)
        : StorageError("open", path, layers + ": " + choosing), layers_(std::move(layers)) {}

    // The same refusal, told how to choose in the caller's terms.
    SeveralLayers choosing(const std::string& how) const { return {path(), layers_, how}; }

private:
    std::string layers_;
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
