#include "game/sound/SoundEngine.h"

#include <algorithm>
#include <array>
#include <thread>
#include <vector>

#include "platform/Audio.h"
#include "platform/Random.h"

namespace {

using platform::AudioDevice;

constexpr int kMixRate = 44100;
constexpr int kChannels = 32;
constexpr int kMaxLevel = AudioDevice::kMaxVolume;
constexpr int kEndOfMusic = -1;

constexpr std::array<const char*, 5> kSampleExtensions = {"wav", "mp2", "mp3", "ogg", "raw"};
constexpr std::array<const char*, 8> kSongExtensions = {"mod", "s3m", "xm",  "it",
                                                        "mid", "rmi", "sgt", "fsb"};

struct SampleEntry {
  std::string name;
  platform::AudioSample* sample;
};

struct SongEntry {
  std::string name;
  platform::AudioSong* song;
};

struct PlaylistEntry {
  std::string mode;
  platform::AudioStream* stream;
  int next;       // entry to play when this one ends; kEndOfMusic stops
  int nextGroup;  // first entry of the following run, 0 when there is none
};

// The engine's shared state; a fresh value is the state before the first handle.
struct SoundState {
  int m_nRefCount = 0;
  std::vector<SampleEntry> m_vSamples;
  std::vector<SongEntry> m_vSongs;
  std::vector<PlaylistEntry> m_vPlaylist;
  int m_nPosition = 0;
  // The entry picked to follow the current one and handed to the device ahead
  // of time, or kEndOfMusic.
  int m_nFollowing = kEndOfMusic;
  bool m_bFollowingQueued = false;  // the device plays it on by itself
  bool m_bLoadingPlaylist = false;
  platform::AudioStream* m_pAmbientStream = nullptr;
  std::string m_sAmbientName;
  int m_nMusicChannel = AudioDevice::kNoChannel;
  int m_nAmbientChannel = AudioDevice::kNoChannel;
  int m_nAmbientFadingChannel = AudioDevice::kNoChannel;
  bool m_bQuiet = false;
  bool m_bMusicHeldDown = false;
  bool m_bMusicFadingIn = false;
  bool m_bAmbientFadingIn = false;
  bool m_bAmbientFadingOut = false;
  int m_nEffectsVolume = 100;
  int m_nMusicVolume = 100;
  bool m_bHeard = false;
};

SoundState gSound;

AudioDevice& Device() {
  return platform::GetAudioDevice();
}

int MusicLevel() {
  return gSound.m_nMusicVolume * kMaxLevel / 100;
}
int QuietLevel() {
  return gSound.m_nMusicVolume * kMaxLevel / 400;
}
int EffectsLevel() {
  return gSound.m_nEffectsVolume * kMaxLevel / 100;
}

// Streamed music counts as effects for the master volume, so every music
// volume change is followed by this.
void ReapplyEffects() {
  Device().SetSfxMasterVolume(EffectsLevel());
}

void SetChannelVolume(int channel, int volume) {
  Device().SetVolume(channel, volume);
  ReapplyEffects();
}

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

template <std::size_t N>
bool IsOneOf(const std::string& text, const std::array<const char*, N>& words) {
  return std::any_of(words.begin(), words.end(),
                     [&text](const char* word) { return text == word; });
}

// Entries in these modes always form a run of their own.
bool IsSolitaryMode(const std::string& mode) {
  return mode == "order" || mode == "once" || mode == "intro";
}

int RunStart(int index) {
  const auto& playlist = gSound.m_vPlaylist;
  const std::string& mode = playlist[index].mode;
  if (IsSolitaryMode(mode)) return index;
  while (index > 0 && playlist[index - 1].mode == mode) --index;
  return index;
}

int RunEnd(int index) {
  const auto& playlist = gSound.m_vPlaylist;
  const std::string& mode = playlist[index].mode;
  if (IsSolitaryMode(mode)) return index;
  const int last = static_cast<int>(playlist.size()) - 1;
  while (index < last && playlist[index + 1].mode == mode) ++index;
  return index;
}

// Links the newest entry into the playlist: a run loops back to its start, and
// the run before a new one learns where the new one begins.
void LinkNewestEntry() {
  auto& playlist = gSound.m_vPlaylist;
  const int n = static_cast<int>(playlist.size()) - 1;
  const int start = RunStart(n);
  playlist[n].nextGroup = 0;
  playlist[n].next = start;

  int k = 0;
  if (n != start) {
    playlist[n - 1].next = n;
    k = n;
  } else if (n > 0) {
    k = n - 1;
    for (int i = RunStart(k); i <= k; ++i) playlist[i].nextGroup = n;
  }
  if (playlist[k].mode == "once") {
    playlist[k].next = kEndOfMusic;
  } else if (playlist[k].mode == "intro") {
    playlist[k].next = playlist[k].nextGroup;
  }
  // A "once" entry stops the music after it even when it is the last entry;
  // left to the fix-up above it would loop until another run followed.
  if (playlist[n].mode == "once") playlist[n].next = kEndOfMusic;
}

// Streams may still be opening in the background; they become ready or fail.
void WaitUntilOpen(platform::AudioStream* stream) {
  while (Device().GetStreamOpenState(stream) == AudioDevice::kStreamOpening) {
    std::this_thread::yield();
  }
}

// The entry that plays for `index`: any entry of a "random" run.
int PickEntry(int index) {
  if (gSound.m_vPlaylist[index].mode != "random") return index;
  const int first = RunStart(index);
  const int last = RunEnd(index);
  return first + platform::Random() % (last + 1 - first);
}

// Picks what follows the current entry and queues it behind it on the device,
// so a loop or a change of track plays on without waiting for a frame. A device
// that cannot queue leaves the start to the end report.
void QueueFollowingTrack() {
  const int next = gSound.m_vPlaylist[gSound.m_nPosition].next;
  gSound.m_nFollowing = next == kEndOfMusic ? kEndOfMusic : PickEntry(next);
  gSound.m_bFollowingQueued = false;
  if (gSound.m_nFollowing == kEndOfMusic) return;
  platform::AudioStream* stream = gSound.m_vPlaylist[gSound.m_nFollowing].stream;
  WaitUntilOpen(stream);
  Device().SetStreamEndCallback(stream, &SoundEngine::OnStreamEnd, nullptr);
  gSound.m_bFollowingQueued =
      Device().QueueStream(gSound.m_vPlaylist[gSound.m_nPosition].stream, stream);
}

// Starts the current entry's stream at `volume`, the entry picked first unless
// `picked` says it already was.
void StartCurrentTrack(int volume, bool picked = false) {
  int& position = gSound.m_nPosition;
  if (!picked) position = PickEntry(position);
  platform::AudioStream* stream = gSound.m_vPlaylist[position].stream;
  WaitUntilOpen(stream);
  Device().RewindStream(stream);
  Device().SetStreamEndCallback(stream, &SoundEngine::OnStreamEnd, nullptr);
  gSound.m_nMusicChannel = Device().PlayStream(stream, volume);
  QueueFollowingTrack();
}

// The level PlayMusic starts a track at.
int StartLevel() {
  return gSound.m_bQuiet ? MusicLevel() / 4 : MusicLevel();
}

bool HasCurrentEntry() {
  return gSound.m_nPosition >= 0 &&
         gSound.m_nPosition < static_cast<int>(gSound.m_vPlaylist.size());
}

}  // namespace

