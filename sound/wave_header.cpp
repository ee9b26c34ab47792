#include "sound/wave_header.h"

#include <cstring>

namespace quillora {
namespace {

class HeaderWriter {
 public:
  explicit HeaderWriter(std::array<std::uint8_t, kWaveHeaderSize>& header)
      : out_(header.data()) {}

  void Tag(const char (&tag)[5]) {
    std::memcpy(out_, tag, 4);
    out_ += 4;
  }
  void U16(std::uint16_t value) {
    *out_++ = static_cast<std::uint8_t>(value);
    *out_++ = static_cast<std::uint8_t>(value >> 8);
  }
  void U32(std::uint32_t value) {
    U16(static_cast<std::uint16_t>(value));
    U16(static_cast<std::uint16_t>(value >> 16));
  }

 private:
  std::uint8_t* out_;
};

}  // namespace

std::array<std::uint8_t, kWaveHeaderSize> BuildWaveHeader(
    std::uint16_t channels, std::uint16_t bitsPerSample,
    std::uint32_t sampleRate, std::uint32_t dataSize) {
  const std::uint32_t bytesPerSample = bitsPerSample / 8u;
  std::array<std::uint8_t, kWaveHeaderSize> header{};
  HeaderWriter out(header);
  out.Tag("RIFF");
  out.U32(dataSize + 36);
  out.Tag("WAVE");
  out.Tag("fmt ");
  out.U32(16);
  out.U16(1);
  out.U16(channels);
  out.U32(sampleRate);
  out.U32(channels * sampleRate * bytesPerSample);
  out.U16(static_cast<std::uint16_t>(bytesPerSample * channels));
  out.U16(bitsPerSample);
  out.Tag("data");
  out.U32(dataSize);
  return header;
}

}  // namespace quillora
