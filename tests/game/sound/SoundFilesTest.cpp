// What the sound engine says about the files it is given, on the real SDL2_mixer
// device with SDL's silent driver.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "game/sound/AudioFake.h"
#include "game/sound/SoundEngine.h"
#include "platform/AudioTestFiles.h"
#include "support/TempDir.h"

namespace {

// A level without an ambient track used to print ": cannot be opened", naming no
// file; a WAV cut short used to load as part of a sound, so it was never reported.
TEST(SoundEngineOnMixer, AnEmptyAmbientNameSaysNothingAndACutEffectDoesNotLoad) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  testsupport::TempDir dir;
  const std::filesystem::path whole = dir / "whole.wav";
  const std::filesystem::path cut = dir / "cut.wav";
  audiotest::WriteToneWav(whole, 200);
  std::ifstream in(whole, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
  std::ofstream(cut, std::ios::binary).write(bytes.data(), static_cast<long>(bytes.size() / 2));
  platform::SetAudioDevice(nullptr);

  SoundEngine engine;
  ASSERT_TRUE(engine.Init(AudioFake::AnyWindow()));
  ASSERT_TRUE(engine.IsHeard());
  testing::internal::CaptureStderr();
  engine.PlayAmbient("");
  engine.FadeInAmbient();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(engine.Load(whole.string(), "whole"));
  EXPECT_FALSE(engine.Load(cut.string(), "cut"));
  EXPECT_FALSE(engine.Play("cut"));
}

}  // namespace