SoundEngine::SoundEngine() {
  ++gSound.m_nRefCount;
}

SoundEngine::~SoundEngine() {
  if (--gSound.m_nRefCount > 0) return;
  ClearPlaylist();
  for (const SampleEntry& entry : gSound.m_vSamples) Device().FreeSample(entry.sample);
  for (const SongEntry& entry : gSound.m_vSongs) Device().FreeSong(entry.song);
  if (gSound.m_pAmbientStream) Device().CloseStream(gSound.m_pAmbientStream);
  Device().Close();
  // Channels and fades meant nothing once the output closed; a later first
  // handle starts afresh.
  gSound = SoundState{};
}

bool SoundEngine::Init(platform::Window* window) {
  if (gSound.m_nRefCount != 1 || !window) return false;
  // Silence is no reason to stop the game.
  gSound.m_bHeard = Device().Init(kMixRate, kChannels);
  return true;
}

void SoundEngine::SetLoadingPlaylist(bool loading) {
  gSound.m_bLoadingPlaylist = loading;
}

bool SoundEngine::Load(const std::string& file, const std::string& second) {
  if (gSound.m_bLoadingPlaylist) {
    platform::AudioStream* stream = Device().OpenStream(file, false);
    if (!stream) return false;
    gSound.m_vPlaylist.push_back(PlaylistEntry{second, stream, 0, 0});
    LinkNewestEntry();
    return true;
  }

  int kind = 0;
  int index = 0;
  if (Find(second, kind, index)) return false;

  const std::size_t dot = file.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string extension = LowerAscii(file.substr(dot + 1));
  if (IsOneOf(extension, kSampleExtensions)) {
    platform::AudioSample* sample = Device().LoadSample(file);
    if (!sample) return false;
    gSound.m_vSamples.push_back(SampleEntry{second, sample});
    return true;
  }
  if (IsOneOf(extension, kSongExtensions)) {
    platform::AudioSong* song = Device().LoadSong(file);
    if (!song) return false;
    gSound.m_vSongs.push_back(SongEntry{second, song});
    return true;
  }
  return false;
}

