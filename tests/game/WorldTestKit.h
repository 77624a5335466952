// Shared pieces of the World tests: small animation files painted on the spot,
// and a working folder of hand-made game data with the World started on it.
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
#include "game/input/Input.h"
#include "game/sound/AudioFake.h"
#include "game/world/World.h"
#include "harness/GameHarness.h"
#include "platform/Image.h"
#include "support/TempDir.h"

namespace worldtest {

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// An animation whose frames, `width` x `height` each, stand side by side in one
// row. Frames are held (0 ticks) unless `ticks` says otherwise, and each leads
// to the next, the last back to the first.
inline Animation MakeAnimation(const std::string& name, int frames = 1, int width = 16,
                               int height = 16, int ticks = 0) {
  Animation animation(name, Vector2(static_cast<float>(width), static_cast<float>(height)),
                      Vector2(static_cast<float>(width * frames), static_cast<float>(height)));
  for (int i = 0; i < frames; ++i) {
    animation.GetFrames().emplace_back((i + 1) % frames, ticks, Vector2(0.0f, 0.0f));
  }
  return animation;
}

// The colour every painted animation has.
constexpr std::uint32_t kPaint = 0xFF40C060;

// A working folder holding what World::Init reads, with the prototypes
// "ZodirazO", "Tile" (4 frames), "Rat", "Gate" and "TutorialTrigger", a private
// configuration folder (no saved key map leaks in) and a fake sound device;
// tests add level files and change files before starting the World.
class WorldDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    WriteAnimation("EnergyMeter", 1, 200, 20);
    WriteAnimation("EnergyBar", 1, 200, 20);
    WriteHudArt();
    WriteAnimation("VerticalBound", 1, 16, 256);
    for (const char* name : {"hero_idle", "hero_run", "rat_walk", "gate", "tutorial"}) {
      WriteAnimation(name);
    }
    WriteAnimation("tiles", 4);
    WriteAnimation("sky", 1, 64, 64);
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
    World::StartFade(0, 0xFF000000, 0xFF000000);  // static: no fade outlives its test
    game.reset();
    platform::SetAudioDevice(nullptr);
    unsetenv("XDG_CONFIG_HOME");
    m_cwd.reset();
  }

  const std::filesystem::path& Root() const { return m_data.Path(); }

  // Writes "animations/<name>.acd" and its image.
  void WriteAnimation(const std::string& name, int frames = 1, int width = 16, int height = 16,
                      int ticks = 0) {
    const std::string file = (Root() / "animations" / name).string();
    std::filesystem::create_directories(Root() / "animations");
    ASSERT_TRUE(MakeAnimation(name, frames, width, height, ticks).Save(file + ".acd"));
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * frames * height), kPaint);
    std::string error;
    ASSERT_TRUE(platform::SavePng(file + ".png", width * frames, height, pixels.data(), error))
        << error;
  }

  // The HUD's art besides the energy bar and meter, with the frames its parts
  // use: orb colours 0 to 4, 13 break particles, icon frames 0 and 1, the
  // labels' signal frames (8 and 16) and the holder's frames 5 and 8.
  void WriteHudArt() {
    WriteAnimation("orbs", 5, 32, 32);
    WriteAnimation("CrackedOrb", 2, 32, 32);
    for (const char* name : {"BreakWhiteOrb", "BreakRedOrb", "BreakGreenOrb", "BreakBlueOrb"}) {
      WriteAnimation(name, 13, 8, 8);
    }
    WriteAnimation("HUDWindow", 1, 64, 32);
    WriteAnimation("CoreStart", 10, 8, 8);
    for (const char* name :
         {"CoreDefault", "CoreStride", "CoreWallJump", "CoreCyclone", "CoreSuperJump"}) {
      WriteAnimation(name, 2, 16, 16);
    }
    WriteAnimation("HUDLabel", 24, 16, 8);
  }

  // A fresh window, device and World handle, with World::Init run on the
  // folder (given the window or not); returns what Init returned.
  bool StartWorld(bool window = true) {
    game.reset();  // one device at a time
    testharness::GameHarness::Options options;
    options.initWorld = false;
    game = std::make_unique<testharness::GameHarness>(options);
    return World::Init(window ? &game->Window() : nullptr);
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

// The same started World for fixtures that already derive from another base:
// Start() before the test's objects are made, Stop() after they are gone.
class StartedWorld : public WorldDataTest {
 public:
  void Start() {
    SetUp();
    InitWorld();
  }
  void Stop() { TearDown(); }

 private:
  void TestBody() override {}
};

}  // namespace worldtest
