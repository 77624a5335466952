// A small airship arena for the Kaje fight: a deck from x 0 to a wall at 4608
// with turn markers at both ends of Kaje's walk, scaffolding on the approach,
// three crates with their claws and the trigger, as level-file text.
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace testsupport {

// Just below the feet of a Kaje standing at y 4000, so that its walk in from
// off screen, where it does not fall, never catches on the tiles' seams.
inline constexpr float kArenaDeckY = 4002.0f;
inline constexpr float kArenaTriggerX = 2000.0f;
inline constexpr float kArenaCrateXs[] = {2560.0f, 2816.0f, 3072.0f};
inline constexpr float kArenaCrateY = 3760.0f;
inline constexpr float kArenaClawY = 3588.0f;

inline std::string AirshipArenaLevel() {
  std::ostringstream level;
  level << "0\n";
  level << "0 4 music/explore.wav order music/kaje.wav order music/kaje.wav order music/calm.wav order\n";
  level << "1\nanimations/sky_dusk.acd 0 0 0 0 0 0 0 0\n";
  level << "0\n0\n0\n";
  std::vector<std::string> objects;
  for (int x = 0; x < 4608; x += 128) {
    const int frame = (x == 2304 || x == 4480) ? 1 : 0;
    objects.push_back("AirshipDeck " + std::to_string(x) + " 4002 " + std::to_string(frame) + " 0 -0.5");
  }
  for (int y = 4002; y >= 3362; y -= 128) objects.push_back("AirshipDeck 4608 " + std::to_string(y) + " 2 0 -0.5");
  // Scaffolding on the approach, which Kaje clears when it arrives.
  objects.push_back("AirshipScaffold 1200 4000 0 0 -0.6");
  for (const float x : kArenaCrateXs) {
    objects.push_back("AirshipCrate " + std::to_string(static_cast<int>(x)) + " " +
                      std::to_string(static_cast<int>(kArenaCrateY)) + " 0 0 -0.4");
  }
  level << "0 3000 4736 4400\n" << objects.size() << "\n";
  for (const std::string& object : objects) level << object << "\n";
  level << "ZodirazO 1500 3990 0\n";
  level << "3\n";
  for (const float x : kArenaCrateXs) level << "AirshipClaw " << x << " " << kArenaClawY << " 0\n";
  level << "1\nKajeTrigger " << kArenaTriggerX << " 3950 0 0 0\n";
  return level.str();
}

}  // namespace testsupport
