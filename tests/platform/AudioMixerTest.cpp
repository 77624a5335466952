// The SDL2_mixer device on SDL's silent driver: decoding, channel volumes,
// stream ends, and the level of what finally goes out.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <numbers>
#include <thread>
#include <utility>
#include <vector>

#include "platform/Audio.h"
#include "platform/AudioTestFiles.h"
#include "platform/OggTestFiles.h"
#include "support/TempDir.h"

namespace {

using platform::AudioDevice;

// Each reported end: the stream and the thread it was reported on.
using Ends = std::vector<std::pair<platform::AudioStream*, std::thread::id>>;

bool RecordEnd(platform::AudioStream* stream, void* ends) {
  static_cast<Ends*>(ends)->emplace_back(stream, std::this_thread::get_id());
  return true;
}

// What the device finally sends out, heard through the mixer's post-mix hook
// (on the audio thread) for as long as it lives.
class OutputTap {
 public:
  OutputTap() { Mix_SetPostMix(&OutputTap::Hear, this); }
  ~OutputTap() { Mix_SetPostMix(nullptr, nullptr); }
  OutputTap(const OutputTap&) = delete;
  OutputTap& operator=(const OutputTap&) = delete;

  int Highest() const { return highest_; }
  int Lowest() const { return lowest_; }
  int Buffers() const { return buffers_; }

 private:
  static void Hear(void* self, Uint8* stream, int length) {
    auto& tap = *static_cast<OutputTap*>(self);
    const auto* samples = reinterpret_cast<const std::int16_t*>(stream);
    int highest = tap.highest_, lowest = tap.lowest_;
    for (int i = 0; i < length / 2; ++i) {
      highest = std::max<int>(highest, samples[i]);
      lowest = std::min<int>(lowest, samples[i]);
    }
    tap.highest_ = highest;
    tap.lowest_ = lowest;
    ++tap.buffers_;
  }

  std::atomic<int> highest_{0};
  std::atomic<int> lowest_{0};
  std::atomic<int> buffers_{0};
};

class MixerDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    device = platform::CreateMixerAudioDevice();
    device->Init(44100, 32);
    audiotest::WriteToneWav(dir / "short.wav", 40);
    audiotest::WriteToneWav(dir / "long.wav", 5000);
    audiotest::WriteToneOgg(dir / "short.ogg", 0.04);
  }
  void TearDown() override { device->Close(); }
  std::string File(const std::string& name) const { return (dir / name).string(); }
  // A sound of `milliseconds` in the output's own format, so nothing converts its
  // samples on the way: `wave` gives each frame's sample, all channels alike.
  std::string WriteOutputWav(const std::string& name, int milliseconds,
                             const std::function<std::int16_t(int frame, int rate)>& wave) {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    EXPECT_TRUE(Mix_QuerySpec(&rate, &format, &channels));
    EXPECT_EQ(format, AUDIO_S16SYS);
    std::vector<std::int16_t> samples;
    for (int frame = 0; frame < rate * milliseconds / 1000; ++frame)
      samples.insert(samples.end(), static_cast<std::size_t>(channels), wave(frame, rate));
    audiotest::WritePcmWav(dir / name, static_cast<std::uint32_t>(rate),
                           static_cast<std::uint32_t>(channels), samples);
    return File(name);
  }

  testsupport::TempDir dir;
  std::unique_ptr<AudioDevice> device;
  Ends ends;
};

