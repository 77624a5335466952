// Tutorial scripts and messages: the reader and its damaged scripts, the fades,
// the camera tour, triggering by the hero's position, stacking and scrolling
// lines, copies, and the level and World that hold the tutorial.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "animationlib/SpriteCollection.h"
#include "game/WorldTestKit.h"
#include "game/level/Level.h"
#include "game/player/PlayerObject.h"
#include "game/tutorial/Tutorial.h"
#include "game/world/World.h"

namespace {

using worldtest::WriteText;

const char kSettings[] = "30 30 40 120 4 2 16 fade in, out, x, y, spacing, scroll, size\n";

// A settings line, a colour line, then the count and records as given.
std::string Script(const std::string& records, const std::string& settings = kSettings) {
  return settings + "255 255 255 255\n" + records;
}

Tutorial Read(const std::string& text) {
  std::istringstream in(text);
  return Tutorial(in, "data/tutone.lvl");
}

std::vector<std::string> Texts(const Tutorial& tutorial) {
  std::vector<std::string> texts;
  for (const auto& event : tutorial.GetPending()) texts.push_back(event->GetText());
  return texts;
}

struct ReaderCase {
  const char* name;
  std::string script;
  std::vector<std::string> texts;
};

TEST(TutorialReader, ReadsWhatTheScriptHoldsAndStopsAtDamage) {
  const std::string longText(1500, 'a');
  const ReaderCase cases[] = {
      {"records on the count's line, text keeps its leading blanks",
       Script("2 0 400 880 200 300 0 240 1 1 Run right.\n"
              "1 10 20 5 5 1 4288 860 90 0 -1   Three blanks.\n"),
       {" Run right.", "   Three blanks."}},
      {"CRLF line ends", Script("2\r\n0 1 1 1 1 0 10 1 -1 First\r\n1 1 1 1 1 0 10 1 -1 Second\r\n"),
       {" First", " Second"}},
      {"a settings remainder past 64 characters is skipped whole",
       Script("1\n0 1 1 1 1 0 10 1 -1 Only\n",
              "30 30 40 120 4 2 16 " + std::string(100, 'x') + " 7 7 7 7 9\n"),
       {" Only"}},
      {"a long text is cut and the rest of its line skipped",
       Script("2\n0 1 1 1 1 0 10 1 -1 " + longText + "\n1 1 1 1 1 0 10 1 -1 Next\n"),
       {" " + std::string(1022, 'a'), " Next"}},
      {"a count beyond the records gives the records",
       Script("1000000000\n0 1 1 1 1 0 10 1 -1 One\n"), {" One"}},
      {"a negative count gives none", Script("-3\n0 1 1 1 1 0 10 1 -1 One\n"), {}},
      {"a token that is not a number ends the reading",
       Script("3\n0 1 1 1 1 0 10 1 -1 One\n1 oops 1 1 1 0 10 1 -1 Two\n2 1 1 1 1 0 10 1 -1 Three\n"),
       {" One"}},
      {"the last record may end the file without a line end",
       Script("2\n0 1 1 1 1 0 10 1 -1 One\n1 1 1 1 1 0 10 1 -1"), {" One", ""}},
  };
  for (const ReaderCase& c : cases) {
    EXPECT_EQ(Texts(Read(c.script)), c.texts) << c.name;
  }
}

TEST(TutorialReader, SettingsColourAndRecordFields) {
  const Tutorial tutorial = Read(
      "30 20 40 120 4 2 16 note\n255 10 20 300\n"
      "2 0 400 880 200 300 0 240 1 1 Run.\n7 10 20 5 6 1 4288 860 90 0 -1 Look.\n");
  EXPECT_EQ(tutorial.GetFadeInFrames(), 30);
  EXPECT_EQ(tutorial.GetFadeOutFrames(), 20);
  EXPECT_EQ(tutorial.GetX(), 40.0f);
  EXPECT_EQ(tutorial.GetBaseY(), 120.0f);
  EXPECT_EQ(tutorial.GetLineSpacing(), 4.0f);
  EXPECT_EQ(tutorial.GetScrollSpeed(), 2.0f);
  EXPECT_EQ(tutorial.GetPointSize(), 16);
  EXPECT_EQ(tutorial.GetFace(), "");
  const TutorialColor color = tutorial.GetColor();
  EXPECT_EQ(color.alpha, 255);
  EXPECT_EQ(color.red, 10);
  EXPECT_EQ(color.green, 20);
  EXPECT_EQ(color.blue, 300 & 0xFF);  // only the low 8 bits

  ASSERT_EQ(tutorial.GetPending().size(), 2u);
  const TutorialEvent& plain = *tutorial.GetPending()[0];
  EXPECT_FALSE(plain.HasFocus());
  EXPECT_EQ(plain.GetWidth(), 200.0f);
  EXPECT_EQ(plain.GetHeight(), 300.0f);
  EXPECT_EQ(plain.GetDisplayFrames(), 240);
  EXPECT_TRUE(plain.IsActive());
  EXPECT_EQ(plain.GetNextID(), 1);
  const TutorialEvent& focus = *tutorial.GetPending()[1];
  EXPECT_EQ(focus.GetID(), 7);
  EXPECT_TRUE(focus.HasFocus());
  EXPECT_EQ(focus.GetFocusX(), 4288.0f);
  EXPECT_EQ(focus.GetFocusY(), 860.0f);
  EXPECT_EQ(focus.GetDisplayFrames(), 90);
  EXPECT_FALSE(focus.IsActive());
  EXPECT_EQ(focus.GetNextID(), -1);
}

TEST(TutorialReaderDeathTest, NegativeIdStopsNamingTheScript) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(Read(Script("2\n0 1 1 1 1 0 10 1 -1 One\n-1 1 1 1 1 0 10 1 -1 Two\n")),
               "data/tutone\\.lvl.*m_\\.ID >= 0");
}

