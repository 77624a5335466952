// Named sounds, handles, volumes, the ambient fades and the playlist's runs,
// modes and section jumps, driven through a recording device; and one track
// change on the real device.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "game/sound/AudioFake.h"
#include "game/sound/SoundEngine.h"
#include "platform/AudioTestFiles.h"
#include "platform/OggTestFiles.h"
#include "platform/Random.h"
#include "support/TempDir.h"

namespace {

using Names = std::vector<std::string>;

class SoundEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetAudioDevice(&fake);
    ASSERT_TRUE(engine->Init(AudioFake::AnyWindow()));
  }
  void TearDown() override {
    engine.reset();
    platform::SetAudioDevice(nullptr);
    EXPECT_EQ(fake.misuses, 0);
  }

  // Loads a new playlist of (file, mode) entries and starts it.
  void StartMusic(const std::vector<std::pair<std::string, std::string>>& tracks) {
    engine->SetLoadingPlaylist(true);
    engine->ClearPlaylist();
    for (const auto& [file, mode] : tracks) {
      fake.AddFile(file);
      ASSERT_TRUE(engine->Load(file, mode));
    }
    ASSERT_EQ(engine->PlayMusic(), !tracks.empty());
  }
  std::string Playing() {
    const Names playing = fake.PlayingStreams();
    return playing.size() == 1 ? playing[0] : std::to_string(playing.size()) + " tracks";
  }
  // The current track and the `ends` that follow it, each played to its end
  // and handled by the next frame.
  Names Hear(int ends) {
    Names heard = {Playing()};
    for (int i = 0; i < ends; ++i) {
      fake.EndStream(Playing());
      engine->Update();
      heard.push_back(Playing());
    }
    return heard;
  }
  void Frames(int count) {
    for (int i = 0; i < count; ++i) engine->Update();
  }

  AudioFake fake;
  std::unique_ptr<SoundEngine> engine = std::make_unique<SoundEngine>();
};

TEST_F(SoundEngineTest, ExtensionPicksSampleOrModuleAndAFailedLoadAddsNothing) {
  for (const char* file : {"BOOM.WAV", "other.wav", "tune.Xm", "noext", "notes.txt", "song.flac"})
    fake.AddFile(file);
  EXPECT_TRUE(engine->Load("BOOM.WAV", "boom"));
  EXPECT_TRUE(engine->Load("tune.Xm", "tune"));
  EXPECT_FALSE(engine->Load("other.wav", "boom"));  // the name is taken
  for (const char* file : {"noext", "notes.txt", "song.flac", "missing.wav"})
    EXPECT_FALSE(engine->Load(file, file)) << file;
  EXPECT_EQ(fake.OpenItems(), 2);
  int kind = 0;
  int index = 0;
  EXPECT_TRUE(engine->Find("tune", kind, index));
  EXPECT_EQ(kind, SoundEngine::kSong);
  EXPECT_TRUE(engine->Play("boom"));
  EXPECT_TRUE(engine->Play("tune"));
  EXPECT_FALSE(engine->Play("Boom"));  // names match exactly
  EXPECT_FALSE(engine->Play("missing.wav"));
  EXPECT_EQ(fake.soundsPlayed, (Names{"BOOM.WAV", "tune.Xm"}));
}

TEST_F(SoundEngineTest, OnlyTheSoleHandleWithAWindowInitialisesAndTheLastClosesAll) {
  {
    SoundEngine second;
    EXPECT_FALSE(second.Init(AudioFake::AnyWindow()));
    EXPECT_FALSE(engine->Init(AudioFake::AnyWindow()));
  }
  EXPECT_FALSE(engine->Init(nullptr));
  EXPECT_EQ(fake.initCalls, 1);
  EXPECT_EQ(fake.closeCalls, 0);  // a temporary handle released nothing

  fake.AddFile("hit.wav");
  fake.AddFile("amb.ogg");
  engine->Load("hit.wav", "hit");
  engine->PlayAmbient("amb.ogg");
  StartMusic({{"level.ogg", "order"}});
  engine.reset();
  EXPECT_EQ(fake.OpenItems(), 0);
  EXPECT_EQ(fake.closeCalls, 1);
}

