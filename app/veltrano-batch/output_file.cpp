#include "output_file.h"

#include <sys/stat.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "mbhost/storage/table_file_format.h"

namespace veltrano::batch {

namespace {
namespace fs = std::filesystem;

// The input's files: every file of a folder (GDAL reads its layers from them), a table's
// pieces, or the file alone when the store does not write its format.
std::vector<fs::path> inputFiles(const std::string& input) {
    std::error_code failure;
    if (fs::is_directory(input, failure)) {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(input, failure)) files.push_back(entry);
        return files;
    }
    std::vector<fs::path> files{input};
    try {
        for (const auto& piece : mbhost::gdal::tablePieces(input)) files.emplace_back(piece);
    } catch (const std::runtime_error&) {
    }
    return files;
}

// The same file by its device and inode, through any link or name.
bool sameFile(const fs::path& a, const fs::path& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// What writing path (a table or a picture) would replace: a file of the input, or any of its
// own pieces there now.
OutputRefusal refuseFile(const std::vector<fs::path>& input, const std::string& path,
                         bool overwrite) {
    for (const auto& piece : mbhost::gdal::existingTablePieces(fs::absolute(path))) {
        for (const auto& source : input) {
            if (sameFile(piece, source)) {
                return {kOutputUnwritable, "cannot write " + path + ": it would replace " +
                                               source.string() + ", a file of the input"};
            }
        }
        if (!overwrite) {
            const fs::path named = fs::path(path).parent_path() / piece.filename();
            return {kOutputUnwritable, "cannot write " + path + ": " + named.string() +
                                           " exists (--overwrite replaces it)"};
        }
    }
    return {};
}
}  // namespace

OutputRefusal refuseOutput(const std::string& input, const std::string& output,
                           const std::optional<std::string>& picture, bool overwrite) {
    try {
        mbhost::gdal::formatForPath(output);
    } catch (const std::runtime_error& unknown) {
        return {kBadArguments, unknown.what()};
    }
    const std::vector<fs::path> files = inputFiles(input);
    OutputRefusal refusal = refuseFile(files, output, overwrite);
    if (refusal.status == kPlaced && picture) refusal = refuseFile(files, *picture, overwrite);
    return refusal;
}

}  // namespace veltrano::batch
