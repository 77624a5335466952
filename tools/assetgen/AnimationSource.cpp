// Reader of the animation sources; format in AnimationSource.h.
#include "AnimationSource.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>

#include "CollisionTable.h"

namespace assetgen {
namespace {

constexpr int kMaxSheetWidth = 2048;
constexpr int kMaxFrameSide = 4096;
constexpr int kMaxFrames = 1024;
constexpr int kAfterCopy = -3;  // shapes would be ambiguous right after a copy
constexpr int kLoopSelf = -4;

// Words of a line up to a comment: a word that starts with '#'.
std::vector<std::string> Tokens(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line);
  std::string token;
  while (in >> token && token[0] != '#') out.push_back(token);
  return out;
}

class Parser {
 public:
  Parser(const std::string& origin, const std::vector<AnimationDesc>& known)
      : m_origin(origin), m_known(known) {}

  std::vector<AnimationDesc> Run(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
      ++m_line;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      auto tokens = Tokens(line);
      if (!tokens.empty()) Directive(tokens);
    }
    Finish();
    return std::move(m_done);
  }

 private:
  [[noreturn]] void Fail(const std::string& message) const {
    throw SourceError(m_origin + ":" + std::to_string(m_line) + ": " + message);
  }

  AnimationDesc& Current() {
    if (!m_current) Fail("directive before any 'animation' line");
    return *m_current;
  }

  double Number(const std::string& text) const {
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
      Fail("'" + text + "' is not a number");
    return value;
  }

  int Integer(const std::string& text, int low, int high) const {
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
      Fail("'" + text + "' is not a whole number");
    if (value < low || value > high)
      Fail("'" + text + "' is outside " + std::to_string(low) + ".." + std::to_string(high));
    return value;
  }

  void Arity(const std::vector<std::string>& t, size_t count) const {
    if (t.size() != count) Fail("'" + t[0] + "' takes " + std::to_string(count - 1) + " value(s)");
  }

  int Type(const std::string& text) const {
    auto type = CollisionTypeFromName(text);
    if (!type) Fail("unknown collision type '" + text + "'");
    return *type;
  }

