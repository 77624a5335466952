// The HUD's orb slide, cracks and full set, the score roll-in, and the point
// messages: placement, labels, merges, expiry and banking.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "game/WorldTestKit.h"
#include "game/hud/HUD.h"
#include "game/player/PlayerObject.h"

namespace {

class HudCombatTest : public worldtest::WorldDataTest {
 protected:
  void SetUp() override {
    WorldDataTest::SetUp();
    worldtest::WriteText(Root() / "Sounds.vtse",
                         "2\nHUD_complete sounds/HUD_complete.wav\npowerup sounds/powerup.wav\n");
    audio.AddFile("sounds/HUD_complete.wav");
    audio.AddFile("sounds/powerup.wav");
    InitWorld();
    hud = HUD::GetInstance();
    ASSERT_NE(hud, nullptr);
    hud->SetOrbs({ORB_RED, ORB_GREEN, ORB_BLUE}, {false, false, false});
  }
  static GameObject* Part(const std::string& name) { return HUD::FindObject(name); }
  HUD* hud = nullptr;
};

TEST_F(HudCombatTest, NewOrbSlidesInOverThirtySevenFrames) {
  hud->AddOrb(ORB_BLUE);
  EXPECT_EQ(HUD::GetSlideCountdown(), 37);
  EXPECT_EQ(Part("HUDorb4")->GetFrame(), ORB_BLUE);
  EXPECT_TRUE(Part("HUDorb4")->IsVisible());
  const int frames[] = {ORB_BLUE, ORB_RED, ORB_GREEN};
  for (int i = 0; i < 3; ++i) {
    const std::string orb = "HUDorb" + std::to_string(i + 1);
    EXPECT_EQ(Part(orb)->GetFrame(), frames[i]) << orb;
    EXPECT_EQ(Part(orb)->GetPosition(), Vector2(142.0f + 37.0f * i, 113.0f)) << orb;
    EXPECT_FLOAT_EQ(Part(orb)->GetVelocity().X(), 1.0f) << orb;
  }
  for (int k = 1; k <= 36; ++k) {
    hud->Update();
    ASSERT_NEAR(Part("HUDorb1")->GetPosition().X(), 142.0f + k, 1e-3f) << k;
    ASSERT_NEAR(Part("CrackedOrb1")->GetPosition().X(), 142.0f + k, 1e-3f) << k;
    ASSERT_NEAR(Part("HUDorb1")->GetScaleX(), k / 37.0f, 1e-4f) << k;
    ASSERT_NEAR(Part("HUDorb4")->GetScaleX(), 1.0f - k / 37.0f, 1e-4f) << k;
    if (k == 10) {
      // A second pickup: frames move on, the running slide keeps its course.
      hud->AddOrb(ORB_GREEN);
      EXPECT_EQ(HUD::GetSlideCountdown(), 27);
      EXPECT_EQ(Part("HUDorb1")->GetFrame(), ORB_GREEN);
      EXPECT_EQ(Part("HUDorb2")->GetFrame(), ORB_BLUE);
      EXPECT_EQ(Part("HUDorb3")->GetFrame(), ORB_RED);
      EXPECT_NEAR(Part("HUDorb3")->GetPosition().X(), 226.0f, 1e-3f);
      Part("HUDorb1")->SetScaleX(k / 37.0f);  // the pickup restarts the new orb's growth
      Part("HUDorb1")->SetScaleY(k / 37.0f);
    }
  }
  hud->Update();
  EXPECT_EQ(HUD::GetSlideCountdown(), 0);
  for (int i = 0; i < 3; ++i) {
    for (const std::string& name : {"HUDorb" + std::to_string(i + 1), "CrackedOrb" + std::to_string(i + 1)}) {
      EXPECT_EQ(Part(name)->GetPosition(), Vector2(HUD::kOrbSlotX[i], HUD::kOrbY)) << name;
      EXPECT_FLOAT_EQ(Part(name)->GetVelocity().X(), 0.0f) << name;
    }
  }
  EXPECT_FLOAT_EQ(Part("HUDorb1")->GetScaleX(), 1.0f);
  EXPECT_FALSE(Part("HUDorb4")->IsVisible());
  EXPECT_FLOAT_EQ(Part("HUDorb4")->GetVelocity().X(), 0.0f);
}

TEST_F(HudCombatTest, CrackShowsTheOverlayAndBurstsTheOrbsColour) {
  hud->CrackOrb(1);
  EXPECT_EQ(Part("CrackedOrb2")->GetFrame(), 1);
  EXPECT_EQ(Part("HUDorb2")->GetFlag("Visible"), 0.0f);
  const Vector2 offsets[] = {{-1, -7}, {8, -7},  {8, -3},  {5, 8},   {16, 4}, {8, 10}, {-5, 12},
                             {-9, 9},  {-12, -3}, {-5, -7}, {3, 1},  {-8, 5}, {-10, -1}};
  int k = 0;
  for (Sprite* sprite : HUD::GetObjects()->GetSprites()) {
    if (sprite->GetName() != "BreakGreenOrb") continue;
    auto* particle = static_cast<GameObject*>(sprite);
    EXPECT_EQ(particle->GetPosition(), Vector2(216 + offsets[k].X(), 113 + offsets[k].Y())) << k;
    EXPECT_EQ(particle->GetFlag("Visible"), 1.0f) << k;
    ++k;
  }
  EXPECT_EQ(k, 13);
  EXPECT_DEATH(hud->CrackOrb(3), "i >= 0 && i < 3");
}

TEST_F(HudCombatTest, FullSetPlaysItsSoundAndPulsesTheLabelAtTheHoldersEighthFrame) {
  audio.soundsPlayed.clear();
  hud->SetOrbs({ORB_RED, ORB_RED, ORB_RED}, {false, false, false});
  hud->UpdateCompletion();
  EXPECT_TRUE(HUD::IsOrbsComplete());
  EXPECT_EQ(audio.soundsPlayed, std::vector<std::string>{"sounds/HUD_complete.wav"});
  GameObject* holder = Part("Holder");
  holder->SetFrame(8);
  HUD::HolderFrameChange(holder);
  EXPECT_TRUE(Part("HUDLabel1")->IsPulsing());

  // A crack at the back breaks the set and stops the pulse.
  hud->CrackOrb(2);
  EXPECT_FALSE(HUD::IsOrbsComplete());
  EXPECT_FALSE(Part("HUDLabel1")->IsPulsing());
  hud->SetOrbs({ORB_RED, ORB_RED, ORB_GREEN}, {false, false, false});
  Part("CrackedOrb3")->SetFrame(0);
  hud->UpdateCompletion();
  EXPECT_FALSE(HUD::IsOrbsComplete());
}

TEST_F(HudCombatTest, PendingScoreRollsInAndANegativeOneConverges) {
  const struct {
    int pending;
    int frames;
    int shown;
  } cases[] = {{1234, 109, 1234}, {-1234, 109, 0}, {3, 3, 3}};
  for (const auto& c : cases) {
    hud->SetScore(0);
    HUD::SetPending(c.pending);
    int frames = 0;
    while (HUD::GetPending() != 0 && frames < 10000) {
      hud->Update();
      ++frames;
    }
    EXPECT_EQ(frames, c.frames) << c.pending;
    EXPECT_EQ(HUD::GetScore(), c.shown) << c.pending;
    EXPECT_EQ(hud->GetScoreText(), std::to_string(c.shown)) << c.pending;
  }
  HUD::SetPending(-7);
  hud->SetScore(5);
  hud->Update();
  EXPECT_EQ(HUD::GetScore(), 0);
  EXPECT_EQ(hud->GetScoreText(), "0");
}

TEST_F(HudCombatTest, RollInStepChangesJustAboveAThousandJustAboveAHundredAndAtFive) {
  const struct {
    int pending;
    int step;
  } cases[] = {{1001, 100},   {1000, 10},   {101, 10},   {100, 5},   {5, 5},   {4, 1},  {1, 1},
               {-1001, -100}, {-1000, -10}, {-101, -10}, {-100, -5}, {-5, -5}, {-4, -1}};
  for (const auto& c : cases) {
    hud->SetScore(5000);
    HUD::SetPending(c.pending);
    hud->Update();
    EXPECT_EQ(HUD::GetScore() - 5000, c.step) << "pending " << c.pending;
    EXPECT_EQ(HUD::GetPending(), c.pending - c.step) << "pending " << c.pending;
  }
}

TEST_F(HudCombatTest, MessagesStackFromTheFrontAndLabelsFollowTheirPoints) {
  hud->AddMessage(100, 1, 255, 255, 0, 0);
  hud->AddMessage(0, 0, 255, 0, 0, 255);
  const auto& messages = hud->GetMessages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].pointsText.GetPosition(), Vector2(350, 28));
  EXPECT_EQ(messages[1].pointsText.GetPosition(), Vector2(367.5f, 63));
  EXPECT_EQ(messages[0].pointsText.GetText(), "+100");
  EXPECT_EQ(messages[1].pointsText.GetText(), "-0");
  EXPECT_EQ(messages[0].labelText.GetText(), "Powerup");
  EXPECT_EQ(messages[1].labelText.GetText(), "1 - HIT");
  int width = 0, height = 0;
  D3DInterface::GetEngine()->GetTextExtent("Corsiva", 18, "+100", &width, &height);
  EXPECT_EQ(messages[0].labelText.GetPosition(), Vector2(350.0f + width + 30.0f, 28));
  EXPECT_EQ(hud->GetPendingScore(), 100);

  hud->UpdateCombo(50, 0, 255, 0, 0, 255);
  hud->UpdateCombo(50, 0, 255, 0, 0, 255);
  EXPECT_EQ(messages[1].pointsText.GetText(), "3X +100");
  EXPECT_EQ(messages[1].count, 3);
  EXPECT_EQ(hud->GetPendingScore(), 200) << "counts multiply only at expiry";

  hud->SetAbilities(0);
  EXPECT_TRUE(hud->GetMessages().empty());
  EXPECT_EQ(hud->GetPendingScore(), 0);
}

