// Named sounds, handles, volumes, quiet mode and the ambient fades, driven
// through a recording device.
#include <gtest/gtest.h>

#include <memory>

#include "game/SoundEngine.h"
#include "gameio/AudioFake.h"

namespace {

class SoundEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetAudioDevice(&fake);
    engine = std::make_unique<SoundEngine>();
    ASSERT_TRUE(engine->Init(AudioFake::AnyWindow()));
  }
  void TearDown() override {
    engine.reset();
    platform::SetAudioDevice(nullptr);
    EXPECT_EQ(fake.misuses, 0);
  }

  void StartMusic(const std::string& file) {
    fake.AddFile(file);
    engine->SetLoadingPlaylist(true);
    engine->ClearPlaylist();
    ASSERT_TRUE(engine->Load(file, "order"));
    ASSERT_TRUE(engine->PlayMusic());
    engine->SetLoadingPlaylist(false);
  }

  AudioFake fake;
  std::unique_ptr<SoundEngine> engine;
};

TEST_F(SoundEngineTest, ExtensionPicksSampleOrModuleAndAFailedLoadAddsNothing) {
  for (const char* file : {"BOOM.WAV", "other.wav", "tune.Xm", "noext", "notes.txt", "song.flac"})
    fake.AddFile(file);
  EXPECT_TRUE(engine->Load("BOOM.WAV", "boom"));
  EXPECT_TRUE(engine->Load("tune.Xm", "tune"));
  EXPECT_FALSE(engine->Load("other.wav", "boom"));  // the name is taken
  EXPECT_FALSE(engine->Load("noext", "a"));
  EXPECT_FALSE(engine->Load("notes.txt", "b"));
  EXPECT_FALSE(engine->Load("song.flac", "c"));
  EXPECT_FALSE(engine->Load("missing.wav", "d"));
  EXPECT_EQ(fake.OpenItems(), 2);

  int kind = 0;
  int index = 0;
  EXPECT_TRUE(engine->Find("tune", kind, index));
  EXPECT_EQ(kind, SoundEngine::kSong);
  EXPECT_FALSE(engine->Find("Boom", kind, index));
  EXPECT_EQ(kind, -1);
  EXPECT_EQ(index, -1);
  EXPECT_TRUE(engine->Play("boom"));
  EXPECT_TRUE(engine->Play("tune"));
  EXPECT_FALSE(engine->Play("d"));
  EXPECT_EQ(fake.soundsPlayed, (std::vector<std::string>{"BOOM.WAV", "tune.Xm"}));
}

TEST_F(SoundEngineTest, OnlyTheSoleHandleWithAWindowInitialises) {
  {
    SoundEngine second;
    EXPECT_FALSE(second.Init(AudioFake::AnyWindow()));
    EXPECT_FALSE(engine->Init(AudioFake::AnyWindow()));
  }
  EXPECT_FALSE(engine->Init(nullptr));
  EXPECT_EQ(fake.initCalls, 1);
  EXPECT_EQ(fake.closeCalls, 0);  // a temporary handle released nothing
}

TEST_F(SoundEngineTest, LastHandleFreesEverythingAndClosesTheDevice) {
  fake.AddFile("hit.wav");
  fake.AddFile("amb.ogg");
  engine->Load("hit.wav", "hit");
  engine->PlayAmbient("amb.ogg");
  StartMusic("level.ogg");
  engine.reset();
  EXPECT_EQ(fake.OpenItems(), 0);
  EXPECT_EQ(fake.closeCalls, 1);
}

TEST_F(SoundEngineTest, VolumesOutOfRangeAreIgnoredAndFiftyGives127WithQuietAt31) {
  StartMusic("level.ogg");
  engine->SetMusicVolume(50);
  engine->SetSfxVolume(50);
  engine->SetMusicVolume(101);
  engine->SetMusicVolume(-1);
  engine->SetSfxVolume(101);
  engine->SetSfxVolume(-1);
  engine->Update();
  EXPECT_EQ(fake.StreamVolume("level.ogg"), 127);
  EXPECT_EQ(fake.sfxMaster, 127);

  engine->ToggleQuiet();
  EXPECT_EQ(fake.StreamVolume("level.ogg"), 31);
  engine->NextSection();  // restarts the track with a fade-in, which stops at the quiet level
  for (int frame = 0; frame < 40; ++frame) engine->Update();
  EXPECT_EQ(fake.StreamVolume("level.ogg"), 31);
}

TEST_F(SoundEngineTest, QuietModeDropsMusicToAQuarterAndBringsItBack) {
  StartMusic("level.ogg");
  engine->ToggleQuiet();
  EXPECT_EQ(fake.StreamVolume("level.ogg"), 63);
  for (int frame = 0; frame < 5; ++frame) engine->Update();
  EXPECT_EQ(fake.StreamVolume("level.ogg"), 63);
  engine->ToggleQuiet();
  EXPECT_EQ(fake.StreamVolume("level.ogg"), 255);
}

TEST_F(SoundEngineTest, AmbientFadesInOverTheMusicOneStepPerFrameAndOutAgain) {
  fake.AddFile("rats.ogg");
  StartMusic("level.ogg");
  EXPECT_TRUE(engine->PlayAmbient("rats.ogg"));
  EXPECT_EQ(engine->GetAmbientName(), "rats.ogg");
  engine->FadeInAmbient();
  EXPECT_EQ(fake.StreamVolume("rats.ogg"), 0);
  for (int frame = 1; frame <= 255; ++frame) {
    engine->Update();
    ASSERT_EQ(fake.StreamVolume("rats.ogg"), frame);
    ASSERT_EQ(fake.StreamVolume("level.ogg"), 255 - frame);
  }
  for (int frame = 0; frame < 3; ++frame) engine->Update();
  EXPECT_EQ(fake.StreamVolume("rats.ogg"), 255);
  EXPECT_EQ(fake.StreamVolume("level.ogg"), 0);

  engine->FadeOutAmbient();
  for (int frame = 1; frame <= 255; ++frame) {
    engine->Update();
    ASSERT_EQ(fake.StreamVolume("rats.ogg"), 255 - frame);
    ASSERT_EQ(fake.StreamVolume("level.ogg"), frame);
  }
  engine->Update();  // silent at last: the ambient track stops
  EXPECT_EQ(fake.PlayingStreams(), std::vector<std::string>{"level.ogg"});
  EXPECT_EQ(fake.StreamVolume("level.ogg"), 255);
}

TEST_F(SoundEngineTest, MissingAmbientTrackLeavesTheMusicAlone) {
  StartMusic("level.ogg");
  EXPECT_TRUE(engine->PlayAmbient("missing.ogg"));
  EXPECT_EQ(engine->GetAmbientName(), "missing.ogg");
  engine->FadeInAmbient();
  for (int frame = 0; frame < 10; ++frame) engine->Update();
  EXPECT_EQ(fake.StreamVolume("level.ogg"), 255);
}

}  // namespace