TEST_F(SoundEngineTest, QuietModeAndVolumesGiveTheirExactLevels) {
  StartMusic({{"level.ogg", "order"}});
  engine->ToggleQuiet();
  Frames(5);
  EXPECT_EQ(fake.StreamVolume("level.ogg"), 63);
  engine->ToggleQuiet();
  EXPECT_EQ(fake.StreamVolume("level.ogg"), 255);

  for (int volume : {50, 101, -1}) {  // out of range is ignored
    engine->SetMusicVolume(volume);
    engine->SetSfxVolume(volume);
  }
  engine->Update();
  EXPECT_EQ(fake.StreamVolume("level.ogg"), 127);
  EXPECT_EQ(fake.sfxMaster, 127);
  engine->ToggleQuiet();
  EXPECT_EQ(fake.StreamVolume("level.ogg"), 31);
  engine->NextSection();  // restarts the track with a fade-in, which stops at the quiet level
  Frames(40);
  EXPECT_EQ(fake.StreamVolume("level.ogg"), 31);
}

// A track is never heard louder than it is meant to start: fades begin silent.
TEST_F(SoundEngineTest, EveryTrackStartsAtItsOwnVolume) {
  StartMusic({{"a.ogg", "order"}, {"b.ogg", "loop"}, {"c.ogg", "loop"}});
  EXPECT_EQ(fake.StreamStartVolume("a.ogg"), 255);
  engine->NextSection();
  EXPECT_EQ(fake.StreamStartVolume("b.ogg"), 0);
  engine->ToggleQuiet();
  Frames(100);
  fake.EndStream("b.ogg");
  engine->Update();
  EXPECT_EQ(fake.StreamStartVolume("c.ogg"), 63) << "a track change while quiet";
  fake.AddFile("amb.ogg");
  engine->PlayAmbient("amb.ogg");
  engine->FadeInAmbient();
  EXPECT_EQ(fake.StreamStartVolume("amb.ogg"), 0);
}

TEST_F(SoundEngineTest, AmbientFadesInOverTheMusicOneStepPerFrameAndOutAgain) {
  StartMusic({{"level.ogg", "order"}});
  EXPECT_TRUE(engine->PlayAmbient("missing.ogg"));
  engine->FadeInAmbient();
  Frames(10);
  EXPECT_EQ(fake.StreamVolume("level.ogg"), 255) << "no ambient track: the music stays";

  fake.AddFile("rats.ogg");
  EXPECT_TRUE(engine->PlayAmbient("rats.ogg"));
  engine->FadeInAmbient();
  EXPECT_EQ(fake.StreamVolume("rats.ogg"), 0);
  for (int frame = 1; frame <= 258; ++frame) {
    engine->Update();
    ASSERT_EQ(fake.StreamVolume("rats.ogg"), std::min(frame, 255));
    ASSERT_EQ(fake.StreamVolume("level.ogg"), std::max(255 - frame, 0));
  }
  engine->FadeOutAmbient();
  for (int frame = 1; frame <= 255; ++frame) {
    engine->Update();
    ASSERT_EQ(fake.StreamVolume("rats.ogg"), 255 - frame);
    ASSERT_EQ(fake.StreamVolume("level.ogg"), frame);
  }
  engine->Update();  // silent at last: the ambient track stops
  EXPECT_EQ(fake.PlayingStreams(), Names{"level.ogg"});
}

TEST_F(SoundEngineTest, IntroPlaysOnceThenEveryStartOfTheRandomRunDrawsAnEntry) {
  const Names run = {"r1.ogg", "r2.ogg", "r3.ogg"};
  Names expected = {"intro.ogg"};
  platform::SeedRandom(99);
  for (int i = 0; i < 12; ++i) expected.push_back(run[platform::Random() % 3]);
  platform::SeedRandom(99);
  StartMusic({{"intro.ogg", "intro"},
              {"r1.ogg", "random"},
              {"r2.ogg", "random"},
              {"r3.ogg", "random"},
              {"boss.ogg", "order"}});
  EXPECT_EQ(Hear(12), expected);
  engine->NextSection();
  EXPECT_EQ(fake.StreamVolume("boss.ogg"), 0);  // fades in
  EXPECT_EQ(Hear(2), (Names{"boss.ogg", "boss.ogg", "boss.ogg"}));
  engine->NextSection();  // past the last run: back to the start
  EXPECT_EQ(Playing(), "intro.ogg");
}

