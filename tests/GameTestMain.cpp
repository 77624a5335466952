// The entry of every test program that plays the game: the behaviours fill the
// game's registries first, as in the program entry, then the tests run.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "game/objects/BehaviorRegistry.h"

int main(int argc, char** argv) {
  RegisterBehaviors();
  testing::InitGoogleMock(&argc, argv);
  return RUN_ALL_TESTS();
}
