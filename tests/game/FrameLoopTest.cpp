#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "game/FrameLoop.h"
#include "platform/Clock.h"

namespace {

// A message queue and a frame counter standing in for the window and the game.
class FakeHost : public FrameLoop::Host {
 public:
  bool HasEvent() override { return !events.empty(); }
  bool DispatchEvent() override {
    const bool quit = events.front();
    events.pop_front();
    ++dispatched;
    return !quit;
  }
  void RunFrame() override { ++frames; }
  void WaitForEvent(int timeoutMs) override { waits.push_back(timeoutMs); }

  void Post(int count = 1) { events.insert(events.end(), count, false); }
  void PostQuit() { events.push_back(true); }

  std::deque<bool> events;  // true marks the quit request
  int dispatched = 0;
  int frames = 0;
  std::vector<int> waits;
};

class FrameLoopTest : public ::testing::Test {
 protected:
  static constexpr std::int64_t kFrequency = 1'000'000;
  static constexpr std::int64_t kPeriod = kFrequency / 60;  // 16666

  FrameLoopTest() : clock(kFrequency) {
    clock.Set(5'000'000);
    platform::SetClock(&clock);
  }
  ~FrameLoopTest() override { platform::SetClock(nullptr); }

  platform::VirtualClock clock;
  FakeHost host;
};

TEST_F(FrameLoopTest, FrameRunsOnlyOnceAWholePeriodHasPassed) {
  FrameLoop loop(host);
  loop.Start();
  clock.Advance(kPeriod - 1);
  EXPECT_NE(loop.RunOnce(), FrameLoop::Step::Frame);
  EXPECT_EQ(host.frames, 0);

  clock.Advance(1);
  EXPECT_EQ(loop.RunOnce(), FrameLoop::Step::Frame);
  EXPECT_EQ(host.frames, 1);
  EXPECT_EQ(loop.LastFrameStart(), 5'000'000 + kPeriod);
}

TEST_F(FrameLoopTest, LateFrameIsNotMadeUpAndShiftsTheNextOne) {
  FrameLoop loop(host);
  loop.Start();
  clock.Advance(5 * kPeriod + 100);
  EXPECT_EQ(loop.RunOnce(), FrameLoop::Step::Frame);
  // Five periods late, still only one frame; the next is due a period after this one.
  EXPECT_NE(loop.RunOnce(), FrameLoop::Step::Frame);
  clock.Advance(kPeriod - 1);
  EXPECT_NE(loop.RunOnce(), FrameLoop::Step::Frame);
  clock.Advance(1);
  EXPECT_EQ(loop.RunOnce(), FrameLoop::Step::Frame);
  EXPECT_EQ(host.frames, 2);
}

TEST_F(FrameLoopTest, CounterRunningBackwardsRunsFrameAtOnce) {
  FrameLoop loop(host);
  loop.Start();
  clock.Set(4'000'000);
  EXPECT_EQ(loop.RunOnce(), FrameLoop::Step::Frame);
  EXPECT_EQ(loop.LastFrameStart(), 4'000'000);
  // From the new start the usual period applies again.
  EXPECT_NE(loop.RunOnce(), FrameLoop::Step::Frame);
  clock.Advance(kPeriod);
  EXPECT_EQ(loop.RunOnce(), FrameLoop::Step::Frame);
}

TEST_F(FrameLoopTest, BurstOfMessagesDelaysFramesThenExactlyOneRuns) {
  FrameLoop loop(host);
  loop.Start();
  host.Post(12);
  clock.Advance(4 * kPeriod);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(loop.RunOnce(), FrameLoop::Step::Event);
  EXPECT_EQ(host.frames, 0);
  EXPECT_EQ(loop.RunOnce(), FrameLoop::Step::Frame);
  EXPECT_EQ(loop.RunOnce(), FrameLoop::Step::Waited);
  EXPECT_EQ(host.frames, 1);
}

TEST_F(FrameLoopTest, WaitSleepsForTheRestOfThePeriodKeepingTheLastMillisecond) {
  FrameLoop loop(host);
  loop.Start();
  EXPECT_EQ(loop.RunOnce(), FrameLoop::Step::Waited);
  clock.Advance(10'000);  // 6666 counts left: 6 ms
  EXPECT_EQ(loop.RunOnce(), FrameLoop::Step::Waited);
  ASSERT_EQ(host.waits.size(), 2u);
  EXPECT_EQ(host.waits[0], 15);
  EXPECT_EQ(host.waits[1], 5);

  // Under two milliseconds left: poll without sleeping.
  clock.Advance(5'000);
  EXPECT_EQ(loop.RunOnce(), FrameLoop::Step::Polled);
  EXPECT_EQ(host.waits.size(), 2u);
}

TEST_F(FrameLoopTest, QuitEndsTheLoopWithoutAnotherFrame) {
  FrameLoop loop(host);
  loop.Start();
  clock.Advance(kPeriod);
  host.PostQuit();
  host.Post();  // never fetched
  loop.Run();
  EXPECT_TRUE(loop.QuitRequested());
  EXPECT_EQ(host.frames, 0);
  EXPECT_EQ(host.dispatched, 1);
  EXPECT_EQ(loop.RunOnce(), FrameLoop::Step::Quit);
  EXPECT_EQ(host.frames, 0);
}

}  // namespace
