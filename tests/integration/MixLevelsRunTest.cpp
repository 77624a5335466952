// What a player hears in each level: a stretch of its recorded playthrough replayed at
// real frame pace through the real mixer, its effects and its music measured apart
// after every pass. Effects must not drown the music, no effect may stutter, and the
// music may hold no gap.
//
// Settings for a closer look (the figures are printed either way):
//   VANTREL_MIX_WHOLE=1     the whole replay at real pace instead of its stretch
//   VANTREL_MIX_NO_QUEUE=1  the device refuses to queue tracks, as devices used to
//   VANTREL_MIX_FAST=1      no pacing: only the effects' starts mean anything then
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "RecordingText.h"
#include "harness/Playthrough.h"
#include "platform/Audio.h"
#include "support/TempDir.h"

namespace {

using platform::AudioDevice;
using platform::AudioSample;
using platform::AudioSong;
using platform::AudioStream;

constexpr int kFramesPerSecond = 60;
constexpr int kRate = 44100;
constexpr int kBlockFrames = kRate / 100;  // 10 ms
constexpr int kWindowBlocks = 500;         // 5 s
constexpr int kWindowStep = 100;           // windows start a second apart
// Below this a sample is silence (-66 dB).
constexpr int kSilence = 16;

bool Setting(const char* name) {
  const char* value = std::getenv(name);
  return value && std::string(value) == "1";
}

// The real mixer, with every effect start written down by its game frame.
class CountingDevice final : public AudioDevice {
 public:
  explicit CountingDevice(bool queue) : m_queue(queue) {}

  int frame = 0;
  std::map<std::string, std::vector<int>> starts;  // effect file -> frames
  std::vector<int> trackEnds;                      // frames on which a track's end came in
  std::vector<long> trackEndsHeard;                // output frames heard by then, or -1
  std::function<long()> heard;                     // output frames heard so far

  bool Init(int rate, int channels) override { return m_mixer->Init(rate, channels); }
  void Close() override { m_mixer->Close(); }
  AudioSample* LoadSample(const std::string& file) override {
    AudioSample* sample = m_mixer->LoadSample(file);
    if (sample) m_names[sample] = std::filesystem::path(file).stem().string();
    return sample;
  }
  int PlaySample(AudioSample* sample) override {
    starts[m_names[sample]].push_back(frame);
    return m_mixer->PlaySample(sample);
  }
  void FreeSample(AudioSample* sample) override { m_mixer->FreeSample(sample); }
  AudioSong* LoadSong(const std::string& file) override { return m_mixer->LoadSong(file); }
  bool PlaySong(AudioSong* song) override { return m_mixer->PlaySong(song); }
  void FreeSong(AudioSong* song) override { m_mixer->FreeSong(song); }
  AudioStream* OpenStream(const std::string& file, bool loop) override {
    return m_mixer->OpenStream(file, loop);
  }
  int GetStreamOpenState(AudioStream* stream) override {
    return m_mixer->GetStreamOpenState(stream);
  }
  void RewindStream(AudioStream* stream) override { m_mixer->RewindStream(stream); }
  void SetStreamEndCallback(AudioStream* stream, platform::StreamEndCallback callback,
                            void* userData) override {
    m_callbacks[stream] = {callback, userData};
    m_mixer->SetStreamEndCallback(stream, &CountingDevice::OnEnd, this);
  }
  int PlayStream(AudioStream* stream, int volume) override {
    return m_mixer->PlayStream(stream, volume);
  }
  void StopStream(AudioStream* stream) override { m_mixer->StopStream(stream); }
  void CloseStream(AudioStream* stream) override { m_mixer->CloseStream(stream); }
  bool QueueStream(AudioStream* playing, AudioStream* next) override {
    return m_queue && m_mixer->QueueStream(playing, next);
  }
  void SetVolume(int channel, int volume) override { m_mixer->SetVolume(channel, volume); }
  void SetAllVolumes(int volume) override { m_mixer->SetAllVolumes(volume); }
  int GetVolume(int channel) override { return m_mixer->GetVolume(channel); }
  void SetSfxMasterVolume(int volume) override { m_mixer->SetSfxMasterVolume(volume); }
  void DispatchStreamEnds() override { m_mixer->DispatchStreamEnds(); }

 private:
  std::unique_ptr<AudioDevice> m_mixer = platform::CreateMixerAudioDevice();
  static bool OnEnd(AudioStream* stream, void* self) {
    auto& device = *static_cast<CountingDevice*>(self);
    device.trackEnds.push_back(device.frame);
    device.trackEndsHeard.push_back(device.heard ? device.heard() : -1);
    const auto [callback, userData] = device.m_callbacks[stream];
    return callback ? callback(stream, userData) : true;
  }

