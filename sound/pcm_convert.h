// Turning a WAV image's samples into the sound output's own frames, and
// rendering blocks of those frames for the device. Pure functions: no device,
// no threads.
//
// The output's frames are interleaved 16-bit signed stereo: left, right,
// left, right, ...
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "sound/frame_source.h"
#include "sound/sample_buffer_pool.h"
#include "sound/wav_image.h"

namespace quillora {

using StereoFrames = std::vector<std::int16_t>;

// What the resampler sees beyond the ends of a sound: silence for a sound
// played once, the sound's own other end for a looping one (so the loop's
// seam is as smooth as any other point).
enum class SoundEnds { kSilent, kWrapped };

// The sample rates the conversion takes, for images and for the output:
// beyond them its filter or its output would grow without bound.
inline constexpr std::uint32_t kLowestConvertibleRate = 1000;
inline constexpr std::uint32_t kHighestConvertibleRate = 384000;
bool IsConvertibleRate(std::uint32_t rate);

// The samples of `format` as stereo frames at `outputRate`. 8-bit samples are
// unsigned around 128, 16-bit ones signed; a mono sound goes to both
// channels. At the image's own rate the samples are copied exactly; at any
// other rate they are resampled through a band-limited filter, so nothing
// above the lower rate's limit folds back into the sound. The result has
// round(frames × outputRate ÷ rate) frames, at least one unless the image has
// none, so a looping sound repeats with a whole number of frames. Nothing
// when either rate is not convertible.
StereoFrames ConvertToStereo16(const WavFormat& format,
                               std::uint32_t outputRate, SoundEnds ends);

// Builds the resampling filter's table, which the first conversion would
// otherwise build: an output calls it when it opens, so that no play pays
// for it.
void PrepareConversion();

// The same frames, made as they are read: the source keeps a copy of the
// samples and converts each block on request, so making it costs a copy of
// the samples, whatever the rates. Null when there is nothing to play (no
// frames, or a rate that is not convertible). With a `pool`, the copy is made
// in the pool's spare buffer and given back to the pool when the source is
// destroyed; the pool must outlive the source.
std::unique_ptr<FrameSource> ConvertingFrameSource(
    const WavFormat& format, std::uint32_t outputRate, SoundEnds ends,
    SampleBufferPool* pool = nullptr);

// Frames converted beforehand, as a source.
std::unique_ptr<FrameSource> StoredFrameSource(StereoFrames frames);

// `sample` scaled by a channel volume of 0 (silent) to 65535 (unchanged).
std::int16_t ScaleSample(std::int16_t sample, std::uint16_t volume);

// Scales stereo frames in place: the left channel by the low 16 bits of
// `volumeWord`, the right by the high 16 bits.
void ScaleFrames(std::span<std::int16_t> frames, std::uint32_t volumeWord);

// Fills `block` (stereo frames) with the frames of `sound` from frame
// `position` on and advances `position`. The left channel is scaled by the
// low 16 bits of `volumeWord`, the right by the high 16 bits. A looping sound
// wraps to its first frame; after the last frame of a sound played once comes
// silence. Returns how many frames of `block` hold the sound.
std::size_t RenderBlock(std::span<const std::int16_t> sound, bool loop,
                        std::uint32_t volumeWord, std::size_t& position,
                        std::span<std::int16_t> block);

}  // namespace quillora
