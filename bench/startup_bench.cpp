// Start-up of the program: from launch to the first paint of the main
// window, where the time goes on the way, and the memory the program holds
// once the window is shown.
//
// Run: build/bench/startup_bench [RUNS]
// It starts itself RUNS times (default 10) as a child that goes through the
// program's own start-up, stops at the first paint of the main window and
// reports its figures; it prints the median of each figure. The window
// system is Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise
// (xcb under Xvfb gives the figures of a real X server).
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "resources/resources.h"
#include "sound/deferred_sound_output.h"
#include "sound/sdl_sound_output.h"
#include "toolkit/application.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start)
      .count();
}

long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

// Ends the message loop at the first paint of a top-level window.
class FirstPaintWatch : public QObject {
 public:
  explicit FirstPaintWatch(Clock::time_point start) : start_(start) {}
  double paintedAt = -1;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (paintedAt < 0 && event->type() == QEvent::Paint &&
        object->isWidgetType() &&
        static_cast<QWidget*>(object)->window() == object) {
      paintedAt = MillisecondsSince(start_);
      QTimer::singleShot(
          0, [] { quillora::TApplication::Instance().Terminate(); });
    }
    return false;
  }

 private:
  Clock::time_point start_;
};

// The program's start-up, step by step as main() takes it, timed.
int RunChild(int argc, char** argv, int reportFd) {
  using namespace quillora;
  const Clock::time_point start = Clock::now();
  std::map<std::string, double> figures;

  TApplication application(argc, argv);
  application.SetTitle(std::string(kApplicationTitle));
  figures["application"] = MillisecondsSince(start);

  InstallSoundOutput(
      std::make_unique<DeferredSoundOutput>(CreateSdlSoundOutput));
  figures["sound_output"] = MillisecondsSince(start);

  InitQuilloraResources();
  figures["resources"] = MillisecondsSince(start);

  // RunMainWindow's steps, one by one.
  ComponentRegistry registry;
  RegisterProgramClasses(registry);
  TForm1 form(nullptr, registry);
  figures["window_built"] = MillisecondsSince(start);
  application.SetMainForm(&form);
  FirstPaintWatch watch(start);
  QApplication::instance()->installEventFilter(&watch);
  form.ShowForm();
  figures["window_shown"] = MillisecondsSince(start);
  application.Run();
  figures["first_paint"] = watch.paintedAt;
  figures["rss_mb"] = ResidentKilobytes() / 1024.0;

  std::string report;
  for (const auto& [name, value] : figures) {
    report += name + " " + std::to_string(value) + "\n";
  }
  if (write(reportFd, report.data(), report.size()) < 0) return 1;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (argc >= 3 && std::string(argv[1]) == "--child") {
    return RunChild(argc, argv, std::stoi(argv[2]));
  }
  const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 10;

  std::map<std::string, std::vector<double>> samples;
  for (int run = 0; run < runs; ++run) {
    int fds[2];
    if (pipe(fds) != 0) return 1;
    const Clock::time_point launched = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
      close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      execl("/proc/self/exe", argv[0], "--child", fd.c_str(),
            static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    std::string report;
    char buffer[512];
    ssize_t got;
    while ((got = read(fds[0], buffer, sizeof buffer)) > 0) {
      report.append(buffer, static_cast<std::size_t>(got));
      if (report.find("sound_output") != std::string::npos &&
          samples["launch_to_first_paint"].size() == static_cast<size_t>(run)) {
        // The whole report arrives in one write, at the first paint.
        samples["launch_to_first_paint"].push_back(MillisecondsSince(launched));
      }
    }
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    std::size_t pos = 0;
    while (pos < report.size()) {
      const std::size_t end = report.find('\n', pos);
      const std::string line = report.substr(pos, end - pos);
      const std::size_t space = line.find(' ');
      samples[line.substr(0, space)].push_back(
          std::stod(line.substr(space + 1)));
      pos = end + 1;
    }
  }

  std::printf("start-up over %d runs, median (ms from main unless named):\n",
              runs);
  for (const char* name :
       {"application", "sound_output", "resources", "window_built",
        "window_shown", "first_paint", "launch_to_first_paint", "rss_mb"}) {
    std::vector<double>& values = samples[name];
    if (values.empty()) continue;
    std::sort(values.begin(), values.end());
    std::printf("  %-22s %8.1f   (min %.1f, max %.1f)\n", name,
                values[values.size() / 2], values.front(), values.back());
  }
  return 0;
}
