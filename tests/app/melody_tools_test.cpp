// Memo1's tools in the main window: faulty notes underlined with their
// reasons, RTTTL import through the menu, the clipboard and a dropped file,
// RTTTL copied out, a dropped melody file opened, a WAV file exported.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QHelpEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolTip>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "files/melody_file.h"
#include "resources/resources.h"
#include "toolkit/application.h"
#include "toolkit/clipboard.h"
#include "toolkit/message_box.h"

namespace quillora {
namespace {

namespace fs = std::filesystem;

class MelodyToolsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { InitQuilloraResources(); }

  MelodyToolsTest() {
    std::string pattern = testing::TempDir() + "melody_tools_XXXXXX";
    folder_ = mkdtemp(pattern.data());
    RegisterProgramClasses(registry_);
    form_ = std::make_unique<TForm1>(nullptr, registry_);
    form_->ShowForm();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form_->Widget()));
    TApplication::Instance().SetErrorBox(
        [this](const std::string&, const std::string& text) {
          errorBoxes_.push_back(text);
        });
    SetMessageBoxResponder([this](const std::string&, const std::string& text) {
      messageBoxes_.push_back(text);
    });
  }
  ~MelodyToolsTest() override {
    TFileDialog::SetResponder(nullptr);
    SetMessageBoxResponder(nullptr);
    TApplication::Instance().SetErrorBox(
        [](const std::string& caption, const std::string& text) {
          ADD_FAILURE() << "unexpected error box '" << caption << "': " << text;
        });
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  std::string Write(const char* name, const std::string& content) {
    const fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
  }

  void AnswerDialogsWith(std::optional<std::string> answer) {
    TFileDialog::SetResponder([answer](const TFileDialog&) { return answer; });
  }

  ComponentRegistry registry_;
  std::unique_ptr<TForm1> form_;
  fs::path folder_;
  std::vector<std::string> errorBoxes_;
  std::vector<std::string> messageBoxes_;
};

TEST_F(MelodyToolsTest, FaultyNotesAreUnderlinedWithTheirReasons) {
  const std::string melody = "8c2 4#e2 3c1 \n8c4 8d2";
  form_->Memo1->SetText(melody);
  const std::vector<TextMark> marks = form_->Memo1->Marks();
  ASSERT_EQ(marks.size(), 3u);
  EXPECT_EQ(melody.substr(marks[0].offset, marks[0].length), "4#e2");
  EXPECT_EQ(marks[0].hint, "E has no sharp on the phone");
  EXPECT_EQ(melody.substr(marks[2].offset, marks[2].length), "8c4");
  EXPECT_EQ(form_->Memo1->HintAt(14),
            "octave 4 is beyond the phone's three "
            "octaves");
  EXPECT_EQ(form_->Memo1->HintAt(0), "");
  // The text stays as typed; the key list is the generator's own.
  EXPECT_EQ(form_->Memo1->Text(), melody);
  EXPECT_EQ(form_->Memo2->Text(), "18*, ERROR,  ERROR, ERROR,2, ");
}

// Hovering over a faulty note shows its reason; elsewhere no tooltip.
TEST_F(MelodyToolsTest, TheTooltipOverAFaultyNoteGivesItsReason) {
  form_->Memo1->SetText("8c2 8e#2 8d2");
  auto* edit = static_cast<QPlainTextEdit*>(form_->Memo1->Widget());
  const auto tooltipAt = [&](int position) {
    QTextCursor cursor(edit->document());
    cursor.setPosition(position);
    const QPoint where = edit->cursorRect(cursor).center();
    QHelpEvent help(QEvent::ToolTip, where,
                    edit->viewport()->mapToGlobal(where));
    QApplication::sendEvent(edit->viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text().toStdString()
                                 : std::string();
  };
  EXPECT_EQ(tooltipAt(1), "");
  EXPECT_EQ(tooltipAt(6), "E has no sharp on the phone");
  QToolTip::hideText();
}

TEST_F(MelodyToolsTest, UnderlinesFollowTypingAndMultibyteText) {
  auto* edit = static_cast<QPlainTextEdit*>(form_->Memo1->Widget());
  // A two-byte letter is a token of its own, faulty, before the notes.
  form_->Memo1->SetText("\u00e9 8c2 8d2");
  ASSERT_EQ(form_->Memo1->Marks().size(), 1u);
  edit->setFocus();
  edit->moveCursor(QTextCursor::End);
  QTest::keyClicks(edit, " 8e#2");
  const std::vector<TextMark> marks = form_->Memo1->Marks();
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_EQ(form_->Memo1->Text().substr(marks[0].offset, marks[0].length),
            "\u00e9");
  EXPECT_EQ(form_->Memo1->Text().substr(marks[1].offset, marks[1].length),
            "8e#2");
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, "e2");
  EXPECT_EQ(form_->Memo1->Marks().size(), 1u) << form_->Memo1->Text();
}

TEST_F(MelodyToolsTest, TheContextMenuOffersTheTools) {
  EXPECT_EQ(form_->Memo1->MenuItems(),
            (std::vector<std::string>{"Import RTTTL\u2026", "Paste RTTTL",
                                      "Copy as RTTTL", "Export as WAV\u2026"}));
}

