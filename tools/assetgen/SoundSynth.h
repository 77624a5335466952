// Synthesised sound effects and music loops, written as 16-bit mono WAV.
//
// Recipe format (assets/sounds/*.snd), one directive per line, a word starting with '#'
// begins a comment, parameters are key=value:
//
//   sound NAME FILE length=S [rate=R]    an effect of S seconds (rate 22050 by default)
//   tone wave=W f0=HZ [f1=HZ] start=S dur=S [attack=S] [decay=S] [release=S] [gain=G]
//        [vibrato=RATE:DEPTH] [lowpass=HZ[:HZ]] [seed=N]
//                                        one layer of the effect above it; W is sine, square,
//                                        saw, triangle or noise; the pitch glides from f0 to
//                                        f1; decay is an exponential time constant after the
//                                        attack, release a linear fade at the end
//   music FILE bpm=B steps=N [rate=R]    a seamless loop of N sixteenth-note steps
//   voice wave=W notes=NOTE:STEPS,... [gain=G] [attack=S] [decay=S] [release=S]
//                                        a melodic line; NOTE like C4, F#3 or - for a rest;
//                                        the steps must add up to the loop's length
//   drums pattern=STEPS [gain=G]         k kick, s snare, h hat, . nothing, one per step;
//                                        the pattern repeats to fill the loop
//
// NAME is the name the game plays the effect by; FILE is the path in the working folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "AnimationSource.h"

namespace assetgen {

struct SoundLine {
  int line = 0;
  std::vector<std::string> tokens;
};

struct SoundRecipe {
  std::string name;  // empty for music
  std::string file;
  bool music = false;
  int rate = 22050;
  double length = 0;  // seconds (music: from bpm and steps)
  int bpm = 0, steps = 0;
  std::vector<SoundLine> layers;  // tone, voice and drums lines
  std::string origin;             // the recipe file, for messages
};

// Throws SourceError with file:line on a malformed recipe.
std::vector<SoundRecipe> ParseSoundRecipes(const std::string& text, const std::string& origin);
std::vector<SoundRecipe> LoadSoundFolder(const std::filesystem::path& folder);

// The recipe's samples in -1..1.
std::vector<float> Synthesize(const SoundRecipe& recipe);

// RIFF/WAVE bytes of 16-bit mono PCM.
std::string EncodeWav(const std::vector<float>& samples, int rate);

}  // namespace assetgen
