// Melody files on disk: flattening, loading, and saves that either happen
// whole or leave the old file as it was.
#include "files/melody_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "notation/key_sequence.h"

namespace quillora {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// ---------------------------------------------------------------- flattening

TEST(FlattenMelodyTextTest, GivesOneLineWithTheSameNotes) {
  const struct {
    const char* text;
    const char* flat;
  } cases[] = {
      {"8c2, 8d2   16e2\n4f2", "8c2 8d2  16e24f2"},  // a line break joins
      {"8c2   8d2", "8c2  8d2"},                     // three blanks: two
      {"8c2    8d2", "8c2  8d2"},                    // four blanks: two
      {"8c2     8d2", "8c2   8d2"},                  // five blanks: three
      {"", ""},
      {" \t\r\n ", ""},
      {"\r\n 4.c2,8c2 \r\n", "4#c2 8c2"},
      {"4c2\r\n\r\n8d2", "4c28d2"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FlattenMelodyText(c.text), c.flat)
        << testing::PrintToString(c.text);
  }
}

// ------------------------------------------------------------- files on disk

class MelodyFileTest : public testing::Test {
 protected:
  MelodyFileTest() {
    std::string pattern = testing::TempDir() + "melody_file_XXXXXX";
    folder_ = mkdtemp(pattern.data());
  }
  ~MelodyFileTest() override {
    std::error_code ignored;
    fs::permissions(folder_, fs::perms::owner_all, ignored);
    fs::remove_all(folder_, ignored);
  }

  fs::path File(const char* name) const { return folder_ / name; }

  static void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::set<std::string> FolderListing() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }
  // Saves and expects the refusal with its message for `path`.
  static void ExpectSaveFails(const fs::path& path, const MelodyFile& melody,
                              const std::string& message) {
    try {
      SaveMelodyFile(path, melody);
      ADD_FAILURE() << "saved " << path;
    } catch (const FileWriteError& error) {
      EXPECT_EQ(error.what(), message);
    }
  }

  fs::path folder_;
  const MelodyFile tune_{"Evening tune", "8c2 8e2 4g2 4- 8#f2 2c3", "140"};
};

TEST_F(MelodyFileTest, LoadsWhatTheFileHolds) {
  const struct {
    const char* name;
    std::string content;
    MelodyFile expected;
  } cases[] = {
      {"written by Save",
       "[Melody]\r\nTitle=Evening tune\r\nNotes=8c2 8e2 4g2\r\nTemp=140\r\n",
       {"Evening tune", "8c2 8e2 4g2", "140"}},
      {"empty tempo", "[Melody]\r\nTemp=\r\n", {"", "", ""}},
      {"no Melody section", "[Other]\r\nTitle=x\r\n", {"", "", "120"}},
      {"no INI at all", "\x89PNG\r\n\x1A\n\0\0"s, {"", "", "120"}},
      {"names in other cases",
       "[melody]\nTITLE=a\nnotes=4c1\nTEMP=90",
       {"a", "4c1", "90"}},
      {"a title from an 8-bit system",
       "[Melody]\r\nTitle=Fr\xE8re Jacques\r\n",
       {"Fr\xC3\xA8re Jacques", "", "120"}},
      {"2048 characters of notes",
       "[Melody]\r\nNotes=" + std::string(2048, 'x') + "\r\n",
       {"", std::string(2047, 'x'), "120"}},
  };
  for (const auto& c : cases) {
    WriteBytes(File("in.qlr"), c.content);
    EXPECT_EQ(LoadMelodyFile(File("in.qlr")), c.expected) << c.name;
  }
}

TEST_F(MelodyFileTest, WhatCannotBeReadLoadsTheDefaults) {
  const MelodyFile defaults{"", "", "120"};
  EXPECT_EQ(LoadMelodyFile(File("missing.qlr")), defaults);
  EXPECT_EQ(LoadMelodyFile(folder_), defaults);
  EXPECT_EQ(LoadMelodyFile("/dev/zero"), defaults);  // endless, not regular
  EXPECT_EQ(FolderListing(), std::set<std::string>{});
}

