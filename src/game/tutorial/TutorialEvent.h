// One tutorial message: a trigger box in the world, its text and timing, the id
// of the messages it unlocks, and an optional point the camera tours to when it
// first comes on screen.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <utility>

// The text colour of a tutorial; packed as alpha, red, green, blue when drawn.
struct TutorialColor {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t alpha = 0;
};

class TutorialEvent {
 public:
  // Texts longer than this are cut; the rest of their line is skipped.
  static constexpr std::size_t kMaxTextLength = 1023;

  // Active, never drawn, then one record read from the script (see Load).
  explicit TutorialEvent(std::istream& in, const std::string& scriptName = "tutorial script");
  TutorialEvent(const TutorialEvent& other) = default;
  TutorialEvent& operator=(const TutorialEvent& other) = default;

  // One record: ID, box centre and half sizes, focus (and its point when not 0),
  // display frames, initially active, next ID, and the rest of the line as the
  // text. A negative ID stops the game naming the script. A token that is not a
  // number leaves the stream failed and the record incomplete.
  void Load(std::istream& in, const std::string& scriptName);

  // One frame on screen: the camera tour on the first call, then the faded text
  // queued on the World; past its time the message goes inactive instead.
  void Draw(int fadeIn, int fadeOut, float x, float y, int size, TutorialColor color,
            const std::string& face);
  // Holds the camera on the focus point while the countdown runs.
  static bool FocusDone();

  int GetID() const { return m_.ID; }
  int GetNextID() const { return m_.nextID; }
  float GetX() const { return m_.x; }
  float GetY() const { return m_.y; }
  float GetWidth() const { return m_.halfWidth; }
  float GetHeight() const { return m_.halfHeight; }
  int GetDisplayFrames() const { return m_.displayFrames; }
  const std::string& GetText() const { return m_.text; }
  bool IsActive() const { return m_.active; }
  bool HasFocus() const { return m_.focus != 0; }
  float GetFocusX() const { return m_.focusX; }
  float GetFocusY() const { return m_.focusY; }
  int GetShownFrames() const { return m_.shownFrames; }

  TutorialEvent& SetX(float x);
  TutorialEvent& SetY(float y);
  TutorialEvent& SetWidth(float halfWidth);
  TutorialEvent& SetHeight(float halfHeight);
  TutorialEvent& SetDisplayFrames(int frames);
  void SetText(std::string text) { m_.text = std::move(text); }
  void SetActive(bool active) { m_.active = active; }

  // The id the tutorial's search matches against.
  static int GetCurrentId() { return s_currentId; }
  static void SetCurrentId(int id) { s_currentId = id; }
  // Frames the camera still holds the focus point.
  static int GetFocusCountdown() { return s_focusCountdown; }
  static void SetFocusCountdown(int frames) { s_focusCountdown = frames; }

 private:
  struct Record {
    int ID = 0;
    float x = 0.0f;
    float y = 0.0f;
    float halfWidth = 0.0f;
    float halfHeight = 0.0f;
    float focusX = 0.0f;
    float focusY = 0.0f;
    int displayFrames = 0;
    int shownFrames = 0;
    int focus = 0;
    bool active = true;
    int nextID = -1;
    std::string text;
  };
  Record m_;

  inline static int s_currentId = 0;
  inline static int s_focusCountdown = 0;
};
