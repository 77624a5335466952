// The main menu, the options screen and the pause menu on a copy of the generated
// working folder, driven by keys as the keyboard sends them and read back from the
// World's lists, the sound device and the rendered frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "animationlib/AnimationCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/hud/HUD.h"
#include "game/input/Input.h"
#include "game/player/PlayerObject.h"
#include "game/sound/AudioFake.h"
#include "game/world/World.h"
#include "harness/GameHarness.h"
#include "platform/Audio.h"
#include "platform/Window.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

int gDialogs = 0;
void CountDialog() {
  ++gDialogs;
}

class MenuScreens : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const fs::path generated = testsupport::BinaryDir() / "game";
    ASSERT_TRUE(fs::exists(generated / "menu.lvl")) << "build the gamedata target first";
    fs::copy(generated, Game(), fs::copy_options::recursive);
    // These tests start on the menu, past the intro.
    std::ifstream shipped(Game() / "Gold.vt");
    std::string list((std::istreambuf_iterator<char>(shipped)), std::istreambuf_iterator<char>());
    shipped.close();
    list.replace(0, list.find(' '), std::to_string(STATE_MAIN_MENU));
    std::ofstream(Game() / "Gold.vt", std::ios::trunc) << list;
    for (const auto& entry : fs::recursive_directory_iterator(Game())) {
      if (entry.path().extension() == ".wav" || entry.path().extension() == ".ogg")
        audio.AddFile(fs::relative(entry.path(), Game()).string());
    }
    setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
    platform::SetAudioDevice(&audio);
    m_cwd = std::make_unique<testsupport::ScopedCurrentDir>(Game());
    gDialogs = 0;
  }
  void TearDown() override {
    World::SetControlsDialog(nullptr);
    World::StartFade(0, 0xFF000000, 0xFF000000);
    game.reset();
    platform::SetAudioDevice(nullptr);
    unsetenv("XDG_CONFIG_HOME");
    m_cwd.reset();
  }
  fs::path Game() const { return m_data.Path() / "game"; }

  void Start() {
    game = std::make_unique<testharness::GameHarness>();
    ASSERT_TRUE(game->InitResult());
    World::SetControlsDialog(CountDialog);
  }
  // Runs frames until the condition holds; false when it never does.
  bool RunUntil(const std::function<bool()>& done, int frames = 600) {
    for (int i = 0; i < frames; ++i) {
      if (done()) return true;
      if (game->RunFrames(1) != 1) return done();
    }
    return done();
  }
  bool Idle(int state, int counter) {
    return RunUntil([=] { return World::GetState() == state && World::GetFrameCounter() == counter; });
  }
  void Press(std::vector<SDL_Scancode> keys) {
    for (SDL_Scancode key : keys) game->KeyDown(key);
    game->RunFrames(1);
    for (SDL_Scancode key : keys) game->KeyUp(key);
  }
  static std::vector<Sprite*> All(const char* name) { return World::GetObjects()->FindAll(name); }
  static Sprite* CardAtDepth(const char* name, float depth) {
    for (Sprite* card : All(name))
      if (card->GetDepth() == depth) return card;
    return nullptr;
  }
  static Sprite* SelectedCard() { return CardAtDepth("MenuOptions", 4.0f); }
  static Sprite* SelectedOption() { return CardAtDepth("OptionsOption", 6.0f); }
  // From the first showing of the main menu to the idle options screen.
  void OpenOptions() {
    ASSERT_TRUE(Idle(STATE_MAIN_MENU, 71));
    Press({SDL_SCANCODE_UP});
    ASSERT_TRUE(Idle(STATE_MAIN_MENU, 71));
    Press({SDL_SCANCODE_RETURN});
    ASSERT_TRUE(Idle(STATE_OPTIONS, 131));
  }
  // Turns the options wheel down (option - 1) `steps` times.
  void OptionDown(int steps) {
    for (int i = 0; i < steps; ++i) {
      Press({SDL_SCANCODE_DOWN});
      ASSERT_TRUE(Idle(STATE_OPTIONS, 131));
    }
  }

  AudioFake audio;
  std::unique_ptr<testharness::GameHarness> game;

 private:
  testsupport::TempDir m_data;
  testsupport::TempDir m_config;
  std::unique_ptr<testsupport::ScopedCurrentDir> m_cwd;
};