bool SoundEngine::Play(const std::string& name) {
  int kind = 0;
  int index = 0;
  if (!Find(name, kind, index)) return false;
  if (kind == kSample) {
    Device().PlaySample(gSound.m_vSamples[index].sample);
  } else {
    Device().PlaySong(gSound.m_vSongs[index].song);
  }
  return true;
}

bool SoundEngine::Find(const std::string& name, int& kind, int& index) {
  const auto sample =
      std::find_if(gSound.m_vSamples.begin(), gSound.m_vSamples.end(),
                   [&name](const SampleEntry& entry) { return entry.name == name; });
  if (sample != gSound.m_vSamples.end()) {
    kind = kSample;
    index = static_cast<int>(sample - gSound.m_vSamples.begin());
    return true;
  }
  const auto song = std::find_if(gSound.m_vSongs.begin(), gSound.m_vSongs.end(),
                                 [&name](const SongEntry& entry) { return entry.name == name; });
  if (song != gSound.m_vSongs.end()) {
    kind = kSong;
    index = static_cast<int>(song - gSound.m_vSongs.begin());
    return true;
  }
  kind = -1;
  index = -1;
  return false;
}

void SoundEngine::ClearPlaylist() {
  gSound.m_nPosition = 0;
  gSound.m_nFollowing = kEndOfMusic;
  gSound.m_bFollowingQueued = false;
  for (const PlaylistEntry& entry : gSound.m_vPlaylist) Device().CloseStream(entry.stream);
  gSound.m_vPlaylist.clear();
}

bool SoundEngine::PlayMusic() {
  if (gSound.m_vPlaylist.empty()) return false;
  StartCurrentTrack(StartLevel());
  ReapplyEffects();
  return true;
}

void SoundEngine::PlayMusicFadeIn() {
  if (gSound.m_vPlaylist.empty()) return;
  StartCurrentTrack(0);
  ReapplyEffects();
  gSound.m_bMusicFadingIn = true;
}

void SoundEngine::StopMusic() {
  if (gSound.m_vPlaylist.empty()) return;
  Device().StopStream(gSound.m_vPlaylist[gSound.m_nPosition].stream);
}

void SoundEngine::NextSection() {
  StopMusic();
  if (gSound.m_vPlaylist.empty()) return;
  gSound.m_nPosition = gSound.m_vPlaylist[gSound.m_nPosition].nextGroup;
  PlayMusicFadeIn();
}

bool SoundEngine::IsHeard() const {
  return gSound.m_bHeard;
}

bool SoundEngine::PlayAmbient(const std::string& file) {
  if (gSound.m_pAmbientStream) Device().CloseStream(gSound.m_pAmbientStream);
  gSound.m_pAmbientStream = nullptr;
  // A level without an ambient track names none: nothing to open or report.
  if (!file.empty()) gSound.m_pAmbientStream = Device().OpenStream(file, true);
  gSound.m_sAmbientName = file;
  return true;
}

void SoundEngine::FadeInAmbient() {
  // Without an ambient track there is nothing to fade in, so the music stays up.
  platform::AudioStream* stream = gSound.m_pAmbientStream;
  if (!stream) return;
  WaitUntilOpen(stream);
  Device().RewindStream(stream);
  gSound.m_nAmbientChannel = Device().PlayStream(stream, 0);
  ReapplyEffects();
  gSound.m_bMusicHeldDown = true;
  gSound.m_bAmbientFadingIn = true;
  gSound.m_bAmbientFadingOut = false;
}

