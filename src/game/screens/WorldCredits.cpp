// The credits (state 6): role titles with their people, and for three roles a
// procession of the parts they built, travelling along an ellipse with fading
// trails. Text only. A held confirm key runs the timeline five times a frame;
// the picture is queued on the frame's last pass only, so a fast frame still
// draws one picture (the white titles included).
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "animationlib/SpriteCollection.h"
#include "game/input/Input.h"
#include "game/screens/ScreenTexts.h"
#include "game/world/World.h"
#include "platform/Assert.h"

// One label of a procession, in the order its table is written.
struct CreditsEntry {
  float offsetX;  // subtracted from every x the label is drawn at, to centre it
  float offsetY;
  float startAngle;  // on the ellipse, radians
  float endAngle;
  float angle;
  float opacity;  // 0..255
  std::string label;
};

namespace {

constexpr const char* kFace = "Corsiva";
constexpr float kPi = 3.14159265358979323846f;
constexpr float kAngleStep = kPi / 320.0f;
constexpr float kFadeStep = 255.0f / 60.0f;
constexpr float kLabelFade = 2.125f;
constexpr int kEnd = 6261;
constexpr D3DCOLOR kWhite = 0xFFFFFF, kGreen = 0x00FF00, kRed = 0xFF0000, kBlue = 0x0000FF;

struct TrailPoint {
  float x;
  float y;
  int shade;
  float angle;
};

struct Label {
  const char* text;
  float offsetX;
  float offsetY;
};

// How one procession enters, travels and leaves.
struct ProcessionKind {
  int begin;  // the counter its first label enters at
  float startAngle;
  float endAngle;
  D3DCOLOR color;
  float slideReset;
  float driftReset;
  std::vector<Label> labels;
};

const std::array<ProcessionKind, 3> kProcessions = {{
    {668, 3.0f * kPi / 2.0f, 3.0f * kPi, kGreen, 0.0f, 150.0f,
     {{"Physics &\n Collision", 60, 40},
      {"Collision\n Editor", 50, 40},
      {"Enemy &\n Boss AI", 50, 40},
      {"Graphics\n  Engine", 50, 40},
      {"Geometry\n Library", 60, 40},
      {"   Factory\nLevel Design", 60, 40},
      {"   Airship\nLevel Design", 60, 40},
      {"Junkyard\nGraphics", 60, 40},
      {"Airship\nGraphics", 60, 40}}},
    {2592, 0.0f, 3.0f * kPi / 2.0f, kRed, 0.0f, 0.0f,
     {{" Sound\nEngine", 50, 40},
      {"Music &\n  SFX", 50, 40},
      {"Text\nAnimations", 50, 40},
      {"Special\nEffects", 50, 40},
      {"World & Level\nLoading", 50, 40},
      {"Multiplayer", 50, 40},
      {" Main\nMenus", 50, 40},
      {"   Intro\nScreens", 50, 40},
      {"   Junkyard\nLevel Design", 50, 40},
      {"HUD & Version\n   E Graphics", 60, 40}}},
    {4636, kPi / 2.0f, 2.0f * kPi, kBlue, 700.0f, 0.0f,
     {{" Input\nEngine", 50, 40},
      {" Enemy\nGraphics", 50, 40},
      {"    Zodiraz O\nSpecial Moves", 60, 40},
      {"Enemy AI", 50, 20},
      {" File\nLoading", 50, 20},
      {"  Text\nTutorial", 50, 20}}},
}};

// Our people; every name is made up.
const char* const kExecutiveProducer = "Maren Tolvik";
const char* const kConceptDesign = "Idris Pellworth";
const char* const kProducers[] = {"Teo Brannick", "Wilma Quay"};
const char* const kTechnicalDirectors[] = {"Anselm Korr", "Juno Vail"};
const char* const kDesigners[] = {"Calla Dunn", "Ravi Oakenfold"};
const char* const kThanks[] = {"the Tuesday playtesters", "Edda and Piet Marlow", "our families",
                               "everyone who played"};

// What the screen keeps between frames; the records and trails are built once
// and refilled on every visit.
struct Procession {
  std::vector<CreditsEntry> entries;
  std::vector<std::vector<TrailPoint>> trails;
};
std::array<Procession, 3> g_processions;
int g_started = 0;
int g_finished = 0;
float g_slide = 0.0f;
float g_drift = 0.0f;
float g_whiteOpacity = 0.0f;
float g_roleOpacity = 0.0f;
float g_roleX = 0.0f, g_roleY = 0.0f;
// Only the frame's last pass queues texts.
bool g_draw = true;
// While the data tools read the credits, texts go here instead of to the World.
std::vector<TextEntry>* g_sink = nullptr;

D3DCOLOR WithOpacity(D3DCOLOR rgb, float opacity) {
  return (static_cast<D3DCOLOR>(static_cast<int>(opacity)) << 24) | rgb;
}

void Text(int size, float x, float y, const std::string& text, D3DCOLOR color) {
  if (!g_draw) return;
  if (g_sink) {
    g_sink->push_back({kFace, size, x, y, text, color});
  } else {
    World::QueueText({kFace, size, x, y, text, color});
  }
}

void Fill() {
  for (std::size_t p = 0; p < kProcessions.size(); ++p) {
    const ProcessionKind& kind = kProcessions[p];
    Procession& procession = g_processions[p];
    procession.entries.clear();
    for (const Label& label : kind.labels) {
      procession.entries.push_back({label.offsetX, label.offsetY, kind.startAngle, kind.endAngle,
                                    kind.startAngle, 0.0f, label.text});
    }
    procession.trails.assign(kind.labels.size(), {});
  }
}

float EllipseX(float angle) {
  return 350.0f + 250.0f * std::cos(angle);
}
float EllipseY(float angle) {
  return 300.0f + 150.0f * std::sin(angle);
}

struct Placed {
  const char* text;
  float x;
  float y;
};

// A white title with its names, all size 30.
struct WhiteTitle {
  int first;  // fades in over [first, first + 60], stays 121, fades out over 61
  std::vector<Placed> lines;
};

const WhiteTitle kExecutive = {0, {{"EXECUTIVE PRODUCER", 170, 250}, {kExecutiveProducer, 280, 300}}};
const WhiteTitle kConcept = {243, {{"CONCEPT DESIGN by", 170, 250}, {kConceptDesign, 280, 300}}};
const WhiteTitle kSpecialThanks = {6018,
                                   {{"SPECIAL THANKS to", 185, 150},
                                    {kThanks[0], 280, 200},
                                    {kThanks[1], 280, 250},
                                    {kThanks[2], 280, 300},
                                    {kThanks[3], 280, 350}}};

// A coloured role: its title slides in, fades in with its names, stays over its
// procession and fades out.
struct Role {
  int slideFirst;
  D3DCOLOR color;
  float startX, startY;  // the slide's first offset
  std::vector<Placed> titles;  // size 30
  std::vector<Placed> names;   // size 25
};

const std::array<Role, 3> kRoles = {{
    {486, kGreen, 800, 600, {{"PRODUCER", 50, 40}}, {{kProducers[0], 345, 245}, {kProducers[1], 320, 285}}},
    {2410, kRed, -800, 600, {{"TECHNICAL", 525, 40}, {"DIRECTOR", 530, 90}},
     {{kTechnicalDirectors[0], 345, 245}, {kTechnicalDirectors[1], 345, 285}}},
    {4454, kBlue, -800, -600, {{"DESIGNER", 530, 520}},
     {{kDesigners[0], 345, 245}, {kDesigners[1], 345, 285}}},
}};

void WhitePhase(int& counter, int first, int last, float step, const WhiteTitle& title) {
  if (counter < first || counter > last) return;
  ++counter;
  g_whiteOpacity = std::clamp(g_whiteOpacity + step, 0.0f, 255.0f);
  const D3DCOLOR color = WithOpacity(kWhite, g_whiteOpacity);
  for (const Placed& line : title.lines) Text(30, line.x, line.y, line.text, color);
}

void RunWhiteTitle(int& counter, const WhiteTitle& title) {
  const int b = title.first;
  WhitePhase(counter, b, b + 60, kFadeStep, title);
  WhitePhase(counter, b + 61, b + 181, 0.0f, title);
  WhitePhase(counter, b + 182, b + 242, -kFadeStep, title);
}

void DrawRole(const Role& role, float opacity) {
  const D3DCOLOR color = WithOpacity(role.color, opacity);
  for (const Placed& title : role.titles) Text(30, title.x, title.y, title.text, color);
  for (const Placed& name : role.names) Text(25, name.x, name.y, name.text, color);
}

// One frame of a procession: labels enter one every 120 frames, travel the
// ellipse trailed by darker copies, and leave 720 frames after they entered.
void RunProcession(int& counter, std::size_t p) {
  const ProcessionKind& kind = kProcessions[p];
  Procession& procession = g_processions[p];
  const int n = static_cast<int>(procession.entries.size());
  const int t = counter - kind.begin;
  if (t % 120 == 0 && t / 120 == g_started && g_started < n + 1) {
    ++g_started;
    g_slide = kind.slideReset;
    g_drift = kind.driftReset;
  }
  if (t >= 720 && (t - 720) % 120 == 0 && (t - 720) / 120 == g_finished && g_finished < n) {
    ++g_finished;
    g_drift = kind.driftReset;
  }

  for (int i = g_finished; i < g_started && i < n; ++i) {
    CreditsEntry& e = procession.entries[static_cast<std::size_t>(i)];
    std::vector<TrailPoint>& trail = procession.trails[static_cast<std::size_t>(i)];
    float x = 0.0f, y = 0.0f;
    if (i == g_started - 1) {
      e.opacity = std::min(255.0f, e.opacity + kLabelFade);
      if (p == 0) {
        g_slide += 350.0f / 120.0f;
        x = g_slide, y = 150.0f;
      } else if (p == 1) {
        g_slide += 300.0f / 120.0f;
        x = 600.0f, y = g_slide;
      } else {
        g_slide -= 350.0f / 120.0f;
        x = g_slide, y = 450.0f;
      }
      Text(20, x - e.offsetX, y - e.offsetY, e.label, WithOpacity(kind.color, e.opacity));
    } else if (e.angle == e.endAngle) {
      e.opacity = std::max(0.0f, e.opacity - kLabelFade);
      if (p == 0) {
        g_drift -= 1.25f;
        x = 100.0f, y = 150.0f + g_drift;
      } else if (p == 1) {
        g_drift += 250.0f / 120.0f;
        x = 350.0f + g_drift, y = 150.0f;
      } else {
        g_drift += 1.25f;
        x = 600.0f, y = 300.0f + g_drift;
      }
      Text(20, x - e.offsetX, y - e.offsetY, e.label, WithOpacity(kind.color, e.opacity));
    } else {
      for (TrailPoint& point : trail) {
        point.angle += kAngleStep;
        point.x = EllipseX(point.angle);
        point.y = EllipseY(point.angle);
      }
      // Summed float steps may fall a hair short of the end; half a step counts as there.
      e.angle = e.angle + kAngleStep >= e.endAngle - kAngleStep / 2.0f ? e.endAngle : e.angle + kAngleStep;
      if (trail.size() < 3 && (t + 1) % 10 == 0) {
        const int shade = (static_cast<int>(trail.size()) + 1) * 50 + 70;
        trail.push_back({EllipseX(e.startAngle), EllipseY(e.startAngle), shade, e.startAngle});
      }
      for (auto point = trail.rbegin(); point != trail.rend(); ++point) {
        // The procession's own channel, darkened by the shade.
        D3DCOLOR channel = static_cast<D3DCOLOR>(255 - point->shade);
        if (kind.color == kGreen) channel <<= 8;
        if (kind.color == kRed) channel <<= 16;
        Text(20, point->x - e.offsetX, point->y - e.offsetY, e.label, 0xFF000000u | channel);
      }
      Text(20, EllipseX(e.angle) - e.offsetX, EllipseY(e.angle) - e.offsetY, e.label,
           0xFF000000u | kind.color);
    }
  }
  ++counter;
}

// One role with its procession, from the title's slide to its fade-out.
void RunRole(int& counter, std::size_t r) {
  const Role& role = kRoles[r];
  const int slide = role.slideFirst;
  const int begin = kProcessions[r].begin;
  const int end = begin + 720 + 120 * (static_cast<int>(kProcessions[r].labels.size()) - 1);
  if (counter == slide) {
    g_roleX = role.startX;
    g_roleY = role.startY;
  }
  if (counter >= slide && counter <= slide + 120) {
    ++counter;
    const D3DCOLOR color = WithOpacity(role.color, 255.0f);
    for (const Placed& title : role.titles) Text(30, title.x + g_roleX, title.y + g_roleY, title.text, color);
    // Towards the resting place from wherever the slide started.
    g_roleX -= role.startX / 120.0f;
    g_roleY -= role.startY / 120.0f;
  }
  if (counter == slide + 121) g_roleOpacity = 0.0f;
  if (counter >= slide + 121 && counter <= slide + 181) {
    ++counter;
    g_roleOpacity = std::min(255.0f, g_roleOpacity + kFadeStep);
    DrawRole(role, g_roleOpacity);
  }
  if (counter == begin) {
    g_started = 0;
    g_finished = 0;
    for (auto& trail : g_processions[r].trails) trail.clear();
  }
  if (counter >= begin && counter <= end) {
    DrawRole(role, 255.0f);
    RunProcession(counter, r);
  }
  if (counter == end + 1) g_roleOpacity = 255.0f;
  if (counter >= end + 1 && counter <= end + 61) {
    ++counter;
    g_roleOpacity = std::max(0.0f, g_roleOpacity - kFadeStep);
    DrawRole(role, g_roleOpacity);
  }
}

// One run of the timeline; the next state once the end is reached, else 0.
int RunTimeline(int& counter) {
  if (counter == 0) {
    g_roleX = 800.0f;
    g_roleY = 600.0f;
    g_whiteOpacity = 0.0f;
    Fill();
  }
  RunWhiteTitle(counter, kExecutive);
  RunWhiteTitle(counter, kConcept);
  for (std::size_t r = 0; r < kRoles.size(); ++r) RunRole(counter, r);
  RunWhiteTitle(counter, kSpecialThanks);
  if (counter == kEnd && g_sink) return STATE_MAIN_MENU;  // read by the tools: no World
  if (counter == kEnd) {
    World::GetObjects()->SetMask(PASS_ALL);
    World::StartFade(30, 0xFF000000, 0x00000000);
    int next = STATE_MAIN_MENU;
    if (World::IsGameCompleted()) {
      // After a completed game the player's name is asked for.
      World::SetCurrentEntry(World::GetCurrentEntry() + 1);
      next = STATE_NAME_ENTRY;
    }
    World::SetGameCompleted(false);
    return next;
  }
  return 0;
}

}  // namespace

void screentexts::ForEachCreditsFrame(
    const std::function<void(int, const std::vector<TextEntry>&)>& frame) {
  std::vector<TextEntry> texts;
  g_sink = &texts;
  g_draw = true;
  int counter = 0;
  for (int number = 0;; ++number) {
    texts.clear();
    const int next = RunTimeline(counter);
    frame(number, texts);
    if (next) break;
  }
  g_sink = nullptr;
}

int World::Credits(int* frameCounter) {
  Input* input = Input::GetInstance();
  VT_ASSERT(input);
  VT_ASSERT(GetObjects());
  const int passes = input->IsHeld(JUMP) || input->IsHeld(ENTER_MENU_SELECTION) ? 5 : 1;
  for (int pass = 1; pass <= passes; ++pass) {
    g_draw = pass == passes;
    if (const int next = RunTimeline(*frameCounter)) return next;
  }
  return STATE_CREDITS;
}
