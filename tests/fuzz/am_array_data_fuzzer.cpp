// Any bytes as the stored extra tones of a tone generator: the reader takes
// them or refuses them with std::invalid_argument, and whatever it takes
// synthesises without a fault, however odd the amplitudes, waveforms and
// frequencies (NaN, infinities, huge values).
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

#include "sound/tone_gen.h"

namespace {

class NullOutput : public quillora::SoundOutput {
 public:
  void Play(std::span<const std::uint8_t>, quillora::PlayMode) override {}
  void Stop() override {}
  bool HasSeparateChannelVolumes() const override { return true; }
  std::uint32_t Volume() const override { return 0; }
  void SetVolume(std::uint32_t) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  static NullOutput output;
  quillora::TToneGen gen(nullptr, output);
  try {
    gen.ReadAMArrayData(std::span<const std::uint8_t>(data, size));
  } catch (const std::invalid_argument&) {
    return 0;
  }
  gen.SetDuration(10);
  if (size > 0) {
    gen.SetAMMultiplier(data[0] & 1);
    gen.SetQuality(data[0] & 2 ? quillora::tgLoQ : quillora::tgHiQ);
    gen.SetResolution(data[0] & 4 ? quillora::tg8Bit : quillora::tg16Bit);
    gen.SetFrequency(20 + data[0] * 78);
  }
  gen.PrepareADSR();
  return 0;
}