TEST_F(HudCombatTest, MergedLabelsByKindAndCount) {
  const struct {
    int kind;
    int count;
    const char* label;
  } cases[] = {
      {0, 2, "2 - HIT COMBO"},     {0, 3, "3 - HIT COMBO!"},     {0, 4, "4 - HIT COMBO!"},
      {0, 5, "5 - HIT COMBO!!"},   {0, 9, "9 - HIT COMBO!!"},    {0, 10, "10 - HIT COMBO!!!"},
      {1, 2, "2 Powerups"},        {1, 3, "3 Powerups!"},        {2, 4, "New Ability!"},
      {3, 2, "2 Stride HITS!"},    {3, 3, "3 STRIDE HITS!"},     {4, 2, "2 STRIDE KILLS!"},
      {4, 3, "3 STRIDE KILLS!!!"}, {5, 2, "2 Cyclone HITS!"},    {5, 3, "3 CYCLONE HITS!"},
      {6, 2, "2 CYCLONE KILLS!"},  {6, 3, "3 CYCLONE KILLS!!!"},
  };
  const char* const fresh[] = {"1 - HIT", "Powerup", "New Ability!", "Stride HIT",
                               "Stride KILL!", "Cyclone HIT", "Cyclone KILL!"};
  for (int kind = 0; kind < HUD::kMessageKinds; ++kind) {
    hud->SetAbilities(0);
    hud->UpdateCombo(10, kind, 255, 255, 255, 255);
    EXPECT_EQ(hud->GetMessages().back().labelText.GetText(), fresh[kind]) << kind;
  }
  for (const auto& c : cases) {
    hud->SetAbilities(0);
    for (int i = 0; i < c.count; ++i) hud->UpdateCombo(10, c.kind, 255, 255, 255, 255);
    EXPECT_EQ(hud->GetMessages().back().labelText.GetText(), c.label) << c.kind << " " << c.count;
  }
  EXPECT_DEATH(hud->AddMessage(10, 7, 255, 255, 255, 255), "kind >= 0 && kind < kMessageKinds");
  EXPECT_DEATH(hud->UpdateCombo(10, -1, 255, 255, 255, 255), "kind >= 0 && kind < kMessageKinds");
}

