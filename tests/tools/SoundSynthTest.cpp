// Sound recipes: WAV layout, lengths, seamless loops and the faults recipes report.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <utility>
#include <vector>

#include "Loudness.h"
#include "SoundSynth.h"
#include "platform/Audio.h"
#include "support/TempDir.h"

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

std::vector<float> Channel(const std::vector<float>& stereo, int channel) {
  std::vector<float> out;
  for (size_t i = static_cast<size_t>(channel); i < stereo.size(); i += 2) out.push_back(stereo[i]);
  return out;
}

float Peak(const std::vector<float>& samples, size_t from = 0, size_t to = SIZE_MAX) {
  float peak = 0;
  for (size_t i = from; i < std::min(to, samples.size()); ++i)
    peak = std::max(peak, std::fabs(samples[i]));
  return peak;
}

std::vector<float> Render(const std::string& text) {
  return Synthesize(ParseSoundRecipes(text, "t.snd").at(0));
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
  auto stereo = Synthesize(recipes[0]);
  ASSERT_EQ(stereo.size(), 16000u);  // 8 sixteenths at 120 bpm = 1 s, two channels
  std::vector<float> loop = Channel(stereo, 0);
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

TEST(SoundRecipes, SectionsPlayInFormOrderAndTheShorthandsMatchTheirLongForms) {
  const std::string head = "music m.wav bpm=120 rate=8000 form=a,b,a\n";
  // Each row: a recipe, and one that must sound exactly the same.
  const std::pair<std::string, std::string> same[] = {
      {head + "section a steps=4\nvoice notes=C4:1*4\nsection b steps=4\nvoice notes=-:4\n",
       head + "section a steps=4\nvoice notes=C4:1,C4:1,C4:1,C4:1\nsection b steps=4\n"
              "voice notes=-:4\n"},
      // A section played `with` another sounds as both written together.
      {head + "section a steps=4\nvoice notes=E4:4\nsection b steps=4 with=a\n"
              "voice notes=G4:4\n",
       head + "section a steps=4\nvoice notes=E4:4\nsection b steps=4\nvoice notes=E4:4\n"
              "voice notes=G4:4\n"},
      // A form item +12 plays its section an octave up.
      {"music m.wav bpm=120 rate=8000 form=a+12\nsection a steps=4\nvoice notes=C4:4\n",
       "music m.wav bpm=120 rate=8000 steps=4\nvoice notes=C5:4\n"},
  };
  for (const auto& [shorthand, longhand] : same) {
    auto a = Render(shorthand), b = Render(longhand);
    ASSERT_EQ(a.size(), b.size()) << shorthand;
    float worst = 0;
    for (size_t i = 0; i < a.size(); ++i) worst = std::max(worst, std::fabs(a[i] - b[i]));
    EXPECT_LT(worst, 1e-3f) << shorthand;
  }

  // The piece lasts the sum of its form: 4 + 8 + 4 steps of 1/8 s.
  auto piece = Render(head +
                      "section a steps=4\nvoice wave=sine notes=A4:4\n"
                      "section b steps=8\nvoice notes=-:8\n");
  ASSERT_EQ(piece.size(), 2u * 16000u);
  auto left = Channel(piece, 0);
  EXPECT_GT(Peak(left, 0, 3900), 0.1f);       // a
  EXPECT_EQ(Peak(left, 4100, 11900), 0.0f);   // b is a rest
  EXPECT_GT(Peak(left, 12100, 15900), 0.1f);  // a again
}

TEST(SoundRecipes, PanPlacesALineAndTheEchoRepeatsItAcrossTheLoopsEnd) {
  struct Case {
    const char* voice;
    bool left, right;
  };
  const Case cases[] = {
      {"voice wave=sine pan=-1 notes=A4:8\n", true, false},
      {"voice wave=sine pan=1 notes=A4:8\n", false, true},
      {"voice wave=sine notes=A4:8\n", true, true},
  };
  for (const Case& c : cases) {
    auto piece = Render(std::string("music m.wav bpm=120 rate=8000 steps=8\n") + c.voice);
    EXPECT_EQ(Peak(Channel(piece, 0)) > 0, c.left) << c.voice;
    EXPECT_EQ(Peak(Channel(piece, 1)) > 0, c.right) << c.voice;
  }
  // A note in the loop's last quarter, echoed 0.5 s later: the echo lands in the
  // loop's second quarter, on the other side (a ping-pong).
  auto echoed = Render(
      "music m.wav bpm=120 rate=8000 steps=8 echo=0.5:0.3\n"
      "voice wave=sine pan=1 echo=1 release=0.01 notes=-:6,A4:2\n");
  auto left = Channel(echoed, 0);
  EXPECT_EQ(Peak(left, 0, 1900), 0.0f);
  EXPECT_GT(Peak(left, 2100, 3900), 0.05f);
}

double SideCorrelation(const std::vector<float>& stereo) {
  double lr = 0, ll = 0, rr = 0;
  for (size_t i = 0; i + 1 < stereo.size(); i += 2) {
    lr += double(stereo[i]) * stereo[i + 1];
    ll += double(stereo[i]) * stereo[i];
    rr += double(stereo[i + 1]) * stereo[i + 1];
  }
  return lr / std::sqrt(ll * rr);
}

// A centred line sounds the same in both ears; a spread (twin or late copy) or the room
// makes the sides differ, each by its own amount.
TEST(SoundRecipes, SpreadAndRoomWidenACentredLine) {
  struct Case {
    const char* music;
    const char* voice;
    double low, high;
  } cases[] = {
      {"", "voice wave=saw detune=8 notes=A3:16\n", 0.999, 1.001},
      {"", "voice wave=saw detune=8 spread=1 notes=A3:16\n", -0.5, 0.5},
      {"", "voice wave=saw spread=0.5 notes=A3:16\n", 0.0, 0.98},
      {" room=1", "voice wave=saw notes=A3:4,C4:4,E4:4,-:4\n", 0.0, 0.98},
  };
  for (const Case& c : cases) {
    const double corr = SideCorrelation(
        Render(std::string("music m.wav bpm=120 rate=22050 steps=16") + c.music + "\n" + c.voice));
    EXPECT_GE(corr, c.low) << c.music << c.voice;
    EXPECT_LE(corr, c.high) << c.music << c.voice;
  }
}

// Tracks follow one another, so each lands at the same loudness whatever its lines' gains,
// with its peaks still held in.
TEST(SoundRecipes, MusicLandsAtOneLoudnessWhateverItsGains) {
  for (const char* gain : {"0.02", "0.3", "3"}) {
    const auto piece = Render(std::string("music m.wav bpm=120 steps=16\nvoice wave=saw gain=") +
                              gain + " notes=A3:8,E4:8\ndrums gain=0.5 pattern=k.x.\n");
    EXPECT_NEAR(IntegratedLoudness(piece, 44100, 2), -17, 0.2) << gain;
    EXPECT_LE(Peak(piece), 0.79f + 1e-6f) << gain;
  }
}

TEST(SoundRecipes, MusicFaultsNameTheLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"music m.wav bpm=120\n", "t.snd:1: a music loop needs either steps= or form="},
      {"music m.wav bpm=120 steps=8 form=a\n",
       "t.snd:1: a music loop needs either steps= or form="},
      {"music m.wav bpm=120 form=a\nvoice notes=C4:4\n",
       "t.snd:2: 'voice' before any 'section' line"},
      {"music m.wav bpm=120 form=a,c\nsection a steps=4\nvoice notes=C4:4\n",
       "t.snd:1: the form names no section 'c'"},
      {"music m.wav bpm=120 form=a\nsection a steps=4\nvoice notes=C4:2*3\n",
       "t.snd:3: the notes last 6 steps, the section 4"},
      {"music m.wav bpm=120 form=a\nsection a steps=4\nvoice notes=C4:2*0\n",
       "t.snd:3: note 'C4:2*0' has a bad length"},
      {"music m.wav bpm=120 form=a\nsection a steps=4\nvoice notes=C4+X4:4\n",
       "t.snd:3: bad note 'X4'"},
      {"music m.wav bpm=120 form=b\nsection a steps=4\nsection b steps=8 with=a\n",
       "t.snd:3: section 'a' lasts 4 steps, this one 8"},
      {"music m.wav bpm=120 form=a\nsection a steps=4\nsection a steps=4\n",
       "t.snd:3: section 'a' is given twice"},
      {"music m.wav bpm=120 steps=8\nsection a steps=8\n",
       "t.snd:2: a loop given by steps= has no sections"},
      {"music m.wav bpm=120 steps=8\nvoice pan=2 notes=C4:8\n", "t.snd:2: pan=2 is outside -1..1"},
      {"music m.wav bpm=60 form=a*2\nsection a steps=4\n",
       "t.snd:1: the form names no section 'a*2'"},
  };
  for (const auto& [text, message] : cases) EXPECT_EQ(Fault(text), message) << text;
}