void SoundEngine::FadeOutAmbient() {
  gSound.m_bMusicHeldDown = false;
  gSound.m_bAmbientFadingIn = false;
  gSound.m_bAmbientFadingOut = true;
  gSound.m_nAmbientFadingChannel = gSound.m_nAmbientChannel;
}

std::string SoundEngine::GetAmbientName() {
  return gSound.m_sAmbientName;
}

void SoundEngine::ToggleQuiet() {
  gSound.m_bQuiet = !gSound.m_bQuiet;
  const int volume = Device().GetVolume(gSound.m_nMusicChannel);
  if (gSound.m_bQuiet) {
    Device().SetVolume(gSound.m_nMusicChannel, volume / 4);
  } else {
    Device().SetVolume(gSound.m_nMusicChannel, std::min(volume * 4 + 3, MusicLevel()));
  }
  ReapplyEffects();
}

void SoundEngine::SetSfxVolume(int volume) {
  if (volume < 0 || volume > 100) return;
  gSound.m_nEffectsVolume = volume;
  Device().SetSfxMasterVolume(EffectsLevel());
}

void SoundEngine::SetMusicVolume(int volume) {
  if (volume < 0 || volume > 100) return;
  gSound.m_nMusicVolume = volume;
  Device().SetAllVolumes(MusicLevel());
  ReapplyEffects();
}

void SoundEngine::Update() {
  // Tracks that ended since the last frame advance the playlist here, on the
  // frame thread, before this frame's fades.
  Device().DispatchStreamEnds();

  const int level = MusicLevel();
  const int quietLevel = QuietLevel();
  const bool quiet = gSound.m_bQuiet;

  if (gSound.m_bAmbientFadingIn) {
    const int channel = gSound.m_nAmbientChannel;
    const int volume = Device().GetVolume(channel);
    if (quiet && volume >= quietLevel) {
      SetChannelVolume(channel, quietLevel);
      gSound.m_bAmbientFadingIn = false;
    } else if (!quiet && volume >= level) {
      SetChannelVolume(channel, level);
      gSound.m_bAmbientFadingIn = false;
    } else {
      SetChannelVolume(channel, volume + 1);
    }
  }

  if (gSound.m_bAmbientFadingOut) {
    const int channel = gSound.m_nAmbientFadingChannel;
    const int volume = Device().GetVolume(channel);
    if (volume > 0) {
      SetChannelVolume(channel, volume - 1);
    } else {
      Device().StopStream(gSound.m_pAmbientStream);
      gSound.m_bAmbientFadingOut = false;
    }
  }

  const int music = gSound.m_nMusicChannel;
  const int volume = Device().GetVolume(music);
  if (gSound.m_bMusicHeldDown) {
    if (volume > 0) SetChannelVolume(music, volume - 1);  // the track plays on, silent
  } else if (volume < (quiet ? quietLevel : level)) {
    SetChannelVolume(music, volume + 1);
  }

  if (gSound.m_bMusicFadingIn) {
    const int fading = Device().GetVolume(music);
    if (quiet && fading >= quietLevel) {
      SetChannelVolume(music, quietLevel);
      gSound.m_bMusicFadingIn = false;
    } else if (!quiet && fading >= level) {
      // At or above the level: a fade that overshot must still end.
      SetChannelVolume(music, level);
      gSound.m_bMusicFadingIn = false;
    } else {
      SetChannelVolume(music, fading + 1);
    }
  }
}

bool SoundEngine::OnStreamEnd(platform::AudioStream* stream, void* /*userData*/) {
  SoundEngine engine;
  // Only the track now playing moves the playlist on; an end from a track that
  // was replaced meanwhile is old news.
  if (!HasCurrentEntry() || gSound.m_vPlaylist[gSound.m_nPosition].stream != stream) return true;
  const int next = gSound.m_nFollowing;
  if (next == kEndOfMusic) {
    engine.StopMusic();
    return true;
  }
  gSound.m_nPosition = next;
  if (gSound.m_bFollowingQueued) {
    // The device already carried on with it; the track starts at the level
    // PlayMusic gives it.
    Device().SetVolume(gSound.m_nMusicChannel, StartLevel());
    ReapplyEffects();
    QueueFollowingTrack();
  } else {
    StartCurrentTrack(StartLevel(), true);
    ReapplyEffects();
  }
  return true;
}
