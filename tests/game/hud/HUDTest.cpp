// The HUD's parts, gauges, ability switches, orbs, texts and warning labels.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "game/HeroTestKit.h"
#include "game/hud/HUD.h"

namespace {

using herotest::HeroTest;
using worldtest::WorldDataTest;

class HudTest : public WorldDataTest {
 protected:
  void SetUp() override {
    WorldDataTest::SetUp();
    InitWorld();
    hud = HUD::GetInstance();
    ASSERT_NE(hud, nullptr);
  }
  static GameObject* Part(const char* name) {
    GameObject* part = HUD::FindObject(name);
    EXPECT_NE(part, nullptr) << name;
    return part;
  }
  HUD* hud = nullptr;
};

struct PartRow {
  const char* name;
  float x, y, depth;
  int frame;
  bool visible;
};

TEST_F(HudTest, PartsStandWhereTheTableSays) {
  const PartRow rows[] = {
      {"HUDorb4", 253, 113, 1, 0, false},   {"HUDorb1", 179, 113, 1, 1, true},
      {"HUDorb2", 216, 113, 1, 1, true},    {"HUDorb3", 253, 113, 1, 1, true},
      {"CrackedOrb3", 253, 113, 1, 0, true}, {"HUDWindow", -90, -100, 0, 0, true},
      {"CoreDefault", 30, -45, 0, 1, true}, {"CoreStride", 30, -45, 0, 0, true},
      {"EnergyBar", 144, 73, 0, 0, true},   {"EnergyMeter", 144, 73, 0, 0, true},
      {"HUDLabel1", 69, 112, 0, 0, true},   {"HUDLabel2", 64, 73, 0, 8, true},
      {"HUDLabel3", 64, 34, 0, 16, true},   {"Holder", 0, 0, 0, 1, false},
  };
  for (const PartRow& row : rows) {
    const GameObject* part = Part(row.name);
    if (!part) continue;
    EXPECT_EQ(part->GetPosition(), Vector2(row.x, row.y)) << row.name;
    EXPECT_EQ(part->GetDepth(), row.depth) << row.name;
    EXPECT_EQ(part->GetFrame(), row.frame) << row.name;
    EXPECT_EQ(part->IsVisible(), row.visible) << row.name;
  }
  EXPECT_FLOAT_EQ(Part("CoreCyclone")->GetScaleX(), 0.9f);
  EXPECT_EQ(Part("HUDLabel1")->GetBehavior(), &HUD::LabelBehavior);
  EXPECT_EQ(Part("Holder")->GetFrameChangeCallback(), &HUD::HolderFrameChange);

  // 13 particles per colour, a depth step of 10; the blue ones ring the first slot.
  int blue = 0;
  for (Sprite* sprite : HUD::GetObjects()->GetSprites()) {
    if (sprite->GetName() != "BreakBlueOrb") continue;
    EXPECT_EQ(sprite->GetDepth(), 10.0f * static_cast<float>(sprite->GetFrame()));
    EXPECT_FALSE(sprite->IsVisible());
    if (sprite->GetFrame() == 0) {
      EXPECT_EQ(sprite->GetPosition(), Vector2(178, 106));
    }
    ++blue;
  }
  EXPECT_EQ(blue, HUD::kBreakParticles);
}

TEST_F(HudTest, EnergyFractionIsClampedAndScalesTheBar) {
  const struct {
    float fraction, shown;
    bool full;
  } cases[] = {{-0.5f, 0.0f, false}, {0.4f, 0.4f, false}, {1.0f, 1.0f, true}, {3.0f, 1.0f, true}};
  for (const auto& c : cases) {
    hud->SetEnergy(c.fraction);
    EXPECT_FLOAT_EQ(HUD::GetEnergy(), c.shown) << c.fraction;
    EXPECT_FLOAT_EQ(Part("EnergyBar")->GetScaleX(), c.shown) << c.fraction;
    EXPECT_EQ(HUD::IsEnergyFull(), c.full) << c.fraction;
  }
}

TEST_F(HudTest, ScoreAndTimeAreDrawnTwiceInTheirFaces) {
  hud->SetColor(0x80112233);
  const struct {
    int score;
    const char* text;
  } scores[] = {{-5, "0"}, {0, "0"}, {1234, "1234"}};
  for (const auto& s : scores) {
    hud->SetScore(s.score);
    EXPECT_EQ(hud->GetScoreText(), s.text);
    EXPECT_GE(HUD::GetScore(), 0);
  }
  HUD::SetTime(75);
  hud->Update();
  const std::vector<TextEntry>& texts = World::GetQueuedTexts();
  ASSERT_EQ(texts.size(), 4u);
  const TextEntry expected[] = {
      {"Corsiva", 25, 180.0f, 12.0f, "1234", 0xFF00FF00},
      {"Corsiva", 25, 180.0f, 12.0f, "1234", 0x80112233},
      {"Teletype", 30, 700.0f, 25.0f, World::FormatTime(75), 0xC8FFFFFF},
      {"Teletype", 30, 700.0f, 25.0f, World::FormatTime(75), 0x80112233},
  };
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(texts[i].face, expected[i].face) << i;
    EXPECT_EQ(texts[i].size, expected[i].size) << i;
    EXPECT_EQ(texts[i].x, expected[i].x) << i;
    EXPECT_EQ(texts[i].y, expected[i].y) << i;
    EXPECT_EQ(texts[i].text, expected[i].text) << i;
    EXPECT_EQ(texts[i].color, expected[i].color) << i;
  }
}

