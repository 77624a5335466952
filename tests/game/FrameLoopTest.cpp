// The 60 Hz pacing of the program entry on a virtual clock: no catch-up, a
// counter running backwards, messages first, sleeping until the frame is due.
#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <vector>

#include "game/FrameLoop.h"
#include "platform/Clock.h"

namespace {

using Step = FrameLoop::Step;

// A message queue and a frame counter standing in for the window and the game.
class FakeHost : public FrameLoop::Host {
 public:
  bool HasEvent() override { return !events.empty(); }
  bool DispatchEvent() override {
    const bool quit = events.front();
    events.pop_front();
    return !quit;
  }
  void RunFrame() override { ++frames; }
  void WaitUntil(std::int64_t deadline) override { waits.push_back(deadline); }

  std::deque<bool> events;  // true marks the quit request
  int frames = 0;
  std::vector<std::int64_t> waits;
};

class FrameLoopTest : public ::testing::Test {
 protected:
  static constexpr std::int64_t kStart = 5'000'000;
  static constexpr std::int64_t kPeriod = 1'000'000 / 60;  // 16666 counts

  FrameLoopTest() {
    clock.Set(kStart);
    platform::SetClock(&clock);
    loop.emplace(host);  // reads the frequency
    loop->Start();
  }
  ~FrameLoopTest() override { platform::SetClock(nullptr); }

  // One pass of the loop `counts` after the previous one.
  Step After(std::int64_t counts) {
    clock.Advance(counts);
    return loop->RunOnce();
  }

  platform::VirtualClock clock{1'000'000};
  FakeHost host;
  std::optional<FrameLoop> loop;
};

TEST_F(FrameLoopTest, FrameIsDueAfterAWholePeriodAndLateFramesAreNotMadeUp) {
  EXPECT_EQ(After(kPeriod - 1), Step::Waited);
  EXPECT_EQ(After(1), Step::Frame);
  EXPECT_EQ(loop->LastFrameStart(), kStart + kPeriod);
  // Five periods late: one frame, and the next is due a period after it.
  EXPECT_EQ(After(5 * kPeriod), Step::Frame);
  EXPECT_EQ(After(0), Step::Waited);
  EXPECT_EQ(After(kPeriod - 1), Step::Waited);
  EXPECT_EQ(After(1), Step::Frame);
  // A counter running backwards runs the frame at once and restarts the period there.
  EXPECT_EQ(After(-kPeriod), Step::Frame);
  EXPECT_EQ(loop->LastFrameStart(), kStart + 6 * kPeriod);
  EXPECT_EQ(After(kPeriod - 1), Step::Waited);
  EXPECT_EQ(After(1), Step::Frame);
  EXPECT_EQ(host.frames, 5);
}

TEST_F(FrameLoopTest, WaitSleepsUntilTheFrameIsDueHoweverLittleIsLeft) {
  EXPECT_EQ(After(0), Step::Waited);
  EXPECT_EQ(After(10'000), Step::Waited);
  EXPECT_EQ(After(kPeriod - 10'001), Step::Waited);  // one count left
  EXPECT_EQ(host.waits, std::vector<std::int64_t>(3, kStart + kPeriod));
  EXPECT_EQ(After(1), Step::Frame);
}

TEST_F(FrameLoopTest, MessagesComeFirstThenOneFrameAndQuitEndsWithoutAnother) {
  host.events.assign(12, false);
  clock.Advance(4 * kPeriod);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(loop->RunOnce(), Step::Event);
  EXPECT_EQ(host.frames, 0);
  EXPECT_EQ(loop->RunOnce(), Step::Frame);
  EXPECT_EQ(loop->RunOnce(), Step::Waited);

  clock.Advance(kPeriod);
  host.events = {true, false};  // the message after the quit is never fetched
  loop->Run();
  EXPECT_TRUE(loop->QuitRequested());
  EXPECT_EQ(loop->RunOnce(), Step::Quit);
  EXPECT_EQ(host.frames, 1);
  EXPECT_EQ(host.events.size(), 1u);
}

}  // namespace