  std::map<AudioSample*, std::string> m_names;
  std::map<AudioStream*, std::pair<platform::StreamEndCallback, void*>> m_callbacks;
  bool m_queue;
};

// The energy of each bus per 10 ms, and the silences of the music once it has
// begun, heard while `listening` is set.
class BusMeter {
 public:
  BusMeter() { platform::SetMixObserver(&BusMeter::Hear, this); }
  ~BusMeter() { platform::SetMixObserver(nullptr, nullptr); }
  BusMeter(const BusMeter&) = delete;
  BusMeter& operator=(const BusMeter&) = delete;

  std::atomic<bool> listening{false};

  struct Block {
    double effects = 0.0;
    double music = 0.0;
  };
  std::vector<Block> Blocks() {
    std::lock_guard lock(m_lock);
    return m_blocks;
  }
  // The longest silence of the music that meets the span of output frames
  // [from, to), in milliseconds.
  long Heard() {
    std::lock_guard lock(m_lock);
    return m_heard;
  }

  double LongestMusicSilenceMs(long from, long to) {
    std::lock_guard lock(m_lock);
    long longest = 0;
    for (const auto& [start, length] : m_silences)
      if (start < to && start + length > from) longest = std::max(longest, length);
    if (m_run > 0 && m_heard - m_run < to) longest = std::max(longest, m_run);
    return 1000.0 * static_cast<double>(longest) / kRate;
  }

 private:
  static void Hear(const platform::MixPass& pass, void* self) {
    auto& meter = *static_cast<BusMeter*>(self);
    if (!meter.listening.load() || pass.channels < 1) return;
    std::lock_guard lock(meter.m_lock);
    const auto step = static_cast<std::size_t>(pass.channels);
    for (std::size_t i = 0; i + step <= pass.music.size(); i += step) {
      bool silent = true;
      for (std::size_t c = i; c < i + step; ++c) {
        const double e = pass.effects[c], m = pass.music[c];
        meter.m_current.effects += e * e;
        meter.m_current.music += m * m;
        silent = silent && std::abs(pass.music[c]) <= kSilence;
      }
      if (!silent) meter.m_heardMusic = true;
      ++meter.m_heard;
      if (silent && meter.m_heardMusic) {
        ++meter.m_run;
      } else {
        if (meter.m_run > kRate / 2000) meter.m_silences.emplace_back(meter.m_heard - 1 - meter.m_run, meter.m_run);
        meter.m_run = 0;
      }
      if (++meter.m_frames == kBlockFrames) {
        meter.m_blocks.push_back(meter.m_current);
        meter.m_current = {};
        meter.m_frames = 0;
      }
    }
  }

  std::mutex m_lock;
  std::vector<Block> m_blocks;
  Block m_current;
  int m_frames = 0;
  bool m_heardMusic = false;
  long m_heard = 0;  // output frames heard
  long m_run = 0;
  std::vector<std::pair<long, long>> m_silences;  // (first frame, length) of each above 0.5 ms
};

double Decibels(double energy) {
  return energy > 0.0 ? 10.0 * std::log10(energy) : -200.0;
}

// Below this mean square (-70 dBFS) the game has stopped its music on purpose (a
// boss's dialogue, say): there is nothing for the effects to drown.
constexpr double kMusicStopped = 32768.0 * 32768.0 * 1e-7;

// Effects minus music, in dB, for every 5 s window in which music plays.
std::vector<double> WindowDifferences(const std::vector<BusMeter::Block>& blocks) {
  std::vector<double> differences;
  for (std::size_t start = 0; start + kWindowBlocks <= blocks.size(); start += kWindowStep) {
    BusMeter::Block sum;
    for (std::size_t i = start; i < start + kWindowBlocks; ++i) {
      sum.effects += blocks[i].effects;
      sum.music += blocks[i].music;
    }
    const double samples = 2.0 * kBlockFrames * kWindowBlocks;
    if (sum.music / samples < kMusicStopped) continue;
    differences.push_back(Decibels(sum.effects) - Decibels(sum.music));
  }
  return differences;
}

// The most starts of each effect within any second, and the frame that second began.
std::map<std::string, std::pair<int, int>> MostStartsPerSecond(
    const std::map<std::string, std::vector<int>>& starts) {
  std::map<std::string, std::pair<int, int>> most;
  for (const auto& [name, frames] : starts) {
    for (std::size_t first = 0, last = 0; last < frames.size(); ++last) {
      while (frames[last] - frames[first] >= kFramesPerSecond) ++first;
      const int count = static_cast<int>(last - first + 1);
      if (count > most[name].first) most[name] = {count, frames[first]};
    }
  }
  return most;
}

struct MixCase {
  const char* level;
  int start;   // the stretch's first frame of the replay
  int frames;  // its length
};

// Each stretch holds what used to be loudest or busiest in its level: the start of
// the Grindlenaut's fight with its drill and earthquake, and the Shredders of the
// factory and the airship. A track end falls in none of them (the music has played
// only as long as the real-time part); LoopsAndTrackChangesPlayWithoutAGap hears
// those, and VANTREL_MIX_WHOLE=1 the levels' own.
const MixCase kCases[] = {
    {"junkyard", 5000, 900},
    {"factory", 5400, 900},
    {"airship", 1900, 900},
};

void PrintTo(const MixCase& mix, std::ostream* out) { *out << mix.level; }

class MixLevelsRunTest : public ::testing::TestWithParam<MixCase> {};

TEST_P(MixLevelsRunTest, EffectsSitUnderTheMusicWithoutStutterOrGap) {
  const MixCase& mix = GetParam();
  const testharness::PlaythroughLevel* level = testharness::FindPlaythroughLevel(mix.level);
  ASSERT_NE(level, nullptr);
  const std::filesystem::path file = testsupport::BinaryDir() / "playthroughs" / (level->name + ".rec");
  std::vector<recording::Record> records;
  {
    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in) << "no recording " << file;
    std::string error;
    ASSERT_TRUE(recording::ReadBinary(in, file.string(), records, error)) << error;
  }
  const bool whole = Setting("VANTREL_MIX_WHOLE");
  const int total = static_cast<int>(recording::TotalFrames(records));
  const int start = whole ? 0 : std::min(mix.start, total);
  const int end = whole ? total : std::min(mix.start + mix.frames, total);