TEST(OggEncoding, SameSamplesGiveTheSameStreamAndTheMixerDecodesItWholeBelowFullScale) {
  auto recipes = ParseSoundRecipes(
      "music music/m.ogg bpm=120 form=a,a\nsection a steps=8\n"
      "voice wave=square gain=2 notes=A2+E3+A3:8\ndrums gain=2 pattern=k.s.\n",
      "t.snd");
  const auto samples = Synthesize(recipes.at(0));
  const std::string ogg = EncodeFor(recipes[0], samples);
  ASSERT_GT(ogg.size(), 100u);
  EXPECT_EQ(ogg.substr(0, 4), "OggS");
  EXPECT_EQ(EncodeFor(recipes[0], samples), ogg);
  EXPECT_LT(ogg.size(), samples.size() * 2 / 4);  // well under the 16-bit size

  testsupport::TempDir dir;
  const auto file = (dir / "m.ogg").string();
  std::ofstream(file, std::ios::binary) << ogg;

  setenv("SDL_AUDIODRIVER", "dummy", 0);
  auto device = platform::CreateMixerAudioDevice();
  device->Init(44100, 32);
  platform::AudioStream* stream = device->OpenStream(file, true);
  ASSERT_NE(stream, nullptr);
  EXPECT_NE(device->PlayStream(stream, 255), platform::AudioDevice::kNoChannel);

  // The decoded loop keeps every frame (a seamless loop) and no sample reaches full scale.
  Mix_Chunk* chunk = Mix_LoadWAV(file.c_str());
  ASSERT_NE(chunk, nullptr);
  int rate = 0, channels = 0;
  Uint16 format = 0;
  ASSERT_TRUE(Mix_QuerySpec(&rate, &format, &channels));
  ASSERT_EQ(rate, 44100);
  ASSERT_EQ(format, AUDIO_S16SYS);
  EXPECT_EQ(chunk->alen, samples.size() / 2 * static_cast<size_t>(channels) * 2);
  int peak = 0;
  const auto* pcm = reinterpret_cast<const std::int16_t*>(chunk->abuf);
  for (Uint32 i = 0; i < chunk->alen / 2; ++i) peak = std::max(peak, std::abs(int{pcm[i]}));
  // Music is brought to one loudness, so this steady chord peaks near a third of full scale.
  EXPECT_GT(peak, 8000);
  EXPECT_LT(peak, 32767);
  Mix_FreeChunk(chunk);
  device->Close();
}

}  // namespace
}  // namespace assetgen
