// A frame-by-frame synthesis and envelope that follow the definition word
// for word, with no shortcut: the yardstick for the fast ones in sound/.
// Slow; for tests only.
#pragma once

#include <cstdint>
#include <vector>

#include "sound/synthesis.h"

namespace quillora::literal {

// The whole image: header, samples and spare bytes.
std::vector<std::uint8_t> Synthesize(const ToneSettings& settings);

// The envelope on `samples` (the sample data and the spare bytes).
void ApplyEnvelope(std::vector<std::uint8_t>& samples, std::uint32_t dataSize,
                   bool stereo, TTGResolution resolution,
                   const EnvelopeSettings& envelope);

}  // namespace quillora::literal
