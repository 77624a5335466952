// Screen fades: a full-screen colour quad stepping from one colour to another.
#include <algorithm>

#include "D3DInterfaceLib/D3DInterface.h"
#include "game/hud/HUD.h"
#include "game/world/World.h"
#include "geometry/Vector2.h"

void World::StartFade(int frames, D3DCOLOR from, D3DCOLOR to) {
  m_fadeCount = 0;
  m_fadeLength = frames;
  m_fadeFrom = from;
  m_fadeTo = to;
}

D3DCOLOR World::FadeColor(D3DCOLOR from, D3DCOLOR to, int count, int length) {
  D3DCOLOR color = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const int a = static_cast<int>((from >> shift) & 0xFF);
    const int b = static_cast<int>((to >> shift) & 0xFF);
    // Multiply before dividing so 1/30 of 255 lands exactly on 8.5 and rounds up.
    const float value = static_cast<float>(a) +
                        static_cast<float>((b - a) * count) / static_cast<float>(length) + 0.5f;
    const int byte = std::clamp(static_cast<int>(value), 0, 255);
    color |= static_cast<D3DCOLOR>(byte) << shift;
  }
  return color;
}

void World::DrawFade() {
  if (m_fadeLength == 0) return;
  ++m_fadeCount;
  if (m_fadeCount > m_fadeLength) m_fadeCount = m_fadeLength;
  const D3DCOLOR color = FadeColor(m_fadeFrom, m_fadeTo, m_fadeCount, m_fadeLength);
  // A fully transparent fill changes no pixel, and an ended fade-in would pay for
  // a full-screen blend every frame until the next fade.
  if ((color >> 24) != 0) D3DInterface::GetEngine()->FillScreen(Vector2(0.0f, 0.0f), color);
  if (HUD* hud = HUD::GetInstance()) hud->SetColor(color);
}
