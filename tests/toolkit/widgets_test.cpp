#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <stdexcept>

#include "toolkit/application.h"
#include "toolkit/file_dialog.h"
#include "toolkit/form.h"
#include "toolkit/gauge.h"
#include "toolkit/memo.h"
#include "toolkit/speed_button.h"
#include "toolkit/timer.h"
#include "toolkit/toolkit_classes.h"

namespace quillora {
namespace {

// Records what the error box would show.
class ErrorBoxRecorder {
 public:
  ErrorBoxRecorder() {
    TApplication::Instance().SetErrorBox(
        [this](const std::string& caption, const std::string& text) {
          shown.push_back({caption, text});
        });
  }
  ~ErrorBoxRecorder() {
    TApplication::Instance().SetErrorBox(
        [](const std::string& caption, const std::string& text) {
          ADD_FAILURE() << "unexpected error box '" << caption << "': " << text;
        });
  }
  std::vector<std::pair<std::string, std::string>> shown;
};

TEST(ErrorBoxTextTest, AppendsAFullStopAfterCharactersAboveIt) {
  const struct {
    std::string message, shown;
  } cases[] = {
      {"'' is not a valid integer value", "'' is not a valid integer value."},
      {"Disk full", "Disk full."},
      {"Code 7", "Code 7."},
      {"Already ends.", "Already ends."},
      {"Stop!", "Stop!"},       // '!' comes before '.'
      {"a list,", "a list,"},   // so does ','
      {"a path/", "a path/."},  // '/' comes after '.'
      {"", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ErrorBoxText(c.message), c.shown) << c.message;
}

TEST(RunHandlerTest, ExceptionReachesTheErrorBoxAndTheProgramGoesOn) {
  ErrorBoxRecorder box;
  TForm form(nullptr);
  TSpeedButton button(&form);
  int clicks = 0;
  button.OnClick = [&](TComponent&) {
    ++clicks;
    throw std::runtime_error("'' is not a valid integer value");
  };
  button.Click();
  button.Click();
  EXPECT_EQ(clicks, 2);
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[0].first, "Quillora (ZIDIZ Edition)");
  EXPECT_EQ(box.shown[0].second, "'' is not a valid integer value.");
}

TEST(TimerTest, SameIntervalOrEnablingAgainKeepsTheRhythm) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = [&](TComponent&) { ++ticks; };
  timer.SetInterval(300);
  // Re-set the same interval and re-enable every 100 ms: were either to
  // restart the count, the timer would never tick.
  QElapsedTimer clock;
  clock.start();
  while (ticks == 0 && clock.elapsed() < 5000) {
    timer.SetInterval(300);
    timer.SetEnabled(true);
    QTest::qWait(100);
  }
  EXPECT_GE(ticks, 1);
}

TEST(TimerTest, NewIntervalRestartsAndDisabledTimerIsSilent) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = [&](TComponent&) { ++ticks; };
  timer.SetEnabled(false);
  timer.SetInterval(10);
  QTest::qWait(100);
  EXPECT_EQ(ticks, 0);
  timer.SetEnabled(true);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks > 0; }, 5000));
}

TEST(GaugeTest, ProgressStaysBetweenTheBounds) {
  TForm form(nullptr);
  TCGauge gauge(&form);
  gauge.SetMinValue(0);
  gauge.SetMaxValue(12);
  gauge.SetProgress(0);
  for (int i = 0; i < 20; ++i) gauge.SetProgress(gauge.Progress() + 1);
  EXPECT_EQ(gauge.Progress(), 12);
  EXPECT_EQ(gauge.PercentDone(), 100);
  gauge.SetMaxValue(5);
  EXPECT_EQ(gauge.Progress(), 5);
  gauge.SetProgress(-3);
  EXPECT_EQ(gauge.Progress(), 0);
  gauge.SetMaxValue(0);  // an empty range shows an empty bar
  EXPECT_EQ(gauge.PercentDone(), 0);
}

TEST(EditFieldsTest, ChangeEventFiresForTypedAndProgramText) {
  TForm form(nullptr);
  TMemo memo(&form);
  TEdit edit(&form);
  form.ShowForm();
  std::vector<std::string> memoTexts, editTexts;
  memo.OnChange = [&](TComponent&) { memoTexts.push_back(memo.Text()); };
  edit.OnChange = [&](TComponent&) { editTexts.push_back(edit.Text()); };

  memo.SetText("8c2");
  QTest::keyClick(memo.Widget(), Qt::Key_End, Qt::ControlModifier);
  QTest::keyClicks(memo.Widget(), " 8d2");
  ASSERT_FALSE(memoTexts.empty());
  EXPECT_EQ(memoTexts.front(), "8c2");
  EXPECT_EQ(memoTexts.back(), "8c2 8d2");
  EXPECT_EQ(memoTexts.size(), 5u);  // one set, four key presses

  edit.SetText("12");
  QTest::keyClicks(edit.Widget(), "3");
  EXPECT_EQ(editTexts, (std::vector<std::string>{"12", "123"}));
}

