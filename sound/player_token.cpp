#include "sound/player_token.h"

#include <array>
#include <limits>
#include <optional>

#include "base/melody_text.h"

namespace quillora {
namespace {

// Equal temperament with A = 110 Hz at semitone 9.
constexpr std::array<double, 12> kBaseFrequencies = {
    65.4063913251, 69.2956577442, 73.4161919794,  77.7817459305,
    82.4068892282, 87.3070578583, 92.4986056779,  97.9988589954,
    103.826174395, 110.0,         116.5409403795, 123.470825314,
};

constexpr std::int32_t kDefaultLengthNumber = 8;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsRestSign(char c) { return c == '-' || c == 'p' || c == 'P'; }

bool EndsNoteName(char c) { return IsDigit(c) || c == '.' || IsRestSign(c); }

// The value of a run of digits, or nothing when it exceeds 32 bits.
std::optional<std::int32_t> DigitsValue(std::string_view digits) {
  std::int64_t value = 0;
  for (char c : digits) {
    value = value * 10 + (c - '0');
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

std::int32_t NoteFrequency(std::int32_t semitone, std::int32_t octave) {
  double frequency = kBaseFrequencies[static_cast<std::size_t>(semitone)];
  for (std::int32_t k = octave; k > 1; --k) frequency *= 2.0;
  return static_cast<std::int32_t>(frequency * 8.0);
}

}  // namespace

std::int32_t PlayerTempo(std::int32_t requested) {
  return requested >= kMinPlayerTempo && requested <= kMaxPlayerTempo
             ? requested
             : kDefaultTempo;
}

PlayerToken ReadPlayerToken(std::string_view token, std::int32_t tempo) {
  const PlayerToken faulty{};

  std::size_t lengthDigits = 0;
  while (lengthDigits < token.size() && IsDigit(token[lengthDigits])) {
    ++lengthDigits;
  }
  std::int32_t lengthNumber = kDefaultLengthNumber;
  if (lengthDigits > 0) {
    const auto value = DigitsValue(token.substr(0, lengthDigits));
    if (!value || *value == 0) return faulty;
    lengthNumber = *value;
  }
  const std::string_view rest = token.substr(lengthDigits);

  std::size_t nameLength = 0;
  while (nameLength < rest.size() && !EndsNoteName(rest[nameLength])) {
    ++nameLength;
  }
  const char octaveSign = nameLength < rest.size() ? rest[nameLength] : '1';

  PlayerToken result;
  const float wholeNote = static_cast<float>(60.0 / (PlayerTempo(tempo) / 4));
  result.length =
      static_cast<float>(static_cast<double>(wholeNote) / lengthNumber * 925.0);
  result.waitMilliseconds = static_cast<std::int32_t>(result.length);

  const std::int32_t semitone = NoteNameToIndex(rest.substr(0, nameLength));
  if (IsRestSign(octaveSign)) {
    result.kind = PlayerTokenKind::kRest;
  } else if (!IsDigit(octaveSign)) {
    return faulty;
  } else if (semitone < 0) {
    result.kind = PlayerTokenKind::kRest;
  } else {
    std::int32_t octave = octaveSign - '0';
    if (octave > 4) octave -= 4;
    result.kind = PlayerTokenKind::kNote;
    result.frequency = NoteFrequency(semitone, octave);
  }
  return result;
}

}  // namespace quillora
