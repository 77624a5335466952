// The tutorial script, triggering messages by the player's position, and the
// stack of lines on screen.
#include "game/tutorial/Tutorial.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "D3DInterfaceLib/D3DInterface.h"
#include "game/data/TokenReader.h"
#include "game/player/PlayerObject.h"
#include "game/world/World.h"

Tutorial::Tutorial() = default;

Tutorial::Tutorial(std::istream& in, const std::string& scriptName) {
  Load(in, scriptName);
}

Tutorial::Tutorial(const Tutorial& other) {
  *this = other;
}

Tutorial& Tutorial::operator=(const Tutorial& other) {
  if (this == &other) return *this;
  Clear();
  m_face = other.m_face;
  m_fadeIn = other.m_fadeIn;
  m_fadeOut = other.m_fadeOut;
  m_x = other.m_x;
  m_baseY = other.m_baseY;
  m_lineSpacing = other.m_lineSpacing;
  m_scrollSpeed = other.m_scrollSpeed;
  m_pointSize = other.m_pointSize;
  m_color = other.m_color;
  for (const auto& event : other.m_pending) {
    m_pending.push_back(std::make_unique<TutorialEvent>(*event));
  }
  for (const ShownLine& line : other.m_shown) {
    m_shown.push_back(ShownLine{std::make_unique<TutorialEvent>(*line.event), line.offset});
  }
  return *this;
}

Tutorial::~Tutorial() {
  Clear();
}

void Tutorial::Clear() {
  m_pending.clear();
  m_shown.clear();
}

void Tutorial::Load(std::istream& in, const std::string& scriptName) {
  in >> m_fadeIn >> m_fadeOut >> m_x >> m_baseY >> m_lineSpacing >> m_scrollSpeed >> m_pointSize;
  if (PointSizeStops(static_cast<bool>(in), m_pointSize)) {
    const std::string range =
        std::to_string(kMinPointSize) + " to " + std::to_string(kMaxPointSize);
    DataFileError(scriptName, "the point size " + (in ? std::to_string(m_pointSize) + " " : "") +
                                  "is outside " + range);
  }
  // The rest of the settings line is a note for whoever edits the script, however long.
  in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');

  unsigned int alpha = 0;
  unsigned int red = 0;
  unsigned int green = 0;
  unsigned int blue = 0;
  in >> alpha >> red >> green >> blue;
  m_color.alpha = static_cast<std::uint8_t>(alpha & 0xFFu);
  m_color.red = static_cast<std::uint8_t>(red & 0xFFu);
  m_color.green = static_cast<std::uint8_t>(green & 0xFFu);
  m_color.blue = static_cast<std::uint8_t>(blue & 0xFFu);

  int count = 0;
  if (!(in >> count)) {
    ReportDataFileProblem(scriptName, "ends before its message count; no message is shown");
    return;
  }
  // The count only bounds the loop: a short script allocates for what it holds.
  for (int i = 0; i < count && in.good(); ++i) {
    auto event = std::make_unique<TutorialEvent>(in, scriptName);
    if (in.fail()) break;  // a record cut short is not a message
    m_pending.push_back(std::move(event));
  }
  if (static_cast<int>(m_pending.size()) < count) {
    ReportDataFileProblem(scriptName, "holds " + std::to_string(m_pending.size()) + " of the " +
                                          std::to_string(count) +
                                          " messages its count gives; the rest are not shown");
  }
}

void Tutorial::ActivateId(int id) {
  if (id < 0) return;
  TutorialEvent::SetCurrentId(id);
  for (const auto& event : m_pending) {
    if (MatchesCurrentId(event.get())) event->SetActive(true);
  }
}

bool Tutorial::MatchesCurrentId(const TutorialEvent* event) {
  return event->GetID() == TutorialEvent::GetCurrentId();
}

void Tutorial::Update() {
  // A level may run its trigger with no hero in it: nothing new comes on screen,
  // and what is showing fades out as usual.
  if (const PlayerObject* player = World::GetPlayer()) {
    Trigger(player->GetPosition().X(), player->GetPosition().Y());
  }
  DrawLines();
}

void Tutorial::Trigger(float playerX, float playerY) {
  // Each pending message is looked at once; one activated here by an earlier
  // message's next ID may still come on screen in the same frame.
  std::size_t i = 0;
  while (i < m_pending.size()) {
    TutorialEvent& event = *m_pending[i];
    const bool inside = std::fabs(playerX - event.GetX()) < event.GetWidth() &&
                        std::fabs(playerY - event.GetY()) < event.GetHeight();
    if (!event.IsActive() || !inside) {
      ++i;
      continue;
    }
    const int next = event.GetNextID();
    m_shown.push_back(ShownLine{std::move(m_pending[i]), 0.0f});
    m_pending.erase(m_pending.begin() + static_cast<std::ptrdiff_t>(i));
    ActivateId(next);
  }
}

void Tutorial::DrawLines() {
  const float lineStep = static_cast<float>(m_pointSize) + m_lineSpacing;
  float cursorY = m_baseY;
  float offsetSum = 0.0f;
  std::size_t i = 0;
  while (i < m_shown.size()) {
    ShownLine& line = m_shown[i];
    if (line.offset > 0.0f) {
      line.offset -= m_scrollSpeed;
      if (line.offset < 0.0f) line.offset = 0.0f;
    }
    offsetSum += line.offset;
    if (line.event->IsActive()) {
      line.event->Draw(m_fadeIn, m_fadeOut, m_x, cursorY + offsetSum, m_pointSize, m_color, m_face);
      ++i;
    } else {
      // The lines below start one step lower and slide up: no visible jump.
      const float offset = line.offset;
      m_shown.erase(m_shown.begin() + static_cast<std::ptrdiff_t>(i));
      if (i < m_shown.size()) {
        m_shown[i].offset = lineStep + offset;
        offsetSum -= lineStep + offset;
      }
    }
    cursorY += lineStep;
  }
}

void Tutorial::PrepareTexts() const {
  D3DInterface* engine = D3DInterface::GetEngine();
  if (engine == nullptr || m_pending.empty()) return;
  std::string characters;
  for (const auto& event : m_pending) characters += event->GetText();
  engine->PrepareText(m_face, m_pointSize, characters);
}

Tutorial* Tutorial::GetCurrent() {
  return World::GetTutorial();
}
