// Drives the real program on an X display as a user would and watches its
// keypad on the screen: types a melody, sets one second per key, presses
// START, then grabs the keypad again and again and names each grab after
// the keypad picture it matches pixel for pixel. Checks that the keys light
// in the expected order, about a second apart, with the bare keypad seen
// between two keys (the release the program shows for 100 ms), and that
// the phone clock changes from its design "00:00" within a second or so of
// the window's appearance. Takes a screenshot of the window a moment into
// each lit key and checks in it the lit keypad against its picture, the
// gauge filling further and the estimate changing; keeps the screenshots
// and one of the end.
//
//   key_entry_screen_check ART_DIR OUT_DIR MELODY KEYS
//
// ART_DIR holds skin.png and keypad_*.png; KEYS are the expected keys in
// order (for instance "1238"). Exit status 0 when all holds.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QThread>
#include <QTime>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// Places on the window, as laid out.
const QRect kKeypad(25, 220, 121, 106);
const QRect kClock(94, 101, 28, 11);
const QRect kGaugeInside(39 + 1, 143 + 1, 89 - 2, 5 - 2);
const QRect kEstimate(39, 149, 90, 11);
// How far into a key its screenshot is taken: the rest of the tick (the
// gauge, the estimate) has been painted by then, and the key is still lit.
constexpr qint64 kShotDelayMs = 300;
const QPoint kMelodyField(184 + 20, 80 + 20);
const QPoint kSecondsField(565 + 10, 306 + 5);
const QPoint kStartButton(185 + 33, 317 + 9);

bool Xdotool(const QStringList& arguments) {
  const int status = QProcess::execute("xdotool", arguments);
  if (status != 0) {
    std::fprintf(stderr, "xdotool %s failed (%d)\n",
                 arguments.join(' ').toLocal8Bit().constData(), status);
  }
  return status == 0;
}

bool ClickAt(QPoint p) {
  return Xdotool({"mousemove", QString::number(p.x()), QString::number(p.y()),
                  "click", "1"});
}

class Screen {
 public:
  explicit Screen(QPoint origin)
      : screen_(QGuiApplication::primaryScreen()), origin_(origin) {}
  QImage Grab(const QRect& area) const {
    return screen_
        ->grabWindow(0, origin_.x() + area.x(), origin_.y() + area.y(),
                     area.width(), area.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
  }

 private:
  QScreen* screen_;
  QPoint origin_;
};

// Pixels of the bar's colour (black) inside the gauge.
int FilledGaugePixels(const QImage& windowShot) {
  int filled = 0;
  for (int y = kGaugeInside.top(); y <= kGaugeInside.bottom(); ++y) {
    for (int x = kGaugeInside.left(); x <= kGaugeInside.right(); ++x) {
      const QRgb p = windowShot.pixel(x, y);
      if (qRed(p) < 40 && qGreen(p) < 40 && qBlue(p) < 40) ++filled;
    }
  }
  return filled;
}

struct Shot {
  std::string key;
  QImage window;
};

struct Seen {
  std::string picture;  // "empty", a key, or "?" for a grab that matched none
  qint64 atMs;
};

}  // namespace

