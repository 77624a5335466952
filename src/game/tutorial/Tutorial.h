// The tutorial room holds a level's tutorial and its messages.
//
// A level's tutorial: messages waiting for the player to walk into their boxes,
// and the ones on screen, stacked as lines that fade and scroll up as the lines
// above them vanish. The World keeps the current one; the level's "Tutorial"
// trigger runs it once per frame.
#pragma once

#include <istream>
#include <memory>
#include <string>
#include <vector>

#include "game/tutorial/TutorialEvent.h"

class Tutorial {
 public:
  // The point sizes a script may give its messages; past them the font lookup's
  // arithmetic overflows long before any text could show.
  static constexpr int kMinPointSize = 1;
  static constexpr int kMaxPointSize = 200;
  // Whether a point size read by stream extraction stops the game: one outside the
  // range, read whole or too large for an int (an extraction that failed otherwise
  // leaves 0 and a script cut short, which gives no messages and is not an error).
  static bool PointSizeStops(bool read, int size) {
    return (read || size != 0) && (size < kMinPointSize || size > kMaxPointSize);
  }

  // A message on screen and how far below its resting line it is drawn.
  struct ShownLine {
    std::unique_ptr<TutorialEvent> event;
    float offset = 0.0f;
  };

  // No messages, settings 0.
  Tutorial();
  // Empty, then the script read from `in` (Load).
  explicit Tutorial(std::istream& in, const std::string& scriptName = "tutorial script");
  // Deep copies, settings and both lists.
  Tutorial(const Tutorial& other);
  Tutorial& operator=(const Tutorial& other);
  ~Tutorial();

  // Deletes every message.
  void Clear();
  // The settings, the colour, the count and that many records, appended to the
  // pending list. Reading stops at the first record that does not read whole;
  // the records before it stay. A point size outside kMinPointSize..kMaxPointSize
  // stops the game with a message naming the script.
  void Load(std::istream& in, const std::string& scriptName);
  // Activates every pending message with that id; a negative id does nothing.
  void ActivateId(int id);
  static bool MatchesCurrentId(const TutorialEvent* event);
  // Once per frame: messages whose box holds the player come on screen, then
  // every line on screen is drawn (or removed once its time is over).
  void Update();
  // Opens the messages' font and renders every glyph they show, so that the
  // level's loading pays for them rather than the frame a message appears.
  void PrepareTexts() const;
  // The World's tutorial, or null.
  static Tutorial* GetCurrent();

  const std::vector<std::unique_ptr<TutorialEvent>>& GetPending() const { return m_pending; }
  const std::vector<ShownLine>& GetShown() const { return m_shown; }
  int GetFadeInFrames() const { return m_fadeIn; }
  int GetFadeOutFrames() const { return m_fadeOut; }
  float GetX() const { return m_x; }
  float GetBaseY() const { return m_baseY; }
  float GetLineSpacing() const { return m_lineSpacing; }
  float GetScrollSpeed() const { return m_scrollSpeed; }
  int GetPointSize() const { return m_pointSize; }
  TutorialColor GetColor() const { return m_color; }
  const std::string& GetFace() const { return m_face; }

 private:
  void Trigger(float playerX, float playerY);
  void DrawLines();

  std::vector<std::unique_ptr<TutorialEvent>> m_pending;
  std::vector<ShownLine> m_shown;
  // Nothing sets a face: messages draw in the default font.
  std::string m_face;
  int m_fadeIn = 0;
  int m_fadeOut = 0;
  float m_x = 0.0f;
  float m_baseY = 0.0f;
  float m_lineSpacing = 0.0f;
  float m_scrollSpeed = 0.0f;
  int m_pointSize = 0;
  TutorialColor m_color;
};