TEST_F(MenuScreens, WheelTurnsOnlyWhenIdleAndSnapsTheCardsOntoTheirRows) {
  Start();
  ASSERT_TRUE(RunUntil([] { return World::GetState() == STATE_MAIN_MENU; }));
  // Keys during the entry animation change nothing.
  game->RunFrames(5);
  Press({SDL_SCANCODE_DOWN});
  Press({SDL_SCANCODE_SPACE});
  ASSERT_TRUE(Idle(STATE_MAIN_MENU, 71));
  ASSERT_NE(SelectedCard(), nullptr);
  EXPECT_EQ(SelectedCard()->GetFrame(), 0);

  const struct {
    SDL_Scancode key;
    int selected, neighbour;  // the new selection, and the card it brought along
    float neighbourDepth;
  } moves[] = {{SDL_SCANCODE_DOWN, 5, 4, 1.0f}, {SDL_SCANCODE_UP, 0, 1, 2.0f},
               {SDL_SCANCODE_UP, 1, 2, 2.0f}};
  for (const auto& m : moves) {
    Press({m.key});
    ASSERT_TRUE(Idle(STATE_MAIN_MENU, 71));
    ASSERT_NE(SelectedCard(), nullptr);
    EXPECT_EQ(SelectedCard()->GetFrame(), m.selected);
    ASSERT_NE(CardAtDepth("MenuOptions", m.neighbourDepth), nullptr);
    EXPECT_EQ(CardAtDepth("MenuOptions", m.neighbourDepth)->GetFrame(), m.neighbour);
    std::vector<float> rows;
    for (Sprite* card : All("MenuOptions")) rows.push_back(card->GetPosition().Y());
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<float>{405.0f, 460.0f, 515.0f}));
    EXPECT_EQ(SelectedCard()->GetPosition().Y(), 460.0f);
  }
  // The selected card is drawn on the middle row, over the backdrop.
  game->RunFrames(1);
  const std::vector<std::uint32_t> frame = game->ReadFrame();
  ASSERT_FALSE(frame.empty());
  const std::uint32_t middle = testharness::GameHarness::PixelAt(frame, 430, 460);
  const std::uint32_t beside = testharness::GameHarness::PixelAt(frame, 300, 560);
  EXPECT_NE(middle, beside);

  // Both arrows count as neither; with Jump the choice is still taken.
  Press({SDL_SCANCODE_UP, SDL_SCANCODE_DOWN});
  EXPECT_EQ(World::GetFrameCounter(), 71);
  Press({SDL_SCANCODE_UP, SDL_SCANCODE_DOWN, SDL_SCANCODE_SPACE});
  EXPECT_GT(World::GetFrameCounter(), 112);
  // Item 1 is the options: no fade, 129 frames from the choice's on.
  int frames = 0;
  ASSERT_TRUE(RunUntil([&] { ++frames; return World::GetState() == STATE_OPTIONS; }));
  EXPECT_EQ(frames, 129);
}