int main(int argc, char** argv) {
  // Started together with the program: this is about its start-up too.
  QElapsedTimer sinceStart;
  sinceStart.start();
  QGuiApplication app(argc, argv);
  if (argc < 5) {
    std::fprintf(stderr,
                 "usage: key_entry_screen_check ART_DIR OUT_DIR MELODY KEYS\n");
    return 2;
  }
  const QString artDir = argv[1], outDir = argv[2];
  const QString melody = argv[3];
  const std::string expectedKeys = argv[4];

  const QImage skin =
      QImage(artDir + "/skin.png").convertToFormat(QImage::Format_RGB32);
  // Each keypad picture by the name it is reported under: "empty" or the
  // key; the file names spell the star and hash keys out.
  const auto stemOf = [](const std::string& name) {
    if (name == "*") return QString("star");
    if (name == "#") return QString("hash");
    return QString::fromStdString(name);
  };
  std::map<std::string, QImage> keypads;
  for (const char* key :
       {"empty", "1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "*", "#"}) {
    keypads[key] = QImage(artDir + "/keypad_" + stemOf(key) + ".png")
                       .convertToFormat(QImage::Format_RGB32);
    if (keypads[key].size() != kKeypad.size()) {
      std::fprintf(stderr, "cannot read the keypad picture %s\n", key);
      return 2;
    }
  }
  const auto nameOf = [&](const QImage& grab) -> std::string {
    for (const auto& [name, picture] : keypads) {
      if (grab == picture) return name;
    }
    return "?";
  };

  QScreen* screen = QGuiApplication::primaryScreen();
  const QRect desktop = screen->geometry();
  const QPoint origin(desktop.x() + (desktop.width() - skin.width()) / 2,
                      desktop.y() + (desktop.height() - skin.height()) / 2);
  const Screen window(origin);
  const auto grabWindow = [&] {
    return window.Grab(QRect(QPoint(0, 0), skin.size()));
  };

  // The window is up once its unlit keypad shows where it belongs.
  QElapsedTimer clock;
  clock.start();
  while (nameOf(window.Grab(kKeypad)) != "empty") {
    if (clock.elapsed() > 30000) {
      grabWindow().save(outDir + "/key_entry_no_window.png");
      std::fprintf(stderr, "the window did not appear\n");
      return 1;
    }
    QThread::msleep(20);
  }
  const QImage clockAtStart = window.Grab(kClock);
  const qint64 windowShownMs = sinceStart.elapsed();
  clock.restart();
  qint64 clockChangedMs = -1;

  // Type the melody, one second per key, START.
  bool ok = ClickAt(origin + kMelodyField) &&
            Xdotool({"type", "--delay", "20", melody}) &&
            ClickAt(origin + kSecondsField) && Xdotool({"key", "ctrl+a"}) &&
            Xdotool({"type", "1"});
  if (!ok) return 1;
  // The clock has ticked by now if it is going to.
  while (clock.elapsed() < 1600 && clockChangedMs < 0) {
    if (window.Grab(kClock) != clockAtStart) clockChangedMs = clock.elapsed();
    QThread::msleep(20);
  }
  if (!ClickAt(origin + kStartButton)) return 1;

  // Watch the keypad for the keys and the end.
  QElapsedTimer watch;
  watch.start();
  const qint64 watchMs = 1000 * (qint64(expectedKeys.size()) + 3);
  std::vector<Seen> seen;
  std::vector<Shot> shots;
  qint64 shotDueMs = -1;
  while (watch.elapsed() < watchMs) {
    const QImage grab = window.Grab(kKeypad);
    const std::string name = nameOf(grab);
    if (seen.empty() || seen.back().picture != name) {
      seen.push_back({name, watch.elapsed()});
      const bool lit = name != "empty" && name != "?";
      shotDueMs = lit ? watch.elapsed() + kShotDelayMs : -1;
    }
    if (shotDueMs >= 0 && watch.elapsed() >= shotDueMs) {
      shots.push_back({seen.back().picture, grabWindow()});
      shots.back().window.save(outDir + QString("/key_entry_%1_%2.png")
                                            .arg(shots.size())
                                            .arg(stemOf(shots.back().key)));
      shotDueMs = -1;
    }
    QThread::msleep(5);
  }
  grabWindow().save(outDir + "/key_entry_end.png");

  // What the screen showed, in order.
  std::string litKeys, trace;
  int releasesBetweenKeys = 0, unknown = 0;
  std::vector<qint64> litAt;
  for (std::size_t i = 0; i < seen.size(); ++i) {
    trace += seen[i].picture + "@" + std::to_string(seen[i].atMs) + " ";
    if (seen[i].picture == "?") {
      ++unknown;
    } else if (seen[i].picture != "empty") {
      litKeys += seen[i].picture;
      litAt.push_back(seen[i].atMs);
    } else if (!litKeys.empty() && i + 1 < seen.size()) {
      // The bare keypad after a key, while more is to come.
      for (std::size_t j = i + 1; j < seen.size(); ++j) {
        if (seen[j].picture != "empty" && seen[j].picture != "?") {
          ++releasesBetweenKeys;
          break;
        }
      }
    }
  }
  std::printf("keypad on screen: %s\n", trace.c_str());

  if (litKeys != expectedKeys) {
    std::fprintf(stderr, "lit keys %s, expected %s\n", litKeys.c_str(),
                 expectedKeys.c_str());
    ok = false;
  }
  for (std::size_t i = 1; i < litAt.size(); ++i) {
    const qint64 gap = litAt[i] - litAt[i - 1];
    if (gap < 700 || gap > 1500) {
      std::fprintf(stderr, "keys %zu and %zu lit %lld ms apart\n", i, i + 1,
                   static_cast<long long>(gap));
      ok = false;
    }
  }
  // Each release lasts 100 ms; grabs every few ms see it unless the machine
  // stalls, so at least one of them must show.
  if (expectedKeys.size() > 1 && releasesBetweenKeys == 0) {
    std::fprintf(stderr, "the released keypad never reached the screen\n");
    ok = false;
  }
  // The screenshots: each keypad exactly its key's picture, the gauge
  // fuller and the estimate different from the key before.
  if (shots.size() != expectedKeys.size()) {
    std::fprintf(stderr, "%zu screenshots of lit keys, expected %zu\n",
                 shots.size(), expectedKeys.size());
    ok = false;
  }
  for (std::size_t i = 0; i < shots.size(); ++i) {
    const QImage& shot = shots[i].window;
    const std::string expected =
        i < expectedKeys.size() ? std::string(1, expectedKeys[i]) : "?";
    if (shot.copy(kKeypad) != keypads[expected]) {
      std::fprintf(stderr, "screenshot %zu: the keypad is not key %s lit\n",
                   i + 1, expected.c_str());
      ok = false;
    }
    if (i == 0) continue;
    const QImage& before = shots[i - 1].window;
    if (FilledGaugePixels(shot) <= FilledGaugePixels(before)) {
      std::fprintf(stderr, "screenshot %zu: the gauge did not fill further\n",
                   i + 1);
      ok = false;
    }
    if (shot.copy(kEstimate) == before.copy(kEstimate)) {
      std::fprintf(stderr, "screenshot %zu: the estimate did not change\n",
                   i + 1);
      ok = false;
    }
  }
  if (seen.empty() || seen.back().picture != "empty") {
    std::fprintf(stderr, "the keypad is not bare at the end\n");
    ok = false;
  }
  // The clock's first tick comes a second after the window was made, so a
  // window seen well within that second must see the clock change. Seen
  // later (a stalled machine), or at midnight, an unchanged clock proves
  // nothing.
  if (clockChangedMs < 0) {
    const QTime now = QTime::currentTime();
    if (windowShownMs < 700 && !(now.hour() == 0 && now.minute() == 0)) {
      std::fprintf(stderr, "the clock still shows its design time\n");
      ok = false;
    } else {
      std::printf("clock not judged: the window showed %lld ms in\n",
                  static_cast<long long>(windowShownMs));
    }
  }
  std::string gauge;
  for (const Shot& shot : shots) {
    gauge += " " + std::to_string(FilledGaugePixels(shot.window));
  }
  std::printf(
      "lit %s, %d releases seen between keys, %d torn grabs, gauge pixels"
      "%s, window shown %lld ms and clock set %lld ms after start-up%s\n",
      litKeys.c_str(), releasesBetweenKeys, unknown, gauge.c_str(),
      static_cast<long long>(windowShownMs),
      static_cast<long long>(
          clockChangedMs < 0 ? -1 : windowShownMs + clockChangedMs),
      ok ? "" : ", FAILED");
  return ok ? 0 : 1;
}
