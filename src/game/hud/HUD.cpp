// The HUD: its animations and parts, gauges, orbs, score and time.
#include "game/hud/HUD.h"

#include <algorithm>
#include <cstdio>

#include "animationlib/AnimationCollection.h"
#include "animationlib/D3DAnimation.h"
#include "game/objects/BehaviorRegistry.h"
#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/sound/SoundEngine.h"
#include "game/world/World.h"
#include "platform/Assert.h"

const char* const HUD::kAnimationFiles[HUD::kAnimationCount] = {
    "animations/orbs.acd",          "animations/CrackedOrb.acd",    "animations/BreakWhiteOrb.acd",
    "animations/BreakRedOrb.acd",   "animations/BreakGreenOrb.acd", "animations/BreakBlueOrb.acd",
    "animations/HUDWindow.acd",     "animations/CoreStart.acd",     "animations/CoreDefault.acd",
    "animations/CoreStride.acd",    "animations/CoreWallJump.acd",  "animations/CoreCyclone.acd",
    "animations/CoreSuperJump.acd", "animations/EnergyBar.acd",     "animations/EnergyMeter.acd",
    "animations/HUDLabel.acd",
};

namespace {
const char* const kScoreFace = "Corsiva";
constexpr int kScoreSize = 25;
const char* const kTimeFace = "Teletype";
constexpr int kTimeSize = 30;
// Where the break particles of an orb fly from, around its point.
const Vector2 kBreakOffsets[HUD::kBreakParticles] = {
    {-1.0f, -7.0f}, {8.0f, -7.0f},  {8.0f, -3.0f},  {5.0f, 8.0f},   {16.0f, 4.0f},
    {8.0f, 10.0f},  {-5.0f, 12.0f}, {-9.0f, 9.0f},  {-12.0f, -3.0f}, {-5.0f, -7.0f},
    {3.0f, 1.0f},   {-8.0f, 5.0f},  {-10.0f, -1.0f},
};
const char* const kBreakNames[] = {"BreakWhiteOrb", "BreakRedOrb", "BreakGreenOrb", "BreakBlueOrb"};
const char* const kCoreIcons[] = {"CoreDefault", "CoreStride", "CoreWallJump", "CoreCyclone",
                                  "CoreSuperJump"};
// The orb frame of a lost orb.
constexpr int kGreyFrame = 1;
// "HUDLabel2" signals low energy on this frame; "Holder" fires on 5 and 8.
constexpr int kEnergyLabelFrame = 8;
constexpr int kHolderWarnFrame = 5;
constexpr int kHolderPulseFrame = 8;
constexpr int kWarnCount = 5;
constexpr float kLowEnergy = 0.25f;
// A new orb slides one slot pitch in this many frames.
constexpr int kSlideFrames = 37;
constexpr float kSlotPitch = 37.0f;

// The animation name a file carries: its base name.
std::string BaseName(const std::string& file) {
  const std::size_t slash = file.find_last_of("/\\");
  const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = file.find_last_of('.');
  return file.substr(start, dot == std::string::npos || dot < start ? std::string::npos : dot - start);
}

// A frame index the animation has; data with fewer frames shows its last one.
int ClampFrame(const GameObject* object, int frame) {
  const int count = object->GetAnimation()->GetFrameCount();
  return count == 0 ? 0 : std::min(frame, count - 1);
}
}  // namespace

bool HUD::LoadArt(AnimationCollection& into, const std::string& file, std::string& error) {
  auto* animation = new D3DAnimation(file);
  into.Add(animation);
  if (animation->GetLoadError().empty() && animation->GetFrameCount() > 0 &&
      into.Find(BaseName(file))) {
    return true;
  }
  // Appended piece by piece: GCC 12's -O3 flags the chained form (-Wrestrict).
  error = "HUD art \"";
  error += file;
  error += "\" is missing or unreadable";
  if (!animation->GetLoadError().empty()) {
    error += ": ";
    error += animation->GetLoadError();
  }
  return false;
}

std::unique_ptr<HUD> HUD::Create(std::string& error) {
  auto animations = std::make_unique<AnimationCollection>();
  for (const char* file : kAnimationFiles) {
    if (!LoadArt(*animations, file, error)) return nullptr;
  }
  return std::unique_ptr<HUD>(new HUD(std::move(animations)));
}

