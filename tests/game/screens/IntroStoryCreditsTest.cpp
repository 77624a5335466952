// The intro, the story and the credits on a copy of the generated working folder,
// through the real frame loop with keys as the keyboard sends them. Texts are read
// from the World's queue by a handler that wraps the screen's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "animationlib/SpriteCollection.h"
#include "game/level/Level.h"
#include "game/sound/AudioFake.h"
#include "game/world/World.h"
#include "harness/GameHarness.h"
#include "platform/Audio.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

// What the wrapped handler saw: per call, the counter before it and the texts it queued.
struct Call {
  int counterBefore;
  int counterAfter;
  int result;
  std::vector<TextEntry> texts;
};
std::vector<Call> gCalls;
StateHandler gWrapped = nullptr;

int Recording(int* counter) {
  const std::size_t queued = World::GetQueuedTexts().size();
  Call call{*counter, 0, 0, {}};
  call.result = gWrapped(counter);
  call.counterAfter = *counter;
  const std::vector<TextEntry>& texts = World::GetQueuedTexts();
  call.texts.assign(texts.begin() + static_cast<std::ptrdiff_t>(queued), texts.end());
  gCalls.push_back(call);
  return call.result;
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path);
  return {std::istreambuf_iterator<char>(in), {}};
}

class OpeningScreens : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const fs::path generated = testsupport::BinaryDir() / "game";
    ASSERT_TRUE(fs::exists(generated / "intro.lvl")) << "build the gamedata target first";
    fs::copy(generated, Game(), fs::copy_options::recursive);
    for (const auto& entry : fs::recursive_directory_iterator(Game())) {
      if (entry.path().extension() == ".wav" || entry.path().extension() == ".ogg")
        audio.AddFile(fs::relative(entry.path(), Game()).string());
    }
    setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
    platform::SetAudioDevice(&audio);
    m_cwd = std::make_unique<testsupport::ScopedCurrentDir>(Game());
    gCalls.clear();
  }
  void TearDown() override {
    if (gWrapped) World::SetStateHandler(m_wrappedState, gWrapped);
    gWrapped = nullptr;
    World::StartFade(0, 0xFF000000, 0xFF000000);
    game.reset();
    platform::SetAudioDevice(nullptr);
    unsetenv("XDG_CONFIG_HOME");
    m_cwd.reset();
  }
  fs::path Game() const { return m_data.Path() / "game"; }

  // The shipped game list with another start state.
  void StartIn(int state) {
    std::string list = ReadText(Game() / "Gold.vt");
    list.replace(0, list.find(' '), std::to_string(state));
    std::ofstream(Game() / "Gold.vt", std::ios::trunc) << list;
  }
  void Start() {
    game = std::make_unique<testharness::GameHarness>();
    ASSERT_TRUE(game->InitResult());
  }
  void Record(int state) {
    m_wrappedState = state;
    gWrapped = World::GetStateHandler(state);
    World::SetStateHandler(state, Recording);
  }
  // Runs frames while the recorded screen stays; the number of its calls.
  int RunWhileIn(int state, int limit) {
    const std::size_t before = gCalls.size();
    while (static_cast<int>(gCalls.size() - before) < limit) {
      game->RunFrames(1);
      if (World::GetState() != state) break;
    }
    return static_cast<int>(gCalls.size() - before);
  }
  static std::vector<TextEntry> TextsOfSize(const Call& call, int size) {
    std::vector<TextEntry> found;
    for (const TextEntry& t : call.texts)
      if (t.size == size) found.push_back(t);
    return found;
  }

  AudioFake audio;
  std::unique_ptr<testharness::GameHarness> game;

 private:
  int m_wrappedState = 0;
  testsupport::TempDir m_data;
  testsupport::TempDir m_config;
  std::unique_ptr<testsupport::ScopedCurrentDir> m_cwd;
};

// ---------------------------------------------------------------- intro

