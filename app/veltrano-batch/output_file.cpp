#include "output_file.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "table_file_format.h"

namespace veltrano::batch {

namespace {
namespace fs = std::filesystem;

// The input's files; a file in a format the store does not write is its only piece.
std::vector<std::string> inputPieces(const std::string& input) {
    try {
        return mbhost::gdal::tablePieces(input);
    } catch (const std::runtime_error&) {
        return {input};
    }
}

bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code failure;
    if (fs::weakly_canonical(a, failure) == fs::weakly_canonical(b, failure) && !failure) {
        return true;
    }
    return fs::exists(a, failure) && fs::exists(b, failure) && fs::equivalent(a, b, failure);
}
}  // namespace

OutputRefusal refuseOutput(const std::string& input, const std::string& output, bool overwrite) {
    std::vector<std::string> outputPieces;
    try {
        outputPieces = mbhost::gdal::tablePieces(output);
    } catch (const std::runtime_error& unknown) {
        return {kBadArguments, unknown.what()};
    }
    for (const auto& piece : outputPieces) {
        for (const auto& source : inputPieces(input)) {
            if (sameFile(piece, source)) {
                return {kOutputUnwritable, "cannot write " + output + ": it would replace " +
                                               source + ", a file of the input"};
            }
        }
    }
    std::error_code failure;
    if (!overwrite && fs::exists(output, failure)) {
        return {kOutputUnwritable,
                "cannot write " + output + ": the file exists (--overwrite replaces it)"};
    }
    return {};
}

}  // namespace veltrano::batch