HUD::HUD(std::unique_ptr<AnimationCollection> animations) : m_animations(std::move(animations)) {
  for (int i = 0; i < 3; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "HUDorb%d", i + 1);
    m_asOrbNames[i] = name;
    std::snprintf(name, sizeof name, "CrackedOrb%d", i + 1);
    m_asCrackNames[i] = name;
  }
  s_score = 0;
  s_pendingScore = 0;
  s_time = 0;
  s_energy = 0.0f;
  s_energyFull = s_orbsComplete = s_orbWarning = s_energyWarning = false;
  s_orbWarningCounter = s_energyWarningCounter = 0;
  s_slideCountdown = 0;
  s_objects = std::make_unique<SpriteCollection>(PASS_ALL);
  BuildObjects();
  StartBreakOrb(ORB_BLUE, Vector2(kOrbSlotX[0], kOrbY));
  spMe = this;
}

HUD::~HUD() {
  s_objects.reset();
  m_animations.reset();
  spMe = nullptr;
}

void HUD::BuildObjects() {
  auto add = [this](const std::string& name, const std::string& animation, Vector2 position,
                    ObjectCallbacks callbacks, float depth) {
    Animation* art = m_animations->Find(animation);
    VT_ASSERT(art);
    auto* object = new GameObject(name, art, position, callbacks, depth);
    s_objects->AddUnsorted(object);
    return object;
  };
  add("HUDorb4", "orbs", Vector2(kOrbSlotX[2], kOrbY), NO_CALLBACKS, 1.0f)->SetVisible(false);
  const float pitch = m_animations->Find("orbs")->GetFrameWidth() + 5.0f;
  const BehaviorFn greyOrb = BehaviorRegistry::GetBehavior("GreyOrb");
  for (int i = 0; i < 3; ++i) {
    GameObject* orb = add(m_asOrbNames[i], "orbs", Vector2(kOrbSlotX[0] + pitch * i, kOrbY),
                          {nullptr, greyOrb, nullptr}, 1.0f);
    orb->AddFlag("Visible", 1.0f);
    orb->AddFlag("Timer", 0.0f);
    orb->SetFrame(ClampFrame(orb, kGreyFrame));
  }
  for (int i = 0; i < 3; ++i) {
    add(m_asCrackNames[i], "CrackedOrb", Vector2(kOrbSlotX[0] + pitch * i, kOrbY), NO_CALLBACKS,
        1.0f);
  }
  const BehaviorFn breakOrb = BehaviorRegistry::GetBehavior("BreakWhiteOrb");
  for (const char* name : kBreakNames) {
    for (int j = 0; j < kBreakParticles; ++j) {
      GameObject* particle = add(name, name, Vector2(300.0f, 300.0f), {nullptr, breakOrb, nullptr},
                                 10.0f * static_cast<float>(j));
      particle->SetFrame(ClampFrame(particle, j));
      particle->AddFlag("Timer", 0.0f);
      particle->AddFlag("Angle", 0.0f);
      particle->AddFlag("Visible", 0.0f);
      particle->SetVisible(false);
    }
  }
  add("HUDWindow", "HUDWindow", Vector2(-90.0f, -100.0f), NO_CALLBACKS, 0.0f);
  for (const char* icon : kCoreIcons) {
    GameObject* core = add(icon, icon, Vector2(30.0f, -45.0f), NO_CALLBACKS, 0.0f);
    core->SetScaleX(0.9f);
    core->SetScaleY(0.9f);
    if (core->GetName() == "CoreDefault") core->SetFrame(ClampFrame(core, 1));
  }
  add("EnergyBar", "EnergyBar", Vector2(144.0f, 73.0f), NO_CALLBACKS, 0.0f);
  add("EnergyMeter", "EnergyMeter", Vector2(144.0f, 73.0f), NO_CALLBACKS, 0.0f);
  const ObjectCallbacks label{nullptr, &HUD::LabelBehavior, nullptr};
  add("HUDLabel1", "HUDLabel", Vector2(69.0f, 112.0f), label, 0.0f);
  GameObject* energyLabel = add("HUDLabel2", "HUDLabel", Vector2(64.0f, 73.0f), label, 0.0f);
  energyLabel->SetFrame(ClampFrame(energyLabel, kEnergyLabelFrame));
  GameObject* thirdLabel = add("HUDLabel3", "HUDLabel", Vector2(64.0f, 34.0f), label, 0.0f);
  thirdLabel->SetFrame(ClampFrame(thirdLabel, 16));
  GameObject* holder = add("Holder", "CoreStart", Vector2(0.0f, 0.0f),
                           {&HUD::HolderFrameChange, nullptr, nullptr}, 0.0f);
  holder->SetFrame(ClampFrame(holder, 1));
  holder->SetVisible(false);
  s_objects->Sort();
}

