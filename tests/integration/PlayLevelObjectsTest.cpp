// The training ground's objects in real play: the core piece grants Stride.
#include <gtest/gtest.h>

#include "PlayFixture.h"
#include "game/hud/HUD.h"

namespace {

using PlayLevelObjectsTest = playtest::PlayFixture;

TEST_F(PlayLevelObjectsTest, TheCorePieceTurnsItsAbilityIconOnAboutThirtyFramesAfterTheTouch) {
  ASSERT_LE(FramesToLand(240), 240);
  ASSERT_FALSE(HUD::GetInstance()->HasStride());
  game->KeyDown(SDL_SCANCODE_RIGHT);
  int touched = -1, granted = -1;
  for (int frame = 0; frame < 200 && granted < 0; ++frame) {
    game->RunFrames(1);
    const bool inLevel = World::GetObjects()->Find("CorePiece") || World::GetDormantObjects()->Find("CorePiece");
    if (touched < 0 && !inLevel) touched = frame;
    if (HUD::GetInstance()->HasStride()) granted = frame;
  }
  ASSERT_GE(touched, 0) << "the hero ran through the core piece";
  ASSERT_GE(granted, 0);
  EXPECT_EQ(granted - touched, 30);
  EXPECT_TRUE(Hero()->GetAbilities() & ABILITY_STRIDE);
  game->SaveFrame((testsupport::BinaryDir() / "play_level_core.png").string());
}

}  // namespace