TEST_F(OpeningScreens, IntroRunsItsTimelineWhateverTheKeysAndHandsOverToTheMenu) {
  enum Keys { kNone, kPressed, kHeld };
  for (const Keys keys : {kNone, kPressed, kHeld}) {
    SCOPED_TRACE(keys);
    gCalls.clear();
    Start();
    Record(STATE_INTRO);
    game->RunFrames(1);  // the game list and the intro level
    ASSERT_EQ(World::GetState(), STATE_INTRO);
    if (keys == kHeld) game->KeyDown(SDL_SCANCODE_RETURN);
    std::vector<std::uint32_t> beforeLogo, withLogo;
    for (int call = 1; call <= 658; ++call) {
      if (keys == kPressed) game->KeyDown(call % 2 ? SDL_SCANCODE_SPACE : SDL_SCANCODE_ESCAPE);
      game->RunFrames(1);
      if (keys == kPressed) game->KeyUp(call % 2 ? SDL_SCANCODE_SPACE : SDL_SCANCODE_ESCAPE);
      ASSERT_EQ(gCalls.size(), static_cast<std::size_t>(call));
      const Call& last = gCalls.back();
      ASSERT_EQ(World::GetState(), call < 658 ? STATE_INTRO : STATE_INTRO_DONE) << call;
      if (call == 2) {
        for (Sprite* seal : World::GetObjects()->FindAll("HNOfficialSeal")) {
          EXPECT_EQ(seal->GetScaleX(), 0.5f);
          EXPECT_EQ(seal->GetScaleY(), 0.5f);
        }
      }
      if (keys != kNone) continue;
      if (last.counterAfter < 182) beforeLogo = game->ReadFrame();
      if (last.counterAfter >= 182 && withLogo.empty()) withLogo = game->ReadFrame();
      if (last.counterAfter > 522 && last.counterAfter < 667) {
        for (const char* logo : {"TeamLogoKiln", "TeamLogoQuarry", "TeamLogoHarbor"}) {
          ASSERT_EQ(World::GetObjects()->FindAll(logo).size(), 1u) << logo;
        }
      }
      if (last.counterAfter > 571 && last.counterAfter < 667) {
        ASSERT_NE(World::GetObjects()->Find("Copyright"), nullptr);
        EXPECT_EQ(World::GetObjects()->Find("Copyright")->GetFrame(), 1);
        EXPECT_EQ(World::GetObjects()->Find("HalvornI"), nullptr);
      }
    }
    EXPECT_EQ(gCalls.back().counterAfter, 667);
    // Nothing of the intro is left; the menu level comes next.
    EXPECT_EQ(World::GetObjects()->Find("TeamLogoKiln"), nullptr);
    EXPECT_EQ(World::GetObjects()->Find("HNOfficialSeal"), nullptr);
    EXPECT_NE(World::GetObjects()->Find("MenuSword"), nullptr);
    game->RunFrames(1);
    EXPECT_EQ(World::GetState(), STATE_MAIN_MENU);
    if (keys == kNone) {
      // The first team logo is on screen where the letters' backdrop was.
      ASSERT_FALSE(beforeLogo.empty());
      ASSERT_FALSE(withLogo.empty());
      int changed = 0;
      for (int y = 60; y < 250; y += 4)
        for (int x = 260; x < 540; x += 4)
          changed += testharness::GameHarness::PixelAt(beforeLogo, x, y) !=
                     testharness::GameHarness::PixelAt(withLogo, x, y);
      EXPECT_GT(changed, 500);
    }
    game->KeyUp(SDL_SCANCODE_RETURN);
    World::SetStateHandler(STATE_INTRO, gWrapped);
    gWrapped = nullptr;
    game.reset();
  }
}

TEST_F(OpeningScreens, IntroTakesTheLastOfSeveralDsAsTheSecond) {
  std::string level = ReadText(Game() / "intro.lvl");
  const std::size_t copyright = level.find("Copyright 400");
  ASSERT_NE(copyright, std::string::npos);
  level.insert(copyright, "HalvornD 600 100 0 0 2\n");
  const std::size_t count = level.find("\n6\n");
  ASSERT_NE(count, std::string::npos);
  level.replace(count, 3, "\n7\n");
  std::ofstream(Game() / "intro.lvl", std::ios::trunc) << level;
  Start();
  Record(STATE_INTRO);
  game->RunFrames(1);
  std::vector<Sprite*> ds = World::GetObjects()->FindAll("HalvornD");
  ASSERT_EQ(ds.size(), 3u);
  const Vector2 middle = ds[1]->GetPosition();
  while (gCalls.empty() || gCalls.back().counterAfter < 292) game->RunFrames(1);
  ds = World::GetObjects()->FindAll("HalvornD");
  const Vector2 i = World::GetObjects()->Find("HalvornI")->GetPosition();
  const Vector2 d1 = ds.front()->GetPosition();
  // Moved beside I, mirrored about it from D1; the middle one never moves.
  EXPECT_FLOAT_EQ(ds.back()->GetPosition().X(), 2.0f * i.X() - d1.X());
  EXPECT_FLOAT_EQ(ds.back()->GetOrbitCentreX(), i.X());
  EXPECT_EQ(ds[1]->GetPosition(), middle);
  EXPECT_EQ(ds[1]->GetOrbitAngle(), 0.0f);
}

