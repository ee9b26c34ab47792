// The melodies shipped with the program: each a melody file as Save writes
// it, titled, at a usable tempo, with a key list free of faults, and copied
// beside the executable.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "base/text_ops.h"
#include "files/melody_file.h"
#include "notation/key_sequence.h"

namespace quillora {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> ShippedMelodies() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(QUILLORA_MELODIES_DIR)) {
    if (entry.path().extension() == ".qlr") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(MelodiesTest, AtLeastTwelveAreShipped) {
  EXPECT_GE(ShippedMelodies().size(), 12u);
}

TEST(MelodiesTest, EveryMelodyOpensWithoutAFault) {
  for (const fs::path& file : ShippedMelodies()) {
    SCOPED_TRACE(file.filename().string());
    const MelodyFile melody = LoadMelodyFile(file);
    EXPECT_FALSE(melody.title.empty());
    const auto tempo = ToInt32(melody.tempo);
    ASSERT_TRUE(tempo);
    EXPECT_GE(*tempo, 40);
    EXPECT_LE(*tempo, 240);
    NoteTable table;
    const KeySequence keys = GenerateKeySequence(melody.notes, table);
    EXPECT_GE(keys.noteCount, 8);
    EXPECT_EQ(keys.keys.find("ERROR"), std::string::npos) << keys.keys;
  }
}

TEST(MelodiesTest, EachFileIsExactlyWhatSaveWrites) {
  std::string pattern = testing::TempDir() + "melodies_XXXXXX";
  const fs::path folder = mkdtemp(pattern.data());
  for (const fs::path& file : ShippedMelodies()) {
    const fs::path again = folder / file.filename();
    SaveMelodyFile(again, LoadMelodyFile(file));
    EXPECT_EQ(ReadBytes(again), ReadBytes(file)) << file.filename();
  }
  fs::remove_all(folder);
}

TEST(MelodiesTest, TheBuildPutsThemBesideTheProgram) {
  for (const fs::path& file : ShippedMelodies()) {
    const fs::path copy =
        fs::path(QUILLORA_BUILT_MELODIES_DIR) / file.filename();
    EXPECT_EQ(ReadBytes(copy), ReadBytes(file)) << copy;
  }
}

}  // namespace
}  // namespace quillora
