// Uses the installed Quillora on an X display as a person would, through
// xdotool, and checks what the screen and the sound output show.
//
//   e2e_driver PREFIX ART_DIR OUT_DIR SCRATCH_DIR
//
// PREFIX is the installation (bin/quillora, bin/quillora-cli), ART_DIR the
// window pictures of the build (skin.png, about.png, keypad_*.png), OUT_DIR
// where the screenshots e2e_*.png are kept, SCRATCH_DIR a folder of its own
// for the melody files and the sound written by SDL's disk driver.
//
// The expectations come from the installed quillora-cli: the note count and
// key list of the melody, and the tones the player makes for it. The note
// count and key list on the screen are compared with a reference: the same
// program started on a melody file that holds the melody (its command-line
// argument), whose text the program has not seen typed. Each step waits for
// what it expects with a deadline and fails there; nothing sleeps blindly
// for long. Exit status 0 when everything holds.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

// Places on the main window and the about window, as laid out.
const QRect kTitleStrip(176, 0, 457, 41);
const QRect kMelodyTitle(265, 46, 250, 13);
const QRect kAboutButton(522, 46, 49, 12);
const QRect kCloseButton(607, 46, 12, 12);
const QRect kNotation(184, 80, 328, 93);
const QRect kNoteCount(477, 65, 34, 12);
const QRect kOpenButton(527, 82, 33, 30);
const QRect kSaveButton(577, 82, 33, 30);
const QRect kPlayButton(524, 152, 42, 18);
const QRect kStopPlayButton(572, 152, 42, 18);
const QRect kKeyList(185, 199, 430, 94);
const QRect kStartButton(185, 317, 67, 18);
const QRect kSecondsPerKey(565, 306, 21, 10);
const QRect kKeypad(25, 220, 121, 106);
const QSize kMainSize(635, 353);
const QSize kAboutSize(400, 250);
const QRect kAboutTitle(90, 1, 307, 31);
const QRect kAboutOk(310, 205, 67, 18);

const QString kMelody = "4c1 4e1 4g1 4c2 4g1 4e1";
const QString kTitle = "Evening e2e";

// SDL's disk driver writes what the program's output opens: 16-bit stereo
// at 48000 frames a second.
constexpr int kFrameRate = 48000;
constexpr int kBytesPerFrame = 4;

bool failed = false;
void Fail(const std::string& what) {
  std::fprintf(stderr, "FAIL: %s\n", what.c_str());
  failed = true;
}
void Note(const std::string& what) { std::printf("%s\n", what.c_str()); }

// Polls `done` every `pollMs` until it holds or `deadlineMs` has passed.
bool WaitFor(const std::function<bool()>& done, int deadlineMs,
             int pollMs = 30) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > deadlineMs) return false;
    QThread::msleep(pollMs);
  }
  return true;
}

struct CommandResult {
  int status = -1;
  QByteArray out;
};

CommandResult Execute(const QString& program, const QStringList& arguments,
                      const QByteArray& input = {}) {
  QProcess process;
  process.start(program, arguments);
  process.write(input);
  process.closeWriteChannel();
  if (!process.waitForFinished(30000)) {
    process.kill();
    process.waitForFinished();
    return {};
  }
  return {
      process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
      process.readAllStandardOutput()};
}

QString Xdotool(const QStringList& arguments) {
  const CommandResult run = Execute("xdotool", arguments);
  return QString::fromUtf8(run.out).trimmed();
}

void ClickAt(QPoint p) {
  Xdotool({"mousemove", QString::number(p.x()), QString::number(p.y()), "click",
           "1"});
}
void Type(const QString& text) { Xdotool({"type", "--delay", "30", text}); }
void Key(const QString& key) { Xdotool({"key", key}); }