TEST_F(OpeningScreens, IntroMissingASpriteOrALogoStopsNamingItAndTheLevel) {
  const struct {
    const char* find;
    const char* replace;
    const char* message;
  } cases[] = {
      {"HalvornI 400", "IntroBackdrop 400", "intro\\.lvl.*\"HalvornI\""},
      {"TeamLogoHarbor 1", "TeamLogoHarbour 1", "intro\\.lvl.*\"TeamLogoHarbor\""},
  };
  const std::string original = ReadText(Game() / "intro.lvl");
  for (const auto& c : cases) {
    std::string level = original;
    const std::size_t at = level.find(c.find);
    ASSERT_NE(at, std::string::npos) << c.find;
    level.replace(at, std::string(c.find).size(), c.replace);
    std::ofstream(Game() / "intro.lvl", std::ios::trunc) << level;
    EXPECT_DEATH(
        {
          Start();
          game->RunFrames(3);
        },
        c.message);
  }
}

// ---------------------------------------------------------------- story

struct StoryLine {
  const char* text;
  float x, y;
};
const StoryLine kPage1[] = {{"As a devoted member of the Ninja regime,", 26, 10},
                            {"Zodiraz O was assigned by Ninja leader", 55, 55},
                            {"Kaje to divulge and destroy the traitor,", 66, 100},
                            {"who had leaked secrets to the", 136, 145},
                            {"Tiger Army.", 298, 190}};
const StoryLine kPage2[] = {{"Now, Zodiraz O wakes up in a junkyard", 55, 355},
                            {"on a scrap pile, his memory core broken.", 110, 400},
                            {"Zodiraz O remembers having a mission and", 20, 485},
                            {"fighting in a battle that had ended badly.", 50, 530}};
const float kSlid = 800.0f / 60.0f * 61.0f - 800.0f;
const StoryLine kPage3[] = {{"If he can recover his missing memory core", 20 + kSlid, 225},
                            {"shards, Zodiraz O might have the chance of", 30 - kSlid, 265},
                            {"recovering his lost fighting techniques", 65 + kSlid, 305},
                            {"and confronting his forgotten destroyer.", 80 - kSlid, 345}};

TEST_F(OpeningScreens, StoryShowsItsPagesWaitsForANewKeyAndReturnsToTheMenu) {
  StartIn(STATE_STORY);
  Start();
  Record(STATE_STORY);
  struct Page {
    int wait;
    const StoryLine* lines;
    std::size_t count;
  } pages[] = {{205, kPage1, 5}, {411, kPage2, 4}, {514, kPage3, 4}};
  const auto lineCheck = [](const TextEntry& t, const StoryLine& l, std::uint32_t color) {
    EXPECT_EQ(t.face, "Corsiva");
    EXPECT_EQ(t.size, 30);
    EXPECT_EQ(t.text, l.text);
    EXPECT_NEAR(t.x, l.x, 1e-3);
    EXPECT_NEAR(t.y, l.y, 1e-3);
    EXPECT_EQ(t.color, color);
  };
  game->RunFrames(1);  // the game list
  for (const Page& page : pages) {
    SCOPED_TRACE(page.wait);
    ASSERT_EQ(RunWhileIn(STATE_STORY, 700), 700);
    ASSERT_EQ(gCalls.back().counterAfter, page.wait);  // and waits for good
    EXPECT_EQ(World::GetObjects()->GetMask(), 0);
    // The copy circles behind the solid lines, once every 120 frames.
    const std::size_t n = gCalls.size();
    const Call& now = gCalls[n - 1];
    ASSERT_EQ(now.texts.size(), 2 * page.count);
    for (std::size_t i = 0; i < page.count; ++i) lineCheck(now.texts[page.count + i], page.lines[i], 0xFF0000FF);
    const TextEntry& copy = now.texts[0];
    EXPECT_EQ(copy.color, 0x7F7F00FFu);
    EXPECT_NEAR(std::hypot(copy.x - page.lines[0].x, copy.y - page.lines[0].y), 5.0, 1e-3);
    const TextEntry& turn = gCalls[n - 121].texts[0];
    const TextEntry& half = gCalls[n - 61].texts[0];
    EXPECT_NEAR(turn.x, copy.x, 1e-3);
    EXPECT_NEAR(turn.y, copy.y, 1e-3);
    EXPECT_NEAR(half.x - page.lines[0].x, page.lines[0].x - copy.x, 1e-3);

    // Held down from the last page the key counts only once.
    game->KeyDown(SDL_SCANCODE_RETURN);
    const std::size_t pressed = gCalls.size();
    RunWhileIn(STATE_STORY, 42);
    // The darkening: black on its 40th frame and still black on the 41st.
    for (int f = 1; f <= 41; ++f) {
      const Call& c = gCalls[pressed + static_cast<std::size_t>(f) - 1];
      const auto dark = std::find_if(c.texts.rbegin(), c.texts.rend(), [&](const TextEntry& t) {
        return t.text == page.lines[0].text;
      });
      ASSERT_NE(dark, c.texts.rend()) << f;
      const std::uint32_t expected = 0xFF000000u | static_cast<std::uint32_t>(std::max(0.0, 255 - 6.375 * f));
      EXPECT_EQ(dark->color, expected) << f;
    }
    if (page.wait == 514) {
      EXPECT_EQ(World::GetState(), STATE_MAIN_MENU);
      EXPECT_EQ(World::GetFrameCounter(), -31);
      EXPECT_EQ(World::GetObjects()->GetMask(), 7);
      break;
    }
    game->RunFrames(400);
    game->KeyUp(SDL_SCANCODE_RETURN);
  }
}