// A point size past any screen used to reach the font lookup, whose arithmetic
// overflowed on it.
TEST(TutorialReaderDeathTest, APointSizeOutsideTheSaneRangeStopsNamingTheScript) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::string record = "1\n0 1 1 1 1 0 10 1 -1 One\n";
  for (const char* size : {"0", "-16", "201", "30000000", "99999999999"}) {
    EXPECT_DEATH(Read(Script(record, std::string("30 30 40 120 4 2 ") + size + " note\n")),
                 "data/tutone\\.lvl.*point size.*outside 1 to 200")
        << size;
  }
  for (const char* size : {"1", "200"}) {
    const Tutorial tutorial = Read(Script(record, std::string("30 30 40 120 4 2 ") + size + "\n"));
    EXPECT_EQ(tutorial.GetPointSize(), std::stoi(size));
    EXPECT_EQ(tutorial.GetPending().size(), 1u);
  }
  EXPECT_TRUE(Read("30 30 40 120 4 2").GetPending().empty()) << "cut short: no messages, no stop";
}

// A script cut short keeps the messages it holds and says what it lost.
TEST(TutorialReader, AScriptCutShortIsToldNamingTheFile) {
  const struct {
    std::string script;
    const char* report;
  } cases[] = {
      {Script("3\n0 1 1 1 1 0 10 1 -1 One\n0 1 1 1"),
       "Data file \"data/tutone.lvl\": holds 1 of the 3 messages its count gives"},
      {"30 30 40 120 4 2 16\n255 255",
       "Data file \"data/tutone.lvl\": ends before its message count"},
  };
  for (const auto& c : cases) {
    testing::internal::CaptureStderr();
    Read(c.script);
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find(c.report), std::string::npos) << report;
  }
  testing::internal::CaptureStderr();
  Read(Script("1\n0 1 1 1 1 0 10 1 -1 One"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "a whole script says nothing";
}

// Messages drawn outside a running game: a World handle keeps the text queue
// from outliving the test.
class TutorialDrawTest : public ::testing::Test {
 protected:
  static TutorialEvent Event(const std::string& record) {
    std::istringstream in(record);
    return TutorialEvent(in);
  }
  // Draws once; the alpha of the text queued, or -1 when none was.
  int DrawAlpha(TutorialEvent& event, TutorialColor color = {0x12, 0x34, 0x56, 255}) {
    const std::size_t before = World::GetQueuedTexts().size();
    event.Draw(30, 30, 40.0f, 120.0f, 16, color, "");
    if (World::GetQueuedTexts().size() == before) return -1;
    return static_cast<int>(World::GetQueuedTexts().back().color >> 24);
  }
  World world;
};

TEST_F(TutorialDrawTest, FadesInHoldsAndFadesOutThenGoesInactive) {
  TutorialEvent event = Event("0 0 0 1 1 0 120 1 -1 Hello");
  std::vector<int> alphas;
  for (int frame = 1; frame <= 179; ++frame) alphas.push_back(DrawAlpha(event));
  for (int frame = 2; frame <= 29; ++frame) EXPECT_GT(alphas[frame - 1], alphas[frame - 2]) << frame;
  EXPECT_GT(alphas[0], 0);
  for (int frame = 30; frame <= 149; ++frame) EXPECT_EQ(alphas[frame - 1], 255) << frame;
  for (int frame = 151; frame <= 179; ++frame) EXPECT_LT(alphas[frame - 1], alphas[frame - 2]) << frame;
  EXPECT_GT(alphas[178], 0);
  EXPECT_TRUE(event.IsActive());

  EXPECT_EQ(DrawAlpha(event), -1) << "the 180th frame draws nothing";
  EXPECT_FALSE(event.IsActive());

  // Truncated, not rounded: 255 x 1/30 = 8.5 and 255 x 15/30 = 127.5.
  EXPECT_EQ(alphas[0], 8);
  EXPECT_EQ(alphas[14], 127);
  EXPECT_EQ(alphas[164], 127);
  EXPECT_EQ(alphas[178], 8);
}

TEST_F(TutorialDrawTest, QueuesTheTextWithPackedColour) {
  TutorialEvent event = Event("0 0 0 1 1 0 120 1 -1 Hello there");
  for (int frame = 1; frame <= 15; ++frame) DrawAlpha(event);
  const TextEntry& text = World::GetQueuedTexts().back();
  EXPECT_EQ(text.color, 0x7F123456u);
  EXPECT_EQ(text.text, " Hello there");
  EXPECT_EQ(text.face, "");
  EXPECT_EQ(text.size, 16);
  EXPECT_EQ(text.x, 40.0f);
  EXPECT_EQ(text.y, 120.0f);
}

TEST_F(TutorialDrawTest, FocusWithoutALivePlayerTakesNoTour) {
  TutorialEvent event = Event("0 0 0 1 1 1 500 600 120 1 -1 Look");
  EXPECT_GT(DrawAlpha(event), 0);
  EXPECT_TRUE(World::GetFocusQueue().empty());
}

TEST(TutorialFocus, HoldsTheCameraForTheCountdownThenReleases) {
  TutorialEvent::SetFocusCountdown(3);
  EXPECT_FALSE(TutorialEvent::FocusDone());
  EXPECT_FALSE(TutorialEvent::FocusDone());
  EXPECT_FALSE(TutorialEvent::FocusDone());
  EXPECT_TRUE(TutorialEvent::FocusDone());
  EXPECT_TRUE(TutorialEvent::FocusDone());
}

TEST(TutorialActivate, UnlocksEveryMessageWithTheIdAndIgnoresNegativeIds) {
  Tutorial tutorial = Read(Script(
      "4\n4 1 1 1 1 0 10 0 -1 A\n5 1 1 1 1 0 10 0 -1 B\n4 1 1 1 1 0 10 0 -1 C\n"
      "6 1 1 1 1 0 10 0 -1 D\n"));
  tutorial.ActivateId(4);
  EXPECT_EQ(TutorialEvent::GetCurrentId(), 4);
  std::vector<bool> active;
  for (const auto& event : tutorial.GetPending()) active.push_back(event->IsActive());
  EXPECT_EQ(active, (std::vector<bool>{true, false, true, false}));

  tutorial.ActivateId(-1);
  EXPECT_EQ(TutorialEvent::GetCurrentId(), 4);
  EXPECT_FALSE(tutorial.GetPending()[1]->IsActive());
}

TEST(TutorialCopy, CopiesAreDeepAndSelfAssignmentKeepsAll) {
  Tutorial original = Read(Script("2\n0 1 1 1 1 0 10 0 -1 A\n1 1 1 1 1 0 10 1 -1 B\n"));
  Tutorial copy(original);
  ASSERT_EQ(Texts(copy), Texts(original));
  EXPECT_NE(copy.GetPending()[0].get(), original.GetPending()[0].get());
  copy.GetPending()[0]->SetActive(true);
  EXPECT_FALSE(original.GetPending()[0]->IsActive());
  EXPECT_EQ(copy.GetPointSize(), 16);

  Tutorial assigned;
  assigned = original;
  EXPECT_EQ(Texts(assigned), Texts(original));
  Tutorial& same = assigned;
  assigned = same;
  EXPECT_EQ(Texts(assigned), Texts(original));
}

// A started World with one level holding the hero (at 1000, 700) and a
// "Tutorial" trigger; the hero is put where each case needs it.
class TutorialWorldTest : public worldtest::WorldDataTest {
 protected:
  void Start(const std::string* script, const std::string& player = "ZodirazO 1000 700 0") {
    WriteGameList("one one.lvl", 1);
    WriteText(Root() / "one.lvl",
              "0\n0 0\n0\n0\n0\n0\n-1 -1 -1 -1 0\n" + player + "\n0\n1\nTutorial 0 0 0 0 0\n");
    if (script) WriteText(Root() / "data" / "tutone.lvl", *script);
    InitWorld();
    World::LoadGame("Gold.vt");
    ASSERT_TRUE(World::LoadLevel("one", true));
  }
  static void PutHero(float x, float y) { World::GetPlayer()->MoveTo(Vector2(x, y)); }
  // The y of every text queued since the last call.
  std::vector<float> DrawnAt() {
    std::vector<float> ys;
    const auto& texts = World::GetQueuedTexts();
    for (std::size_t i = m_seen; i < texts.size(); ++i) ys.push_back(texts[i].y);
    m_seen = texts.size();
    return ys;
  }

 private:
  std::size_t m_seen = 0;
};

TEST_F(TutorialWorldTest, BoxesHoldThePlayerStrictly) {
  Start(nullptr);
  const struct {
    float x, y;
    bool triggers;
  } cases[] = {{1050.0f, 700.0f, false}, {950.0f, 700.0f, false}, {1000.0f, 750.0f, false},
               {1000.0f, 650.0f, false}, {1049.9f, 749.9f, true}, {1000.0f, 700.0f, true}};
  for (const auto& c : cases) {
    Tutorial tutorial = Read(Script("1\n0 1000 700 50 50 0 10 1 -1 Box\n"));
    PutHero(c.x, c.y);
    tutorial.Update();
    EXPECT_EQ(tutorial.GetShown().size(), c.triggers ? 1u : 0u) << c.x << ", " << c.y;
  }
}

TEST_F(TutorialWorldTest, TwoMessagesTriggeredTogetherStackOneLineApartThenScrollUp) {
  Start(nullptr);
  // The first goes after 4 drawn frames, the second stays.
  Tutorial tutorial =
      Read("0 0 40 120 4 2 16\n255 255 255 255\n"
           "2\n0 1000 700 50 50 0 5 1 -1 Short\n1 1000 700 60 60 0 100 1 -1 Long\n");
  PutHero(1000.0f, 700.0f);
  tutorial.Update();
  EXPECT_TRUE(tutorial.GetPending().empty());
  EXPECT_EQ(DrawnAt(), (std::vector<float>{120.0f, 140.0f}));
  for (int frame = 2; frame <= 4; ++frame) tutorial.Update();
  DrawnAt();
  tutorial.Update();  // the first goes inactive
  EXPECT_EQ(DrawnAt(), (std::vector<float>{140.0f}));

  std::vector<float> slide;
  for (int frame = 1; frame <= 11; ++frame) {
    tutorial.Update();
    const std::vector<float> ys = DrawnAt();
    ASSERT_EQ(ys.size(), 1u);
    slide.push_back(ys[0]);
  }
  EXPECT_EQ(tutorial.GetShown().size(), 1u);
  EXPECT_EQ(slide, (std::vector<float>{138.0f, 136.0f, 134.0f, 132.0f, 130.0f, 128.0f, 126.0f,
                                       124.0f, 122.0f, 120.0f, 120.0f}));
}

TEST_F(TutorialWorldTest, ShownMessageUnlocksItsNextIdAndFocusTours) {
  Start(nullptr);
  Tutorial tutorial = Read(Script(
      "2\n0 1000 700 50 50 1 3000 900 3 1 4 Look\n4 1000 700 50 50 0 10 0 -1 After\n"));
  PutHero(1000.0f, 700.0f);
  tutorial.Update();
  // The unlocked message stands later in the list, so it comes on screen too.
  EXPECT_EQ(tutorial.GetShown().size(), 2u);
  const auto& queue = World::GetFocusQueue();
  ASSERT_EQ(queue.size(), 2u);
  EXPECT_EQ(queue[0].m_vPosition, Vector2(3000.0f, 900.0f));
  EXPECT_FALSE(queue[0].m_bPlayerControl);
  EXPECT_EQ(queue[0].m_callback, &TutorialEvent::FocusDone);
  EXPECT_EQ(queue[1].m_vPosition, Vector2(1000.0f, 700.0f));
  EXPECT_FALSE(queue[1].m_bPlayerControl);
  EXPECT_EQ(queue[1].m_callback, nullptr);
  EXPECT_EQ(TutorialEvent::GetFocusCountdown(), 3);
  tutorial.Update();
  EXPECT_EQ(queue.size(), 2u) << "the tour starts once";
}

TEST_F(TutorialWorldTest, WithoutALivePlayerNothingTriggersAndShownLinesFadeOn) {
  Start(nullptr);
  Tutorial tutorial = Read(Script(
      "2\n0 1000 700 50 50 0 10 1 -1 Seen\n1 3000 700 50 50 1 0 0 10 1 -1 Waiting\n"));
  PutHero(1000.0f, 700.0f);
  tutorial.Update();
  ASSERT_EQ(tutorial.GetShown().size(), 1u);
  // The hero's object stays but is no hero any more; it stands in the second box.
  PlayerObject* former = World::GetPlayer();
  former->SetName("Gone");
  former->MoveTo(Vector2(3000.0f, 700.0f));
  ASSERT_EQ(World::GetPlayer(), nullptr);
  DrawnAt();
  tutorial.Update();
  EXPECT_EQ(tutorial.GetPending().size(), 1u);
  EXPECT_EQ(DrawnAt().size(), 1u);
  EXPECT_EQ(tutorial.GetShown()[0].event->GetShownFrames(), 2);
  EXPECT_TRUE(World::GetFocusQueue().empty());
}

TEST_F(TutorialWorldTest, LevelReadsItsScriptAndTheWorldGetsACopyRunByTheTrigger) {
  const std::string script = Script("1\n0 1000 700 50 50 0 10 1 -1 Hello\n");
  Start(&script);
  const Tutorial* levelCopy = World::GetCurrentLevel()->GetTutorial();
  ASSERT_NE(levelCopy, nullptr);
  ASSERT_NE(Tutorial::GetCurrent(), nullptr);
  EXPECT_NE(Tutorial::GetCurrent(), levelCopy);
  EXPECT_EQ(Texts(*Tutorial::GetCurrent()), (std::vector<std::string>{" Hello"}));

  static_cast<GameObject*>(World::GetObjects()->Find("Tutorial"))->RunBehavior();
  EXPECT_EQ(Tutorial::GetCurrent()->GetShown().size(), 1u);
  EXPECT_EQ(levelCopy->GetPending().size(), 1u) << "the level's own stays untouched";

  // Several players: the World's tutorial is an empty one.
  World::GetPlayerRecords().push_back(nullptr);
  ASSERT_TRUE(World::LoadLevel("one", true));
  ASSERT_NE(Tutorial::GetCurrent(), nullptr);
  EXPECT_TRUE(Tutorial::GetCurrent()->GetPending().empty());
}

TEST_F(TutorialWorldTest, LevelWithoutScriptHasNoTutorialAndTheWorldAnEmptyOne) {
  Start(nullptr);
  EXPECT_EQ(World::GetCurrentLevel()->GetTutorial(), nullptr);
  ASSERT_NE(Tutorial::GetCurrent(), nullptr);
  EXPECT_TRUE(Tutorial::GetCurrent()->GetPending().empty());
}

}  // namespace
