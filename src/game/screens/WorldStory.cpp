// The story screen (state 5): thirteen lines on three pages, each page flying
// in line by line, waiting for a key with a faint copy circling behind it, then
// darkening to black. Text only; the main list is switched off meanwhile.
// Chained blocks on the frame counter, as every front-end screen.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "animationlib/SpriteCollection.h"
#include "game/input/Input.h"
#include "game/screens/ScreenTexts.h"
#include "game/world/World.h"
#include "platform/Assert.h"

namespace {

constexpr const char* kFace = "Corsiva";
constexpr int kSize = 30;
constexpr D3DCOLOR kSolid = 0xFF0000FF;
constexpr D3DCOLOR kCopy = 0x7F7F00FF;
constexpr double kPi = 3.14159265358979323846;
constexpr double kPhaseStep = kPi / 60.0;
constexpr float kLineStep = 15.0f;
constexpr float kSlideStep = 800.0f / 60.0f;
constexpr float kDarkenStep = 255.0f / 40.0f;

struct Line {
  const char* text;
  float x;       // page 1 and 2: fixed x; page 3: added to the sliding value
  float offset;  // page 1 and 2: added to the moving value; page 3: fixed y
};

const std::array<Line, 5> kPage1 = {{
    {"As a devoted member of the Ninja regime,", 26.0f, 25.0f},
    {"Zodiraz O was assigned by Ninja leader", 55.0f, 70.0f},
    {"Kaje to divulge and destroy the traitor,", 66.0f, 115.0f},
    {"who had leaked secrets to the", 136.0f, 160.0f},
    {"Tiger Army.", 298.0f, 205.0f},
}};
// Top to bottom on screen; revealed bottom line first.
const std::array<Line, 4> kPage2 = {{
    {"Now, Zodiraz O wakes up in a junkyard", 55.0f, 340.0f},
    {"on a scrap pile, his memory core broken.", 110.0f, 385.0f},
    {"Zodiraz O remembers having a mission and", 20.0f, 470.0f},
    {"fighting in a battle that had ended badly.", 50.0f, 515.0f},
}};
const std::array<Line, 4> kPage3 = {{
    {"If he can recover his missing memory core", 20.0f, 225.0f},
    {"shards, Zodiraz O might have the chance of", 30.0f, 265.0f},
    {"recovering his lost fighting techniques", 65.0f, 305.0f},
    {"and confronting his forgotten destroyer.", 80.0f, 345.0f},
}};

// What the screen keeps between frames.
std::array<float, 5> g_page1Y;
std::array<float, 4> g_slots;  // page 2's y values, then page 3's x values
float g_brightness = 255.0f;
double g_phase = 0.0;

struct Placed {
  const char* text;
  float x;
  float y;
};

void Queue(const Placed& line, D3DCOLOR color, float dx = 0.0f, float dy = 0.0f) {
  World::QueueText({kFace, kSize, line.x + dx, line.y + dy, line.text, color});
}

template <std::size_t N>
std::array<Placed, N> PlaceFixedX(const std::array<Line, N>& page, const float* moving) {
  std::array<Placed, N> placed{};
  for (std::size_t i = 0; i < N; ++i) placed[i] = {page[i].text, page[i].x, moving[i] + page[i].offset};
  return placed;
}

std::array<Placed, 4> PlacePage3() {
  std::array<Placed, 4> placed{};
  for (std::size_t i = 0; i < 4; ++i) placed[i] = {kPage3[i].text, g_slots[i] + kPage3[i].x, kPage3[i].offset};
  return placed;
}

// A finished page: the copy circles once every 120 frames behind the solid text;
// a newly pressed page key moves on.
template <std::size_t N>
void Wait(int& counter, const std::array<Placed, N>& page) {
  g_phase += kPhaseStep;
  // A hair's tolerance: summed steps land a rounding error short of two pi.
  if (g_phase >= 2.0 * kPi - 1e-9) g_phase = 0.0;
  const float dx = static_cast<float>(5.0 * std::cos(g_phase));
  const float dy = static_cast<float>(5.0 * std::sin(g_phase));
  for (const Placed& line : page) Queue(line, kCopy, dx, dy);
  for (const Placed& line : page) Queue(line, kSolid);
  Input* input = Input::GetInstance();
  VT_ASSERT(input);
  if (input->IsPressed(ENTER_MENU_SELECTION) || input->IsPressed(JUMP)) ++counter;
}

template <std::size_t N>
void Darken(int& counter, const std::array<Placed, N>& page) {
  ++counter;
  g_brightness = std::max(0.0f, g_brightness - kDarkenStep);
  const D3DCOLOR color = 0xFF000000u | static_cast<D3DCOLOR>(static_cast<int>(g_brightness));
  for (const Placed& line : page) Queue(line, color);
}

template <std::size_t N>
std::vector<TextEntry> Solid(const std::array<Placed, N>& page) {
  std::vector<TextEntry> texts;
  for (const Placed& line : page)
    texts.push_back({kFace, kSize, line.x, line.y, line.text, kSolid});
  return texts;
}

}  // namespace

