#include "sound/tone_gen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <utility>

#include "components/layout_format.h"
#include "recording_output.h"

namespace quillora {
namespace {

using testing_support::RecordingOutput;

std::int16_t Sample16(std::span<const std::uint8_t> image, std::size_t index) {
  std::int16_t value;
  std::memcpy(&value, image.data() + 44 + 2 * index, 2);
  return value;
}

class ToneGenTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(TToneGen::InstanceCount(), 0); }
  RecordingOutput output_;
};

TEST_F(ToneGenTest, SettersClampSilently) {
  TToneGen gen(nullptr, output_);
  const struct {
    const char* name;
    void (TToneGen::*set)(std::int32_t);
    std::int16_t (TToneGen::*get)() const;
    std::int32_t value, stored;
  } cases[] = {
      {"frequency 0", &TToneGen::SetFrequency, &TToneGen::Frequency, 0, 20},
      {"frequency 25000", &TToneGen::SetFrequency, &TToneGen::Frequency, 25000,
       20000},
      {"duration 5", &TToneGen::SetDuration, &TToneGen::Duration, 5, 10},
      {"duration 40000", &TToneGen::SetDuration, &TToneGen::Duration, 40000,
       32767},
      {"attack 150", &TToneGen::SetAttack, &TToneGen::Attack, 150, 100},
      {"sustain -1", &TToneGen::SetSustain, &TToneGen::Sustain, -1, 0},
      {"amplitude -3", &TToneGen::SetAMAmplitude, &TToneGen::AMAmplitude, -3,
       0},
      {"left volume 101", &TToneGen::SetLeftVolume, &TToneGen::LeftVolume, 101,
       100},
      {"release 30", &TToneGen::SetRelease, &TToneGen::Release, 30, 30},
  };
  for (const auto& c : cases) {
    (gen.*c.set)(c.value);
    EXPECT_EQ((gen.*c.get)(), c.stored) << c.name;
  }
}

TEST_F(ToneGenTest, SynthesisesOnlyWhenAFlagAsks) {
  TToneGen gen(nullptr, output_);
  EXPECT_TRUE(gen.WaveDirty() && gen.EnvelopeDirty() && gen.EnvelopeApplied());
  EXPECT_TRUE(gen.GetDataBuffer().empty());

  gen.Play();
  const std::uint8_t* first = gen.GetDataBuffer().data();
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(gen.WaveDirty());
  EXPECT_TRUE(gen.EnvelopeDirty());
  EXPECT_FALSE(gen.EnvelopeApplied());
  gen.Play();  // unchanged settings: the same image plays again
  EXPECT_EQ(gen.GetDataBuffer().data(), first);

  gen.SetFrequency(gen.Frequency());  // storing the same value still marks
  EXPECT_TRUE(gen.WaveDirty());
  gen.Play();
  EXPECT_FALSE(gen.WaveDirty());

  gen.SetDecay(60);  // the envelope does not shape a plain play
  EXPECT_TRUE(gen.EnvelopeDirty());
  EXPECT_FALSE(gen.WaveDirty());
  gen.PlayADSR();
  EXPECT_FALSE(gen.EnvelopeDirty());
  EXPECT_TRUE(gen.EnvelopeApplied());
  gen.Play();  // back to the plain tone: a new synthesis
  EXPECT_FALSE(gen.EnvelopeApplied());
  EXPECT_EQ(output_.plays.size(), 5u);
}

// Each new image is built in the last one's buffer; a tone after a longer or
// a shorter one still has exactly the bytes of a fresh generator's.
TEST_F(ToneGenTest, ImageAfterAnotherEqualsAFreshOne) {
  TToneGen reused(nullptr, output_);
  for (const auto& [frequency, duration] :
       {std::pair{440, 2000}, std::pair{523, 300}, std::pair{20, 4000}}) {
    reused.SetFrequency(frequency);
    reused.SetDuration(duration);
    reused.PrepareADSR();
    TToneGen fresh(nullptr, output_);
    fresh.SetFrequency(frequency);
    fresh.SetDuration(duration);
    fresh.PrepareADSR();
    const auto a = reused.GetDataBuffer();
    const auto b = fresh.GetDataBuffer();
    EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end()))
        << frequency << " Hz " << duration << " ms";
  }
}

