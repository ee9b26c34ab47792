// The about window and the help button, driven as the user meets them:
// clicks go through the window system, so that a window blocked by a modal
// one really ignores them. No real program starts: a recording stand-in
// takes the place of the desktop's "open" action.
#include "app/about_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "resources/resources.h"
#include "toolkit/desktop_services.h"
#include "toolkit/toolkit_classes.h"

namespace quillora {
namespace {

class RecordingDesktop : public DesktopServices {
 public:
  struct Choice {
    std::string document;
    std::vector<std::string> mimeTypes;
    std::string fallback;
  };
  void Open(const std::string& target) override { opened.push_back(target); }
  void OpenWithHandlerOr(const std::string& document,
                         const std::vector<std::string>& mimeTypes,
                         const std::string& fallback) override {
    choices.push_back({document, mimeTypes, fallback});
  }
  std::vector<std::string> opened;
  std::vector<Choice> choices;
};

// Replaces the desktop's services for the life of a test.
class DesktopStandIn {
 public:
  DesktopStandIn() {
    auto recording = std::make_unique<RecordingDesktop>();
    desktop = recording.get();
    previous_ = InstallDesktopServices(std::move(recording));
  }
  ~DesktopStandIn() { InstallDesktopServices(std::move(previous_)); }
  RecordingDesktop* desktop;

 private:
  std::unique_ptr<DesktopServices> previous_;
};

QPoint CentreOf(const TControl& control) {
  return QPoint(control.Left() + control.Width() / 2,
                control.Top() + control.Height() / 2);
}

QPoint CentreOf(const QRect& rect) {
  return QPoint(rect.left() + rect.width() / 2, rect.top() + rect.height() / 2);
}

// A click at `point` of `window`'s client area, delivered as the window
// system delivers it: to the control under the point, unless a modal window
// blocks this one.
void ClickAt(QWidget& window, QPoint point) {
  QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, point);
}

// Drags `window` by `offset`, pressing `button` at `point` of its client
// area. Offscreen there is no window manager, so the window follows the
// mouse itself; the moves go to it as the mouse's events would.
void DragBy(QWidget& window, QPoint point, QPoint offset,
            Qt::MouseButton button) {
  const QPoint start = window.pos();
  QCursor::setPos(start + point);
  QTest::mousePress(window.windowHandle(), button, {}, point);
  QMouseEvent move(QEvent::MouseMove, QPointF(point + offset),
                   QPointF(start + point + offset), Qt::NoButton, button,
                   Qt::NoModifier);
  QApplication::sendEvent(window.windowHandle(), &move);
  // The window has moved with the mouse, which is over `point` again.
  QTest::mouseRelease(window.windowHandle(), button, {}, point);
}

QRect ScreenGeometry() { return QGuiApplication::primaryScreen()->geometry(); }

class AboutWindowTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { InitQuilloraResources(); }

  AboutWindowTest() {
    RegisterToolkitClasses(registry_);
    about_ = std::make_unique<TForm2>(nullptr, registry_);
    about_->ShowForm();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(about_->Widget()));
  }

  DesktopStandIn standIn_;
  ComponentRegistry registry_;
  std::unique_ptr<TForm2> about_;
};