TEST_F(HudTest, LowEnergyFlashesTheEnergyLabelAtTheHoldersFifthFrame) {
  hud->SetEnergy(0.1f);
  GameObject* label = Part("HUDLabel2");
  GameObject* holder = Part("Holder");
  for (int i = 0; i < 4; ++i) HUD::LabelBehavior(label);
  EXPECT_FALSE(HUD::IsEnergyWarning());
  HUD::LabelBehavior(label);
  EXPECT_TRUE(HUD::IsEnergyWarning());
  holder->SetFrame(5);
  HUD::HolderFrameChange(holder);
  EXPECT_EQ(label->GetFrame(), 9);
  EXPECT_FALSE(HUD::IsEnergyWarning());

  // Enough energy clears a raised warning before it shows.
  label->SetFrame(8);
  for (int i = 0; i < 5; ++i) HUD::LabelBehavior(label);
  hud->SetEnergy(0.5f);
  HUD::LabelBehavior(label);
  HUD::HolderFrameChange(holder);
  EXPECT_EQ(label->GetFrame(), 8);
}

TEST_F(HudTest, FullEnergyPulsesTheLabelAtTheHoldersEighthFrame) {
  hud->SetEnergy(1.0f);
  GameObject* holder = Part("Holder");
  holder->SetFrame(8);
  HUD::HolderFrameChange(holder);
  EXPECT_TRUE(Part("HUDLabel2")->IsPulsing());
  EXPECT_FALSE(HUD::IsEnergyFull());
  hud->SetEnergy(0.9f);  // below full the pulse winds back
  EXPECT_FALSE(Part("HUDLabel2")->IsPulsing());
}

TEST_F(HudTest, OrbsFollowTheQueuesAndResetToPlain) {
  hud->SetOrbs({ORB_RED, ORB_PLAIN, ORB_GREEN}, {false, true, false});
  EXPECT_EQ(Part("HUDorb1")->GetFrame(), ORB_RED);
  EXPECT_EQ(Part("HUDorb3")->GetFrame(), ORB_GREEN);
  EXPECT_FALSE(Part("HUDorb2")->IsVisible());
  EXPECT_EQ(Part("HUDorb2")->GetFlag("Visible"), 0.0f);

  hud->SetScore(500);
  hud->ResetOrbs();
  for (const char* name : {"HUDorb1", "HUDorb2", "HUDorb3"}) {
    EXPECT_EQ(Part(name)->GetFrame(), ORB_PLAIN) << name;
    EXPECT_TRUE(Part(name)->IsVisible()) << name;
  }
  EXPECT_EQ(HUD::GetScore(), 0);
}

TEST_F(HeroTest, AbilityIconsToggleTheHerosBitsOnce) {
  HUD* hud = HUD::GetInstance();
  hud->ShowStride(true);
  hud->ShowStride(true);
  EXPECT_EQ(hero->GetAbilities(), ABILITY_STRIDE);
  EXPECT_TRUE(hud->HasStride());
  hud->SetAbilities(ABILITY_WALL_JUMP | ABILITY_SUPER_JUMP);
  EXPECT_EQ(hero->GetAbilities(), ABILITY_WALL_JUMP | ABILITY_SUPER_JUMP);
  EXPECT_FALSE(hud->HasStride());
  EXPECT_TRUE(hud->HasSuperJump());
  // UpdateHUD shows the hero's own bits and leaves them as they were.
  hero->ToggleAbility(ABILITY_CYCLONE);
  hero->UpdateHUD();
  EXPECT_EQ(hero->GetAbilities(), ABILITY_WALL_JUMP | ABILITY_SUPER_JUMP | ABILITY_CYCLONE);
  EXPECT_TRUE(hud->HasCyclone());
}

TEST_F(HudTest, AbilityIconsWithoutAHeroOnlyChangeTheIcon) {
  hud->ShowCyclone(true);
  EXPECT_TRUE(hud->HasCyclone());
}

// The energy bar and meter are the loading screen's art too, read before the rest.
TEST_F(WorldDataTest, MissingHudArtFailsInitNamingTheFile) {
  for (const char* name : {"HUDLabel", "EnergyBar", "EnergyMeter"}) {
    const std::filesystem::path file = Root() / "animations" / (std::string(name) + ".acd");
    const std::string kept = file.string() + ".kept";
    std::filesystem::rename(file, kept);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(StartWorld());
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("HUD art \"animations/" + std::string(name) +
                          ".acd\" is missing or unreadable"),
              std::string::npos)
        << report;
    EXPECT_EQ(HUD::GetInstance(), nullptr);
    std::filesystem::rename(kept, file);
  }
}

}  // namespace