TEST_F(ToneGenTest, PlaysTheSynthesisedImageInTheAskedManner) {
  TToneGen gen(nullptr, output_);
  gen.SetFrequency(1000);
  gen.SetDuration(200);
  gen.SetWaveform(tgTriangle);
  const struct {
    bool async, loop;
    PlayMode mode;
    bool stoppedAfter;
  } cases[] = {
      {true, false, PlayMode::kAsync, false},
      {false, true, PlayMode::kLoop, false},  // a loop always returns at once
      {true, true, PlayMode::kLoop, false},
      {false, false, PlayMode::kWait, true},
  };
  for (const auto& c : cases) {
    gen.SetAsync(c.async);
    gen.SetLoop(c.loop);
    const int stopsBefore = output_.stops;
    gen.Play();
    EXPECT_EQ(output_.plays.back().mode, c.mode);
    EXPECT_EQ(gen.Stopped(), c.stoppedAfter);
    EXPECT_GT(output_.stops, stopsBefore);  // a play first ends any sound
  }
  const auto& image = output_.plays.back().image;
  ASSERT_EQ(image.size(), 38476u);
  EXPECT_EQ(Sample16(image, 0), -32767);
  EXPECT_EQ(Sample16(image, 1), -31401);
  EXPECT_EQ(Sample16(image, 2), -30036);
  gen.Stop();
  EXPECT_TRUE(gen.Stopped());
}

TEST_F(ToneGenTest, FirstGeneratorSavesTheVolumeAndTheLastPutsItBack) {
  output_.volume = 0x12345678;
  auto first = std::make_unique<TToneGen>(nullptr, output_);
  EXPECT_EQ(TToneGen::GetOriginalVolume(), 0x12345678u);
  EXPECT_EQ(output_.volume, 0xFFFFFFFFu);  // full on both channels
  auto second = std::make_unique<TToneGen>(nullptr, output_);
  EXPECT_EQ(TToneGen::InstanceCount(), 2);
  EXPECT_EQ(TToneGen::GetOriginalVolume(), 0x12345678u);

  second->SetLeftVolume(50);  // stopped: reaches the output at once
  EXPECT_EQ(output_.volume, 65535u * 65536u + 32767u);
  second->SetRightVolume(0);
  EXPECT_EQ(output_.volume, 32767u);

  first.reset();
  EXPECT_EQ(output_.volume, 32767u);  // one generator is still there
  second.reset();
  EXPECT_EQ(TToneGen::InstanceCount(), 0);
  EXPECT_EQ(output_.volume, 0x12345678u);
}

TEST_F(ToneGenTest, VolumeWaitsForTheNextPlayWhileSounding) {
  TToneGen gen(nullptr, output_);
  gen.Play();  // asynchronous: not stopped
  gen.SetLeftVolume(0);
  EXPECT_EQ(output_.volume, 0xFFFFFFFFu);
  gen.PresetVolume();
  EXPECT_EQ(output_.volume, 0xFFFF0000u);
}

TEST_F(ToneGenTest, SingleVolumeOutputIsSavedForBothChannels) {
  output_.separateVolumes = false;
  output_.volume = 0x00001234;
  TToneGen gen(nullptr, output_);
  EXPECT_EQ(TToneGen::GetOriginalVolume(), 0x12341234u);
}