TEST_F(SoundEngineTest, OrderEntriesLoopAloneAndOtherWordsPlayTheirRunInTurn) {
  StartMusic({{"a.ogg", "order"}, {"b.ogg", "order"}});
  EXPECT_EQ(Hear(1), (Names{"a.ogg", "a.ogg"}));
  engine->NextSection();
  EXPECT_EQ(Hear(1), (Names{"b.ogg", "b.ogg"}));
  engine->NextSection();
  EXPECT_EQ(Playing(), "a.ogg");

  StartMusic({{"a.ogg", "loop"}, {"b.ogg", "loop"}, {"c.ogg", "loop"}, {"d.ogg", "order"}});
  EXPECT_EQ(Hear(4), (Names{"a.ogg", "b.ogg", "c.ogg", "a.ogg", "b.ogg"}));
  engine->NextSection();
  EXPECT_EQ(Playing(), "d.ogg");
}

TEST_F(SoundEngineTest, SingleEntryLoopsUnlessItPlaysOnce) {
  for (const char* mode : {"order", "random", "intro", "whatever"}) {
    const std::string file = std::string(mode) + ".ogg";
    StartMusic({{file, mode}});
    EXPECT_EQ(Hear(2), (Names{file, file, file}));
    EXPECT_EQ(fake.StreamPlays(file), 3) << mode;
  }
  StartMusic({{"jingle.ogg", "once"}});
  EXPECT_EQ(Hear(1), (Names{"jingle.ogg", "0 tracks"}));
  engine->Update();
  EXPECT_EQ(Playing(), "0 tracks");
  StartMusic({{"theme.ogg", "order"}, {"outro.ogg", "once"}});  // wherever it stands
  engine->NextSection();
  EXPECT_EQ(Hear(1), (Names{"outro.ogg", "0 tracks"}));
  StartMusic({});
  EXPECT_FALSE(engine->Load("missing.ogg", "order"));
}

TEST_F(SoundEngineTest, EndOfATrackAlreadyReplacedOrClosedIsIgnored) {
  StartMusic({{"a.ogg", "order"}, {"b.ogg", "order"}});
  platform::AudioStream* first = fake.StreamHandle("a.ogg");
  engine->NextSection();
  SoundEngine::OnStreamEnd(first, nullptr);
  EXPECT_EQ(Playing(), "b.ogg");
  EXPECT_EQ(fake.StreamPlays("b.ogg"), 1);
  // The old level's track ends just as the next level's opens.
  fake.EndStream("b.ogg");
  fake.SetOpeningPolls(3);  // the fake counts a play before the open as misuse
  StartMusic({{"new.ogg", "order"}});
  engine->Update();
  EXPECT_EQ(Playing(), "new.ogg");
  EXPECT_EQ(fake.StreamPlays("new.ogg"), 1);
}

// The real SDL2_mixer device on SDL's silent driver: a generated track plays to
// its end and only the frame's update starts the next one.
TEST(SoundEngineOnMixer, TrackEndAdvancesThePlaylistInTheFrameUpdate) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  testsupport::TempDir dir;
  audiotest::WriteToneWav(dir / "intro.wav", 60);
  audiotest::WriteToneWav(dir / "theme.wav", 3000);
  platform::SetAudioDevice(nullptr);

  SoundEngine engine;
  ASSERT_TRUE(engine.Init(AudioFake::AnyWindow()));
  engine.SetLoadingPlaylist(true);
  engine.ClearPlaylist();
  ASSERT_TRUE(engine.Load((dir / "intro.wav").string(), "intro"));
  ASSERT_TRUE(engine.Load((dir / "theme.wav").string(), "order"));
  ASSERT_TRUE(engine.PlayMusic());
  ASSERT_EQ(Mix_Playing(-1), 1);

  // The intro ends on the audio thread; nothing follows until a frame runs.
  ASSERT_TRUE(audiotest::PollUntil([] { return Mix_Playing(-1) == 0; }, [] {}));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(Mix_Playing(-1), 0);
  ASSERT_TRUE(audiotest::PollUntil([] { return Mix_Playing(-1) == 1; }, [&] { engine.Update(); }));
  for (int frame = 0; frame < 5; ++frame) engine.Update();
  EXPECT_EQ(Mix_Playing(-1), 1);  // the theme plays on, once
}

