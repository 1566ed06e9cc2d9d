#include "staged_write.h"

#include <unistd.h>

#include <cctype>
#include <map>
#include <set>
#include <stdexcept>
#include <system_error>

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

}  // namespace

StagedWrite::StagedWrite(const std::string& target) : target_(fs::absolute(target)) {
    const fs::path directory = target_.parent_path();
    std::error_code error;
    if (!fs::is_directory(directory, error)) {
        throw writeError(target_, "the folder " + directory.string() + " does not exist");
    }
    for (int attempt = 0;; ++attempt) {
        folder_ = directory / ("." + target_.filename().string() + ".writing-" +
                               std::to_string(::getpid()) + "-" + std::to_string(attempt));
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
    if (!folder_.empty()) fs::remove_all(folder_, ignored);
}

std::string StagedWrite::stagedPath() const {
    return (folder_ / target_.filename()).string();
}

void StagedWrite::commit() {
    std::set<fs::path> written;
    for (const auto& entry : fs::directory_iterator(folder_)) {
        written.insert(entry.path().filename());
    }
    const fs::path directory = target_.parent_path();
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(directory, error)) {
        const fs::path name = entry.path().filename();
        if (entry.is_regular_file() && isCompanion(name, target_.filename()) &&
            !written.count(name)) {
            fs::remove(entry.path(), error);
        }
    }
    for (const fs::path& name : written) {
        fs::rename(folder_ / name, directory / name, error);
        if (error)
            throw writeError(target_,
                             "cannot move " + name.string() + " into place: " + error.message());
    }
}

}  // namespace mbhost::gdal
