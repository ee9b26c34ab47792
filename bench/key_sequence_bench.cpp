// Time to turn a melody into its key list, for melodies up to the table's
// 10,000 notes. Run: build/bench/key_sequence_bench
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "notation/key_sequence.h"

namespace {

// A melody that moves length and octave often, so that most notes need
// several presses: the costly case.
std::string MakeMelody(int notes) {
  static const char* const kTokens[] = {"4c1",   "8d1",  "8e2",   "4-",
                                        "16#f2", "2.c3", "8p",    "4b1",
                                        "32a#3", "1g2",  "16d#1", "8c2"};
  std::string melody;
  for (int i = 0; i < notes; ++i) {
    melody += kTokens[i % 12];
    melody += i % 7 == 6 ? ",\r\n" : " ";
  }
  return melody;
}

void BM_KeySequence(benchmark::State& state) {
  const std::string melody = MakeMelody(static_cast<int>(state.range(0)));
  auto table = std::make_unique<quillora::NoteTable>();
  for (auto _ : state) {
    quillora::KeySequence result =
        quillora::GenerateKeySequence(melody, *table);
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(melody.size()));
}
BENCHMARK(BM_KeySequence)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
