#include "platform/Audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <utility>
#include <span>
#include <vector>

#include "platform/MixLimiter.h"
#include "platform/OggStream.h"

namespace platform {

struct AudioSample {
  Mix_Chunk* chunk = nullptr;
};

struct AudioSong {
  Mix_Music* music = nullptr;
};

struct AudioStream {
  Mix_Chunk* chunk = nullptr;  // decoded whole when opened, unless it is Ogg Vorbis
  // An Ogg Vorbis track, decoded while it plays by an effect on its channel. The
  // audio thread reads it only while that channel plays; the frame thread
  // touches it only while the channel is halted.
  std::unique_ptr<OggStream> ogg;
  bool loop = false;
  int voice = -1;  // index of the channel it plays on, -1 when silent
  StreamEndCallback callback = nullptr;
  void* userData = nullptr;
};

namespace {

// A channel handle carries the channel index in its low byte and a generation
// above it, so a handle kept after its sound ended never reaches a newer sound.
constexpr int kIndexBits = 8;
constexpr int kMaxChannels = 1 << kIndexBits;
constexpr unsigned kMaxGeneration = 0x7FFFFF;

int ClampVolume(int volume) {
  return std::clamp(volume, 0, AudioDevice::kMaxVolume);
}

template <typename T>
bool Owns(const std::vector<std::unique_ptr<T>>& list, const T* item) {
  return item && std::any_of(list.begin(), list.end(), [item](const std::unique_ptr<T>& owned) {
           return owned.get() == item;
         });
}

template <typename T>
void Forget(std::vector<std::unique_ptr<T>>& list, const T* item) {
  std::erase_if(list, [item](const std::unique_ptr<T>& owned) { return owned.get() == item; });
}

// What an Ogg Vorbis stream's channel plays, handed over on the audio thread
// from one stream to the next queued one in the middle of a buffer, so a loop or
// a change of track leaves no gap. The frame thread reads and changes it only
// under the feed's lock, and never calls into the mixer while it holds it.
struct Feed {
  void Reset(AudioStream* stream = nullptr) {
    playing = stream;
    queued = nullptr;
    handedOver = false;
  }

  std::mutex lock;
  AudioStream* playing = nullptr;
  AudioStream* queued = nullptr;
  bool handedOver = false;  // `playing` took over since the frame thread last looked
};

// The measuring tools' observer; read by the audio thread at every pass.
struct Observer {
  MixObserver call = nullptr;
  void* userData = nullptr;
};
std::mutex gObserverLock;
Observer gObserver;

// SDL_mixer adds each channel into the 16-bit output with saturation, so a loud
// moment clips however the sum is treated afterwards. Instead every channel's
// sound is taken off on its way in (an effect that adds it, at the channel's
// gain, into a 32-bit sum and hands the mixer silence), and the last effect
// after the mix limits music plus sum into the output. Both run on the audio
// thread, inside the mixer's lock.
class MixTap {
 public:
  // Passes hold at most this many frames (the output opens with 1024); a larger
  // one is mixed the ordinary way rather than dropped.
  static constexpr std::size_t kMaxFrames = 8192;

  MixTap(int rate, int outputChannels, int mixChannels)
      : m_sum(kMaxFrames * static_cast<std::size_t>(std::max(outputChannels, 1))),
        m_music(m_sum.size()),
        m_effects(m_sum.size()),
        m_offsets(static_cast<std::size_t>(mixChannels), 0),
        m_gains(static_cast<std::size_t>(mixChannels)),
        m_streams(static_cast<std::size_t>(mixChannels)),
        m_outputChannels(outputChannels),
        m_limiter(rate, outputChannels) {}

  // Whether the channel plays a stream (music) or an effect, for the observer.
  void SetStream(int channel, bool stream) {
    m_streams[channel].store(stream, std::memory_order_relaxed);
  }