// The visible windows of a process and where they are on the screen.
std::vector<QRect> WindowsOf(qint64 pid) {
  std::vector<QRect> windows;
  const QString ids =
      Xdotool({"search", "--onlyvisible", "--pid", QString::number(pid)});
  for (const QString& id : ids.split('\n', Qt::SkipEmptyParts)) {
    std::map<QString, int> shell;
    const QString lines = Xdotool({"getwindowgeometry", "--shell", id});
    for (const QString& line : lines.split('\n')) {
      const int equals = line.indexOf('=');
      if (equals > 0) shell[line.left(equals)] = line.mid(equals + 1).toInt();
    }
    windows.emplace_back(shell["X"], shell["Y"], shell["WIDTH"],
                         shell["HEIGHT"]);
  }
  return windows;
}

std::optional<QRect> WindowOfSize(qint64 pid, QSize size) {
  for (const QRect& window : WindowsOf(pid)) {
    if (window.size() == size) return window;
  }
  return std::nullopt;
}

QImage Grab(const QRect& area) {
  return QGuiApplication::primaryScreen()
      ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

QImage GrabScreen() {
  const QRect all = QGuiApplication::primaryScreen()->geometry();
  return Grab(all);
}

QImage LoadPicture(const QString& path) {
  QImage picture(path);
  if (picture.isNull()) Fail("cannot read " + path.toStdString());
  return picture.convertToFormat(QImage::Format_RGB32);
}

// The share of `picture`'s pixels that `shot` holds unchanged at the same
// places, leaving out the rectangle `skip`.
double MatchingShare(const QImage& shot, const QImage& picture,
                     const QRect& skip = {}) {
  int compared = 0, matching = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      if (skip.contains(x, y)) continue;
      ++compared;
      if (shot.pixel(x, y) == picture.pixel(x, y)) ++matching;
    }
  }
  return compared == 0 ? 0 : double(matching) / compared;
}

// A program started from the installation, with its exit awaited.
class Program {
 public:
  Program(const QString& launcher, const QStringList& arguments,
          const QProcessEnvironment& environment) {
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::ForwardedChannels);
    process_.start(launcher, arguments);
    process_.waitForStarted();
  }
  ~Program() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished();
    }
  }
  qint64 Pid() const { return process_.processId(); }
  bool Running() const { return process_.state() != QProcess::NotRunning; }
  // True when the program ended by itself within `deadlineMs` with status 0.
  bool EndsCleanly(int deadlineMs, const char* what) {
    if (!process_.waitForFinished(deadlineMs)) {
      Fail(std::string(what) + ": the program did not end");
      return false;
    }
    if (process_.exitStatus() != QProcess::NormalExit ||
        process_.exitCode() != 0) {
      Fail(std::string(what) + ": the program ended with status " +
           std::to_string(process_.exitCode()) +
           (process_.exitStatus() == QProcess::NormalExit ? "" : " (crash)"));
      return false;
    }
    return true;
  }
  // The ids of the program's threads.
  std::set<QString> Threads() const {
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(Pid()));
    const QStringList ids = tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    return {ids.begin(), ids.end()};
  }

 private:
  QProcess process_;
};

// The melody as the installed quillora-cli sees it: `keys` prints the key
// list, `play --dry-run` each tone the player starts.
struct Expected {
  std::string keyString;         // the key characters in the order they light
  std::vector<int> frequencies;  // the tones in the order they sound
};

Expected ExpectationsFromCli(const QString& cli) {
  Expected expected;
  const CommandResult keys = Execute(cli, {"keys"}, kMelody.toUtf8());
  const QStringList lines = QString::fromUtf8(keys.out).split('\n');
  if (keys.status != 0 || lines.size() < 2) {
    Fail("quillora-cli keys failed");
    return expected;
  }
  for (const QChar c : lines[1]) {
    if (c != ',' && c != ' ') expected.keyString += c.toLatin1();
  }
  const CommandResult play =
      Execute(cli, {"play", "--dry-run"}, kMelody.toUtf8());
  for (const QString& line : QString::fromUtf8(play.out).split('\n')) {
    const QStringList words = line.split(' ');
    if (words.size() == 3 && words[0] == "play") {
      expected.frequencies.push_back(words[1].toInt());
    }
  }
  Note("expected keys " + expected.keyString + ", " +
       std::to_string(expected.frequencies.size()) + " tones");
  return expected;
}

