// Properties over random melodies:
// - the faults listed are exactly the notes that the key list shows as
//   "ERROR", and each points at its token in the typed text;
// - every valid melody survives RTTTL export and import note for note;
// - whatever RTTTL is imported, the key list of the result has no "ERROR".
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "notation/key_sequence.h"
#include "notation/melody_faults.h"
#include "notation/rtttl_export.h"
#include "notation/rtttl_import.h"

namespace quillora {
namespace {

// Which items of a key list are "ERROR": one flag per counted note.
std::vector<bool> ErrorItems(std::string_view keys) {
  std::vector<bool> errors;
  while (!keys.empty()) {
    if (keys.starts_with(" ERROR,") || keys.starts_with("ERROR, ")) {
      errors.push_back(true);
      keys.remove_prefix(7);
      continue;
    }
    const std::size_t end = keys.find(", ");
    if (end == std::string_view::npos) {
      ADD_FAILURE() << "unexpected key list tail '" << keys << "'";
      break;
    }
    errors.push_back(false);
    keys.remove_prefix(end + 2);
  }
  return errors;
}

class RandomMelodies {
 public:
  explicit RandomMelodies(std::uint32_t seed) : random_(seed) {}

  int Pick(int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(random_);
  }

  template <typename T>
  T Choose(std::initializer_list<T> options) {
    return *(options.begin() + Pick(static_cast<int>(options.size())));
  }

  // A token the phone takes, in any of its spellings.
  std::string ValidToken() {
    std::string token = std::to_string(1 << Pick(6));
    if (Pick(6) == 0) return token + Choose<const char*>({"-", "p", "P"});
    static constexpr const char* kNames[] = {
        "c",  "C", "c#", "#c", "d", "D#", "d.", "e", "f", ".f",
        "F#", "g", "g#", "#G", "a", "A",  "a#", "b", "B", ".a"};
    token += kNames[Pick(20)];
    return token + std::to_string(Choose({1, 2, 3, 5, 6, 7, 0}));
  }

  // A token built from pieces that are often wrong.
  std::string AnyToken() {
    std::string token;
    token += Choose<const char*>({"", "0", "1", "2", "3", "4", "8", "16", "32",
                                  "64", "08", "99999999999"});
    token += Choose<const char*>(
        {"", "c", "e#", "#b", "h", "-", "p", "db", "#", ".", "a.", "f#", "G"});
    token += Choose<const char*>({"", "1", "2", "3", "4", "5", "8", "9", "0",
                                  "2x", "2.", "12", "-", "p"});
    return token;
  }

  // A separator that keeps two tokens apart.
  std::string Blank() {
    return Choose<const char*>({" ", ",", ", ", "   ", " \n", " \r\n", ",\n"});
  }

  // Any separator, including line breaks that join two tokens into one.
  std::string Separator() {
    return Choose<const char*>({" ", ",", ", ", "   ", " \n", " \r\n", "\n",
                                "\r\n", ",\n", "\t", "  ,  "});
  }

