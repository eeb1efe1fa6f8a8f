// Writes 24-bit RGB pictures as PNG files, uncompressed (stored deflate blocks), so the
// screenshots need no library.
#ifndef STLAG_PNG_WRITER_H
#define STLAG_PNG_WRITER_H

#include <cstdint>
#include <string>
#include <vector>

namespace stlag {

// rgb holds height rows of width pixels, 3 bytes each, top row first.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

std::uint32_t Crc32(const std::uint8_t* bytes, std::size_t count, std::uint32_t crc = 0);

bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace stlag

#endif