// ---------------------------------------------------------------- credits

TEST_F(OpeningScreens, CreditsRunTheirLengthOrFiveTimesFasterAndLeadOnByTheFlag) {
  const struct {
    bool held;
    bool completed;
    int frames;
    int next;
  } cases[] = {{false, false, 6241, STATE_MAIN_MENU}, {true, true, 1249, STATE_NAME_ENTRY},
               {true, false, 1249, STATE_MAIN_MENU}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.frames);
    SCOPED_TRACE(c.completed);
    StartIn(STATE_CREDITS);
    Start();
    Record(STATE_CREDITS);
    World::SetGameCompleted(c.completed);
    game->RunFrames(1);  // the game list
    const int entry = World::GetCurrentEntry();
    if (c.held) game->KeyDown(SDL_SCANCODE_RETURN);
    gCalls.clear();
    EXPECT_EQ(RunWhileIn(STATE_CREDITS, 7000), c.frames);
    EXPECT_EQ(gCalls.back().result, c.next);
    EXPECT_FALSE(World::IsGameCompleted());
    EXPECT_EQ(World::GetCurrentEntry(), entry + (c.completed ? 1 : 0));
    EXPECT_EQ(World::GetObjects()->GetMask(), 7);
    if (!c.held) {
      // A procession shows one entering, up to four travelling and one leaving label.
      for (const std::uint32_t colour : {0x00FF00u, 0xFF0000u, 0x0000FFu}) {
        std::size_t most = 0;
        for (const Call& call : gCalls) {
          std::size_t labels = 0;
          for (const TextEntry& t : TextsOfSize(call, 20)) labels += (t.color & 0xFFFFFF) == colour;
          most = std::max(most, labels);
        }
        EXPECT_EQ(most, 6u) << std::hex << colour;
      }
      // The first white title: in, opaque throughout, out to nothing.
      std::vector<std::uint32_t> alpha;
      for (const Call& call : gCalls)
        for (const TextEntry& t : call.texts)
          if (t.text == "EXECUTIVE PRODUCER") alpha.push_back(t.color >> 24);
      ASSERT_GE(alpha.size(), 240u);
      EXPECT_EQ(alpha.back(), 0u);
      const auto firstOpaque = std::find(alpha.begin(), alpha.end(), 255u);
      ASSERT_NE(firstOpaque, alpha.end());
      EXPECT_TRUE(std::is_sorted(alpha.begin(), firstOpaque));
      ASSERT_GE(alpha.end() - firstOpaque, 121);
      EXPECT_TRUE(std::all_of(firstOpaque, firstOpaque + 121, [](std::uint32_t a) { return a == 255u; }));
      EXPECT_TRUE(std::is_sorted(firstOpaque + 121, alpha.end(), std::greater<>()));
    }
    game->KeyUp(SDL_SCANCODE_RETURN);
    World::SetStateHandler(STATE_CREDITS, gWrapped);
    gWrapped = nullptr;
    game.reset();
  }
}

TEST_F(OpeningScreens, CreditsFastForwardDrawsOnePicturePerFrame) {
  StartIn(STATE_CREDITS);
  Start();
  Record(STATE_CREDITS);
  game->RunFrames(1);
  game->KeyDown(SDL_SCANCODE_SPACE);
  // Into the first procession: its labels, trails and role, each queued once.
  while (World::GetFrameCounter() < 1400) game->RunFrames(1);
  const Call& call = gCalls.back();
  std::vector<std::string> texts;
  for (const TextEntry& t : call.texts) texts.push_back(t.text + std::to_string(t.color));
  std::sort(texts.begin(), texts.end());
  EXPECT_EQ(std::adjacent_find(texts.begin(), texts.end()), texts.end());
  EXPECT_EQ(std::count_if(call.texts.begin(), call.texts.end(),
                          [](const TextEntry& t) { return t.text == "PRODUCER"; }),
            1);
  // The picture: green labels on black.
  const std::vector<std::uint32_t> frame = game->ReadFrame();
  ASSERT_FALSE(frame.empty());
  int green = 0;
  for (std::uint32_t pixel : frame) green += ((pixel >> 8) & 0xFF) > 0x80 && ((pixel >> 16) & 0xFF) < 0x40;
  EXPECT_GT(green, 200);
  game->KeyUp(SDL_SCANCODE_SPACE);
}

}  // namespace
