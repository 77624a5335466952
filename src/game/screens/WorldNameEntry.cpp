// The name screen (state 12): an on-screen keyboard steered by the game
// actions spells the name under which the first qualifying player's result
// goes into the high-score tables.
#include <string>
#include <vector>

#include "animationlib/SpriteCollection.h"
#include "animationlib/TextAnimation.h"
#include "game/data/ScoreFile.h"
#include "game/input/Input.h"
#include "game/player/PlayerObject.h"
#include "game/screens/EndScreens.h"
#include "game/world/World.h"
#include "platform/Assert.h"
#include "platform/FileSave.h"

namespace {

constexpr int kColumns = 7;
constexpr int kLetterKeys = 26;
constexpr int kSpaceKey = 28;
constexpr int kCaseKey = 29;
constexpr int kDoneKey = 30;
constexpr int kKeys = 31;
constexpr int kSlots = static_cast<int>(scorefile::kMaxNameLength);
// The bottom row's three keys, counted as row 4.
constexpr int kBottomRow = 4;

constexpr ActionBits kBackspace = SWING_SWORD | FIRE_GUN | STRIDE;

struct NameScreen {
  std::string name;
  std::vector<TextAnimation> keys;  // 31 keys, then the 9 name slots
  TextAnimation hint;
  int selection = 0;
  // The record "Done" is saving, while another game's save keeps it waiting
  // (-1: none), and the frames it has waited.
  int saving = -1;
  int savingFrames = 0;
};

NameScreen& Screen() {
  static NameScreen screen;
  return screen;
}

TextAnimation MakeText(const std::string& text, float x, float y, float size) {
  TextAnimation t;
  t.SetFont("Teletype");
  t.SetText(text);
  t.SetPosition(Vector2(x, y));
  t.SetAlignment(TextAnimation::ALIGN_CENTRE);
  t.SetSize(size);
  return t;
}

void Plain(TextAnimation& key) {
  key.SetColor(0xB2, 0xFF, 0xFF, 0xFF);
  key.SetSize(35.0f);
}

void Highlight(TextAnimation& key) {
  key.FadeTo(0xFF, 0xFF, 0xFF, 0xFF, 30, true);
  key.GrowTo(50.0f, 30, true);
}

TextAnimation& Slot(NameScreen& screen, std::size_t m) {
  return screen.keys[static_cast<std::size_t>(kKeys) + m];
}

void ShowCursor(TextAnimation& slot) {
  slot.SetText("_");
  slot.SetColor(0xFF, 0xFF, 0xFF, 0xFF);
  slot.Pulse(0xFF, 0x00, 0x00, 0x00, 20);
}

void ShowChar(TextAnimation& slot, char c) {
  slot.SetText(std::string(1, c));
  slot.SetColor(0xFF, 0xFF, 0xFF, 0xFF);
}

void SetLetterCase(NameScreen& screen, bool lower) {
  for (int i = 0; i < kLetterKeys; ++i) {
    screen.keys[static_cast<std::size_t>(i)].SetText(
        std::string(1, static_cast<char>((lower ? 'a' : 'A') + i)));
  }
  screen.keys[kCaseKey].SetText(lower ? "Upper" : "Lower");
}

}  // namespace

int endscreens::NameEntryMove(int selection, ActionBits action) {
  const int row = selection / kColumns;
  const int column = selection % kColumns;
  const bool bottom = row == kBottomRow;
  // Which bottom key sits under a letter column.
  const auto bottomKeyFor = [](int c) { return c <= 1 ? kSpaceKey : c <= 4 ? kCaseKey : kDoneKey; };
  switch (action) {
    case MOVE_LEFT:
      if (selection == kSpaceKey) return kDoneKey;
      if (!bottom && column == 0) return selection + kColumns - 1;
      return selection - 1;
    case MOVE_RIGHT:
      if (selection == kDoneKey) return kSpaceKey;
      if (!bottom && column == kColumns - 1) return selection - (kColumns - 1);
      return selection + 1;
    case UP_OPTIONS_SELECTION:
      if (bottom) return 3 * kColumns + 2 * column + 1;
      if (row == 0) return bottomKeyFor(column);
      return selection - kColumns;
    case DOWN_OPTIONS_SELECTION:
      if (bottom) return 2 * column + 1;
      if (row == 3) return bottomKeyFor(column);
      return selection + kColumns;
    default:
      return selection;
  }
}