SpriteCollection* HUD::GetObjects() {
  return s_objects.get();
}

void HUD::SetMask(int mask) {
  if (s_objects) s_objects->SetMask(mask);
}

void HUD::AddSprite(Sprite* sprite) {
  if (s_objects) {
    s_objects->Add(sprite);
  } else {
    delete sprite;  // nothing would ever draw or free it
  }
}

GameObject* HUD::FindObject(const std::string& name) {
  // Everything in the HUD's list is a GameObject.
  return s_objects ? static_cast<GameObject*>(s_objects->Find(name)) : nullptr;
}

void HUD::SetEnergy(float fraction) {
  s_energy = std::max(0.0f, fraction);
  if (s_energy >= 1.0f) {
    s_energyFull = true;
    s_energy = 1.0f;
  } else {
    s_energyFull = false;
    if (GameObject* label = FindObject("HUDLabel2")) label->SetPulsing(false);
  }
  if (GameObject* bar = FindObject("EnergyBar")) bar->SetScaleX(s_energy);
}

void HUD::SetAbilities(int bits) {
  ShowStride((bits & ABILITY_STRIDE) != 0);
  ShowWallJump((bits & ABILITY_WALL_JUMP) != 0);
  ShowCyclone((bits & ABILITY_CYCLONE) != 0);
  ShowSuperJump((bits & ABILITY_SUPER_JUMP) != 0);
  m_messages.clear();
}

void HUD::ShowAbility(const char* icon, int mask, bool show) {
  if (show != HasAbility(icon)) {
    // With no hero in play only the icon changes.
    if (PlayerObject* player = World::GetPlayer()) player->ToggleAbility(mask);
  }
  if (GameObject* object = FindObject(icon)) object->SetFrame(ClampFrame(object, show ? 1 : 0));
}

bool HUD::HasAbility(const char* icon) const {
  const GameObject* object = FindObject(icon);
  return object && object->GetFrame() != 0;
}

void HUD::ShowStride(bool show) { ShowAbility("CoreStride", ABILITY_STRIDE, show); }
void HUD::ShowWallJump(bool show) { ShowAbility("CoreWallJump", ABILITY_WALL_JUMP, show); }
void HUD::ShowCyclone(bool show) { ShowAbility("CoreCyclone", ABILITY_CYCLONE, show); }
void HUD::ShowSuperJump(bool show) { ShowAbility("CoreSuperJump", ABILITY_SUPER_JUMP, show); }
bool HUD::HasStride() const { return HasAbility("CoreStride"); }
bool HUD::HasWallJump() const { return HasAbility("CoreWallJump"); }
bool HUD::HasCyclone() const { return HasAbility("CoreCyclone"); }
bool HUD::HasSuperJump() const { return HasAbility("CoreSuperJump"); }

void HUD::SetScore(int score) {
  s_score = score;
  RebuildScoreText();
}

void HUD::AddToScore(int points) {
  s_score += points;
  RebuildScoreText();
}

void HUD::RebuildScoreText() {
  if (s_score > 0) {
    m_sScore = std::to_string(s_score);
  } else {
    s_score = 0;
    m_sScore.assign(1, '0');  // GCC 12 -O3 misreads the literal assignment (-Wrestrict)
  }
}

int HUD::GetPendingScore() const {
  // The messages' counts multiply only when they expire.
  int pending = s_pendingScore;
  for (const ComboText& message : m_messages) pending += message.points;
  return pending;
}

void HUD::SetOrbs(std::deque<int> orbs, std::deque<bool> cracks) {
  // The orbs show exactly the queues: a slide still running would move them on, and
  // a crack overlay left from before a restore would show a whole orb as cracked.
  if (s_slideCountdown != 0) EndSlide();
  for (int i = 0; i < 3; ++i) {
    GameObject* orb = FindObject(m_asOrbNames[i]);
    if (!orb) continue;
    if (GameObject* crack = FindObject(m_asCrackNames[i])) {
      crack->SetFrame(ClampFrame(crack, cracks[i] ? 1 : 0));
    }
    if (cracks[i]) {
      orb->SetFrame(0);
      orb->SetFlag("Visible", 0.0f);
      orb->SetVisible(false);
    } else {
      orb->SetFrame(ClampFrame(orb, orbs[i]));
      orb->SetFlag("Visible", 1.0f);
      orb->SetVisible(true);
    }
  }
}