  CountingDevice device(!Setting("VANTREL_MIX_NO_QUEUE"));
  platform::SetAudioDevice(&device);
  {
    BusMeter meter;
    testharness::Playthrough run(*level);
    std::string error;
    ASSERT_TRUE(run.Begin(file.string(), error)) << error;
    while (device.frame < start && run.Game().RunFrames(1) == 1) ++device.frame;
    meter.listening = true;
    device.heard = [&meter] { return meter.Heard(); };
    const bool fast = Setting("VANTREL_MIX_FAST");
    const auto began = std::chrono::steady_clock::now();
    while (device.frame < end && run.Game().RunFrames(1) == 1) {
      ++device.frame;
      if (!fast)
        std::this_thread::sleep_until(began + std::chrono::microseconds(1'000'000LL *
                                                                      (device.frame - start) /
                                                                      kFramesPerSecond));
    }
    meter.listening = false;
    device.heard = nullptr;

    const std::vector<BusMeter::Block> blocks = meter.Blocks();
    std::vector<double> differences = WindowDifferences(blocks);
    ASSERT_FALSE(differences.empty()) << "nothing heard";
    const auto loudest = std::max_element(differences.begin(), differences.end());
    const auto worstAt = static_cast<int>(loudest - differences.begin()) * kWindowStep / 100;
    const double worst = *loudest;
    std::sort(differences.begin(), differences.end());
    const double median = differences[differences.size() / 2];
    // A track's end is reported on the frame after the mixer reached it, give or
    // take an output buffer: the silence it leaves starts a little before.
    double gap = 0.0;
    for (long at : device.trackEndsHeard)
      if (at >= 0) gap = std::max(gap, meter.LongestMusicSilenceMs(at - kRate / 10, at + kRate / 10));
    const double music = Decibels(std::accumulate(blocks.begin(), blocks.end(), 0.0,
                                                  [](double sum, const BusMeter::Block& b) {
                                                    return sum + b.music;
                                                  }) /
                                  (2.0 * kBlockFrames * static_cast<double>(blocks.size()))) -
                         Decibels(32768.0 * 32768.0);
    std::printf("mix %s, frames %d-%d: effects minus music median %.1f dB, worst 5 s %.1f dB (from %d s in); "
                "music %.1f dBFS; %zu track ends, longest silence at one %.1f ms\n"
                "most starts in a second:",
                mix.level, start, end, median, worst, worstAt, music, device.trackEnds.size(), gap);
    for (const auto& [name, most] : MostStartsPerSecond(device.starts)) {
      std::printf(" %s %d (frame %d)", name.c_str(), most.first, most.second);
      EXPECT_LE(most.first, 4) << name;
    }
    std::printf("\ntrack ends at frames:");
    for (int ended : device.trackEnds) std::printf(" %d", ended);
    std::printf("\n");
    EXPECT_LE(median, 3.0);
    EXPECT_LE(worst, 6.0);
    EXPECT_LE(gap, 1.0);
    run.End();
  }
  platform::SetAudioDevice(nullptr);
}

INSTANTIATE_TEST_SUITE_P(ShippedLevels, MixLevelsRunTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.level); });

}  // namespace