// ---------------------------------------------------------------------------
// The sound written by SDL's disk driver.

class DiskSound {
 public:
  explicit DiskSound(QString path) : path_(std::move(path)) {}

  qint64 Frames() const { return QFileInfo(path_).size() / kBytesPerFrame; }

  // The left channel of frames [from, to).
  std::vector<std::int16_t> Read(qint64 from, qint64 to) const {
    QFile file(path_);
    std::vector<std::int16_t> left;
    if (!file.open(QIODevice::ReadOnly)) return left;
    file.seek(from * kBytesPerFrame);
    const QByteArray bytes = file.read((to - from) * kBytesPerFrame);
    const auto* samples =
        reinterpret_cast<const std::int16_t*>(bytes.constData());
    for (qsizetype i = 0; i + 1 < bytes.size() / 2; i += 2) {
      left.push_back(samples[i]);
    }
    return left;
  }

  bool WaitForFrames(qint64 frames, int deadlineMs) const {
    return WaitFor([&] { return Frames() >= frames; }, deadlineMs);
  }

 private:
  QString path_;
};

// The tones in a stretch of sound, in order: each window of about 43 ms is
// named after the one of `candidates` that holds most of its energy (a pure
// tone at the frequency holds all of it), and runs of at least three windows
// of the same tone count as that tone sounding.
std::vector<int> TonesIn(const std::vector<std::int16_t>& samples,
                         const std::vector<int>& candidates) {
  constexpr std::size_t kWindow = 2048;
  std::vector<int> perWindow;
  for (std::size_t start = 0; start + kWindow <= samples.size();
       start += kWindow) {
    double energy = 0;
    for (std::size_t i = 0; i < kWindow; ++i) {
      energy += double(samples[start + i]) * samples[start + i];
    }
    const double meanSquare = energy / kWindow;
    int tone = 0;  // silence or none
    if (meanSquare > 100.0 * 100.0) {
      double best = 0;
      for (const int frequency : candidates) {
        // Goertzel: the power at `frequency` as a share of the window's.
        const double w = 2 * M_PI * frequency / kFrameRate;
        const double coefficient = 2 * std::cos(w);
        double s1 = 0, s2 = 0;
        for (std::size_t i = 0; i < kWindow; ++i) {
          const double s0 = samples[start + i] + coefficient * s1 - s2;
          s2 = s1;
          s1 = s0;
        }
        const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
        const double share =
            2 * power / (double(kWindow) * kWindow) / meanSquare;
        if (share > best) {
          best = share;
          tone = frequency;
        }
      }
      if (best < 0.5) tone = -1;  // a mixture: between two notes
    }
    perWindow.push_back(tone);
  }
  std::vector<int> tones;
  for (std::size_t i = 0; i < perWindow.size();) {
    std::size_t j = i;
    while (j < perWindow.size() && perWindow[j] == perWindow[i]) ++j;
    if (perWindow[i] > 0 && j - i >= 3 &&
        (tones.empty() || tones.back() != perWindow[i])) {
      tones.push_back(perWindow[i]);
    }
    i = j;
  }
  return tones;
}

int PeakOf(const std::vector<std::int16_t>& samples) {
  int peak = 0;
  for (const std::int16_t s : samples) peak = std::max(peak, std::abs(int(s)));
  return peak;
}

std::string Join(const std::vector<int>& values) {
  std::string text;
  for (const int v : values)
    text += (text.empty() ? "" : " ") + std::to_string(v);
  return text;
}

// ---------------------------------------------------------------------------

class Session {
 public:
  Session(QString prefix, QString artDir, QString outDir, QString scratch)
      : prefix_(std::move(prefix)),
        artDir_(std::move(artDir)),
        outDir_(std::move(outDir)),
        scratch_(std::move(scratch)),
        sound_(scratch_ + "/sound.raw") {}

