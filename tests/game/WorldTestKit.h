// Shared pieces of the World tests: an input reader for frames run without
// World::Init, small animation files painted on the spot, and a working folder
// of hand-made game data with the World initialised from it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "animationlib/Animation.h"
#include "game/Input.h"
#include "game/World.h"
#include "gameio/AudioFake.h"
#include "harness/GameHarness.h"
#include "platform/Image.h"
#include "support/TempDir.h"

namespace worldtest {

// The loading screen's bar in the hand-made data: 200 x 20 at (50, 550).
constexpr std::uint32_t kBarColor = 0xFFFF8000;

// An input reader with a configuration folder of its own, so no saved map leaks in.
class ScopedInput {
 public:
  ScopedInput() {
    setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
    m_input = std::make_unique<Input>(nullptr);
  }
  ~ScopedInput() {
    m_input.reset();
    unsetenv("XDG_CONFIG_HOME");
  }

 private:
  testsupport::TempDir m_config;
  std::unique_ptr<Input> m_input;
};

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// An animation whose frames, `width` x `height` each, stand side by side in one
// row of one colour. Frames are held (0 ticks) unless `ticks` says otherwise,
// and each leads to the next, the last back to the first.
inline Animation MakeAnimation(const std::string& name, int frames = 1, int width = 16,
                               int height = 16, int ticks = 0) {
  Animation animation(name, Vector2(static_cast<float>(width), static_cast<float>(height)),
                      Vector2(static_cast<float>(width * frames), static_cast<float>(height)));
  for (int i = 0; i < frames; ++i) {
    animation.GetFrames().emplace_back((i + 1) % frames, ticks, Vector2(0.0f, 0.0f));
  }
  return animation;
}

// Writes "<root>/animations/<name>.acd" and its image.
inline void WriteAnimation(const std::filesystem::path& root, const std::string& name,
                           int frames = 1, int width = 16, int height = 16,
                           std::uint32_t color = 0xFF40C060) {
  std::filesystem::create_directories(root / "animations");
  const Animation animation = MakeAnimation(name, frames, width, height);
  ASSERT_TRUE(animation.Save((root / "animations" / (name + ".acd")).string()));
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * frames * height), color);
  std::string error;
  ASSERT_TRUE(platform::SavePng((root / "animations" / (name + ".png")).string(), width * frames,
                                height, pixels.data(), error))
      << error;
}

// A working folder holding what World::Init reads, with the prototypes
// "ZodirazO", "Tile" (4 frames), "Rat", "Gate" and "TutorialTrigger", and a fake
// sound device; tests add level files and change files before calling InitWorld.
class WorldDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteAnimation(Root(), "EnergyMeter", 1, 200, 20, 0xFF808080);
    WriteAnimation(Root(), "EnergyBar", 1, 200, 20, kBarColor);
    WriteAnimation(Root(), "VerticalBound", 1, 16, 256);
    for (const char* name : {"hero_idle", "hero_run", "rat_walk", "gate"}) {
      WriteAnimation(Root(), name);
    }
    WriteAnimation(Root(), "tiles", 4);
    WriteAnimation(Root(), "sky", 1, 64, 64);
    WriteAnimation(Root(), "tutorial", 1);
    WriteText(Root() / "Sounds.vtse", "0\n");
    WriteText(Root() / "SpriteList.vtsl",
              "5\n"
              "ZodirazO 2 1 animations/hero_idle.acd 2 animations/hero_run.acd\n"
              "Tile 1 0 animations/tiles.acd\n"
              "Rat 1 1 animations/rat_walk.acd\n"
              "Gate 1 1 animations/gate.acd\n"
              "TutorialTrigger 1 1 animations/tutorial.acd\n");
    WriteText(Root() / "data" / "ZodirazO.ini", "7.5 ground max speed\n");
    m_cwd = std::make_unique<testsupport::ScopedCurrentDir>(Root());
    setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
    platform::SetAudioDevice(&audio);
  }

  void TearDown() override {
    game.reset();
    platform::SetAudioDevice(nullptr);
    World::SetLoadingFrameObserver(nullptr);
    unsetenv("XDG_CONFIG_HOME");
    m_cwd.reset();
  }

  const std::filesystem::path& Root() const { return m_data.Path(); }

  // The window, the device and a World handle, with World::Init run on the
  // folder; returns what Init returned.
  bool StartWorld() {
    testharness::GameHarness::Options options;
    options.initWorld = false;
    game = std::make_unique<testharness::GameHarness>(options);
    return World::Init(&game->Window());
  }
  void InitWorld() { ASSERT_TRUE(StartWorld()); }

  // A game list whose gameplay state lists the given "name file" pairs.
  void WriteGameList(const std::string& gameplayLevels, int count) {
    std::string text = "8 0\n";
    for (int s = 1; s <= 12; ++s) {
      text += s == 8 ? std::to_string(count) + " " + gameplayLevels + "\n" : "0\n";
    }
    WriteText(Root() / "Gold.vt", text);
  }

  AudioFake audio;  // plays nothing; files exist once AddFile names them
  std::unique_ptr<testharness::GameHarness> game;

 private:
  testsupport::TempDir m_data;
  testsupport::TempDir m_config;
  std::unique_ptr<testsupport::ScopedCurrentDir> m_cwd;
};

}  // namespace worldtest
