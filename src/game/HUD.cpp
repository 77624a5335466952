// The HUD: its animations and parts, gauges, orbs, score and time.
#include "game/HUD.h"

#include "animationlib/AnimationCollection.h"
#include "game/GameObject.h"

const char* const HUD::kAnimationFiles[HUD::kAnimationCount] = {
    "animations/orbs.acd",          "animations/CrackedOrb.acd",    "animations/BreakWhiteOrb.acd",
    "animations/BreakRedOrb.acd",   "animations/BreakGreenOrb.acd", "animations/BreakBlueOrb.acd",
    "animations/HUDWindow.acd",     "animations/CoreStart.acd",     "animations/CoreDefault.acd",
    "animations/CoreStride.acd",    "animations/CoreWallJump.acd",  "animations/CoreCyclone.acd",
    "animations/CoreSuperJump.acd", "animations/EnergyBar.acd",     "animations/EnergyMeter.acd",
    "animations/HUDLabel.acd",
};

std::unique_ptr<HUD> HUD::Create(std::string& error) {
  error = "the HUD is not built yet";
  return nullptr;
}

HUD::HUD(std::unique_ptr<AnimationCollection> animations) : m_animations(std::move(animations)) {
  spMe = this;
}

HUD::~HUD() {
  spMe = nullptr;
}

SpriteCollection* HUD::GetObjects() { return s_objects.get(); }
void HUD::SetMask(int mask) {
  if (s_objects) s_objects->SetMask(mask);
}
void HUD::AddSprite(Sprite* sprite) {
  if (s_objects) s_objects->Add(sprite);
  else delete sprite;
}
GameObject* HUD::FindObject(const std::string& name) {
  return s_objects ? static_cast<GameObject*>(s_objects->Find(name)) : nullptr;
}
void HUD::SetEnergy(float) {}
void HUD::SetAbilities(int) {}
void HUD::ShowStride(bool) {}
void HUD::ShowWallJump(bool) {}
void HUD::ShowCyclone(bool) {}
void HUD::ShowSuperJump(bool) {}
bool HUD::HasStride() const { return false; }
bool HUD::HasWallJump() const { return false; }
bool HUD::HasCyclone() const { return false; }
bool HUD::HasSuperJump() const { return false; }
void HUD::SetScore(int) {}
void HUD::AddToScore(int) {}
void HUD::RebuildScoreText() {}
int HUD::GetPendingScore() const { return 0; }
void HUD::SetOrbs(std::deque<int>, std::deque<bool>) {}
void HUD::AddOrb(int) {}
void HUD::CrackOrb(int) {}
void HUD::ResetOrbs() {}
void HUD::Clear() {}
void HUD::StartBreakOrb(int, const Vector2&) {}
void HUD::UpdateBreakOrb(int, bool) {}
void HUD::UpdateCompletion() {}
void HUD::AddMessage(int, int, int, int, int, int) {}
void HUD::UpdateCombo(int, int, int, int, int, int) {}
void HUD::Update() {}
void HUD::LabelBehavior(GameObject*) {}
bool HUD::HolderFrameChange(GameObject*) { return true; }
void HUD::BuildObjects() {}
void HUD::ShowAbility(const char*, int, bool) {}
bool HUD::HasAbility(const char*) const { return false; }
const char* HUD::BreakName(int) { return "BreakWhiteOrb"; }
