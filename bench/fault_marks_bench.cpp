// Typing into a 10,000-note melody in the real main window (offscreen)
// while faulty notes are underlined: the time from a key press in Memo1
// until Memo1Change has rewritten Label2 and Memo2 and the underlines, per
// keystroke, with none, one in a hundred and one in ten notes faulty. Each
// iteration types one character at the end of the melody and takes it back
// with Backspace. Run: build/bench/fault_marks_bench
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

// `notes` notes, every `faultEvery`-th one faulty (0: none).
std::string MakeMelody(int notes, int faultEvery) {
  static const char* const kTokens[] = {"4c1",   "8d1",  "8e2", "4-",
                                        "16#f2", "2.c3", "8p",  "4b1"};
  static const char* const kFaults[] = {"4#e2", "3c1", "8c4", "8h2"};
  std::string melody;
  for (int i = 0; i < notes; ++i) {
    const bool faulty = faultEvery > 0 && i % faultEvery == faultEvery - 1;
    melody += faulty ? kFaults[i % 4] : kTokens[i % 8];
    melody += i % 16 == 15 ? " \n" : " ";
  }
  return melody;
}

void BM_TypeWithFaultMarks(benchmark::State& state) {
  ComponentRegistry registry;
  RegisterProgramClasses(registry);
  TForm1 form(nullptr, registry);
  form.ShowForm();
  if (!QTest::qWaitForWindowExposed(form.Widget())) {
    state.SkipWithError("the window was never shown");
    return;
  }
  form.Memo1->SetText(MakeMelody(10000, static_cast<int>(state.range(0))));
  auto* edit = static_cast<QPlainTextEdit*>(form.Memo1->Widget());
  edit->setFocus();
  edit->moveCursor(QTextCursor::End);
  for (auto _ : state) {
    QTest::keyClick(edit, Qt::Key_C);
    QTest::keyClick(edit, Qt::Key_Backspace);
  }
  state.counters["per_keystroke"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * 2,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["marks"] = static_cast<double>(form.Memo1->Marks().size());
}
BENCHMARK(BM_TypeWithFaultMarks)
    ->ArgName("fault_every")
    ->Arg(0)
    ->Arg(100)
    ->Arg(10)
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