  Vertex ParseVertex(const std::string& text) const {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, ',')) parts.push_back(part);
    if (parts.size() < 2 || parts.size() > 3) Fail("vertex '" + text + "' is not x,y or x,y,r");
    Vertex v;
    v.x = static_cast<float>(Number(parts[0]));
    v.y = static_cast<float>(Number(parts[1]));
    if (parts.size() == 3) {
      v.radius = static_cast<float>(Number(parts[2]));
      if (v.radius < 0) Fail("negative radius in '" + text + "'");
    }
    return v;
  }

  void AddPolygon(Polygon polygon) {
    AnimationDesc& anim = Current();
    if (m_frameLineStart == kAfterCopy) Fail("shapes after 'copy' need a frame line first");
    if (m_frameLineStart < 0) {
      anim.sharedPolygons.push_back(std::move(polygon));
      return;
    }
    for (size_t i = static_cast<size_t>(m_frameLineStart); i < anim.frames.size(); ++i)
      anim.frames[i].polygons.push_back(polygon);
  }

  Params ParseParams(const std::vector<std::string>& t, size_t from) const {
    Params params;
    for (size_t i = from; i < t.size(); ++i) {
      auto eq = t[i].find('=');
      if (eq == std::string::npos || eq == 0 || eq + 1 == t[i].size())
        Fail("'" + t[i] + "' is not key=value");
      params[t[i].substr(0, eq)] = t[i].substr(eq + 1);
    }
    return params;
  }

  void AddFrames(int count, Params params) {
    AnimationDesc& anim = Current();
    if (anim.frames.size() + count > kMaxFrames) Fail("too many frames");
    m_frameLineStart = static_cast<int>(anim.frames.size());
    int first = 0;
    if (auto it = params.find("from"); it != params.end()) {
      first = Integer(it->second, 0, kMaxFrames - 1);
      params.erase(it);
    }
    for (int k = 0; k < count; ++k) {
      FrameDesc frame;
      frame.offsetX = m_offsetX;
      frame.offsetY = m_offsetY;
      frame.ticks = m_ticks;
      int index = static_cast<int>(anim.frames.size());
      frame.next = -2;  // resolved at the end of the animation
      for (const auto& [key, value] : params) {
        if (key == "next") {
          frame.next = value == "self" ? index : Integer(value, 0, kMaxFrames - 1);
        } else if (key == "ticks") {
          frame.ticks = Integer(value, 0, 1000000);
        } else if (key == "sound") {
          frame.sound = value == "-" ? "" : value;
        } else if (key == "offset") {
          Vertex v = ParseVertex(value);
          frame.offsetX = v.x;
          frame.offsetY = v.y;
        } else {
          frame.params[key] = value;
        }
      }
      if (!params.count("i")) frame.params["i"] = std::to_string(first + k);
      if (!params.count("n")) frame.params["n"] = std::to_string(count);
      anim.frames.push_back(std::move(frame));
    }
  }

  void Directive(const std::vector<std::string>& t) {
    const std::string& d = t[0];
    if (d == "animation") {
      Arity(t, 2);
      Finish();
      m_current = AnimationDesc();
      m_current->name = t[1];
      m_current->source = m_origin + ":" + std::to_string(m_line);
      m_offsetX = m_offsetY = 0;
      m_ticks = 0;
      m_frameLineStart = -1;
      m_loop = 0;
      m_justStarted = true;
      return;
    }
    bool first = m_justStarted;
    m_justStarted = false;
    if (d == "copy") {
      Arity(t, 2);
      if (!first) Fail("'copy' must follow the 'animation' line");
      const AnimationDesc* from = Find(t[1]);
      if (!from) Fail("'copy' of unknown animation '" + t[1] + "'");
      std::string name = Current().name, source = Current().source;
      *m_current = *from;
      m_current->name = name;
      m_current->source = source;
      // Copied frames keep their own polygons; later shapes go to new frame lines only.
      m_frameLineStart = kAfterCopy;
      if (!m_current->frames.empty()) {
        m_offsetX = m_current->frames.back().offsetX;
        m_offsetY = m_current->frames.back().offsetY;
        m_ticks = m_current->frames.back().ticks;
      }
    } else if (d == "painter") {
      if (t.size() < 2) Fail("'painter' needs a family name");
      Current().painter = t[1];
      for (auto& [key, value] : ParseParams(t, 2)) Current().painterParams[key] = value;
    } else if (d == "size") {
      Arity(t, 3);
      Current().frameWidth = Integer(t[1], 1, kMaxFrameSide);
      Current().frameHeight = Integer(t[2], 1, kMaxFrameSide);
    } else if (d == "loop") {
      Arity(t, 2);
      Current();
      m_loop = t[1] == "self" ? kLoopSelf : Integer(t[1], 0, kMaxFrames - 1);
    } else if (d == "columns") {
      Arity(t, 2);
      Current().columns = Integer(t[1], 1, kMaxFrames);
    } else if (d == "offset") {
      Arity(t, 3);
      Current();
      m_offsetX = static_cast<float>(Number(t[1]));
      m_offsetY = static_cast<float>(Number(t[2]));
    } else if (d == "ticks") {
      Arity(t, 2);
      Current();
      m_ticks = Integer(t[1], 0, 1000000);
    } else if (d == "frame") {
      AddFrames(1, ParseParams(t, 1));
    } else if (d == "frames") {
      if (t.size() < 2) Fail("'frames' needs a count");
      AddFrames(Integer(t[1], 1, kMaxFrames), ParseParams(t, 2));
    } else if (d == "poly") {
      if (t.size() < 3) Fail("'poly' needs a type and at least one vertex");
      Polygon p;
      p.type = Type(t[1]);
      for (size_t i = 2; i < t.size(); ++i) p.vertices.push_back(ParseVertex(t[i]));
      AddPolygon(std::move(p));
    } else if (d == "box") {
      Arity(t, 6);
      float x0 = static_cast<float>(Number(t[2])), y0 = static_cast<float>(Number(t[3]));
      float x1 = static_cast<float>(Number(t[4])), y1 = static_cast<float>(Number(t[5]));
      if (!(x0 < x1 && y0 < y1)) Fail("box corners must be top-left then bottom-right");
      AddPolygon(Polygon{Type(t[1]), {{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}}});
    } else if (d == "circle") {
      Arity(t, 5);
      float r = static_cast<float>(Number(t[4]));
      if (r <= 0) Fail("circle radius must be positive");
      AddPolygon(Polygon{
          Type(t[1]), {{static_cast<float>(Number(t[2])), static_cast<float>(Number(t[3])), r}}});
    } else {
      Fail("unknown directive '" + d + "'");
    }
  }

  const AnimationDesc* Find(const std::string& name) const {
    for (const auto& a : m_done)
      if (a.name == name) return &a;
    for (const auto& a : m_known)
      if (a.name == name) return &a;
    return nullptr;
  }

  void Finish() {
    if (!m_current) return;
    AnimationDesc& anim = *m_current;
    if (anim.frameWidth == 0) Fail("animation '" + anim.name + "' has no size");
    if (anim.frames.empty()) Fail("animation '" + anim.name + "' has no frames");
    if (anim.painter.empty()) Fail("animation '" + anim.name + "' has no painter");
    const int last = static_cast<int>(anim.frames.size()) - 1;
    for (int i = 0; i <= last; ++i) {
      if (anim.frames[i].next == -2) anim.frames[i].next = i < last ? i + 1 : m_loop;
    }
    if (anim.frames[last].next == kLoopSelf) anim.frames[last].next = last;
    m_done.push_back(std::move(anim));
    m_current.reset();
  }

  std::string m_origin;
  const std::vector<AnimationDesc>& m_known;
  std::vector<AnimationDesc> m_done;
  std::optional<AnimationDesc> m_current;
  int m_line = 0;
  float m_offsetX = 0, m_offsetY = 0;
  int m_ticks = 0;
  int m_frameLineStart = -1;
  int m_loop = 0;  // the last frame's default next
  bool m_justStarted = false;
};

