// Input recording files: what a recording holds and how playback reproduces it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "gameio/InputTestEvents.h"

namespace {

using inputtest::PushKey;

struct Masks {
  ActionBits held;
  ActionBits pressed;
  bool operator==(const Masks&) const = default;
};

std::vector<unsigned char> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

class InputRecordingTest : public inputtest::InputFixture {
 protected:
  void SetUp() override {
    InputFixture::SetUp();
    Start();
  }
  Masks Frame() {
    input->Update();
    return {input->IsHeld(0xFFFFFFFF), input->IsPressed(0xFFFFFFFF)};
  }
  // Three idle frames, Jump held for ten, then released.
  std::vector<Masks> PlayJumpForTenFrames() {
    std::vector<Masks> frames;
    for (int i = 0; i < 3; ++i) frames.push_back(Frame());
    PushKey(SDL_SCANCODE_SPACE, true);
    for (int i = 0; i < 10; ++i) frames.push_back(Frame());
    PushKey(SDL_SCANCODE_SPACE, false);
    frames.push_back(Frame());
    frames.push_back(Frame());
    return frames;
  }

  const testsupport::TempDir& dir = config;
};

TEST_F(InputRecordingTest, JumpHeldTenFramesGivesTwoRecordsAndTheEnd) {
  const auto file = dir / "jump.rec";
  ASSERT_TRUE(input->StartRecording(file.string()));
  EXPECT_TRUE(input->IsRecording());
  PlayJumpForTenFrames();
  input->StopRecording();
  EXPECT_FALSE(input->IsRecording());
  const std::vector<unsigned char> expected = {
      4,    0,    0,    0,    0x10, 0,    0,    0,  // went down in the 4th frame
      10,   0,    0,    0,    0,    0,    0,    0,  // came up 10 frames later
      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(ReadBytes(file), expected);
}

TEST_F(InputRecordingTest, PlaybackReproducesTheRecordedMasksOneFrameLater) {
  const auto file = dir / "jump.rec";
  ASSERT_TRUE(input->StartRecording(file.string()));
  const std::vector<Masks> recorded = PlayJumpForTenFrames();
  input->StopRecording();

  ASSERT_TRUE(input->StartPlayback(file.string()));
  EXPECT_TRUE(input->IsPlayingBack());
  std::vector<Masks> played;
  for (std::size_t i = 0; i < recorded.size() + 1; ++i) {
    // Live keys are ignored while a recording plays.
    if (i == 6) PushKey(SDL_SCANCODE_D, true);
    played.push_back(Frame());
  }
  EXPECT_EQ(played[0], (Masks{0, 0}));
  for (std::size_t i = 0; i < recorded.size(); ++i) {
    EXPECT_EQ(played[i + 1], recorded[i]) << "frame " << i;
  }
  EXPECT_FALSE(input->IsPlayingBack()) << "the end record stops playback";
}

TEST_F(InputRecordingTest, DebugNineStaysLiveDuringPlayback) {
  const auto file = dir / "idle.rec";
  WriteBytes(file, {100, 0, 0, 0, 0x10, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
  ASSERT_TRUE(input->StartPlayback(file.string()));
  PushKey(SDL_SCANCODE_9, true);
  PushKey(SDL_SCANCODE_SPACE, true);
  const Masks masks = Frame();
  EXPECT_EQ(masks.held, DEBUG_9);
  EXPECT_EQ(masks.pressed, DEBUG_9);
  input->StopPlayback();
  EXPECT_EQ(input->IsHeld(0xFFFFFFFF), DEBUG_9) << "stopping keeps only the live action";
}

TEST_F(InputRecordingTest, TruncatedRecordingStopsPlaybackWithAMessage) {
  const auto file = dir / "cut.rec";
  WriteBytes(file, {2, 0, 0, 0, 0x10, 0, 0, 0, 5, 0, 0});
  ASSERT_TRUE(input->StartPlayback(file.string()));
  testing::internal::CaptureStderr();
  for (int i = 0; i < 5; ++i) Frame();
  const std::string message = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(input->IsPlayingBack());
  EXPECT_NE(message.find(file.string()), std::string::npos) << message;
  EXPECT_EQ(input->IsHeld(0xFFFFFFFF), 0u);
  // The live devices take over again.
  PushKey(SDL_SCANCODE_SPACE, true);
  EXPECT_EQ(Frame(), (Masks{JUMP, JUMP}));
}

TEST_F(InputRecordingTest, FailedWriteStopsRecording) {
  ASSERT_TRUE(input->StartRecording("/dev/full"));
  testing::internal::CaptureStderr();
  PushKey(SDL_SCANCODE_SPACE, true);
  Frame();
  const std::string message = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(input->IsRecording());
  EXPECT_NE(message.find("/dev/full"), std::string::npos) << message;
}

TEST_F(InputRecordingTest, ShutdownFinishesTheRecording) {
  const auto file = dir / "short.rec";
  ASSERT_TRUE(input->StartRecording(file.string()));
  PushKey(SDL_SCANCODE_SPACE, true);
  Frame();
  input.reset();
  const std::vector<unsigned char> bytes = ReadBytes(file);
  ASSERT_EQ(bytes.size(), 16u);
  EXPECT_EQ(bytes[8], 0xFF);
  EXPECT_EQ(bytes[15], 0xFF);
}

}  // namespace
