// Framing of the byte stream: every message is a 4-byte big-endian payload length followed by
// that many payload bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltrano::ipc {

inline constexpr std::size_t kFrameHeaderSize = 4;
// Far above any MapBasic text or answer, yet small enough that one client cannot make the
// host hold an unbounded buffer.
inline constexpr std::size_t kMaxFrameSize = 1u << 20;

// The header and the payload, ready to send. The payload must not exceed kMaxFrameSize.
std::string encodeFrame(std::string_view payload);

// Collects received bytes and cuts them into payloads.
class FrameReader {
public:
    void append(std::string_view bytes);
    // The next whole payload, if one has arrived. Nothing once the stream is oversized.
    std::optional<std::string> next();
    // The stream announced a frame longer than kMaxFrameSize: it cannot be resynchronised.
    bool oversized() const { return oversizedLength_.has_value(); }
    std::uint32_t announcedLength() const { return oversizedLength_.value_or(0); }
    // Bytes of an unfinished frame (a header or a payload cut short).
    std::size_t pending() const { return buffer_.size() - consumed_; }

private:
    std::string buffer_;
    std::size_t consumed_ = 0;
    std::optional<std::uint32_t> oversizedLength_;
};

}  // namespace veltrano::ipc
