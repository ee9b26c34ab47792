// Checks a screenshot of the X display for the about window shown over the
// main window: the about picture unscaled and frameless in the desktop's
// centre, its title and version written right-aligned in two lines over it,
// and the main window's skin still around it. Saves the screenshot. Exit
// status 0 when all holds.
//
//   about_screenshot_check SKIN.png ABOUT.png OUT.png [SECONDS]
//
// Waits up to SECONDS (default 20) for the about window to appear.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdio>
#include <cstdlib>

namespace {

// Where the about window writes its title and version over the picture.
const QRect kTitleArea(90, 1, 307, 31);

// Main-window controls that do not show the bare skin (text fields, live
// labels, the check box, the keypad); not compared.
const QRect kSkinLiveAreas[] = {{184, 80, 328, 93}, {185, 199, 430, 94},
                                {265, 46, 250, 13}, {564, 320, 12, 13},
                                {565, 306, 21, 10}, {364, 66, 37, 11},
                                {477, 65, 34, 12},  {94, 101, 28, 11},
                                {41, 118, 85, 24},  {25, 220, 121, 106}};

QPoint CentredOrigin(const QRect& desktop, QSize size) {
  return {desktop.x() + (desktop.width() - size.width()) / 2,
          desktop.y() + (desktop.height() - size.height()) / 2};
}

// Pixels of `picture` that the screenshot shows unchanged at `origin`,
// leaving out the points that `skip` names; `compared` counts the others.
template <typename Skip>
int Matching(const QImage& shot, const QImage& picture, QPoint origin,
             Skip skip, int* compared) {
  int matching = 0;
  *compared = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      if (skip(QPoint(x, y))) continue;
      ++*compared;
      if (shot.pixel(origin + QPoint(x, y)) == picture.pixel(x, y)) ++matching;
    }
  }
  return matching;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: about_screenshot_check SKIN.png ABOUT.png OUT.png "
                 "[SECONDS]\n");
    return 2;
  }
  const QImage skin = QImage(argv[1]).convertToFormat(QImage::Format_RGB32);
  const QImage about = QImage(argv[2]).convertToFormat(QImage::Format_RGB32);
  if (skin.isNull() || about.isNull()) {
    std::fprintf(stderr, "cannot read %s or %s\n", argv[1], argv[2]);
    return 2;
  }
  const int seconds = argc > 4 ? std::atoi(argv[4]) : 20;
  QScreen* screen = QGuiApplication::primaryScreen();
  const QRect desktop = screen->geometry();
  const QPoint aboutOrigin = CentredOrigin(desktop, about.size());
  const QPoint skinOrigin = CentredOrigin(desktop, skin.size());
  const QRect aboutOnSkin(aboutOrigin - skinOrigin, about.size());

  auto aboutSkip = [](QPoint p) { return kTitleArea.contains(p); };
  auto skinSkip = [&](QPoint p) {
    if (aboutOnSkin.contains(p)) return true;
    for (const QRect& area : kSkinLiveAreas) {
      if (area.contains(p)) return true;
    }
    return false;
  };

  QImage shot;
  int aboutCompared = 0, aboutMatching = 0;
  QElapsedTimer clock;
  clock.start();
  // The window may take a moment to map and paint.
  do {
    QThread::msleep(250);
    shot =
        screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    aboutMatching =
        Matching(shot, about, aboutOrigin, aboutSkip, &aboutCompared);
  } while (aboutMatching != aboutCompared && clock.elapsed() < seconds * 1000);
  shot.save(argv[3]);

  bool ok = true;
  if (aboutMatching != aboutCompared) {
    std::fprintf(stderr, "about picture at (%d,%d): %d of %d pixels differ\n",
                 aboutOrigin.x(), aboutOrigin.y(),
                 aboutCompared - aboutMatching, aboutCompared);
    ok = false;
  }
  int skinCompared = 0;
  const int skinMatching =
      Matching(shot, skin, skinOrigin, skinSkip, &skinCompared);
  if (skinMatching != skinCompared) {
    std::fprintf(stderr, "main window around it: %d of %d pixels differ\n",
                 skinCompared - skinMatching, skinCompared);
    ok = false;
  }
  // The title and version: text in both lines, flush with the right edge.
  QRect written;
  bool upperLine = false, lowerLine = false;
  for (int y = kTitleArea.top(); y <= kTitleArea.bottom(); ++y) {
    for (int x = kTitleArea.left(); x <= kTitleArea.right(); ++x) {
      if (shot.pixel(aboutOrigin + QPoint(x, y)) == about.pixel(x, y)) continue;
      written |= QRect(x, y, 1, 1);
      (y < kTitleArea.top() + kTitleArea.height() / 2 ? upperLine : lowerLine) =
          true;
    }
  }
  if (!upperLine || !lowerLine || written.right() < kTitleArea.right() - 8) {
    std::fprintf(stderr,
                 "title not written in two right-aligned lines: text at "
                 "(%d,%d) %dx%d\n",
                 written.x(), written.y(), written.width(), written.height());
    ok = false;
  }
  std::printf(
      "screenshot %s: about window %dx%d at (%d,%d) over the main window, "
      "%d + %d pixels checked%s\n",
      argv[3], about.width(), about.height(), aboutOrigin.x(), aboutOrigin.y(),
      aboutCompared, skinCompared, ok ? "" : ", FAILED");
  return ok ? 0 : 1;
}
