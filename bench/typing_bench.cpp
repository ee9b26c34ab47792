// Typing into a 10,000-note melody in the real main window (offscreen): the
// time from a key press in Memo1 until Memo1Change has rewritten Label2 and
// Memo2, per keystroke. Each iteration types one character at the end of
// the melody and takes it back with Backspace: two keystrokes, two full
// updates. Run: build/bench/typing_bench
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "resources/resources.h"
#include "toolkit/application.h"

namespace {

using namespace quillora;

std::string MakeMelody(int notes) {
  static const char* const kTokens[] = {"4c1",   "8d1",  "8e2",   "4-",
                                        "16#f2", "2.c3", "8p",    "4b1",
                                        "32a#3", "1g2",  "16d#1", "8c2"};
  std::string melody;
  for (int i = 0; i < notes; ++i) {
    melody += kTokens[i % 12];
    melody += i % 16 == 15 ? " \n" : " ";
  }
  return melody;
}

void BM_TypeIntoLongMelody(benchmark::State& state) {
  ComponentRegistry registry;
  RegisterProgramClasses(registry);
  TForm1 form(nullptr, registry);
  form.ShowForm();
  if (!QTest::qWaitForWindowExposed(form.Widget())) {
    state.SkipWithError("the window was never shown");
    return;
  }
  form.Memo1->SetText(MakeMelody(static_cast<int>(state.range(0))));
  auto* edit = static_cast<QPlainTextEdit*>(form.Memo1->Widget());
  edit->setFocus();
  edit->moveCursor(QTextCursor::End);
  for (auto _ : state) {
    QTest::keyClick(edit, Qt::Key_C);
    QTest::keyClick(edit, Qt::Key_Backspace);
  }
  state.SetItemsProcessed(state.iterations() * 2);
  // Seconds per keystroke ("12m" is 12 ms).
  state.counters["per_keystroke"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * 2,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["notes_shown"] = std::stod(form.Label2->Caption());
}
BENCHMARK(BM_TypeIntoLongMelody)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  TApplication application(argc, argv);
  application.SetTitle(std::string(kApplicationTitle));
  InitQuilloraResources();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
