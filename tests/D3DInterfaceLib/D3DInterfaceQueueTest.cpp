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
  D3DInterface* Engine() { return D3DInterface::GetEngine(); }

  static ScreenQuad NumberedQuad(int n) {
    ScreenQuad quad;
    for (int i = 0; i < 4; ++i) {
      quad.vertices[i] = {static_cast<float>(n), static_cast<float>(i), 0.1f, 1.0f, 0, 0, 0};
    }
    return quad;
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
  EXPECT_TRUE(D3DInterface::Exists());
  EXPECT_TRUE(D3DInterface::GetEngine()->IsWindowed());
  EXPECT_EQ(D3DInterface::GetEngine()->GetScreenWidth(), 640.0f);
  EXPECT_EQ(D3DInterface::GetEngine()->GetMaxTextureWidth(), 256u);
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
  const float corners[4][2] = {{-0.5f, -0.5f}, {800.5f, -0.5f}, {800.5f, 600.5f}, {-0.5f, 600.5f}};
  for (int i = 0; i < 4; ++i) {
    const ScreenVertex& v = queue[0].vertices[i];
    EXPECT_EQ(v.x, corners[i][0]);
    EXPECT_EQ(v.y, corners[i][1]);
    EXPECT_EQ(v.z, 0.1f);
    EXPECT_EQ(v.rhw, 1.0f);
    EXPECT_EQ(v.color, 0x80FF0000u);
    EXPECT_EQ(v.u + v.v, 0.0f);
  }
  EXPECT_EQ(queue[0].texture, nullptr);
  EXPECT_EQ(queue[1].vertices[0].x, 9.5f);
  EXPECT_EQ(queue[1].vertices[2].y, 580.5f);
}

TEST_F(EngineWithoutWindow, QuadsGoThroughTheVertexBufferInRunsOfThreeHundred) {
  for (int n = 0; n < 301; ++n) Engine()->AddQuad(NumberedQuad(n));
  D3DInterface::Render(nullptr);
  EXPECT_EQ(Engine()->GetLastRunCount(), 2);
  // Quad 300 alone went to the start of the buffer, over what the first run left.
  const auto& buffer = Engine()->GetVertexBuffer();
  EXPECT_EQ(buffer[0].x, 300.0f);
  EXPECT_EQ(buffer[4].x, 1.0f);
  EXPECT_EQ(buffer[1199].x, 299.0f);
  EXPECT_TRUE(Engine()->GetQuadQueue().empty());
  EXPECT_GE(Engine()->GetQuadQueue().capacity(), 300u);

  for (int n = 0; n < 300; ++n) Engine()->AddQuad(NumberedQuad(n));
  D3DInterface::Render(nullptr);
  EXPECT_EQ(Engine()->GetLastRunCount(), 1);
}

TEST_F(EngineWithoutWindow, FontsAreCachedPerExactFaceAndSize) {
  ASSERT_TRUE(Engine()->DrawText("Corsiva", 25, 0, 0, "a", 0xFFFFFFFFu));
  ASSERT_TRUE(Engine()->DrawText("Corsiva", 25, 5, 5, "b", 0xFFFFFFFFu));
  int w = 0, h = 0;
  Engine()->GetTextExtent("Corsiva", 25, "abc", &w, &h);
  EXPECT_EQ(Engine()->GetFontCache().size(), 1u);
  ASSERT_TRUE(Engine()->DrawText("Corsiva", 18, 0, 0, "a", 0xFFFFFFFFu));
  ASSERT_TRUE(Engine()->DrawText("corsiva", 18, 0, 0, "a", 0xFFFFFFFFu));  // case counts
  EXPECT_EQ(Engine()->GetFontCache().size(), 3u);
  const auto& texts = D3DInterface::GetTextQueue();
  EXPECT_EQ(texts[0].font, texts[1].font);
  EXPECT_NE(texts[1].font, texts[2].font);
  // Point sizes become em heights at 96 dots per inch, truncated.
  for (auto [points, pixels] : {std::pair{12, 16}, {25, 33}, {35, 46}, {50, 66}}) {
    ASSERT_TRUE(Engine()->DrawText("Teletype", points, 0, 0, "x", 0xFFFFFFFFu));
    EXPECT_EQ(Engine()->GetFontCache().back().font->PixelHeight(), pixels) << points;
  }
}

TEST_F(EngineWithoutWindow, TextRectangleStartsAtTheTruncatedPositionAndSpansTheExtent) {
  ASSERT_TRUE(Engine()->DrawText("Georgia", 20, 10.9f, -3.7f, "Scores", 0xFF00FF00u));
  ASSERT_TRUE(Engine()->DrawText("Georgia", 20, NAN, 1e20f, "x", 0xFFFFFFFFu));
  int w = -1, h = -1;
  Engine()->GetTextExtent("Georgia", 20, "Scores", &w, &h);
  const QueuedText& text = D3DInterface::GetTextQueue()[0];
  EXPECT_EQ(text.rect.left, 10);
  EXPECT_EQ(text.rect.top, -3);
  EXPECT_EQ(text.rect.right - text.rect.left, w);
  EXPECT_EQ(text.rect.bottom - text.rect.top, h);
  EXPECT_GT(w, 0);
  EXPECT_EQ(h, text.font->Height());
  EXPECT_EQ(D3DInterface::GetTextQueue()[1].rect.left, 0);  // no integer holds NaN
}

TEST_F(EngineWithoutWindow, FontThatCannotBeMadeQueuesNothingAndLeavesOutputsAlone) {
  // 2000 points would be an em of 2666 pixels, beyond what fonts open at.
  EXPECT_FALSE(Engine()->DrawText("", 2000, 0, 0, "x", 0xFFFFFFFFu));
  int w = 123, h = 456;
  Engine()->GetTextExtent("", 2000, "x", &w, &h);
  EXPECT_EQ(w, 123);
  EXPECT_EQ(h, 456);
  EXPECT_TRUE(D3DInterface::GetTextQueue().empty());
  EXPECT_TRUE(Engine()->GetFontCache().empty());
}

TEST_F(EngineWithoutWindow, DestroyingTheEngineDropsTextsQueuedWithItsFonts) {
  ASSERT_TRUE(Engine()->DrawText("", 12, 0, 0, "left over", 0xFFFFFFFFu));
  D3DInterface::Destroy();
  EXPECT_TRUE(D3DInterface::GetTextQueue().empty());
  D3DInterface::Create(nullptr, 800, 600, true);
  D3DInterface::Render(nullptr);  // would otherwise reach the freed font
}