  // The gain SDL_mixer would apply to the channel, 0..MIX_MAX_VOLUME; set on the
  // frame thread, read on the audio thread.
  void SetGain(int channel, int gain) { m_gains[channel].store(gain, std::memory_order_relaxed); }

  // A channel's pieces of one pass arrive in order, each after the last.
  static void TakeChannel(int channel, void* stream, int length, void* self) {
    auto& tap = *static_cast<MixTap*>(self);
    auto* samples = static_cast<std::int16_t*>(stream);
    const std::size_t count = static_cast<std::size_t>(length) / sizeof(std::int16_t);
    std::size_t& offset = tap.m_offsets[channel];
    if (offset + count > tap.m_sum.size()) return;
    const int gain = tap.m_gains[channel].load(std::memory_order_relaxed);
    for (std::size_t i = 0; i < count; ++i)
      tap.m_sum[offset + i] += samples[i] * gain / MIX_MAX_VOLUME;  // as SDL scales
    if (tap.m_streams[channel].load(std::memory_order_relaxed)) {
      for (std::size_t i = 0; i < count; ++i)
        tap.m_music[offset + i] += samples[i] * gain / MIX_MAX_VOLUME;
    }
    std::memset(stream, 0, static_cast<std::size_t>(length));
    offset += count;
  }

  // Runs after every channel: `stream` holds the music and any channel mixed the
  // ordinary way.
  static void Limit(int, void* stream, int length, void* self) {
    auto& tap = *static_cast<MixTap*>(self);
    auto* samples = static_cast<std::int16_t*>(stream);
    const std::size_t count =
        std::min(static_cast<std::size_t>(length) / sizeof(std::int16_t), tap.m_sum.size());
    for (std::size_t i = 0; i < count; ++i) tap.m_sum[i] += samples[i];
    tap.m_limiter.Process(std::span(tap.m_sum).first(count), std::span(samples, count));
    tap.Report(count, samples);
    std::fill_n(tap.m_sum.begin(), count, 0);
    std::fill_n(tap.m_music.begin(), count, 0);
    std::fill(tap.m_offsets.begin(), tap.m_offsets.end(), 0);
  }

 private:
  void Report(std::size_t count, const std::int16_t* output) {
    std::lock_guard lock(gObserverLock);
    if (!gObserver.call) return;
    for (std::size_t i = 0; i < count; ++i) m_effects[i] = m_sum[i] - m_music[i];
    gObserver.call(MixPass{std::span(m_effects).first(count), std::span(m_music).first(count),
                           std::span(output, count), m_outputChannels},
                   gObserver.userData);
  }

  std::vector<std::int32_t> m_sum;
  std::vector<std::int32_t> m_music;    // the streams' share of m_sum
  std::vector<std::int32_t> m_effects;  // the rest, made only when observed
  std::vector<std::size_t> m_offsets;
  std::vector<std::atomic<int>> m_gains;
  std::vector<std::atomic<bool>> m_streams;
  int m_outputChannels;
  MixLimiter m_limiter;
};

class MixerAudioDevice final : public AudioDevice {
 public:
  ~MixerAudioDevice() override { Close(); }

  bool Init(int mixRate, int channels) override {
    if (m_initialised) return m_open;
    m_initialised = true;
    m_master = kMaxVolume;
    // A cut WAV file fails to load rather than play its first part, so it is reported.
    SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, "strict");
    m_open = OpenOutput(mixRate);
    if (!m_open) return false;
    const int count = std::clamp(channels, 1, kMaxChannels);
    Mix_AllocateChannels(count);
    m_voices.assign(static_cast<std::size_t>(count), Voice{});
    m_feeds = std::vector<Feed>(static_cast<std::size_t>(count));
    Mix_VolumeMusic(MIX_MAX_VOLUME);
    int rate = 0, outputChannels = 0;
    Uint16 format = 0;
    // Any other sample format is mixed the ordinary way, without the limiter.
    if (Mix_QuerySpec(&rate, &format, &outputChannels)) {
      m_output = OggStream::Output{format, outputChannels, rate};
      MakeCarrier();
      if (format == AUDIO_S16SYS) {
        m_tap = std::make_unique<MixTap>(rate, outputChannels, count);
        Mix_RegisterEffect(MIX_CHANNEL_POST, &MixTap::Limit, nullptr, m_tap.get());
      }
    }
    return true;
  }

