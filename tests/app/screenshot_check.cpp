// Checks a screenshot of the X display against the skin picture: the main
// window must show the skin unscaled and frameless, centred, at its exact
// size, and the screen around it must show no part of the window. Saves the
// screenshot. Exit status 0 when all holds.
//
//   screenshot_check SKIN.png OUT.png [SECONDS]
//
// Waits up to SECONDS (default 20) for the window to appear.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdio>

namespace {

// Control areas that do not show the bare skin: text fields, live labels,
// the check box. Pixels there are not compared.
const QRect kLiveAreas[] = {
    {184, 80, 328, 93},  {185, 199, 430, 94}, {265, 46, 250, 13},
    {564, 320, 12, 13},  {565, 306, 21, 10},  {364, 66, 37, 11},
    {477, 65, 34, 12},   {94, 101, 28, 11},   {41, 118, 85, 24},
    {25, 220, 121, 106},
};

bool IsLive(QPoint p) {
  for (const QRect& area : kLiveAreas) {
    if (area.contains(p)) return true;
  }
  return false;
}

// Pixels of the skin shown unchanged at `origin` of the screenshot.
int MatchingPixels(const QImage& shot, const QImage& skin, QPoint origin,
                   int* compared) {
  int matching = 0;
  *compared = 0;
  for (int y = 0; y < skin.height(); ++y) {
    for (int x = 0; x < skin.width(); ++x) {
      if (IsLive({x, y})) continue;
      ++*compared;
      if (shot.pixel(origin.x() + x, origin.y() + y) == skin.pixel(x, y))
        ++matching;
    }
  }
  return matching;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: screenshot_check SKIN.png OUT.png [SECONDS]\n");
    return 2;
  }
  const QImage skin = QImage(argv[1]).convertToFormat(QImage::Format_RGB32);
  if (skin.isNull()) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 2;
  }
  const int seconds = argc > 3 ? std::atoi(argv[3]) : 20;
  QScreen* screen = QGuiApplication::primaryScreen();
  const QRect desktop = screen->geometry();
  const QPoint origin(desktop.x() + (desktop.width() - skin.width()) / 2,
                      desktop.y() + (desktop.height() - skin.height()) / 2);

  QImage shot;
  int compared = 0, matching = 0;
  QElapsedTimer clock;
  clock.start();
  // The window may take a moment to map and paint.
  do {
    QThread::msleep(250);
    shot =
        screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    matching = MatchingPixels(shot, skin, origin, &compared);
  } while (matching != compared && clock.elapsed() < seconds * 1000);
  shot.save(argv[2]);

  bool ok = true;
  if (matching != compared) {
    std::fprintf(stderr, "skin at (%d,%d): %d of %d pixels differ\n",
                 origin.x(), origin.y(), compared - matching, compared);
    ok = false;
  }
  // No frame and nothing of the window beyond its size: the pixels just
  // outside the skin are the bare root window's, all alike.
  const QRgb root = shot.pixel(0, 0);
  const QRect window(origin, skin.size());
  const QRect around = window.adjusted(-2, -2, 2, 2);
  int foreign = 0;
  for (int x = around.left(); x <= around.right(); ++x) {
    for (int y : {around.top(), around.top() + 1, around.bottom() - 1,
                  around.bottom()}) {
      if (shot.pixel(x, y) != root) ++foreign;
    }
  }
  for (int y = around.top(); y <= around.bottom(); ++y) {
    for (int x : {around.left(), around.left() + 1, around.right() - 1,
                  around.right()}) {
      if (shot.pixel(x, y) != root) ++foreign;
    }
  }
  if (foreign > 0) {
    std::fprintf(stderr, "%d pixels around the window are not the desktop's\n",
                 foreign);
    ok = false;
  }
  std::printf(
      "screenshot %s: window %dx%d at (%d,%d), %d skin pixels checked%s\n",
      argv[2], skin.width(), skin.height(), origin.x(), origin.y(), compared,
      ok ? "" : ", FAILED");
  return ok ? 0 : 1;
}
