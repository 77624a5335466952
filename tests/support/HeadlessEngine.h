// A test fixture with a headless window and the graphics engine on it, for tests
// that queue quads with real textures or read whole frames back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "D3DInterfaceLib/D3DInterface.h"
#include "platform/Gfx.h"
#include "platform/Window.h"

namespace testsupport {

class HeadlessEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    std::string error;
    window = platform::Window::Open("Vantrel", 40, 40, 800, 600, true, error);
    ASSERT_TRUE(window) << error;
    D3DInterface::Create(window.get(), 800, 600, true);
    ASSERT_NE(Engine()->GetDevice(), nullptr);
  }
  void TearDown() override {
    if (D3DInterface::Exists()) D3DInterface::Destroy();
  }

  static D3DInterface* Engine() { return D3DInterface::GetEngine(); }
  static const std::vector<ScreenQuad>& Quads() { return Engine()->GetQuadQueue(); }
  void RenderAndRead() {
    D3DInterface::Render(window.get());
    ASSERT_TRUE(Engine()->GetDevice()->ReadPixels(frame));
  }
  std::uint32_t Pixel(int x, int y) const {
    return frame[static_cast<std::size_t>(y) * 800 + static_cast<std::size_t>(x)];
  }

  std::unique_ptr<platform::Window> window;
  std::vector<std::uint32_t> frame;
};

}  // namespace testsupport
