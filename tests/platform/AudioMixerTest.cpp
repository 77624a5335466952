// The SDL2_mixer device on SDL's silent driver: decoding, channel volumes and
// stream ends. Waits poll for an outcome; nothing asserts on how long it took.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/Audio.h"
#include "platform/AudioTestFiles.h"
#include "support/TempDir.h"

namespace {

using platform::AudioDevice;

struct EndLog {
  std::vector<std::thread::id> threads;
};

bool RecordEnd(platform::AudioStream*, void* userData) {
  static_cast<EndLog*>(userData)->threads.push_back(std::this_thread::get_id());
  return true;
}

class MixerDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    device = platform::CreateMixerAudioDevice();
    device->Init(44100, 32);
    audiotest::WriteToneWav(dir / "short.wav", 40);
    audiotest::WriteToneWav(dir / "long.wav", 5000);
  }
  void TearDown() override { device->Close(); }

  std::string File(const std::string& name) const { return (dir / name).string(); }

  // Dispatches ends until `done` holds or a generous deadline passes.
  template <typename Done>
  void DispatchUntil(Done done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
      device->DispatchStreamEnds();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }

  testsupport::TempDir dir;
  std::unique_ptr<AudioDevice> device;
};

TEST_F(MixerDevice, DecodableFilesLoadAndEverythingElseFailsQuietly) {
  audiotest::WriteText(dir / "garbage.wav", "not a sound at all");
  audiotest::WriteText(dir / "bank.fsb", "FSB4 but not really");
  audiotest::WriteText(dir / "score.sgt", "RIFF????DMSG");

  EXPECT_NE(device->LoadSample(File("short.wav")), nullptr);
  EXPECT_NE(device->OpenStream(File("short.wav"), false), nullptr);
  EXPECT_EQ(device->LoadSample(File("missing.wav")), nullptr);
  EXPECT_EQ(device->LoadSample(File("garbage.wav")), nullptr);
  EXPECT_EQ(device->OpenStream(File("missing.ogg"), false), nullptr);
  EXPECT_EQ(device->LoadSong(File("bank.fsb")), nullptr);
  EXPECT_EQ(device->LoadSong(File("score.sgt")), nullptr);
  EXPECT_EQ(device->LoadSong(File("missing.xm")), nullptr);
  EXPECT_EQ(device->PlaySample(nullptr), AudioDevice::kNoChannel);
  EXPECT_EQ(device->PlayStream(nullptr), AudioDevice::kNoChannel);
}

TEST_F(MixerDevice, ModulePlaysInTheMusicSlot) {
  audiotest::WriteTinyModule(dir / "tiny.mod");
  platform::AudioSong* song = device->LoadSong(File("tiny.mod"));
  ASSERT_NE(song, nullptr);
  EXPECT_TRUE(device->PlaySong(song));
  EXPECT_TRUE(Mix_PlayingMusic());
  device->FreeSong(song);
  EXPECT_FALSE(Mix_PlayingMusic());
  EXPECT_FALSE(device->PlaySong(song));
}

TEST_F(MixerDevice, ChannelVolumesReadBackExactlyUntilTheSoundGoes) {
  platform::AudioSample* sample = device->LoadSample(File("long.wav"));
  const int channel = device->PlaySample(sample);
  ASSERT_NE(channel, AudioDevice::kNoChannel);
  EXPECT_EQ(device->GetVolume(channel), 255);
  for (int volume : {0, 1, 63, 127, 200, 254}) {
    device->SetVolume(channel, volume);
    EXPECT_EQ(device->GetVolume(channel), volume);
  }
  device->SetVolume(channel, 300);
  EXPECT_EQ(device->GetVolume(channel), 255);
  device->SetVolume(channel, -4);
  EXPECT_EQ(device->GetVolume(channel), 0);

  platform::AudioStream* stream = device->OpenStream(File("long.wav"), true);
  const int streamChannel = device->PlayStream(stream);
  device->SetAllVolumes(127);
  EXPECT_EQ(device->GetVolume(channel), 127);
  EXPECT_EQ(device->GetVolume(streamChannel), 127);

  // A handle kept after its sound went reaches nothing, not even a newer
  // sound on the same mixing channel.
  device->FreeSample(sample);
  device->StopStream(stream);
  EXPECT_EQ(device->GetVolume(channel), 0);
  const int reused = device->PlayStream(stream);
  ASSERT_NE(reused, AudioDevice::kNoChannel);
  device->SetVolume(channel, 90);
  device->SetVolume(streamChannel, 90);
  EXPECT_EQ(device->GetVolume(reused), 255);
  EXPECT_EQ(device->GetVolume(channel), 0);
  EXPECT_EQ(device->GetVolume(AudioDevice::kNoChannel), 0);
}

