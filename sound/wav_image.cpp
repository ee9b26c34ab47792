#include "sound/wav_image.h"

#include <algorithm>
#include <cstring>

namespace quillora {
namespace {

std::uint32_t Read32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) |
         (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Read16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
bool IsTag(const std::uint8_t* p, const char* tag) {
  return std::memcmp(p, tag, 4) == 0;
}

}  // namespace

std::optional<WavFormat> ReadWavFormat(std::span<const std::uint8_t> image) {
  if (image.size() < 12 || !IsTag(image.data(), "RIFF") ||
      !IsTag(image.data() + 8, "WAVE")) {
    return std::nullopt;
  }
  WavFormat format;
  bool haveFormat = false;
  std::size_t pos = 12;
  while (image.size() - pos >= 8) {
    const std::uint8_t* chunk = image.data() + pos;
    const std::uint32_t size = Read32(chunk + 4);
    const std::size_t bodyStart = pos + 8;
    const std::size_t available = image.size() - bodyStart;
    if (IsTag(chunk, "fmt ")) {
      if (size < 16 || available < 16) return std::nullopt;
      const std::uint8_t* body = chunk + 8;
      if (Read16(body) != 1) return std::nullopt;  // PCM only
      format.channels = Read16(body + 2);
      format.sampleRate = Read32(body + 4);
      format.bitsPerSample = Read16(body + 14);
      if ((format.channels != 1 && format.channels != 2) ||
          (format.bitsPerSample != 8 && format.bitsPerSample != 16) ||
          format.sampleRate == 0) {
        return std::nullopt;
      }
      haveFormat = true;
    } else if (IsTag(chunk, "data")) {
      if (!haveFormat) return std::nullopt;
      std::size_t length = std::min<std::size_t>(size, available);
      length -= length % format.FrameSize();
      format.samples = image.subspan(bodyStart, length);
      return format;
    }
    // Chunks are padded to an even length.
    const std::size_t advance = 8 + static_cast<std::size_t>(size) + (size & 1);
    if (advance > image.size() - pos) break;
    pos += advance;
  }
  return std::nullopt;
}

}  // namespace quillora