// Every item leads to its own state once its exit motion, the pause and (but
// for options and quit) the fade are over. The handler itself is called from
// the choice on, with the wheel at rest and the item on the selected card.
TEST_F(MenuScreens, EachItemLeadsToItsStateAfterItsExitAndFade) {
  Start();
  ASSERT_TRUE(Idle(STATE_MAIN_MENU, 71));
  const std::vector<Sprite*> cards = All("MenuOptions");
  ASSERT_EQ(cards.size(), 3u);
  const struct {
    const char* name;
    int item;
    int state;  // quit stays on the menu and asks the loop to end
    int calls;  // from the choice's on
  } items[] = {
      // The counter runs from the choice at 113 to the leaving at 244 (274 after
      // a fade), a step a call but two where the exit motion ends (173) and
      // where the pause ends (243).
      {"Options", 1, STATE_OPTIONS, 129},
      {"HighScores", 2, STATE_HIGH_SCORES, 159},
      {"Quit", 3, STATE_MAIN_MENU, 129},
      {"Credits", 4, STATE_CREDITS, 159},
      {"Story", 5, STATE_STORY, 159},
      {"StartGame", 0, STATE_GAMEPLAY, 159},  // last: it clears the menu's sprites
  };
  for (const auto& item : items) {
    SCOPED_TRACE(item.name);
    const float depths[] = {1.0f, 4.0f, 2.0f};  // upper, selected, lower
    for (std::size_t i = 0; i < cards.size(); ++i) cards[i]->SetDepth(depths[i]);
    cards[1]->SetFrame(item.item);
    int counter = 113;  // as Enter at idle leaves it
    int next = STATE_MAIN_MENU;
    bool quit = false;
    int calls = 0;
    while (next == STATE_MAIN_MENU && !quit && calls < 400) {
      next = World::MainMenu(&counter);
      ++calls;
      platform::WindowEvent event;
      while (game->Window().NextEvent(event))
        quit = quit || event.type == platform::WindowEventType::Quit;
    }
    // A wrong item may have cleared the cards: stop at the first.
    ASSERT_EQ(next, item.state);
    EXPECT_EQ(quit, item.item == 3);
    EXPECT_EQ(calls, item.calls);
  }
}

