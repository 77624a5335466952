// The sound device: sound effects, streamed music and music modules, with the
// 0..255 channel volumes the game works in. The real device runs on SDL2_mixer;
// tests install their own device with SetAudioDevice.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace platform {

// Opaque handles owned by the device that made them; null means failure.
struct AudioSample;
struct AudioSong;
struct AudioStream;

// Called on the frame thread (from DispatchStreamEnds) when a stream that is
// not looping has played to its end. The result is ignored.
using StreamEndCallback = bool (*)(AudioStream* stream, void* userData);

class AudioDevice {
 public:
  static constexpr int kNoChannel = -1;
  static constexpr int kMaxVolume = 255;
  // Stream open states: opening, then ready for good; a handle the device does
  // not know reads as failed.
  static constexpr int kStreamFailed = -2;
  static constexpr int kStreamOpening = -1;
  static constexpr int kStreamReady = 0;

  virtual ~AudioDevice() = default;

  // Opens the output with `channels` mixing channels. When no sound output can
  // be opened the device stays usable and silent; the result says whether sound is heard.
  virtual bool Init(int mixRate, int channels) = 0;
  // Stops everything, frees whatever is still loaded and closes the output.
  virtual void Close() = 0;

  // Sound effects, decoded whole. PlaySample returns the channel used, or kNoChannel.
  virtual AudioSample* LoadSample(const std::string& file) = 0;
  virtual int PlaySample(AudioSample* sample) = 0;
  virtual void FreeSample(AudioSample* sample) = 0;

  // Music modules: they play in the one music slot and loop.
  virtual AudioSong* LoadSong(const std::string& file) = 0;
  virtual bool PlaySong(AudioSong* song) = 0;
  virtual void FreeSong(AudioSong* song) = 0;

  // Streams, whatever their format. A stream plays on one channel at a time:
  // playing it again restarts it. Stop and Close never report an end.
  // PlayStream starts the stream at `volume` (0..255), so a fade-in never begins
  // with a burst. With every channel busy it takes the channel of the oldest
  // sound effect (never another stream's): music outlasts any one effect.
  virtual AudioStream* OpenStream(const std::string& file, bool loop) = 0;
  virtual int GetStreamOpenState(AudioStream* stream) = 0;
  virtual void RewindStream(AudioStream* stream) = 0;
  virtual void SetStreamEndCallback(AudioStream* stream, StreamEndCallback callback,
                                    void* userData) = 0;
  virtual int PlayStream(AudioStream* stream, int volume) = 0;
  virtual void StopStream(AudioStream* stream) = 0;
  virtual void CloseStream(AudioStream* stream) = 0;
  // Makes `next` (from its start) follow `playing` on the same channel and at the
  // same volume the moment `playing` runs out, with no gap between them; `next`
  // may be `playing` itself. The end of `playing` is still reported, and by then
  // `next` is the one playing. A later queue replaces an earlier one; stopping,
  // rewinding or playing either stream drops it. False when this device cannot
  // (a looping or silent stream, a format it does not decode as it plays): the
  // caller then starts `next` itself when the end is reported.
  virtual bool QueueStream(AudioStream* /*playing*/, AudioStream* /*next*/) { return false; }

  // Channel volumes 0..255, read back exactly. A channel whose sound is over,
  // or kNoChannel, ignores Set and reads 0.
  virtual void SetVolume(int channel, int volume) = 0;
  virtual void SetAllVolumes(int volume) = 0;  // every playing sample and stream
  virtual int GetVolume(int channel) = 0;
  // Scales every sample and stream channel (0..255); modules are not affected.
  virtual void SetSfxMasterVolume(int volume) = 0;

  // Calls the end callback of each stream that has reached its end since the
  // last call, once per end. Frame thread only.
  virtual void DispatchStreamEnds() = 0;
};

// One pass of the SDL2_mixer device's output, for tools that measure the mix:
// interleaved samples of the effects and of the streamed music (the ambient
// track included), each at its channel volumes and before the limiter, and what
// went out.
struct MixPass {
  std::span<const std::int32_t> effects;
  std::span<const std::int32_t> music;
  std::span<const std::int16_t> output;
  int channels = 0;
};
using MixObserver = void (*)(const MixPass& pass, void* userData);
// Calls `observer` on the audio thread after every pass of the SDL2_mixer
// device; nullptr stops it.
void SetMixObserver(MixObserver observer, void* userData);

// The SDL2_mixer device.
std::unique_ptr<AudioDevice> CreateMixerAudioDevice();

// The device the game uses: the SDL2_mixer one unless a test installed its own.
AudioDevice& GetAudioDevice();
// Installs `device` (not owned); nullptr restores the SDL2_mixer device.
void SetAudioDevice(AudioDevice* device);

}  // namespace platform
