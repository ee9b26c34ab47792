// The main window as the user meets it, driven through its real widgets.
#include "app/main_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QTest>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/startup.h"
#include "resources/resources.h"
#include "toolkit/application.h"

namespace quillora {
namespace {

class MainWindowTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { InitQuilloraResources(); }

  MainWindowTest() {
    RegisterProgramClasses(registry_);
    form_ = std::make_unique<TForm1>(nullptr, registry_);
    form_->ShowForm();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form_->Widget()));
  }

  // Replaces a field's whole text as a user would: select all, then paste
  // (the fields check every change, so typing "-3" key by key would be
  // checked at "-" already).
  void PasteInto(TControl& field, const QString& text) {
    field.Widget()->setFocus();
    QTest::keyClick(field.Widget(), Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) {
      QTest::keyClick(field.Widget(), Qt::Key_Delete);
    } else {
      QApplication::clipboard()->setText(text);
      QTest::keyClick(field.Widget(), Qt::Key_V, Qt::ControlModifier);
    }
  }

  ComponentRegistry registry_;
  std::unique_ptr<TForm1> form_;
};

TEST_F(MainWindowTest, StartsAsTheBareSkinWithItsDefaults) {
  EXPECT_EQ(form_->Widget()->size(), QSize(635, 353));
  EXPECT_TRUE(form_->Widget()->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(form_->Caption(), "Quillora (ZIDIZ Edition)");
  // Centred on the desktop at its shown size.
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(form_->Widget()->geometry().center().x(), screen.center().x());
  EXPECT_NEAR(form_->Widget()->geometry().center().y(), screen.center().y(), 1);

  EXPECT_EQ(form_->Label2->Caption(), "0");
  EXPECT_EQ(form_->Memo2->Text(), "");
  EXPECT_EQ(form_->Label4->Caption(), "ZIDIZ");
  EXPECT_EQ(form_->Label3->Caption(), "00:00");
  EXPECT_EQ(form_->Edit2->Text(), "2");
  EXPECT_EQ(form_->Edit3->Text(), "120");
  EXPECT_TRUE(form_->CheckBox1->Checked());
  EXPECT_FALSE(form_->CGauge1->Widget()->isVisible());
  EXPECT_FALSE(form_->Label5->Widget()->isVisible());
  EXPECT_TRUE(form_->Timer1->Enabled());
  EXPECT_FALSE(form_->Timer2->Enabled());
  // The melody field is first in the tab order.
  EXPECT_EQ(form_->Widget()->focusWidget(), form_->Memo1->Widget());
}

TEST_F(MainWindowTest, LitKeyPicturesLieOutsideTheShownWindow) {
  for (TImage* picture : {form_->Image_1, form_->Image_5, form_->Image_zv,
                          form_->Image_rs, form_->Image_empty}) {
    EXPECT_GE(picture->Top(), form_->Height()) << picture->Name();
    EXPECT_EQ(picture->Picture().size(), QSize(121, 106)) << picture->Name();
  }
  EXPECT_EQ(form_->Image2->Picture().size(), QSize(121, 106));
  EXPECT_EQ(form_->Image1->Picture().size(), QSize(635, 353));
  EXPECT_EQ(form_->Image1->Picture().format(), QImage::Format_RGB888);
}

TEST_F(MainWindowTest, TypingAMelodyRewritesCountAndKeys) {
  form_->Memo1->Widget()->setFocus();
  QTest::keyClicks(form_->Memo1->Widget(), "8c2 8d2");
  EXPECT_EQ(form_->Label2->Caption(), "2");
  EXPECT_EQ(form_->Memo2->Text(), "18*, 2, ");

  // Enter starts a new line; a line break joins the tokens around it.
  QTest::keyClick(form_->Memo1->Widget(), Qt::Key_Return);
  QTest::keyClicks(form_->Memo1->Widget(), "4c1");
  EXPECT_EQ(form_->Label2->Caption(), "2");
  EXPECT_EQ(form_->Memo2->Text(), "18*,  ERROR,");  // 8d24c1 has no octave
}

TEST_F(MainWindowTest, PastingAMelodyRewritesCountAndKeys) {
  QApplication::clipboard()->setText("4c1 8d1 8e2 4- 16#f2 2.c3 8p 4b1");
  form_->Memo1->Widget()->setFocus();
  QTest::keyClick(form_->Memo1->Widget(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(form_->Label2->Caption(), "8");
  EXPECT_EQ(form_->Memo2->Text(), "1, 28, 3*,  09, 4#8, 1#999*,  088, 78*, ");
  // Deleting it all empties the list again.
  PasteInto(*form_->Memo1, "");
  EXPECT_EQ(form_->Label2->Caption(), "0");
  EXPECT_EQ(form_->Memo2->Text(), "");
}

TEST_F(MainWindowTest, FieldsAreCheckedAtEveryKeyPress) {
  PasteInto(*form_->Edit2, "");
  QTest::keyClicks(form_->Edit2->Widget(),
                   "-3");  // "-" is no number: "1", then "13"
  EXPECT_EQ(form_->Edit2->Text(), "10");
}

TEST_F(MainWindowTest, KeyListIsReadOnly) {
  form_->Memo2->Widget()->setFocus();
  QTest::keyClicks(form_->Memo2->Widget(), "123");
  EXPECT_EQ(form_->Memo2->Text(), "");
}

TEST_F(MainWindowTest, SecondsPerKeyFieldIsCorrectedOnEntry) {
  const struct {
    const char* typed;
    const char* shown;
  } cases[] = {{"0", "1"}, {"-3", "1"}, {"11", "10"}, {"250", "10"},
               {"5", "5"}, {"x", "1"},  {"", ""}};
  for (const auto& c : cases) {
    PasteInto(*form_->Edit2, c.typed);
    EXPECT_EQ(form_->Edit2->Text(), c.shown) << "typed '" << c.typed << "'";
  }
}

TEST_F(MainWindowTest, TempoFieldTakesAnyWholeNumber) {
  const struct {
    const char* typed;
    const char* shown;
  } cases[] = {
      {"abc", "120"}, {"90", "90"}, {"0", "0"}, {"-20", "-20"}, {"", ""}};
  for (const auto& c : cases) {
    PasteInto(*form_->Edit3, c.typed);
    EXPECT_EQ(form_->Edit3->Text(), c.shown) << "typed '" << c.typed << "'";
  }
}

TEST_F(MainWindowTest, SetByProgramTheFieldsAreCorrectedToo) {
  form_->Edit2->SetText("11");
  EXPECT_EQ(form_->Edit2->Text(), "10");
  form_->Edit3->SetText("fast");
  EXPECT_EQ(form_->Edit3->Text(), "120");
  form_->Memo1->SetText("8c2,8d2");
  EXPECT_EQ(form_->Memo2->Text(), "18*, 2, ");
}

TEST_F(MainWindowTest, ToneGeneratorHasTheKeyBeepVoice) {
  TToneGen& tone = *form_->ToneGen1;
  EXPECT_EQ(tone.Waveform(), tgTriangle);
  EXPECT_EQ(tone.Decay(), 60);
  EXPECT_TRUE(tone.Async());
  EXPECT_FALSE(tone.Loop());
  EXPECT_EQ(tone.Quality(), tgHiQ);
  EXPECT_EQ(tone.AMAmplitudes(), (std::array<std::int16_t, 8>{}));
  EXPECT_EQ(tone.AMFrequencies()[7], 4.0f);
  // Stored again, it gives back just what its layout holds.
  std::vector<std::string> stored;
  for (const LayoutProperty& p : SaveComponent(tone).properties)
    stored.push_back(p.name);
  EXPECT_EQ(stored, (std::vector<std::string>{"Waveform", "Decay",
                                              "AMAmplitude", "AMWaveform",
                                              "AMFrequency", "AMArrayData"}));
  // A full-amplitude triangle: the key beep of 1000 Hz, 200 ms.
  tone.SetFrequency(1000);
  tone.SetDuration(200);
  tone.Prepare();
  const auto image = tone.GetDataBuffer();
  ASSERT_EQ(image.size(), 38476u);
  EXPECT_EQ(image[44] | (image[45] << 8), 0x8001);  // -32767
}

TEST_F(MainWindowTest, TitleStripDragsTheWindow) {
  const QPoint start = form_->Widget()->pos();
  QCursor::setPos(start + QPoint(300, 20));
  QTest::mousePress(form_->Label1->Widget(), Qt::RightButton, {},
                    QPoint(124, 20));
  ASSERT_TRUE(form_->ManualDragActive());
  QMouseEvent move(QEvent::MouseMove, QPointF(130, 25),
                   QPointF(start + QPoint(340, 60)), Qt::NoButton,
                   Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(form_->Label1->Widget(), &move);
  EXPECT_EQ(form_->Widget()->pos(), start + QPoint(40, 40));
  QTest::mouseRelease(form_->Label1->Widget(), Qt::RightButton);
  EXPECT_FALSE(form_->ManualDragActive());
}

// A layout that must stop the start-up, and a part of the message that says
// why.
struct BrokenLayoutCase {
  const char* name;
  const char* file;
  const char* messagePart;
  // Test output names the row, not its bytes.
  friend void PrintTo(const BrokenLayoutCase& c, std::ostream* os) {
    *os << c.name;
  }
};

class BrokenLayoutTest : public testing::TestWithParam<BrokenLayoutCase> {
 protected:
  static void SetUpTestSuite() { InitQuilloraResources(); }

  std::string Path() const {
    return std::string(QUILLORA_TEST_DATA) + "/" + GetParam().file;
  }
};

TEST_P(BrokenLayoutTest, TheWindowIsNotBuiltAndTheMessageSaysWhy) {
  ComponentRegistry registry;
  RegisterProgramClasses(registry);
  try {
    TForm1 form(nullptr, registry, Path().c_str());
    ADD_FAILURE() << GetParam().file << " loaded";
  } catch (const std::exception& error) {
    EXPECT_THAT(error.what(), testing::HasSubstr(GetParam().messagePart));
  }
}

TEST_P(BrokenLayoutTest, StartUpShowsTheErrorBoxAndFails) {
  std::vector<std::string> shown;
  TApplication& application = TApplication::Instance();
  application.SetErrorBox(
      [&](const std::string& caption, const std::string& text) {
        shown.push_back(caption + ": " + text);
      });
  const int status = RunMainWindow(application, Path().c_str());
  application.SetErrorBox(
      [](const std::string& caption, const std::string& text) {
        ADD_FAILURE() << "unexpected error box '" << caption << "': " << text;
      });
  EXPECT_EQ(status, kStartupFailed);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_THAT(shown[0], testing::StartsWith("Quillora (ZIDIZ Edition): "));
  EXPECT_THAT(shown[0], testing::HasSubstr(GetParam().messagePart));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, BrokenLayoutTest,
    testing::Values(
        BrokenLayoutCase{"UnknownClass", "unknown_class.layout",
                         "line 3: unknown class TButton"},
        BrokenLayoutCase{"UnknownProperty", "unknown_property.layout",
                         "line 4: TMemo has no property Lines"},
        BrokenLayoutCase{"MissingControl", "missing_control.layout",
                         "no control SpeedButton1"},
        BrokenLayoutCase{"Unterminated", "unterminated.layout", "missing '}'"},
        BrokenLayoutCase{"MissingPicture", "missing_picture.layout",
                         "cannot load the picture "
                         ":/quillora/no_such_picture.png"}),
    [](const testing::TestParamInfo<BrokenLayoutCase>& info) {
      return std::string(info.param.name);
    });

}  // namespace
}  // namespace quillora
