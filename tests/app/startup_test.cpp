// Start-up with and without a melody file named on the command line, through
// the real message loop.
#include "app/startup.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QIcon>
#include <QImage>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "resources/resources.h"
#include "toolkit/application.h"

namespace quillora {
namespace {

namespace fs = std::filesystem;

struct ArgumentCase {
  std::string name;
  std::vector<const char*> argv;
  fs::path expected;  // empty: no file

  friend void PrintTo(const ArgumentCase& row, std::ostream* out) {
    *out << row.name;
  }
};

class MelodyFileArgumentTest : public testing::TestWithParam<ArgumentCase> {};

TEST_P(MelodyFileArgumentTest, TakesTheOneFileNamed) {
  const ArgumentCase& row = GetParam();
  EXPECT_EQ(
      MelodyFileArgument(static_cast<int>(row.argv.size()), row.argv.data()),
      row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, MelodyFileArgumentTest,
    testing::Values(ArgumentCase{"ProgramNameOnly", {"quillora"}, {}},
                    ArgumentCase{"NoArgumentsAtAll", {}, {}},
                    ArgumentCase{
                        "OneFile", {"quillora", "tune.qlr"}, "tune.qlr"},
                    ArgumentCase{"NameWithBlanks",
                                 {"quillora", "/home/u/My tunes/a b.qlr"},
                                 "/home/u/My tunes/a b.qlr"}),
    [](const testing::TestParamInfo<ArgumentCase>& info) {
      return info.param.name;
    });

TEST(MelodyFileArgument, MoreThanOneArgumentIsRefusedWithTheUsage) {
  const char* argv[] = {"quillora", "a.qlr", "b.qlr"};
  try {
    MelodyFileArgument(3, argv);
    ADD_FAILURE() << "two files taken";
  } catch (const std::invalid_argument& error) {
    EXPECT_STREQ(error.what(), "Usage: quillora [FILE.qlr]");
  }
}

// What the main window shows once the message loop runs.
struct Shown {
  std::string title, notes, tempo, noteCount, keys;
};

class StartupTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { InitQuilloraResources(); }

  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("quillora_startup_test_" + std::to_string(::getpid()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path Write(const std::string& name, const std::string& bytes) {
    const fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  // Runs the start-up with `melodyFile`, reads the fields as soon as the
  // loop runs, then ends the loop.
  Shown Start(const fs::path& melodyFile, int* status = nullptr) {
    TApplication& application = TApplication::Instance();
    Shown shown;
    QTimer::singleShot(0, [&] {
      auto* form = dynamic_cast<TForm1*>(application.MainForm());
      if (form == nullptr) {
        ADD_FAILURE() << "no main window";
      } else {
        shown = {form->Edit1->Text(), form->Memo1->Text(), form->Edit3->Text(),
                 form->Label2->Caption(), form->Memo2->Text()};
      }
      application.Terminate();
    });
    const int result =
        RunMainWindow(application, kMainWindowLayout, melodyFile);
    if (status) *status = result;
    EXPECT_EQ(application.MainForm(), nullptr);
    return shown;
  }

  fs::path folder_;
};

// Taskbars and window switchers show the main window's icon: the embedded
// handset, readable at each size they ask for, not the desktop's generic
// one.
TEST_F(StartupTest, TheMainWindowCarriesTheProgramsIcon) {
  TApplication& application = TApplication::Instance();
  QIcon icon;
  QTimer::singleShot(0, [&] {
    if (TForm* form = application.MainForm()) {
      icon = form->Widget()->windowIcon();
    }
    application.Terminate();
  });
  RunMainWindow(application, kMainWindowLayout, {});
  ASSERT_FALSE(icon.isNull());
  for (const int size : {16, 32, 48, 256}) {
    const QImage picture = icon.pixmap(size, size).toImage();
    ASSERT_EQ(picture.size(), QSize(size, size)) << size;
    // Painted on a transparent square: clear corners, an opaque middle.
    EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0) << size;
    EXPECT_EQ(qAlpha(picture.pixel(size / 2, size / 2)), 255) << size;
  }
}

TEST_F(StartupTest, WithoutAFileTheWindowStartsEmpty) {
  int status = -1;
  const Shown shown = Start({}, &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(shown.title, "");
  EXPECT_EQ(shown.notes, "");
  EXPECT_EQ(shown.tempo, "120");
  EXPECT_EQ(shown.noteCount, "0");
  EXPECT_EQ(shown.keys, "");
}

TEST_F(StartupTest, TheNamedFileFillsTheFieldsAsOpenDoes) {
  const fs::path file = Write("evening tune.qlr",
                              "[Melody]\r\nTitle=Evening tune\r\n"
                              "Notes=8c2 4#f1 16-\r\nTemp=140\r\n");
  int status = -1;
  const Shown shown = Start(file, &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(shown.title, "Evening tune");
  EXPECT_EQ(shown.notes, "8c2 4#f1 16-");
  EXPECT_EQ(shown.tempo, "140");
  // Setting the notes ran the key sequence, as after Open.
  EXPECT_EQ(shown.noteCount, "3");
  EXPECT_EQ(shown.keys, "18*, 4#9**,  088, ");
}

TEST_F(StartupTest, ARelativeNameIsTakenFromTheCurrentFolder) {
  Write("short.qlr", "[Melody]\nNotes=4c1\n");
  const fs::path before = fs::current_path();
  fs::current_path(folder_);
  const Shown shown = Start("short.qlr");
  fs::current_path(before);
  EXPECT_EQ(shown.notes, "4c1");
  EXPECT_EQ(shown.noteCount, "1");
}

TEST_F(StartupTest, AMissingOrForeignFileGivesTheDefaultsAsOpenDoes) {
  for (const fs::path& file :
       {folder_ / "missing.qlr", Write("photo.qlr", "\x89PNG\r\n\x1a\n")}) {
    const Shown shown = Start(file);
    EXPECT_EQ(shown.title, "") << file;
    EXPECT_EQ(shown.notes, "") << file;
    EXPECT_EQ(shown.tempo, "120") << file;
    EXPECT_EQ(shown.noteCount, "0") << file;
  }
}

}  // namespace
}  // namespace quillora
