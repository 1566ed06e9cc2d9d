#include "mbhost/storage/tab_coordsys_note.h"

#include <fstream>
#include <stdexcept>

#include "foundation/mapbasic_name.h"
#include "mbhost/storage/storage_error.h"

namespace mbhost::gdal {
namespace {

constexpr std::string_view kKey = "\"\\mbhost\\CoordSys\" = ";

}  // namespace

void noteCoordSys(const std::string& tabPath, const std::string& clause) {
    std::ofstream tab(tabPath, std::ios::app);
    tab << "begin_metadata\n" << kKey << veltrano::mapBasicString(clause) << "\nend_metadata\n";
    if (!tab) throw writeError(tabPath, "the note of its system");
}

std::optional<std::string> notedCoordSys(const std::string& tabPath) {
    std::ifstream tab(tabPath);
    std::string line;
    while (std::getline(tab, line)) {
        if (line.compare(0, kKey.size(), kKey) != 0 || line[kKey.size()] != '"') continue;
        std::string clause;
        for (std::size_t i = kKey.size() + 1; i < line.size(); ++i) {
            if (line[i] != '"') {
                clause += line[i];
            } else if (i + 1 < line.size() && line[i + 1] == '"') {
                clause += '"';
                ++i;
            } else {
                return clause;
            }
        }
    }
    return std::nullopt;
}

}  // namespace mbhost::gdal