TEST_F(MixerDevice, EffectsMasterScalesTheMixWithoutChangingChannelVolumes) {
  platform::AudioStream* stream = device->OpenStream(File("long.wav"), true);
  const int channel = device->PlayStream(stream);
  const int mixChannel = channel & 0xFF;  // the channel handle's low byte
  EXPECT_EQ(Mix_Volume(mixChannel, -1), MIX_MAX_VOLUME);
  device->SetSfxMasterVolume(100);
  EXPECT_EQ(device->GetVolume(channel), 255);
  EXPECT_EQ(Mix_Volume(mixChannel, -1), 100 * MIX_MAX_VOLUME / 255);
  device->SetVolume(channel, 51);
  EXPECT_EQ(Mix_Volume(mixChannel, -1), 51 * 100 * MIX_MAX_VOLUME / (255 * 255));
}

TEST_F(MixerDevice, AllChannelsBusyMeansNoChannel) {
  platform::AudioSample* sample = device->LoadSample(File("long.wav"));
  std::vector<int> channels;
  for (int i = 0; i < 32; ++i) channels.push_back(device->PlaySample(sample));
  for (int channel : channels) ASSERT_NE(channel, AudioDevice::kNoChannel);
  EXPECT_EQ(device->PlaySample(sample), AudioDevice::kNoChannel);
}

TEST_F(MixerDevice, StreamEndIsReportedOnceOnTheDispatchingThread) {
  platform::AudioStream* stream = device->OpenStream(File("short.wav"), false);
  EXPECT_EQ(device->GetStreamOpenState(stream), AudioDevice::kStreamReady);
  EndLog log;
  device->SetStreamEndCallback(stream, &RecordEnd, &log);
  device->RewindStream(stream);
  ASSERT_NE(device->PlayStream(stream), AudioDevice::kNoChannel);
  DispatchUntil([&log] { return !log.threads.empty(); });
  ASSERT_EQ(log.threads.size(), 1u);
  EXPECT_EQ(log.threads.front(), std::this_thread::get_id());

  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  device->DispatchStreamEnds();
  EXPECT_EQ(log.threads.size(), 1u);
}

TEST_F(MixerDevice, StoppedClosedAndLoopingStreamsReportNoEnd) {
  EndLog log;
  platform::AudioSample* click = device->LoadSample(File("short.wav"));
  platform::AudioStream* stopped = device->OpenStream(File("short.wav"), false);
  platform::AudioStream* closed = device->OpenStream(File("short.wav"), false);
  platform::AudioStream* looping = device->OpenStream(File("short.wav"), true);
  for (platform::AudioStream* stream : {stopped, closed, looping}) {
    device->SetStreamEndCallback(stream, &RecordEnd, &log);
    device->PlayStream(stream);
  }
  // Long enough for the short tone to end many times over; the outcome is the
  // same whether or not it has.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  device->PlaySample(click);  // takes a channel, so finished ones are noticed
  device->StopStream(stopped);
  device->CloseStream(closed);
  device->DispatchStreamEnds();
  EXPECT_TRUE(log.threads.empty());
}

}  // namespace
