// Text that must fit the 800 x 600 screen: every tutorial message, and every label of the
// story and the credits, measured with the game's own text path at the size it is drawn.
#include "TextRules.h"

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "D3DInterfaceLib/D3DInterface.h"
#include "game/screens/ScreenTexts.h"
#include "game/tutorial/Tutorial.h"

namespace validator {

namespace {

constexpr int kScreenW = 800;
constexpr int kScreenH = 600;

// A text's box on screen as the text queue places it (x and y truncated).
struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
};

Box Measure(const std::string& face, int size, float x, float y, const std::string& text) {
  int width = 0, height = 0;
  D3DInterface::GetEngine()->GetTextExtent(face, size, text, &width, &height);
  const int left = static_cast<int>(x), top = static_cast<int>(y);
  return {left, top, left + width, top + height};
}

// Where a box leaves the screen, worst edge first; empty when it fits.
std::string Outside(const Box& box) {
  const std::pair<int, const char*> edges[] = {{box.right - kScreenW, "right"},
                                               {-box.left, "left"},
                                               {box.bottom - kScreenH, "bottom"},
                                               {-box.top, "top"}};
  const auto worst = std::max_element(std::begin(edges), std::end(edges));
  if (worst->first <= 0) return "";
  return "runs " + std::to_string(worst->first) + " px past the " + worst->second +
         " edge of the " + std::to_string(kScreenW) + " x " + std::to_string(kScreenH) + " screen";
}

// How far two boxes cover each other, width x height; zero when they only touch.
std::pair<int, int> Overlap(const Box& a, const Box& b) {
  const int w = std::min(a.right, b.right) - std::max(a.left, b.left);
  const int h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return w > 0 && h > 0 ? std::make_pair(w, h) : std::make_pair(0, 0);
}

std::string Shown(const std::string& text) {
  std::string flat = text;
  std::replace(flat.begin(), flat.end(), '\n', ' ');
  return Quoted(flat);
}

}  // namespace

ShownTexts::ShownTexts(std::string screen, bool still)
    : m_screen(std::move(screen)), m_still(still) {}

void ShownTexts::Frame(int frame, const std::vector<TextEntry>& texts) {
  std::vector<std::pair<const TextEntry*, Box>> shown;
  std::vector<std::tuple<std::string, float, float>> now;
  for (const TextEntry& t : texts) {
    if ((t.color >> 24) != 0xFF) continue;
    shown.emplace_back(&t, Measure(t.face, t.size, t.x, t.y, t.text));
    now.emplace_back(t.text, t.x, t.y);
  }
  for (const auto& [text, box] : shown) {
    const bool resting =
        m_still || std::find(m_previous.begin(), m_previous.end(),
                             std::make_tuple(text->text, text->x, text->y)) != m_previous.end();
    const std::string where = resting ? Outside(box) : "";
    if (!where.empty()) Note(Shown(text->text), where, 0, frame);
    for (const auto& [other, otherBox] : shown) {
      // A label's own trail or shadow repeats its text; only different labels clash.
      if (other->text <= text->text) continue;
      const auto [w, h] = Overlap(box, otherBox);
      if (w > 0) {
        Note(Shown(text->text) + " and " + Shown(other->text),
             "overlap by up to " + std::to_string(w) + " x " + std::to_string(h) + " px", w * h,
             frame);
      }
    }
  }
  m_previous = std::move(now);
}

void ShownTexts::Report(Problems& problems) const {
  for (const auto& [what, finding] : m_findings) {
    problems.Add(m_screen, what + " " + finding.message + " (first on frame " +
                               std::to_string(finding.frame) + ")");
  }
}

void ShownTexts::Note(const std::string& what, const std::string& message, int size, int frame) {
  auto [it, fresh] = m_findings.try_emplace(what, Finding{message, size, frame});
  if (!fresh && size > it->second.size) {
    it->second.message = message;
    it->second.size = size;
  }
}

void CheckTutorialText(const std::string& script, const Tutorial& tutorial,
                       const std::vector<int>& recordLines, Problems& problems) {
  const int size = tutorial.GetPointSize();
  if (size <= 0) return;  // reported with the script's settings
  int number = 0;
  int tallest = 0;
  for (const auto& event : tutorial.GetPending()) {
    const int line = number < static_cast<int>(recordLines.size()) ? recordLines[number] : 0;
    ++number;
    const Box box =
        Measure(tutorial.GetFace(), size, tutorial.GetX(), tutorial.GetBaseY(), event->GetText());
    tallest = std::max(tallest, box.bottom - box.top);
    const std::string where = Outside(box);
    if (!where.empty()) {
      problems.Add(script, "line " + std::to_string(line) + ": message " + std::to_string(number) +
                               " " + where + " (" + std::to_string(box.right - box.left) +
                               " px wide from x " + std::to_string(box.left) + ")");
    }
  }
  // Messages shown together stack one line step apart, so a taller line runs into the next.
  const float step = static_cast<float>(size) + tutorial.GetLineSpacing();
  if (static_cast<float>(tallest) > step) {
    problems.Add(script, "line 1: messages shown together overlap by " +
                             Number(static_cast<float>(tallest) - step) + " px: a line is " +
                             std::to_string(tallest) + " px high, the line step " + Number(step) +
                             " px (point size plus spacing)");
  }
}

void CheckScreenTexts(Problems& problems) {
  ShownTexts story("story", true);
  int page = 0;
  for (const auto& texts : screentexts::StoryPagesAtRest()) story.Frame(++page, texts);
  story.Report(problems);

  ShownTexts credits("credits", false);
  screentexts::ForEachCreditsFrame(
      [&credits](int frame, const std::vector<TextEntry>& texts) { credits.Frame(frame, texts); });
  credits.Report(problems);
}

}  // namespace validator
