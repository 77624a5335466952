// Loading opens every font a level's play shows and renders the glyphs it will
// draw, so no play frame pays for SDL_ttf: each level replayed past its first
// texts (the HUD, the tutorial's first messages, the first point messages and
// the airship's dialogue) opens no font and renders no glyph.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "D3DInterfaceLib/D3DInterface.h"
#include "game/world/GameState.h"
#include "game/world/World.h"
#include "harness/Playthrough.h"
#include "platform/Font.h"
#include "support/TempDir.h"

namespace {

struct FontUse {
  std::size_t fonts = 0;
  int glyphs = 0;
};

FontUse CurrentFontUse() {
  FontUse use;
  for (const FontEntry& entry : D3DInterface::GetEngine()->GetFontCache()) {
    ++use.fonts;
    use.glyphs += entry.font->RenderedGlyphCount();
  }
  return use;
}

TEST(PreparedTexts, ReplayedPlayFramesOpenNoFontAndRenderNoGlyph) {
  const struct {
    const char* level;
    int frames;  // past the level's first texts
  } cases[] = {{"junkyard", 300}, {"factory", 300}, {"airship", 6000}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.level);
    const testharness::PlaythroughLevel* level = testharness::FindPlaythroughLevel(c.level);
    ASSERT_NE(level, nullptr);
    const std::filesystem::path file =
        testsupport::BinaryDir() / "playthroughs" / (level->name + ".rec");
    testharness::Playthrough run(*level);
    std::string error;
    ASSERT_TRUE(run.Begin(file.string(), error)) << error;
    const FontUse loaded = CurrentFontUse();
    for (int frame = 1; frame <= c.frames; ++frame) {
      run.Game().RunFrames(1);
      const FontUse now = CurrentFontUse();
      ASSERT_EQ(now.fonts, loaded.fonts) << "a font opened on play frame " << frame;
      ASSERT_EQ(now.glyphs, loaded.glyphs) << "glyphs rendered on play frame " << frame;
      ASSERT_EQ(World::GetState(), STATE_GAMEPLAY) << "frame " << frame;
    }
  }
}

}  // namespace
