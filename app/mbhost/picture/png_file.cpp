#include "png_file.h"

#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace mbhost::picture {
namespace {

void appendUint32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

void appendChunk(std::string& out, const char type[4], const std::string& data) {
    appendUint32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.append(type, 4);
    out += data;
    const auto crc = ::crc32(0, reinterpret_cast<const Bytef*>(out.data() + start),
                             static_cast<uInt>(out.size() - start));
    appendUint32(out, static_cast<std::uint32_t>(crc));
}

// Every row behind a filter-type byte of 0 (none), then deflated.
std::string compressedRows(const Raster& raster) {
    const std::size_t rowBytes = static_cast<std::size_t>(raster.width()) * 4;
    std::string raw;
    raw.reserve((rowBytes + 1) * raster.height());
    const auto* pixels = raster.pixels().data();
    for (int y = 0; y < raster.height(); ++y) {
        raw.push_back('\0');
        raw.append(reinterpret_cast<const char*>(pixels + y * rowBytes), rowBytes);
    }
    uLongf size = ::compressBound(static_cast<uLong>(raw.size()));
    std::string packed(size, '\0');
    if (::compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
                    reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
                    Z_DEFAULT_COMPRESSION) != Z_OK) {
        throw std::runtime_error("the picture cannot be compressed");
    }
    packed.resize(size);
    return packed;
}

}  // namespace

std::string encodePng(const Raster& raster) {
    std::string png("\x89PNG\r\n\x1A\n", 8);
    std::string header;
    appendUint32(header, static_cast<std::uint32_t>(raster.width()));
    appendUint32(header, static_cast<std::uint32_t>(raster.height()));
    header += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, no interlace
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", compressedRows(raster));
    appendChunk(png, "IEND", {});
    return png;
}

void writePng(const Raster& raster, const std::string& path) {
    std::string bytes;
    try {
        bytes = encodePng(raster);
    } catch (const std::runtime_error& failure) {
        throw std::runtime_error("cannot write " + path + ": " + failure.what());
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file) file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file) throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
}

}  // namespace mbhost::picture
