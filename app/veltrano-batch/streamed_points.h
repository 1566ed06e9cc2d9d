// The file mode's points written to the output as they are placed, each with the kept columns
// of its source row; a picture's worth of them kept in the host for --picture.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "direct/placed_row_sink.h"
#include "kept_columns.h"
#include "mbhost/host.h"
#include "mbhost/storage/streamed_write.h"
#include "point_columns.h"

namespace veltrano::batch {

// The points a picture can tell apart: one a cell of a fine grid over the input's extent, so
// that a picture of millions of points takes no more memory than one of thousands.
class PictureSample {
public:
    PictureSample(mbhost::Host& host, std::string table, const mbhost::Bounds& extent);
    // Appends a point at (x, y) to the table unless its cell has one.
    void add(double x, double y);

private:
    static constexpr std::size_t kCells = 512;  // a side: about a picture's pixels
    mbhost::Host& host_;
    std::string table_;
    mbhost::Bounds extent_;
    std::vector<bool> taken_;
};

// Rows of the points' own columns and the kept columns, in that order.
class StreamedPoints final : public PlacedRowSink {
public:
    StreamedPoints(mbhost::gdal::StreamedWrite& output, const PointColumns& columns,
                   const std::vector<KeptColumn>& kept, const mbhost::Table& selection,
                   const mbhost::TableData& source, PictureSample* picture)
        : output_(output),
          columns_(columns),
          kept_(kept),
          selection_(selection),
          source_(source),
          picture_(picture) {}

    bool hasColumn(std::string_view) override { return true; }
    InsertOutcome point(const OutputTarget& target, const PlacedPoint& point) override;
    // Never asked for: the points have both columns.
    InsertOutcome label(const OutputTarget&, std::string_view, const PlacedPoint&,
                        const LabelExtent&) override;
    // Why the output took no more rows; empty while it does.
    const std::string& failure() const { return failure_; }

private:
    mbhost::gdal::StreamedWrite& output_;
    const PointColumns columns_;
    const std::vector<KeptColumn>& kept_;
    const mbhost::Table& selection_;
    const mbhost::TableData& source_;
    PictureSample* picture_;
    std::string failure_;
};

}  // namespace veltrano::batch
