#include "harness/ReplayScan.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

#include "animationlib/Animation.h"
#include "animationlib/SpriteCollection.h"
#include "game/hud/HUD.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"

namespace testharness {

namespace {

// What a player reads as play besides the enemies themselves (boss parts spawned as plain
// objects, pickups waiting to be taken).
constexpr std::array<const char*, 7> kAlsoWatched = {
    "Powerup", "OrbRotation", "CorePiece", "AirshipCrate", "AirshipClaw", "GrindlenautArm",
    "GrindlenautDrill"};

bool Watched(GameObject& object) {
  if (object.IsEnemy()) return true;
  return std::any_of(kAlsoWatched.begin(), kAlsoWatched.end(),
                     [&](const char* name) { return object.GetName() == name; });
}

void Include(ScreenBox& box, float x, float y) {
  box.left = std::min(box.left, x), box.right = std::max(box.right, x);
  box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y);
}

constexpr float kHuge = std::numeric_limits<float>::max();

// The box of the sprite's collision polygons (only `polygon` when it is not -1), or of its
// frame when it has none, on the screen.
ScreenBox BoxOnScreen(const Sprite& sprite, int polygon) {
  ScreenBox box{kHuge, kHuge, -kHuge, -kHuge};
  const auto& polygons = sprite.GetCollisionShape().GetPolygons();
  for (std::size_t i = 0; i < polygons.size(); ++i) {
    if (polygon >= 0 && static_cast<int>(i) != polygon) continue;
    for (const auto& vertex : polygons[i].GetVertices()) {
      Include(box, vertex.GetPosition().X(), vertex.GetPosition().Y());
    }
  }
  const Animation* animation = sprite.GetAnimation();
  if (box.left == kHuge && animation && sprite.GetFrame() >= 0 &&
      sprite.GetFrame() < animation->GetFrameCount()) {
    Vector2 offset = animation->GetFrames()[static_cast<std::size_t>(sprite.GetFrame())].GetOffset();
    if (sprite.IsFacingLeft()) offset.SetX(-offset.X());
    const float left = sprite.GetPosition().X() - offset.X() * sprite.GetScaleX();
    const float top = sprite.GetPosition().Y() - offset.Y() * sprite.GetScaleY();
    box = {left, top, left + animation->GetFrameWidth() * sprite.GetScaleX(),
           top + animation->GetFrameHeight() * sprite.GetScaleY()};
  }
  if (box.left == kHuge) return {};
  const Vector2& camera = World::GetCameraOffset();
  return {box.left - camera.X(), box.top - camera.Y(), box.right - camera.X(),
          box.bottom - camera.Y()};
}

// The HUD panel's box on the screen.
ScreenBox PanelBox() {
  GameObject* panel = HUD::FindObject("HUDWindow");
  if (!panel || !panel->GetAnimation()) return {};
  const Animation& animation = *panel->GetAnimation();
  const Vector2 offset = animation.GetFrames().empty() ? Vector2(0.0f, 0.0f)
                                                       : animation.GetFrames()[0].GetOffset();
  const float left = panel->GetPosition().X() - offset.X();
  const float top = panel->GetPosition().Y() - offset.Y();
  return {left, top, left + animation.GetFrameWidth(), top + animation.GetFrameHeight()};
}

void Note(ReplayScan::Fault& fault, int frame) {
  ++fault.frames;
  if (fault.first < 0) fault.first = frame;
}

}  // namespace

float OverlapDepth(const ScreenBox& a, const ScreenBox& b) {
  const float across = std::min(a.right, b.right) - std::max(a.left, b.left);
  const float down = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return std::max(0.0f, std::min(across, down));
}

int FlatBandHeight(const std::vector<std::uint32_t>& argb, int width, int height,
                   const ScreenBox& skip) {
  if (argb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) return 0;
  // The colour of row y when it is one flat colour, or nothing.
  const auto flatColour = [&](int y) -> std::optional<std::uint32_t> {
    const bool skipRow = y >= skip.top && y < skip.bottom;
    const int from = skipRow ? std::clamp(static_cast<int>(skip.right), 0, width) : 0;
    const std::uint32_t* row = argb.data() + static_cast<std::size_t>(y) * width;
    if (from >= width ||
        !std::all_of(row + from, row + width, [&](std::uint32_t p) { return p == row[from]; })) {
      return std::nullopt;
    }
    return row[from];
  };
  // What lies past the painted ground or backdrop shows at the screen's edge; a flat band
  // inside the screen is painted art (a girder, a sky's step).
  const auto runFrom = [&](int y, int step) {
    const auto colour = flatColour(y);
    int rows = 0;
    while (colour && y >= 0 && y < height && flatColour(y) == colour) ++rows, y += step;
    return rows;
  };
  return std::max(runFrom(0, 1), runFrom(height - 1, -1));
}

void ReplayScan::Frame(int frame, const std::vector<std::uint32_t>& argb) {
  const ScreenBox panel = PanelBox();
  constexpr int kWidth = 800, kHeight = 600;
  if (!argb.empty()) {
    const int band = FlatBandHeight(argb, kWidth, kHeight, panel);
    // A band past the screen's middle is a fade filling it on purpose.
    if (band >= kBandRows && band < kHeight / 2) {
      Note(m_bands, frame);
      if (band > m_bands.longest) {
        m_bands.longest = band;
        m_bands.what = std::to_string(band) + " rows at frame " + std::to_string(frame);
      }
    }
  }

  std::vector<Run> runs;
  const auto watch = [&](const Sprite& sprite, const std::string& name, int polygon) {
    if (OverlapDepth(BoxOnScreen(sprite, polygon), panel) <= kOverlapAllowance) return;
    const auto before = std::find_if(m_runs.begin(), m_runs.end(),
                                     [&](const Run& r) { return r.sprite == &sprite; });
    runs.push_back(before != m_runs.end() ? Run{&sprite, name, before->start, before->length + 1}
                                          : Run{&sprite, name, frame, 1});
  };
  PlayerObject* hero = World::GetPlayer();
  if (hero && hero->IsVisible()) watch(*hero, "the hero", 1);
  if (SpriteCollection* objects = World::GetObjects()) {
    for (Sprite* sprite : objects->GetSprites()) {
      GameObject* object = sprite->AsGameObject();
      if (!object || object == hero || !object->IsVisible() || object->IsDead() || !Watched(*object)) {
        continue;
      }
      watch(*object, object->GetName(), -1);
    }
  }
  m_runs = std::move(runs);
  if (m_runs.empty()) return;
  Note(m_underPanel, frame);
  bool lingering = false;
  for (const Run& run : m_runs) {
    lingering = lingering || run.length > kPassFrames;
    if (run.length > kPassFrames) {
      const auto seen = std::find_if(m_lingered.begin(), m_lingered.end(), [&](const Run& r) {
        return r.sprite == run.sprite && r.start == run.start;
      });
      if (seen == m_lingered.end()) {
        m_lingered.push_back(run);
      } else {
        seen->length = run.length;
      }
    }
    if (run.length > m_underPanel.longest) {
      m_underPanel.longest = run.length;
      m_underPanel.what = run.name + " from frame " + std::to_string(run.start);
    }
  }
  m_lingering += lingering ? 1 : 0;
}

std::string ReplayScan::Lingered() const {
  std::string out;
  for (const Run& run : m_lingered) {
    out += "\n  " + run.name + " from frame " + std::to_string(run.start) + " for " +
           std::to_string(run.length);
  }
  return out;
}

}  // namespace testharness
