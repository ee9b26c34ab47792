// Typing into a long melody in the real main window (offscreen): the time
// from a key press in Memo1 until Memo1Change has rewritten Label2, Memo2 and
// the underlines of the faulty notes, per keystroke. Each iteration types one
// character at the end of the melody and takes it back with Backspace: two
// keystrokes, two full updates. The rows vary the melody's length and how
// many of its notes are faulty (none, one in a hundred, one in ten).
// Run: build/bench/typing_bench
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>
#include <string>

#include "app/main_window.h"
#include "resources/resources.h"
#include "toolkit/application.h"

namespace {

using namespace quillora;

// `notes` notes on lines of sixteen, every `faultEvery`-th one faulty (0:
// none). The notes move length and octave often, so that most need several
// presses.
std::string MakeMelody(int notes, int faultEvery) {
  static const char* const kTokens[] = {"4c1",   "8d1",  "8e2",   "4-",
                                        "16#f2", "2.c3", "8p",    "4b1",
                                        "32a#3", "1g2",  "16d#1", "8c2"};
  static const char* const kFaults[] = {"4#e2", "3c1", "8c4", "8h2"};
  std::string melody;
  for (int i = 0; i < notes; ++i) {
    const bool faulty = faultEvery > 0 && i % faultEvery == faultEvery - 1;
    melody += faulty ? kFaults[i % 4] : kTokens[i % 12];
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
  form.Memo1->SetText(MakeMelody(static_cast<int>(state.range(0)),
                                 static_cast<int>(state.range(1))));
  auto* edit = static_cast<QPlainTextEdit*>(form.Memo1->Widget());
  edit->setFocus();
  edit->moveCursor(QTextCursor::End);
  for (auto _ : state) {
    QTest::keyClick(edit, Qt::Key_C);
    QTest::keyClick(edit, Qt::Key_Backspace);
  }
  // Seconds per keystroke ("12m" is 12 ms).
  state.counters["per_keystroke"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * 2,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["notes_shown"] = std::stod(form.Label2->Caption());
  state.counters["marks"] = static_cast<double>(form.Memo1->Marks().size());
}
BENCHMARK(BM_TypeIntoLongMelody)
    ->ArgNames({"notes", "fault_every"})
    ->Args({1000, 0})
    ->Args({10000, 0})
    ->Args({10000, 100})
    ->Args({10000, 10})
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