TEST(EditFieldsTest, UpperCaseFieldTakesTypedLettersInCapitals) {
  TForm form(nullptr);
  ComponentRegistry registry;
  RegisterToolkitClasses(registry);
  LoadComponent(form,
                ParseLayout("TForm F { TEdit E { CharCase: ecUpperCase } }"),
                registry);
  auto& edit = dynamic_cast<TEdit&>(*form.FindComponent("E"));
  int changes = 0;
  edit.OnChange = [&](TComponent&) { ++changes; };
  form.ShowForm();
  QTest::keyClicks(edit.Widget(), "ab1");
  EXPECT_EQ(edit.Text(), "AB1");
  EXPECT_EQ(changes, 3);
}

TEST(EditFieldsTest, TextIsUtf8AtTheEdge) {
  TForm form(nullptr);
  TMemo memo(&form);
  memo.SetText(
      "\xd0\x9c\xd0\xb5\xd0\xbb\xd0\xbe\xd0\xb4\xd0\xb8\xd1\x8f 8c2");  // Cyrillic
  EXPECT_EQ(memo.Text(),
            "\xd0\x9c\xd0\xb5\xd0\xbb\xd0\xbe\xd0\xb4\xd0\xb8\xd1\x8f 8c2");
  memo.SetText("8c2\r\n8d2");
  EXPECT_EQ(memo.Text(), "8c2\n8d2");
}

TEST(FileDialogFilterTest, TurnsBarSeparatedPairsIntoQtFilters) {
  EXPECT_EQ(ToQtFilter("Quillora Files|*.qlr|All files|*.*"),
            "Quillora Files (*.qlr);;All files (*)");
  EXPECT_EQ(ToQtFilter("Sounds|*.wav;*.qlr"), "Sounds (*.wav *.qlr)");
  EXPECT_EQ(ToQtFilter(""), "");
}

TEST(FileDialogTest, ExecuteReportsTheChoiceOrTheCancel) {
  TForm form(nullptr);
  ComponentRegistry registry;
  RegisterToolkitClasses(registry);
  LoadComponent(form, ParseLayout(R"(TForm F {
    TOpenDialog OpenDialog1 {
      Title: "Open music file"
      Filter: "Quillora Files|*.qlr|All files|*.*"
      DefaultExt: "*.qlr"
    }
  })"),
                registry);
  auto& dialog = dynamic_cast<TOpenDialog&>(*form.FindComponent("OpenDialog1"));
  dialog.SetInitialDir("/music/melodies");
  std::optional<std::string> answer = "/music/melodies/tune.qlr";
  std::string seenTitle, seenFolder;
  TFileDialog::SetResponder([&](const TFileDialog& shown) {
    seenTitle = shown.Title();
    seenFolder = shown.InitialDir();
    return answer;
  });
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), "/music/melodies/tune.qlr");
  EXPECT_EQ(seenTitle, "Open music file");
  EXPECT_EQ(seenFolder, "/music/melodies");
  answer.reset();  // Cancel
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), "/music/melodies/tune.qlr");
  TFileDialog::SetResponder(nullptr);
}

TEST(FormTest, DragFollowsTheMouseWhereTheWindowSystemWillNot) {
  TForm form(nullptr);
  ComponentRegistry registry;
  RegisterToolkitClasses(registry);
  LoadComponent(form,
                ParseLayout("TForm F { BorderStyle: bsNone ClientWidth: 200 "
                            "ClientHeight: 100 }"),
                registry);
  form.ShowForm();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
  form.Widget()->move(100, 100);
  QCursor::setPos(110, 120);
  form.StartWindowDrag();
  // The offscreen platform has no window manager to move windows.
  ASSERT_TRUE(form.ManualDragActive());
  QMouseEvent move(QEvent::MouseMove, QPointF(10, 20), QPointF(160, 150),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(form.Widget(), &move);
  EXPECT_EQ(form.Widget()->pos(), QPoint(150, 130));
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(10, 20),
                      QPointF(160, 150), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(form.Widget(), &release);
  EXPECT_FALSE(form.ManualDragActive());
}

}  // namespace
}  // namespace quillora
