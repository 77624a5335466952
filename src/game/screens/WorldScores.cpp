// The high-score tables: ranking and saving a finished player's result, and the
// screen (state 7) that shows the four tables one after another.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "animationlib/SpriteCollection.h"
#include "animationlib/TextAnimation.h"
#include "game/data/ScoreFile.h"
#include "game/hud/HUD.h"
#include "game/input/Input.h"
#include "game/player/PlayerObject.h"
#include "game/screens/EndScreens.h"
#include "game/world/World.h"
#include "platform/Assert.h"
#include "platform/FileSave.h"

namespace {

struct RowStyle {
  const char* label;
  float y;
  float size;
  D3DCOLOR color;
};

constexpr RowStyle kRows[scorefile::kBlockRows] = {
    {"1st", 140, 35, 0xFFFFFF00}, {"2nd", 200, 30, 0xFFFFFFFF}, {"3rd", 250, 25, 0xFFFFB200},
    {"4th", 300, 20, 0xFFFF0000}, {"5th", 340, 20, 0xFFFF0000}, {"6th", 380, 20, 0xFF00FF00},
    {"7th", 420, 20, 0xFF00FF00}, {"8th", 460, 20, 0xFF0000FF}, {"9th", 500, 20, 0xFF0000FF},
    {"10th", 540, 20, 0xFF0000FF},
};

constexpr const char* kCaptions[scorefile::kBlocks] = {
    "Single Player Scores", "Single Player Times", "Multi-Player Scores", "Multi-Player Times"};

constexpr float kRankX = 100.0f;
constexpr float kNameX = 350.0f;
constexpr float kValueX = 650.0f;
constexpr D3DCOLOR kCaptionColor = 0xFFC8C8C8;
constexpr int kFadeFrames = 30;
// The line under the tables that says a result was not saved.
constexpr float kNoticeY = 572.0f;
constexpr int kNoticeSize = 16;
constexpr int kNoticeSmallest = 8;
constexpr int kNoticeWidth = 780;
constexpr D3DCOLOR kNoticeColor = 0xFFFF8060;

// Caption, ten rank labels, then per block ten values and ten names.
constexpr std::size_t kFixedTexts = 1 + scorefile::kBlockRows;
constexpr std::size_t kTextsPerBlock = 2 * scorefile::kBlockRows;

struct HighScoreScreen {
  std::vector<TextAnimation> texts;
  int table = 0;
  // Why the last result was not saved, shown under every table until the screen
  // ends; empty when it was.
  std::string notice;
  TextAnimation noticeText;
};

HighScoreScreen& Screen() {
  static HighScoreScreen screen;
  return screen;
}

void SetColor(TextAnimation& text, D3DCOLOR c) {
  text.SetColor(static_cast<unsigned char>(c >> 24), static_cast<unsigned char>(c >> 16),
                static_cast<unsigned char>(c >> 8), static_cast<unsigned char>(c));
}

TextAnimation MakeText(const std::string& text, float x, float y, float size, D3DCOLOR color) {
  TextAnimation t;
  t.SetFont("Georgia");
  t.SetText(text);
  t.SetPosition(Vector2(x, y));
  SetColor(t, color);
  t.SetAlignment(TextAnimation::ALIGN_CENTRE);
  t.SetSize(size);
  return t;
}

// The notice in the largest size up to kNoticeSize that keeps it on one line.
TextAnimation NoticeText(const std::string& notice) {
  int size = kNoticeSize;
  if (D3DInterface::Exists()) {
    for (; size > kNoticeSmallest; --size) {
      int width = 0;
      D3DInterface::GetEngine()->GetTextExtent("Georgia", size, notice, &width, nullptr);
      if (width <= kNoticeWidth) break;
    }
  }
  return MakeText(notice, 400, kNoticeY, static_cast<float>(size), kNoticeColor);
}

int ResultTime(bool finished) {
  return finished ? HUD::GetTime() : scorefile::kNoTime;
}

bool IsMultiPlayer() {
  return World::GetPlayerRecords().size() != 1;
}

}  // namespace