  void Close() override {
    if (!m_initialised) return;
    if (m_open) {
      Mix_HaltChannel(-1);
      Mix_HaltMusic();
      for (auto& sample : m_samples) Mix_FreeChunk(sample->chunk);
      for (auto& stream : m_streams) Mix_FreeChunk(stream->chunk);
      for (auto& song : m_songs) Mix_FreeMusic(song->music);
      // Halting leaves the tap on channels that were not playing.
      for (std::size_t i = 0; i < m_voices.size(); ++i)
        Mix_UnregisterAllEffects(static_cast<int>(i));
      Mix_UnregisterAllEffects(MIX_CHANNEL_POST);
      Mix_FreeChunk(m_carrier);
      Mix_CloseAudio();
      Mix_Quit();
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    m_tap.reset();
    m_carrier = nullptr;
    m_carrierBytes.clear();
    m_samples.clear();
    m_streams.clear();
    m_songs.clear();
    m_voices.clear();
    m_feeds.clear();
    m_ended.clear();
    m_open = false;
    m_initialised = false;
  }

  AudioSample* LoadSample(const std::string& file) override {
    Mix_Chunk* chunk = Decode(file);
    if (!chunk) return nullptr;
    m_samples.push_back(std::make_unique<AudioSample>(AudioSample{chunk}));
    return m_samples.back().get();
  }

  int PlaySample(AudioSample* sample) override {
    if (!Owns(m_samples, sample)) return kNoChannel;
    const int index = AllocateVoice();
    if (index < 0) return kNoChannel;
    Voice& voice = m_voices[index];
    voice.kind = VoiceKind::Sample;
    voice.sample = sample;
    ApplyVolume(index);
    if (StartChannel(index, sample->chunk, 0) < 0) {
      voice.kind = VoiceKind::Free;
      return kNoChannel;
    }
    return Handle(index);
  }

  void FreeSample(AudioSample* sample) override {
    if (!Owns(m_samples, sample)) return;
    for (std::size_t i = 0; i < m_voices.size(); ++i) {
      if (m_voices[i].kind == VoiceKind::Sample && m_voices[i].sample == sample)
        Silence(static_cast<int>(i));
    }
    Mix_FreeChunk(sample->chunk);
    Forget(m_samples, sample);
  }

  AudioSong* LoadSong(const std::string& file) override {
    if (!m_open) return nullptr;
    Mix_Music* music = Mix_LoadMUS(file.c_str());
    if (!music) return nullptr;
    m_songs.push_back(std::make_unique<AudioSong>(AudioSong{music}));
    return m_songs.back().get();
  }

  bool PlaySong(AudioSong* song) override {
    return Owns(m_songs, song) && Mix_PlayMusic(song->music, -1) == 0;
  }

  void FreeSong(AudioSong* song) override {
    if (!Owns(m_songs, song)) return;
    Mix_FreeMusic(song->music);  // halts it first when it is the one playing
    Forget(m_songs, song);
  }

  // Ogg Vorbis is decoded while it plays, so a long track holds little memory;
  // anything else is decoded whole here.
  AudioStream* OpenStream(const std::string& file, bool loop) override {
    if (!m_open) return nullptr;
    auto stream = std::make_unique<AudioStream>();
    stream->loop = loop;
    std::string error;
    if (m_carrier && StartsLikeOgg(file)) {
      bool notVorbis = false;
      stream->ogg = OggStream::Open(file, m_output, loop, error, &notVorbis);
      if (!stream->ogg && !notVorbis) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return nullptr;
      }
    }
    if (!stream->ogg) {
      // Another codec in an Ogg file is left to the mixer's own decoders.
      stream->chunk = Decode(file);
      if (!stream->chunk) {
        if (!error.empty()) std::fprintf(stderr, "%s\n", error.c_str());
        return nullptr;
      }
    }
    m_streams.push_back(std::move(stream));
    return m_streams.back().get();
  }