  int Run() {
    expected_ = ExpectationsFromCli(prefix_ + "/bin/quillora-cli");
    keypads_ = KeypadPictures();
    if (failed) return 1;
    if (!ReferenceFromFile()) return 1;

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("SDL_AUDIODRIVER", "disk");
    environment.insert("SDL_DISKAUDIOFILE", scratch_ + "/sound.raw");
    Program program(prefix_ + "/bin/quillora", {}, environment);
    if (!FindMainWindow(program, "the program")) return 1;
    Shot("e2e_start");

    const bool ok = TypeTheMelody() && PlayAndStop(program) && KeyEntry() &&
                    SaveAndOpenAgain() && DragByTheTitleStrip(program) &&
                    AboutWindow(program);
    if (!ok) {
      Shot("e2e_failed");
      return 1;
    }
    // No sound left: the tail of the output is silence.
    const qint64 end = sound_.Frames();
    const int tailPeak = PeakOf(sound_.Read(end - kFrameRate / 2, end));
    if (tailPeak > 2)
      Fail("sound still playing at the end, peak " + std::to_string(tailPeak));
    ClickAt(origin_ + kCloseButton.center());
    if (program.EndsCleanly(15000, "closing")) {
      Note("closed with its close button, exit status 0");
    }
    return failed ? 1 : 0;
  }

 private:
  void Shot(const QString& name) {
    GrabScreen().save(outDir_ + "/" + name + ".png");
  }
  QImage GrabOnWindow(const QRect& area) const {
    return Grab(area.translated(origin_));
  }

  std::map<char, QImage> KeypadPictures() {
    std::map<char, QImage> pictures;
    const std::map<char, QString> stems = {
        {' ', "empty"}, {'*', "star"}, {'#', "hash"}};
    for (const char key : std::string(" 0123456789*#")) {
      const QString stem =
          stems.count(key) ? stems.at(key) : QString(QChar(key));
      pictures[key] = LoadPicture(artDir_ + "/keypad_" + stem + ".png");
    }
    return pictures;
  }

  // The window is up once its bare keypad shows where the window manager
  // says the window is.
  bool FindMainWindow(Program& program, const char* what) {
    const bool shown = WaitFor(
        [&] {
          const std::optional<QRect> window =
              WindowOfSize(program.Pid(), kMainSize);
          if (!window) return false;
          origin_ = window->topLeft();
          return GrabOnWindow(kKeypad) == keypads_[' '];
        },
        30000, 50);
    if (!shown) {
      Shot("e2e_no_window");
      Fail(std::string(what) + ": the window did not appear" +
           (program.Running() ? "" : " (the program ended)"));
    }
    return shown;
  }