TEST_F(MelodyFileTest, SaveWritesANewFile) {
  SaveMelodyFile(File("new.qlr"), tune_);
  EXPECT_EQ(ReadBytes(File("new.qlr")),
            "[Melody]\r\nTitle=Evening tune\r\nNotes=8c2 8e2 4g2 4- 8#f2 "
            "2c3\r\nTemp=140\r\n");
  EXPECT_EQ(FolderListing(), std::set<std::string>{"new.qlr"});
}

TEST_F(MelodyFileTest, SaveIntoAnotherFileChangesOnlyTheThreeValues) {
  WriteBytes(File("mixed.ini"),
             "# settings\n[Window]\nleft = 10\n\n[Melody]\n; mine\n"
             "Title = Old\nNotes=4c1\nTemp =  90  \n\n[Zeta]\nz=1");
  SaveMelodyFile(File("mixed.ini"), tune_);
  EXPECT_EQ(ReadBytes(File("mixed.ini")),
            "# settings\n[Window]\nleft = 10\n\n[Melody]\n; mine\n"
            "Title = Evening tune\nNotes=8c2 8e2 4g2 4- 8#f2 2c3\n"
            "Temp =  140  \n\n[Zeta]\nz=1");
  // An INI file without the section gains it at its end.
  WriteBytes(File("other.ini"), "[Window]\r\nleft=10\r\n");
  SaveMelodyFile(File("other.ini"), tune_);
  EXPECT_EQ(ReadBytes(File("other.ini")),
            "[Window]\r\nleft=10\r\n[Melody]\r\nTitle=Evening tune\r\n"
            "Notes=8c2 8e2 4g2 4- 8#f2 2c3\r\nTemp=140\r\n");
}