  // Streams open in full before OpenStream returns, so an open stream is ready at once.
  int GetStreamOpenState(AudioStream* stream) override {
    return Owns(m_streams, stream) ? kStreamReady : kStreamFailed;
  }

  void RewindStream(AudioStream* stream) override {
    if (!Owns(m_streams, stream)) return;
    Reap();
    Unqueue(stream);
    if (stream->voice < 0) return;  // every play starts at the beginning anyway
    DropPendingEnd(stream);
    Mix_HaltChannel(stream->voice);
    StartStreamChannel(stream->voice, *stream);
  }

  void SetStreamEndCallback(AudioStream* stream, StreamEndCallback callback,
                            void* userData) override {
    if (!Owns(m_streams, stream)) return;
    stream->callback = callback;
    stream->userData = userData;
  }

  int PlayStream(AudioStream* stream, int volume) override {
    if (!Owns(m_streams, stream)) return kNoChannel;
    StopStream(stream);
    const int index = AllocateStreamVoice();
    if (index < 0) return kNoChannel;
    Voice& voice = m_voices[index];
    voice.kind = VoiceKind::Stream;
    voice.stream = stream;
    voice.volume = ClampVolume(volume);
    ApplyVolume(index);  // before the first sample is mixed
    if (StartStreamChannel(index, *stream) < 0) {
      voice.kind = VoiceKind::Free;
      return kNoChannel;
    }
    stream->voice = index;
    return Handle(index);
  }

  void StopStream(AudioStream* stream) override {
    if (!Owns(m_streams, stream)) return;
    Reap();
    Unqueue(stream);
    // A stream whose end is still to be reported may have handed its channel
    // over already: what the caller stops is what it hears.
    AudioStream* successor = DropPendingEnd(stream);
    if (stream->voice >= 0) Silence(stream->voice);
    if (successor && successor->voice >= 0) Silence(successor->voice);
  }

  void CloseStream(AudioStream* stream) override {
    if (!Owns(m_streams, stream)) return;
    StopStream(stream);
    Mix_FreeChunk(stream->chunk);  // none for Ogg Vorbis
    Forget(m_streams, stream);
  }

  bool QueueStream(AudioStream* playing, AudioStream* next) override {
    if (!Owns(m_streams, playing) || !Owns(m_streams, next)) return false;
    Reap();
    if (!playing->ogg || !next->ogg || playing->loop || next->loop || playing->voice < 0)
      return false;
    if (next != playing) {
      if (next->voice >= 0) return false;  // it plays elsewhere already
      Unqueue(next);
    }
    Feed& feed = m_feeds[static_cast<std::size_t>(playing->voice)];
    std::lock_guard lock(feed.lock);
    if (feed.playing != playing) return false;
    feed.queued = next;
    return true;
  }

  void SetVolume(int channel, int volume) override {
    const int index = IndexOf(channel);
    if (index < 0) return;
    m_voices[index].volume = ClampVolume(volume);
    ApplyVolume(index);
  }

  void SetAllVolumes(int volume) override {
    for (std::size_t i = 0; i < m_voices.size(); ++i) {
      if (m_voices[i].kind == VoiceKind::Free) continue;
      m_voices[i].volume = ClampVolume(volume);
      ApplyVolume(static_cast<int>(i));
    }
  }

  int GetVolume(int channel) override {
    const int index = IndexOf(channel);
    return index < 0 ? 0 : m_voices[index].volume;
  }