TEST_F(ToneGenTest, ExportWritesTheWholeImageOrReportsFailure) {
  const auto folder =
      std::filesystem::temp_directory_path() / "quillora_export_test";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "tone.wav").string();
  std::filesystem::remove(path);

  TToneGen gen(nullptr, output_);
  EXPECT_FALSE(gen.ExportFile(path));
  EXPECT_FALSE(std::filesystem::exists(path));

  gen.Prepare();
  ASSERT_TRUE(gen.ExportFile(path));
  EXPECT_EQ(std::filesystem::file_size(path), gen.BufferSize());
  EXPECT_EQ(gen.BufferSize(), 19276u);
  std::ifstream file(path, std::ios::binary);
  char header[4];
  file.read(header, 4);
  EXPECT_EQ(std::string(header, 4), "RIFF");

  EXPECT_FALSE(
      gen.ExportFile((folder / "no such folder" / "tone.wav").string()));
  // /dev/full takes the open but refuses every byte.
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_FALSE(gen.ExportFile("/dev/full"));
  }
  std::filesystem::remove_all(folder);
}

TEST_F(ToneGenTest, ExtraToneCopiesFollowTheLevel) {
  TToneGen gen(nullptr, output_);
  gen.SetAMParameter(tgAMLevel3, 2.25f, 40, tgSquare);
  EXPECT_EQ(gen.AMAmplitude(), 0);  // the copies stay until the level moves
  gen.SetAMLevel(tgAMLevel3);
  EXPECT_EQ(gen.AMAmplitude(), 40);
  EXPECT_EQ(gen.AMWaveform(), tgSquare);
  EXPECT_EQ(gen.AMFrequency(), 2.25f);
  gen.SetAMAmplitude(150);
  EXPECT_EQ(gen.AMAmplitudes()[2], 100);
  gen.ResetAM();
  EXPECT_EQ(gen.AMAmplitudes()[2], 0);
  EXPECT_EQ(gen.AMFrequencies()[2], 1.5f);
  EXPECT_EQ(gen.AMAmplitude(), 100);  // the copy is not reset
}

TEST_F(ToneGenTest, NoteNamesSetFrequenciesAndKeepTheirOctave) {
  TToneGen gen(nullptr, output_);
  EXPECT_EQ(gen.SetNote("A-"), 415);
  EXPECT_EQ(gen.Frequency(), 415);
  EXPECT_EQ(gen.SetNote("A"), 220);  // octave 3 from the note before
  EXPECT_EQ(gen.SetNote("O9E"), 0);  // above 20000 Hz: nothing changes
  EXPECT_EQ(gen.Frequency(), 220);
  EXPECT_EQ(gen.SetNote("A"), 220);

  gen.SetFrequency(440);
  EXPECT_FLOAT_EQ(gen.SetAMNote(tgAMLevel1, "C"), 523.0f / 440.0f);
  EXPECT_FLOAT_EQ(gen.AMFrequencies()[0], 523.0f / 440.0f);
  EXPECT_EQ(gen.AMFrequency(), 0.5f);  // the copy is not updated
  EXPECT_EQ(gen.AMAmplitudes()[0], 0);
  gen.SetAMMultiplier(false);
  EXPECT_EQ(gen.SetAMNote(tgAMLevel2, "C"), 523.0f);
  EXPECT_EQ(gen.SetAMNote(tgAMLevel2, "H"), 0.0f);
  EXPECT_EQ(gen.AMFrequencies()[1], 523.0f);
}

TEST_F(ToneGenTest, StoredExtraTonesAreOneHundredBytes) {
  TToneGen gen(nullptr, output_);
  const Blob data = gen.WriteAMArrayData();
  ASSERT_EQ(data.size(), 100u);
  EXPECT_EQ(data[0], 7);
  for (std::size_t i = 0; i < 8; ++i) {
    float frequency;
    std::memcpy(&frequency, data.data() + 12 + 12 * i, 4);
    EXPECT_EQ(frequency, 0.5f * static_cast<float>(i + 1));
  }

  TToneGen other(nullptr, output_);
  other.SetAMParameter(tgAMLevel8, 7.0f, -2, tgNoise);
  other.ReadAMArrayData(other.WriteAMArrayData());
  EXPECT_EQ(other.AMAmplitudes()[7], -2);  // read back without clamping
  gen.ReadAMArrayData(other.WriteAMArrayData());
  EXPECT_EQ(gen.AMWaveforms()[7], tgNoise);
  EXPECT_EQ(gen.AMFrequencies()[7], 7.0f);
}

