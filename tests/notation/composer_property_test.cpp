// Property: for any valid melody, replaying the generated key presses on a
// model of the phone's composer gives back exactly the notes typed.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "notation/key_sequence.h"
#include "support/composer_model.h"

namespace quillora {
namespace {

using testing_support::ComposedNote;
using testing_support::ReplayKeys;

struct GeneratedMelody {
  std::string text;
  std::vector<ComposedNote> notes;
};

// Writes random valid melodies in every spelling the notation allows.
class MelodyWriter {
 public:
  explicit MelodyWriter(std::uint32_t seed) : random_(seed) {}

  GeneratedMelody Write(int noteCount) {
    GeneratedMelody melody;
    for (int i = 0; i < noteCount; ++i) {
      if (i > 0) melody.text += Separator();
      ComposedNote note;
      note.duration = 1 << Pick(6);
      melody.text += std::to_string(note.duration);
      if (Pick(5) == 0) {
        note.pause = true;
        note.semitone = 0;
        note.octave = 1;
        melody.text += Choose({"-", "p", "P"});
      } else {
        note.semitone = Pick(12);
        melody.text += NoteName(note.semitone);
        note.octave = 1 + Pick(3);
        // The composer's octaves 1-3 may also be written 5-7.
        melody.text += std::to_string(note.octave + (Pick(2) ? 4 : 0));
      }
      melody.notes.push_back(note);
    }
    return melody;
  }

 private:
  int Pick(int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(random_);
  }

  std::string Choose(std::initializer_list<const char*> options) {
    return *(options.begin() + Pick(static_cast<int>(options.size())));
  }

  std::string NoteName(std::int32_t semitone) {
    static constexpr char kLetters[12] = {'c', 'c', 'd', 'd', 'e', 'f',
                                          'f', 'g', 'g', 'a', 'a', 'b'};
    static constexpr bool kSharp[12] = {false, true,  false, true,
                                        false, false, true,  false,
                                        true,  false, true,  false};
    std::string letter(1, kLetters[semitone]);
    if (Pick(2)) letter[0] = static_cast<char>(letter[0] - 'a' + 'A');
    if (!kSharp[semitone]) return letter;
    const std::string sharp = Choose({"#", "."});  // '.' reads as a sharp
    return Pick(2) ? sharp + letter : letter + sharp;
  }

  std::string Separator() {
    switch (Pick(6)) {
      case 0:
        return ",";
      case 1:
        return ", ";
      case 2:
        return std::string(1 + Pick(5), ' ');
      case 3:
        return " \n";
      case 4:
        return " \r\n";
      default:
        return " ";
    }
  }

  std::mt19937 random_;
};

TEST(ComposerPropertyTest, ReplayedKeysGiveBackTheTypedNotes) {
  auto table = std::make_unique<NoteTable>();
  MelodyWriter writer(20261211);
  for (int run = 0; run < 5000; ++run) {
    const GeneratedMelody melody = writer.Write(run % 40);
    const KeySequence keys = GenerateKeySequence(melody.text, *table);
    ASSERT_EQ(keys.noteCount, static_cast<std::int32_t>(melody.notes.size()))
        << melody.text;
    const auto replayed = ReplayKeys(keys.keys);
    ASSERT_TRUE(replayed.has_value())
        << "melody '" << melody.text << "' gave keys '" << keys.keys << "'";
    ASSERT_EQ(*replayed, melody.notes)
        << "melody '" << melody.text << "' gave keys '" << keys.keys << "'";
  }
}

// The model itself must notice wrong presses, or the property proves little.
TEST(ComposerModelTest, RejectsOrMisreadsWrongPresses) {
  const std::vector<ComposedNote> c2eighth = {{8, false, 0, 2}};
  EXPECT_EQ(ReplayKeys("18*, "), c2eighth);
  EXPECT_NE(ReplayKeys("1*8, "), std::nullopt);
  EXPECT_NE(ReplayKeys("1*, "), c2eighth);
  EXPECT_EQ(ReplayKeys("ERROR, "), std::nullopt);
  EXPECT_EQ(ReplayKeys("3#, "), std::nullopt);
  EXPECT_EQ(ReplayKeys(" 0*, "), std::nullopt);
  // A pause's length presses do not carry over to the next note.
  const std::vector<ComposedNote> pauseThenNote = {{8, true, 0, 1},
                                                   {4, false, 2, 1}};
  EXPECT_EQ(ReplayKeys(" 08, 2, "), pauseThenNote);
}

}  // namespace
}  // namespace quillora
