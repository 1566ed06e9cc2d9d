#include "progress_line.h"

#include <cmath>

namespace veltrano::batch {

std::string progressText(std::size_t done, std::size_t total, std::size_t points, double seconds) {
    const double rate = seconds > 0 ? static_cast<double>(points) / seconds : 0;
    std::string text = std::to_string(done) + " of " + std::to_string(total) + " objects, " +
                       std::to_string(points) + " points, " + std::to_string(std::llround(rate)) +
                       " points/s";
    if (done > 0 && done < total) {
        const double left = seconds * static_cast<double>(total - done) / static_cast<double>(done);
        text += ", " + std::to_string(std::llround(left)) + " s left";
    }
    return text;
}

ProgressLine::ProgressLine(std::ostream& err, bool live, std::size_t objects)
    : err_(err), live_(live), total_(objects) {}

double ProgressLine::seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
}

void ProgressLine::objectDone(std::size_t points) {
    ++objects_;
    points_ += points;
    if (!live_) return;
    const double now = seconds();
    // A short run shows no line; a long one redraws it a few times a second.
    if (now < 1.0 || now - drawnAt_ < 0.25) return;
    draw(now);
}

void ProgressLine::draw(double seconds) {
    drawnAt_ = seconds;
    drawn_ = true;
    err_ << "\r\033[K" << progressText(objects_, total_, points_, seconds) << std::flush;
}

void ProgressLine::finish() {
    if (drawn_) err_ << "\r\033[K" << std::flush;
    drawn_ = false;
}

}  // namespace veltrano::batch
