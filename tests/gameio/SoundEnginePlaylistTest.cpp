// Playlist runs, modes and section jumps, driven through a recording device.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "game/SoundEngine.h"
#include "gameio/AudioFake.h"
#include "platform/Random.h"

namespace {

using Tracks = std::vector<std::pair<std::string, std::string>>;  // file, mode

class SoundEnginePlaylist : public ::testing::Test {
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

  void LoadPlaylist(const Tracks& tracks) {
    engine->SetLoadingPlaylist(true);
    engine->ClearPlaylist();
    for (const auto& [file, mode] : tracks) {
      fake.AddFile(file);
      ASSERT_TRUE(engine->Load(file, mode));
    }
  }

  // The current track plays to its end and the next frame handles it.
  void FinishTrack() {
    const auto playing = fake.PlayingStreams();
    ASSERT_EQ(playing.size(), 1u);
    fake.EndStream(playing.front());
    engine->Update();
  }

  std::string Playing() {
    const auto playing = fake.PlayingStreams();
    return playing.size() == 1 ? playing.front()
                               : "(" + std::to_string(playing.size()) + " tracks)";
  }

  AudioFake fake;
  std::unique_ptr<SoundEngine> engine;
};

TEST_F(SoundEnginePlaylist, IntroPlaysOnceThenEveryStartOfTheRandomRunDrawsAnEntry) {
  LoadPlaylist({{"intro.ogg", "intro"},
                {"r1.ogg", "random"},
                {"r2.ogg", "random"},
                {"r3.ogg", "random"},
                {"boss.ogg", "order"}});
  const std::string run[] = {"r1.ogg", "r2.ogg", "r3.ogg"};
  std::vector<std::string> expected;
  platform::SeedRandom(99);
  for (int i = 0; i < 12; ++i) expected.push_back(run[platform::Random() % 3]);

  platform::SeedRandom(99);
  ASSERT_TRUE(engine->PlayMusic());
  EXPECT_EQ(Playing(), "intro.ogg");
  for (const std::string& track : expected) {
    FinishTrack();
    ASSERT_EQ(Playing(), track);
  }
  EXPECT_EQ(fake.StreamPlays("intro.ogg"), 1);

  engine->NextSection();
  EXPECT_EQ(Playing(), "boss.ogg");
  EXPECT_EQ(fake.StreamVolume("boss.ogg"), 0);  // fades in
  FinishTrack();
  FinishTrack();
  EXPECT_EQ(Playing(), "boss.ogg");
  EXPECT_EQ(fake.StreamPlays("boss.ogg"), 3);

  engine->NextSection();  // past the last run: back to the start
  EXPECT_EQ(Playing(), "intro.ogg");
}

TEST_F(SoundEnginePlaylist, OrderEntriesLoopAloneAndNextSectionStepsThroughThem) {
  LoadPlaylist({{"a.ogg", "order"}, {"b.ogg", "order"}});
  engine->PlayMusic();
  FinishTrack();
  EXPECT_EQ(Playing(), "a.ogg");
  engine->NextSection();
  EXPECT_EQ(Playing(), "b.ogg");
  FinishTrack();
  EXPECT_EQ(Playing(), "b.ogg");
  engine->NextSection();
  EXPECT_EQ(Playing(), "a.ogg");
}

TEST_F(SoundEnginePlaylist, NeighboursSharingAnyOtherWordPlayInTurnAndStartAgain) {
  LoadPlaylist({{"a.ogg", "loop"}, {"b.ogg", "loop"}, {"c.ogg", "loop"}, {"d.ogg", "order"}});
  engine->PlayMusic();
  std::vector<std::string> heard = {Playing()};
  for (int i = 0; i < 4; ++i) {
    FinishTrack();
    heard.push_back(Playing());
  }
  EXPECT_EQ(heard, (std::vector<std::string>{"a.ogg", "b.ogg", "c.ogg", "a.ogg", "b.ogg"}));
  engine->NextSection();
  EXPECT_EQ(Playing(), "d.ogg");
}

TEST_F(SoundEnginePlaylist, OnceEntryStopsTheMusicAfterItWhereverItStands) {
  LoadPlaylist({});
  EXPECT_FALSE(engine->PlayMusic());
  EXPECT_FALSE(engine->Load("missing.ogg", "order"));
  LoadPlaylist({{"jingle.ogg", "once"}});
  engine->PlayMusic();
  FinishTrack();
  engine->Update();
  EXPECT_TRUE(fake.PlayingStreams().empty());

  LoadPlaylist({{"theme.ogg", "order"}, {"outro.ogg", "once"}});
  engine->PlayMusic();
  engine->NextSection();
  EXPECT_EQ(Playing(), "outro.ogg");
  FinishTrack();
  EXPECT_TRUE(fake.PlayingStreams().empty());
}

TEST_F(SoundEnginePlaylist, SingleEntryOfAnyOtherModeLoops) {
  for (const char* mode : {"order", "random", "intro", "whatever"}) {
    SCOPED_TRACE(mode);
    const std::string file = std::string(mode) + ".ogg";
    LoadPlaylist({{file, mode}});
    engine->PlayMusic();
    FinishTrack();
    FinishTrack();
    EXPECT_EQ(Playing(), file);
    EXPECT_EQ(fake.StreamPlays(file), 3);
  }
}

TEST_F(SoundEnginePlaylist, EndOfAReplacedTrackIsIgnored) {
  LoadPlaylist({{"a.ogg", "order"}, {"b.ogg", "order"}});
  engine->PlayMusic();
  platform::AudioStream* first = fake.StreamHandle("a.ogg");
  engine->NextSection();
  SoundEngine::OnStreamEnd(first, nullptr);
  EXPECT_EQ(Playing(), "b.ogg");
  EXPECT_EQ(fake.StreamPlays("b.ogg"), 1);
}

TEST_F(SoundEnginePlaylist, TrackEndingWhileTheNextLevelLoadsTouchesNothingClosed) {
  LoadPlaylist({{"old.ogg", "order"}});
  engine->PlayMusic();
  fake.EndStream("old.ogg");  // ends before the frame can handle it
  fake.SetOpeningPolls(3);    // the fake counts a play before the open as misuse
  LoadPlaylist({{"new.ogg", "order"}});
  engine->PlayMusic();
  engine->Update();
  EXPECT_EQ(Playing(), "new.ogg");
  EXPECT_EQ(fake.StreamPlays("new.ogg"), 1);
}

}  // namespace
