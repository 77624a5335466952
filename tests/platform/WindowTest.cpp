#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Clock.h"
#include "platform/Window.h"

namespace {

using platform::WindowEventType;

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    std::string error;
    window = platform::Window::Open("Vantrel", 40, 40, 800, 600, false, error);
    ASSERT_TRUE(window) << error;
    while (window->NextEvent(event)) {
    }
  }
  WindowEventType Next() {
    EXPECT_TRUE(window->NextEvent(event));
    return event.type;
  }

  std::unique_ptr<platform::Window> window;
  platform::WindowEvent event;
};

}  // namespace

TEST_F(WindowTest, EventsMapToTheLoopsEventsAndKeysAreDroppedInTurn) {
  for (auto [type, id] : {std::pair{SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST},
                          {SDL_KEYDOWN, SDL_WINDOWEVENT_NONE},
                          {SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_GAINED},
                          {SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE}}) {
    SDL_Event sdlEvent{};
    sdlEvent.type = type;
    sdlEvent.window.event = id;
    SDL_PushEvent(&sdlEvent);
  }
  EXPECT_TRUE(window->HasEvent());
  EXPECT_TRUE(window->HasEvent());  // looking removes nothing
  for (WindowEventType type : {WindowEventType::FocusLost, WindowEventType::Other,
                               WindowEventType::FocusGained, WindowEventType::Quit}) {
    EXPECT_EQ(Next(), type);
  }
  EXPECT_FALSE(window->HasEvent());
  window->WaitUntil(platform::QueryCounter());  // nothing to wait for: returns at once
}

TEST_F(WindowTest, RepeatedQuitRequestsQueueOneQuit) {
  window->PostQuit();
  window->PostQuit();
  EXPECT_EQ(Next(), WindowEventType::Quit);
  EXPECT_FALSE(window->NextEvent(event));
  window->PostQuit();  // once fetched, a new request queues again
  EXPECT_EQ(Next(), WindowEventType::Quit);
}

// How many more events the queue takes; it is left as it was.
int QueueRoom() {
  SDL_Event filler{};
  filler.type = SDL_USEREVENT;
  int room = 0;
  while (SDL_PushEvent(&filler) == 1) ++room;
  SDL_FlushEvent(SDL_USEREVENT);
  return room;
}

TEST_F(WindowTest, WaitingLeavesTheQueueAsItWasAndAnEventEndsItAtOnce) {
  const int room = QueueRoom();
  const std::int64_t millisecond = platform::QueryFrequency() / 1000;
  for (int i = 0; i < 3; ++i) window->WaitUntil(platform::QueryCounter() + 20 * millisecond);
  EXPECT_EQ(QueueRoom(), room);

  window->PostQuit();
  const std::int64_t start = platform::QueryCounter();
  window->WaitUntil(start + 10'000 * millisecond);
  EXPECT_LT(platform::QueryCounter() - start, 1'000 * millisecond);
  EXPECT_EQ(Next(), WindowEventType::Quit);
}

TEST(WindowWithoutDisplay, OpenFailsWithAOneLineReason) {
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) GTEST_SKIP() << "video already started in this process";
  setenv("SDL_VIDEODRIVER", "no-such-display", 1);
  std::string error;
  auto window = platform::Window::Open("Vantrel", 40, 40, 800, 600, true, error);
  setenv("SDL_VIDEODRIVER", "dummy", 1);  // what every other test here runs on
  EXPECT_FALSE(window);
  EXPECT_NE(error.find("display"), std::string::npos) << error;
  EXPECT_EQ(error.find('\n'), std::string::npos);
}