  void SetSfxMasterVolume(int volume) override {
    m_master = ClampVolume(volume);
    for (std::size_t i = 0; i < m_voices.size(); ++i) {
      if (m_voices[i].kind != VoiceKind::Free) ApplyVolume(static_cast<int>(i));
    }
  }

  void DispatchStreamEnds() override {
    Reap();
    // A callback may stop, close or restart streams; those drop their pending
    // ends, so whatever is taken from the queue is still open.
    while (!m_ended.empty()) {
      AudioStream* stream = m_ended.front().stream;
      m_ended.pop_front();
      if (stream->callback) stream->callback(stream, stream->userData);
    }
  }

 private:
  enum class VoiceKind { Free, Sample, Stream };
  struct Voice {
    VoiceKind kind = VoiceKind::Free;
    unsigned generation = 0;
    std::uint64_t started = 0;  // order of claiming, to find the oldest effect
    int volume = kMaxVolume;
    AudioSample* sample = nullptr;
    AudioStream* stream = nullptr;
  };

  bool OpenOutput(int mixRate) {
    if (TryOpen(mixRate)) return true;
    const std::string reason = SDL_GetError();
    // No sound card (a CI machine, say): keep the game's sound logic alive on
    // SDL's silent driver rather than losing every sound and playlist.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    const bool opened = TryOpen(mixRate);
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    std::fprintf(stderr, "Sound output unavailable (%s); playing silently.\n", reason.c_str());
    return opened;
  }

  static bool TryOpen(int mixRate) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    Mix_Init(MIX_INIT_FLAC | MIX_INIT_MOD | MIX_INIT_MP3 | MIX_INIT_OGG | MIX_INIT_MID);
    if (Mix_OpenAudio(mixRate, AUDIO_S16SYS, 2, 1024) == 0) return true;
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }

  Mix_Chunk* Decode(const std::string& file) const {
    if (!m_open) return nullptr;
    SDL_RWops* source = SDL_RWFromFile(file.c_str(), "rb");
    return source ? Mix_LoadWAV_RW(source, 1) : nullptr;
  }

  int Handle(int index) const {
    return static_cast<int>(m_voices[index].generation << kIndexBits) | index;
  }

  int IndexOf(int channel) const {
    if (channel < 0) return -1;
    const int index = channel & (kMaxChannels - 1);
    if (index >= static_cast<int>(m_voices.size())) return -1;
    const Voice& voice = m_voices[index];
    const bool current = voice.kind != VoiceKind::Free &&
                         voice.generation == static_cast<unsigned>(channel) >> kIndexBits;
    return current ? index : -1;
  }

  // Frees the channels whose sound has finished, queuing the ends of streams. An
  // Ogg Vorbis stream's channel plays on after its sound is over and is halted here.
  void Reap() {
    for (std::size_t i = 0; i < m_voices.size(); ++i) {
      Voice& voice = m_voices[i];
      bool drained = false;
      if (voice.kind == VoiceKind::Stream && voice.stream->ogg) {
        Feed& feed = m_feeds[i];
        std::lock_guard lock(feed.lock);
        if (feed.handedOver) {
          // The old stream's end is reported as any end is; the channel is now
          // the new stream's, at the volume it had.
          feed.handedOver = false;
          m_ended.push_back(Ended{voice.stream, feed.playing});
          voice.stream->voice = -1;
          voice.stream = feed.playing;
          voice.stream->voice = static_cast<int>(i);
        }
        drained = voice.stream->ogg->Finished() && !feed.queued;
      }
      if (voice.kind == VoiceKind::Free || (!drained && Mix_Playing(static_cast<int>(i))))
        continue;
      if (drained) Mix_HaltChannel(static_cast<int>(i));
      if (voice.kind == VoiceKind::Stream) {
        voice.stream->voice = -1;
        if (!voice.stream->loop) m_ended.push_back(Ended{voice.stream, nullptr});
      }
      voice.kind = VoiceKind::Free;
    }
  }

