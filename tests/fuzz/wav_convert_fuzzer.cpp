// Any bytes as a WAV image handed to the sound output: the format reader
// takes or refuses them without reading outside the bytes, and whatever it
// takes converts to the output's frames, block by block as the device reads
// them, with the same frames as the whole-image conversion.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "sound/pcm_convert.h"
#include "sound/wav_image.h"

namespace {

// Enough frames to pass every seam of a block and a loop, little enough to
// keep each input fast.
constexpr std::size_t kMostFramesRead = 20000;

void CheckConversion(const quillora::WavFormat& format,
                     std::uint32_t outputRate, quillora::SoundEnds ends) {
  std::unique_ptr<quillora::FrameSource> source =
      quillora::ConvertingFrameSource(format, outputRate, ends);
  if (!source) return;
  const std::size_t frames = std::min(source->FrameCount(), kMostFramesRead);
  std::vector<std::int16_t> read(2 * frames);
  for (std::size_t first = 0; first < frames; first += 480) {
    const std::size_t count = std::min<std::size_t>(480, frames - first);
    source->ReadFrames(first, std::span(read).subspan(2 * first, 2 * count));
  }
  quillora::ScaleFrames(read, 0x8000FFFF);
  if (source->FrameCount() <= kMostFramesRead) {
    std::vector<std::int16_t> whole =
        quillora::ConvertToStereo16(format, outputRate, ends);
    quillora::ScaleFrames(whole, 0x8000FFFF);
    if (whole != read) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::optional<quillora::WavFormat> format =
      quillora::ReadWavFormat(std::span<const std::uint8_t>(data, size));
  if (!format) return 0;
  if (format->samples.data() < data ||
      format->samples.data() + format->samples.size() > data + size) {
    std::abort();
  }
  CheckConversion(*format, 48000, quillora::SoundEnds::kSilent);
  CheckConversion(*format, 44100, quillora::SoundEnds::kWrapped);
  return 0;
}
