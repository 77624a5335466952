// What a player should never see in a replay, frame by frame:
//
//   testharness::ReplayScan scan;
//   scan.Frame(frame, game.ReadFrame());   // after each RunFrames(1) of play
//   EXPECT_EQ(scan.Bands().frames, 0);
//
// - an unpainted band: rows of the play area that are one flat colour from edge to edge
//   (the ground or the backdrop not reaching that far down);
// - play under the HUD panel: the hero's body, an enemy, a boss part or a pickup whose box
//   on screen lies under the panel's box for longer than a pass takes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testharness {

struct ScreenBox {
  float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;
};

// The depth of the overlap of two boxes: the smaller of its width and height, 0 when apart.
float OverlapDepth(const ScreenBox& a, const ScreenBox& b);

// The taller of the runs of rows from the top and from the bottom edge of the frame
// (width x height ARGB, row by row) that are all one flat colour across every column outside
// `skip` (the panel), so the panel's own rows count by what shows beside it.
int FlatBandHeight(const std::vector<std::uint32_t>& argb, int width, int height,
                   const ScreenBox& skip);

class ReplayScan {
 public:
  // A band this many rows tall is a fault: shorter ones are lines of art, or the dark foot
  // of a painted backdrop.
  static constexpr int kBandRows = 32;
  // A box must reach this far under the panel to count as under it...
  static constexpr float kOverlapAllowance = 12.0f;
  // ... and stay there longer than this many frames (a leap or a fall passing by: the
  // Grindlenaut's rises and falls for about a second and a half).
  static constexpr int kPassFrames = 90;

  struct Fault {
    int frames = 0;     // frames with the fault
    int first = -1;     // the first such frame
    int longest = 0;    // the longest run of such frames (for sprites, of one sprite)
    std::string what;   // what the longest run was (a sprite's name, or the band's height)
  };

  // Reads the World after a frame of play; `argb` may be empty to skip the pixel check.
  void Frame(int frame, const std::vector<std::uint32_t>& argb);

  const Fault& Bands() const { return m_bands; }
  const Fault& UnderPanel() const { return m_underPanel; }
  // Frames under the panel counted only in runs longer than a pass.
  int LingeringFrames() const { return m_lingering; }
  // Each run longer than a pass: what lingered, from which frame, for how long.
  std::string Lingered() const;

 private:
  struct Run {
    const void* sprite;
    std::string name;
    int start;
    int length;
  };
  Fault m_bands;
  Fault m_underPanel;
  int m_lingering = 0;
  std::vector<Run> m_runs;
  std::vector<Run> m_lingered;
};

}  // namespace testharness
