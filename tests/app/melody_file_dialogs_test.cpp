// Open and Save in the main window: the dialogs as shown, the fields they
// fill or read, and the error box of a failed save.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "resources/resources.h"
#include "toolkit/application.h"

namespace quillora {
namespace {

namespace fs = std::filesystem;

// What a dialog looked like when it was shown.
struct ShownDialog {
  TFileDialog::Kind kind;
  std::string title, filter, defaultExt, initialDir;
};

class MelodyFileDialogsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { InitQuilloraResources(); }

  MelodyFileDialogsTest() {
    std::string pattern = testing::TempDir() + "melody_dialogs_XXXXXX";
    folder_ = mkdtemp(pattern.data());
    RegisterProgramClasses(registry_);
    form_ = std::make_unique<TForm1>(nullptr, registry_);
    form_->ShowForm();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form_->Widget()));
    TApplication::Instance().SetErrorBox(
        [this](const std::string& caption, const std::string& text) {
          errorBoxes_.push_back(caption + " | " + text);
        });
  }
  ~MelodyFileDialogsTest() override {
    TFileDialog::SetResponder(nullptr);
    TApplication::Instance().SetErrorBox(
        [](const std::string& caption, const std::string& text) {
          ADD_FAILURE() << "unexpected error box '" << caption << "': " << text;
        });
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  // The next dialog answers `answer` (nothing: Cancel) and is recorded.
  void AnswerDialogsWith(std::optional<fs::path> answer) {
    TFileDialog::SetResponder([this, answer](const TFileDialog& dialog) {
      shown_.push_back({dialog.DialogKind(), dialog.Title(), dialog.Filter(),
                        dialog.DefaultExt(), dialog.InitialDir()});
      return answer ? std::optional<std::string>(answer->string())
                    : std::nullopt;
    });
  }

  static void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  fs::path MelodiesFolderOfTheProgram() const {
    return form_->ProgramFolder() / "melodies";
  }

  fs::path folder_;
  ComponentRegistry registry_;
  std::unique_ptr<TForm1> form_;
  std::vector<ShownDialog> shown_;
  std::vector<std::string> errorBoxes_;
};

TEST_F(MelodyFileDialogsTest, OpenFillsTheFieldsAndRunsTheirHandlers) {
  WriteBytes(folder_ / "tune.qlr",
             "[Melody]\r\nTitle=Fr\xE8re Jacques\r\nNotes=4c1,4d1 4e1\r\n"
             "Temp=fast\r\n");
  AnswerDialogsWith(folder_ / "tune.qlr");
  QTest::mouseClick(form_->SpeedButton5->Widget(), Qt::LeftButton);

  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].kind, TFileDialog::Kind::kOpen);
  EXPECT_EQ(shown_[0].title, "Open music file");
  EXPECT_EQ(shown_[0].filter, "Quillora Files|*.qlr|All files|*.*");
  EXPECT_EQ(shown_[0].defaultExt, "*.qlr");
  EXPECT_EQ(shown_[0].initialDir, MelodiesFolderOfTheProgram().string());

  EXPECT_EQ(form_->Edit1->Text(), "Fr\xC3\xA8re Jacques");
  EXPECT_EQ(form_->Memo1->Text(), "4c1,4d1 4e1");  // as read, not flattened
  EXPECT_EQ(form_->Label2->Caption(), "3");        // Memo1Change ran
  EXPECT_EQ(form_->Memo2->Text(), "1, 2, 3, ");
  EXPECT_EQ(form_->Edit3->Text(), "120");  // Edit3Change corrected "fast"
}

TEST_F(MelodyFileDialogsTest, OpenTakesTheDefaultsOfMissingValues) {
  form_->Memo1->SetText("8c2 8d2");
  const struct {
    const char* name;
    std::string content;
    const char* title;
    const char* tempo;
  } cases[] = {
      {"empty tempo", "[Melody]\r\nTitle=t\r\nTemp=\r\n", "t", ""},
      {"no Melody section", "[Other]\r\nTitle=t\r\n", "", "120"},
  };
  for (const auto& c : cases) {
    form_->Edit3->SetText("90");
    WriteBytes(folder_ / "in.qlr", c.content);
    AnswerDialogsWith(folder_ / "in.qlr");
    QTest::mouseClick(form_->SpeedButton5->Widget(), Qt::LeftButton);
    EXPECT_EQ(form_->Edit1->Text(), c.title) << c.name;
    EXPECT_EQ(form_->Memo1->Text(), "") << c.name;
    EXPECT_EQ(form_->Memo2->Text(), "") << c.name;
    EXPECT_EQ(form_->Label2->Caption(), "0") << c.name;
    EXPECT_EQ(form_->Edit3->Text(), c.tempo) << c.name;
  }
}

