// Owning pointers for the GDAL objects mbhost opens and creates.
#pragma once

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <memory>

namespace mbhost::gdal {

struct DatasetCloser {
    void operator()(GDALDataset* dataset) const { GDALClose(dataset); }
};
using DatasetPtr = std::unique_ptr<GDALDataset, DatasetCloser>;

struct FeatureDeleter {
    void operator()(OGRFeature* feature) const { OGRFeature::DestroyFeature(feature); }
};
using FeaturePtr = std::unique_ptr<OGRFeature, FeatureDeleter>;

}  // namespace mbhost::gdal