TEST_F(AboutWindowTest, ShowsTitleAndVersionOverItsPictureWithoutAFrame) {
  QWidget& window = *about_->Widget();
  EXPECT_EQ(window.size(), QSize(400, 250));
  EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(window.geometry().center().x(), ScreenGeometry().center().x());
  EXPECT_NEAR(window.geometry().center().y(), ScreenGeometry().center().y(), 1);

  EXPECT_EQ(about_->Image1->Picture().size(), QSize(400, 250));
  EXPECT_EQ(about_->Image1->Picture().format(), QImage::Format_RGB888);
  EXPECT_EQ(about_->Label3->Caption(),
            "Quillora - Zidiz Edition \r\n(ver. 0.9)");
  EXPECT_EQ(about_->Label3->Font().name, "Arial");
  EXPECT_EQ(about_->Label3->Font().height, 11);
  EXPECT_EQ(about_->Label3->Font().style, FontStyle::kBold);
  EXPECT_EQ(about_->Label3->Font().color, (Rgb{64, 81, 110}));
  EXPECT_EQ(QRect(about_->Label3->Left(), about_->Label3->Top(),
                  about_->Label3->Width(), about_->Label3->Height()),
            QRect(90, 1, 307, 31));
  // The four click areas lie on their painted faces.
  const struct {
    TSpeedButton* button;
    QRect face;
  } buttons[] = {{about_->SpeedButton1, QRect(310, 205, 67, 18)},
                 {about_->SpeedButton2, QRect(310, 71, 67, 17)},
                 {about_->SpeedButton3, QRect(310, 92, 67, 18)},
                 {about_->SpeedButton4, QRect(310, 114, 67, 18)}};
  for (const auto& b : buttons) {
    EXPECT_EQ(QRect(b.button->Left(), b.button->Top(), b.button->Width(),
                    b.button->Height()),
              b.face)
        << b.button->Name();
    EXPECT_TRUE(b.button->Flat()) << b.button->Name();
  }
}

TEST_F(AboutWindowTest, EachLinkHandsItsExactTargetAndLeavesTheWindowOpen) {
  const struct {
    const char* link;
    QRect face;
    const char* target;
  } links[] = {
      {"web site", QRect(310, 71, 67, 17), "https://www.example.org/quillora/"},
      {"mail", QRect(310, 92, 67, 18),
       "mailto:support@example.org?subject=Quillora%20user"},
      {"melodies", QRect(310, 114, 67, 18), "https://melodies.example.org/"},
  };
  for (const auto& link : links) {
    standIn_.desktop->opened.clear();
    ClickAt(*about_->Widget(), CentreOf(link.face));
    EXPECT_EQ(standIn_.desktop->opened, std::vector<std::string>{link.target})
        << link.link;
    EXPECT_TRUE(about_->Widget()->isVisible()) << link.link;
  }
  // OK still closes it afterwards.
  ClickAt(*about_->Widget(), CentreOf(*about_->SpeedButton1));
  EXPECT_FALSE(about_->Widget()->isVisible());
  EXPECT_EQ(standIn_.desktop->opened.size(), 1u);
}

TEST_F(AboutWindowTest, AnyMouseButtonOnThePictureDragsTheWindow) {
  for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
    const QPoint start = about_->Widget()->pos();
    DragBy(*about_->Widget(), QPoint(30, 200), QPoint(-70, 45), button);
    EXPECT_EQ(about_->Widget()->pos(), start + QPoint(-70, 45));
    EXPECT_FALSE(about_->ManualDragActive());
  }
  EXPECT_TRUE(standIn_.desktop->opened.empty());
}

class AboutFromMainWindowTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { InitQuilloraResources(); }

  AboutFromMainWindowTest() {
    RegisterProgramClasses(registry_);
    form_ = std::make_unique<TForm1>(nullptr, registry_);
    form_->ShowForm();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form_->Widget()));
  }

  // Clicks the About face of the main window and runs `whileOpen` on the
  // about window during its modal showing; closes it afterwards with OK,
  // unless `whileOpen` closed it. Returns once the showing has ended.
  void WhileAboutIsOpen(const std::function<void(QWidget& about)>& whileOpen) {
    QObject callContext;  // cancels the calls below if they have not run
    QPointer<QWidget> shown;
    bool ran = false;
    QTimer::singleShot(0, &callContext, [&] {
      ran = true;
      shown = QApplication::activeModalWidget();
      ASSERT_TRUE(shown) << "the about window is not modal";
      ASSERT_TRUE(QTest::qWaitForWindowExposed(shown));
      whileOpen(*shown);
      if (shown && shown->isVisible()) {
        ClickAt(*shown, CentreOf(QRect(310, 205, 67, 18)));
      }
    });
    // A failed check above must not leave the test hanging in the showing.
    QTimer::singleShot(20000, &callContext, [&] {
      if (shown) shown->close();
    });
    ClickAt(*form_->Widget(), CentreOf(*form_->SpeedButton11));
    EXPECT_TRUE(ran) << "the About face opened no modal window";
    EXPECT_TRUE(shown.isNull()) << "the about window outlived its showing";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }

  DesktopStandIn standIn_;
  ComponentRegistry registry_;
  std::unique_ptr<TForm1> form_;
};

