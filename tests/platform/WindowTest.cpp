#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Window.h"

namespace {

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

  static void Push(SDL_EventType type, SDL_WindowEventID id = SDL_WINDOWEVENT_NONE) {
    SDL_Event sdlEvent{};
    sdlEvent.type = type;
    sdlEvent.window.event = id;
    SDL_PushEvent(&sdlEvent);
  }

  platform::WindowEventType Next() {
    EXPECT_TRUE(window->NextEvent(event));
    return event.type;
  }

  std::unique_ptr<platform::Window> window;
  platform::WindowEvent event;
};

}  // namespace

TEST_F(WindowTest, EventsMapToTheLoopsEventsAndKeysAreDroppedInTurn) {
  Push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST);
  Push(SDL_KEYDOWN);
  Push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_GAINED);
  Push(SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE);
  EXPECT_TRUE(window->HasEvent());
  EXPECT_TRUE(window->HasEvent());  // looking removes nothing
  EXPECT_EQ(Next(), platform::WindowEventType::FocusLost);
  EXPECT_EQ(Next(), platform::WindowEventType::Other);
  EXPECT_EQ(Next(), platform::WindowEventType::FocusGained);
  EXPECT_EQ(Next(), platform::WindowEventType::Quit);
  EXPECT_FALSE(window->HasEvent());
  window->WaitForEvent(0);  // nothing to wait for: returns at once
}

TEST_F(WindowTest, RepeatedQuitRequestsQueueOneQuit) {
  window->PostQuit();
  window->PostQuit();
  EXPECT_EQ(Next(), platform::WindowEventType::Quit);
  EXPECT_FALSE(window->NextEvent(event));
  window->PostQuit();  // once fetched, a new request queues again
  EXPECT_EQ(Next(), platform::WindowEventType::Quit);
}

TEST(WindowWithoutDisplay, OpenFailsWithAOneLineReason) {
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) GTEST_SKIP() << "video already started in this process";
  const char* previous = std::getenv("SDL_VIDEODRIVER");
  const std::string saved = previous != nullptr ? previous : "";
  setenv("SDL_VIDEODRIVER", "no-such-display", 1);
  std::string error;
  auto window = platform::Window::Open("Vantrel", 40, 40, 800, 600, true, error);
  if (previous != nullptr) {
    setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
  } else {
    unsetenv("SDL_VIDEODRIVER");
  }
  EXPECT_FALSE(window);
  EXPECT_NE(error.find("display"), std::string::npos) << error;
  EXPECT_EQ(error.find('\n'), std::string::npos);
}
