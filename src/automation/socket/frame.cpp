#include "automation/socket/frame.h"

#include <stdexcept>

namespace veltrano::ipc {
namespace {

std::uint32_t readLength(std::string_view header) {
    std::uint32_t length = 0;
    for (std::size_t i = 0; i < kFrameHeaderSize; ++i) {
        length = (length << 8) | static_cast<unsigned char>(header[i]);
    }
    return length;
}

}  // namespace

std::string encodeFrame(std::string_view payload) {
    if (payload.size() > kMaxFrameSize) {
        throw std::length_error("cannot send a frame of " + std::to_string(payload.size()) +
                                " bytes: the limit is " + std::to_string(kMaxFrameSize));
    }
    const auto length = static_cast<std::uint32_t>(payload.size());
    std::string frame;
    frame.reserve(kFrameHeaderSize + payload.size());
    for (int shift = 24; shift >= 0; shift -= 8) {
        frame.push_back(static_cast<char>((length >> shift) & 0xFFu));
    }
    frame.append(payload);
    return frame;
}

void FrameReader::append(std::string_view bytes) {
    if (oversized()) return;
    // Compact only when the consumed part dominates, so pipelined frames stay cheap.
    if (consumed_ > 0 && consumed_ * 2 >= buffer_.size()) {
        buffer_.erase(0, consumed_);
        consumed_ = 0;
    }
    buffer_.append(bytes);
}

std::optional<std::string> FrameReader::next() {
    if (oversized() || pending() < kFrameHeaderSize) return std::nullopt;
    const std::uint32_t length =
        readLength(std::string_view(buffer_).substr(consumed_, kFrameHeaderSize));
    if (length > kMaxFrameSize) {
        oversizedLength_ = length;
        buffer_.clear();
        consumed_ = 0;
        return std::nullopt;
    }
    if (pending() < kFrameHeaderSize + length) return std::nullopt;
    std::string payload = buffer_.substr(consumed_ + kFrameHeaderSize, length);
    consumed_ += kFrameHeaderSize + length;
    if (consumed_ == buffer_.size()) {
        buffer_.clear();
        consumed_ = 0;
    }
    return payload;
}

}  // namespace veltrano::ipc
