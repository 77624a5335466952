// The sound room holds the sound engine.
//
// Everything the game hears: named sound effects and music modules, each level's
// music as a playlist of streamed tracks, the ambient track, quiet mode and the
// two volume settings. All state is shared; an instance is only a counted handle,
// so any code may make a temporary one to call it.
#pragma once

#include <string>

namespace platform {
class Window;
struct AudioStream;
}  // namespace platform

class SoundEngine {
 public:
  // Kinds reported by Find.
  static constexpr int kSample = 0;
  static constexpr int kSong = 1;

  SoundEngine();
  ~SoundEngine();  // the last handle releases everything
  SoundEngine(const SoundEngine&) = delete;
  SoundEngine& operator=(const SoundEngine&) = delete;

  // Opens the sound output; false for a second live handle or a missing window.
  bool Init(platform::Window* window);
  // Whether the sound output opened; without it nothing loads and nothing is heard.
  bool IsHeard() const;

  // While set, Load opens playlist tracks (file, mode) instead of named sounds.
  void SetLoadingPlaylist(bool loading);
  // A named sound effect or module (file, name), or a playlist track (file, mode).
  bool Load(const std::string& file, const std::string& second);
  bool Play(const std::string& name);
  bool Find(const std::string& name, int& kind, int& index);

  void ClearPlaylist();
  bool PlayMusic();
  void PlayMusicFadeIn();
  void StopMusic();
  // Jumps to the next run of the playlist with a fade-in.
  void NextSection();

  bool PlayAmbient(const std::string& file);
  void FadeInAmbient();
  void FadeOutAmbient();
  std::string GetAmbientName();

  void ToggleQuiet();
  void SetSfxVolume(int volume);    // 0..100
  void SetMusicVolume(int volume);  // 0..100

  // Once per frame: delivers finished tracks, then steps the volume fades.
  void Update();

  // Installed on every playlist stream that starts; advances the playlist.
  static bool OnStreamEnd(platform::AudioStream* stream, void* userData);
};
