// How far a file run has got: one updating line on a terminal's stderr once the run has
// lasted about a second, and the summary line at the end.
#pragma once

#include <chrono>
#include <cstddef>
#include <ostream>
#include <string>

namespace veltrano::batch {

class ProgressLine {
public:
    // live: draw the updating line (stderr is a terminal and the run is not quiet).
    ProgressLine(std::ostream& err, bool live, std::size_t objects);

    void objectDone(std::size_t points);
    std::size_t points() const { return points_; }
    std::size_t objects() const { return objects_; }
    // Clears the updating line, if one was drawn.
    void finish();

private:
    double seconds() const;
    void draw(double seconds);

    std::ostream& err_;
    bool live_;
    std::size_t total_;
    std::size_t objects_ = 0;
    std::size_t points_ = 0;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    double drawnAt_ = 0;
    bool drawn_ = false;
};

// "12 of 100 objects, 4,800 points, 9,600 points/s, 3 s left" without the line's framing.
std::string progressText(std::size_t done, std::size_t total, std::size_t points, double seconds);

}  // namespace veltrano::batch