bool IsPlainName(const std::string& name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) {
    return std::isalnum(c) || c == '_' || c == '-';
  });
}

}  // namespace

std::vector<Polygon> AnimationDesc::Shape(size_t i) const {
  std::vector<Polygon> out = sharedPolygons;
  out.insert(out.end(), frames.at(i).polygons.begin(), frames.at(i).polygons.end());
  return out;
}

int AnimationDesc::SheetColumns() const {
  if (columns > 0) return std::min<int>(columns, static_cast<int>(frames.size()));
  int fit = std::max(1, kMaxSheetWidth / std::max(1, frameWidth));
  return std::min<int>(fit, static_cast<int>(frames.size()));
}

int AnimationDesc::SheetRows() const {
  int cols = SheetColumns();
  return (static_cast<int>(frames.size()) + cols - 1) / cols;
}

std::vector<AnimationDesc> ParseAnimations(const std::string& text, const std::string& origin,
                                           const std::vector<AnimationDesc>& known) {
  return Parser(origin, known).Run(text);
}

std::vector<AnimationDesc> LoadAnimationFolder(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
    if (entry.path().extension() == ".anim") files.push_back(entry.path());
  if (ec) throw SourceError(folder.string() + ": cannot list the folder: " + ec.message());
  std::sort(files.begin(), files.end());
  std::vector<AnimationDesc> all;
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw SourceError(file.string() + ": cannot open");
    std::stringstream text;
    text << in.rdbuf();
    auto parsed = ParseAnimations(text.str(), file.filename().string(), all);
    all.insert(all.end(), parsed.begin(), parsed.end());
  }
  CheckAnimations(all);
  return all;
}

void CheckAnimations(const std::vector<AnimationDesc>& animations) {
  std::set<std::string> names;
  for (const auto& anim : animations) {
    auto fail = [&](const std::string& message) {
      throw SourceError(anim.source + ": animation '" + anim.name + "': " + message);
    };
    if (!IsPlainName(anim.name)) fail("the name must be letters, digits, '_' or '-'");
    if (!names.insert(anim.name).second) fail("the name is used twice");
    if (anim.frameWidth <= 0 || anim.frameHeight <= 0) fail("frame size must be positive");
    if (anim.frames.empty()) fail("no frames");
    const int count = static_cast<int>(anim.frames.size());
    for (int i = 0; i < count; ++i) {
      const FrameDesc& f = anim.frames[i];
      std::string where = "frame " + std::to_string(i) + ": ";
      if (f.next < 0 || f.next >= count)
        fail(where + "next frame " + std::to_string(f.next) + " does not exist");
      if (f.ticks < 0) fail(where + "negative ticks");
      if (!f.sound.empty() && !IsPlainName(f.sound)) fail(where + "sound name is not one word");
      for (const auto& p : anim.Shape(i)) {
        if (p.type < 0 || p.type >= kCollisionTypeCount) fail(where + "polygon type out of range");
        if (p.vertices.empty()) fail(where + "polygon without vertices");
        if (p.vertices.size() == 1 && p.vertices[0].radius <= 0)
          fail(where + "a one-vertex polygon needs a radius");
      }
    }
  }
}

double ParamNumber(const AnimationDesc& anim, const FrameDesc& frame, const std::string& key,
                   double fallback) {
  std::string text = ParamText(anim, frame, key, "");
  if (text.empty()) return fallback;
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size())
    throw SourceError(anim.source + ": animation '" + anim.name + "': parameter " + key + "='" +
                      text + "' is not a number");
  return value;
}

std::string ParamText(const AnimationDesc& anim, const FrameDesc& frame, const std::string& key,
                      const std::string& fallback) {
  if (auto it = frame.params.find(key); it != frame.params.end()) return it->second;
  if (auto it = anim.painterParams.find(key); it != anim.painterParams.end()) return it->second;
  return fallback;
}

}  // namespace assetgen