namespace {

// The first record, in slot order, whose result would enter the tables. A
// record has a time to enter only once it has played every level.
int FirstQualifyingRecord() {
  World::PlayerRecords& records = World::GetPlayerRecords();
  for (std::size_t i = 0; i < records.size(); ++i) {
    PlayerObject* record = records[i].get();
    if (record && World::IsHighScore(record, World::HasFinishedGame(*record))) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

// One try at saving the record that "Done" chose; true once that is settled:
// saved, or not saved and said so. While another game's save holds the folder
// it is tried again the next frame, so no frame waits and a quit ends the game
// at once; after kSaveLockFrames the save is given up.
bool SaveTried(NameScreen& screen) {
  World::PlayerRecords& records = World::GetPlayerRecords();
  const auto slot = static_cast<std::size_t>(screen.saving);
  screen.saving = -1;
  if (slot >= records.size() || !records[slot]) return true;
  std::unique_ptr<PlayerObject>& record = records[slot];
  const bool lastTry = ++screen.savingFrames >= platform::kSaveLockFrames;
  if (World::SaveScore(record.get(), World::HasFinishedGame(*record), screen.name,
                       lastTry) == platform::SaveStatus::Busy) {
    screen.saving = static_cast<int>(slot);
    return false;
  }
  record.reset();
  return true;
}

}  // namespace

namespace endscreens {
const std::vector<TextAnimation>& NameEntryKeys() { return Screen().keys; }
const std::string& NameEntryName() { return Screen().name; }
int NameEntrySelection() { return Screen().selection; }
}  // namespace endscreens

int World::NameEntry(int* frameCounter) {
  NameScreen& screen = Screen();
  int next = STATE_NAME_ENTRY;

  if (*frameCounter == 0) {
    *frameCounter = 1;
    screen.hint = MakeText("Use Special, Sword, or Gun Buttons to Backspace", 400, 550, 10);
    screen.hint.SetColor(0xFF, 0xFF, 0xFF, 0xFF);
    screen.hint.FadeTo(0x00, 0xFF, 0xFF, 0xFF, 45, true);
    screen.saving = -1;
    if (FirstQualifyingRecord() < 0) return STATE_HIGH_SCORES;

    if (m_cscObjects) m_cscObjects->SetMask(0);
    screen.name.clear();
    screen.keys.clear();
    screen.selection = 0;
    for (int i = 0; i < kLetterKeys; ++i) {
      const float x = 160.0f + 80.0f * static_cast<float>(i % kColumns);
      const float y = 260.0f + 60.0f * static_cast<float>(i / kColumns);
      screen.keys.push_back(MakeText(std::string(1, static_cast<char>('A' + i)), x, y, 35));
    }
    screen.keys.push_back(MakeText("-", 560, 440, 35));
    screen.keys.push_back(MakeText("'", 640, 440, 35));
    screen.keys.push_back(MakeText("Space", 200, 500, 35));
    screen.keys.push_back(MakeText("Lower", 400, 500, 35));
    screen.keys.push_back(MakeText("Done", 600, 500, 35));
    for (TextAnimation& key : screen.keys) Plain(key);
    for (int m = 0; m < kSlots; ++m) {
      screen.keys.push_back(MakeText(" ", 100.0f + 70.0f * static_cast<float>(m), 100, 70));
      screen.keys.back().SetColor(0xFF, 0xFF, 0xFF, 0xFF);
    }
    Highlight(screen.keys[0]);
    ShowCursor(Slot(screen, 0));
  }

  if (screen.saving >= 0) {
    if (SaveTried(screen)) next = STATE_HIGH_SCORES;
  } else if (*frameCounter == 1 &&
             screen.keys.size() == static_cast<std::size_t>(kKeys + kSlots)) {
    Input* input = Input::GetInstance();
    VT_ASSERT(input);
    for (const ActionBits action :
         {MOVE_LEFT, MOVE_RIGHT, UP_OPTIONS_SELECTION, DOWN_OPTIONS_SELECTION}) {
      if (!input->IsPressed(action)) continue;
      Plain(screen.keys[static_cast<std::size_t>(screen.selection)]);
      screen.selection = endscreens::NameEntryMove(screen.selection, action);
      Highlight(screen.keys[static_cast<std::size_t>(screen.selection)]);
    }

    if (input->IsPressed(JUMP | ENTER_MENU_SELECTION)) {
      if (screen.selection == kCaseKey) {
        SetLetterCase(screen, screen.keys[0].GetText().rfind('a', 0) != 0);
      } else if (screen.selection == kDoneKey) {
        screen.saving = FirstQualifyingRecord();
        screen.savingFrames = 0;
        if (screen.saving < 0 || SaveTried(screen)) next = STATE_HIGH_SCORES;
      } else if (screen.name.size() < scorefile::kMaxNameLength) {
        const char c = screen.selection == kSpaceKey
                           ? ' '
                           : screen.keys[static_cast<std::size_t>(screen.selection)].GetText()[0];
        ShowChar(Slot(screen, screen.name.size()), c);
        screen.name.push_back(c);
        if (screen.name.size() < scorefile::kMaxNameLength) {
          ShowCursor(Slot(screen, screen.name.size()));
        }
      }
    }

    if (input->IsPressed(kBackspace) && !screen.name.empty() && screen.saving < 0) {
      screen.name.pop_back();
      ShowCursor(Slot(screen, screen.name.size()));
      if (screen.name.size() + 1 < scorefile::kMaxNameLength) {
        ShowChar(Slot(screen, screen.name.size() + 1), ' ');
      }
    }
  }

  for (TextAnimation& key : screen.keys) key.Update();
  screen.hint.Update();
  if (next != STATE_NAME_ENTRY && m_cscObjects) m_cscObjects->SetMask(PASS_ALL);
  return next;
}

