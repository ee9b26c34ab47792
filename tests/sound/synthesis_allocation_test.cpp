// Running out of memory during a synthesis is reported, not fatal. This
// program fails the n-th allocation of a call on purpose.
#include <gtest/gtest.h>

#include "sound/synthesis.h"
#include "tests/support/failing_allocator.h"

namespace quillora {
namespace {

// Fails the first, then the second, ... allocation of a synthesis until one
// runs through: every failure must give no image, and a failure-free run
// must still give the full image.
TEST(SynthesisAllocationTest, EveryFailedAllocationGivesNoImage) {
  ToneSettings settings;
  settings.Frequency = 441;
  settings.Waveform = tgTriangle;
  settings.AMAmplitudes = {20, 0, 0, 0, 30};
  settings.AMWaveforms[4] = tgNoise;

  int failuresReported = 0;
  for (long allowed = 0;; ++allowed) {
    testing_support::FailAllocationAfter(allowed);
    std::optional<WaveImage> image = SynthesizeWaveImage(settings);
    const bool failureHappened = testing_support::ArmedFailureHappened();
    testing_support::StopFailingAllocations();
    if (!failureHappened) {
      ASSERT_TRUE(image.has_value());
      EXPECT_EQ(image->BufferSize, 19276u);
      break;
    }
    EXPECT_FALSE(image.has_value()) << "allocation " << allowed << " failed";
    ++failuresReported;
  }
  // The image itself and the scratch of the periodic layers.
  EXPECT_GE(failuresReported, 2);
}

}  // namespace
}  // namespace quillora
