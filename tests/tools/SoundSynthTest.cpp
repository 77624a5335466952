// Sound recipes: WAV layout, lengths, seamless loops and the faults recipes report.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "SoundSynth.h"

namespace assetgen {
namespace {

std::uint32_t U32(const std::string& s, size_t at) {
  std::uint32_t v = 0;
  std::memcpy(&v, s.data() + at, 4);
  return v;
}
std::uint16_t U16(const std::string& s, size_t at) {
  std::uint16_t v = 0;
  std::memcpy(&v, s.data() + at, 2);
  return v;
}

std::string Fault(const std::string& text) {
  try {
    ParseSoundRecipes(text, "t.snd");
  } catch (const SourceError& e) {
    return e.what();
  }
  return "";
}

TEST(WavEncoding, HeaderDescribesSixteenBitMonoAndSamplesAreClampedAndRounded) {
  std::string wav = EncodeWav({0.0f, 1.0f, -1.0f, 2.0f, 0.5f}, 22050);
  ASSERT_EQ(wav.size(), 44u + 10u);
  EXPECT_EQ(wav.substr(0, 4), "RIFF");
  EXPECT_EQ(U32(wav, 4), 36u + 10u);
  EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(U16(wav, 20), 1);  // PCM
  EXPECT_EQ(U16(wav, 22), 1);  // mono
  EXPECT_EQ(U32(wav, 24), 22050u);
  EXPECT_EQ(U32(wav, 28), 44100u);
  EXPECT_EQ(U16(wav, 34), 16);
  EXPECT_EQ(wav.substr(36, 4), "data");
  EXPECT_EQ(U32(wav, 40), 10u);
  EXPECT_EQ(static_cast<std::int16_t>(U16(wav, 46)), 32767);
  EXPECT_EQ(static_cast<std::int16_t>(U16(wav, 48)), -32767);
  EXPECT_EQ(static_cast<std::int16_t>(U16(wav, 50)), 32767);  // 2.0 clamps
  EXPECT_EQ(static_cast<std::int16_t>(U16(wav, 52)), 16384);
}

TEST(SoundRecipes, EffectsLastTheirLengthStayBelowFullScaleAndRepeatExactly) {
  auto recipes = ParseSoundRecipes(
      "sound boom sounds/boom.wav length=0.5 rate=8000  # a comment\n"
      "tone wave=noise f0=3000 dur=0.5 gain=3 lowpass=2000:200 seed=4\n"
      "tone wave=square f0=100 f1=50 start=0.1 dur=0.4 decay=0.1 gain=3\n",
      "t.snd");
  ASSERT_EQ(recipes.size(), 1u);
  EXPECT_EQ(recipes[0].name, "boom");
  EXPECT_EQ(recipes[0].file, "sounds/boom.wav");
  auto samples = Synthesize(recipes[0]);
  ASSERT_EQ(samples.size(), 4000u);
  float peak = 0;
  for (float s : samples) peak = std::max(peak, std::fabs(s));
  EXPECT_GT(peak, 0.5f);
  EXPECT_LE(peak, 0.9f + 1e-6f);  // loud layers are scaled down, never clipped
  EXPECT_EQ(Synthesize(recipes[0]), samples);
}

TEST(SoundRecipes, MusicLoopsLastTheirStepsAndWrapDrumTailsToTheStart) {
  // A kick on the last step rings longer than the step, so its tail belongs at the loop's
  // start: the loop then repeats without a click.
  auto recipes = ParseSoundRecipes(
      "music music/m.wav bpm=120 steps=8 rate=8000\n"
      "voice wave=sine gain=0.3 notes=-:2,A4:2,-:4\n"
      "drums pattern=.......k\n",
      "t.snd");
  ASSERT_EQ(recipes.size(), 1u);
  auto loop = Synthesize(recipes[0]);
  ASSERT_EQ(loop.size(), 8000u);  // 8 sixteenths at 120 bpm = 1 s
  float head = 0, gap = 0;
  for (size_t i = 0; i < 300; ++i) head = std::max(head, std::fabs(loop[i]));
  for (size_t i = 4100; i < 6900; ++i) gap = std::max(gap, std::fabs(loop[i]));
  EXPECT_GT(head, 0.01f);  // only the kick's tail can sound here
  EXPECT_EQ(gap, 0.0f);    // the rest between the note and the kick is silent
}

TEST(SoundRecipes, FaultsNameTheLine) {
  EXPECT_EQ(Fault("tone wave=sine f0=1 dur=1\n"),
            "t.snd:1: 'tone' before any 'sound' or 'music' line");
  EXPECT_EQ(Fault("sound a s/a.wav length=1\ntone wave=buzz f0=100 dur=1\n"),
            "t.snd:2: unknown wave 'buzz'");
  EXPECT_EQ(Fault("sound a s/a.wav length=1\ntone wave=sine f0=100 dur=2\n"),
            "t.snd:2: the layer runs past the sound's length");
  EXPECT_EQ(Fault("sound a s/a.wav length=1\ntone wave=sine dur=1\n"), "t.snd:2: missing f0=");
  EXPECT_EQ(Fault("sound a s/a.wav length=1\ntone wave=sine f0=100 dur=1 pitch=3\n"),
            "t.snd:2: unknown parameter 'pitch'");
  EXPECT_EQ(Fault("music m.wav bpm=120 steps=8\nvoice notes=C4:4,H4:4\n"),
            "t.snd:2: bad note 'H4'");
  EXPECT_EQ(Fault("music m.wav bpm=120 steps=8\nvoice notes=C4:4,D#4:3\n"),
            "t.snd:2: the notes last 7 steps, the loop 8");
  EXPECT_EQ(Fault("music m.wav bpm=120 steps=8\ndrums pattern=k.s\n"),
            "t.snd:2: the drum pattern's length must divide the loop's steps");
  EXPECT_EQ(Fault("sound a ../a.wav length=1\n"),
            "t.snd:1: the file must lie inside the working folder");
  EXPECT_EQ(Fault("music m.wav bpm=120 steps=8\ntone wave=sine f0=1 dur=1\n"),
            "t.snd:2: 'tone' does not belong in a music recipe");
}

}  // namespace
}  // namespace assetgen
