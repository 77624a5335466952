// The start-up loading screen: drawn and presented frame by frame by the loaders
// themselves, since no frame loop turns while the World loads.
#include <cstdio>
#include <string>

#include "D3DInterfaceLib/D3DInterface.h"
#include "animationlib/AnimationCollection.h"
#include "animationlib/SpriteCollection.h"
#include "game/hud/HUD.h"
#include "game/objects/GameObject.h"
#include "game/world/World.h"
#include "platform/Assert.h"

namespace {
const char kMeterName[] = "EnergyMeter";
const char kBarName[] = "EnergyBar";
const Vector2 kBarPosition(50.0f, 550.0f);
constexpr D3DCOLOR kTextColor = 0xFFFFFFFF;
}  // namespace

bool World::CreateLoadingScreen() {
  for (const char* file : {"animations/EnergyMeter.acd", "animations/EnergyBar.acd"}) {
    std::string error;
    if (!HUD::LoadArt(*m_cacPool, file, error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return false;
    }
  }

  auto* meter =
      new GameObject(kMeterName, m_cacPool->Find(kMeterName), kBarPosition, NO_CALLBACKS, 0.0f);
  meter->SetName(kMeterName);
  m_cscObjects->Add(meter);
  // The bar lies over its frame and grows to the right from its origin.
  auto* bar = new GameObject(kBarName, m_cacPool->Find(kBarName), kBarPosition, NO_CALLBACKS, 1.0f);
  bar->SetName(kBarName);
  m_cscObjects->Add(bar);
  return true;
}

void World::DrawLoadingScreen(float complete, std::string caption) {
  VT_ASSERT(complete >= 0 && complete <= 100.f);
  D3DInterface::ClearQuads();

  // The bar exists once CreateLoadingScreen has run, which every loader follows.
  VT_ASSERT(m_cscObjects);
  Sprite* bar = m_cscObjects->Find(kBarName);
  VT_ASSERT(bar);
  bar->SetScaleX(complete / 100.0f);
  m_cscObjects->Update(false);

  D3DInterface* engine = D3DInterface::GetEngine();
  engine->DrawText("Times New Roman", 50, 250.0f, 150.0f, "Loading...", kTextColor);
  engine->DrawText("Teletype", 12, 215.0f, 540.0f, caption, kTextColor);
  D3DInterface::Render(m_window);
  if (m_loadingObserver) m_loadingObserver(complete, caption);
}
