// The HUD's point messages: new messages, combos that merge repeated events,
// their lift and expiry, and the points they bank.
#include <algorithm>
#include <string>

#include "game/hud/ComboText.h"
#include "game/hud/HUD.h"
#include "platform/Assert.h"

namespace {
const char* const kFont = "Corsiva";
constexpr float kTextSize = 18.0f;
constexpr float kFirstX = 350.0f;
// Messages stand on this line; the queue lifts back to it as the front expires.
constexpr float kFirstY = 28.0f;
constexpr float kStepX = 17.5f;
constexpr float kStepY = 35.0f;
constexpr float kLabelGap = 30.0f;
constexpr unsigned kFadeFrames = 30;
constexpr float kWaveAmplitude = 15.0f;
constexpr float kWaveStep = 5.0f;
constexpr float kWavePeriod = 30.0f;

// The label of a new message, by kind.
const char* const kNewLabels[HUD::kMessageKinds] = {
    "1 - HIT",    "Powerup",     "New Ability!", "Stride HIT",
    "Stride KILL!", "Cyclone HIT", "Cyclone KILL!",
};

// The label of a message that `count` events have merged into.
std::string MergedLabel(int kind, int count) {
  const std::string n = HUD::FormatNumber(count);
  switch (kind) {
    case 0: {
      std::string label = n + " - HIT COMBO";
      if (count > 2) label += '!';
      if (count > 4) label += '!';
      if (count > 9) label += '!';
      return label;
    }
    case 1: return n + (count < 3 ? " Powerups" : " Powerups!");
    case 2: return kNewLabels[2];
    case 3: return n + (count == 2 ? " Stride HITS!" : " STRIDE HITS!");
    case 4: return n + (count == 2 ? " STRIDE KILLS!" : " STRIDE KILLS!!!");
    case 5: return n + (count == 2 ? " Cyclone HITS!" : " CYCLONE HITS!");
    default: return n + (count == 2 ? " CYCLONE KILLS!" : " CYCLONE KILLS!!!");
  }
}

void StartWave(TextAnimation& text) {
  text.SetWave(kWaveAmplitude, kWaveStep, kWavePeriod, true);
}

unsigned char Channel(int value) { return static_cast<unsigned char>(std::clamp(value, 0, 255)); }
}  // namespace

ComboText::ComboText(int kind, int points) : kind(kind), points(points) {
  for (TextAnimation* text : {&pointsText, &labelText}) {
    text->SetFont(kFont);
    text->SetAlignment(TextAnimation::ALIGN_LEFT);
  }
}

std::string HUD::FormatNumber(int value) {
  // The magnitude as unsigned: negating the most negative int would overflow.
  const unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  return std::to_string(magnitude);
}

void HUD::PrepareMessageTexts(D3DInterface& engine) {
  // Points are signed numbers, a merged message's prefixed by its count ("2X +16");
  // a label is a new one or a merged one, whose wording changes past two and again
  // past four.
  std::string characters = "+-0123456789X ";
  for (int kind = 0; kind < kMessageKinds; ++kind) {
    characters += kNewLabels[kind];
    characters += MergedLabel(kind, 2);
    characters += MergedLabel(kind, 10);
  }
  engine.PrepareText(kFont, static_cast<int>(kTextSize), characters);
}

void HUD::PlaceLabel(ComboText& message) {
  const TextAnimation& points = message.pointsText;
  int width = 0;
  int height = 0;
  if (D3DInterface* engine = D3DInterface::GetEngine()) {
    engine->GetTextExtent(kFont, points.GetCurrentSize(), points.GetText(), &width, &height);
  }
  // The (x, y) form keeps the wave running.
  message.labelText.SetPosition(points.GetPosition().X() + static_cast<float>(width) + kLabelGap,
                                points.GetPosition().Y());
}

void HUD::AddMessage(int points, int kind, int a, int r, int g, int b) {
  VT_ASSERT(kind >= 0 && kind < kMessageKinds);
  ComboText message(kind, points);
  message.pointsText.SetText((points < 1 ? "-" : "+") + FormatNumber(points));
  const Vector2 at =
      m_messages.empty()
          ? Vector2(kFirstX, kFirstY)
          : Vector2(m_messages.front().pointsText.GetPosition().X() +
                        kStepX * static_cast<float>(m_messages.size()),
                    m_messages.front().pointsText.GetPosition().Y() +
                        kStepY * static_cast<float>(m_messages.size()));
  message.pointsText.SetPosition(at);
  for (TextAnimation* text : {&message.pointsText, &message.labelText}) {
    text->SetColor(Channel(a), Channel(r), Channel(g), Channel(b));
    text->FadeTo(255, 255, 255, 255, kFadeFrames, true);
    StartWave(*text);
    text->SetSize(kTextSize);
  }
  PlaceLabel(message);
  message.labelText.SetText(kNewLabels[kind]);
  m_messages.push_back(std::move(message));
}

void HUD::UpdateCombo(int points, int kind, int a, int r, int g, int b) {
  VT_ASSERT(kind >= 0 && kind < kMessageKinds);
  auto found = std::find_if(m_messages.rbegin(), m_messages.rend(),
                            [kind](const ComboText& message) { return message.kind == kind; });
  if (found == m_messages.rend()) {
    AddMessage(points, kind, a, r, g, b);
    return;
  }
  ComboText& message = *found;
  ++message.count;
  message.points += points;
  message.remainingFrames = ComboText::kLifetime;
  message.pointsText.SetText(FormatNumber(message.count) + "X +" + FormatNumber(message.points));
  // Bigger combos flash faster.
  const unsigned fade = static_cast<unsigned>(std::max(30 - 2 * message.count, 1));
  for (TextAnimation* text : {&message.pointsText, &message.labelText}) {
    text->SetColor(Channel(a), Channel(r), Channel(g), Channel(b));
    text->FadeTo(255, 255, 255, 255, fade, true);
  }
  PlaceLabel(message);
  message.labelText.SetText(MergedLabel(kind, message.count));
}

void HUD::UpdateMessages() {
  if (!m_messages.empty() && m_messages.front().pointsText.GetPosition().Y() > kFirstY) {
    for (ComboText& message : m_messages) {
      for (TextAnimation* text : {&message.pointsText, &message.labelText}) {
        text->SetPosition(text->GetPosition().X() - 0.5f, text->GetPosition().Y() - 1.0f);
      }
    }
  }
  // By index: an expiry removes the front, which moves every later message.
  std::size_t i = 0;
  while (i < m_messages.size()) {
    ComboText& message = m_messages[i];
    if (message.remainingFrames-- > 0) {
      message.pointsText.Update();
      message.labelText.Update();
      ++i;
      continue;
    }
    // Messages bank strictly from the front, whichever one has expired.
    const ComboText& front = m_messages.front();
    s_pendingScore += front.points * front.count;
    m_messages.pop_front();
    if (!m_messages.empty()) {
      StartWave(m_messages.front().pointsText);
      StartWave(m_messages.front().labelText);
    }
  }
}
