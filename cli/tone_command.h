// quillora-cli tone: one tone from the tone generator, written as a WAV file
// or played on the sound device.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace quillora {

// Runs the tone command on the arguments after "tone" (tone_options.h reads
// them). Returns kExitOk, kExitFailure (the file could not be written, the
// tone not played) or kExitUsage.
int RunToneCommand(const std::vector<std::string>& args, std::ostream& out,
                   std::ostream& err);

}  // namespace quillora
