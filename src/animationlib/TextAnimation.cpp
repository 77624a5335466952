// Animated text: timers for colour, size and wave, and the per-character drawing.
#include "animationlib/TextAnimation.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Truncates toward zero like a C cast, but stays defined for values no int holds
// (a zero-frame fade makes its rate infinite).
int TruncateToInt(float value) {
  if (std::isnan(value)) return 0;
  constexpr float kLimit = 2147483520.0f;  // the largest float below 2^31
  return static_cast<int>(std::clamp(value, -kLimit, kLimit));
}

// Blinking uses the timer rounded to its end: down while rising, up while falling.
float StepTimer(float timer, float rate, bool steps) {
  if (!steps) return timer;
  return rate > 0.0f ? std::floor(timer) : std::ceil(timer);
}

// One frame of a colour or size timer running between 0 and 1.
void AdvanceTimer(float& timer, float& rate, bool bounce) {
  timer += rate;
  if (timer >= 1.0f && rate > 0.0f) {
    if (bounce) {
      timer = 1.0f;
      rate = -rate;
    } else {
      timer = 0.0f;
    }
  }
  if (timer <= 0.0f && rate < 0.0f) {
    if (bounce) {
      timer = 0.0f;
      rate = -rate;
    } else {
      timer = 1.0f;
    }
  }
}

float RateOf(unsigned int frames) {
  return static_cast<float>(1.0 / frames);
}

}  // namespace

void TextAnimation::SetPosition(const Vector2& position) {
  m_vPosition = position;
  m_fWavePhase = 0.0f;
  m_fWaveStep = 0.0f;
  m_fWaveAmplitude = 0.0f;
  m_fWaveRate = 0.0f;
  m_fWaveTimer = 0.0f;
  m_bTriangleWave = true;
}

void TextAnimation::SetColor(unsigned char alpha, unsigned char red, unsigned char green,
                             unsigned char blue) {
  m_startColor[0] = alpha;
  m_startColor[1] = red;
  m_startColor[2] = green;
  m_startColor[3] = blue;
  m_fColorRate = 0.0f;
  m_fColorTimer = 0.0f;
  m_bColorBounce = false;
  m_bColorSteps = false;
}

void TextAnimation::FadeTo(unsigned char alpha, unsigned char red, unsigned char green,
                           unsigned char blue, unsigned int frames, bool bounce) {
  m_endColor[0] = alpha;
  m_endColor[1] = red;
  m_endColor[2] = green;
  m_endColor[3] = blue;
  m_fColorRate = RateOf(frames);
  m_fColorTimer = 0.0f;
  m_bColorSteps = false;
  m_bColorBounce = bounce;
}

void TextAnimation::Pulse(unsigned char alpha, unsigned char red, unsigned char green,
                          unsigned char blue, unsigned int frames) {
  // A blink is a bouncing fade that jumps between its two colours.
  FadeTo(alpha, red, green, blue, frames, true);
  m_bColorSteps = true;
}

void TextAnimation::SetSize(float size) {
  m_fStartSize = size;
  m_fSizeRate = 0.0f;
  m_fSizeTimer = 0.0f;
  m_bSizeBounce = false;
  m_bSizeSteps = false;
}

void TextAnimation::GrowTo(float size, unsigned int frames, bool bounce) {
  m_fEndSize = size;
  m_fSizeRate = RateOf(frames);
  m_fSizeTimer = 0.0f;
  m_bSizeSteps = false;
  m_bSizeBounce = bounce;
}

TextAnimation* TextAnimation::BlinkSize(float size, unsigned int frames) {
  m_fEndSize = size;
  m_fSizeRate = RateOf(frames);
  m_fSizeTimer = 0.0f;
  m_bSizeSteps = true;
  m_bSizeBounce = true;
  return this;
}

void TextAnimation::SetWave(float amplitude, float step, float period, bool triangle) {
  m_fWavePhase = 0.0f;
  m_fWaveAmplitude = amplitude;
  m_fWaveStep = step;
  m_fWaveRate = static_cast<float>(1.0 / period);
  m_fWaveTimer = 0.0f;
  m_bTriangleWave = triangle;
}

float TextAnimation::CurrentSize() const {
  const float t = StepTimer(m_fSizeTimer, m_fSizeRate, m_bSizeSteps);
  return m_fStartSize + (m_fEndSize - m_fStartSize) * t;
}

int TextAnimation::GetCurrentSize() const {
  return TruncateToInt(CurrentSize());
}

D3DCOLOR TextAnimation::CurrentColor() const {
  const float t = StepTimer(m_fColorTimer, m_fColorRate, m_bColorSteps);
  D3DCOLOR color = 0;
  for (int k = 0; k < 4; ++k) {
    const int start = m_startColor[k];
    const int change = TruncateToInt(static_cast<float>(m_endColor[k] - start) * t);
    color = (color << 8) | static_cast<D3DCOLOR>(std::clamp(start + change, 0, 255));
  }
  return color;
}

float TextAnimation::WaveOffset(float p) const {
  const float amplitude = m_fWaveAmplitude;
  if (amplitude == 0.0f) return 0.0f;
  float d = p;
  if (m_bTriangleWave && amplitude > 0.0f) {
    const float span = 2.0f * amplitude;
    // A remainder first when far out, where stepping would crawl or stall.
    if (d > 4096.0f * span) d = std::fmod(d, span);
    while (d > span) d -= span;
    if (d > amplitude) d = span - d;
  }
  return d;
}

void TextAnimation::Update() {
  D3DInterface* engine = D3DInterface::GetEngine();
  const int pointSize = GetCurrentSize();
  const D3DCOLOR color = CurrentColor();

  int width = 0;
  int height = 0;
  engine->GetTextExtent(m_sFont, pointSize, m_sText, &width, &height);
  int shift = width / 2;
  if (m_nAlignment == ALIGN_LEFT) shift = 0;
  if (m_nAlignment == ALIGN_RIGHT) shift = width;
  const float baseX = m_vPosition.X() - static_cast<float>(shift);
  const float baseY = m_vPosition.Y() - static_cast<float>(height / 2);

  int advance = 0;
  float phase = m_fWavePhase;
  for (char c : m_sText) {
    const float offset = WaveOffset(phase);
    const std::string character(1, c);
    int charWidth = 0;
    int charHeight = 0;
    if (c == ' ') {
      charWidth = charHeight = pointSize / 2;
    } else {
      engine->GetTextExtent(m_sFont, pointSize, character, &charWidth, &charHeight);
    }
    engine->DrawText(m_sFont, pointSize, baseX + static_cast<float>(advance), baseY + offset,
                     character, color);
    advance += charWidth;
    phase += m_fWaveStep;
    if (!m_bTriangleWave && phase > m_fWaveAmplitude) phase -= m_fWaveAmplitude;
  }

  AdvanceTimer(m_fColorTimer, m_fColorRate, m_bColorBounce);
  AdvanceTimer(m_fSizeTimer, m_fSizeRate, m_bSizeBounce);

  m_fWaveTimer += m_fWaveRate;
  if (m_fWaveTimer >= (m_bTriangleWave ? 2.0f : 1.0f)) m_fWaveTimer = 0.0f;
  m_fWavePhase = m_fWaveTimer * m_fWaveAmplitude;
  if (m_bTriangleWave && m_fWavePhase > 2.0f * m_fWaveAmplitude) {
    m_fWavePhase -= 2.0f * m_fWaveAmplitude;
  }
}