TEST_F(HudCombatTest, FormatNumberUsesTheMagnitude) {
  EXPECT_EQ(HUD::FormatNumber(0), "0");
  EXPECT_EQ(HUD::FormatNumber(150), "150");
  EXPECT_EQ(HUD::FormatNumber(-42), "42");
  EXPECT_EQ(HUD::FormatNumber(INT_MIN), "2147483648");
}

TEST_F(HudCombatTest, MessagesExpireOnTheHundredAndEightyFirstFrameAndBankFromTheFront) {
  hud->SetScore(0);
  HUD::SetPending(0);
  for (int i = 0; i < 3; ++i) hud->UpdateCombo(50, 0, 255, 255, 255, 255);
  for (int f = 0; f < 180; ++f) hud->Update();
  ASSERT_EQ(hud->GetMessages().size(), 1u);
  hud->Update();
  EXPECT_TRUE(hud->GetMessages().empty());
  EXPECT_EQ(HUD::GetPending() + HUD::GetScore(), 450);

  // An older combo at the front is banked before a later message that expires.
  HUD::SetPending(0);
  hud->SetScore(0);
  hud->AddMessage(10, 1, 255, 255, 255, 255);  // front
  hud->AddMessage(20, 3, 255, 255, 255, 255);
  for (int f = 0; f < 100; ++f) hud->Update();
  hud->UpdateCombo(10, 1, 255, 255, 255, 255);  // the front lives on as a combo of 2
  for (int f = 0; f < 81; ++f) hud->Update();
  // The second message has expired; its examination banks the front first.
  ASSERT_EQ(hud->GetMessages().size(), 1u);
  EXPECT_EQ(hud->GetMessages().front().kind, 3);
  EXPECT_EQ(HUD::GetPending() + HUD::GetScore(), 40);
  hud->Update();
  EXPECT_TRUE(hud->GetMessages().empty());
  EXPECT_EQ(HUD::GetPending() + HUD::GetScore(), 60);
}

TEST_F(HudCombatTest, TheQueueLiftsToTheFirstLineAsTheFrontGoes) {
  hud->AddMessage(10, 1, 255, 255, 255, 255);
  for (int f = 0; f < 50; ++f) hud->Update();
  hud->AddMessage(10, 3, 255, 255, 255, 255);
  for (int f = 0; f < 131; ++f) hud->Update();
  ASSERT_EQ(hud->GetMessages().size(), 1u);
  const Vector2 start = hud->GetMessages().front().pointsText.GetPosition();
  EXPECT_EQ(start, Vector2(367.5f, 63.0f));
  hud->Update();
  EXPECT_EQ(hud->GetMessages().front().pointsText.GetPosition(), Vector2(367.0f, 62.0f));
  for (int f = 0; f < 34; ++f) hud->Update();
  EXPECT_EQ(hud->GetMessages().front().pointsText.GetPosition(), Vector2(350.0f, 28.0f));
  hud->Update();
  EXPECT_EQ(hud->GetMessages().front().pointsText.GetPosition(), Vector2(350.0f, 28.0f));
}

}  // namespace