// Long effects fill every channel the music leaves; when a track ends and an
// effect takes its channel before the frame's update, the next track still plays.
TEST(SoundEngineOnMixer, TrackChangeWithEveryChannelBusyTakesTheOldestEffectsChannel) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  testsupport::TempDir dir;
  audiotest::WriteToneWav(dir / "intro.wav", 60);
  audiotest::WriteToneWav(dir / "theme.wav", 5000);
  audiotest::WriteToneWav(dir / "boom.wav", 5000);
  platform::SetAudioDevice(nullptr);

  SoundEngine engine;
  ASSERT_TRUE(engine.Init(AudioFake::AnyWindow()));
  ASSERT_TRUE(engine.Load((dir / "boom.wav").string(), "boom"));
  engine.SetLoadingPlaylist(true);
  engine.ClearPlaylist();
  ASSERT_TRUE(engine.Load((dir / "intro.wav").string(), "intro"));
  ASSERT_TRUE(engine.Load((dir / "theme.wav").string(), "order"));
  ASSERT_TRUE(engine.PlayMusic());
  for (int i = 0; i < 31; ++i) engine.Play("boom");
  ASSERT_EQ(Mix_Playing(-1), 32);
  Mix_Chunk* const boom = Mix_GetChunk(31);

  ASSERT_TRUE(audiotest::PollUntil([] { return Mix_Playing(-1) == 31; }, [] {}));
  engine.Play("boom");  // the intro's channel
  ASSERT_EQ(Mix_Playing(-1), 32);
  engine.Update();
  int others = 0;
  for (int channel = 0; channel < 32; ++channel)
    others += Mix_Playing(channel) && Mix_GetChunk(channel) != boom;
  EXPECT_EQ(others, 1) << "the theme plays in place of one effect";
  EXPECT_EQ(Mix_Playing(-1), 32);
}

// Streamed tracks hand over to what follows them inside the mixer: an intro into
// its looping theme, and the theme into itself, play on without a gap while the
// frames run at their own pace. Heard after the limiter, the only silence is
// what the tracks hold themselves (none: they are steady tones).
TEST(SoundEngineOnMixer, LoopsAndTrackChangesPlayWithoutAGap) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  testsupport::TempDir dir;
  audiotest::WriteToneOgg(dir / "intro.ogg", 0.25);
  audiotest::WriteToneOgg(dir / "theme.ogg", 0.3);
  platform::SetAudioDevice(nullptr);

  SoundEngine engine;
  ASSERT_TRUE(engine.Init(AudioFake::AnyWindow()));
  struct Heard {
    std::mutex lock;
    std::vector<std::int16_t> samples;
  } heard;
  Mix_SetPostMix(
      [](void* self, Uint8* stream, int length) {
        auto& out = *static_cast<Heard*>(self);
        const auto* samples = reinterpret_cast<const std::int16_t*>(stream);
        std::lock_guard lock(out.lock);
        out.samples.insert(out.samples.end(), samples, samples + length / 2);
      },
      &heard);
  engine.SetLoadingPlaylist(true);
  engine.ClearPlaylist();
  ASSERT_TRUE(engine.Load((dir / "intro.ogg").string(), "intro"));
  ASSERT_TRUE(engine.Load((dir / "theme.ogg").string(), "order"));
  ASSERT_TRUE(engine.PlayMusic());
  // The intro, then the theme three times over.
  const std::size_t wanted = 2 * 44100 * 125 / 100;
  auto enough = [&] {
    std::lock_guard lock(heard.lock);
    return heard.samples.size() >= wanted;
  };
  ASSERT_TRUE(audiotest::PollUntil(enough, [&] { engine.Update(); }));
  Mix_SetPostMix(nullptr, nullptr);

  std::lock_guard lock(heard.lock);
  const std::vector<std::int16_t>& s = heard.samples;
  std::size_t first = 0;
  while (first < s.size() && s[first] == 0) ++first;
  first -= first % 2;
  int longest = 0, run = 0;
  for (std::size_t i = first; i + 1 < s.size(); i += 2) {
    run = std::abs(s[i]) <= 16 && std::abs(s[i + 1]) <= 16 ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  EXPECT_LE(longest, 44100 / 1000) << "frames of silence in a row";
}

}  // namespace

