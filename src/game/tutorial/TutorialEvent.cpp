// Tutorial messages: reading one script record, fading the text in and out, and
// the camera tour of a message with focus.
#include "game/tutorial/TutorialEvent.h"

#include <cstdint>
#include <string>

#include "game/data/TokenReader.h"
#include "game/player/PlayerObject.h"
#include "game/world/CameraFocus.h"
#include "game/world/TextEntry.h"
#include "game/world/World.h"

namespace {

// The rest of the current line, cut at `limit` characters, without the line end
// (a CRLF's carriage return included). Read straight from the buffer so an empty
// last line does not fail the stream.
std::string ReadRestOfLine(std::istream& in, std::size_t limit) {
  std::string text;
  std::streambuf* buffer = in.rdbuf();
  bool carriageReturnKept = false;
  for (;;) {
    const int c = buffer->sbumpc();
    if (c == std::char_traits<char>::eof()) {
      in.setstate(std::ios::eofbit);
      break;
    }
    if (c == '\n') break;
    carriageReturnKept = false;
    if (text.size() < limit) {
      text.push_back(static_cast<char>(c));
      carriageReturnKept = c == '\r';
    }
  }
  if (carriageReturnKept) text.pop_back();
  return text;
}

}  // namespace

TutorialEvent::TutorialEvent(std::istream& in, const std::string& scriptName) {
  Load(in, scriptName);
}

void TutorialEvent::Load(std::istream& in, const std::string& scriptName) {
  in >> m_.ID;
  if (in && !(m_.ID >= 0)) {
    DataFileError(scriptName,
                  "the message ID " + std::to_string(m_.ID) + " is below 0 (m_.ID >= 0)");
  }
  in >> m_.x >> m_.y >> m_.halfWidth >> m_.halfHeight >> m_.focus;
  if (m_.focus != 0) in >> m_.focusX >> m_.focusY;
  int active = 1;
  in >> m_.displayFrames >> active >> m_.nextID;
  m_.active = active != 0;
  if (!in) return;
  m_.text = ReadRestOfLine(in, kMaxTextLength);
}

void TutorialEvent::Draw(int fadeIn, int fadeOut, float x, float y, int size, TutorialColor color,
                         const std::string& face) {
  if (m_.shownFrames == 0 && m_.focus != 0) {
    // Without a live player there is no way back for the camera: no tour.
    if (const PlayerObject* player = World::GetPlayer()) {
      s_focusCountdown = m_.displayFrames;
      CameraFocus there;
      there.m_vPosition = Vector2(m_.focusX, m_.focusY);
      there.m_bPlayerControl = false;
      there.m_callback = &TutorialEvent::FocusDone;
      PushCameraFocus(there);
      CameraFocus back;
      back.m_vPosition = player->GetPosition();
      back.m_bPlayerControl = false;
      back.m_callback = nullptr;
      PushCameraFocus(back);
    }
  }

  const std::int64_t n = ++m_.shownFrames;
  // Wide sums: frame counts come from the script and may be anything.
  const std::int64_t fullFrom = fadeIn;
  const std::int64_t fadeFrom = fullFrom + m_.displayFrames;
  const std::int64_t goneFrom = fadeFrom + fadeOut;
  const double a = color.alpha;
  int alpha = 0;
  if (n < fullFrom) {
    // Real divisions: integer ones would keep the first frames at 0.
    alpha = static_cast<int>((a / 255.0) * (static_cast<double>(n) / fadeIn) * 255.0);
  } else if (n < fadeFrom) {
    alpha = color.alpha;
  } else if (n < goneFrom) {
    alpha = static_cast<int>((a / 255.0) * (static_cast<double>(goneFrom - n) / fadeOut) * 255.0);
  } else {
    m_.active = false;
    return;
  }

  const std::uint32_t packed = static_cast<std::uint32_t>(alpha) << 24 |
                               static_cast<std::uint32_t>(color.red) << 16 |
                               static_cast<std::uint32_t>(color.green) << 8 | color.blue;
  World::QueueText(TextEntry{face, size, x, y, m_.text, packed});
}

bool TutorialEvent::FocusDone() {
  if (s_focusCountdown < 1) return true;
  --s_focusCountdown;
  return false;
}

TutorialEvent& TutorialEvent::SetX(float x) {
  m_.x = x;
  return *this;
}

TutorialEvent& TutorialEvent::SetY(float y) {
  m_.y = y;
  return *this;
}

TutorialEvent& TutorialEvent::SetWidth(float halfWidth) {
  m_.halfWidth = halfWidth;
  return *this;
}

TutorialEvent& TutorialEvent::SetHeight(float halfHeight) {
  m_.halfHeight = halfHeight;
  return *this;
}

TutorialEvent& TutorialEvent::SetDisplayFrames(int frames) {
  m_.displayFrames = frames;
  return *this;
}
