// A sound as the output's frames (interleaved 16-bit stereo), read block by
// block as the device consumes it. A source that converts an image does the
// work as it is read, so that starting a sound costs the same for a long
// tone as for a short one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace quillora {

class FrameSource {
 public:
  virtual ~FrameSource() = default;

  // The sound's length in frames.
  virtual std::size_t FrameCount() const = 0;

  // Writes frames first, first + 1, ... into `out` (stereo frames; every
  // frame read lies below FrameCount()). Never allocates memory; called by
  // one thread at a time.
  virtual void ReadFrames(std::size_t first, std::span<std::int16_t> out) = 0;
};

}  // namespace quillora