TEST_F(MenuScreens, OptionsSetPlayersAndVolumesAndLeaveOnlyAsAsked) {
  Start();
  OpenOptions();
  Sprite* panel = World::GetObjects()->Find("OptionsItems");
  Sprite* bar = World::GetObjects()->Find("SoundBar");
  ASSERT_NE(SelectedOption(), nullptr);
  EXPECT_EQ(SelectedOption()->GetFrame(), 0);
  EXPECT_EQ(panel->GetFrame(), 2);  // one player

  // The count wraps both ways; the panel narrows, changes and widens over 20 frames.
  Press({SDL_SCANCODE_LEFT});
  EXPECT_EQ(World::GetPlayerRecords().size(), 4u);
  int frames = 0;
  ASSERT_TRUE(RunUntil([&] { ++frames; return World::GetFrameCounter() == 131; }));
  EXPECT_EQ(frames + 1, 20);  // the press frame was the first
  EXPECT_EQ(panel->GetFrame(), 5);
  EXPECT_EQ(panel->GetScaleX(), 1.0f);
  // A slot that goes takes its record with it.
  World::GetPlayerRecords()[3] = std::make_unique<PlayerObject>(
      "ZodirazO", World::GetAnimationPool()->GetAnimations().front(), Vector2(0.0f, 0.0f),
      ObjectCallbacks{}, 0.0f);
  const ObjectHandle record = World::GetPlayerRecords()[3]->GetHandle();
  Press({SDL_SCANCODE_RIGHT});
  EXPECT_EQ(World::GetPlayerRecords().size(), 1u);
  EXPECT_EQ(ObjectRegistry::Resolve(record), nullptr);
  ASSERT_TRUE(Idle(STATE_OPTIONS, 131));
  EXPECT_EQ(panel->GetFrame(), 2);

  // Down from players: back (4), effects (3), music (2), controls (1).
  OptionDown(3);
  ASSERT_EQ(SelectedOption()->GetFrame(), 4);  // music
  EXPECT_EQ(panel->GetFrame(), 0);
  // Holding left lowers the music by one a frame, and the device hears both volumes.
  game->KeyDown(SDL_SCANCODE_LEFT);
  game->RunFrames(5);
  EXPECT_EQ(World::GetMusicVolume(), 95);
  EXPECT_EQ(World::GetSfxVolume(), 100);
  EXPECT_FLOAT_EQ(bar->GetScaleX(), 0.95f);
  EXPECT_EQ(audio.StreamVolume("music/menu.ogg"), 95 * 255 / 100);
  EXPECT_EQ(audio.sfxMaster, 255);
  game->KeyUp(SDL_SCANCODE_LEFT);
  game->KeyDown(SDL_SCANCODE_RIGHT);
  game->RunFrames(20);
  game->KeyUp(SDL_SCANCODE_RIGHT);
  game->RunFrames(1);
  EXPECT_EQ(World::GetMusicVolume(), 100);  // never past 100

  // Jump on music does nothing; on effects it plays the test sound.
  Press({SDL_SCANCODE_SPACE});
  EXPECT_EQ(World::GetFrameCounter(), 131);
  OptionDown(1);  // music -> controls
  ASSERT_EQ(SelectedOption()->GetFrame(), 2);  // controls
  // Left and right do nothing on controls; Jump and Enter open the dialog.
  Press({SDL_SCANCODE_RIGHT});
  EXPECT_EQ(World::GetFrameCounter(), 131);
  EXPECT_EQ(World::GetPlayerRecords().size(), 1u);
  Press({SDL_SCANCODE_RETURN});
  EXPECT_EQ(gDialogs, 1);
  EXPECT_EQ(World::GetState(), STATE_OPTIONS);

  // "Display menu" leaves from any option; back at the menu item 0 is selected.
  Press({SDL_SCANCODE_ESCAPE});
  ASSERT_TRUE(Idle(STATE_MAIN_MENU, 71));
  EXPECT_EQ(SelectedCard()->GetFrame(), 0);
  // Coming back, Jump on controls opens the dialog: the leave did not stick.
  Press({SDL_SCANCODE_UP});
  ASSERT_TRUE(Idle(STATE_MAIN_MENU, 71));
  Press({SDL_SCANCODE_RETURN});
  ASSERT_TRUE(Idle(STATE_OPTIONS, 131));
  Press({SDL_SCANCODE_UP});  // players -> controls
  ASSERT_TRUE(Idle(STATE_OPTIONS, 131));
  ASSERT_EQ(SelectedOption()->GetFrame(), 2);
  Press({SDL_SCANCODE_SPACE});
  EXPECT_EQ(gDialogs, 2);
  EXPECT_EQ(World::GetState(), STATE_OPTIONS);
  Press({SDL_SCANCODE_UP});  // controls -> music
  ASSERT_TRUE(Idle(STATE_OPTIONS, 131));
  Press({SDL_SCANCODE_UP});  // music -> effects
  ASSERT_TRUE(Idle(STATE_OPTIONS, 131));
  ASSERT_EQ(SelectedOption()->GetFrame(), 6);
  audio.soundsPlayed.clear();
  Press({SDL_SCANCODE_SPACE});
  EXPECT_EQ(audio.soundsPlayed, std::vector<std::string>{"sounds/zodirazo_shoot.wav"});
  // Enter leaves only from back.
  Press({SDL_SCANCODE_RETURN});
  game->RunFrames(3);
  EXPECT_EQ(World::GetState(), STATE_OPTIONS);
  Press({SDL_SCANCODE_UP});  // effects -> back
  ASSERT_TRUE(Idle(STATE_OPTIONS, 131));
  Press({SDL_SCANCODE_RETURN});
  ASSERT_TRUE(Idle(STATE_MAIN_MENU, 71));
}

