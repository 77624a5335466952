// Input recording files: what a recording holds and how playback reproduces it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "game/input/InputTestEvents.h"
#include "support/ReadToEnd.h"

namespace {

using Bytes = std::vector<unsigned char>;
using inputtest::Masks;
using inputtest::PushKey;

Bytes ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class InputRecordingTest : public inputtest::InputFixture {
 protected:
  void SetUp() override {
    InputFixture::SetUp();
    Start();
  }
  // Starts playing back a file holding `bytes`.
  void PlayBack(const Bytes& bytes) {
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    ASSERT_TRUE(input->StartPlayback(file.string()));
  }
  std::string Stderr(int frames) {  // what these frames report
    testing::internal::CaptureStderr();
    for (int i = 0; i < frames; ++i) Frame();
    return testing::internal::GetCapturedStderr();
  }

  const std::filesystem::path file = config / "input.rec";
};

TEST_F(InputRecordingTest, JumpHeldTenFramesGivesTwoRecordsAndTheEndAndPlaysBackTheSame) {
  ASSERT_TRUE(input->StartRecording(file.string()));
  EXPECT_TRUE(input->IsRecording());
  std::vector<Masks> recorded;
  for (int frame = 0; frame < 15; ++frame) {  // three idle frames, Jump for ten, released
    if (frame == 3 || frame == 13) PushKey(SDL_SCANCODE_SPACE, frame == 3);
    recorded.push_back(Frame());
  }
  input->StopRecording();
  EXPECT_FALSE(input->IsRecording());
  EXPECT_EQ(ReadBytes(file), (Bytes{4,    0,    0,    0,    0x10, 0,    0,    0,  // 4th frame
                                    10,   0,    0,    0,    0,    0,    0,    0,  // 10 later
                                    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));

  ASSERT_TRUE(input->StartPlayback(file.string()));
  EXPECT_TRUE(input->IsPlayingBack());
  EXPECT_EQ(Frame(), (Masks{0, 0}));  // playback runs a frame behind
  for (std::size_t i = 0; i < recorded.size(); ++i) {
    if (i == 5) PushKey(SDL_SCANCODE_D, true);  // live keys are ignored meanwhile
    EXPECT_EQ(Frame(), recorded[i]) << "frame " << i;
  }
  EXPECT_FALSE(input->IsPlayingBack()) << "the end record stops playback";
}

// A file that ends right after a change (as every recording stopped with keys down
// once did) still applies that change, for one frame.
TEST_F(InputRecordingTest, ChangeJustBeforeTheEndRecordStillPlaysBack) {
  PlayBack({2, 0, 0, 0, 0x10, 0, 0, 0,  //
            0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
  EXPECT_EQ(Frame(), (Masks{0, 0}));  // a frame behind, as always
  EXPECT_EQ(Frame(), (Masks{0, 0}));
  EXPECT_EQ(Frame(), (Masks{JUMP, JUMP}));
  EXPECT_TRUE(input->IsPlayingBack());
  EXPECT_EQ(Frame(), (Masks{0, 0})) << "past the end the live keyboard rules";
  EXPECT_FALSE(input->IsPlayingBack());
  PushKey(SDL_SCANCODE_D, true);
  EXPECT_EQ(Frame(), (Masks{FIRE_GUN, FIRE_GUN}));
}

// A key pressed while a recording plays and let go after it ended leaves nothing
// held: the live keys count from their next press, as after a focus change.
TEST_F(InputRecordingTest, KeyHeldThroughTheEndOfPlaybackIsNotStuckWhenLetGo) {
  PlayBack({2, 0, 0, 0, 0x10, 0, 0, 0,  //
            0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
  PushKey(SDL_SCANCODE_D, true);
  for (int frame = 0; frame < 5; ++frame) Frame();
  ASSERT_FALSE(input->IsPlayingBack());
  EXPECT_EQ(Frame(), (Masks{0, 0}));
  PushKey(SDL_SCANCODE_D, false);
  EXPECT_EQ(Frame(), (Masks{0, 0}));
  PushKey(SDL_SCANCODE_D, true);
  EXPECT_EQ(Frame(), (Masks{FIRE_GUN, FIRE_GUN}));
}

// Jump goes down on the third frame and is still down when the recording stops; the
// replay holds it for as many frames as the recording did, then the live keys rule.
TEST_F(InputRecordingTest, KeysStillHeldWhenTheRecordingStopsPlayBackForAsLong) {
  const struct {
    int heldFrames;
    Bytes bytes;
  } cases[] = {
      {5, {3, 0, 0, 0, 0x10, 0, 0, 0, 4, 0, 0, 0, 0x10, 0, 0, 0,  //
           0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
      // Down on the last frame only: the change record alone covers it, byte for byte
      // what recordings always held.
      {1, {3, 0, 0, 0, 0x10, 0, 0, 0,  //
           0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.heldFrames);
    ASSERT_TRUE(input->StartRecording(file.string()));
    std::vector<Masks> recorded;
    for (int frame = 0; frame < 2 + c.heldFrames; ++frame) {
      if (frame == 2) PushKey(SDL_SCANCODE_SPACE, true);
      recorded.push_back(Frame());
    }
    input->StopRecording();
    PushKey(SDL_SCANCODE_SPACE, false);
    Frame();
    EXPECT_EQ(ReadBytes(file), c.bytes);

    ASSERT_TRUE(input->StartPlayback(file.string()));
    EXPECT_EQ(Frame(), (Masks{0, 0}));  // a frame behind, as always
    for (std::size_t i = 0; i < recorded.size(); ++i)
      EXPECT_EQ(Frame(), recorded[i]) << "frame " << i;
    EXPECT_EQ(Frame(), (Masks{0, 0})) << "then the live keyboard, with Space up";
    EXPECT_FALSE(input->IsPlayingBack());
  }
}

TEST_F(InputRecordingTest, TruncatedRecordingStopsPlaybackWithAMessage) {
  PlayBack({2, 0, 0, 0, 0x10, 0, 0, 0, 5, 0, 0});
  const std::string message = Stderr(5);
  EXPECT_FALSE(input->IsPlayingBack());
  EXPECT_NE(message.find(file.string()), std::string::npos) << message;
  EXPECT_EQ(input->IsHeld(0xFFFFFFFF), 0u);
  PushKey(SDL_SCANCODE_SPACE, true);
  EXPECT_EQ(Frame(), (Masks{JUMP, JUMP})) << "the live devices take over again";
}

TEST_F(InputRecordingTest, FailedWriteStopsRecordingAndShutdownFinishesIt) {
  ASSERT_TRUE(input->StartRecording("/dev/full"));
  PushKey(SDL_SCANCODE_SPACE, true);
  const std::string message = Stderr(1);
  EXPECT_FALSE(input->IsRecording());
  EXPECT_NE(message.find("/dev/full"), std::string::npos) << message;

  ASSERT_TRUE(input->StartRecording(file.string()));
  PushKey(SDL_SCANCODE_D, true);
  Frame();
  input.reset();
  const Bytes bytes = ReadBytes(file);
  ASSERT_EQ(bytes.size(), 16u);
  EXPECT_EQ(bytes[8], 0xFF);
  EXPECT_EQ(bytes[15], 0xFF);
}

// Stands for a file system with no room: writes into a file fail past its first bytes.
class ZeroFileSizeLimit {
 public:
  ZeroFileSizeLimit() {
    getrlimit(RLIMIT_FSIZE, &m_old);
    m_oldSignal = signal(SIGXFSZ, SIG_IGN);  // a failed write, not a killed game
    rlimit none = m_old;
    none.rlim_cur = 0;
    setrlimit(RLIMIT_FSIZE, &none);
  }
  ~ZeroFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_old);
    signal(SIGXFSZ, m_oldSignal);
  }

 private:
  rlimit m_old{};
  void (*m_oldSignal)(int) = nullptr;
};

// What `body` writes on stderr, caught in a pipe, which no file size limit touches.
std::string StderrOf(const std::function<void()>& body) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_NONBLOCK) != 0) return "no pipe";
  std::fflush(stderr);
  const int saved = dup(STDERR_FILENO);
  dup2(pipeEnds[1], STDERR_FILENO);
  body();
  std::fflush(stderr);
  dup2(saved, STDERR_FILENO);
  close(saved);
  close(pipeEnds[1]);
  return testsupport::ReadToEnd(pipeEnds[0]);
}

// A recording whose file fills up, whether at a change or at its end, says so with the
// file and the reason, and stops; it used to say nothing about the end record.
TEST_F(InputRecordingTest, AFailedWriteIsReportedWithTheFileAndTheReason) {
  const std::filesystem::path limited = config / "limited.rec";
  const struct {
    const char* what;
    std::string file;
    bool zeroLimit;
    bool change;  // a key changes before the recording stops
    const char* reason;
  } cases[] = {
      {"full disk, at the end", "/dev/full", false, false, "No space left on device"},
      {"full disk, at a change", "/dev/full", false, true, "No space left on device"},
      {"size limit, at the end", limited.string(), true, false, "File too large"},
      {"size limit, at a change", limited.string(), true, true, "File too large"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(input->StartRecording(c.file));
    const std::string message = StderrOf([&] {
      std::unique_ptr<ZeroFileSizeLimit> limit;
      if (c.zeroLimit) limit = std::make_unique<ZeroFileSizeLimit>();
      if (c.change) {
        PushKey(SDL_SCANCODE_SPACE, true);
        Frame();
        EXPECT_FALSE(input->IsRecording());
      }
      input->StopRecording();
    });
    EXPECT_NE(message.find("\"" + c.file + "\""), std::string::npos) << message;
    EXPECT_NE(message.find(c.reason), std::string::npos) << message;
    EXPECT_EQ(message.find('\n'), message.size() - 1) << "said once: " << message;
    if (c.change) {
      PushKey(SDL_SCANCODE_SPACE, false);
      Frame();
    }
  }
}

TEST_F(InputRecordingTest, AFileThatCannotBeOpenedGivesTheReason) {
  std::string error;
  EXPECT_FALSE(input->StartRecording((config / "no-such-folder" / "run.rec").string(), &error));
  EXPECT_EQ(error, "No such file or directory");
  EXPECT_FALSE(input->IsRecording());
}

}  // namespace