  // The lowest free channel, claimed; -1 when all are busy.
  int AllocateVoice() {
    Reap();
    for (std::size_t i = 0; i < m_voices.size(); ++i) {
      if (m_voices[i].kind == VoiceKind::Free) return Claim(static_cast<int>(i));
    }
    return -1;
  }

  // A free channel, or else the oldest sound effect's: a stream left without a
  // channel would never report its end, and the playlist would stop for good.
  int AllocateStreamVoice() {
    const int free = AllocateVoice();
    if (free >= 0) return free;
    int oldest = -1;
    for (std::size_t i = 0; i < m_voices.size(); ++i) {
      const Voice& voice = m_voices[i];
      if (voice.kind != VoiceKind::Sample) continue;
      if (oldest < 0 || voice.started < m_voices[oldest].started) oldest = static_cast<int>(i);
    }
    if (oldest < 0) return -1;
    Silence(oldest);
    return Claim(oldest);
  }

  // A fresh generation, so handles to the channel's previous sound go stale.
  int Claim(int index) {
    Voice& voice = m_voices[index];
    voice.generation = voice.generation >= kMaxGeneration ? 1 : voice.generation + 1;
    voice.started = ++m_claims;
    voice.volume = kMaxVolume;
    voice.sample = nullptr;
    voice.stream = nullptr;
    return index;
  }

  // Stops a channel without reporting an end.
  void Silence(int index) {
    Voice& voice = m_voices[index];
    if (voice.kind == VoiceKind::Stream) voice.stream->voice = -1;
    voice.kind = VoiceKind::Free;
    Mix_HaltChannel(index);
    Feed& feed = m_feeds[static_cast<std::size_t>(index)];
    std::lock_guard lock(feed.lock);  // halted: the audio thread is done with it
    feed.Reset();
  }

  // Drops the stream's pending end; returns the stream that took its channel
  // over, if any.
  AudioStream* DropPendingEnd(const AudioStream* stream) {
    AudioStream* successor = nullptr;
    for (const Ended& ended : m_ended)
      if (ended.stream == stream && ended.successor != stream) successor = ended.successor;
    std::erase_if(m_ended, [stream](const Ended& ended) { return ended.stream == stream; });
    return successor;
  }

  // Takes the stream out of every queue, so nothing starts it behind the caller's back.
  void Unqueue(const AudioStream* stream) {
    for (Feed& feed : m_feeds) {
      std::lock_guard lock(feed.lock);
      if (feed.queued == stream) feed.queued = nullptr;
    }
  }

  // Plays `chunk` on the idle channel `index`, its sound taken off for the
  // limiter. Halting or finishing a channel drops its effects, so each start
  // sets them again (the old ones cleared first, lest they count twice). A
  // `source` writes the sound over the chunk's silence first, before the tap
  // and before the mixer applies the channel's volume.
  int StartChannel(int index, Mix_Chunk* chunk, int loops, Feed* source = nullptr) {
    if (m_tap || source) Mix_UnregisterAllEffects(index);
    if (source) Mix_RegisterEffect(index, &FillChannel, nullptr, source);
    if (m_tap) {
      m_tap->SetStream(index, m_voices[index].kind == VoiceKind::Stream);
      Mix_RegisterEffect(index, &MixTap::TakeChannel, nullptr, m_tap.get());
    }
    return Mix_PlayChannel(index, chunk, loops);
  }

  // Every play starts at the beginning. An Ogg Vorbis stream's channel loops the
  // silent carrier for ever; the stream itself decides when its sound is over.
  int StartStreamChannel(int index, AudioStream& stream) {
    if (!stream.ogg) return StartChannel(index, stream.chunk, stream.loop ? -1 : 0);
    stream.ogg->Rewind();
    Feed& feed = m_feeds[static_cast<std::size_t>(index)];
    {
      std::lock_guard lock(feed.lock);  // halted, but a handover may be unread
      feed.Reset(&stream);
    }
    return StartChannel(index, m_carrier, -1, &feed);
  }

