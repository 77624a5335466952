// A line of text drawn character by character once per frame, with its colour
// fading or blinking between two colours, its size growing or blinking between
// two sizes, a vertical wave along its characters, and left, centred or right
// alignment on its position (centred vertically).
#pragma once

#include <array>
#include <string>

#include "D3DInterfaceLib/D3DInterface.h"
#include "geometry/Vector2.h"

class TextAnimation {
 public:
  // Alignments: the position is the text's right edge, its centre (any value
  // other than these two) or its left edge.
  static constexpr int ALIGN_RIGHT = 0;
  static constexpr int ALIGN_CENTRE = 1;
  static constexpr int ALIGN_LEFT = 2;

  TextAnimation() = default;

  void SetFont(std::string face) { m_sFont = std::move(face); }
  void SetText(std::string text) { m_sText = std::move(text); }
  const std::string& GetText() const { return m_sText; }
  void SetAlignment(int alignment) { m_nAlignment = alignment; }

  // Moves the text and stops its wave.
  void SetPosition(const Vector2& position);
  // Moves the text; the wave keeps running.
  void SetPosition(float x, float y) { m_vPosition = Vector2(x, y); }
  const Vector2& GetPosition() const { return m_vPosition; }

  // The colour to show, with any fade or blink stopped.
  void SetColor(unsigned char alpha, unsigned char red, unsigned char green, unsigned char blue);
  // What SetColor gave, where a fade or blink starts: alpha, red, green, blue.
  std::array<unsigned char, 4> GetStartColor() const {
    return {m_startColor[0], m_startColor[1], m_startColor[2], m_startColor[3]};
  }
  // Fades to the colour over `frames` frames, then starts again (or turns back
  // when `bounce`).
  void FadeTo(unsigned char alpha, unsigned char red, unsigned char green, unsigned char blue,
              unsigned int frames, bool bounce);
  // Blinks between the start colour and this one, `frames` frames each.
  void Pulse(unsigned char alpha, unsigned char red, unsigned char green, unsigned char blue,
             unsigned int frames);

  // The size to show, with any growth or blink stopped.
  void SetSize(float size);
  void GrowTo(float size, unsigned int frames, bool bounce);
  TextAnimation* BlinkSize(float size, unsigned int frames);

  // (highest offset in pixels, phase step per character, period in frames,
  // triangle: rise and fall, else rise and drop back)
  void SetWave(float amplitude, float step, float period, bool triangle);

  // The point size this frame draws at.
  int GetCurrentSize() const;
  // Draws this frame's characters, then advances the timers.
  void Update();

 private:
  float CurrentSize() const;
  D3DCOLOR CurrentColor() const;
  // The vertical offset of a character at wave phase p.
  float WaveOffset(float p) const;

  std::string m_sFont;
  std::string m_sText;
  Vector2 m_vPosition;
  float m_fWavePhase = 0.0f;
  float m_fWaveStep = 0.0f;
  float m_fWaveAmplitude = 0.0f;
  float m_fWaveRate = 0.0f;
  float m_fWaveTimer = 0.0f;
  bool m_bTriangleWave = true;
  float m_fStartSize = 12.0f;
  float m_fEndSize = 12.0f;
  float m_fSizeRate = 0.0f;
  float m_fSizeTimer = 0.0f;
  bool m_bSizeBounce = false;
  bool m_bSizeSteps = false;
  unsigned char m_startColor[4] = {255, 255, 255, 255};  // alpha, red, green, blue
  unsigned char m_endColor[4] = {255, 255, 255, 255};
  float m_fColorRate = 0.0f;
  float m_fColorTimer = 0.0f;
  bool m_bColorBounce = false;
  bool m_bColorSteps = false;
  int m_nAlignment = ALIGN_LEFT;
};