namespace endscreens {
const std::vector<TextAnimation>& HighScoreTexts() { return Screen().texts; }
int HighScoreTable() { return Screen().table; }
const std::string& HighScoreNotice() { return Screen().notice; }
}  // namespace endscreens

bool World::IsHighScore(PlayerObject* player, bool finished) {
  if (!player) return false;
  const scorefile::ScoreTable table = scorefile::Read(scorefile::kFileName);
  const scorefile::Slots slots =
      scorefile::Rank(table, IsMultiPlayer(), player->GetScore(), ResultTime(finished));
  return slots.score != -1 || slots.time != -1;
}

platform::SaveStatus World::SaveScore(PlayerObject* player, bool finished, std::string name,
                                      bool lastTry) {
  std::string& notice = Screen().notice;
  notice.clear();
  if (!player) return platform::SaveStatus::Failed;
  const scorefile::Result result{IsMultiPlayer(), player->GetScore(), ResultTime(finished),
                                 std::move(name)};
  std::string error;
  const platform::SaveStatus status = scorefile::TrySave(scorefile::kFileName, result, error);
  if (status == platform::SaveStatus::Saved ||
      (status == platform::SaveStatus::Busy && !lastTry)) {
    return status;
  }
  // A lock given up and a file that could not be written are told alike.
  std::fprintf(stderr, "%s: the new score was not saved: %s\n", scorefile::kFileName,
               error.c_str());
  notice = "Score not saved - " + error;
  return platform::SaveStatus::Failed;
}

int World::HighScores(int* frameCounter) {
  HighScoreScreen& screen = Screen();
  int next = STATE_HIGH_SCORES;

  if (*frameCounter == 0) {
    *frameCounter = 1;
    screen.table = 0;
    StartFade(kFadeFrames, 0xFF000000, 0);
    const scorefile::ScoreTable table = scorefile::Read(scorefile::kFileName);
    screen.texts.clear();
    screen.texts.push_back(MakeText(kCaptions[0], 400, 50, 40, kCaptionColor));
    for (const RowStyle& row : kRows) {
      screen.texts.push_back(MakeText(row.label, kRankX, row.y, row.size, row.color));
    }
    for (int b = 0; b < scorefile::kBlocks; ++b) {
      for (int r = 0; r < scorefile::kBlockRows; ++r) {
        const RowStyle& row = kRows[r];
        screen.texts.push_back(MakeText(std::to_string(table.values[b * scorefile::kBlockRows + r]),
                                        kValueX, row.y, row.size, row.color));
      }
      for (int r = 0; r < scorefile::kBlockRows; ++r) {
        const RowStyle& row = kRows[r];
        screen.texts.push_back(MakeText(table.names[b * scorefile::kBlockRows + r], kNameX, row.y,
                                        row.size, row.color));
      }
    }
    if (!screen.notice.empty()) screen.noticeText = NoticeText(screen.notice);
    if (m_cscObjects) m_cscObjects->SetMask(0);
  }

  if (!screen.notice.empty()) screen.noticeText.Update();
  if (screen.texts.size() == kFixedTexts + scorefile::kBlocks * kTextsPerBlock) {
    for (std::size_t i = 0; i < kFixedTexts; ++i) screen.texts[i].Update();
    const std::size_t first = kFixedTexts + static_cast<std::size_t>(screen.table) * kTextsPerBlock;
    for (std::size_t i = first; i < first + kTextsPerBlock; ++i) screen.texts[i].Update();
  }

  Input* input = Input::GetInstance();
  VT_ASSERT(input);
  if (input->IsPressed(JUMP | ENTER_MENU_SELECTION)) {
    if (screen.table == scorefile::kBlocks - 1 || screen.texts.empty()) {
      next = STATE_MAIN_MENU;
    } else {
      ++screen.table;
      screen.texts[0].SetText(kCaptions[screen.table]);
    }
  }

  if (next != STATE_HIGH_SCORES) {
    ++m_currentEntry;
    if (m_cscObjects) m_cscObjects->SetMask(PASS_ALL);
    StartFade(kFadeFrames, 0xFF000000, 0);
    screen.texts.clear();
    screen.notice.clear();
    ClearPlayerRecords();
  }
  return next;
}