void HUD::AddOrb(int color) {
  GameObject* orbs[3];
  GameObject* cracks[3];
  for (int i = 0; i < 3; ++i) {
    orbs[i] = FindObject(m_asOrbNames[i]);
    cracks[i] = FindObject(m_asCrackNames[i]);
    if (!orbs[i] || !cracks[i]) return;
  }
  GameObject* pushedOut = FindObject("HUDorb4");
  if (!pushedOut) return;

  // A pickup during a running slide changes the orbs but not their movement.
  const bool start = orbs[0]->GetVelocity().X() == 0.0f;
  if (start) s_slideCountdown = kSlideFrames;

  const int backFrame = orbs[2]->GetFrame();
  pushedOut->SetFrame(ClampFrame(pushedOut, backFrame));
  if (backFrame != kGreyFrame) pushedOut->SetVisible(true);
  if (start) {
    pushedOut->MoveTo(Vector2(kOrbSlotX[2], kOrbY));
    pushedOut->SetVelocity(s_slideSpeed, 0.0f);
    pushedOut->SetScaleX(1.0f);
    pushedOut->SetScaleY(1.0f);
  }

  // Each orb moves one slot back, starting from the slot in front of its own.
  for (int i = 2; i >= 1; --i) {
    GameObject* orb = orbs[i];
    GameObject* ahead = orbs[i - 1];
    orb->SetFrame(ClampFrame(orb, ahead->GetFrame()));
    orb->SetFlag("Visible", ahead->GetFlag("Visible"));
    orb->SetFlag("Timer", ahead->GetFlag("Timer"));
    orb->SetVisible(ahead->IsVisible());
    cracks[i]->SetFrame(ClampFrame(cracks[i], cracks[i - 1]->GetFrame()));
    if (start) {
      orb->MoveTo(Vector2(kOrbSlotX[i - 1], kOrbY));
      orb->SetVelocity(s_slideSpeed, 0.0f);
      cracks[i]->MoveTo(orb->GetPosition());
      cracks[i]->SetVelocity(s_slideSpeed, 0.0f);
    }
    if (cracks[i]->GetFrame() != 0) StartBreakOrb(orb->GetFrame(), orb->GetPosition());
  }

  orbs[0]->SetFrame(ClampFrame(orbs[0], color));
  orbs[0]->SetFlag("Visible", 1.0f);
  cracks[0]->SetFrame(0);
  if (start) {
    const Vector2 entry(kOrbSlotX[0] - kSlotPitch, kOrbY);
    orbs[0]->MoveTo(entry);
    orbs[0]->SetVelocity(s_slideSpeed, 0.0f);
    cracks[0]->MoveTo(entry);
    cracks[0]->SetVelocity(kSlotPitch / static_cast<float>(s_slideCountdown), 0.0f);
  }
  // The new orb grows into its slot during the slide.
  for (GameObject* front : {orbs[0], cracks[0]}) {
    front->SetScaleX(0.0f);
    front->SetScaleY(0.0f);
  }
  UpdateCompletion();
  SoundEngine().Play("powerup");
}

void HUD::CrackOrb(int i) {
  VT_ASSERT(i >= 0 && i < 3);
  GameObject* crack = FindObject(m_asCrackNames[i]);
  GameObject* orb = FindObject(m_asOrbNames[i]);
  if (!crack || !orb) return;
  crack->SetFrame(ClampFrame(crack, 1));
  // The orb's behaviour greys it out shortly; the burst shows its colour.
  orb->SetFlag("Visible", 0.0f);
  StartBreakOrb(orb->GetFrame(), orb->GetPosition());
  UpdateBreakOrb(orb->GetFrame(), true);
  UpdateCompletion();
}

void HUD::ResetOrbs() {
  for (int i = 0; i < 3; ++i) {
    if (GameObject* orb = FindObject(m_asOrbNames[i])) {
      orb->SetFrame(ClampFrame(orb, kGreyFrame));
      orb->SetFrame(0);
    }
    // A new hero's orbs are whole.
    if (GameObject* crack = FindObject(m_asCrackNames[i])) crack->SetFrame(0);
  }
  Clear();
}