 private:
  std::mt19937 random_;
};

TEST(FaultPropertyTest, FaultsAreExactlyTheKeyListsErrors) {
  auto table = std::make_unique<NoteTable>();
  RandomMelodies random(20261211);
  for (int run = 0; run < 4000; ++run) {
    std::string melody;
    const int tokens = run % 30;
    for (int i = 0; i < tokens; ++i) {
      if (i > 0 || random.Pick(4) == 0) melody += random.Separator();
      melody += random.Pick(3) == 0 ? random.ValidToken() : random.AnyToken();
    }
    const std::vector<bool> errors =
        ErrorItems(GenerateKeySequence(melody, *table).keys);
    std::vector<bool> listed(errors.size(), false);
    for (const MelodyFault& fault : FindMelodyFaults(melody)) {
      ASSERT_LT(static_cast<std::size_t>(fault.noteIndex), listed.size())
          << melody;
      listed[fault.noteIndex] = true;
      // The place is the token as typed, line breaks inside aside.
      std::string typed;
      for (const char c : melody.substr(fault.offset, fault.length)) {
        if (c != '\r' && c != '\n') typed.push_back(c);
      }
      EXPECT_EQ(typed, fault.token) << melody;
      EXPECT_FALSE(fault.reason.empty());
    }
    ASSERT_EQ(listed, errors) << "melody '" << melody << "'";
  }
}

TEST(FaultPropertyTest, ValidMelodiesSurviveRtttlExportAndImport) {
  auto table = std::make_unique<NoteTable>();
  RandomMelodies random(7);
  for (int run = 0; run < 2000; ++run) {
    std::string melody;
    for (int i = 0; i < 1 + run % 25; ++i) {
      melody += random.ValidToken() + random.Blank();
    }
    const std::int32_t tempo = 4 + random.Pick(896);
    const RtttlExport exported = ExportRtttl("Tune", melody, tempo);
    ASSERT_TRUE(exported.ok()) << melody << ": " << exported.error;
    const RtttlImport imported = ImportRtttl(exported.text);
    ASSERT_TRUE(imported.ok()) << exported.text << ": " << imported.error;
    EXPECT_TRUE(imported.warnings.empty()) << exported.text;
    EXPECT_EQ(imported.tempo, tempo);
    EXPECT_EQ(imported.title, "Tune");

    // Note for note, as the key-sequence generator reads them.
    GenerateKeySequence(melody, *table);
    std::vector<NoteEntry> before(table->entries.begin(),
                                  table->entries.begin() + table->NoteCount);
    GenerateKeySequence(imported.notes, *table);
    std::vector<NoteEntry> after(table->entries.begin(),
                                 table->entries.begin() + table->NoteCount);
    ASSERT_EQ(before.size(), after.size()) << exported.text;
    for (std::size_t i = 0; i < before.size(); ++i) {
      const bool pause = before[i].Octave < 1;
      EXPECT_EQ(after[i].Octave < 1, pause) << exported.text;
      EXPECT_EQ(after[i].Duration, before[i].Duration) << exported.text;
      if (!pause) {
        EXPECT_EQ(after[i].Semitone, before[i].Semitone) << exported.text;
        EXPECT_EQ(after[i].Octave, before[i].Octave) << exported.text;
      }
    }
  }
}

TEST(FaultPropertyTest, ImportedRtttlNeverShowsError) {
  auto table = std::make_unique<NoteTable>();
  RandomMelodies random(99);
  for (int run = 0; run < 2000; ++run) {
    std::string text = "T:";
    if (random.Pick(2)) text += "d=" + std::to_string(1 << random.Pick(7));
    if (random.Pick(2)) text += ",o=" + std::to_string(random.Pick(10));
    if (random.Pick(2)) text += ", b = " + std::to_string(1 + random.Pick(999));
    text += ":";
    for (int i = 0; i < 1 + run % 40; ++i) {
      if (i > 0) text += random.Choose<const char*>({",", ", ", " ,\n"});
      text += random.Choose<const char*>(
          {"", "1", "2", "4", "8", "16", "32", "64"});
      text += random.Choose<const char*>(
          {"c", "C#", "d", "e", "e#", "f", "g#", "a", "b", "B#", "h", "p"});
      const char* dot = random.Choose<const char*>({"", ".", ""});
      const char* octave = random.Choose<const char*>(
          {"", "0", "3", "4", "5", "6", "7", "8", "9"});
      text += random.Pick(2) ? std::string(dot) + octave
                             : std::string(octave) + dot;
    }
    const RtttlImport imported = ImportRtttl(text);
    ASSERT_TRUE(imported.ok()) << text << ": " << imported.error;
    EXPECT_EQ(GenerateKeySequence(imported.notes, *table).keys.find("ERROR"),
              std::string::npos)
        << text << " gave " << imported.notes;
    EXPECT_TRUE(FindMelodyFaults(imported.notes).empty()) << text;
  }
}

}  // namespace
}  // namespace quillora
