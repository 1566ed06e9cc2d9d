// Vector files read and made through GDAL, to check a program's files by another reader.
#pragma once

#include <gdal_priv.h>
#include <gdal_utils.h>

#include <memory>
#include <string>
#include <vector>

namespace veltrano::testing {

using DatasetPtr = std::unique_ptr<GDALDataset, decltype(&GDALClose)>;

// A CSV's points from its X and Y columns, its other columns typed as they read.
inline DatasetPtr openVector(const std::string& path) {
    GDALAllRegister();
    const char* options[] = {"AUTODETECT_TYPE=YES", "KEEP_GEOM_COLUMNS=NO", "X_POSSIBLE_NAMES=X",
                             "Y_POSSIBLE_NAMES=Y", nullptr};
    return {
        static_cast<GDALDataset*>(GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr,
                                             path.ends_with(".csv") ? options : nullptr, nullptr)),
        GDALClose};
}

// As ogr2ogr does: the format from the extension, the system given (or ogr2ogr's arguments).
inline void translate(const std::string& from, const std::string& to, int epsg,
                      std::vector<const char*> arguments = {}) {
    const std::string system = "EPSG:" + std::to_string(epsg);
    if (arguments.empty()) arguments = {"-a_srs", system.c_str()};
    arguments.push_back(nullptr);
    auto* options = GDALVectorTranslateOptionsNew(const_cast<char**>(arguments.data()), nullptr);
    DatasetPtr source = openVector(from);
    GDALDatasetH handle = source.get();
    GDALClose(GDALVectorTranslate(to.c_str(), nullptr, 1, &handle, options, nullptr));
    GDALVectorTranslateOptionsFree(options);
}

}  // namespace veltrano::testing