std::vector<std::vector<TextEntry>> screentexts::StoryPagesAtRest() {
  // The same steps the pages move by on screen, summed the same way.
  std::array<float, 5> page1;
  page1.fill(600.0f);
  for (float& y : page1)
    for (int step = 0; step < 41; ++step) y -= kLineStep;
  std::array<float, 4> page2;
  page2.fill(-600.0f);
  for (float& y : page2)
    for (int step = 0; step < 41; ++step) y += kLineStep;
  const std::array<float, 4> saved = g_slots;
  g_slots = {-800.0f, 800.0f, -800.0f, 800.0f};
  for (int step = 0; step < 61; ++step)
    for (std::size_t i = 0; i < g_slots.size(); ++i)
      g_slots[i] += i % 2 == 0 ? kSlideStep : -kSlideStep;
  std::vector<std::vector<TextEntry>> pages = {Solid(PlaceFixedX(kPage1, page1.data())),
                                               Solid(PlaceFixedX(kPage2, page2.data())),
                                               Solid(PlacePage3())};
  g_slots = saved;
  return pages;
}

int World::Story(int* frameCounter) {
  int& counter = *frameCounter;
  SpriteCollection* objects = GetObjects();
  VT_ASSERT(objects);

  if (counter == 0) {
    objects->SetMask(0);
    g_page1Y.fill(600.0f);
    g_brightness = 255.0f;
  }
  // Page 1 rises line by line, 41 counter values each.
  for (std::size_t line = 0; line < kPage1.size(); ++line) {
    const int first = 41 * static_cast<int>(line);
    if (counter >= first && counter <= first + 40) {
      ++counter;
      g_page1Y[line] -= kLineStep;
      const auto placed = PlaceFixedX(kPage1, g_page1Y.data());
      for (std::size_t shown = 0; shown <= line; ++shown) Queue(placed[shown], kSolid);
      if (counter == 205) g_phase = 0.0;
    }
  }
  if (counter == 205) Wait(counter, PlaceFixedX(kPage1, g_page1Y.data()));
  if (counter >= 206 && counter <= 246) Darken(counter, PlaceFixedX(kPage1, g_page1Y.data()));

  if (counter == 247) {
    g_brightness = 255.0f;
    g_slots.fill(-600.0f);
  }
  // Page 2 drops in from the bottom line up.
  for (int step = 0; step < 4; ++step) {
    const int first = 247 + 41 * step;
    const std::size_t line = static_cast<std::size_t>(3 - step);
    if (counter >= first && counter <= first + 40) {
      ++counter;
      g_slots[line] += kLineStep;
      const auto placed = PlaceFixedX(kPage2, g_slots.data());
      for (std::size_t shown = line; shown < placed.size(); ++shown) Queue(placed[shown], kSolid);
      if (counter == 411) g_phase = 0.0;
    }
  }
  if (counter == 411) Wait(counter, PlaceFixedX(kPage2, g_slots.data()));
  if (counter >= 412 && counter <= 452) Darken(counter, PlaceFixedX(kPage2, g_slots.data()));

  if (counter == 453) {
    g_brightness = 255.0f;
    g_slots = {-800.0f, 800.0f, -800.0f, 800.0f};
  }
  // Page 3 slides in from both sides at once.
  if (counter >= 453 && counter <= 513) {
    ++counter;
    for (std::size_t i = 0; i < g_slots.size(); ++i) g_slots[i] += i % 2 == 0 ? kSlideStep : -kSlideStep;
    for (const Placed& line : PlacePage3()) Queue(line, kSolid);
    if (counter == 514) g_phase = 0.0;
  }
  if (counter == 514) Wait(counter, PlacePage3());
  if (counter >= 515 && counter <= 555) Darken(counter, PlacePage3());

  if (counter == 556) {
    objects->SetMask(PASS_ALL);
    StartFade(30, 0xFF000000, 0x00000000);
    return STATE_MAIN_MENU;
  }
  return STATE_STORY;
}