TEST_F(MixerDevice, DecodableFilesLoadAndEverythingElseFailsQuietly) {
  audiotest::WriteBytes(dir / "garbage.wav", "not a sound at all");
  audiotest::WriteBytes(dir / "bank.fsb", "FSB4 but not really");
  audiotest::WriteBytes(dir / "score.sgt", "RIFF????DMSG");
  EXPECT_NE(device->LoadSample(File("short.wav")), nullptr);
  EXPECT_NE(device->OpenStream(File("short.wav"), false), nullptr);
  for (const char* file : {"missing.wav", "garbage.wav"})
    EXPECT_FALSE(device->LoadSample(File(file)));
  EXPECT_FALSE(device->OpenStream(File("missing.ogg"), false));
  for (const char* file : {"bank.fsb", "score.sgt", "missing.xm"})
    EXPECT_FALSE(device->LoadSong(File(file)));
  EXPECT_EQ(device->PlaySample(nullptr), AudioDevice::kNoChannel);
  EXPECT_EQ(device->PlayStream(nullptr, 255), AudioDevice::kNoChannel);

  // Music plays in the music slot, and a freed song cannot be restarted.
  platform::AudioSong* song = device->LoadSong(File("long.wav"));
  ASSERT_NE(song, nullptr);
  EXPECT_TRUE(device->PlaySong(song));
  EXPECT_TRUE(Mix_PlayingMusic());
  device->FreeSong(song);
  EXPECT_FALSE(Mix_PlayingMusic());
  EXPECT_FALSE(device->PlaySong(song));
}

TEST_F(MixerDevice, VolumesReadBackExactlyAndStaleChannelsReachNothing) {
  platform::AudioSample* sample = device->LoadSample(File("long.wav"));
  const int channel = device->PlaySample(sample);
  ASSERT_NE(channel, AudioDevice::kNoChannel);
  EXPECT_EQ(device->GetVolume(channel), 255);
  for (int volume : {0, 1, 63, 127, 200, 254, 300, -4}) {
    device->SetVolume(channel, volume);
    EXPECT_EQ(device->GetVolume(channel), std::clamp(volume, 0, 255)) << volume;
  }
  platform::AudioStream* stream = device->OpenStream(File("long.wav"), true);
  const int streamChannel = device->PlayStream(stream, 255);
  device->SetAllVolumes(127);
  EXPECT_EQ(device->GetVolume(channel), 127);
  EXPECT_EQ(device->GetVolume(streamChannel), 127);

  // A channel kept after its sound went reaches nothing, not even a newer
  // sound on the same mixing channel.
  device->FreeSample(sample);
  device->StopStream(stream);
  EXPECT_EQ(device->GetVolume(channel), 0);
  const int reused = device->PlayStream(stream, 255);
  ASSERT_NE(reused, AudioDevice::kNoChannel);
  device->SetVolume(channel, 90);
  device->SetVolume(streamChannel, 90);
  EXPECT_EQ(device->GetVolume(reused), 255);
  EXPECT_EQ(device->GetVolume(AudioDevice::kNoChannel), 0);
}

TEST_F(MixerDevice, StreamStartsAtItsOwnVolumeBeforeAnythingIsMixed) {
  platform::AudioStream* stream = device->OpenStream(File("long.wav"), false);
  device->SetSfxMasterVolume(AudioDevice::kMaxVolume);
  for (int volume : {0, 40, 255}) {
    const int channel = device->PlayStream(stream, volume);
    ASSERT_NE(channel, AudioDevice::kNoChannel);
    EXPECT_EQ(device->GetVolume(channel), volume);
    // The mixer's own gain is what the audio thread uses from the first sample.
    EXPECT_EQ(Mix_Volume(channel & 0xFF, -1), volume * MIX_MAX_VOLUME / 255) << volume;
  }
}

// Effects take only free channels; a stream that finds none takes the oldest
// effect's channel, even when another stream is older still.
TEST_F(MixerDevice, WithEveryChannelBusyAStreamTakesTheOldestEffectsChannel) {
  platform::AudioSample* sample = device->LoadSample(File("long.wav"));
  platform::AudioStream* older = device->OpenStream(File("long.wav"), true);
  const int olderChannel = device->PlayStream(older, 255);
  std::vector<int> effects;
  for (int i = 0; i < 31; ++i) {
    effects.push_back(device->PlaySample(sample));
    ASSERT_NE(effects.back(), AudioDevice::kNoChannel);
  }
  EXPECT_EQ(device->PlaySample(sample), AudioDevice::kNoChannel);

  platform::AudioStream* music = device->OpenStream(File("long.wav"), false);
  const int channel = device->PlayStream(music, 40);
  ASSERT_NE(channel, AudioDevice::kNoChannel);
  EXPECT_EQ(device->GetVolume(channel), 40);
  EXPECT_EQ(device->GetVolume(effects[0]), 0) << "the oldest effect made way";
  EXPECT_EQ(device->GetVolume(effects[1]), 255);
  EXPECT_EQ(device->GetVolume(olderChannel), 255) << "a stream never takes a stream's channel";
  EXPECT_EQ(Mix_Playing(-1), 32);
}