void HUD::Clear() {
  for (int color = ORB_CRACKED; color <= ORB_BLUE; ++color) UpdateBreakOrb(color, false);
  SetScore(0);
  for (const std::string& name : m_asOrbNames) {
    GameObject* orb = FindObject(name);
    if (orb && orb->GetFrame() != kGreyFrame) orb->SetVisible(true);
  }
}

const char* HUD::BreakName(int color) {
  switch (color) {
    case ORB_RED: return "BreakRedOrb";
    case ORB_GREEN: return "BreakGreenOrb";
    case ORB_BLUE: return "BreakBlueOrb";
    default: return "BreakWhiteOrb";
  }
}

void HUD::StartBreakOrb(int color, const Vector2& point) {
  if (!s_objects) return;
  const std::string name = BreakName(color);
  int k = 0;
  for (Sprite* sprite : s_objects->GetSprites()) {
    if (sprite->GetName() != name || k >= kBreakParticles) continue;
    sprite->MoveTo(Vector2(point.X() + kBreakOffsets[k].X(), point.Y() + kBreakOffsets[k].Y()));
    ++k;
  }
}

void HUD::UpdateBreakOrb(int color, bool start) {
  if (!s_objects) return;
  const std::string name = BreakName(color);
  for (Sprite* sprite : s_objects->GetSprites()) {
    if (sprite->GetName() != name) continue;
    auto* particle = static_cast<GameObject*>(sprite);
    particle->SetBehavior(BehaviorRegistry::GetBehavior(name));
    particle->SetFlag("Timer", 0.0f);
    particle->SetFlag("Angle", 0.0f);
    particle->SetVelocity(0.0f, 0.0f);
    particle->SetDrawAngle(0.0f);
    particle->SetVisible(false);
    particle->SetFlag("Visible", start ? 1.0f : 0.0f);
  }
}

void HUD::UpdateCompletion() {
  const GameObject* orb1 = FindObject(m_asOrbNames[0]);
  const GameObject* orb2 = FindObject(m_asOrbNames[1]);
  const GameObject* orb3 = FindObject(m_asOrbNames[2]);
  const GameObject* crack3 = FindObject(m_asCrackNames[2]);
  const bool complete = orb1 && orb2 && orb3 && crack3 && orb1->GetFrame() > ORB_CRACKED &&
                        orb2->GetFrame() == orb1->GetFrame() &&
                        orb3->GetFrame() == orb1->GetFrame() && crack3->GetFrame() == 0;
  if (complete) {
    s_orbsComplete = true;
    SoundEngine().Play("HUD_complete");
  } else {
    s_orbsComplete = false;
    if (GameObject* label = FindObject("HUDLabel1")) label->SetPulsing(false);
  }
}

void HUD::EndSlide() {
  for (int i = 0; i < 3; ++i) {
    for (const std::string& name : {m_asOrbNames[i], m_asCrackNames[i]}) {
      if (GameObject* object = FindObject(name)) {
        object->SetVelocity(0.0f, 0.0f);
        object->MoveTo(Vector2(kOrbSlotX[i], kOrbY));
        object->SetScaleX(1.0f);
        object->SetScaleY(1.0f);
      }
    }
  }
  if (GameObject* pushedOut = FindObject("HUDorb4")) {
    pushedOut->SetScaleX(0.0f);
    pushedOut->SetScaleY(0.0f);
    pushedOut->SetVisible(false);
    pushedOut->SetVelocity(0.0f, 0.0f);
  }
  s_slideCountdown = 0;
}

void HUD::StepSlide() {
  GameObject* pushedOut = FindObject("HUDorb4");
  GameObject* front[2] = {FindObject(m_asOrbNames[0]), FindObject(m_asCrackNames[0])};
  if (!pushedOut || !front[0] || !front[1]) return;
  if (s_slideCountdown == 1) {
    EndSlide();
    return;
  }
  if (s_slideCountdown != 0) {
    const float growth = s_slideSpeed / kSlotPitch;
    for (GameObject* object : front) {
      object->SetScaleX(object->GetScaleX() + growth);
      object->SetScaleY(object->GetScaleY() + growth);
    }
    pushedOut->SetScaleX(pushedOut->GetScaleX() - growth);
    pushedOut->SetScaleY(pushedOut->GetScaleY() - growth);
    --s_slideCountdown;
  }
}

