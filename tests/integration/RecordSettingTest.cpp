// VANTREL_RECORD: a level played with the setting leaves a recording that, played
// back from the same point of a fresh game, moves the hero exactly as the keys did.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "PlayFixture.h"
#include "game/level/LevelRecorder.h"

namespace {

class RecordSettingTest : public playtest::PlayFixture {
 protected:
  bool StartsInSetUp() const override { return false; }
  void TearDown() override {
    unsetenv("VANTREL_RECORD");
    PlayFixture::TearDown();
  }
  // Frames one at a time until the game is in play, as the recorder watches for it;
  // returns the frames run.
  int RunToPlay() {
    game.reset();
    game = std::make_unique<testharness::GameHarness>();
    int frames = 0;
    while (frames < 10 && World::GetState() != STATE_GAMEPLAY) frames += game->RunFrames(1);
    EXPECT_EQ(World::GetState(), STATE_GAMEPLAY);
    return frames;
  }
  std::vector<float> Track(int frames) {
    std::vector<float> xs;
    for (int frame = 0; frame < frames; ++frame) {
      game->RunFrames(1);
      xs.push_back(Hero()->GetPosition().X());
      xs.push_back(Hero()->GetPosition().Y());
    }
    return xs;
  }
};

TEST_F(RecordSettingTest, RecordedLevelPlaysBackTheSameRun) {
  const std::filesystem::path file = Folder() / "run.rec";
  setenv("VANTREL_RECORD", file.c_str(), 1);
  const int toPlay = RunToPlay();
  ASSERT_TRUE(Input::GetInstance()->IsRecording());

  std::vector<float> played = Track(60);
  game->KeyDown(SDL_SCANCODE_RIGHT);
  auto more = Track(40);
  played.insert(played.end(), more.begin(), more.end());
  game->KeyDown(SDL_SCANCODE_SPACE);
  more = Track(25);
  played.insert(played.end(), more.begin(), more.end());
  game->KeyUp(SDL_SCANCODE_SPACE);
  game->KeyUp(SDL_SCANCODE_RIGHT);
  more = Track(30);
  played.insert(played.end(), more.begin(), more.end());
  game.reset();  // quitting ends the recording with its end record
  unsetenv("VANTREL_RECORD");

  std::ifstream in(file, std::ios::binary);
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
  // Right, then jump, then both released on one frame, then the end record.
  ASSERT_EQ(bytes.size(), 4u * 8u);
  EXPECT_EQ(std::vector<unsigned char>(bytes.end() - 8, bytes.end()),
            std::vector<unsigned char>(8, 0xFF));

  // Playback runs a frame behind, so it starts a frame before play did.
  game.reset();
  game = std::make_unique<testharness::GameHarness>();
  game->RunFrames(toPlay - 1);
  ASSERT_TRUE(Input::GetInstance()->StartPlayback(file.string()));
  game->RunFrames(1);
  ASSERT_EQ(World::GetState(), STATE_GAMEPLAY);
  const std::vector<float> replayed = Track(static_cast<int>(played.size() / 2));
  ASSERT_EQ(replayed.size(), played.size());
  for (std::size_t i = 0; i < played.size(); ++i) {
    ASSERT_EQ(replayed[i], played[i]) << "frame " << i / 2 + 1 << (i % 2 ? " y" : " x");
  }
  EXPECT_GT(played[played.size() - 2], played[118] + 100.0f) << "the run moved the hero";
}

TEST_F(RecordSettingTest, WithoutTheSettingOrWithAnUnwritableFileNothingIsRecorded) {
  RunToPlay();
  EXPECT_FALSE(Input::GetInstance()->IsRecording());

  const std::string unwritable = (Folder() / "no-such-folder" / "run.rec").string();
  LevelRecorder bad(unwritable);
  testing::internal::CaptureStderr();
  bad.AfterFrame();
  const std::string message = testing::internal::GetCapturedStderr();
  EXPECT_NE(message.find(unwritable), std::string::npos) << message;
  EXPECT_NE(message.find("No such file or directory"), std::string::npos) << message;
  EXPECT_FALSE(bad.IsRecording());
  EXPECT_TRUE(bad.IsDone());
  EXPECT_FALSE(Input::GetInstance()->IsRecording());
}

TEST_F(RecordSettingTest, LevelEndStopsTheRecording) {
  const std::filesystem::path file = Folder() / "end.rec";
  LevelRecorder recorder(file.string());
  RunToPlay();
  recorder.AfterFrame();
  ASSERT_TRUE(recorder.IsRecording());
  World::SetState(STATE_PAUSE);
  recorder.AfterFrame();
  EXPECT_TRUE(recorder.IsRecording()) << "a pause belongs to the level";
  World::SetState(STATE_LEVEL_COMPLETE);
  recorder.AfterFrame();
  EXPECT_TRUE(recorder.IsDone());
  EXPECT_FALSE(Input::GetInstance()->IsRecording());
  World::SetState(STATE_GAMEPLAY);
  recorder.AfterFrame();
  EXPECT_FALSE(Input::GetInstance()->IsRecording()) << "one level per run";
}

}  // namespace