TEST_F(ToneGenTest, StoredExtraTonesReaderRefusesOrIgnoresSafely) {
  TToneGen gen(nullptr, output_);
  gen.SetAMParameter(tgAMLevel1, 9.0f, 33, tgSquare);
  const ToneSettings before = gen.Settings();
  auto unchanged = [&] {
    return gen.AMAmplitudes() == before.AMAmplitudes &&
           gen.AMFrequencies() == before.AMFrequencies &&
           gen.AMWaveforms() == before.AMWaveforms;
  };

  gen.ReadAMArrayData(Blob{0xFF, 0xFF, 0xFF, 0xFF});  // count -1
  EXPECT_TRUE(unchanged());
  Blob shortData = TToneGen(nullptr, output_).WriteAMArrayData();
  shortData.resize(99);
  EXPECT_THROW(gen.ReadAMArrayData(shortData), std::invalid_argument);
  EXPECT_THROW(gen.ReadAMArrayData(Blob{7, 0}), std::invalid_argument);
  Blob hugeCount(100, 0);
  hugeCount[0] = hugeCount[1] = hugeCount[2] = 0xFF;
  hugeCount[3] = 0x7F;
  EXPECT_THROW(gen.ReadAMArrayData(hugeCount), std::invalid_argument);
  EXPECT_TRUE(unchanged());

  // Ten entries: the eight that exist are read, the rest passed over.
  Blob ten(4 + 12 * 10, 0);
  ten[0] = 9;
  for (std::size_t i = 0; i < 10; ++i)
    ten[4 + 12 * i] = static_cast<std::uint8_t>(i + 1);
  gen.Prepare();
  gen.ReadAMArrayData(ten);
  EXPECT_EQ(gen.AMAmplitudes()[7], 8);
  EXPECT_FALSE(gen.WaveDirty());  // reading marks nothing
}

TEST_F(ToneGenTest, StoredPropertiesRoundTripThroughALayout) {
  ComponentRegistry registry;
  TToneGen stored(nullptr, output_);
  stored.SetName("ToneGen1");
  stored.SetWaveform(tgTriangle);
  stored.SetDecay(60);
  stored.SetAMParameter(tgAMLevel2, 3.0f, 20, tgSawtooth);
  const LayoutNode node = SaveComponent(stored);
  std::vector<std::string> names;
  for (const LayoutProperty& p : node.properties) names.push_back(p.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Waveform", "Decay", "AMAmplitude",
                                             "AMWaveform", "AMFrequency",
                                             "AMArrayData"}));

  TToneGen loaded(nullptr, output_);
  LoadComponent(loaded, ParseLayout(FormatLayout(node)), registry);
  EXPECT_EQ(loaded.Waveform(), tgTriangle);
  EXPECT_EQ(loaded.Decay(), 60);
  EXPECT_EQ(loaded.AMAmplitudes()[1], 20);
  EXPECT_EQ(loaded.AMWaveforms()[1], tgSawtooth);
}

TEST_F(ToneGenTest, MalformedStoredExtraTonesFailTheLayout) {
  ComponentRegistry registry;
  TToneGen gen(nullptr, output_);
  EXPECT_THROW(
      LoadComponent(gen,
                    ParseLayout("TToneGen T { AMArrayData: <07000000 00> }"),
                    registry),
      LayoutError);
}

TEST(ToneGenThreadsTest, CreatedOnOneThreadDestroyedOnAnother) {
  RecordingOutput output;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 200; ++i) {
        auto gen = std::make_unique<TToneGen>(nullptr, output);
        std::thread([g = std::move(gen)]() mutable { g.reset(); }).join();
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(TToneGen::InstanceCount(), 0);
}

}  // namespace
}  // namespace quillora