void HUD::RollInScore() {
  // Big sums roll in faster. A negative sum steps up toward 0 the same way, so
  // that it ends.
  const int magnitude = s_pendingScore < 0 ? -s_pendingScore : s_pendingScore;
  int step = 0;
  if (magnitude > 1000) {
    step = 100;
  } else if (magnitude > 100) {
    step = 10;
  } else if (magnitude >= 5) {
    step = 5;
  } else if (magnitude != 0) {
    step = 1;
  }
  if (s_pendingScore < 0) step = -step;
  s_pendingScore -= step;
  if (step != 0) AddToScore(step);
}

void HUD::RollInEverything() {
  for (const ComboText& message : m_messages) s_pendingScore += message.points * message.count;
  m_messages.clear();
  AddToScore(s_pendingScore);
  s_pendingScore = 0;
}

void HUD::Update() {
  StepSlide();
  s_objects->Update(false);
  RollInScore();
  const float scoreX = 220.0f - 10.0f * static_cast<float>(m_sScore.size());
  World::QueueText({kScoreFace, kScoreSize, scoreX, 12.0f, m_sScore, 0xFF00FF00});
  World::QueueText({kScoreFace, kScoreSize, scoreX, 12.0f, m_sScore, m_color});
  const std::string time = World::FormatTime(s_time);
  World::QueueText({kTimeFace, kTimeSize, 700.0f, 25.0f, time, 0xC8FFFFFF});
  World::QueueText({kTimeFace, kTimeSize, 700.0f, 25.0f, time, m_color});
  UpdateMessages();
}

void HUD::PrepareTexts() {
  D3DInterface* engine = D3DInterface::GetEngine();
  if (engine == nullptr) return;
  // A score is digits, a negative one led by a minus; a time is digits and colons.
  engine->PrepareText(kScoreFace, kScoreSize, "-0123456789");
  engine->PrepareText(kTimeFace, kTimeSize, "0123456789:");
  PrepareMessageTexts(*engine);
}

void HUD::LabelBehavior(GameObject*) {
  if (!s_objects || !(s_objects->GetMask() & PASS_BEHAVIOR)) return;
  const GameObject* orb1 = FindObject("HUDorb1");
  const GameObject* orb2 = FindObject("HUDorb2");
  const GameObject* orb3 = FindObject("HUDorb3");
  const GameObject* orbLabel = FindObject("HUDLabel1");
  const GameObject* energyLabel = FindObject("HUDLabel2");
  if (!orb1 || !orb2 || !orb3 || !orbLabel || !energyLabel) return;

  // One orb left.
  if (orb1->GetFrame() != kGreyFrame && orb2->GetFrame() == kGreyFrame &&
      orb3->GetFrame() == kGreyFrame) {
    if (orbLabel->GetFrame() == 0) {
      if (++s_orbWarningCounter == kWarnCount) {
        s_orbWarningCounter = 0;
        s_orbWarning = true;
      }
    } else {
      s_orbWarningCounter = 0;
    }
  } else {
    s_orbWarning = false;
  }

  if (s_energy < kLowEnergy) {
    if (energyLabel->GetFrame() == kEnergyLabelFrame) {
      if (++s_energyWarningCounter == kWarnCount) {
        s_energyWarningCounter = 0;
        s_energyWarning = true;
      }
    } else {
      s_energyWarningCounter = 0;
    }
  } else {
    s_energyWarning = false;
  }
}

bool HUD::HolderFrameChange(GameObject* holder) {
  if (holder->GetFrame() == kHolderWarnFrame) {
    if (s_orbWarning) {
      if (GameObject* label = FindObject("HUDLabel1")) label->AdvanceFrame();
    }
    if (s_energyWarning) {
      if (GameObject* label = FindObject("HUDLabel2")) label->AdvanceFrame();
    }
    s_orbWarning = false;
    s_energyWarning = false;
  } else if (holder->GetFrame() == kHolderPulseFrame) {
    if (s_orbsComplete) {
      if (GameObject* label = FindObject("HUDLabel1")) label->StartPulse(5, 0.05f, 4, true);
    }
    if (s_energyFull) {
      if (GameObject* label = FindObject("HUDLabel2")) label->StartPulse(5, 0.05f, 4, true);
    }
    s_orbsComplete = false;
    s_energyFull = false;
  }
  return true;
}