  // Audio thread. Where the playing stream runs out, the queued one (rewound
  // here) carries on in the same buffer.
  static void FillChannel(int, void* samples, int length, void* source) {
    auto& feed = *static_cast<Feed*>(source);
    const std::span out(static_cast<std::uint8_t*>(samples), static_cast<std::size_t>(length));
    std::lock_guard lock(feed.lock);
    std::size_t done = feed.playing->ogg->Fill(out);
    if (done < out.size() && feed.queued) {
      feed.playing = std::exchange(feed.queued, nullptr);
      feed.playing->ogg->Rewind();
      feed.handedOver = true;
      feed.playing->ogg->Fill(out.subspan(done));
    }
  }

  static bool StartsLikeOgg(const std::string& file) {
    char magic[4] = {};
    SDL_RWops* source = SDL_RWFromFile(file.c_str(), "rb");
    if (!source) return true;  // the Ogg reader names the missing file
    const bool ogg = SDL_RWread(source, magic, 1, 4) == 4 && std::memcmp(magic, "OggS", 4) == 0;
    SDL_RWclose(source);
    return ogg;
  }

  // The chunk an Ogg Vorbis stream's channel plays: silence in the output's
  // format, long enough that the mixer asks for whole buffers at a time.
  void MakeCarrier() {
    const int frameBytes = SDL_AUDIO_BITSIZE(m_output.format) / 8 * m_output.channels;
    if (frameBytes <= 0) return;
    m_carrierBytes.assign(MixTap::kMaxFrames * static_cast<std::size_t>(frameBytes),
                          m_output.format == AUDIO_U8 ? 0x80 : 0);
    m_carrier =
        Mix_QuickLoad_RAW(m_carrierBytes.data(), static_cast<Uint32>(m_carrierBytes.size()));
  }

  void ApplyVolume(int index) {
    const int gain = m_voices[index].volume * m_master * MIX_MAX_VOLUME / (kMaxVolume * kMaxVolume);
    Mix_Volume(index, gain);
    if (m_tap) m_tap->SetGain(index, gain);
  }

  bool m_initialised = false;
  bool m_open = false;
  int m_master = kMaxVolume;
  std::uint64_t m_claims = 0;
  std::vector<Voice> m_voices;
  std::vector<std::unique_ptr<AudioSample>> m_samples;
  std::vector<std::unique_ptr<AudioSong>> m_songs;
  std::vector<std::unique_ptr<AudioStream>> m_streams;
  // An end to report, and the stream that took the channel over at it, if any.
  struct Ended {
    AudioStream* stream;
    AudioStream* successor;
  };
  std::deque<Ended> m_ended;
  std::vector<Feed> m_feeds;  // one per voice
  std::unique_ptr<MixTap> m_tap;  // null when the output is closed or not 16-bit
  OggStream::Output m_output;
  std::vector<Uint8> m_carrierBytes;
  Mix_Chunk* m_carrier = nullptr;  // plays m_carrierBytes; null when the output is closed
};

AudioDevice* gInstalled = nullptr;

}  // namespace

std::unique_ptr<AudioDevice> CreateMixerAudioDevice() {
  return std::make_unique<MixerAudioDevice>();
}

AudioDevice& GetAudioDevice() {
  if (gInstalled) return *gInstalled;
  static const std::unique_ptr<AudioDevice> mixer = CreateMixerAudioDevice();
  return *mixer;
}

void SetAudioDevice(AudioDevice* device) {
  gInstalled = device;
}

void SetMixObserver(MixObserver observer, void* userData) {
  std::lock_guard lock(gObserverLock);
  gObserver = Observer{observer, userData};
}

}  // namespace platform