TEST_F(MenuScreens, PauseHoldsTheClockAndResumesWhereItStood) {
  Start();
  ASSERT_TRUE(Idle(STATE_MAIN_MENU, 71));
  Press({SDL_SCANCODE_RETURN});
  ASSERT_TRUE(Idle(STATE_GAMEPLAY, -2));
  EXPECT_EQ(World::GetObjects()->Find("MenuSword"), nullptr);
  EXPECT_EQ(World::GetLevelList(STATE_GAMEPLAY)->index, 0);
  game->RunFrames(120);
  const double before = World::GetGameTime();
  ASSERT_GT(before, 1.9);
  const int loud = audio.StreamVolume("music/junkyard.ogg");

  Press({SDL_SCANCODE_PAUSE});
  EXPECT_EQ(World::GetState(), STATE_PAUSE);
  game->RunFrames(10);
  EXPECT_EQ(audio.StreamVolume("music/junkyard.ogg"), loud / 4);
  Press({SDL_SCANCODE_RETURN});  // while the window grows: ignored
  ASSERT_TRUE(Idle(STATE_PAUSE, 62));
  const double paused = World::GetGameTime();
  EXPECT_NEAR(paused, before, 2.5 / 60.0);  // the frames that led into the pause
  game->RunFrames(100);
  EXPECT_DOUBLE_EQ(World::GetGameTime(), paused);
  // "Display menu" resumes even with abort highlighted.
  Press({SDL_SCANCODE_DOWN});
  Press({SDL_SCANCODE_ESCAPE});
  ASSERT_TRUE(RunUntil([] { return World::GetState() == STATE_GAMEPLAY; }));
  EXPECT_EQ(World::GetPauseMenuObjects()->Count(), 0);
  game->RunFrames(2);
  EXPECT_GE(audio.StreamVolume("music/junkyard.ogg"), loud);
  // Play goes on from there: neither the clock nor the time shown starts again.
  EXPECT_NEAR(World::GetGameTime(), paused + 2.0 / 60.0, 1.5 / 60.0);
  EXPECT_EQ(HUD::GetTime(), static_cast<int>(World::GetGameTime()));
  EXPECT_GE(HUD::GetTime(), 1);
}

TEST_F(MenuScreens, AbortAfterAGameOfSeveralShowsTheWholeMenu) {
  for (int players : {2, 4}) {
    SCOPED_TRACE(players);
    Start();
    OpenOptions();
    for (int i = 1; i < players; ++i) {
      Press({SDL_SCANCODE_RIGHT});
      ASSERT_TRUE(Idle(STATE_OPTIONS, 131));
    }
    Press({SDL_SCANCODE_ESCAPE});
    ASSERT_TRUE(Idle(STATE_MAIN_MENU, 71));
    Press({SDL_SCANCODE_RETURN});
    ASSERT_TRUE(Idle(STATE_GAMEPLAY, -2));
    Press({SDL_SCANCODE_ESCAPE});
    ASSERT_TRUE(Idle(STATE_PAUSE, 62));
    Press({SDL_SCANCODE_DOWN});
    Press({SDL_SCANCODE_SPACE});
    ASSERT_TRUE(RunUntil([] { return World::GetState() == STATE_MAIN_MENU; }));
    EXPECT_EQ(World::GetPlayerRecords().size(), static_cast<std::size_t>(players));
    for (const auto& record : World::GetPlayerRecords()) EXPECT_EQ(record, nullptr);
    EXPECT_EQ(World::GetLevelList(STATE_GAMEPLAY)->index, 0);
    EXPECT_EQ(World::GetPlayer(), nullptr);
    EXPECT_EQ(All("MenuSword").size(), 1u);
    EXPECT_EQ(All("MenuOptions").size(), 3u);
    ASSERT_TRUE(Idle(STATE_MAIN_MENU, 71));
    Press({SDL_SCANCODE_DOWN});
    ASSERT_TRUE(Idle(STATE_MAIN_MENU, 71));
    EXPECT_EQ(SelectedCard()->GetFrame(), 5);
    game.reset();
  }
}

TEST_F(MenuScreens, AMenuLevelWithoutTheSwordStopsNamingTheFileAndTheSprite) {
  std::ifstream in(Game() / "menu.lvl");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t sword = text.find("MenuSword 250");
  ASSERT_NE(sword, std::string::npos);
  text.replace(sword, 9, "MenuBackdrop");
  std::ofstream(Game() / "menu.lvl", std::ios::trunc) << text;
  EXPECT_DEATH(
      {
        Start();
        game->RunFrames(3);
      },
      "menu\\.lvl.*\"MenuSword\"");
}

}  // namespace
