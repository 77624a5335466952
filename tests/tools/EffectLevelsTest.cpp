// The shipped effects, as the data build synthesises them, sit in one band of
// loudness around the music's level, so none drowns the music or gets lost in it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "SoundSynth.h"
#include "support/TempDir.h"

namespace {

// The loudest tenth of a second of each effect, in dB of full scale. The music
// plays at about -16 dBFS (RMS), so the band straddles it.
constexpr double kQuietest = -20.0;
constexpr double kLoudest = -14.0;

double LoudestTenthDecibels(const std::vector<float>& samples, int rate) {
  const std::size_t window = static_cast<std::size_t>(rate / 10);
  double sum = 0.0, best = 0.0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    sum += double{samples[i]} * samples[i];
    if (i >= window) sum -= double{samples[i - window]} * samples[i - window];
    best = std::max(best, sum);
  }
  return 10.0 * std::log10(std::max(best, 1e-12) / static_cast<double>(window));
}

TEST(EffectLevels, EveryEffectsLoudestTenthOfASecondSitsInTheBand) {
  const auto path = testsupport::SourceDir() / "assets/sounds/effects.snd";
  std::ifstream in(path);
  ASSERT_TRUE(in) << path;
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  const auto recipes = assetgen::ParseSoundRecipes(text, path.string());
  ASSERT_FALSE(recipes.empty());
  for (const assetgen::SoundRecipe& recipe : recipes) {
    const double level = LoudestTenthDecibels(assetgen::Synthesize(recipe), recipe.rate);
    EXPECT_GE(level, kQuietest) << recipe.name;
    EXPECT_LE(level, kLoudest) << recipe.name;
  }
}

}  // namespace