TEST_F(AboutFromMainWindowTest, EachOpeningIsAFreshCentredWindowAtPictureSize) {
  const QRect screen = ScreenGeometry();
  QPointer<QWidget> first;
  WhileAboutIsOpen([&](QWidget& about) {
    first = &about;
    EXPECT_EQ(about.size(), QSize(400, 250));
    EXPECT_EQ(about.geometry().center().x(), screen.center().x());
    EXPECT_NEAR(about.geometry().center().y(), screen.center().y(), 1);
    DragBy(about, QPoint(30, 200), QPoint(120, -80), Qt::LeftButton);
    EXPECT_EQ(about.geometry().center().x(), screen.center().x() + 120);
  });
  // Destroyed when its showing ended.
  EXPECT_TRUE(first.isNull());

  WhileAboutIsOpen([&](QWidget& about) {
    EXPECT_EQ(about.size(), QSize(400, 250));
    EXPECT_EQ(about.geometry().center().x(), screen.center().x());
    EXPECT_NEAR(about.geometry().center().y(), screen.center().y(), 1);
  });
}

TEST_F(AboutFromMainWindowTest, MainWindowTakesNoInputWhileAboutIsOpen) {
  int clicks = 0;
  form_->SpeedButton10->OnClick = [&](TComponent&) { ++clicks; };
  const QPoint helpFace = CentreOf(*form_->SpeedButton10);
  WhileAboutIsOpen([&](QWidget&) {
    ClickAt(*form_->Widget(), helpFace);
    ClickAt(*form_->Widget(), CentreOf(*form_->SpeedButton11));
    QTest::mouseClick(form_->Widget()->windowHandle(), Qt::LeftButton, {},
                      CentreOf(*form_->Memo1));
    for (char key : {'8', 'c', '2'}) {
      QTest::keyClick(form_->Widget()->windowHandle(), key);
    }
  });
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(form_->Memo1->Text(), "");
  // Once it is closed, the same click reaches the main window again.
  ClickAt(*form_->Widget(), helpFace);
  EXPECT_EQ(clicks, 1);
}

TEST_F(AboutFromMainWindowTest, ClosingByTheWindowSystemEndsTheShowingToo) {
  QPointer<QWidget> shown;
  WhileAboutIsOpen([&](QWidget& about) {
    shown = &about;
    about.close();
  });
  EXPECT_TRUE(shown.isNull());
  EXPECT_TRUE(form_->Widget()->isVisible());
}

TEST_F(AboutFromMainWindowTest, HelpHandsTheChmBesideTheProgramOrItsHtmlPages) {
  ClickAt(*form_->Widget(), CentreOf(*form_->SpeedButton10));
  ClickAt(*form_->Widget(), CentreOf(*form_->SpeedButton10));
  // Every click opens the help again; nothing waits for a viewer.
  ASSERT_EQ(standIn_.desktop->choices.size(), 2u);
  const RecordingDesktop::Choice& choice = standIn_.desktop->choices[0];
  EXPECT_EQ(choice.document, (form_->ProgramFolder() / "qz.chm").string());
  EXPECT_EQ(choice.mimeTypes,
            (std::vector<std::string>{"application/vnd.ms-htmlhelp",
                                      "application/x-chm"}));
  EXPECT_EQ(choice.fallback,
            (form_->ProgramFolder() / "help" / "contents.html").string());
  EXPECT_TRUE(std::filesystem::path(choice.document).is_absolute());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace quillora