// Whole-decoded and streamed (Ogg Vorbis) alike.
TEST_F(MixerDevice, OnlyAStreamPlayedToItsEndReportsItOnceOnTheDispatchingThread) {
  platform::AudioSample* click = device->LoadSample(File("short.wav"));
  for (const char* file : {"short.wav", "short.ogg"}) {
    SCOPED_TRACE(file);
    ends.clear();
    std::vector<platform::AudioStream*> streams;  // ends, stopped, closed, looping
    for (bool loop : {false, false, false, true}) {
      streams.push_back(device->OpenStream(File(file), loop));
      device->SetStreamEndCallback(streams.back(), &RecordEnd, &ends);
      ASSERT_NE(device->PlayStream(streams.back(), 255), AudioDevice::kNoChannel);
    }
    EXPECT_EQ(device->GetStreamOpenState(streams[0]), AudioDevice::kStreamReady);
    // Long enough for the short tone to end many times over; the outcome is the
    // same whether or not it has.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    device->PlaySample(click);  // takes a channel, so finished ones are noticed
    device->StopStream(streams[1]);
    device->CloseStream(streams[2]);
    audiotest::PollUntil([this] { return !ends.empty(); },
                         [this] { device->DispatchStreamEnds(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    device->DispatchStreamEnds();
    EXPECT_EQ(ends, (Ends{{streams[0], std::this_thread::get_id()}}));
    device->CloseStream(streams[3]);
  }
}

// A streamed track's channel plays on after its sound is over until the frame
// thread notices; stopping, rewinding and playing again each start afresh, and
// only a track that plays out reports its end.
TEST_F(MixerDevice, StreamedTrackEndsOnceAfterStopsRewindsAndReplays) {
  audiotest::WriteToneOgg(dir / "music.ogg", 0.25);
  platform::AudioStream* music = device->OpenStream(File("music.ogg"), false);
  ASSERT_NE(music, nullptr);
  device->SetStreamEndCallback(music, &RecordEnd, &ends);
  auto settle = [this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    device->DispatchStreamEnds();
  };
  ASSERT_NE(device->PlayStream(music, 255), AudioDevice::kNoChannel);
  device->StopStream(music);
  settle();
  EXPECT_TRUE(ends.empty()) << "a stopped track reports nothing";

  const int channel = device->PlayStream(music, 200);
  ASSERT_NE(channel, AudioDevice::kNoChannel);
  device->RewindStream(music);
  EXPECT_EQ(device->GetVolume(channel), 200) << "rewinding keeps the channel";
  ASSERT_TRUE(audiotest::PollUntil([this] { return !ends.empty(); },
                                   [this] { device->DispatchStreamEnds(); }));
  settle();
  EXPECT_EQ(ends, (Ends{{music, std::this_thread::get_id()}}));
  EXPECT_EQ(device->GetVolume(channel), 0) << "its channel was freed";

  // Played again after its end, it starts from the beginning and ends again.
  ASSERT_NE(device->PlayStream(music, 255), AudioDevice::kNoChannel);
  ASSERT_TRUE(audiotest::PollUntil([this] { return ends.size() == 2; },
                                   [this] { device->DispatchStreamEnds(); }));
}

// The music and the ambient track play at once, each at its own channel volume,
// which the mixer applies after the track is decoded onto the channel.
TEST_F(MixerDevice, TwoStreamedTracksPlayAtOnceAtTheirChannelVolumes) {
  audiotest::WriteToneOgg(dir / "music.ogg", 0.5, 0.5f);
  audiotest::WriteToneOgg(dir / "ambient.ogg", 0.5, 0.5f);
  platform::AudioStream* music = device->OpenStream(File("music.ogg"), true);
  platform::AudioStream* ambient = device->OpenStream(File("ambient.ogg"), true);
  ASSERT_TRUE(music && ambient);
  // The loudest sample heard from whatever plays, over a good many buffers.
  auto peak = [] {
    OutputTap tap;
    EXPECT_TRUE(audiotest::PollUntil([&] { return tap.Buffers() >= 30; }, [] {}));
    return std::max(tap.Highest(), -tap.Lowest());
  };
  const int musicChannel = device->PlayStream(music, 255);
  const int full = peak();
  EXPECT_NEAR(full, 16384, 16384 * 0.05) << "the tone's own level";
  for (int volume : {128, 51, 0}) {
    device->SetVolume(musicChannel, volume);
    EXPECT_NEAR(peak(), full * (volume * MIX_MAX_VOLUME / 255) / MIX_MAX_VOLUME, full * 0.02)
        << volume;
  }
  device->SetVolume(musicChannel, 128);
  const int ambientChannel = device->PlayStream(ambient, 128);
  ASSERT_NE(ambientChannel, AudioDevice::kNoChannel);
  EXPECT_NE(ambientChannel, musicChannel);
  // Two half-level copies of one tone, started at different moments: louder
  // than one alone whenever they meet, never above the two together.
  const int both = peak();
  EXPECT_GT(both, full / 2 + full / 20);
  EXPECT_LE(both, full + full / 50);
  EXPECT_EQ(device->GetVolume(musicChannel), 128);
  EXPECT_EQ(device->GetVolume(ambientChannel), 128);
}

// Thirty-two effects at three quarters of full scale add up to many times full
// scale; what goes out still never reaches it, on either side, and stays loud.
// The wave is square and slow, so it adds up however the starts fall within the
// mixer's buffers.
TEST_F(MixerDevice, ManyLoudEffectsAtOnceNeverReachFullScale) {
  const std::string loud = WriteOutputWav("loud.wav", 1000, [](int frame, int rate) {
    return static_cast<std::int16_t>(frame < rate / 2 ? 24000 : -24000);
  });
  platform::AudioSample* sample = device->LoadSample(loud);
  ASSERT_NE(sample, nullptr);
  OutputTap tap;
  for (int i = 0; i < 32; ++i) ASSERT_NE(device->PlaySample(sample), AudioDevice::kNoChannel);
  ASSERT_TRUE(
      audiotest::PollUntil([&] { return tap.Highest() > 24000 && tap.Lowest() < -24000; }, [] {}))
      << "both halves went out: " << tap.Highest() << ", " << tap.Lowest();
  EXPECT_LT(tap.Highest(), 32767);
  EXPECT_GT(tap.Lowest(), -32768);
}

// The loudest single sound the game has (0.9 of full scale) goes out sample for
// sample as it is, whether it is an effect, a music stream or a song.
TEST_F(MixerDevice, OneLoudSoundAloneKeepsItsLevel) {
  auto wave = [](int frame, int rate) {
    return static_cast<std::int16_t>(
        std::lround(29490 * std::sin(2 * std::numbers::pi * 440 * frame / rate)));
  };
  const std::string tone = WriteOutputWav("tone.wav", 100, wave);
  int rate = 0;
  Mix_QuerySpec(&rate, nullptr, nullptr);
  int highest = 0, lowest = 0;
  for (int frame = 0; frame < rate / 10; ++frame) {
    highest = std::max<int>(highest, wave(frame, rate));
    lowest = std::min<int>(lowest, wave(frame, rate));
  }
  ASSERT_GT(highest, 29000);
  const std::function<void()> plays[] = {
      [&] { device->PlaySample(device->LoadSample(tone)); },
      [&] { device->PlayStream(device->OpenStream(tone, false), 255); },
      [&] { device->PlaySong(device->LoadSong(tone)); },
  };
  for (std::size_t i = 0; i < std::size(plays); ++i) {
    SCOPED_TRACE(i);
    OutputTap tap;
    plays[i]();
    // The tone lasts under five buffers; twelve hold all of it.
    ASSERT_TRUE(audiotest::PollUntil([&] { return tap.Buffers() >= 12; }, [] {}));
    Mix_HaltMusic();
    EXPECT_EQ(tap.Highest(), highest);
    EXPECT_EQ(tap.Lowest(), lowest);
  }
}

}  // namespace
