// The queues, font cache and singleton without a display: an engine made with no
// window queues and measures but draws nothing.
#include <gtest/gtest.h>

#include "D3DInterfaceLib/D3DInterface.h"
#include "platform/Font.h"

namespace {

class EngineWithoutWindow : public ::testing::Test {
 protected:
  void SetUp() override { D3DInterface::Create(nullptr, 800, 600, true); }
  void TearDown() override {
    if (D3DInterface::Exists()) D3DInterface::Destroy();
  }
  static D3DInterface* Engine() { return D3DInterface::GetEngine(); }
  static bool Draw(const std::string& face, int size, const std::string& text = "x", float x = 0,
                   float y = 0) {
    return Engine()->DrawText(face, size, x, y, text, 0xFFFFFFFFu);
  }
  static void AddQuads(int count) {
    for (int n = 0; n < count; ++n) {
      ScreenQuad quad;
      for (auto& vertex : quad.vertices) vertex = {static_cast<float>(n), 0, 0.1f, 1, 0, 0, 0};
      Engine()->AddQuad(quad);
    }
  }
};

}  // namespace

TEST(EngineSingletonDeathTest, ExistsOnlyBetweenCreateAndDestroyAndMisuseAsserts) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_FALSE(D3DInterface::Exists());
  EXPECT_DEATH(D3DInterface::GetEngine(),
               "Assertion failed: spEngine, file D3DInterfaceLib/D3DInterface.h, line [0-9]+");
  EXPECT_DEATH(D3DInterface::Destroy(), "Assertion failed: spEngine, file D3DInterfaceLib/");
  EXPECT_DEATH(D3DInterface::ClearQuads(), "Assertion failed: spEngine");
  D3DInterface::Create(nullptr, 640, 480, false);
  EXPECT_TRUE(D3DInterface::GetEngine()->IsWindowed());
  EXPECT_DEATH(D3DInterface::Create(nullptr, 800, 600, true),
               "Assertion failed: !spEngine, file D3DInterfaceLib/D3DInterface.h, line [0-9]+");
  D3DInterface::Destroy();
  EXPECT_FALSE(D3DInterface::Exists());
}

TEST_F(EngineWithoutWindow, FillScreenCoversThePixelCentresOfTheWholeScreen) {
  Engine()->FillScreen(Vector2(0.0f, 0.0f), 0x80FF0000u);
  Engine()->FillScreen(Vector2(10.0f, -20.0f), 0xFF000000u);
  const auto& queue = Engine()->GetQuadQueue();
  ASSERT_EQ(queue.size(), 2u);
  EXPECT_EQ(queue[0].texture, nullptr);
  const float corners[4][2] = {{-0.5f, -0.5f}, {800.5f, -0.5f}, {800.5f, 600.5f}, {-0.5f, 600.5f}};
  for (int i = 0; i < 4; ++i) {
    const ScreenVertex& v = queue[0].vertices[i];
    EXPECT_EQ(std::tuple(v.x, v.y, v.z, v.rhw, v.color, v.u, v.v),
              std::tuple(corners[i][0], corners[i][1], 0.1f, 1.0f, 0x80FF0000u, 0.0f, 0.0f));
  }
  EXPECT_EQ(queue[1].vertices[0].x, 9.5f);
  EXPECT_EQ(queue[1].vertices[2].y, 580.5f);
}

TEST_F(EngineWithoutWindow, QuadsGoThroughTheVertexBufferInRunsOfThreeHundred) {
  AddQuads(301);
  D3DInterface::Render(nullptr);
  EXPECT_EQ(Engine()->GetLastRunCount(), 2);
  // Quad 300 alone went to the start of the buffer, over what the first run left.
  const auto& buffer = Engine()->GetVertexBuffer();
  EXPECT_EQ(buffer[0].x, 300.0f);
  EXPECT_EQ(buffer[4].x, 1.0f);
  EXPECT_EQ(buffer[1199].x, 299.0f);
  EXPECT_TRUE(Engine()->GetQuadQueue().empty());
  AddQuads(300);
  D3DInterface::Render(nullptr);
  EXPECT_EQ(Engine()->GetLastRunCount(), 1);
}

TEST_F(EngineWithoutWindow, FontsAreCachedPerExactFaceAndSizeAtNinetySixDpi) {
  ASSERT_TRUE(Draw("Corsiva", 25, "a"));
  ASSERT_TRUE(Draw("Corsiva", 25, "b"));
  int w = 0, h = 0;
  Engine()->GetTextExtent("Corsiva", 25, "abc", &w, &h);
  EXPECT_EQ(Engine()->GetFontCache().size(), 1u);
  ASSERT_TRUE(Draw("Corsiva", 18));
  ASSERT_TRUE(Draw("corsiva", 18));  // case counts
  EXPECT_EQ(Engine()->GetFontCache().size(), 3u);
  const auto& texts = D3DInterface::GetTextQueue();
  EXPECT_EQ(texts[0].font, texts[1].font);
  EXPECT_NE(texts[1].font, texts[2].font);
  // Point sizes become em heights at 96 dots per inch, truncated.
  for (auto [points, pixels] : {std::pair{12, 16}, {25, 33}, {35, 46}, {50, 66}}) {
    ASSERT_TRUE(Draw("Teletype", points));
    EXPECT_EQ(Engine()->GetFontCache().back().font->PixelHeight(), pixels) << points;
  }
}

TEST_F(EngineWithoutWindow, TextRectangleStartsAtTheTruncatedPositionAndSpansTheExtent) {
  ASSERT_TRUE(Draw("Georgia", 20, "Scores", 10.9f, -3.7f));
  ASSERT_TRUE(Draw("Georgia", 20, "x", NAN, 1e20f));
  int w = -1, h = -1;
  Engine()->GetTextExtent("Georgia", 20, "Scores", &w, &h);
  const QueuedText& text = D3DInterface::GetTextQueue()[0];
  EXPECT_GT(w, 0);
  EXPECT_EQ(h, text.font->Height());
  EXPECT_EQ(std::tuple(text.rect.left, text.rect.top, text.rect.right, text.rect.bottom),
            std::tuple(10, -3, 10 + w, -3 + h));
  EXPECT_EQ(D3DInterface::GetTextQueue()[1].rect.left, 0);  // no integer holds NaN
}

TEST_F(EngineWithoutWindow, FontThatCannotBeMadeOrIsGoneLeavesNoTextQueued) {
  // 2000 points would be an em of 2666 pixels, beyond what fonts open at.
  EXPECT_FALSE(Draw("", 2000));
  int w = 123, h = 456;
  Engine()->GetTextExtent("", 2000, "x", &w, &h);
  EXPECT_EQ(std::pair(w, h), std::pair(123, 456));
  EXPECT_TRUE(D3DInterface::GetTextQueue().empty());
  EXPECT_TRUE(Engine()->GetFontCache().empty());

  // Texts queued with a destroyed engine's fonts go with it.
  ASSERT_TRUE(Draw("", 12, "left over"));
  D3DInterface::Destroy();
  EXPECT_TRUE(D3DInterface::GetTextQueue().empty());
  D3DInterface::Create(nullptr, 800, 600, true);
  D3DInterface::Render(nullptr);  // would otherwise reach the freed font
}