  // The reference: the program started on a melody file that quillora-cli
  // saved with the melody; its note count and key list, once they stand
  // still, are what typing the melody must show. Closed by its close button.
  bool ReferenceFromFile() {
    const QString file = scratch_ + "/reference.qlr";
    const CommandResult saved =
        Execute(prefix_ + "/bin/quillora-cli",
                {"save", file, "--title", kTitle}, kMelody.toUtf8());
    if (saved.status != 0) {
      Fail("quillora-cli save failed");
      return false;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("SDL_AUDIODRIVER", "dummy");
    Program reference(prefix_ + "/bin/quillora", {file}, environment);
    if (!FindMainWindow(reference, "the reference")) return false;
    const QImage bareCount =
        LoadPicture(artDir_ + "/skin.png").copy(kNoteCount);
    QImage last;
    const bool steady = WaitFor(
        [&] {
          const QImage now = GrabOnWindow(kKeyList);
          const bool same = now == last && !now.isNull();
          last = now;
          return same && GrabOnWindow(kNoteCount) != bareCount;
        },
        10000, 200);
    referenceCount_ = GrabOnWindow(kNoteCount);
    referenceKeys_ = GrabOnWindow(kKeyList);
    referenceTitle_ = GrabOnWindow(kMelodyTitle);
    Shot("e2e_reference");
    if (!steady) {
      Fail("the reference window never showed the melody");
      return false;
    }
    ClickAt(origin_ + kCloseButton.center());
    return reference.EndsCleanly(15000, "the reference");
  }

  bool ShowsTheMelody() const {
    return GrabOnWindow(kNoteCount) == referenceCount_ &&
           GrabOnWindow(kKeyList) == referenceKeys_;
  }

  bool TypeTheMelody() {
    if (ShowsTheMelody()) {
      Fail("the empty window already shows the melody's count and keys");
      return false;
    }
    ClickAt(origin_ + kNotation.center());
    Type(kMelody);
    if (!WaitFor([&] { return ShowsTheMelody(); }, 20000)) {
      Shot("e2e_typed");
      Fail("typed, the note count and key list differ from the reference");
      return false;
    }
    Shot("e2e_typed");
    Note("typed: note count and key list as in the reference");
    return true;
  }

  // Play, Stop once three tones have sounded; then the tones heard must be
  // the melody's from its start, the sound must fall silent and stay so,
  // and the player's thread must end.
  bool PlayAndStop(Program& program) {
    const std::set<QString> threadsBefore = program.Threads();
    const qint64 playFrames = sound_.Frames();
    ClickAt(origin_ + kPlayButton.center());
    std::vector<int> heard;
    const std::vector<int>& tones = expected_.frequencies;
    const bool sounded = WaitFor(
        [&] {
          heard = TonesIn(sound_.Read(playFrames, sound_.Frames()), tones);
          return heard.size() >= 3;
        },
        15000, 100);
    std::set<QString> playerThreads;
    for (const QString& id : program.Threads()) {
      if (!threadsBefore.count(id)) playerThreads.insert(id);
    }
    ClickAt(origin_ + kStopPlayButton.center());
    const qint64 stopFrames = sound_.Frames();
    if (!sounded) {
      Fail("Play: fewer than three tones in the sound output (heard " +
           Join(heard) + ")");
      return false;
    }
    if (playerThreads.empty()) Fail("Play started no thread");

    // The note in progress may finish; a second later all is silent, and
    // stays silent for another second.
    if (!sound_.WaitForFrames(stopFrames + 2 * kFrameRate, 15000)) {
      Fail("the sound output stopped growing");
      return false;
    }
    heard = TonesIn(sound_.Read(playFrames, stopFrames + kFrameRate), tones);
    const std::vector<int> start(
        tones.begin(), tones.begin() + std::min(heard.size(), tones.size()));
    if (heard != start || heard.size() >= tones.size()) {
      Fail("tones heard " + Join(heard) + ", expected a beginning of " +
           Join(tones));
    }
    const int peak = PeakOf(
        sound_.Read(stopFrames + kFrameRate, stopFrames + 2 * kFrameRate));
    if (peak > 2) Fail("sound after Stop, peak " + std::to_string(peak));

    const bool ended = WaitFor(
        [&] {
          const std::set<QString> now = program.Threads();
          return std::none_of(playerThreads.begin(), playerThreads.end(),
                              [&](const QString& id) { return now.count(id); });
        },
        5000);
    if (!ended) Fail("the player's thread still runs after Stop");
    Note("Play and Stop: heard " + Join(heard) + ", then silence; " +
         std::to_string(playerThreads.size()) + " player thread ended");
    return !failed;
  }

  // One second per key, START; the keypad lights each key of the key list
  // in turn, about a second apart, and ends bare.
  bool KeyEntry() {
    ClickAt(origin_ + kSecondsPerKey.center());
    Key("ctrl+a");
    Type("1");
    ClickAt(origin_ + kStartButton.center());
    const auto nameOf = [&](const QImage& grab) {
      for (const auto& [key, picture] : keypads_) {
        if (grab == picture) return key;
      }
      return '?';
    };
    std::string lit;
    std::vector<qint64> litAt;
    char showing = ' ';
    QElapsedTimer clock;
    clock.start();
    qint64 bareSince = 0;
    const qint64 deadline = 1000 * qint64(expected_.keyString.size()) + 10000;
    while (clock.elapsed() < deadline) {
      const char now = nameOf(GrabOnWindow(kKeypad));
      if (now != showing && now != '?') {
        if (now != ' ') {
          lit += now;
          litAt.push_back(clock.elapsed());
          if (lit.size() == 1) Shot("e2e_key_entry");
        } else {
          bareSince = clock.elapsed();
        }
        showing = now;
      }
      if (lit.size() >= expected_.keyString.size() && showing == ' ' &&
          clock.elapsed() - bareSince > 1500) {
        break;
      }
      QThread::msleep(10);
    }
    if (lit != expected_.keyString) {
      Fail("keys lit " + lit + ", expected " + expected_.keyString);
      return false;
    }
    for (std::size_t i = 1; i < litAt.size(); ++i) {
      const qint64 gap = litAt[i] - litAt[i - 1];
      if (gap < 600 || gap > 2000) {
        Fail("keys " + std::to_string(i) + " and " + std::to_string(i + 1) +
             " lit " + std::to_string(gap) + " ms apart");
      }
    }
    Note("key entry: lit " + lit + " one after another");
    return !failed;
  }

  // Types `path` into the file dialog titled `title` and accepts it.
  bool UseFileDialog(const QString& title, const QString& path) {
    const auto dialogShown = [&] {
      return !Xdotool({"search", "--onlyvisible", "--name", "^" + title + "$"})
                  .isEmpty();
    };
    if (!WaitFor(dialogShown, 15000)) {
      Fail("the dialog \"" + title.toStdString() + "\" did not appear");
      return false;
    }
    Shot(title == "Save music file" ? "e2e_save_dialog" : "e2e_open_dialog");
    // The file name field has the focus; a completion list that pops up
    // while typing takes the first Return.
    Key("ctrl+a");
    Type(path);
    for (int attempt = 0; attempt < 3 && dialogShown(); ++attempt) {
      Key("Return");
      WaitFor([&] { return !dialogShown(); }, 2000);
    }
    if (dialogShown()) {
      Fail("the dialog \"" + title.toStdString() + "\" did not close");
      return false;
    }
    return true;
  }

  // The title typed, Save into the scratch folder; the fields emptied; Open
  // of the saved file brings the title, the count and the keys back.
  bool SaveAndOpenAgain() {
    ClickAt(origin_ + kMelodyTitle.center());
    Type(kTitle);
    const QString saved = scratch_ + "/saved/evening.qlr";
    QDir().mkpath(scratch_ + "/saved");
    ClickAt(origin_ + kSaveButton.center());
    if (!UseFileDialog("Save music file", saved)) return false;
    if (!WaitFor([&] { return QFile::exists(saved); }, 5000)) {
      Fail("Save wrote no file");
      return false;
    }
    QFile file(saved);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    const QByteArray wanted = "[Melody]\r\nTitle=" + kTitle.toUtf8() +
                              "\r\nNotes=" + kMelody.toUtf8() +
                              "\r\nTemp=120\r\n";
    if (bytes != wanted) {
      Fail("the saved file holds: " + bytes.toStdString());
      return false;
    }
    if (!WaitFor([&] { return GrabOnWindow(kMelodyTitle) == referenceTitle_; },
                 5000)) {
      Fail("the typed title differs from the reference's");
    }

    ClickAt(origin_ + kNotation.center());
    Key("ctrl+a");
    Key("BackSpace");
    ClickAt(origin_ + kMelodyTitle.center());
    Key("ctrl+a");
    Key("BackSpace");
    if (!WaitFor([&] { return !ShowsTheMelody(); }, 5000)) {
      Fail("emptied, the window still shows the melody");
      return false;
    }
    ClickAt(origin_ + kOpenButton.center());
    if (!UseFileDialog("Open music file", saved)) return false;
    const bool back = WaitFor(
        [&] {
          return ShowsTheMelody() &&
                 GrabOnWindow(kMelodyTitle) == referenceTitle_;
        },
        10000);
    Shot("e2e_reopened");
    // The window alone, with a melody in it: the picture of the program.
    GrabOnWindow(QRect(QPoint(0, 0), kMainSize))
        .save(outDir_ + "/e2e_window.png");
    if (!back) {
      Fail("opened again, the window does not show the saved melody");
      return false;
    }
    Note("saved " + saved.toStdString() + " and opened it again");
    return true;
  }

  // Pressed on the title strip and moved, the window follows the mouse.
  bool DragByTheTitleStrip(Program& program) {
    const QPoint grip = origin_ + kTitleStrip.center();
    const QPoint by(-120, 90);
    const QPoint before = origin_;
    Xdotool({"mousemove", QString::number(grip.x()), QString::number(grip.y()),
             "mousedown", "1"});
    constexpr int kSteps = 10;
    for (int step = 1; step <= kSteps; ++step) {
      const QPoint p = grip + by * step / kSteps;
      Xdotool({"mousemove", QString::number(p.x()), QString::number(p.y())});
      QThread::msleep(30);
    }
    const bool moved = WaitFor(
        [&] {
          const std::optional<QRect> window =
              WindowOfSize(program.Pid(), kMainSize);
          return window &&
                 (window->topLeft() - (before + by)).manhattanLength() <= 4;
        },
        5000);
    Xdotool({"mouseup", "1"});
    if (!moved) {
      Shot("e2e_dragged");
      Fail("the window did not follow the drag");
      return false;
    }
    // The window is where the window manager says, and still shows the
    // melody there.
    if (!FindMainWindow(program, "after the drag")) return false;
    Shot("e2e_dragged");
    if (!ShowsTheMelody()) Fail("after the drag the melody is not shown");
    Note("dragged by the title strip from (" + std::to_string(before.x()) +
         "," + std::to_string(before.y()) + ") to (" +
         std::to_string(origin_.x()) + "," + std::to_string(origin_.y()) + ")");
    return !failed;
  }

  bool AboutWindow(Program& program) {
    const QImage aboutPicture = LoadPicture(artDir_ + "/about.png");
    ClickAt(origin_ + kAboutButton.center());
    QRect about;
    const bool shown = WaitFor(
        [&] {
          const std::optional<QRect> window =
              WindowOfSize(program.Pid(), kAboutSize);
          if (!window) return false;
          about = *window;
          return MatchingShare(Grab(about), aboutPicture, kAboutTitle) > 0.95;
        },
        15000, 50);
    Shot("e2e_about");
    if (!shown) {
      Fail("the about window did not appear with its picture");
      return false;
    }
    ClickAt(about.topLeft() + kAboutOk.center());
    if (!WaitFor([&] { return !WindowOfSize(program.Pid(), kAboutSize); },
                 10000)) {
      Fail("OK did not close the about window");
      return false;
    }
    Note("about window opened and closed");
    return true;
  }

  QString prefix_, artDir_, outDir_, scratch_;
  DiskSound sound_;
  Expected expected_;
  std::map<char, QImage> keypads_;
  QPoint origin_;
  QImage referenceCount_, referenceKeys_, referenceTitle_;
};

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc != 5) {
    std::fprintf(stderr,
                 "usage: e2e_driver PREFIX ART_DIR OUT_DIR SCRATCH_DIR\n");
    return 2;
  }
  Session session(argv[1], argv[2], argv[3], argv[4]);
  const int status = session.Run();
  if (status != 0 || failed) {
    std::fprintf(stderr, "the end-to-end run FAILED\n");
    return 1;
  }
  std::printf("the end-to-end run passed\n");
  return 0;
}
