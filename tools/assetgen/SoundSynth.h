// Synthesised sound effects (16-bit mono WAV) and music loops (stereo, WAV or Ogg Vorbis by
// the file's extension).
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
//   music FILE bpm=B steps=N [rate=R] [echo=S:FEEDBACK] [room=R]
//                                        a seamless stereo loop of N sixteenth-note steps;
//                                        room 0..1 adds that much of a room's reverberation
//   music FILE bpm=B form=NAME,NAME[+T],... [rate=R] [echo=S:FEEDBACK] [room=R]
//                                        the same, made of the sections below played in
//                                        form order (a name may repeat; +T or -T plays it
//                                        T semitones up or down)
//   section NAME steps=N [with=NAME,...] the voice and drum lines after it, until the next
//                                        section, fill N steps; `with` also plays the lines
//                                        of the other sections named, which last as long
//   voice wave=W notes=NOTE:STEPS,... [gain=G] [attack=S] [decay=S] [release=S] [pan=P]
//         [lowpass=HZ] [vibrato=RATE:DEPTH] [detune=CENTS] [echo=SEND] [spread=S]
//                                        a melodic line; NOTE like C4, F#3, a chord C4+E4+G4
//                                        or - for a rest; NOTE:STEPS*K repeats it K times;
//                                        the steps must add up to the section's length;
//                                        pan -1 (left) .. 1 (right); detune adds a second
//                                        oscillator that many cents sharp; echo sends the
//                                        line to the loop's echo; spread 0..1 widens it:
//                                        the detuned twin sounds S to the other side (without
//                                        detune, a copy 13 ms later does)
//   drums pattern=STEPS [gain=G] [pan=P] k kick, s snare, h hat, o open hat, c cymbal, t tom,
//                                        x shaker,
//                                        . nothing, one per step; the pattern repeats to
//                                        fill the section
//
// NAME is the name the game plays the effect by; FILE is the path in the working folder.
// Every piece of music is brought to one loudness, then its peaks are held below full scale.
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
  int channels = 1;               // music is stereo
  std::vector<SoundLine> layers;  // tone lines, or a steps= loop's voice and drums lines
  std::string origin;             // the recipe file, for messages
  // Music built from sections: the order they play in, and the sections themselves.
  struct Section {
    std::string name;
    int line = 0, steps = 0;
    std::vector<std::string> with;
    std::vector<SoundLine> layers;
  };
  std::vector<std::string> form;
  int formLine = 0;
  std::vector<Section> sections;
  std::pair<double, double> echo{0, 0};  // delay seconds, feedback
  double room = 0;                       // how much of the room's sound joins the mix
};

// Throws SourceError with file:line on a malformed recipe.
std::vector<SoundRecipe> ParseSoundRecipes(const std::string& text, const std::string& origin);
std::vector<SoundRecipe> LoadSoundFolder(const std::filesystem::path& folder);

// Everything the recipe's sound is made from, as text (not where its lines stand in the file):
// two recipes with the same text sound the same.
std::string RecipeText(const SoundRecipe& recipe);

// The recipe's samples in -1..1, channels interleaved.
std::vector<float> Synthesize(const SoundRecipe& recipe);

// RIFF/WAVE bytes of 16-bit PCM.
std::string EncodeWav(const std::vector<float>& samples, int rate, int channels = 1);
// Ogg Vorbis bytes (variable bit rate at `quality`, -0.1..1); the same input gives the same
// bytes.
std::string EncodeOgg(const std::vector<float>& samples, int rate, int channels,
                      float quality = 0.2f);
// The bytes of the file the recipe names: Ogg Vorbis for ".ogg", WAV otherwise.
std::string EncodeFor(const SoundRecipe& recipe, const std::vector<float>& samples);

}  // namespace assetgen