TEST_F(MelodyToolsTest, ImportSetsTheFieldsAsOpenDoesAndListsWarnings) {
  AnswerDialogsWith(Write("tune.rtttl", "Tune:d=8,o=4,b=125:c,e,32g.\n"));
  form_->Memo1->ChooseMenuItem("Import RTTTL\u2026");
  EXPECT_EQ(form_->Edit1->Text(), "Tune");
  EXPECT_EQ(form_->Memo1->Text(), "8c1 8e1 32g1");
  EXPECT_EQ(form_->Edit3->Text(), "125");
  EXPECT_EQ(form_->Label2->Caption(), "3");
  ASSERT_EQ(messageBoxes_.size(), 1u);
  EXPECT_NE(messageBoxes_[0].find("moved up 1 octave"), std::string::npos);
  EXPECT_NE(messageBoxes_[0].find("dotted 32nd"), std::string::npos);

  // Cancel changes nothing.
  AnswerDialogsWith(std::nullopt);
  form_->Memo1->ChooseMenuItem("Import RTTTL\u2026");
  EXPECT_EQ(form_->Memo1->Text(), "8c1 8e1 32g1");
}

TEST_F(MelodyToolsTest, PasteAndCopyGoThroughTheClipboard) {
  SetClipboardText("Beep:b=100:8c6,8e6");
  form_->Memo1->ChooseMenuItem("Paste RTTTL");
  EXPECT_EQ(form_->Memo1->Text(), "8c2 8e2");
  EXPECT_TRUE(messageBoxes_.empty());

  form_->Memo1->SetText("8c2 8e2 4g2");
  form_->Memo1->ChooseMenuItem("Copy as RTTTL");
  EXPECT_EQ(ClipboardText(), "Beep:b=100:8c,8e,g");

  // What is not RTTTL, and a melody with faults, reach the error box and
  // change nothing.
  SetClipboardText("8c2 4#f1");
  form_->Memo1->ChooseMenuItem("Paste RTTTL");
  form_->Memo1->SetText("8c2 8h2");
  form_->Memo1->ChooseMenuItem("Copy as RTTTL");
  ASSERT_EQ(errorBoxes_.size(), 2u);
  EXPECT_NE(errorBoxes_[0].find("not RTTTL"), std::string::npos);
  EXPECT_NE(errorBoxes_[1].find("8h2"), std::string::npos);
  EXPECT_EQ(ClipboardText(), "8c2 4#f1");
}

TEST_F(MelodyToolsTest, DroppedFilesOpenOrImport) {
  const std::string qlr = (folder_ / "evening.qlr").string();
  SaveMelodyFile(qlr, {"Evening", "8c2 8e2", "140"});
  form_->DropFiles({qlr});
  EXPECT_EQ(form_->Edit1->Text(), "Evening");
  EXPECT_EQ(form_->Memo1->Text(), "8c2 8e2");
  EXPECT_EQ(form_->Edit3->Text(), "140");

  form_->DropFiles({Write("tune.RTX", "Tune:d=4,o=5,b=90,l=2:c,d\n")});
  EXPECT_EQ(form_->Memo1->Text(), "4c1 4d1");
  EXPECT_EQ(form_->Edit3->Text(), "90");
  EXPECT_EQ(messageBoxes_.size(), 1u);  // the loop setting is left out

  form_->DropFiles({Write("picture.png", "x")});
  EXPECT_EQ(errorBoxes_.size(), 1u);
  EXPECT_EQ(form_->Memo1->Text(), "4c1 4d1");
}

// A file dragged onto Memo1 is taken by the window, not typed into the
// field as its name.
TEST_F(MelodyToolsTest, AFileDroppedOnMemo1IsOpenedNotInserted) {
  const std::string qlr = (folder_ / "drop.qlr").string();
  SaveMelodyFile(qlr, {"Dropped", "4c1", "100"});
  auto* viewport =
      static_cast<QPlainTextEdit*>(form_->Memo1->Widget())->viewport();
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(qlr))});
  const QPointF where(5, 5);
  QDragEnterEvent enter(where.toPoint(), Qt::CopyAction, &data, Qt::LeftButton,
                        Qt::NoModifier);
  QApplication::sendEvent(viewport, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &drop);
  EXPECT_EQ(form_->Memo1->Text(), "4c1");
  EXPECT_EQ(form_->Edit1->Text(), "Dropped");
}

TEST_F(MelodyToolsTest, ExportWavWritesWhatThePlayerSounds) {
  form_->Memo1->SetText("4c1 4-");
  form_->Edit3->SetText("100");
  const std::string wav = (folder_ / "melody.wav").string();
  AnswerDialogsWith(wav);
  form_->Memo1->ChooseMenuItem("Export as WAV\u2026");
  // Two quarters at tempo 100: 555 ms each, 96000 frames of 2 bytes a second.
  EXPECT_EQ(fs::file_size(wav), 44u + 1110u * 96u * 2u);

  form_->Edit3->SetText("");
  form_->Memo1->ChooseMenuItem("Export as WAV\u2026");
  ASSERT_EQ(errorBoxes_.size(), 1u);
  EXPECT_EQ(errorBoxes_[0], "'' is not a valid integer value.");
}

}  // namespace
}  // namespace quillora
