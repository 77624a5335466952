#include "ListFiles.h"

namespace validator {

namespace {

// A count the game asserts is not negative.
bool Count(TokenScan& in, const std::string& what, int& out) {
  if (!in.Int(what, out)) return false;
  if (out >= 0) return true;
  in.Fail(what + " is " + std::to_string(out) + ", below zero");
  return false;
}

std::string Of(const std::string& name) {
  return " of \"" + name + "\"";
}

bool ParseObjects(TokenScan& in, std::vector<PlacedObject>& out) {
  int count = 0;
  if (!Count(in, "the object count", count)) return false;
  for (int i = 0; i < count; ++i) {
    PlacedObject o;
    int facing = 0;
    if (!in.Word("an object name", o.name) || !in.Float("the x" + Of(o.name), o.x) ||
        !in.Float("the y" + Of(o.name), o.y) || !in.Int("the frame" + Of(o.name), o.frame) ||
        !in.Int("the facing" + Of(o.name), facing) || !in.Float("the depth" + Of(o.name), o.depth))
      return false;
    o.facingLeft = facing != 0;
    out.push_back(std::move(o));
  }
  return true;
}

bool ParseScenery(TokenScan& in, bool tilesAreBools, std::vector<std::string>& out) {
  int count = 0;
  if (!Count(in, "the scenery count", count)) return false;
  for (int i = 0; i < count; ++i) {
    std::string file;
    float number = 0.0f;
    int tile = 0;
    bool flag = false;
    if (!in.Word("a scenery animation file", file) || !in.Float("a scenery x", number) ||
        !in.Float("a scenery y", number))
      return false;
    for (const char* what : {"a scenery tile x", "a scenery tile y"}) {
      if (!(tilesAreBools ? in.Bool(what, flag) : in.Int(what, tile))) return false;
    }
    for (const char* what : {"a scenery velocity x", "a scenery velocity y", "a scenery parallax x",
                             "a scenery parallax y"}) {
      if (!in.Float(what, number)) return false;
    }
    out.push_back(std::move(file));
  }
  return true;
}

// The game asserts that a bound pair is ordered unless one side is open.
bool OrderedBounds(int lower, int upper) {
  return lower < upper || lower == -1 || upper == -1;
}

}  // namespace

bool ParsePrototypeList(TokenScan& in, std::vector<PrototypeEntry>& out) {
  int count = 0;
  if (!Count(in, "the sprite count", count)) return false;
  for (int i = 0; i < count; ++i) {
    PrototypeEntry p;
    int animations = 0;
    if (!in.Word("a prototype name", p.name) ||
        !in.Int("the animation count" + Of(p.name), animations))
      return false;
    if (animations < 1) {
      in.Fail("\"" + p.name + "\" has " + std::to_string(animations) +
              " animations; a prototype needs at least one");
      return false;
    }
    for (int k = 0; k < animations; ++k) {
      int key = 0;
      std::string file;
      if (!in.Int("a state key" + Of(p.name), key) ||
          !in.Word("an animation file" + Of(p.name), file))
        return false;
      p.animations.emplace_back(key, std::move(file));
    }
    out.push_back(std::move(p));
  }
  return true;
}

bool ParseGameList(TokenScan& in, GameList& out) {
  if (!in.Int("the start state", out.startState) ||
      !in.Int("the start level index", out.startIndex))
    return false;
  if (out.startState < 1 || out.startState > 12) {
    in.Fail("the start state " + std::to_string(out.startState) + " is not a state 1 to 12");
    return false;
  }
  for (int s = 1; s <= 12; ++s) {
    int count = 0;
    if (!Count(in, "the level count of state " + std::to_string(s), count)) return false;
    for (int k = 0; k < count; ++k) {
      std::string name, file;
      if (!in.Word("a level name of state " + std::to_string(s), name) ||
          !in.Word("the file of level \"" + name + "\"", file))
        return false;
      out.states[s].emplace_back(std::move(name), std::move(file));
    }
  }
  const int startCount = static_cast<int>(out.states[out.startState].size());
  if (startCount > 0 && (out.startIndex < 0 || out.startIndex >= startCount)) {
    in.Fail("the start level index " + std::to_string(out.startIndex) + " is not one of the " +
            std::to_string(startCount) + " levels of state " + std::to_string(out.startState));
    return false;
  }
  return true;
}

bool ParseSoundList(TokenScan& in, std::vector<SoundEntry>& out) {
  int count = 0;
  if (!Count(in, "the sound count", count)) return false;
  for (int i = 0; i < count; ++i) {
    SoundEntry s;
    if (!in.Word("a sound name", s.name) || !in.Word("the file" + Of(s.name), s.file)) return false;
    out.push_back(std::move(s));
  }
  return true;
}

bool ParseLevel(TokenScan& in, LevelData& out) {
  if (!ParsePrototypeList(in, out.prototypes)) return false;

  int tracks = 0;
  if (!in.Word("the ambient track", out.ambient) || !Count(in, "the music track count", tracks))
    return false;
  for (int i = 0; i < tracks; ++i) {
    std::string file, mode;
    if (!in.Word("a music track file", file) || !in.Word("a music track mode", mode)) return false;
    out.tracks.emplace_back(std::move(file), std::move(mode));
  }

  if (!ParseScenery(in, false, out.sceneryA) || !ParseObjects(in, out.layerB) ||
      !ParseScenery(in, true, out.sceneryC) || !ParseObjects(in, out.layerD))
    return false;

  static const char* const kBounds[] = {"the lower x bound", "the lower y bound",
                                        "the upper x bound", "the upper y bound"};
  for (int i = 0; i < 4; ++i) {
    if (!in.Int(kBounds[i], out.bounds[i])) return false;
  }
  for (int axis = 0; axis < 2; ++axis) {
    if (!OrderedBounds(out.bounds[axis], out.bounds[axis + 2])) {
      in.Fail(std::string(axis == 0 ? "x" : "y") + " bounds " + std::to_string(out.bounds[axis]) +
              " .. " + std::to_string(out.bounds[axis + 2]) +
              " are not in order (use -1 for an open side)");
      return false;
    }
  }
  if (!ParseObjects(in, out.main)) return false;

  std::string player;
  if (!in.Word("the player name (or 0)", player)) return false;
  if (player != "0") {
    bool facing = false;
    out.hasPlayer = true;
    out.player.name = player;
    if (!in.Float("the player x", out.player.x) || !in.Float("the player y", out.player.y) ||
        !in.Bool("the player facing", facing))
      return false;
  }

  int enemies = 0;
  if (!Count(in, "the enemy count", enemies)) return false;
  for (int i = 0; i < enemies; ++i) {
    PlacedObject e;
    int facing = 0;
    if (!in.Word("an enemy name", e.name) || !in.Float("the x" + Of(e.name), e.x) ||
        !in.Float("the y" + Of(e.name), e.y) || !in.Int("the facing" + Of(e.name), facing))
      return false;
    out.enemies.push_back(std::move(e));
  }

  int triggers = 0;
  if (!Count(in, "the trigger count", triggers)) return false;
  for (int i = 0; i < triggers; ++i) {
    PlacedObject t;
    int facing = 0;
    if (!in.Word("a trigger name", t.name) || !in.Float("the x" + Of(t.name), t.x) ||
        !in.Float("the y" + Of(t.name), t.y) || !in.Int("the frame" + Of(t.name), t.frame) ||
        !in.Int("the facing" + Of(t.name), facing) || !in.Float("the depth" + Of(t.name), t.depth))
      return false;
    if (t.frame < 0) {
      in.Fail("trigger \"" + t.name + "\" has frame " + std::to_string(t.frame) + ", below zero");
      return false;
    }
    out.triggers.push_back(std::move(t));
  }
  return true;
}

}  // namespace validator
