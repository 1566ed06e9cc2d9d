#include "streamed_points.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "mbhost/geodesy.h"

namespace veltrano::batch {

PictureSample::PictureSample(mbhost::Host& host, std::string table, const mbhost::Bounds& extent)
    : host_(host), table_(std::move(table)), extent_(extent), taken_(kCells * kCells) {}

void PictureSample::add(double x, double y) {
    const auto cell = [](double at, double from, double to) {
        const double share = to > from ? (at - from) / (to - from) : 0;
        return static_cast<std::size_t>(std::clamp(share * kCells, 0.0, kCells - 1.0));
    };
    const std::size_t at =
        cell(y, extent_.minY, extent_.maxY) * kCells + cell(x, extent_.minX, extent_.maxX);
    if (taken_[at]) return;
    taken_[at] = true;
    mbhost::Row row;
    row.object = std::make_shared<const mbhost::Geometry>(mbhost::Geometry::point(x, y));
    host_.appendRow(table_, std::move(row));
}

InsertOutcome StreamedPoints::point(const OutputTarget&, const PlacedPoint& point) {
    if (!failure_.empty()) return {};
    mbhost::Row row;
    row.fields.reserve(4 + kept_.size());
    row.fields.push_back(mbhost::Value::real(point.dist));
    row.fields.push_back(mbhost::Value::integer(point.rowId));
    if (columns_.angle) {
        const HostPoint a = point.segmentStart, b = point.segmentEnd;
        row.fields.push_back(mbhost::Value::real(mbhost::bearingAlong(
            *selection_.coordSys(), {a.x, a.y}, {b.x, b.y}, point.alongSegment)));
    }
    if (columns_.part) row.fields.push_back(mbhost::Value::integer(point.part));
    const std::size_t firstKept = row.fields.size();
    row.fields.resize(firstKept + kept_.size());
    fillKeptColumns(row, firstKept, point.rowId, kept_, selection_, source_);
    row.object =
        std::make_shared<const mbhost::Geometry>(mbhost::Geometry::point(point.x, point.y));
    try {
        output_.add(row);
        if (picture_) picture_->add(point.x, point.y);
    } catch (const std::exception& failure) {
        failure_ = failure.what();
    }
    return {};
}

InsertOutcome StreamedPoints::label(const OutputTarget&, std::string_view, const PlacedPoint&,
                                    const LabelExtent&) {
    return {false, "the output has no place for a label"};
}

}  // namespace veltrano::batch