TEST_F(MelodyFileTest, SaveKeepsThePermissionsAndFollowsLinks) {
  WriteBytes(File("shared.qlr"), "[Melody]\r\nTitle=x\r\n");
  fs::permissions(File("shared.qlr"), fs::perms::owner_read |
                                          fs::perms::owner_write |
                                          fs::perms::group_read);
  fs::create_symlink("shared.qlr", File("link.qlr"));
  SaveMelodyFile(File("link.qlr"), tune_);
  EXPECT_TRUE(fs::is_symlink(File("link.qlr")));
  EXPECT_EQ(LoadMelodyFile(File("shared.qlr")), tune_);
  EXPECT_EQ(
      fs::status(File("shared.qlr")).permissions(),
      fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(FolderListing(), (std::set<std::string>{"link.qlr", "shared.qlr"}));
}

TEST_F(MelodyFileTest, SaveAndReopenGiveTheSameNotes) {
  const std::string typed = " 8c2, 8d2   16e2\r\n4f2  4.c3,8p\n4b1 \n";
  MelodyFile melody{"  \"Ode\"", FlattenMelodyText(typed), "90"};
  SaveMelodyFile(File("again.qlr"), melody);
  const MelodyFile loaded = LoadMelodyFile(File("again.qlr"));
  EXPECT_EQ(loaded, melody);  // title with its blanks and quotes, too

  NoteTable before, after;
  const KeySequence typedKeys = GenerateKeySequence(typed, before);
  const KeySequence loadedKeys = GenerateKeySequence(loaded.notes, after);
  EXPECT_EQ(loadedKeys.noteCount, typedKeys.noteCount);
  EXPECT_EQ(loadedKeys.keys, typedKeys.keys);
  for (int i = 0; i < typedKeys.noteCount; ++i) {
    EXPECT_EQ(after.entries[i], before.entries[i]) << "note " << i;
  }
}

// ------------------------------------------------------------ failed saves

TEST_F(MelodyFileTest, ALineBreakInAValueIsRefusedBeforeAnythingIsWritten) {
  const std::string before = "[Melody]\r\nTitle=Old\r\nTemp=90\r\n";
  WriteBytes(File("tune.qlr"), before);
  MelodyFile evil = tune_;
  evil.title = "x\r\n[Evil]\r\nk=v";
  ExpectSaveFails(File("tune.qlr"), evil,
                  "Unable to write to " + File("tune.qlr").string() +
                      ": the title holds a line break");
  MelodyFile pastedTempo = tune_;
  pastedTempo.tempo = "140\n";
  ExpectSaveFails(File("tune.qlr"), pastedTempo,
                  "Unable to write to " + File("tune.qlr").string() +
                      ": the tempo holds a line break");
  EXPECT_EQ(ReadBytes(File("tune.qlr")), before);
  EXPECT_EQ(FolderListing(), std::set<std::string>{"tune.qlr"});
}

// A melody longer than a value may hold would open cut, and a second save
// would lose its tail for good: it is refused while the window still holds
// it whole.
TEST_F(MelodyFileTest, AValueThatWouldNotReadBackWholeIsRefused) {
  const std::string before = "[Melody]\r\nTitle=Old\r\nTemp=90\r\n";
  WriteBytes(File("tune.qlr"), before);
  MelodyFile longest = tune_;
  longest.notes = std::string(2047, 'x');
  SaveMelodyFile(File("long.qlr"), longest);
  EXPECT_EQ(LoadMelodyFile(File("long.qlr")), longest);

  MelodyFile tooLong = tune_;
  tooLong.notes = std::string(2048, 'x');
  ExpectSaveFails(File("tune.qlr"), tooLong,
                  "Unable to write to " + File("tune.qlr").string() +
                      ": the melody would not read back whole; a melody file "
                      "holds at most 2047 characters of UTF-8 text in a value");
  MelodyFile notUtf8 = tune_;
  notUtf8.title = "caf\xE9";
  ExpectSaveFails(File("tune.qlr"), notUtf8,
                  "Unable to write to " + File("tune.qlr").string() +
                      ": the title would not read back whole; a melody file "
                      "holds at most 2047 characters of UTF-8 text in a value");
  EXPECT_EQ(ReadBytes(File("tune.qlr")), before);
  EXPECT_EQ(FolderListing(), (std::set<std::string>{"long.qlr", "tune.qlr"}));
}

TEST_F(MelodyFileTest, AReadOnlyFileIsLeftAlone) {
  const std::string before = "[Melody]\r\nTitle=Keep me\r\n";
  WriteBytes(File("locked.qlr"), before);
  fs::permissions(File("locked.qlr"),
                  fs::perms::owner_read | fs::perms::group_read);
  ExpectSaveFails(File("locked.qlr"), tune_,
                  "Unable to write to " + File("locked.qlr").string());
  EXPECT_EQ(ReadBytes(File("locked.qlr")), before);
  EXPECT_EQ(FolderListing(), std::set<std::string>{"locked.qlr"});
}

TEST_F(MelodyFileTest, AMissingFolderIsNotCreated) {
  const fs::path path = folder_ / "no such folder" / "tune.qlr";
  ExpectSaveFails(path, tune_, "Unable to write to " + path.string());
  EXPECT_EQ(FolderListing(), std::set<std::string>{});
}

TEST_F(MelodyFileTest, ARelativeNameIsReportedInFull) {
  const fs::path previous = fs::current_path();
  fs::current_path(folder_);
  ExpectSaveFails(
      "missing/tune.qlr", tune_,
      "Unable to write to " + (folder_ / "missing/tune.qlr").string());
  fs::current_path(previous);
}

TEST_F(MelodyFileTest, ADeviceIsNoMelodyFile) {
  ExpectSaveFails("/dev/full", tune_, "Unable to write to /dev/full");
}

// A file-size limit makes every write past a few bytes fail as on a full
// disk (EFBIG instead of ENOSPC; the write path is the same).
class FullDisk {
 public:
  explicit FullDisk(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FullDisk() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit saved_{};
  void (*previousHandler_)(int);
};

TEST_F(MelodyFileTest, AFullDiskLeavesTheOldFileWhole) {
  const std::string before = "[Melody]\r\nTitle=Old\r\nNotes=4c1\r\n";
  WriteBytes(File("full.qlr"), before);
  {
    FullDisk disk(16);
    ExpectSaveFails(File("full.qlr"), tune_,
                    "Unable to write to " + File("full.qlr").string());
    ExpectSaveFails(File("fresh.qlr"), tune_,
                    "Unable to write to " + File("fresh.qlr").string());
  }
  EXPECT_EQ(ReadBytes(File("full.qlr")), before);
  EXPECT_EQ(FolderListing(), std::set<std::string>{"full.qlr"});
}

}  // namespace
}  // namespace quillora
