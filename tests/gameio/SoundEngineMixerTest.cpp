// The engine on the real SDL2_mixer device (SDL's silent driver): a generated
// track plays to its end and only the frame's update starts the next one.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "game/SoundEngine.h"
#include "gameio/AudioFake.h"
#include "platform/AudioTestFiles.h"
#include "support/TempDir.h"

namespace {

template <typename Done, typename Step>
bool PollUntil(Done done, Step step) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    step();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return done();
}

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
  ASSERT_TRUE(PollUntil([] { return Mix_Playing(-1) == 0; }, [] {}));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(Mix_Playing(-1), 0);

  ASSERT_TRUE(PollUntil([] { return Mix_Playing(-1) == 1; }, [&engine] { engine.Update(); }));
  for (int frame = 0; frame < 5; ++frame) engine.Update();
  EXPECT_EQ(Mix_Playing(-1), 1);  // the theme plays on, once
}

}  // namespace