TEST_F(MelodyFileDialogsTest, SaveWritesTheFlattenedMelody) {
  form_->Edit1->SetText("My tune");
  form_->Memo1->SetText("8c2, 8d2   16e2\n4f2");
  form_->Edit3->SetText("90");
  AnswerDialogsWith(folder_ / "out.qlr");
  QTest::mouseClick(form_->SpeedButton6->Widget(), Qt::LeftButton);

  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].kind, TFileDialog::Kind::kSave);
  EXPECT_EQ(shown_[0].title, "Save music file");
  EXPECT_EQ(shown_[0].filter, "Quillora Files|*.qlr|All files|*.*");
  EXPECT_EQ(shown_[0].defaultExt, "*.qlr");
  EXPECT_EQ(shown_[0].initialDir, MelodiesFolderOfTheProgram().string());

  EXPECT_EQ(ReadBytes(folder_ / "out.qlr"),
            "[Melody]\r\nTitle=My tune\r\nNotes=8c2 8d2  16e24f2\r\n"
            "Temp=90\r\n");
  EXPECT_EQ(form_->Memo1->Text(), "8c2, 8d2   16e2\n4f2");  // unchanged
}

TEST_F(MelodyFileDialogsTest, CancelTouchesNothing) {
  form_->Edit1->SetText("Kept");
  form_->Memo1->SetText("4c1");
  AnswerDialogsWith(std::nullopt);
  QTest::mouseClick(form_->SpeedButton5->Widget(), Qt::LeftButton);
  QTest::mouseClick(form_->SpeedButton6->Widget(), Qt::LeftButton);
  EXPECT_EQ(shown_.size(), 2u);
  EXPECT_EQ(form_->Edit1->Text(), "Kept");
  EXPECT_EQ(form_->Memo1->Text(), "4c1");
  EXPECT_EQ(form_->Edit3->Text(), "120");
  EXPECT_TRUE(fs::is_empty(folder_));
  // The dialogs start in a melodies folder that is never created.
  EXPECT_FALSE(fs::exists(MelodiesFolderOfTheProgram()));
}

TEST_F(MelodyFileDialogsTest, AFailedSaveShowsTheErrorBoxAndKeepsTheFile) {
  const fs::path locked = folder_ / "locked.qlr";
  WriteBytes(locked, "[Melody]\r\nTitle=Old\r\n");
  fs::permissions(locked, fs::perms::owner_read);
  form_->Edit1->SetText("New");
  AnswerDialogsWith(locked);
  QTest::mouseClick(form_->SpeedButton6->Widget(), Qt::LeftButton);

  const std::vector<std::string> expected = {
      "Quillora (ZIDIZ Edition) | Unable to write to " + locked.string() + "."};
  EXPECT_EQ(errorBoxes_, expected);
  EXPECT_EQ(ReadBytes(locked), "[Melody]\r\nTitle=Old\r\n");
  EXPECT_EQ(form_->Edit1->Text(), "New");
}

TEST_F(MelodyFileDialogsTest, ATitleWithALineBreakIsRefused) {
  const fs::path path = folder_ / "tune.qlr";
  WriteBytes(path, "[Melody]\r\nTitle=Old\r\n");
  form_->Edit1->SetText("x\r\n[Evil]\r\nk=v");
  AnswerDialogsWith(path);
  QTest::mouseClick(form_->SpeedButton6->Widget(), Qt::LeftButton);

  const std::vector<std::string> expected = {
      "Quillora (ZIDIZ Edition) | Unable to write to " + path.string() +
      ": the title holds a line break."};
  EXPECT_EQ(errorBoxes_, expected);
  EXPECT_EQ(ReadBytes(path), "[Melody]\r\nTitle=Old\r\n");
}

// The real dialog: a name typed without an extension gets ".qlr".
TEST_F(MelodyFileDialogsTest, ARealSaveDialogCompletesTheExtension) {
  form_->Memo1->SetText("4c1");
  bool answered = false;
  QTimer::singleShot(0, [&] {
    auto* dialog =
        qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Save music file");
    EXPECT_TRUE(dialog->isSizeGripEnabled());
    EXPECT_FALSE(dialog->testOption(QFileDialog::ReadOnly));
    dialog->selectFile(QString::fromStdString((folder_ / "typed").string()));
    static_cast<QDialog*>(dialog)->accept();  // as the Save button does
    answered = true;
  });
  QTest::mouseClick(form_->SpeedButton6->Widget(), Qt::LeftButton);
  EXPECT_TRUE(answered);
  EXPECT_EQ(ReadBytes(folder_ / "typed.qlr"),
            "[Melody]\r\nTitle=\r\nNotes=4c1\r\nTemp=120\r\n");
}

}  // namespace
}  // namespace quillora
