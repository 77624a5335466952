// In-memory description of the game's animations and the reader of their text sources.
//
// Source format (assets/animations/*.anim), one directive per line, tokens separated by
// blanks, a word starting with '#' begins a comment, parameters are key=value:
//
//   animation NAME          start an animation; NAME is the stored name, the .acd and .png stem
//   copy OTHER              take everything of an earlier animation (size, frames, shapes, painter)
//   painter FAMILY [k=v..]  the family that paints the frames, with parameters for every frame
//   size W H                frame size in pixels
//   columns C               frames per row of the sheet (default: as many as fit in 2048 px)
//   offset X Y              origin inside the frame, for the frames that follow
//   ticks T                 default ticks for the frames that follow
//   frame [k=v..]           one frame; keys next=N|self, ticks=T, sound=NAME, offset=X,Y;
//                           any other key is a painter parameter of that frame
//   frames N [k=v..]        N frames at once, as frame, each also given i=0..N-1 and n=N
//                           (from=K counts i from K instead)
//   loop K|self             where the last frame goes next unless it says (default 0)
//   poly TYPE x,y[,r] ...   a polygon: vertices in the origin's coordinates, r = circle radius
//   box TYPE X0 Y0 X1 Y1    a rectangle polygon
//   circle TYPE X Y R       a one-vertex circle polygon
//
// Shapes written before the first frame line belong to every frame and come first (polygon
// indices matter to the game); shapes after a frame or frames line belong to those frames.
// A frame's next defaults to the following frame, and to the loop frame for the last one.
// TYPE is a collision type name (see CollisionTable.h) or its number.
#pragma once

#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace assetgen {

struct Vertex {
  float x = 0, y = 0, radius = 0;
};

struct Polygon {
  int type = 0;
  std::vector<Vertex> vertices;
};

using Params = std::map<std::string, std::string>;

struct FrameDesc {
  float offsetX = 0, offsetY = 0;
  int next = 0;
  int ticks = 0;
  std::string sound;
  std::vector<Polygon> polygons;  // this frame's own polygons, after the shared ones
  Params params;                  // painter parameters of this frame
};

struct AnimationDesc {
  std::string name;
  std::string painter;
  Params painterParams;
  int frameWidth = 0, frameHeight = 0;
  int columns = 0;  // 0 = automatic
  std::vector<Polygon> sharedPolygons;
  std::vector<FrameDesc> frames;
  std::string source;  // "file:line" of the animation line, for messages

  // Every polygon of frame i, in the order the game indexes them.
  std::vector<Polygon> Shape(size_t i) const;
  int SheetColumns() const;
  int SheetRows() const;
};

// A fault in a source file, with "file:line: " in front of the message.
class SourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads one source text; `origin` names it in messages. Earlier animations (for copy) come
// from `known`. Throws SourceError.
std::vector<AnimationDesc> ParseAnimations(const std::string& text, const std::string& origin,
                                           const std::vector<AnimationDesc>& known = {});

// Reads every *.anim file of a folder in name order, then checks the whole set.
std::vector<AnimationDesc> LoadAnimationFolder(const std::filesystem::path& folder);

// Checks what the game relies on for any animation: sizes, frame links, ticks, polygon types,
// unique names. Throws SourceError.
void CheckAnimations(const std::vector<AnimationDesc>& animations);

// Painter parameter lookups: the frame's own value first, then the painter line's.
double ParamNumber(const AnimationDesc& anim, const FrameDesc& frame, const std::string& key,
                   double fallback);
std::string ParamText(const AnimationDesc& anim, const FrameDesc& frame, const std::string& key,
                      const std::string& fallback);

}  // namespace assetgen
